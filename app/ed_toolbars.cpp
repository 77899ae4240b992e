// The cool bar: two toolbar bands, each 26 pixels high, with every button, box and separator in order.
#include "app/ed.h"
#include "app/icons.h"
#include "app/uibuilders.h"

#include "platform/widgets/colorbutton.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/sizebox.h"

#include <QComboBox>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kBandHeight = 26;

QToolBar* makeBand(QMainWindow* window, const char* name) {
    auto* bar = new QToolBar(window);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kBandHeight);
    bar->setIconSize(QSize(18, 18));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    return bar;
}

platform::ColorButton* AddColorButton(QToolBar* bar, const char* name, const QString& hint, const QString& glyph,
                                      platform::ColorValue color, platform::ColorValue automatic) {
    auto* button = new platform::ColorButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setFixedSize(36, 22);
    button->setIconSize(QSize(18, 16));
    button->setGlyph(glyph);
    button->setAutomaticColor(automatic);
    button->setSelectedColor(color);
    SetHint(button, hint);
    bar->addWidget(button);
    return button;
}

}  // namespace

void TMainform::buildToolBars() {
    ToolBar1 = makeBand(this, "ToolBar1");
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    addToolBarBreak(Qt::TopToolBarArea);
    ToolBar2 = makeBand(this, "ToolBar2");
    addToolBar(Qt::TopToolBarArea, ToolBar2);

    QToolBar* b = ToolBar1;
    novy = AddToolButton(b, "novy", QStringLiteral("Vytvoří nový dokument"), ThemeIcon(QStringLiteral("document-new"), QStringLiteral("N")), [this] { Nov1Click(); });
    otevrit = AddToolButton(b, "otevrit", QStringLiteral("Otevře dokument"), ThemeIcon(QStringLiteral("document-open"), QStringLiteral("O")), [this] { Otevt1Click(); });
    ulozit = AddToolButton(b, "ulozit", QStringLiteral("Uloží text do souboru"), ThemeIcon(QStringLiteral("document-save"), QStringLiteral("U")), [this] { ulozitClick(); });
    b->addSeparator();
    tisk = AddToolButton(b, "tisk", QStringLiteral("Vytiskne text"), ThemeIcon(QStringLiteral("document-print"), QStringLiteral("T")),
                         [this] { tiskClick(); });
    ToolButton21 = AddToolButton(b, "ToolButton21", QStringLiteral("vzhled stránky"),
                                 ThemeIcon(QStringLiteral("document-page-setup"), QStringLiteral("VS")),
                                 [this] { vzhledstrnky1->trigger(); });
    nahl = AddToolButton(b, "nahl", QStringLiteral("Náhled před tiskem"),
                         ThemeIcon(QStringLiteral("document-print-preview"), QStringLiteral("NT")),
                         [this] { NhledPedTiskem1->trigger(); });
    htmlview = AddToolButton(b, "htmlview", QStringLiteral("Zobrazí náhled HTML stránky"),
                             ThemeIcon(QStringLiteral("text-html"), QStringLiteral("<>")));
    htmlview->setEnabled(false);
    b->addSeparator();
    ToolButton4 = AddToolButton(b, "ToolButton4", QStringLiteral("Najít v textu"), ThemeIcon(QStringLiteral("edit-find"), QStringLiteral("?")));
    ToolButton15 = AddToolButton(b, "ToolButton15", QStringLiteral("Nahradí vybraný text"),
                                 ThemeIcon(QStringLiteral("edit-find-replace"), QStringLiteral("↔")));
    b->addSeparator();
    kopirovat = AddToolButton(b, "kopirovat", QStringLiteral("Zkopíruje označený text do schránky"),
                              ThemeIcon(QStringLiteral("edit-copy"), QStringLiteral("C")));
    vyjmout = AddToolButton(b, "vyjmout", QStringLiteral("Vyjme označený text do schránky"),
                            ThemeIcon(QStringLiteral("edit-cut"), QStringLiteral("X")));
    vlozit = AddToolButton(b, "vlozit", QStringLiteral("Vloží obsah schránky"), ThemeIcon(QStringLiteral("edit-paste"), QStringLiteral("V")));
    odstranit = AddToolButton(b, "odstranit", QStringLiteral("Smaže vybraný text"), ThemeIcon(QStringLiteral("edit-delete"), QStringLiteral("⌫")));
    b->addSeparator();
    undo = AddToolButton(b, "undo", QStringLiteral("Vrátí zpět poslední akci"), ThemeIcon(QStringLiteral("edit-undo"), QStringLiteral("↶")));
    redo = AddToolButton(b, "redo", QStringLiteral("Vrátí poslední vrácenou akci "), ThemeIcon(QStringLiteral("edit-redo"), QStringLiteral("↷")));
    b->addSeparator();
    ToolButton24 = AddToolButton(b, "ToolButton24", QStringLiteral("Vloží obrázek"), ThemeIcon(QStringLiteral("insert-image"), QStringLiteral("▣")));
    ToolButton25 = AddToolButton(b, "ToolButton25", QStringLiteral("Vloží aktuální datum a čas"),
                                 ThemeIcon(QStringLiteral("x-office-calendar"), QStringLiteral("31")));
    b->addSeparator();
    meritkozobraz = new QComboBox(b);
    meritkozobraz->setObjectName(QStringLiteral("meritkozobraz"));
    meritkozobraz->addItems({QStringLiteral("25 %"), QStringLiteral("50 %"), QStringLiteral("75 %"), QStringLiteral("100 %"),
                             QStringLiteral("150 %"), QStringLiteral("200 %"), QStringLiteral("250 %"), QStringLiteral("500 %")});
    meritkozobraz->setCurrentIndex(3);
    meritkozobraz->setFixedWidth(58);
    SetHint(meritkozobraz, QStringLiteral("Nastaví měřítko zobrazení"));
    b->addWidget(meritkozobraz);
    b->addSeparator();
    ToolButton7 = AddToolButton(b, "ToolButton7", QStringLiteral("Zobrazí možnosti programu"),
                                ThemeIcon(QStringLiteral("preferences-system"), QStringLiteral("⚙")));
    ToolButton29 = AddToolButton(b, "ToolButton29", QStringLiteral("Zobrazí informace o programu"),
                                 ThemeIcon(QStringLiteral("help-about"), QStringLiteral("i")), [this] { Oprogramu1Click(); });
    ToolButton30 = AddToolButton(b, "ToolButton30", QStringLiteral("Zobrazí informace o autorovi"),
                                 ThemeIcon(QStringLiteral("system-users"), QStringLiteral("☺")), [this] { Oautorovi1Click(); });

    b = ToolBar2;
    ToolButton5 = AddToolButton(b, "ToolButton5", QStringLiteral("Nastavení písma"), QIcon());
    ToolButton5->setText(QStringLiteral("Písmo..."));
    ToolButton5->setToolButtonStyle(Qt::ToolButtonTextOnly);
    fontybox = new platform::FontNameBox(b);
    fontybox->setObjectName(QStringLiteral("fontybox"));
    fontybox->setFixedWidth(130);
    fontybox->setFaceName(QStringLiteral("MS Sans Serif"));
    SetHint(fontybox, QStringLiteral("Nastaví typ písma"));
    connect(fontybox, &platform::FontNameBox::faceChanged, this, [this] { FontBox1Change(); });
    b->addWidget(fontybox);
    velpisma = new platform::SizeBox(b);
    velpisma->setObjectName(QStringLiteral("velpisma"));
    velpisma->setEditText(QStringLiteral("8"));
    velpisma->setFixedWidth(42);
    SetHint(velpisma, QStringLiteral("Nastavení Velikosti písma"));
    connect(velpisma, &QComboBox::activated, this, [this] { velpismaClick(); });
    connect(velpisma, &platform::SizeBox::characterKey, this, [this](QChar key) { velpismaKeyPress(key); });
    b->addWidget(velpisma);
    b->addSeparator();
    tucne = AddToolButton(b, "tucne", QStringLiteral("Nastaví tučné písmo"), ThemeIcon(QStringLiteral("format-text-bold"), QStringLiteral("B")),
                          [this] { ToolButton35Click(); });
    kurziva = AddToolButton(b, "kurziva", QStringLiteral("Nastaví kurzívu písma"), ThemeIcon(QStringLiteral("format-text-italic"), QStringLiteral("I")),
                            [this] { ToolButton36Click(); });
    podtrzene = AddToolButton(b, "podtrzene", QStringLiteral("Nastaví podržení písma"),
                              ThemeIcon(QStringLiteral("format-text-underline"), QStringLiteral("U")), [this] { ToolButton37Click(); });
    preskrknute = AddToolButton(b, "preskrknute", QStringLiteral("Nastaví přeškrknutí písma"),
                                ThemeIcon(QStringLiteral("format-text-strikethrough"), QStringLiteral("S")), [this] { ToolButton38Click(); });
    b->addSeparator();
    dindex = AddToolButton(b, "dindex", QStringLiteral("Nastaví dolní index písma"), ThemeIcon(QStringLiteral("format-text-subscript"), QStringLiteral("x₂")),
                           [this] { dindexClick(); });
    hindex = AddToolButton(b, "hindex", QStringLiteral("Nastaví horní index písma"), ThemeIcon(QStringLiteral("format-text-superscript"), QStringLiteral("x²")),
                           [this] { hindexClick(); });
    b->addSeparator();
    lzarovnani = AddToolButton(b, "lzarovnani", QStringLiteral("Zarovná text vlevo"), ThemeIcon(QStringLiteral("format-justify-left"), QStringLiteral("≡")),
                               [this] { lzarovnaniClick(); });
    szarovnani = AddToolButton(b, "szarovnani", QStringLiteral("Zarovná text na střed"),
                               ThemeIcon(QStringLiteral("format-justify-center"), QStringLiteral("≡")), [this] { szarovnaniClick(); });
    pzarovnani = AddToolButton(b, "pzarovnani", QStringLiteral("Zarovná text vpravo"), ThemeIcon(QStringLiteral("format-justify-right"), QStringLiteral("≡")),
                               [this] { pzarovnaniClick(); });
    czarovnani = AddToolButton(b, "czarovnani", QStringLiteral("Zarovná text do bloku"), ThemeIcon(QStringLiteral("format-justify-fill"), QStringLiteral("≡")),
                               [this] { czarovnaniClick(); });
    b->addSeparator();
    cisodraz = AddToolButton(b, "cisodraz", QStringLiteral("vloží odrážky"), ThemeIcon(QStringLiteral("view-list-ordered"), QStringLiteral("1.")),
                             [this] { cisodrazClick(); });
    tecodraz = AddToolButton(b, "tecodraz", QStringLiteral("vloží odrážky"), ThemeIcon(QStringLiteral("view-list-bullet"), QStringLiteral("•")),
                             [this] { tecodrazClick(); });
    ToolButton43 = AddToolButton(b, "ToolButton43", QStringLiteral("Zmenší odsazení textu"),
                                 ThemeIcon(QStringLiteral("format-indent-less"), QStringLiteral("⇤")),
                                 [this] { ruler->DecreaseIndent(); });
    ToolButton44 = AddToolButton(b, "ToolButton44", QStringLiteral("Zvětší odsazení textu"),
                                 ThemeIcon(QStringLiteral("format-indent-more"), QStringLiteral("⇥")),
                                 [this] { ruler->IncreaseIndent(); });
    b->addSeparator();
    radkovani = AddToolButton(b, "radkovani", QStringLiteral("Nastaví formátování odtavců"),
                              ThemeIcon(QStringLiteral("format-line-spacing"), QStringLiteral("↕")), [this] { radkovaniClick(); });
    radkovani->setMenu(radkovanipop);
    radkovani->setPopupMode(QToolButton::MenuButtonPopup);
    b->addSeparator();
    barvatextu = AddColorButton(b, "barvatextu", QStringLiteral("Nastaví barvu textu"), QStringLiteral("A"), platform::clBlack,
                                platform::clWindowText);
    connect(barvatextu, &platform::ColorButton::colorChanged, this, [this] { barvatextuColorChange(); });
    bpozaditextu = AddColorButton(b, "bpozaditextu", QStringLiteral("Nastaví barvu pozadí textu"), QStringLiteral("ab"),
                                  platform::clWhite, platform::clWindow);
    connect(bpozaditextu, &platform::ColorButton::colorChanged, this, [this] { bpozaditextuColorChange(); });

    for (QToolButton* t : {tucne, kurziva, podtrzene, preskrknute, dindex, hindex, lzarovnani, szarovnani, pzarovnani,
                           czarovnani, cisodraz, tecodraz})
        t->setCheckable(true);
    lzarovnani->setChecked(true);
}
