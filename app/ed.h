#pragma once
// The main window `Mainform` (class TMainform): the composition root of the program. It owns the
// editor, the ruler, the toolbars, the menus, the status bar, the timers and the dialog owners.
// Its handlers live with their subsystems (documents/ed_*.cpp, editing/ed_*.cpp, ...); this header
// declares them all.

#include "app/wordcount.h"
#include "platform/colorvalue.h"
#include "ruler/QxRuler.h"
#include "platform/printer/printersetup.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TQxRichEdit;
class TfrmMain;

namespace platform {
class ColorButton;
class Error;
class FontNameBox;
class SizeBox;
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
    TQxRuler* ruler = nullptr;
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
    platform::FontNameBox* fontybox = nullptr;
    platform::SizeBox* velpisma = nullptr;
    QToolButton *tucne = nullptr, *kurziva = nullptr, *podtrzene = nullptr, *preskrknute = nullptr, *dindex = nullptr,
                *hindex = nullptr, *lzarovnani = nullptr, *szarovnani = nullptr, *pzarovnani = nullptr,
                *czarovnani = nullptr, *cisodraz = nullptr, *tecodraz = nullptr, *ToolButton43 = nullptr,
                *ToolButton44 = nullptr, *radkovani = nullptr;
    platform::ColorButton *barvatextu = nullptr, *bpozaditextu = nullptr;

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

    // ---- insert, search and edit commands (editing/ed_*commands.cpp, editing/ed_editactions.cpp) ----
    // The edit actions of ActionList1; each acts on the edit control that has the keyboard focus.
    QList<QAction*> ActionList1;
    QAction *EditCut1 = nullptr, *EditCopy1 = nullptr, *EditPaste1 = nullptr, *EditSelectAll1 = nullptr,
            *EditUndo1 = nullptr, *EditDelete1 = nullptr;
    void Obrzek1Click();
    void VloitBitmapu1Click();
    void Datum1Click();
    void Vloitdatumaas1Click();
    void Dal2Click();
    void Dal3Click();
    void Najtvtextu1Click();
    void Najtvtextu2Click();
    void Nahradittext1Click();
    void Nahradittext2Click();
    void Vybratve1Click();
    void undoClick();
    void Zpt2Click();
    void redoClick();
    void Vped1Click();
    void meritkozobrazClick();
    void editorURLClick(const QString& urlText, Qt::MouseButton button);
    // Sets the edit actions' enabled state from the focused edit control, its selection and the clipboard.
    void UpdateEditActions();
    // The context of the connections that keep the edit actions up to date: it goes with this window's
    // own destructor, before the base classes destroy the children and move the focus.
    std::unique_ptr<QObject> EditActionsContext;
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

    // ---- character and paragraph formatting (editing/ed_charformatting.cpp,
    //      editing/ed_paraformatting.cpp) and selection tracking (editing/ed_selectiontracking.cpp) ----
    void FontBox1Change();
    void velpismaClick();
    void velpismaKeyPress(QChar Key);
    void ToolButton35Click();  // bold
    void ToolButton36Click();  // italic
    void ToolButton37Click();  // underline
    void ToolButton38Click();  // strikeout
    void dindexClick();
    void hindexClick();
    void barvatextuColorChange();
    void bpozaditextuColorChange();
    void Barvapsma1Click();
    void Barvapozadpsma1Click();
    void lzarovnaniClick();
    void szarovnaniClick();
    void pzarovnaniClick();
    void czarovnaniClick();
    void cisodrazClick();
    void tecodrazClick();
    void radkovaniClick();
    void normalniClick();
    void radku15Click();
    void radku2Click();
    void radku3Click();
    // Ticks one of "Normální", "1.5", "2" and "3 řádky" and unticks the other three.
    void TickLineSpacing(QAction* item);
    // Shows the format at the selection's start on the toolbar and the line-spacing ticks; writes
    // nothing to the document.
    void UpdateFormatControls();
    void editorMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPoint Position);
    void editorKeyDown(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift);
    // The colour the one colour dialog of the two colour commands starts from: the last one chosen.
    QColor ColorDialog1Color = Qt::black;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildMenus();
    void buildPopupMenu();
    void buildToolBars();
    void buildStatusBar();
    void buildEditActions();       // editing/ed_editactions.cpp
    void bindEditingCommands();    // editing/ed_commandbindings.cpp
    void FormCloseQuery();
    bool FormClose();  // true: the window may close
    // The saving step of the prompts: SaveDocument on the path, else SaveDocumentAs. False when
    // nothing was saved (the dialog was cancelled); a failed save raises.
    bool RunSavingStep();
    void ReadChosenFile(const QString& fileName, bool plainTextFirst);

    // ---- ruler and paragraph indents (ruler/ed_ruler.cpp) ----------------------------------------
public:
    // Places the ruler's handles from the indents of the paragraph at the selection; the editor's
    // selection-change handler.
    void editorSelectionChange(QObject* Sender = nullptr);
    // The ruler's indent-change handler: writes the paragraph indents from the handles, then places
    // the ruler again from what the paragraph now holds.
    void rulerIndentChange(QObject* Sender, TIndentID IndentID);
    // The editor's formatting rectangle: lines wrap at the ruler's right inset.
    void SetEditorRect();
    void FormResize();
    void editorEnter(QObject* Sender = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;  // FormResize

    // ---- HTML preview (htmlpreview/ed_htmlpreview.cpp) and settings dialog
    //      (settings/ed_settingsdialog.cpp) ---------------------------------------------------------
public:
    // The file name last chosen in the open dialog (a full path; empty until it returned a file).
    QString OpenDialogFileName;
    void ToolButton10Click();
    void Monosti1Click();
    void Monosti2Click();
    void Odstavec1Click();
    void dalsiClick();
    void Psmo1Click();
    void Nastavenpsma1Click();

private:
    void connectHtmlPreviewCommand();
    void connectSettingsCommands();
    void ShowSettingsDialog(int page);

private:
    QWidget* buildRuler(QWidget* parent);  // the ruler in its strip, bound to the editor
    void StartRulerBinding();  // start-up: formatting rectangle, initial indents, ruler placed
};
