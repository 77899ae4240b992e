#pragma once
// A drop-down list of the installed screen fonts, each with a small picture of its kind (fixed
// pitch, scalable, other). There is no free text: choosing an entry is the only way to change it.

#include <QComboBox>

namespace platform {

class FontNameBox : public QComboBox {
    Q_OBJECT
public:
    explicit FontNameBox(QWidget* parent = nullptr);

    // The chosen face; empty while no entry is selected.
    QString faceName() const;
    // Selects the entry of `name`; without one, the entry of the first installed substitute in the
    // platform's font substitution table; with neither, no entry. Raises no faceChanged.
    void setFaceName(const QString& name);

signals:
    // The user chose an entry (with the mouse or the keyboard).
    void faceChanged(const QString& name);
};

}  // namespace platform
