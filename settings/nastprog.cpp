// The settings dialog: its window, its four tabs and what it reads when it is created and shown.
#include "settings/nastprog.h"

#include "editing/QxParaAttributes.h"
#include "editing/QxRichEdit.h"
#include "editing/QxTextAttributes.h"
#include "platform/colorvalue.h"
#include "platform/widgets/colorbutton.h"
#include "platform/widgets/folderfield.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/spinfields.h"
#include "settings/underlinelist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

Tnastaveni* nastaveni = nullptr;

namespace {

// A group in the tooltip colour with a navy bold caption, its controls in a grid.
QGroupBox* Group(const QString& caption, QWidget* parent, QGridLayout*& grid) {
    auto* box = new QGroupBox(caption, parent);
    const QColor back = platform::resolveColor(platform::clInfoBk, box->palette());
    box->setStyleSheet(QStringLiteral("QGroupBox { background-color: %1; border: 1px solid gray; margin-top: 7px; }"
                                      "QGroupBox::title { subcontrol-origin: margin; left: 8px; color: #000080;"
                                      " font-weight: bold; }")
                           .arg(back.name()));
    grid = new QGridLayout(box);
    grid->setContentsMargins(8, 14, 8, 8);
    return box;
}

QLabel* Label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

Tnastaveni::Tnastaveni(SettingsHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("nastaveni"));
    setWindowTitle(QStringLiteral("Nastavení Programu"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont face(QStringLiteral("MS Sans Serif"));
    face.setPixelSize(11);
    setFont(face);
    setFixedSize(419, 393);

    PageControl1 = Named(new QTabWidget(this), "PageControl1");
    PageControl1->setGeometry(8, 8, 401, 321);
    PageControl1->addTab(buildGeneralTab(), QStringLiteral("Obecné"));
    PageControl1->addTab(buildViewTab(), QStringLiteral("Zobrazení"));
    PageControl1->addTab(buildParagraphTab(), QStringLiteral("Odstavce"));
    PageControl1->addTab(buildFontTab(), QStringLiteral("Písmo"));
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 3) TabSheet3Show();
    });

    f2ok = Named(new QPushButton(QStringLiteral("OK"), this), "f2ok");
    f2ok->setGeometry(240, 344, 75, 25);
    f2ok->setDefault(true);  // Enter confirms
    f2storno = Named(new QPushButton(QStringLiteral("Storno"), this), "f2storno");
    f2storno->setGeometry(328, 344, 75, 25);
    f2storno->setAutoDefault(false);
    connect(f2ok, &QPushButton::clicked, this, &Tnastaveni::f2okClick);
    connect(f2storno, &QPushButton::clicked, this, &Tnastaveni::f2stornoClick);

    FormCreate();
}

Tnastaveni::~Tnastaveni() {
    if (nastaveni == this) nastaveni = nullptr;
}

QWidget* Tnastaveni::buildGeneralTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QGridLayout* g = nullptr;
    layout->addWidget(Group(QStringLiteral("Standardní úpravy"), page, g));
    QWidget* box = g->parentWidget();
    plocha = Named(new QPushButton(QStringLiteral("Vytvoří zástupce na ploše"), box), "plocha");
    start = Named(new QPushButton(QStringLiteral("Vytvoří zástupce v nabídce start"), box), "start");
    autosavecheck = Named(new QCheckBox(QStringLiteral("Automaticky ukládat po :"), box), "autosavecheck");
    SpinEdit1 = Named(new platform::IntSpinField(1, 60, 1, box), "SpinEdit1");
    zpetkrat = Named(new platform::IntSpinField(1, 10000, 1, box), "zpetkrat");
    Umistenislozky = Named(new platform::FolderField(box), "Umistenislozky");
    Umistenislozky->setPrompt(QStringLiteral("Vyberte složku do které se mají ukládat vaše soubory"));
    Umistenislozky->setToolTip(QStringLiteral("Nastaví místo kde se budou ukládat vaše dokumenty"));
    g->addWidget(plocha, 0, 0, 1, 3);
    g->addWidget(start, 1, 0, 1, 3);
    g->addWidget(autosavecheck, 2, 0);
    g->addWidget(SpinEdit1, 2, 1);
    g->addWidget(Label(QStringLiteral("Minutách"), box), 2, 2);
    g->addWidget(Label(QStringLiteral("Nastavení počtu položek Zpět"), box), 3, 0);
    g->addWidget(zpetkrat, 3, 1);
    g->addWidget(Label(QStringLiteral("Krát"), box), 3, 2);
    g->addWidget(Label(QStringLiteral("Umístění ukládaných souborů"), box), 4, 0, 1, 3);
    g->addWidget(Umistenislozky, 5, 0, 1, 3);
    layout->addStretch();
    connect(plocha, &QPushButton::clicked, this, &Tnastaveni::plochaClick);
    connect(start, &QPushButton::clicked, this, &Tnastaveni::startClick);
    return page;
}

QWidget* Tnastaveni::buildViewTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QGridLayout* g = nullptr;
    layout->addWidget(Group(QStringLiteral("Zobrazení"), page, g));
    QWidget* box = g->parentWidget();
    zalomeniradku = Named(new QCheckBox(QStringLiteral("Zalomení řádků"), box), "zalomeniradku");
    stavovyradek = Named(new QCheckBox(QStringLiteral("Stavový řádek"), box), "stavovyradek");
    Pravitko = Named(new QCheckBox(QStringLiteral("Pravítko"), box), "Pravitko");
    g->addWidget(zalomeniradku, 0, 0);
    g->addWidget(stavovyradek, 1, 0);
    g->addWidget(Pravitko, 2, 0);
    layout->addStretch();
    return page;
}

QWidget* Tnastaveni::buildParagraphTab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    QGridLayout* g = nullptr;
    layout->addWidget(Group(QStringLiteral("Obecné"), page, g));
    QWidget* box = g->parentWidget();
    zarovnaniob = Named(new QComboBox(box), "zarovnaniob");
    zarovnaniob->addItems({QStringLiteral("Vlevo"), QStringLiteral("Na střed"), QStringLiteral("Vpravo"), QStringLiteral("Do bloku")});
    g->addWidget(Label(QStringLiteral("Zarovnání"), box), 0, 0);
    g->addWidget(zarovnaniob, 0, 1);
    g->setColumnStretch(2, 1);

    layout->addWidget(Group(QStringLiteral("Odsazení"), page, g));
    box = g->parentWidget();
    zlevaod = Named(new platform::DecimalSpinField(0.1, box), "zlevaod");
    zpravaod = Named(new platform::DecimalSpinField(0.1, box), "zpravaod");
    zlevaod->setMinimumWidth(120);
    zpravaod->setMinimumWidth(120);
    g->addWidget(Label(QStringLiteral("Zleva :"), box), 0, 0);
    g->addWidget(zlevaod, 0, 1);
    g->addWidget(Label(QStringLiteral("cm."), box), 0, 2);
    g->addWidget(Label(QStringLiteral("Zprava :"), box), 1, 0);
    g->addWidget(zpravaod, 1, 1);
    g->addWidget(Label(QStringLiteral("cm."), box), 1, 2);
    g->setColumnStretch(3, 1);

    layout->addWidget(Group(QStringLiteral("Mezery"), page, g));
    box = g->parentWidget();
    predm = Named(new platform::IntSpinField(0, 32, 6, box), "predm");
    zam = Named(new platform::IntSpinField(0, 32, 6, box), "zam");
    radkovanim = Named(new QComboBox(box), "radkovanim");
    radkovanim->addItems({QStringLiteral("Jednoduché"), QStringLiteral("1,5 řádků"), QStringLiteral("Dvojité"),
                          QStringLiteral("Nejméně"), QStringLiteral("Přesně"), QStringLiteral("Násobky")});
    vyskam = Named(new platform::IntSpinField(0, 0, 1, box), "vyskam");
    g->addWidget(Label(QStringLiteral("Před :"), box), 0, 0);
    g->addWidget(predm, 0, 1);
    g->addWidget(Label(QStringLiteral("b."), box), 0, 2);
    g->addWidget(Label(QStringLiteral("Řádkování:"), box), 0, 3);
    g->addWidget(radkovanim, 0, 4);
    g->addWidget(Label(QStringLiteral("Za :"), box), 1, 0);
    g->addWidget(zam, 1, 1);
    g->addWidget(Label(QStringLiteral("b."), box), 1, 2);
    g->addWidget(Label(QStringLiteral("Výška:"), box), 1, 3);
    g->addWidget(vyskam, 1, 4);
    layout->addStretch();

    connect(radkovanim, &QComboBox::activated, this, &Tnastaveni::radkovanimChange);
    return page;
}

QWidget* Tnastaveni::buildFontTab() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    QGridLayout* g = nullptr;
    layout->addWidget(Group(QStringLiteral("Nastavení Písma"), page, g), 0, 0, 1, 2);
    QWidget* box = g->parentWidget();
    pismonp = Named(new platform::FontNameBox(box), "pismonp");
    pismonp->setFaceName(QStringLiteral("Arial CE"));
    // Without that face or a substitute, the nearest installed one rather than an empty choice.
    if (pismonp->faceName().isEmpty()) pismonp->setFaceName(QFontInfo(QFont(QStringLiteral("Arial"))).family());
    Stylpisma = Named(new QComboBox(box), "Stylpisma");
    Stylpisma->setEditable(true);
    Stylpisma->addItems({QStringLiteral("Obyčejné"), QStringLiteral("Tučné"), QStringLiteral("Kurzíva"), QStringLiteral("TučnéKurzíva")});
    Stylpisma->setCurrentIndex(0);
    velpisma = Named(new QComboBox(box), "velpisma");
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24}) velpisma->addItem(QString::number(size));
    bpisma = Named(new platform::ColorButton(box), "bpisma");
    bppisma = Named(new platform::ColorButton(box), "bppisma");
    bppisma->setAutomaticColor(platform::clWindow);
    g->addWidget(Label(QStringLiteral("Písmo:"), box), 0, 0);
    g->addWidget(pismonp, 1, 0);
    g->addWidget(Label(QStringLiteral("Styl:"), box), 0, 1);
    g->addWidget(Stylpisma, 1, 1);
    g->addWidget(Label(QStringLiteral("Výška:"), box), 0, 2);
    g->addWidget(velpisma, 1, 2);
    g->addWidget(Label(QStringLiteral("Barva Písma :"), box), 2, 0);
    g->addWidget(bpisma, 2, 1);
    g->addWidget(Label(QStringLiteral("Poz. Písma:"), box), 3, 0);
    g->addWidget(bppisma, 3, 1);

    layout->addWidget(Group(QStringLiteral("Styl"), page, g), 1, 0);
    box = g->parentWidget();
    ComboBox1 = Named(new QComboBox(box), "ComboBox1");
    CheckBox3 = Named(new QCheckBox(QStringLiteral("Podtržené"), box), "CheckBox3");
    CheckBox4 = Named(new QCheckBox(QStringLiteral("Přeškrtnute"), box), "CheckBox4");
    g->addWidget(Label(QStringLiteral("Styl Podtržení:"), box), 0, 0);
    g->addWidget(ComboBox1, 1, 0);
    g->addWidget(CheckBox3, 2, 0);
    g->addWidget(CheckBox4, 3, 0);

    layout->addWidget(Group(QStringLiteral("Náhled"), page, g), 1, 1);
    box = g->parentWidget();
    nahledpisma = Named(new TQxRichEdit(box), "nahledpisma");
    QFont previewFont(QStringLiteral("MS Sans Serif"));
    previewFont.setPixelSize(11);
    nahledpisma->setFont(previewFont);
    nahledpisma->SetFontColor(platform::clBlack);
    nahledpisma->SetFontCharset(238);  // Central European
    g->addWidget(nahledpisma, 0, 0);
    Button1 = Named(new QPushButton(QStringLiteral("Použít Nastavení"), page), "Button1");
    Button1->setAutoDefault(false);
    layout->addWidget(Button1, 2, 1);

    connect(pismonp, &platform::FontNameBox::faceChanged, this, &Tnastaveni::pismonpChange);
    connect(Stylpisma, &QComboBox::activated, this, &Tnastaveni::StylpismaChange);
    connect(velpisma, &QComboBox::activated, this, &Tnastaveni::velpismaChange);
    connect(bpisma, &platform::ColorButton::colorChanged, this, &Tnastaveni::bpismaColorChange);
    connect(bppisma, &platform::ColorButton::colorChanged, this, &Tnastaveni::bppismaColorChange);
    connect(CheckBox3, &QCheckBox::clicked, this, &Tnastaveni::CheckBox3Click);
    connect(CheckBox4, &QCheckBox::clicked, this, &Tnastaveni::CheckBox4Click);
    connect(ComboBox1, &QComboBox::activated, this, &Tnastaveni::ComboBox1Change);
    connect(Button1, &QPushButton::clicked, this, &Tnastaveni::Button1Click);
    return page;
}

void Tnastaveni::FormCreate() {
    ComboBox1->setItemDelegate(new UnderlineItemDrawer(ComboBox1));
    FillUnderlineList(*ComboBox1);
    ComboBox1->setEnabled(false);

    // The preview starts from the dialog's font with the face of the font list.
    if (!pismonp->faceName().isEmpty()) {
        QFont font = nahledpisma->font();
        font.setFamily(pismonp->faceName());
        nahledpisma->setFont(font);
    }
    nahledpisma->SetText(QStringLiteral("Náhled Nastavení Písma\r\nNáhled Nastavení Písma\r\n"
                                        "Náhled Nastavení Písma\r\nNáhled Nastavení Písma"));
    nahledpisma->SelectAll();
    nahledpisma->Paragraph().SetAlignment(TParaAlignment::Center);
    nahledpisma->SetSelStart(0);
    nahledpisma->SetModified(false);

    TQxParaAttributes& paragraph = host_.editor().Paragraph();
    predm->setFieldValue(paragraph.SpaceBefore());
    zam->setFieldValue(paragraph.SpaceAfter());
    zlevaod->setValue(double(paragraph.FirstIndent()) / kPointsPerIndentUnit);
    zpravaod->setValue(double(paragraph.RightIndent()) / kPointsPerIndentUnit);
    vyskam->setFieldValue(paragraph.LineSpacing());
    const int rule = paragraph.LineSpacingRule() & 0x7F;
    radkovanim->setCurrentIndex(rule >= 0 && rule <= 5 ? rule : 0);
    switch (paragraph.Alignment()) {
    case TParaAlignment::Center: zarovnaniob->setCurrentIndex(1); break;
    case TParaAlignment::Right: zarovnaniob->setCurrentIndex(2); break;
    case TParaAlignment::Justify: zarovnaniob->setCurrentIndex(3); break;
    default: zarovnaniob->setCurrentIndex(0); break;
    }
    loaded_ = paragraphShown();
}

void Tnastaveni::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void Tnastaveni::FormShow() {
    autosavecheck->setChecked(host_.autosaveRunning());
    SpinEdit1->setFieldValue(host_.autosaveInterval() / 60000);
    Umistenislozky->setText(host_.saveFolder());
    stavovyradek->setChecked(host_.statusBarVisible());
    Pravitko->setChecked(host_.rulerVisible());
    zalomeniradku->setChecked(host_.editor().WordWrap());
    zpetkrat->setFieldValue(host_.editor().UndoLimit());
}

void Tnastaveni::TabSheet3Show() {
    TQxTextAttributes& preview = nahledpisma->DefaultAttributes();
    bpisma->blockSignals(true);
    bppisma->blockSignals(true);
    bpisma->setSelectedColor(preview.Color());
    bppisma->setSelectedColor(preview.BackColor());
    bpisma->blockSignals(false);
    bppisma->blockSignals(false);
    velpisma->setCurrentText(QString::number(preview.Height()));
}

int Tnastaveni::execOnPage(int page) {
    PageControl1->setCurrentIndex(page);
    // Centred on the desktop, not on the main window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}

void Tnastaveni::f2stornoClick() { reject(); }

void Tnastaveni::done(int result) {
    FormClose();
    QDialog::done(result);
}

void Tnastaveni::FormClose() {
    // The underline pictures go with the list's items.
    ComboBox1->clear();
}

void Tnastaveni::plochaClick() { host_.createShortcut(0); }
void Tnastaveni::startClick() { host_.createShortcut(3); }
