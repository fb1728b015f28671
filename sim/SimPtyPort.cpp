#include "sim/SimPtyPort.h"

#include "sim/SimLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int PeerWatchMs = 50;
constexpr int LingerPollMs = 20;
constexpr int MaxLingerMs = 2000;

} // namespace

SimPtyPort::SimPtyPort(const QString &linkPath, const SimWriterSettings &settings, QObject *parent)
    : SimConnection(QStringLiteral("pty"), settings, parent)
    , m_linkPath(linkPath)
{
    m_peerWatch.setInterval(PeerWatchMs);
    connect(&m_peerWatch, &QTimer::timeout, this, &SimPtyPort::SLT_WatchForPeer);
    m_pullTimer.setSingleShot(true);
    connect(&m_pullTimer, &QTimer::timeout, this, &SimPtyPort::SLT_PullCable);
}

SimPtyPort::~SimPtyPort()
{
    removeLinkIfOurs();
    closeTerminal();
}

bool SimPtyPort::open(QString &error)
{
    return createTerminal(error) && linkTerminal(error);
}

bool SimPtyPort::createTerminal(QString &error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = QStringLiteral("cannot create a pseudo-terminal: %1")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
        closeTerminal();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    // Raw mode on the slave side, so that nothing the simulator writes is echoed back or
    // cooked before a controller sets its own mode. Closing the slave again leaves the master
    // in the hung-up state that tells the simulator nobody is listening yet.
    const int slave = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios raw {};
        if (::tcgetattr(slave, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(slave, TCSANOW, &raw);
        }
        ::close(slave);
    }
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SimPtyPort::SLT_Readable);
    SLT_WatchForPeer();
    return true;
}

bool SimPtyPort::linkTerminal(QString &error)
{
    // Replace a link left by an earlier run, but never anything that is not a link.
    const QFileInfo existing(m_linkPath);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isSymLink()) {
            error = QStringLiteral("%1 exists and is not a symbolic link; not replacing it").arg(m_linkPath);
            return false;
        }
    }
    const QByteArray link = QFile::encodeName(m_linkPath);
    const QByteArray temporary = link + ".new" + QByteArray::number(::getpid());
    ::unlink(temporary.constData());
    if (::symlink(m_slavePath.toLocal8Bit().constData(), temporary.constData()) != 0
        || ::rename(temporary.constData(), link.constData()) != 0) {
        error = QStringLiteral("cannot link %1: %2")
                    .arg(m_linkPath, QString::fromLocal8Bit(std::strerror(errno)));
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

void SimPtyPort::closeTerminal()
{
    m_peerWatch.stop();
    delete m_notifier;
    m_notifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void SimPtyPort::removeLinkIfOurs()
{
    // Another simulator may have taken the path over since; leave its link alone.
    if (m_slavePath.isEmpty()
        || QFileInfo(m_linkPath).symLinkTarget() != QFileInfo(m_slavePath).absoluteFilePath())
        return;
    ::unlink(QFile::encodeName(m_linkPath).constData());
}

qint64 SimPtyPort::writeBytes(const QByteArray &bytes)
{
    if (m_master < 0)
        return -1;
    const ssize_t written = ::write(m_master, bytes.constData(), size_t(bytes.size()));
    if (written >= 0)
        return written;
    return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
}

bool SimPtyPort::isPeerPresent() const
{
    if (m_master < 0)
        return false;
    pollfd fd { m_master, POLLIN, 0 };
    return ::poll(&fd, 1, 0) >= 0 && !(fd.revents & POLLHUP);
}

void SimPtyPort::closeTransport()
{
    // Closing the master throws away what the client has not read yet, so the last answer
    // would be lost: wait until the client has read it (or has gone, or a while has passed).
    if (m_pullTimer.isActive())
        return;
    m_lingerClock.start();
    m_pullTimer.start(LingerPollMs);
}

int SimPtyPort::bytesUnreadByPeer() const
{
    const int slave = ::open(QFile::encodeName(m_slavePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0)
        return 0;
    int unread = 0;
    if (::ioctl(slave, FIONREAD, &unread) != 0)
        unread = 0;
    ::close(slave);
    return unread;
}

void SimPtyPort::SLT_PullCable()
{
    if (isPeerPresent() && bytesUnreadByPeer() > 0 && m_lingerClock.elapsed() < MaxLingerMs) {
        m_pullTimer.start(LingerPollMs);
        return;
    }
    // A fresh terminal takes the link over (the link is replaced in one step, so it never
    // points nowhere), then the old terminal goes away. Creating the new one first also keeps
    // the kernel from handing out the old terminal's number again.
    const int oldMaster = m_master;
    QSocketNotifier *oldNotifier = m_notifier;
    m_master = -1;
    m_notifier = nullptr;
    m_peerWatch.stop();
    QString error;
    const bool reopened = createTerminal(error) && linkTerminal(error);
    delete oldNotifier;
    ::close(oldMaster);
    startNewSession();
    if (reopened)
        emit SGL_Reopened(m_slavePath);
    else
        emit SGL_Closed(this);
}

int SimPtyPort::controllerBaudRate() const
{
    termios settings {};
    if (m_master < 0 || ::tcgetattr(m_master, &settings) != 0)
        return 0;
    switch (::cfgetispeed(&settings)) {
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

void SimPtyPort::SLT_Readable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            const int rate = controllerBaudRate();
            if (m_expectedBaudRate != 0 && rate != 0 && rate != m_expectedBaudRate) {
                SimLog::Write(QStringLiteral("pty: %1 bytes at %2 baud, the device listens at %3: ignored")
                                  .arg(count)
                                  .arg(rate)
                                  .arg(m_expectedBaudRate));
                continue;
            }
            receiveBytes(QByteArray(buffer, int(count)));
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        // EIO: the last holder of the slave closed it. Stop listening until someone opens it
        // again, or the notifier would fire without end.
        SLT_WatchForPeer();
        return;
    }
}

void SimPtyPort::SLT_WatchForPeer()
{
    if (!m_notifier)
        return;
    const bool present = isPeerPresent();
    m_notifier->setEnabled(present);
    if (present)
        m_peerWatch.stop();
    else if (!m_peerWatch.isActive())
        m_peerWatch.start();
}
