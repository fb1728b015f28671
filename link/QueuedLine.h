// One line waiting in a link queue, with the expectation that ends its wait.
#pragma once

#include "link/ReplyExpectation.h"

#include <QByteArray>

struct QueuedLine {
    QByteArray bytes;
    ReplyExpectation expectation;
};
