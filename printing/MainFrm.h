#pragma once
// The print-preview window frmMain (TfrmMain): the main document paginated for the current printer,
// shown page by page at the window's width, and printed from there. What the user sees is the
// "Soubor" menu, the preview control and a status bar; an options panel and the View and Options
// menus are present but hidden (the View shortcuts are active). Size and position live in
// config/prev.cfg.

#include "platform/printer/printersetup.h"

#include <QDialog>

#include <vector>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QSpinBox;
class QStatusBar;
class TQxPreviewControl;
class TQxPreviewRenderControl;
class TQxPreviewRenderQxRichEdit;
class TQxRichEdit;

class TfrmMain : public QDialog {
    Q_OBJECT
public:
    // `document` is the main window's editor, paginated by the window; it must outlive the window.
    TfrmMain(TQxRichEdit* document, QWidget* owner);
    ~TfrmMain() override;

    // Creation in order: options into the preview inside an update bracket, the reference device and
    // the pages, then the Preview submenu. An error (no printer) leaves the bracket closed and
    // reaches the caller; the window is still usable.
    void FormCreate();
    // The window became active: size and position from config/prev.cfg.
    void FormActivate();
    // The window closes: size and position into config/prev.cfg ("Nelze uložit konfiguraci" on failure).
    void FormClose();

    // ---- handlers
    void Print1Click();
    void Printer1Click();
    void First1Click();
    void Previous1Click();
    void Next1Click();
    void Last1Click();
    void mnuMarginsClick();
    void Clear1Click();
    void Control1Click(QWidget* control);
    void udColsClick();
    void udRowsClick();
    void udShadowWidthClick();
    void udZoomClick();
    void udHorzSpacingClick();
    void udVertSpacingClick();
    void cbPreviewChange();
    void PreviewChange();
    void PreviewScrollHint(int AScrollPos, QString& AHint);

    // ---- visible parts
    QMenuBar* MainMenu1 = nullptr;
    QAction *Print1 = nullptr, *Printer1 = nullptr;
    QFrame* Panel1 = nullptr;
    TQxPreviewControl* pd = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanels[3] = {};

    // ---- hidden parts
    TQxRichEdit* reOriginal = nullptr;
    QFrame* pnlBottom = nullptr;
    QLineEdit *edCols = nullptr, *edRows = nullptr, *edShadow = nullptr, *edHorz = nullptr, *edVert = nullptr,
              *edScale = nullptr;
    QSpinBox *udCols = nullptr, *udRows = nullptr, *udShadowWidth = nullptr, *udHorzSpacing = nullptr,
             *udVertSpacing = nullptr, *udZoom = nullptr;
    QComboBox *cbPreview = nullptr, *cbScaleMode = nullptr;
    QMenu *View1 = nullptr, *mnuPreview = nullptr, *Options1 = nullptr;
    QAction *First1 = nullptr, *Previous1 = nullptr, *Next1 = nullptr, *Last1 = nullptr, *mnuMargins = nullptr,
            *Clear1 = nullptr;

    // ---- non-visual parts
    TQxPreviewRenderQxRichEdit* QxRTF = nullptr;
    TQxPreviewRenderControl* QxPreviewRenderControl1 = nullptr;
    platform::PrintDialogState PrintDialog1;

protected:
    void done(int result) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildOptionsPanel();
    void BuildPreviewMenu();
    void RenderDocument();
    void LoadWindowGeometry();
    void SaveWindowGeometry();
    QSpinBox* addUpDown(const char* editName, const char* name, const QString& label, int minimum, int maximum,
                        int position, void (TfrmMain::*handler)());
    template <typename T>
    T* component(T* widget, const char* name);

    TQxRichEdit* document_;
    std::vector<QWidget*> components_;  // the window's controls in creation order
    bool closed_ = false;
};
