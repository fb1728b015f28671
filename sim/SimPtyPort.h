// The simulator's serial side: a pseudo-terminal whose slave end is linked at a stable path, so
// that a controller opens it as its serial port. The simulator holds the master end. While
// nobody has the slave open, output is discarded instead of piling up for the next opener.
#pragma once

#include "sim/SimConnection.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

class QSocketNotifier;

class SimPtyPort : public SimConnection
{
    Q_OBJECT
public:
    SimPtyPort(const QString &linkPath, const SimWriterSettings &settings, QObject *parent = nullptr);
    ~SimPtyPort() override;

    // Creates the terminal and the link; false with a message when that fails.
    bool open(QString &error);
    QString linkPath() const { return m_linkPath; }
    QString slavePath() const { return m_slavePath; }
    // From now on, bytes sent at another rate than this are noise to the device and ignored.
    // The pseudo-terminal knows the rate its controller set, so a controller that did not
    // follow a baud-rate change loses its link as on a real cable.
    void expectBaudRate(int baudrate) { m_expectedBaudRate = baudrate; }
    // The rate the controller set on the terminal, 0 when it cannot be read.
    int controllerBaudRate() const;

signals:
    // A dropped session left the old terminal; a new one is now linked.
    void SGL_Reopened(const QString &slavePath);

protected:
    qint64 writeBytes(const QByteArray &bytes) override;
    bool isPeerPresent() const override;
    void closeTransport() override;

private slots:
    void SLT_Readable();
    void SLT_WatchForPeer();
    void SLT_PullCable();

private:
    bool createTerminal(QString &error);
    bool linkTerminal(QString &error);
    void closeTerminal();
    void removeLinkIfOurs();
    int bytesUnreadByPeer() const;

    QString m_linkPath;
    QString m_slavePath;
    int m_master = -1;
    int m_expectedBaudRate = 0; // 0: any rate is understood
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_peerWatch;
    QTimer m_pullTimer;
    QElapsedTimer m_lingerClock;
};
