// The main window's menu bar, the editor's context menu and the line-spacing drop-down.
// Items whose commands come with later subsystems are present and carry their hints, with no handler.
#include "app/ed.h"
#include "app/icons.h"
#include "app/uibuilders.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void TMainform::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    Soubor1 = bar->addMenu(QStringLiteral("Soubor"));
    Nov1 = AddMenuItem(Soubor1, "Nov1", QStringLiteral("Nový"), QStringLiteral("nový"),
                       ThemeIcon(QStringLiteral("document-new"), QStringLiteral("N")), [this] { Nov1Click(); });
    Otevt1 = AddMenuItem(Soubor1, "Otevt1", QStringLiteral("Otevřít"), QStringLiteral("otevře dokument"),
                         ThemeIcon(QStringLiteral("document-open"), QStringLiteral("O")), [this] { Otevt1Click(); });
    uloit1 = AddMenuItem(Soubor1, "uloit1", QStringLiteral("Uložit"), QStringLiteral("uloží dokument"),
                         ThemeIcon(QStringLiteral("document-save"), QStringLiteral("U")), [this] { uloit1Click(); });
    Uloitjako1 = AddMenuItem(Soubor1, "Uloitjako1", QStringLiteral("Uložit jako"),
                             QStringLiteral("uloží dokument pod novým jménem"),
                             ThemeIcon(QStringLiteral("document-save-as"), QStringLiteral("U…")), [this] { Uloitjako1Click(); });
    Soubor1->addSeparator();
    vzhledstrnky1 = AddMenuItem(Soubor1, "vzhledstrnky1", QStringLiteral("Vzhled stránky"),
                                QStringLiteral("vzhled stránky"),
                                ThemeIcon(QStringLiteral("document-page-setup"), QStringLiteral("VS")), [this] { vzhledstrnky1Click(); });
    NhledPedTiskem1 = AddMenuItem(Soubor1, "NhledPedTiskem1", QStringLiteral("Náhled Před Tiskem"),
                                  QStringLiteral("zobrazí náhled před tiskem"),
                                  ThemeIcon(QStringLiteral("document-print-preview"), QStringLiteral("NT")),
                                  [this] { NhledPedTiskem1Click(); });
    isk1 = AddMenuItem(Soubor1, "isk1", QStringLiteral("Tisk"), QStringLiteral("tisk"),
                       ThemeIcon(QStringLiteral("document-print"), QStringLiteral("T")), [this] { isk1Click(); });
    Soubor1->addSeparator();
    Konec1 = AddMenuItem(Soubor1, "Konec1", QStringLiteral("Konec"), QStringLiteral("ukončí aplikaci"),
                         ThemeIcon(QStringLiteral("application-exit"), QStringLiteral("K")), [this] { Konec1Click(); });
    Konec1->setShortcut(QKeySequence(Qt::Key_F10));

    Upravy1 = bar->addMenu(QStringLiteral("Úpravy"));
    zpt1 = AddMenuItem(Upravy1, "zpt1", QStringLiteral("Zpět"), QStringLiteral("Vrátí zpět poslední akci"),
                       ThemeIcon(QStringLiteral("edit-undo"), QStringLiteral("↶")));
    Vped2 = AddMenuItem(Upravy1, "Vped2", QStringLiteral("Vpřed"), QStringLiteral("Vrátí poslední vrácenou akci "),
                        ThemeIcon(QStringLiteral("edit-redo"), QStringLiteral("↷")));
    Upravy1->addSeparator();
    Koprovat1 = AddMenuItem(Upravy1, "Koprovat1", QStringLiteral("Kopírovat"),
                            QStringLiteral("Zkopíruje označený text do schránky"),
                            ThemeIcon(QStringLiteral("edit-copy"), QStringLiteral("C")));
    Vyjmout1 = AddMenuItem(Upravy1, "Vyjmout1", QStringLiteral("Vyjmout"), QStringLiteral("Vyjme označený text do schránky"),
                           ThemeIcon(QStringLiteral("edit-cut"), QStringLiteral("X")));
    Vloit1 = AddMenuItem(Upravy1, "Vloit1", QStringLiteral("Vložit"), QStringLiteral("Vloží obsah schránky"),
                         ThemeIcon(QStringLiteral("edit-paste"), QStringLiteral("V")));
    Upravy1->addSeparator();
    Vybratve1 = AddMenuItem(Upravy1, "Vybratve1", QStringLiteral("Vybrat vše"), QStringLiteral("Vybere celý text"),
                            ThemeIcon(QStringLiteral("edit-select-all"), QStringLiteral("A")));
    Vybratve1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    vymazat1 = AddMenuItem(Upravy1, "vymazat1", QStringLiteral("Vymazat"), QStringLiteral("Smaže vybraný text"),
                           ThemeIcon(QStringLiteral("edit-delete"), QStringLiteral("⌫")));

    Vlozit1 = bar->addMenu(QStringLiteral("Vložit"));
    Datum1 = AddMenuItem(Vlozit1, "Datum1", QStringLiteral("Datum a čas"), QStringLiteral("Vloží aktuální datum a čas"),
                         ThemeIcon(QStringLiteral("x-office-calendar"), QStringLiteral("31")));
    Obrzek1 = AddMenuItem(Vlozit1, "Obrzek1", QStringLiteral("Obrázek"), QStringLiteral("Vloží obrázek"),
                          ThemeIcon(QStringLiteral("insert-image"), QStringLiteral("▣")));
    Dal2 = AddMenuItem(Vlozit1, "Dal2", QStringLiteral("Další..."), QStringLiteral("Vloží objekt"),
                       ThemeIcon(QStringLiteral("insert-object"), QStringLiteral("+")));

    Najit1 = bar->addMenu(QStringLiteral("Najít"));
    Najtvtextu1 = AddMenuItem(Najit1, "Najtvtextu1", QStringLiteral("Najít v textu"), QStringLiteral("Najít v textu"),
                              ThemeIcon(QStringLiteral("edit-find"), QStringLiteral("?")));
    Nahradittext1 = AddMenuItem(Najit1, "Nahradittext1", QStringLiteral("Nahradit text"),
                                QStringLiteral("Nahradí vybraný text"),
                                ThemeIcon(QStringLiteral("edit-find-replace"), QStringLiteral("↔")));

    Nastaveni1 = bar->addMenu(QStringLiteral("Nastavení"));
    Psmo1 = AddMenuItem(Nastaveni1, "Psmo1", QStringLiteral("Písmo..."), QStringLiteral("Nastavení písma"),
                        ThemeIcon(QStringLiteral("preferences-desktop-font"), QStringLiteral("Aa")));
    Barvapsma1 = AddMenuItem(Nastaveni1, "Barvapsma1", QStringLiteral("Barva písma..."),
                             QStringLiteral("Nastaví barvu písma"),
                             ThemeIcon(QStringLiteral("format-text-color"), QStringLiteral("A")), [this] { Barvapsma1Click(); });
    Barvapozadpsma1 = AddMenuItem(Nastaveni1, "Barvapozadpsma1", QStringLiteral("Barva pozadí písma..."),
                                  QStringLiteral("Nastaví barvu pozadí písma"),
                                  ThemeIcon(QStringLiteral("format-fill-color"), QStringLiteral("▨")), [this] { Barvapozadpsma1Click(); });
    Monosti1 = AddMenuItem(Nastaveni1, "Monosti1", QStringLiteral("Možnosti..."),
                           QStringLiteral("Zobrazí možnosti programu"),
                           ThemeIcon(QStringLiteral("preferences-system"), QStringLiteral("⚙")));

    Napoveda1 = bar->addMenu(QStringLiteral("Nápověda"));
    Oprogramu1 = AddMenuItem(Napoveda1, "Oprogramu1", QStringLiteral("O programu"),
                             QStringLiteral("Zobrazí informace o programu"),
                             ThemeIcon(QStringLiteral("help-about"), QStringLiteral("i")), [this] { Oprogramu1Click(); });
    Oautorovi1 = AddMenuItem(Napoveda1, "Oautorovi1", QStringLiteral("O autorovi"),
                             QStringLiteral("Zobrazí informace o autorovi"),
                             ThemeIcon(QStringLiteral("system-users"), QStringLiteral("☺")), [this] { Oautorovi1Click(); });
}

void TMainform::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    // The first three and "Vybrat vše"/"Smazat" are bound to the edit actions and show their hints.
    Koprovat2 = AddMenuItem(PopupMenu1, "Koprovat2", QStringLiteral("Kopírovat"),
                            QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"),
                            ThemeIcon(QStringLiteral("edit-copy"), QStringLiteral("C")));
    Vyjmout2 = AddMenuItem(PopupMenu1, "Vyjmout2", QStringLiteral("Vyjmout"),
                           QStringLiteral("Cut|Cuts the selection and puts it on the Clipboard"),
                           ThemeIcon(QStringLiteral("edit-cut"), QStringLiteral("X")));
    Vloit3 = AddMenuItem(PopupMenu1, "Vloit3", QStringLiteral("Vložit"), QStringLiteral("Paste|Inserts Clipboard contents"),
                         ThemeIcon(QStringLiteral("edit-paste"), QStringLiteral("V")));
    PopupMenu1->addSeparator();
    Vloitdal1 = PopupMenu1->addMenu(QStringLiteral("Vložit další..."));
    Vloitdal1->setObjectName(QStringLiteral("Vloitdal1"));
    Obrzek2 = AddMenuItem(Vloitdal1, "Obrzek2", QStringLiteral("Obrázek"), QStringLiteral("Vloží obrázek"),
                          ThemeIcon(QStringLiteral("insert-image"), QStringLiteral("▣")));
    Datumaas1 = AddMenuItem(Vloitdal1, "Datumaas1", QStringLiteral("Datum a čas"),
                            QStringLiteral("Vloží aktuální datum a čas"),
                            ThemeIcon(QStringLiteral("x-office-calendar"), QStringLiteral("31")));
    Dal3 = AddMenuItem(Vloitdal1, "Dal3", QStringLiteral("Další..."), QStringLiteral("Vloží objekt"),
                       ThemeIcon(QStringLiteral("insert-object"), QStringLiteral("+")));
    PopupMenu1->addSeparator();
    Psmo2 = AddMenuItem(PopupMenu1, "Psmo2", QStringLiteral("Písmo"), QStringLiteral("Nastavení písma"),
                        ThemeIcon(QStringLiteral("preferences-desktop-font"), QStringLiteral("Aa")));
    Odstavec1 = AddMenuItem(PopupMenu1, "Odstavec1", QStringLiteral("Odstavec"), QStringLiteral("Nastavení odstavce"),
                            ThemeIcon(QStringLiteral("format-justify-left"), QStringLiteral("¶")));
    PopupMenu1->addSeparator();
    Najtvtextu2 = AddMenuItem(PopupMenu1, "Najtvtextu2", QStringLiteral("Najít v textu"), QStringLiteral("Najít v textu"),
                              ThemeIcon(QStringLiteral("edit-find"), QStringLiteral("?")));
    Nahradittext2 = AddMenuItem(PopupMenu1, "Nahradittext2", QStringLiteral("Nahradit text"),
                                QStringLiteral("Nahradí vybraný text"),
                                ThemeIcon(QStringLiteral("edit-find-replace"), QStringLiteral("↔")));
    PopupMenu1->addSeparator();
    Vybratve2 = AddMenuItem(PopupMenu1, "Vybratve2", QStringLiteral("Vybrat vše"),
                            QStringLiteral("Select All|Selects the entire document"),
                            ThemeIcon(QStringLiteral("edit-select-all"), QStringLiteral("A")));
    Smazat1 = AddMenuItem(PopupMenu1, "Smazat1", QStringLiteral("Smazat"), QStringLiteral("Delete|Erases the selection"),
                          ThemeIcon(QStringLiteral("edit-delete"), QStringLiteral("⌫")));
    PopupMenu1->addSeparator();
    Monosti2 = AddMenuItem(PopupMenu1, "Monosti2", QStringLiteral("Možnosti"), QStringLiteral("Zobrazí možnosti programu"),
                           ThemeIcon(QStringLiteral("preferences-system"), QStringLiteral("⚙")));

    radkovanipop = new QMenu(this);
    radkovanipop->setObjectName(QStringLiteral("radkovanipop"));
    normalni = AddMenuItem(radkovanipop, "normalni", QStringLiteral("Normální"), QStringLiteral("Normální řádkování"), {},
                           [this] { normalniClick(); });
    radku15 = AddMenuItem(radkovanipop, "radku15", QStringLiteral("Řádkování: 1.5 řádků"),
                          QStringLiteral("Řádkování jeden a půl řádku"), {}, [this] { radku15Click(); });
    radku2 = AddMenuItem(radkovanipop, "radku2", QStringLiteral("Řádkování: 2 řádky"), QStringLiteral("Dvojité řádkování"), {},
                         [this] { radku2Click(); });
    radku3 = AddMenuItem(radkovanipop, "radku3", QStringLiteral("Řádkování: 3 řádky"), QStringLiteral("Trojité řádkování"), {},
                         [this] { radku3Click(); });
    dalsi = AddMenuItem(radkovanipop, "dalsi", QStringLiteral("Další......"), QStringLiteral("Další nastavení odstavce"));
    for (QAction* a : {normalni, radku15, radku2, radku3}) a->setCheckable(true);  // "Další......" never carries a tick
    normalni->setChecked(true);
}
