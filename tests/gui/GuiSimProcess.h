// The device simulator as a child process of a GUI test, and the operator steps that every
// connecting test needs.
#pragma once

#include "support/TestPaths.h"
#include "link/Ui_Uart_Network.h"
#include "shell/MyComboBox.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QtTest>

namespace GuiTest {

// tavilon-sim on a free TCP port of 127.0.0.1, and on a pseudo-terminal at the given path
// (none when the path is empty).
class SimProcess
{
public:
    explicit SimProcess(const QString &ptyPath = QString(), const QStringList &extraArguments = {})
        : m_wantsPty(!ptyPath.isEmpty())
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput,
            [this] { m_output += m_process.readAllStandardOutput(); });
        QStringList arguments { "--tcp", "127.0.0.1:0" };
        arguments += m_wantsPty ? QStringList { "--pty", ptyPath } : QStringList { "--no-pty" };
        m_process.setProgram(TestBinDir() + QStringLiteral("/tavilon-sim"));
        m_process.setArguments(arguments + extraArguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
    }

    ~SimProcess() { Stop(); }

    void Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }

    // Waits until the simulator has told where it listens.
    bool WaitUntilListening()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            m_process.waitForReadyRead(50);
            for (const QByteArray &line : m_output.split('\n')) {
                if (line.startsWith("TCP "))
                    tcpPort = QString::fromLatin1(line.mid(line.lastIndexOf(':') + 1)).trimmed();
                else if (line.startsWith("PTY "))
                    ptyPath = QString::fromLocal8Bit(line.mid(4)).trimmed();
            }
            if (!tcpPort.isEmpty() && (!m_wantsPty || !ptyPath.isEmpty()))
                return true;
            if (m_process.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    QString tcpPort;
    QString ptyPath;

private:
    bool m_wantsPty;
    QProcess m_process;
    QByteArray m_output;
};

// A port of 127.0.0.1 on which nobody listens (free a moment ago).
inline quint16 UnusedTcpPort()
{
    QTcpServer server;
    server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    return server.serverPort();
}

inline void TypeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Opens the local address list, which rebuilds it, and picks the loopback address.
inline bool ChooseLoopbackLocalAddress(Ui_Uart_Network *page)
{
    page->localIpComboBox->showPopup();
    page->localIpComboBox->hidePopup();
    for (int i = 0; i < page->localIpComboBox->count(); ++i) {
        if (page->localIpComboBox->itemText(i).startsWith(QLatin1String("127.0.0.1<"))) {
            page->localIpComboBox->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

// The progress lines of a whole synchronisation of the 4 x 4 device, in the status log's order.
inline QStringList ExpectedSyncLog()
{
    QStringList lines { "Sync Matrix Message." };
    for (int input = 1; input <= 4; ++input)
        lines << QStringLiteral("Sync Input-%1 Message.").arg(input);
    for (int output = 1; output <= 4; ++output)
        lines << QStringLiteral("Sync Output-%1 Message.").arg(output);
    lines << "Sync Multiview Message."
          << "Sync TV Wall Message."
          << "Sync System Message."
          << "->Sync Over!<-";
    return lines;
}

} // namespace GuiTest
