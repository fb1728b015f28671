#include "pages/WallCellDelegate.h"

#include <QPainter>

namespace {

constexpr int MinNumberPixels = 12;
constexpr int MaxNumberPixels = 56;
const QColor SelectedVeil(255, 255, 255, 46);
const QColor HoverVeil(255, 255, 255, 22);

} // namespace

void WallCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect rect = option.rect;
    painter->save();
    painter->fillRect(rect, index.data(Qt::BackgroundRole).value<QBrush>());
    if (option.state & QStyle::State_Selected)
        painter->fillRect(rect, SelectedVeil);
    else if (option.state & QStyle::State_MouseOver)
        painter->fillRect(rect, HoverVeil);

    const QColor text = index.data(Qt::ForegroundRole).value<QBrush>().color();
    QFont font = option.font;
    font.setBold(true);
    font.setPixelSize(qBound(MinNumberPixels, rect.height() / 5, MaxNumberPixels));
    painter->setFont(font);
    painter->setPen(text);
    const QRect numberRect = rect.adjusted(0, 0, 0, -font.pixelSize() / 2);
    painter->drawText(numberRect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());

    const QString caption = index.data(CaptionRole).toString();
    if (!caption.isEmpty()) {
        QFont small = option.font;
        small.setPixelSize(qMax(MinNumberPixels - 1, font.pixelSize() * 2 / 5));
        painter->setFont(small);
        QColor captionColour = text;
        captionColour.setAlpha(text.alpha() * 3 / 4);
        painter->setPen(captionColour);
        const int top = rect.center().y() + font.pixelSize() / 2;
        painter->drawText(QRect(rect.left(), top, rect.width(), small.pixelSize() * 2), Qt::AlignHCenter | Qt::AlignTop,
            caption);
    }
    painter->restore();
}
