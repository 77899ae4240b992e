#pragma once
// The underline list of the font tab: "Bez podtržení" and four items, each with its 110 x 20 picture,
// drawn by the dialog (`ComboBox1DrawItem`), every item 16 pixels high.

#include <QStyledItemDelegate>

class QComboBox;

// The underline type code an item stands for: 0 none, 1 single, 4 dotted, 6 dash-dot, 8 wave.
int UnderlineTypeOfItem(int index);

// Fills `list` with the five items, loading the pictures "BITMAP_1", "BITMAP_2", "BITMAP_5" and
// "BITMAP_6" from the resources; the pictures live in the items and go with them.
void FillUnderlineList(QComboBox& list);

class UnderlineItemDrawer : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // ComboBox1DrawItem: the list's background, the picture at (left + 2, top + 2) with pure red
    // showing the background, then the text after the picture and an 8-pixel gap.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
