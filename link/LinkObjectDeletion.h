// How a link service lets go of its port and timers when the link closes.
#pragma once

#include <QObject>

enum class Deletion {
    Now,
    // For a close that runs inside a signal of the object itself.
    Later
};

template <typename T> void DeleteLinkObject(T *&object, Deletion deletion)
{
    if (!object)
        return;
    if (deletion == Deletion::Later) {
        QObject::disconnect(object, nullptr, nullptr, nullptr);
        object->deleteLater();
    } else {
        delete object;
    }
    object = nullptr;
}
