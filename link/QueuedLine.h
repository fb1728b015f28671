// One line waiting in a link queue, with the expectation that ends its wait.
#pragma once

#include "link/ReplyExpectation.h"

#include <QByteArray>

struct QueuedLine {
    QByteArray bytes;
    ReplyExpectation expectation;
    // Received lines only: the device repeated the line in flight (shown, never parsed).
    bool echo = false;
};
