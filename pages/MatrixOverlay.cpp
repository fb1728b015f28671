#include "pages/MatrixOverlay.h"

#include <QPainter>
#include <QPen>

MatrixOverlay::MatrixOverlay(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void MatrixOverlay::setMarks(const QVector<QRect> &staged, const QRect &focus, const QVector<QRect> &locked)
{
    m_staged = staged;
    m_focus = focus;
    m_locked = locked;
    raise();
    update();
}

void MatrixOverlay::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A staged route is outlined, not filled: it is not on the device yet.
    QPen stagedPen(QColor(255, 196, 0), 2, Qt::DashLine);
    painter.setPen(stagedPen);
    painter.setBrush(Qt::NoBrush);
    for (const QRect &rect : qAsConst(m_staged))
        painter.drawRect(rect.adjusted(1, 1, -2, -2));
    if (!m_focus.isNull()) {
        painter.setPen(QPen(QColor(255, 255, 255), 2, Qt::SolidLine));
        painter.drawRect(m_focus.adjusted(-1, -1, 0, 0));
    }
    for (const QRect &rect : qAsConst(m_locked))
        DrawPadlock(painter, rect);
}

void MatrixOverlay::DrawPadlock(QPainter &painter, const QRect &area)
{
    const int size = qMin(area.height(), 16);
    const QRect lock(area.right() - size, area.top() + (area.height() - size) / 2, size, size);
    const QColor colour(235, 77, 75);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    const QRect shackle(lock.left() + size / 4, lock.top(), size / 2, size / 2);
    painter.drawArc(shackle, 0, 180 * 16);
    painter.setBrush(colour);
    painter.drawRect(QRect(lock.left() + 2, lock.top() + size / 2 - 1, size - 4, size / 2));
}
