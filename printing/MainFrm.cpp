// The print-preview window.
#include "printing/MainFrm.h"

#include "editing/QxRichEdit.h"
#include "platform/dialogs/dialogs.h"
#include "platform/printer/printer.h"
#include "platform/profile/profilefile.h"
#include "platform/profile/windowgeometry.h"
#include "platform/shell.h"
#include "printing/QxPrvwDoc.h"
#include "printing/QxPrvwRender.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QString ConfigFile() {
    return platform::executableDir() + QStringLiteral("config/prev.cfg");
}

}  // namespace

template <typename T>
T* TfrmMain::component(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    components_.push_back(widget);
    return widget;
}

TfrmMain::TfrmMain(TQxRichEdit* document, QWidget* owner) : QDialog(owner), document_(document) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Náhled před tiskem"));
    setMinimumSize(620, 400);
    setFont(QFont(QStringLiteral("MS Shell Dlg 2"), 8));
    setBackgroundRole(QPalette::Button);
    resize(969, 623);
    // Centred on the desktop until the stored geometry applies.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMenus();
    layout->setMenuBar(MainMenu1);

    // Behind the panel, never shown and never filled: the renderer works on the main editor itself.
    reOriginal = component(new TQxRichEdit(this), "reOriginal");
    reOriginal->setFont(QFont(QStringLiteral("Courier New"), 10));
    reOriginal->hide();

    Panel1 = component(new QFrame(this), "Panel1");
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    pd = component(new TQxPreviewControl(Panel1), "pd");
    panelLayout->addWidget(pd);
    layout->addWidget(Panel1, 1);

    buildOptionsPanel();
    layout->addWidget(pnlBottom);
    pnlBottom->hide();

    StatusBar1 = component(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    const int widths[3] = {200, 150, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(StatusBar1);
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusBar1->addWidget(StatusPanels[i], i == 2 ? 1 : 0);
    }
    layout->addWidget(StatusBar1);

    QxRTF = new TQxPreviewRenderQxRichEdit(this);
    QxRTF->setObjectName(QStringLiteral("QxRTF"));
    QxRTF->SetPrintPreview(pd);
    QxPreviewRenderControl1 = new TQxPreviewRenderControl(this);
    QxPreviewRenderControl1->setObjectName(QStringLiteral("QxPreviewRenderControl1"));
    QxPreviewRenderControl1->SetPrintPreview(pd);
    QxPreviewRenderControl1->SetControl(document_);

    // The window's own initial state of the preview.
    pd->BeginUpdate();
    pd->Options().SetScaleMode(TQxPreviewScaleMode::smPageWidth);
    pd->Options().SetRows(1);
    pd->EndUpdate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::buildMenus() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = MainMenu1->addMenu(QStringLiteral("Soubor"));
    file->setObjectName(QStringLiteral("File1"));
    Print1 = file->addAction(QStringLiteral("Tisk..."), this, &TfrmMain::Print1Click);
    Print1->setObjectName(QStringLiteral("Print1"));
    Print1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Printer1 = file->addAction(QStringLiteral("Nastavení tisku..."), this, &TfrmMain::Printer1Click);
    Printer1->setObjectName(QStringLiteral("Printer1"));
    Printer1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));

    // Hidden menus: not on the bar, but their shortcuts work through the window.
    View1 = new QMenu(QStringLiteral("View"), this);
    View1->setObjectName(QStringLiteral("View1"));
    const auto viewItem = [this](const char* name, const QString& caption, QKeyCombination key, void (TfrmMain::*handler)()) {
        QAction* action = View1->addAction(caption, this, handler);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(QKeySequence(key));
        addAction(action);
        return action;
    };
    First1 = viewItem("First1", QStringLiteral("First"), Qt::CTRL | Qt::Key_Home, &TfrmMain::First1Click);
    Previous1 = viewItem("Previous1", QStringLiteral("Previous"), Qt::CTRL | Qt::Key_PageUp, &TfrmMain::Previous1Click);
    Next1 = viewItem("Next1", QStringLiteral("Next"), Qt::CTRL | Qt::Key_PageDown, &TfrmMain::Next1Click);
    Last1 = viewItem("Last1", QStringLiteral("Last"), Qt::CTRL | Qt::Key_End, &TfrmMain::Last1Click);
    View1->addSeparator();
    mnuPreview = View1->addMenu(QStringLiteral("Preview"));
    mnuPreview->setObjectName(QStringLiteral("mnuPreview"));

    Options1 = new QMenu(QStringLiteral("Options"), this);
    Options1->setObjectName(QStringLiteral("Options1"));
    mnuMargins = Options1->addAction(QStringLiteral("Margins"), this, &TfrmMain::mnuMarginsClick);
    mnuMargins->setObjectName(QStringLiteral("mnuMargins"));
    mnuMargins->setCheckable(true);
    mnuMargins->setChecked(true);
    mnuMargins->setVisible(false);
    Clear1 = Options1->addAction(QStringLiteral("Clear"), this, &TfrmMain::Clear1Click);
    Clear1->setObjectName(QStringLiteral("Clear1"));
}

QSpinBox* TfrmMain::addUpDown(const char* editName, const char* name, const QString& label, int minimum, int maximum,
                              int position, void (TfrmMain::*handler)()) {
    auto* row = pnlBottom->layout();
    row->addWidget(new QLabel(label, pnlBottom));
    QLineEdit* edit = component(new QLineEdit(pnlBottom), editName);
    QSpinBox* upDown = component(new QSpinBox(pnlBottom), name);
    upDown->setRange(minimum, maximum);
    upDown->setValue(position);
    edit->setText(QString::number(position));
    row->addWidget(edit);
    row->addWidget(upDown);
    connect(upDown, &QSpinBox::valueChanged, edit, [edit](int value) { edit->setText(QString::number(value)); });
    connect(upDown, &QSpinBox::valueChanged, this, handler);
    return upDown;
}

void TfrmMain::buildOptionsPanel() {
    pnlBottom = component(new QFrame(this), "pnlBottom");
    pnlBottom->setFixedHeight(55);
    new QHBoxLayout(pnlBottom);
    udCols = addUpDown("edCols", "udCols", QStringLiteral("Cols"), 1, 100, 1, &TfrmMain::udColsClick);
    udRows = addUpDown("edRows", "udRows", QStringLiteral("Rows"), 1, 100, 1, &TfrmMain::udRowsClick);
    udShadowWidth = addUpDown("edShadow", "udShadowWidth", QStringLiteral("Shadow"), -100, 100, 4,
                              &TfrmMain::udShadowWidthClick);
    udHorzSpacing = addUpDown("edHorz", "udHorzSpacing", QStringLiteral("Horz"), 0, 500, 8, &TfrmMain::udHorzSpacingClick);
    udVertSpacing = addUpDown("edVert", "udVertSpacing", QStringLiteral("Vert"), 0, 500, 8, &TfrmMain::udVertSpacingClick);
    udZoom = addUpDown("edScale", "udZoom", QStringLiteral("Scale"), 1, 500, 100, &TfrmMain::udZoomClick);
    cbPreview = component(new QComboBox(pnlBottom), "cbPreview");
    cbPreview->addItems({QStringLiteral("Screen"), QStringLiteral("Printer")});
    cbPreview->setCurrentIndex(-1);
    connect(cbPreview, &QComboBox::activated, this, &TfrmMain::cbPreviewChange);
    cbScaleMode = component(new QComboBox(pnlBottom), "cbScaleMode");
    cbScaleMode->addItems({QStringLiteral("Full Page"), QStringLiteral("Page Width"), QStringLiteral("Use Scale"),
                           QStringLiteral("Use Auto Scale"), QStringLiteral("Use Cols and Rows")});
    pnlBottom->layout()->addWidget(cbPreview);
    pnlBottom->layout()->addWidget(cbScaleMode);
}

// ---- creation -------------------------------------------------------------------------------------

void TfrmMain::FormCreate() {
    pd->setFocusPolicy(Qt::StrongFocus);
    pd->BeginUpdate();
    pd->OnChange = [this](QObject*) { PreviewChange(); };
    try {
        pd->Options().SetDrawMargins(mnuMargins->isChecked());
        pd->Options().SetRows(std::uint32_t(udRows->value()));
        pd->Options().SetCols(std::uint32_t(udCols->value()));
        pd->Options().Shadow().SetOffset(udShadowWidth->value());
        pd->Options().SetScale(std::uint32_t(udZoom->value()));
        pd->OnAfterScroll = [](QObject*) {};
        pd->OnScrollHint = [this](QObject*, int position, QString& hint) { PreviewScrollHint(position, hint); };
        cbPreview->setCurrentIndex(1);
        cbPreviewChange();
        cbScaleMode->setCurrentIndex(int(TQxPreviewScaleMode::smPageWidth));
    } catch (...) {
        pd->EndUpdate();
        throw;
    }
    pd->EndUpdate();
    BuildPreviewMenu();
}

void TfrmMain::cbPreviewChange() {
    TQxDeviceInfo& device = pd->DeviceInfo();
    switch (cbPreview->currentIndex()) {
    case 0: device.SetReferenceHandle(nullptr); break;
    case 1: device.SetReferenceHandle(platform::printer().Handle()); break;
    default: break;
    }
    // At least half an inch of every sheet stays outside the print rectangle.
    device.SetOffsetLeft(std::uint32_t(std::max<qint64>(device.InchToXPixels(0.5), device.OffsetLeft())));
    device.SetOffsetRight(std::uint32_t(std::max<qint64>(device.InchToXPixels(0.5), device.OffsetRight())));
    device.SetOffsetTop(std::uint32_t(std::max<qint64>(device.InchToYPixels(0.5), device.OffsetTop())));
    device.SetOffsetBottom(std::uint32_t(std::max<qint64>(device.InchToYPixels(0.5), device.OffsetBottom())));
    RenderDocument();
}

void TfrmMain::RenderDocument() {
    QxRTF->SetRichEdit(document_);
    QxRTF->SetPrintPreview(pd);
    QxRTF->CreatePreview(false);
}

void TfrmMain::PreviewChange() {
    {
        const QSignalBlocker blockCols(udCols), blockRows(udRows), blockShadow(udShadowWidth), blockZoom(udZoom),
            blockHorz(udHorzSpacing), blockVert(udVertSpacing), blockMode(cbScaleMode);
        TQxPreviewPageOptions& options = pd->Options();
        udCols->setValue(int(options.Cols()));
        udRows->setValue(int(options.Rows()));
        udShadowWidth->setValue(options.Shadow().Offset());
        udZoom->setValue(int(options.Scale()));
        mnuMargins->setChecked(options.DrawMargins());
        cbScaleMode->setCurrentIndex(int(options.ScaleMode()));
        udHorzSpacing->setValue(int(options.HorzSpacing()));
        udVertSpacing->setValue(int(options.VertSpacing()));
    }
    StatusPanels[0]->setText(QStringLiteral("%1 pages").arg(pd->PageCount()));
}

void TfrmMain::PreviewScrollHint(int, QString& AHint) {
    AHint = QStringLiteral("Page %1").arg(pd->TopRow() * int(pd->Options().Cols()) + 1);
}

// ---- menu commands --------------------------------------------------------------------------------

void TfrmMain::Print1Click() {
    platform::Printer& printer = platform::printer();
    printer.Handle();  // without a printer this fails as the preview's creation did
    PrintDialog1.printer = printer.Setup();
    PrintDialog1.range = platform::PrintRange::AllPages;
    const int pages = pd->PageCount();
    PrintDialog1.allowPageNums = pages > 0;
    if (pages > 0) {
        PrintDialog1.fromPage = 1;
        PrintDialog1.toPage = pages;
        // A long document's last pages must stay reachable in the page fields.
        PrintDialog1.maxPage = std::max(100, pages);
    }
    if (!platform::dialogs().print(this, PrintDialog1)) return;
    printer.ApplySetup(PrintDialog1.printer);
    TQxPreviewPrinter previewPrinter;
    previewPrinter.Assign(PrintDialog1);
    previewPrinter.SetPrinter(&printer);
    previewPrinter.SetPrintPreview(pd);
    previewPrinter.Print();
}

void TfrmMain::Printer1Click() {
    platform::Printer& printer = platform::printer();
    printer.Handle();
    platform::PrinterSetup setup = printer.Setup();
    if (platform::dialogs().printerSetup(this, setup)) printer.ApplySetup(setup);
    cbPreviewChange();
}

void TfrmMain::First1Click() {
    pd->First();
}

void TfrmMain::Previous1Click() {
    pd->Prior();
}

void TfrmMain::Next1Click() {
    pd->Next();
}

void TfrmMain::Last1Click() {
    pd->Last();
}

void TfrmMain::mnuMarginsClick() {
    // The action has toggled its tick already.
    pd->Options().SetDrawMargins(mnuMargins->isChecked());
}

void TfrmMain::Clear1Click() {
    pd->Clear();
    reOriginal->Clear();
}

void TfrmMain::udColsClick() {
    pd->Options().SetCols(std::uint32_t(udCols->value()));
    const QSignalBlocker block(udCols);
    udCols->setValue(int(pd->Options().Cols()));
}

void TfrmMain::udRowsClick() {
    pd->Options().SetRows(std::uint32_t(udRows->value()));
    const QSignalBlocker block(udRows);
    udRows->setValue(int(pd->Options().Rows()));
}

void TfrmMain::udShadowWidthClick() {
    pd->Options().Shadow().SetOffset(udShadowWidth->value());
    const QSignalBlocker block(udShadowWidth);
    udShadowWidth->setValue(pd->Options().Shadow().Offset());
}

void TfrmMain::udZoomClick() {
    pd->Options().SetScale(std::uint32_t(udZoom->value()));
    const QSignalBlocker block(udZoom);
    udZoom->setValue(int(pd->Options().Scale()));
}

void TfrmMain::udHorzSpacingClick() {
    pd->Options().SetHorzSpacing(std::uint32_t(udHorzSpacing->value()));
    const QSignalBlocker block(udHorzSpacing);
    udHorzSpacing->setValue(int(pd->Options().HorzSpacing()));
}

void TfrmMain::udVertSpacingClick() {
    pd->Options().SetVertSpacing(std::uint32_t(udVertSpacing->value()));
    const QSignalBlocker block(udVertSpacing);
    udVertSpacing->setValue(int(pd->Options().VertSpacing()));
}

// ---- the Preview submenu --------------------------------------------------------------------------

void TfrmMain::BuildPreviewMenu() {
    mnuPreview->clear();
    const auto addEntry = [this](QWidget* control) {
        QAction* entry = mnuPreview->addAction(control->objectName());
        connect(entry, &QAction::triggered, this, [this, control] { Control1Click(control); });
    };
    addEntry(this);
    for (QWidget* control : components_) addEntry(control);
}

void TfrmMain::Control1Click(QWidget* control) {
    TQxPreviewRenderControl renderer;
    pd->First();
    renderer.SetPrintPreview(pd);
    renderer.SetControl(control);
    renderer.CreatePreview(false);
}

// ---- geometry -------------------------------------------------------------------------------------

void TfrmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
    QDialog::changeEvent(event);
}

void TfrmMain::FormActivate() {
    LoadWindowGeometry();
}

void TfrmMain::LoadWindowGeometry() {
    const platform::ProfileFile profile(ConfigFile());
    platform::applyWindowGeometry(*this, platform::readWindowGeometry(profile, {623, 969}));
}

void TfrmMain::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TfrmMain::FormClose() {
    if (closed_) return;
    closed_ = true;
    SaveWindowGeometry();
}

void TfrmMain::SaveWindowGeometry() {
    QDir().mkdir(platform::executableDir() + QStringLiteral("config"));
    platform::ProfileFile profile(ConfigFile());
    if (!platform::writeWindowGeometry(profile, *this) || !profile.flush())
        platform::dialogs().message(this, QStringLiteral("Nelze uložit konfiguraci"));
}
