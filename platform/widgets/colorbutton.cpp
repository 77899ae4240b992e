#include "platform/widgets/colorbutton.h"

#include "platform/dialogs/dialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <algorithm>
#include <functional>

namespace platform {

namespace {

constexpr int kSwatchColumns = 8;
constexpr int kSwatchSize = 18;

// The strip at the palette's top: dragging it tears a dropped-down palette off, and moves a
// floating one.
class DragBar : public QWidget {
public:
    DragBar(ColorPalette& palette, std::function<void(QPoint)> tearOff)
        : QWidget(&palette), palette_(palette), tearOff_(std::move(tearOff)) {
        setObjectName(QStringLiteral("dragBar"));
        setFixedHeight(8);
        setCursor(Qt::SizeAllCursor);
        setToolTip(QStringLiteral("Drag to floating"));
        setStatusTip(QStringLiteral("Drag to floating"));
    }

    // Follows the pointer from `global` on, as if the bar had been pressed there; the pointer is
    // grabbed so that the drag that tore the palette off goes on moving it until the button is let go.
    void beginDrag(QPoint global) {
        pressGlobal_ = global;
        windowAtPress_ = palette_.window()->pos();
        pressed_ = true;
        grabMouse();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Highlight).lighter(150));
        p.setPen(palette().color(QPalette::Dark));
        for (int y = 2; y < height() - 1; y += 2) p.drawLine(4, y, width() - 5, y);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        pressGlobal_ = e->globalPosition().toPoint();
        windowAtPress_ = palette_.window()->pos();
        pressed_ = true;
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!pressed_) return;
        const QPoint global = e->globalPosition().toPoint();
        if (palette_.placement() == ColorPalette::Placement::Floating) {
            palette_.window()->move(windowAtPress_ + global - pressGlobal_);
        } else if ((global - pressGlobal_).manhattanLength() >= QApplication::startDragDistance()) {
            pressed_ = false;
            tearOff_(global);
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        pressed_ = false;
        if (mouseGrabber() == this) releaseMouse();
    }

private:
    ColorPalette& palette_;
    std::function<void(QPoint)> tearOff_;
    QPoint pressGlobal_;
    QPoint windowAtPress_;
    bool pressed_ = false;
};

QIcon swatchIcon(ColorValue color) {
    QPixmap pixmap(kSwatchSize - 4, kSwatchSize - 4);
    pixmap.fill(resolveColor(color));
    QPainter p(&pixmap);
    p.setPen(Qt::gray);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QToolButton* paletteButton(QWidget* parent, const QString& name, const QString& text) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

}  // namespace

ColorPalette::ColorPalette(Placement placement, QWidget* parent) : QFrame(parent), placement_(placement) {
    setFrameShape(placement == Placement::Floating ? QFrame::NoFrame : QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    dragBar_ = new DragBar(*this, [this](QPoint global) { emit tearOffRequested(global); });
    layout->addWidget(dragBar_);

    QToolButton* automatic = paletteButton(this, QStringLiteral("automatic"), QStringLiteral("Automatická"));
    connect(automatic, &QToolButton::clicked, this, [this] { emit colorChosen(clDefault); });
    layout->addWidget(automatic);

    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    for (int i = 0; i < int(kPaletteSwatches.size()); ++i) {
        const ColorValue color = kPaletteSwatches[std::size_t(i)];
        auto* swatch = new QToolButton(this);
        swatch->setObjectName(QStringLiteral("swatch%1").arg(i));
        swatch->setAutoRaise(true);
        swatch->setFixedSize(kSwatchSize, kSwatchSize);
        swatch->setIconSize(QSize(kSwatchSize - 4, kSwatchSize - 4));
        swatch->setIcon(swatchIcon(color));
        connect(swatch, &QToolButton::clicked, this, [this, color] { emit colorChosen(color); });
        grid->addWidget(swatch, i / kSwatchColumns, i % kSwatchColumns);
    }
    layout->addLayout(grid);

    QToolButton* more = paletteButton(this, QStringLiteral("moreColors"), QStringLiteral("Ostatní Barvy..."));
    connect(more, &QToolButton::clicked, this, &ColorPalette::moreColorsRequested);
    layout->addWidget(more);
}

void ColorPalette::followPointer(QPoint globalPosition) { static_cast<DragBar*>(dragBar_)->beginDrag(globalPosition); }

// ---- the button ----------------------------------------------------------------------------------

ColorButton::ColorButton(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::MenuButtonPopup);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    menu_ = new QMenu(this);
    dropDown_ = new ColorPalette(ColorPalette::Placement::DropDown);
    auto* holder = new QWidgetAction(menu_);
    holder->setDefaultWidget(dropDown_);  // the menu owns it from here
    menu_->addAction(holder);
    setMenu(menu_);
    connectPalette(dropDown_);
    updateFace();
}

void ColorButton::connectPalette(ColorPalette* palette) {
    const bool dropDown = palette->placement() == ColorPalette::Placement::DropDown;
    connect(palette, &ColorPalette::colorChosen, this, [this, dropDown](ColorValue color) {
        if (dropDown) menu_->hide();
        setSelectedColor(color);
    });
    connect(palette, &ColorPalette::moreColorsRequested, this, [this, dropDown] {
        if (dropDown) menu_->hide();
        chooseFromDialog();
    });
    connect(palette, &ColorPalette::tearOffRequested, this, &ColorButton::tearOff);
}

void ColorButton::setSelectedColor(ColorValue color) {
    if (color == color_) return;
    color_ = color;
    updateFace();
    emit colorChanged(color);
}

void ColorButton::setAutomaticColor(ColorValue meaning) {
    automatic_ = meaning;
    updateFace();
}

void ColorButton::setGlyph(const QString& glyph) {
    glyph_ = glyph;
    updateFace();
}

void ColorButton::showDropDown() { showMenu(); }

void ColorButton::tearOff(QPoint globalPosition) {
    menu_->hide();
    if (!floating_) {
        // A window of its own, owned by the button, above every other window.
        floating_ = new ColorPalette(ColorPalette::Placement::Floating, this);
        floating_->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
        floating_->setWindowTitle(toolTip());
        connectPalette(floating_);
    }
    floating_->adjustSize();
    floating_->move(globalPosition - QPoint(floating_->width() / 2, 4));
    floating_->show();
    floating_->raise();
    floating_->followPointer(globalPosition);
}

void ColorButton::chooseFromDialog() {
    const QColor initial = resolveColor(color_, automatic_, palette());
    if (const std::optional<QColor> chosen = dialogs().chooseColor(window(), initial))
        setSelectedColor(colorValueFromColor(*chosen));
}

// The owner sets the icon size after construction; the face follows it once the button is laid out.
void ColorButton::resizeEvent(QResizeEvent* event) {
    QToolButton::resizeEvent(event);
    updateFace();
}

void ColorButton::changeEvent(QEvent* event) {
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) updateFace();
}

void ColorButton::updateFace() {
    const QSize size = iconSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QRect swatch = pixmap.rect().adjusted(1, 1, -2, -2);
    if (!glyph_.isEmpty()) {
        const int barHeight = std::max(3, size.height() / 4);
        QFont font = this->font();
        font.setBold(true);
        font.setPixelSize(size.height() - barHeight);
        p.setFont(font);
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(QRect(0, 0, size.width(), size.height() - barHeight), Qt::AlignCenter, glyph_);
        swatch.setTop(size.height() - barHeight - 1);
    }
    p.fillRect(swatch, resolveColor(color_, automatic_, palette()));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(swatch);
    p.end();
    setIcon(QIcon(pixmap));
}

}  // namespace platform
