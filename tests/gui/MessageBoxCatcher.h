// Closes the program's message boxes while a test runs and remembers what they said and
// over which window they opened. A modal box runs its own event loop, in which the polling
// timer keeps firing, so the code under test returns instead of blocking the test.
#pragma once

#include "shell/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVector>

class MessageBoxCatcher : public QObject
{
public:
    struct CaughtBox {
        QString text;
        const QWidget *parent;
    };

    // pressYes: answer question boxes with "YES" (otherwise "NO").
    explicit MessageBoxCatcher(bool pressYes = true)
        : m_pressYes(pressYes)
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { CloseOpenBox(); });
        m_timer.start();
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const CaughtBox &box : m_boxes)
            texts << box.text;
        return texts;
    }

    const QVector<CaughtBox> &Boxes() const { return m_boxes; }

private:
    void CloseOpenBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        m_boxes.append({ box->text(), box->parentWidget() });
        QAbstractButton *button = ChooseButton(box);
        if (button)
            button->click();
        else
            box->reject();
    }

    QAbstractButton *ChooseButton(QMessageBox *box) const
    {
        const char *names[]
            = { MessageBoxOkObjectName, m_pressYes ? MessageBoxYesObjectName : MessageBoxNoObjectName };
        for (const char *name : names) {
            if (auto *button = box->findChild<QAbstractButton *>(QLatin1String(name)))
                return button;
        }
        return box->buttons().isEmpty() ? nullptr : box->buttons().first();
    }

    bool m_pressYes;
    QTimer m_timer;
    QVector<CaughtBox> m_boxes;
};
