// The built simulator as a process: raw requests over TCP and over its pseudo-terminal, change
// reports to every client, the fault options, and a clean stop that removes its link.
#include "support/TestPaths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int WaitMs = 5000;

// One running simulator; stopped and reaped when the object goes.
class SimProcess
{
public:
    ~SimProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(WaitMs))
                process.kill();
            process.waitForFinished(WaitMs);
        }
    }

    // Starts with a free TCP port and the pseudo-terminal linked at ptyLink, plus the extra
    // options; returns once the simulator has reported every transport it opens.
    bool start(
        const QString &ptyLink, const QStringList &extra = {}, bool expectTcp = true, bool expectPty = true)
    {
        QStringList arguments { "--tcp", "127.0.0.1:0", "--pty", ptyLink };
        process.start(TestBinDir() + "/tavilon-sim", arguments + extra);
        if (!process.waitForStarted(WaitMs))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < WaitMs) {
            readOutput();
            const bool tcpReady = !expectTcp || port != 0;
            const bool ptyReady = !expectPty || !ptyPath.isEmpty();
            if (tcpReady && ptyReady)
                return true;
            if (process.state() == QProcess::NotRunning)
                return false;
            process.waitForReadyRead(100);
        }
        return false;
    }

    void readOutput()
    {
        output += process.readAllStandardOutput();
        for (const QByteArray &line : output.split('\n')) {
            if (line.startsWith("TCP "))
                port = quint16(line.mid(line.lastIndexOf(':') + 1).toUInt());
            else if (line.startsWith("PTY "))
                ptyPath = QString::fromLocal8Bit(line.mid(4));
        }
    }

    QProcess process;
    QByteArray output;
    quint16 port = 0;
    QString ptyPath;
};

bool Connect(QTcpSocket &socket, quint16 port)
{
    socket.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), port);
    return socket.waitForConnected(WaitMs);
}

// Reads until the bytes hold `wanted` (or time runs out), and returns everything read.
QByteArray ReadUntil(QTcpSocket &socket, const QByteArray &wanted, int timeoutMs = WaitMs)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (!bytes.contains(wanted) && clock.elapsed() < timeoutMs) {
        if (socket.bytesAvailable() == 0)
            socket.waitForReadyRead(int(qMax<qint64>(1, timeoutMs - clock.elapsed())));
        bytes += socket.readAll();
    }
    return bytes;
}

// Whatever arrives within the time, which must pass completely.
QByteArray ReadFor(QTcpSocket &socket, int ms)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        socket.waitForReadyRead(int(qMax<qint64>(1, ms - clock.elapsed())));
        bytes += socket.readAll();
    }
    return bytes;
}

// The controller's end of the pseudo-terminal, opened by its path in raw mode as a serial port
// is.
class PtyClient
{
public:
    ~PtyClient() { close(); }

    bool open(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios raw {};
        ::tcgetattr(m_fd, &raw);
        ::cfmakeraw(&raw);
        return ::tcsetattr(m_fd, TCSANOW, &raw) == 0;
    }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    // The rate a serial port would set; the simulator reads it from the terminal.
    bool setRate(int rate)
    {
        const speed_t speed = rate == 115200 ? B115200 : rate == 57600 ? B57600 : rate == 38400 ? B38400
            : rate == 19200                  ? B19200
                                             : B9600;
        termios settings {};
        ::tcgetattr(m_fd, &settings);
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
        return ::tcsetattr(m_fd, TCSANOW, &settings) == 0;
    }
    bool write(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    // Reads until the bytes hold `wanted`, the time runs out or the other end hangs up.
    QByteArray readUntil(const QByteArray &wanted, int timeoutMs = WaitMs)
    {
        QByteArray bytes;
        QElapsedTimer clock;
        clock.start();
        while ((wanted.isEmpty() || !bytes.contains(wanted)) && clock.elapsed() < timeoutMs && !hungUp) {
            pollfd fd { m_fd, POLLIN, 0 };
            if (::poll(&fd, 1, 50) <= 0)
                continue;
            char buffer[4096];
            const ssize_t count = ::read(m_fd, buffer, sizeof buffer);
            if (count > 0)
                bytes.append(buffer, int(count));
            else if (count == 0 || (errno != EAGAIN && errno != EINTR))
                hungUp = true;
        }
        return bytes;
    }

    bool hungUp = false;

private:
    int m_fd = -1;
};

} // namespace

class TestSimProcess : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void answers_data();
    void answers();
    void changesReachEveryClient();
    void mutedRequestsAreNeitherDoneNorAnswered();
    void dropAfterClosesTheConnection();
    void dropAfterPullsTheSerialCable();
    void chunkedAnswersArriveInPieces();
    void crLfLineEnding();
    void anotherModel();
    void latencyDelaysAnswers();
    void garbageNeverBreaksAnAnswerLine_data();
    void garbageNeverBreaksAnAnswerLine();
    void transportsCanBeTurnedOff_data();
    void transportsCanBeTurnedOff();
    void stopsCleanlyOnSignal_data();
    void stopsCleanlyOnSignal();
    void refusesToReplaceAFileAtTheLinkPath();
    void badOptionsExitWithUsage();
    void networkWriteMovesTheListener();
    void baudWriteChangesTheSerialRate_data();
    void baudWriteChangesTheSerialRate();
    void helpTellsHowLinkSettingsApply();

private:
    QString linkPath() const { return m_dir->filePath(QStringLiteral("tty")); }
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestSimProcess::init()
{
    QVERIFY2(QFileInfo(TestBinDir() + "/tavilon-sim").isExecutable(), "tavilon-sim is not built");
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void TestSimProcess::answers_data()
{
    QTest::addColumn<bool>("overPty");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");

    QTest::newRow("model over tcp") << false << QByteArray("GET MODEL TYPE\r")
                                    << QByteArray("MODEL TYPE RZ7P52KN\r");
    QTest::newRow("request ended by LF")
        << false << QByteArray("GET SYNC-OVER\n") << QByteArray("SYNC-OVER\r");
    QTest::newRow("request ended by CR LF")
        << false << QByteArray("GET SYNC-OVER\r\nGET SYNC-OVER\r\n") << QByteArray("SYNC-OVER\rSYNC-OVER\r");
    QTest::newRow("route over tcp") << false << QByteArray("SET IN1 VIDEO OUT3\r")
                                    << QByteArray("IN1 VIDEO OUT3\rOUT3 VIDEO IN HDMI1\r");
    QTest::newRow("unknown request") << false << QByteArray("HELLO\r")
                                     << QByteArray("ERROR: UNKNOWN COMMAND\r");
    QTest::newRow("over-long request") << false << QByteArray(3000, 'X') + "\rGET SYNC-OVER\r"
                                       << QByteArray("ERROR: LINE TOO LONG\rSYNC-OVER\r");
    QTest::newRow("routes over the serial port")
        << true << QByteArray("GET MATRIX-ROUTE\r") << QByteArray("MATRIX-ROUTE 0 1 2 3\r");
    QTest::newRow("route over the serial port")
        << true << QByteArray("SET IN2 VIDEO OUT1\r") << QByteArray("IN2 VIDEO OUT1\rOUT1 VIDEO IN HDMI2\r");
    QTest::newRow("wall over the serial port")
        << true << QByteArray("GET TVWALL-INFO\r")
        << QByteArray("TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 1 0 0 2 0 0 0 0 2 0 0 3 0 0 0 0 3\r");
}

void TestSimProcess::answers()
{
    QFETCH(bool, overPty);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);

    SimProcess sim;
    QVERIFY(sim.start(linkPath()));
    QByteArray received;
    if (overPty) {
        PtyClient pty;
        QVERIFY(pty.open(sim.ptyPath));
        QVERIFY(pty.write(request));
        received = pty.readUntil(answer);
        received += pty.readUntil(QByteArray(), 300);
    } else {
        QTcpSocket socket;
        QVERIFY(Connect(socket, sim.port));
        socket.write(request);
        received = ReadUntil(socket, answer);
        received += ReadFor(socket, 300);
    }
    // Exactly the answer, nothing more.
    QCOMPARE(received, answer);
}

void TestSimProcess::changesReachEveryClient()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath()));
    QTcpSocket first;
    QTcpSocket second;
    PtyClient pty;
    QVERIFY(Connect(first, sim.port));
    QVERIFY(Connect(second, sim.port));
    QVERIFY(pty.open(sim.ptyPath));

    first.write("SET IN3 VIDEO OUT2\r");
    QCOMPARE(ReadUntil(first, "HDMI3\r"), QByteArray("IN3 VIDEO OUT2\rOUT2 VIDEO IN HDMI3\r"));
    QCOMPARE(ReadUntil(second, "HDMI3\r"), QByteArray("OUT2 VIDEO IN HDMI3\r"));
    QCOMPARE(pty.readUntil("HDMI3\r"), QByteArray("OUT2 VIDEO IN HDMI3\r"));

    // A change made over the serial port reaches both network clients.
    QVERIFY(pty.write("SET OUT1 VKA NOTIMING\r"));
    QCOMPARE(pty.readUntil("NOTIMING\r"), QByteArray("OUT1 VKA NOTIMING\r"));
    QCOMPARE(ReadUntil(first, "NOTIMING\r"), QByteArray("OUT1 VKA NOTIMING\r"));
    QCOMPARE(ReadUntil(second, "NOTIMING\r"), QByteArray("OUT1 VKA NOTIMING\r"));

    // A query, or a change that changes nothing, stays with the asker.
    second.write("GET MATRIX-ROUTE\rSET IN3 VIDEO OUT2\r");
    QCOMPARE(ReadUntil(second, "HDMI3\r"),
        QByteArray("MATRIX-ROUTE 0 2 2 3\rIN3 VIDEO OUT2\rOUT2 VIDEO IN HDMI3\r"));
    QCOMPARE(ReadFor(first, 300), QByteArray());
    QCOMPARE(pty.readUntil(QByteArray(), 300), QByteArray());
}

void TestSimProcess::mutedRequestsAreNeitherDoneNorAnswered()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { "--mute", "VIDEO OUT2" }));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));
    socket.write("SET IN3 VIDEO OUT2\rGET MATRIX-ROUTE\r");
    QCOMPARE(ReadUntil(socket, "MATRIX-ROUTE 0 1 2 3\r"), QByteArray("MATRIX-ROUTE 0 1 2 3\r"));
    QCOMPARE(ReadFor(socket, 300), QByteArray());
}

void TestSimProcess::dropAfterClosesTheConnection()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { "--drop-after", "2" }));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));
    socket.write("GET SYNC-OVER\r");
    QCOMPARE(ReadUntil(socket, "SYNC-OVER\r"), QByteArray("SYNC-OVER\r"));
    socket.write("GET MODEL TYPE\rGET MATRIX-ROUTE\r");
    // The second request is answered, the third is not: the connection closes.
    QCOMPARE(ReadUntil(socket, "RZ7P52KN\r"), QByteArray("MODEL TYPE RZ7P52KN\r"));
    if (socket.state() != QAbstractSocket::UnconnectedState)
        QVERIFY(socket.waitForDisconnected(WaitMs));
    QVERIFY(!socket.readAll().contains("MATRIX-ROUTE"));

    // A new connection counts afresh.
    QTcpSocket again;
    QVERIFY(Connect(again, sim.port));
    again.write("GET SYNC-OVER\r");
    QCOMPARE(ReadUntil(again, "SYNC-OVER\r"), QByteArray("SYNC-OVER\r"));
}

void TestSimProcess::dropAfterPullsTheSerialCable()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { "--drop-after", "1" }));
    const QString firstTerminal = QFileInfo(sim.ptyPath).symLinkTarget();
    PtyClient pty;
    QVERIFY(pty.open(sim.ptyPath));
    QVERIFY(pty.write("GET SYNC-OVER\r"));
    QCOMPARE(pty.readUntil("SYNC-OVER\r"), QByteArray("SYNC-OVER\r"));
    pty.readUntil(QByteArray(), WaitMs);
    QVERIFY(pty.hungUp);

    // A fresh terminal now sits behind the same link.
    QElapsedTimer clock;
    clock.start();
    while (QFileInfo(sim.ptyPath).symLinkTarget() == firstTerminal && clock.elapsed() < WaitMs)
        QTest::qWait(20);
    QVERIFY(QFileInfo(sim.ptyPath).symLinkTarget() != firstTerminal);
    PtyClient again;
    QVERIFY(again.open(sim.ptyPath));
    QVERIFY(again.write("GET MODEL TYPE\r"));
    QCOMPARE(again.readUntil("RZ7P52KN\r"), QByteArray("MODEL TYPE RZ7P52KN\r"));
}

void TestSimProcess::chunkedAnswersArriveInPieces()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { "--chunk", "4" }));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));
    socket.write("GET MODEL TYPE\r");
    QByteArray received;
    int pieces = 0;
    QElapsedTimer clock;
    clock.start();
    while (!received.endsWith('\r') && clock.elapsed() < WaitMs) {
        if (socket.waitForReadyRead(WaitMs)) {
            received += socket.readAll();
            ++pieces;
        }
    }
    QCOMPARE(received, QByteArray("MODEL TYPE RZ7P52KN\r"));
    QVERIFY2(pieces > 1, qPrintable(QString::number(pieces)));
}

void TestSimProcess::crLfLineEnding()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { "--line-ending", "crlf" }));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));
    socket.write("SET IN1 VIDEO OUT3\r");
    QCOMPARE(ReadUntil(socket, "HDMI1\r\n"), QByteArray("IN1 VIDEO OUT3\r\nOUT3 VIDEO IN HDMI1\r\n"));
}

void TestSimProcess::anotherModel()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { "--model", "XYZ123" }));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));
    socket.write("GET MODEL TYPE\r");
    QCOMPARE(ReadUntil(socket, "\r"), QByteArray("MODEL TYPE XYZ123\r"));
}

void TestSimProcess::latencyDelaysAnswers()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { "--latency", "800" }));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));
    socket.write("GET SYNC-OVER\r");
    // Nothing can come before the delay has passed; then the answer comes whole.
    QCOMPARE(ReadFor(socket, 200), QByteArray());
    QCOMPARE(ReadUntil(socket, "\r"), QByteArray("SYNC-OVER\r"));
}

void TestSimProcess::garbageNeverBreaksAnAnswerLine_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("whole lines") << QStringList { "--garbage" };
    QTest::newRow("answers in pieces") << QStringList { "--garbage", "--chunk", "3" };
}

void TestSimProcess::garbageNeverBreaksAnAnswerLine()
{
    QFETCH(QStringList, options);

    SimProcess sim;
    QVERIFY(sim.start(linkPath(), options));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));
    QByteArray received;
    const int requests = 12;
    for (int i = 0; i < requests; ++i) {
        socket.write("GET MATRIX-ROUTE\r");
        received += ReadFor(socket, 200);
    }
    received += ReadFor(socket, 1000);

    int answers = 0;
    int junk = 0;
    QList<QByteArray> lines = received.split('\r');
    QVERIFY(lines.takeLast().isEmpty()); // the stream ends with a complete line
    for (const QByteArray &line : lines) {
        if (line == "MATRIX-ROUTE 0 1 2 3") {
            ++answers;
            continue;
        }
        // Junk: no upper-case protocol word, and never led by a control byte.
        ++junk;
        QVERIFY2(!line.isEmpty() && quint8(line[0]) >= 0x20, line.toHex().constData());
        for (const char c : line)
            QVERIFY2(c < 'A' || c > 'Z', line.toHex().constData());
    }
    QCOMPARE(answers, requests);
    QVERIFY(junk > 0);
}

void TestSimProcess::transportsCanBeTurnedOff_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<bool>("pty");

    QTest::newRow("serial only") << "--no-tcp" << false << true;
    QTest::newRow("network only") << "--no-pty" << true << false;
}

void TestSimProcess::transportsCanBeTurnedOff()
{
    QFETCH(QString, option);
    QFETCH(bool, tcp);
    QFETCH(bool, pty);

    SimProcess sim;
    QVERIFY(sim.start(linkPath(), { option }, tcp, pty));
    QCOMPARE(sim.port != 0, tcp);
    QCOMPARE(!sim.ptyPath.isEmpty(), pty);
    QCOMPARE(QFileInfo(linkPath()).isSymLink(), pty);
    if (pty) {
        PtyClient client;
        QVERIFY(client.open(linkPath()));
        QVERIFY(client.write("GET SYNC-OVER\r"));
        QCOMPARE(client.readUntil("\r"), QByteArray("SYNC-OVER\r"));
    }
}

void TestSimProcess::stopsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSimProcess::stopsCleanlyOnSignal()
{
    QFETCH(int, signalNumber);

    SimProcess sim;
    QVERIFY(sim.start(linkPath()));
    QVERIFY(QFileInfo(linkPath()).isSymLink());
    PtyClient pty;
    QVERIFY(pty.open(sim.ptyPath));
    QTcpSocket socket;
    QVERIFY(Connect(socket, sim.port));

    QCOMPARE(::kill(pid_t(sim.process.processId()), signalNumber), 0);
    QVERIFY(sim.process.waitForFinished(WaitMs));
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
    QVERIFY(!QFileInfo(linkPath()).isSymLink());
    QVERIFY(!QFileInfo::exists(linkPath()));
    sim.readOutput();
    QVERIFY(sim.output.contains("stopped"));
}

void TestSimProcess::refusesToReplaceAFileAtTheLinkPath()
{
    QFile file(linkPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();

    SimProcess sim;
    QVERIFY(!sim.start(linkPath()));
    QVERIFY(sim.process.state() == QProcess::NotRunning || sim.process.waitForFinished(WaitMs));
    QCOMPARE(sim.process.exitCode(), 1);
    QVERIFY(sim.process.readAllStandardError().contains("not a symbolic link"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("keep me"));
}

void TestSimProcess::badOptionsExitWithUsage()
{
    QProcess process;
    process.start(TestBinDir() + "/tavilon-sim", { "--pty", linkPath(), "--chunk", "none" });
    QVERIFY(process.waitForFinished(WaitMs));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().contains("Usage: tavilon-sim"));
    QVERIFY(!QFileInfo(linkPath()).isSymLink());
}

void TestSimProcess::networkWriteMovesTheListener()
{
    SimProcess sim;
    QVERIFY(sim.start(linkPath()));
    const quint16 factoryPort = sim.port;
    quint16 newPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        newPort = probe.serverPort();
    }
    const QByteArray settings = "127.0.0.1 " + QByteArray::number(newPort) + " 255.0.0.0 127.0.0.1";

    QTcpSocket socket;
    QVERIFY(Connect(socket, factoryPort));
    socket.write("SET NETWORK-INFO " + settings + '\r');
    QVERIFY(ReadUntil(socket, "NETWORK-INFO " + settings + '\r').contains("NETWORK-INFO " + settings + '\r'));
    // The device's network restarts once it has answered.
    QVERIFY(socket.state() == QAbstractSocket::UnconnectedState || socket.waitForDisconnected(WaitMs));
    QElapsedTimer clock;
    clock.start();
    while (sim.port != newPort && clock.elapsed() < WaitMs) {
        sim.process.waitForReadyRead(50);
        sim.readOutput();
    }
    QCOMPARE(sim.port, newPort);

    QTcpSocket old;
    QVERIFY(!Connect(old, factoryPort));
    QTcpSocket moved;
    QVERIFY(Connect(moved, newPort));
    moved.write("GET NETWORK-INFO\r");
    QVERIFY(ReadUntil(moved, settings + '\r').contains("NETWORK-INFO " + settings + '\r'));

    // A reset brings the factory settings back, and the listener with them.
    moved.write("SET RESET\r");
    QVERIFY(ReadUntil(moved, "RESET\r").contains("RESET\r"));
    clock.restart();
    while (sim.port != factoryPort && clock.elapsed() < WaitMs) {
        sim.process.waitForReadyRead(50);
        sim.readOutput();
    }
    QCOMPARE(sim.port, factoryPort);
    QTcpSocket back;
    QVERIFY(Connect(back, factoryPort));
}

void TestSimProcess::baudWriteChangesTheSerialRate_data()
{
    QTest::addColumn<int>("writtenRate"); // 0: none written
    QTest::addColumn<int>("askedAt");
    QTest::addColumn<bool>("answered");

    QTest::newRow("no rate written, any rate understood") << 0 << 57600 << true;
    QTest::newRow("at the new rate") << 115200 << 115200 << true;
    QTest::newRow("still at the old rate") << 115200 << 9600 << false;
    QTest::newRow("at another rate") << 19200 << 38400 << false;
}

void TestSimProcess::baudWriteChangesTheSerialRate()
{
    QFETCH(int, writtenRate);
    QFETCH(int, askedAt);
    QFETCH(bool, answered);

    SimProcess sim;
    QVERIFY(sim.start(linkPath()));
    PtyClient pty;
    QVERIFY(pty.open(sim.ptyPath));
    QVERIFY(pty.setRate(9600));
    if (writtenRate != 0) {
        const QByteArray reply = "BAUDRATE " + QByteArray::number(writtenRate) + '\r';
        QVERIFY(pty.write("SET BAUDRATE " + QByteArray::number(writtenRate) + '\r'));
        QCOMPARE(pty.readUntil(reply), reply);
    }
    QVERIFY(pty.setRate(askedAt));
    QVERIFY(pty.write("GET MODEL TYPE\r"));
    const QByteArray received = pty.readUntil("RZ7P52KN\r", answered ? WaitMs : 1000);
    QCOMPARE(received.contains("MODEL TYPE RZ7P52KN\r"), answered);
}

void TestSimProcess::helpTellsHowLinkSettingsApply()
{
    QProcess process;
    process.start(TestBinDir() + "/tavilon-sim", { "--help" });
    QVERIFY(process.waitForFinished(WaitMs));
    const QByteArray help = process.readAllStandardOutput();
    for (const char *words : { "SET NETWORK-INFO", "moves to", "SET BAUDRATE", "SET RESET", "version" })
        QVERIFY2(help.contains(words), words);
}

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_sim_process.moc"
