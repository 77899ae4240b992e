#pragma once
// The main window `Mainform` (class TMainform): the composition root of the program. It owns the
// editor, the ruler, the toolbars, the menus, the status bar, the timers and the dialog owners.
// Its handlers live with their subsystems (documents/ed_*.cpp, editing/ed_*.cpp, ...); this header
// declares them all.

#include "app/wordcount.h"
#include "platform/colorvalue.h"
#include "platform/printer/printersetup.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QComboBox;
class QFontComboBox;
class QFrame;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TQxRichEdit;
class TfrmMain;

namespace platform {
class Error;
}

// Program-wide state of the main window's unit. Paths use "/" and directories end with "/".
extern QString DocumentPath;  // the current document; empty while never opened or saved
extern QString ProgramDir;    // the executable's directory
extern QString ClipartDir;    // ProgramDir + "clipart/"
extern QString DocumentExt;   // extension, with its dot, of the file last chosen in the open dialog

class TMainform;
extern TMainform* Mainform;

class TMainform : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainform(QWidget* parent = nullptr);
    ~TMainform() override;

    // Start-up of the main window with the program's arguments (without the program name).
    void FormCreate(const QStringList& arguments);

    // ---- controls ---------------------------------------------------------------------------
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QFrame* ruler = nullptr;
    TQxRichEdit* editor = nullptr;

    // menu bar
    QMenu* Soubor1 = nullptr;
    QAction *Nov1 = nullptr, *Otevt1 = nullptr, *uloit1 = nullptr, *Uloitjako1 = nullptr, *vzhledstrnky1 = nullptr,
            *NhledPedTiskem1 = nullptr, *isk1 = nullptr, *Konec1 = nullptr;
    QMenu* Upravy1 = nullptr;
    QAction *zpt1 = nullptr, *Vped2 = nullptr, *Koprovat1 = nullptr, *Vyjmout1 = nullptr, *Vloit1 = nullptr,
            *Vybratve1 = nullptr, *vymazat1 = nullptr;
    QMenu* Vlozit1 = nullptr;
    QAction *Datum1 = nullptr, *Obrzek1 = nullptr, *Dal2 = nullptr;
    QMenu* Najit1 = nullptr;
    QAction *Najtvtextu1 = nullptr, *Nahradittext1 = nullptr;
    QMenu* Nastaveni1 = nullptr;
    QAction *Psmo1 = nullptr, *Barvapsma1 = nullptr, *Barvapozadpsma1 = nullptr, *Monosti1 = nullptr;
    QMenu* Napoveda1 = nullptr;
    QAction *Oprogramu1 = nullptr, *Oautorovi1 = nullptr;

    // context menu of the editor
    QMenu* PopupMenu1 = nullptr;
    QAction *Koprovat2 = nullptr, *Vyjmout2 = nullptr, *Vloit3 = nullptr;
    QMenu* Vloitdal1 = nullptr;
    QAction *Obrzek2 = nullptr, *Datumaas1 = nullptr, *Dal3 = nullptr;
    QAction *Psmo2 = nullptr, *Odstavec1 = nullptr, *Najtvtextu2 = nullptr, *Nahradittext2 = nullptr,
            *Vybratve2 = nullptr, *Smazat1 = nullptr, *Monosti2 = nullptr;

    // line-spacing drop-down
    QMenu* radkovanipop = nullptr;
    QAction *normalni = nullptr, *radku15 = nullptr, *radku2 = nullptr, *radku3 = nullptr, *dalsi = nullptr;

    // first toolbar
    QToolButton *novy = nullptr, *otevrit = nullptr, *ulozit = nullptr, *tisk = nullptr, *ToolButton21 = nullptr,
                *nahl = nullptr, *htmlview = nullptr, *ToolButton4 = nullptr, *ToolButton15 = nullptr,
                *kopirovat = nullptr, *vyjmout = nullptr, *vlozit = nullptr, *odstranit = nullptr, *undo = nullptr,
                *redo = nullptr, *ToolButton24 = nullptr, *ToolButton25 = nullptr, *ToolButton7 = nullptr,
                *ToolButton29 = nullptr, *ToolButton30 = nullptr;
    QComboBox* meritkozobraz = nullptr;

    // second toolbar
    QToolButton* ToolButton5 = nullptr;
    QFontComboBox* fontybox = nullptr;
    QComboBox* velpisma = nullptr;
    QToolButton *tucne = nullptr, *kurziva = nullptr, *podtrzene = nullptr, *preskrknute = nullptr, *dindex = nullptr,
                *hindex = nullptr, *lzarovnani = nullptr, *szarovnani = nullptr, *pzarovnani = nullptr,
                *czarovnani = nullptr, *cisodraz = nullptr, *tecodraz = nullptr, *ToolButton43 = nullptr,
                *ToolButton44 = nullptr, *radkovani = nullptr, *barvatextu = nullptr, *bpozaditextu = nullptr;

    // status bar: six panels
    QLabel* StatusPanels[6] = {};

    QTimer* Timer1 = nullptr;  // 500 ms: clock and modified flag
    QTimer* Timer2 = nullptr;  // autosave

    WordCounter WordCount;  // the status bar's word count, kept per paragraph

    // Whether the flat menu and toolbar styling is on (off on a system whose minor version is 10).
    bool FlatMenuActive = true;

    // ---- operations other parts call ---------------------------------------------------------
    bool SaveDocument(const QString& path);
    bool SaveDocumentAs(QString& path);
    void LoadSettings();
    void SaveSettings();
    void SetWindowColor(platform::ColorValue color);
    void ShowHint();
    void ShowCaretPosition();
    void ShowCharCount();
    void ShowWordCount();
    void ShowModifiedState();
    void RefreshCountPanels();
    void Timer1Timer();
    void Timer2Timer();  // caret position, character count, word count, in that order
    void LogUnexpectedError(QObject* sender, const platform::Error& error);
    void ShowAuthorInfo();
    void ShowProgramInfo();
    void ApplyHtmlSyntax();
    // Creates a shortcut to the program through the shortcut library: place 0 the desktop, 3 the menu.
    void CreateProgramShortcut(unsigned char place);

    // The filter indexes last chosen in the open and save dialogs (1-based; kept after a cancel).
    int OpenType = 1;
    int SaveType = 1;
    // Whether the current document was read as plain text (an RTF file opened with "all files" and
    // shown formatted is saved as RTF again).
    bool DocumentReadAsPlainText = false;
    QString SaveFolder;  // initial folder of the save dialog
    platform::ColorValue WindowColor = platform::clBtnFace;  // the window's background colour
    bool AutosaveEnabled = false;  // whether the autosave timer runs (it never ticks with interval 0)

    // ---- command handlers ----------------------------------------------------------------------
    void Nov1Click();
    void Otevt1Click();
    void uloit1Click();
    void ulozitClick();
    void Uloitjako1Click();
    void Konec1Click();
    void Oprogramu1Click();
    void Oautorovi1Click();

    // ---- printing (printing/ed_print.cpp) --------------------------------------------------------
    void tiskClick();             // print the whole document at once
    void isk1Click();             // print dialog, then print what was chosen
    void vzhledstrnky1Click();    // page setup
    void NhledPedTiskem1Click();  // the print-preview window
    // False, after the message, when no printer is installed.
    bool CheckPrinterInstalled();
    platform::PrintDialogState PrintDialog1;      // kept while the program runs
    platform::PageSetupState PageSetupDialog1;    // kept while the program runs
    TfrmMain* frmMain = nullptr;                  // the preview window while it is shown

    // The application's current hint ("short|long"); ShowHint shows its long part.
    QString ApplicationHint;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildMenus();
    void buildPopupMenu();
    void buildToolBars();
    void buildStatusBar();
    void FormCloseQuery();
    bool FormClose();  // true: the window may close
    // The saving step of the prompts: SaveDocument on the path, else SaveDocumentAs. False when
    // nothing was saved (the dialog was cancelled); a failed save raises.
    bool RunSavingStep();
    void ReadChosenFile(const QString& fileName, bool plainTextFirst);
};
