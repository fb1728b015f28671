// tavilon-cli as a process against links that cannot be opened: it ends with the exit status of
// a failed connection and one line on standard error that says why, in the connection page's
// words. Every address is on loopback; a bind to a foreign address fails before anything is sent.
#include "link/LinkConnectFailure.h"
#include "settings/LanguageTexts.h"
#include "support/PtyPair.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int CliRunMs = 20000;
constexpr int ExitNoConnection = 3;

struct CliRun {
    int exitCode = -1;
    QByteArray standardError;
};

CliRun RunCli(const QStringList &arguments, const QStringList &prefix = {})
{
    QProcess process;
    const QString cli = TestBinDir() + QStringLiteral("/tavilon-cli");
    if (prefix.isEmpty())
        process.start(cli, arguments);
    else
        process.start(prefix.first(), prefix.mid(1) + QStringList { cli } + arguments);
    CliRun run;
    if (!process.waitForFinished(CliRunMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.standardError = process.readAllStandardError();
    return run;
}

// A listener whose accept queue is full: the kernel drops further connection requests, so a
// client waits in vain, as for a device that does not answer.
class FullListener
{
public:
    bool open()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(0x7F000003); // 127.0.0.3
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(m_fd, 0) != 0)
            return false;
        socklen_t length = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length);
        port = ntohs(address.sin_port);
        // Fill the queue; the listener never accepts.
        for (QTcpSocket &filler : m_fillers) {
            filler.connectToHost(QStringLiteral("127.0.0.3"), port);
            filler.waitForConnected(300);
        }
        return true;
    }
    ~FullListener()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    quint16 port = 0;

private:
    int m_fd = -1;
    QTcpSocket m_fillers[2];
};

} // namespace

class TestCliLinkFailure : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void saysWhy_data();
    void saysWhy();
    void permissionDeniedNamesTheGroup();

private:
    QTemporaryDir m_dir;
};

void TestCliLinkFailure::initTestCase()
{
    QVERIFY2(QFile::exists(TestBinDir() + QStringLiteral("/tavilon-cli")), "tavilon-cli is not built");
    QVERIFY(m_dir.isValid());
    QFile plain(m_dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
}

void TestCliLinkFailure::saysWhy_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("cause");

    QTest::newRow("no such port") << "serial missing" << int(LinkConnectFailure::SerialNoSuchPort);
    QTest::newRow("plain file") << "serial plain" << int(LinkConnectFailure::SerialNotSerialDevice);
    QTest::newRow("folder") << "serial folder" << int(LinkConnectFailure::SerialNotSerialDevice);
    QTest::newRow("port held by another program") << "serial busy" << int(LinkConnectFailure::SerialBusy);
    QTest::newRow("nothing listens") << "tcp refused" << int(LinkConnectFailure::TcpRefused);
    QTest::newRow("local address not on this computer") << "tcp bind" << int(LinkConnectFailure::TcpBindFailed);
    QTest::newRow("no answer") << "tcp silent" << int(LinkConnectFailure::TcpNoAnswer);
}

void TestCliLinkFailure::saysWhy()
{
    QFETCH(QString, link);
    QFETCH(int, cause);

    PtyPair pty;
    QVERIFY(pty.isOpen());
    QSerialPort holder;
    FullListener silent;
    QString target;
    QStringList arguments;
    if (link == QLatin1String("serial missing")) {
        target = m_dir.filePath(QStringLiteral("no-such-tty"));
    } else if (link == QLatin1String("serial plain")) {
        target = m_dir.filePath(QStringLiteral("plain"));
    } else if (link == QLatin1String("serial folder")) {
        target = m_dir.path();
    } else if (link == QLatin1String("serial busy")) {
        target = pty.slavePath();
        holder.setPortName(target);
        QVERIFY(holder.open(QIODevice::ReadWrite));
    }
    if (!target.isEmpty())
        arguments = QStringList { "--serial", target };

    if (link == QLatin1String("tcp refused")) {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        target = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
        server.close();
        arguments = QStringList { "--tcp", target };
    } else if (link == QLatin1String("tcp bind")) {
        // A documentation address that no computer here has: binding fails, nothing is sent.
        target = QStringLiteral("127.0.0.2:2000");
        arguments = QStringList { "--tcp", target, "--local-ip", "192.0.2.1" };
    } else if (link == QLatin1String("tcp silent")) {
        QVERIFY(silent.open());
        target = QStringLiteral("127.0.0.3:%1").arg(silent.port);
        arguments = QStringList { "--tcp", target };
    }

    const CliRun run = RunCli(arguments << "sync");

    QCOMPARE(run.exitCode, ExitNoConnection);
    const QString expected = QStringLiteral("tavilon-cli: cannot connect to %1: %2\n")
                                 .arg(target, LinkConnectFailure::Text(LinkConnectFailure::Cause(cause), QString()));
    QCOMPARE(QString::fromLocal8Bit(run.standardError), expected);
}

// Run as a user outside the terminal's group: the port exists but may not be opened.
void TestCliLinkFailure::permissionDeniedNamesTheGroup()
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty() || ::geteuid() != 0)
        QSKIP("needs setpriv and root to run the client as an unprivileged user");
    PtyPair pty;
    QVERIFY(pty.isOpen());

    const CliRun run = RunCli({ "--serial", pty.slavePath(), "sync" },
        { setpriv, "--reuid=65534", "--regid=65534", "--clear-groups" });

    QCOMPARE(run.exitCode, ExitNoConnection);
    QCOMPARE(QString::fromLocal8Bit(run.standardError),
        QStringLiteral("tavilon-cli: cannot connect to %1: %2\n").arg(pty.slavePath(), SMSG_Cause_SerialPermission));
    QVERIFY(run.standardError.contains("dialout"));
}

QTEST_GUILESS_MAIN(TestCliLinkFailure)
#include "tst_clilinkfailure.moc"
