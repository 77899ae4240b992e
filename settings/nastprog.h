#pragma once
// The settings dialog `nastaveni`: general behaviour, what the main window shows, the paragraph at the
// selection and a font with a live preview. It keeps no settings of its own: it reads them from the
// main window and its editor when it opens, and OK, "Použít Nastavení" and the shortcut buttons write
// them back.

#include "settings/settingshost.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
class TQxRichEdit;

namespace platform {
class ColorButton;
class DecimalSpinField;
class FolderField;
class FontNameBox;
class IntSpinField;
}

class Tnastaveni : public QDialog {
    Q_OBJECT
public:
    explicit Tnastaveni(SettingsHost& host, QWidget* parent = nullptr);
    ~Tnastaveni() override;

    QTabWidget* PageControl1 = nullptr;
    QPushButton *f2ok = nullptr, *f2storno = nullptr;
    // tab 0 "Obecné"
    QPushButton *plocha = nullptr, *start = nullptr;
    QCheckBox* autosavecheck = nullptr;
    platform::IntSpinField *SpinEdit1 = nullptr, *zpetkrat = nullptr;
    platform::FolderField* Umistenislozky = nullptr;
    // tab 1 "Zobrazení"
    QCheckBox *zalomeniradku = nullptr, *stavovyradek = nullptr, *Pravitko = nullptr;
    // tab 2 "Odstavce"
    QComboBox* zarovnaniob = nullptr;
    platform::DecimalSpinField *zlevaod = nullptr, *zpravaod = nullptr;
    platform::IntSpinField *predm = nullptr, *zam = nullptr, *vyskam = nullptr;
    QComboBox* radkovanim = nullptr;
    // tab 3 "Písmo"
    platform::FontNameBox* pismonp = nullptr;
    QComboBox* Stylpisma = nullptr;
    QComboBox* velpisma = nullptr;
    platform::ColorButton *bpisma = nullptr, *bppisma = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox *CheckBox3 = nullptr, *CheckBox4 = nullptr;
    TQxRichEdit* nahledpisma = nullptr;
    QPushButton* Button1 = nullptr;

    // Shows the dialog on `page` and returns when it is closed.
    int execOnPage(int page);

    void FormShow();
    void TabSheet3Show();
    void f2okClick();
    void f2stornoClick();
    void Button1Click();
    void plochaClick();
    void startClick();
    void radkovanimChange();
    void pismonpChange();
    void StylpismaChange();
    void velpismaChange();
    void bpismaColorChange();
    void bppismaColorChange();
    void CheckBox3Click();
    void CheckBox4Click();
    void ComboBox1Change();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;  // FormClose

private:
    // The indent fields show points / 30 under a label that says centimetres.
    static constexpr double kPointsPerIndentUnit = 30.0;

    void FormCreate();
    QWidget* buildGeneralTab();
    QWidget* buildViewTab();
    QWidget* buildParagraphTab();
    QWidget* buildFontTab();
    void FormClose();

    enum class FontTarget { Selection, Default };
    void ApplyFontToSelection();
    void ApplyFontToDefault();
    void ApplyFont(FontTarget target);

    SettingsHost& host_;
    // The paragraph tab as loaded: OK writes only the values the user changed.
    struct ParagraphShown {
        int alignment = 0, spacingRule = 0, spacing = 0, before = 0, after = 0;
        QString first, right;
        bool operator==(const ParagraphShown&) const = default;
    };
    ParagraphShown paragraphShown() const;
    ParagraphShown loaded_;
};

// The dialog the opening commands created last.
extern Tnastaveni* nastaveni;
