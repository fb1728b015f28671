#include "PtyPair.h"

#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    termios raw {};
    tcgetattr(m_master, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_master, TCSANOW, &raw);
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

void PtyPair::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

bool PtyPair::write(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_master, data, size_t(left));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                pollfd fd { m_master, POLLOUT, 0 };
                ::poll(&fd, 1, 50);
                continue;
            }
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

QByteArray PtyPair::read(int timeoutMs)
{
    QByteArray result;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        pollfd fd { m_master, POLLIN, 0 };
        const int wait = result.isEmpty() ? int(timeoutMs - clock.elapsed()) : 30;
        if (::poll(&fd, 1, qMax(wait, 0)) <= 0) {
            if (!result.isEmpty())
                break;
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            result.append(buffer, int(n));
    }
    return result;
}

QByteArray PtyPair::readSome(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const int left = int(timeoutMs - clock.elapsed());
        if (left < 0)
            return QByteArray();
        pollfd fd { m_master, POLLIN, 0 };
        if (::poll(&fd, 1, left) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0)
            return QByteArray(buffer, int(n));
    }
}
