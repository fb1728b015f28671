// What the page tests do as an operator, and what they read back from the link queue.
#pragma once

#include "link/LinkQueue.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMutexLocker>
#include <QStringList>
#include <QtTest>

namespace GuiTest {

// The lines waiting in a link's send queue, CR included.
inline QStringList QueuedLines(LinkQueue &queue)
{
    QStringList lines;
    QMutexLocker lock(&queue.sendMutex);
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines << QString::fromLatin1(line.bytes);
    return lines;
}

// Picks an item the way the operator does: open the list and click the entry.
inline void ChooseItem(QComboBox *combo, int index)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(item).center());
}

} // namespace GuiTest
