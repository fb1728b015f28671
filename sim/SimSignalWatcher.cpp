#include "sim/SimSignalWatcher.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

int SimSignalWatcher::s_pipe[2] = { -1, -1 };

SimSignalWatcher::SimSignalWatcher(QObject *parent)
    : QObject(parent)
{ }

SimSignalWatcher::~SimSignalWatcher()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

bool SimSignalWatcher::install()
{
    if (s_pipe[0] < 0 && ::pipe(s_pipe) != 0)
        return false;
    for (int fd : s_pipe)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SimSignalWatcher::SLT_PipeReadable);

    struct sigaction action {
    };
    action.sa_handler = &SimSignalWatcher::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

void SimSignalWatcher::Handler(int signalNumber)
{
    // Only async-signal-safe work here: one byte into the pipe.
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    const ssize_t ignored = ::write(s_pipe[1], &byte, 1);
    (void)ignored;
}

void SimSignalWatcher::SLT_PipeReadable()
{
    unsigned char byte = 0;
    while (::read(s_pipe[0], &byte, 1) == 1)
        emit SGL_StopRequested(int(byte));
}
