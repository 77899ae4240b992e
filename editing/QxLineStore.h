#pragma once
// The editor control's line store (`Lines`): file and stream transfer and line-by-line access.
// The control holds one and calls it; the storage layer (documents/) implements it, so the control
// itself knows nothing of files and conversions.

#include <QString>
#include <QStringList>

class QIODevice;

class TQxLineStore {
public:
    virtual ~TQxLineStore() = default;

    // Transfer; each raises a platform::Error on failure.
    virtual void LoadFile(const QString& fileName) = 0;
    virtual void SaveFile(const QString& fileName) = 0;
    virtual void LoadStream(QIODevice& stream) = 0;  // from the stream's current position
    virtual void SaveStream(QIODevice& stream) = 0;

    // Line access over the control's display lines.
    virtual int LineCount() const = 0;
    virtual QString LineText(int index) const = 0;
    virtual void ReplaceLine(int index, const QString& text) = 0;
    virtual void InsertLine(int index, const QString& text) = 0;
    virtual void DeleteLine(int index) = 0;
    virtual void AddLine(const QString& text) = 0;
    virtual void Clear() = 0;
    virtual void AddLines(const QStringList& texts) = 0;
    virtual void SetAllText(const QString& text) = 0;
    virtual void SetUpdating(bool updating) = 0;
};
