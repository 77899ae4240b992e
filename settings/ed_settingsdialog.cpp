// The main window's commands that open the settings dialog, and what the dialog sees of the window.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "settings/nastprog.h"

#include <QAction>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace {

class MainformSettingsHost : public SettingsHost {
public:
    explicit MainformSettingsHost(TMainform& form) : form_(form) {}
    TQxRichEdit& editor() override { return *form_.editor; }
    bool autosaveRunning() const override { return form_.Timer2->isActive(); }
    int autosaveInterval() const override { return form_.Timer2->interval(); }
    void setAutosave(bool running, int interval) override {
        form_.Timer2->setInterval(interval);
        form_.AutosaveEnabled = running;
        if (running) form_.Timer2->start();
        else form_.Timer2->stop();
    }
    QString saveFolder() const override { return form_.SaveFolder; }
    void setSaveFolder(const QString& folder) override { form_.SaveFolder = folder; }
    bool statusBarVisible() const override { return !form_.statusBar()->isHidden(); }
    void setStatusBarVisible(bool visible) override { form_.statusBar()->setVisible(visible); }
    bool rulerVisible() const override { return !form_.ruler->isHidden(); }
    void setRulerVisible(bool visible) override { form_.ruler->setVisible(visible); }
    void setFormatButtonDown(FormatButton button, bool down) override {
        QToolButton* buttons[] = {form_.tucne, form_.kurziva, form_.podtrzene, form_.preskrknute};
        buttons[int(button)]->setChecked(down);
    }
    void paragraphChanged() override { form_.editorSelectionChange(); }
    void updateFormatControls() override { form_.UpdateFormatControls(); }
    void createShortcut(unsigned char place) override { form_.CreateProgramShortcut(place); }

private:
    TMainform& form_;
};

enum SettingsPage { GeneralPage = 0, ParagraphPage = 2, FontPage = 3 };

}  // namespace

void TMainform::ShowSettingsDialog(int page) {
    MainformSettingsHost host(*this);
    Tnastaveni dialog(host, this);
    nastaveni = &dialog;
    dialog.execOnPage(page);
}

void TMainform::Monosti1Click() { ShowSettingsDialog(GeneralPage); }
void TMainform::Monosti2Click() { ShowSettingsDialog(GeneralPage); }
void TMainform::Odstavec1Click() { ShowSettingsDialog(ParagraphPage); }
void TMainform::dalsiClick() { ShowSettingsDialog(ParagraphPage); }
void TMainform::Psmo1Click() { ShowSettingsDialog(FontPage); }
void TMainform::Nastavenpsma1Click() { ShowSettingsDialog(FontPage); }

void TMainform::connectSettingsCommands() {
    connect(Monosti1, &QAction::triggered, this, [this] { Monosti1Click(); });
    connect(Monosti2, &QAction::triggered, this, [this] { Monosti2Click(); });
    connect(Odstavec1, &QAction::triggered, this, [this] { Odstavec1Click(); });
    connect(dalsi, &QAction::triggered, this, [this] { dalsiClick(); });
    connect(Psmo1, &QAction::triggered, this, [this] { Psmo1Click(); });
    connect(Psmo2, &QAction::triggered, this, [this] { Nastavenpsma1Click(); });
    // The toolbar buttons carry the menu items.
    connect(ToolButton7, &QToolButton::clicked, Monosti1, &QAction::trigger);
    connect(ToolButton5, &QToolButton::clicked, Psmo1, &QAction::trigger);
}
