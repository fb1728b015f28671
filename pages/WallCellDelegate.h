// Paints one cell of the wall display grid: its screen colour, its number large in the middle
// and, under it, the name of the output the cell stands for. The colours come from the items
// (the wall colours of the settings), not from the application's table style, so a selected
// or hovered cell keeps the colour of its state and only lightens a little.
#pragma once

#include <QStyledItemDelegate>

class WallCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // The item data role that holds the caption under the number.
    static constexpr int CaptionRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
