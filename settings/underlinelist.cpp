#include "settings/underlinelist.h"

#include <QImage>
#include <QComboBox>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kItemHeight = 16;
constexpr int kPictureRole = Qt::UserRole + 1;

struct UnderlineItem {
    const char* text;
    const char* picture;  // resource name; null for none
    int type;
};

constexpr UnderlineItem kItems[] = {
    {"Bez podtržení", nullptr, 0}, {"Bitmap 1", "BITMAP_1", 1}, {"Bitmap 2", "BITMAP_2", 4},
    {"Bitmap 5", "BITMAP_5", 6},   {"Bitmap 6", "BITMAP_6", 8},
};

}  // namespace

int UnderlineTypeOfItem(int index) { return index >= 0 && index < int(std::size(kItems)) ? kItems[index].type : 0; }

void FillUnderlineList(QComboBox& list) {
    Q_INIT_RESOURCE(underlines);
    list.clear();
    for (const UnderlineItem& item : kItems) {
        list.addItem(QString::fromUtf8(item.text));
        if (item.picture)
            list.setItemData(list.count() - 1, QPixmap(QStringLiteral(":/underlines/") + QLatin1String(item.picture)),
                             kPictureRole);
    }
    list.setCurrentIndex(0);
}

void UnderlineItemDrawer::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QColor background = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    painter->fillRect(option.rect, background);
    int textLeft = option.rect.left();
    const QPixmap picture = index.data(kPictureRole).value<QPixmap>();
    if (!picture.isNull()) {
        QImage shown = picture.toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb red = qRgb(255, 0, 0);
        for (int y = 0; y < shown.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
            for (int x = 0; x < shown.width(); ++x)
                if (line[x] == red) line[x] = background.rgb();
        }
        painter->drawImage(option.rect.left() + 2, option.rect.top() + 2, shown);
        textLeft += picture.width() + 8;
    }
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect(textLeft, option.rect.top(), option.rect.right() - textLeft, option.rect.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
}

QSize UnderlineItemDrawer::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
}
