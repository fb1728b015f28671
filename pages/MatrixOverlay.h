// Drawn over the matrix grid, never in the way of a click: the staged cross-points as
// outlines, the keyboard's focus mark, and a padlock beside each locked output.
#pragma once

#include <QRect>
#include <QVector>
#include <QWidget>

class MatrixOverlay : public QWidget
{
    Q_OBJECT
public:
    explicit MatrixOverlay(QWidget *parent);

    void setMarks(const QVector<QRect> &staged, const QRect &focus, const QVector<QRect> &locked);

    const QVector<QRect> &stagedRects() const { return m_staged; }
    QRect focusRect() const { return m_focus; }
    const QVector<QRect> &lockedRects() const { return m_locked; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static void DrawPadlock(class QPainter &painter, const QRect &area);

    QVector<QRect> m_staged;
    QRect m_focus;
    QVector<QRect> m_locked;
};
