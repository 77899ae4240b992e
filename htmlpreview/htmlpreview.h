#pragma once
// The HTML preview window `htmlstrf`: an embedded web browser showing an HTML file as it is stored
// on disk. Its size and position are kept in config/NHS.cfg under the program folder.

#include <QDialog>
#include <QString>

class QWebEngineView;

class Thtmlstrf : public QDialog {
    Q_OBJECT
public:
    // `fileName` is the location the browser is sent to, passed on unchanged.
    explicit Thtmlstrf(const QString& fileName, QWidget* parent = nullptr);

    QWebEngineView* prohlizec = nullptr;

    // Sends the browser to the file; the page loads on its own afterwards.
    void FormCreate();
    // Height, width, top and left from config/NHS.cfg (640 x 480 at 100, 100 when missing).
    void LoadWindowGeometry();
    // Writes the geometry back, creating config/ when missing; a failure shows "Nelze uložit
    // konfiguraci" and the window closes anyway.
    void SaveWindowGeometry();

    void done(int result) override;  // every way of closing passes here: FormClose

protected:
    bool event(QEvent* event) override;  // FormActivate

private:
    QString fileName_;
    bool geometryLoaded_ = false;
};

// The window the preview command opened last (null before the first).
extern Thtmlstrf* htmlstrf;
