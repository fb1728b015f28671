// Carries the device protocol over RS232: owns the serial port in its worker thread, sends the
// serial LinkQueue's lines one at a time and cuts the received bytes into lines.
#pragma once

#include "link/LinkEngine.h"
#include "link/LinkObjectDeletion.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

class QTimer;

class ServiceSerialPort : public QObject, private LinkEngine::Transport
{
    Q_OBJECT

public:
    explicit ServiceSerialPort(QObject *parent = nullptr);
    ~ServiceSerialPort() override;

    // The operator was told that the reply to this line did not come (worker thread).
    void StopAwaitingReply(const QString &cmd);
    // Whether a port error means the port is gone or unusable, rather than a fault of one
    // transfer that the port recovers from.
    static bool IsPortLoss(QSerialPort::SerialPortError error);

signals:
    void SGL_TryCheckSend();
    void SGL_UpdateRecvData_SerialPort();
    void SGL_UpdateSendData_SerialPort(const QString &Text);
    void SGL_ConnectStatus_SerialPort(bool status, int ErrorCode);
    void SGL_WaitReplyTimeout_SerialPort(const QString &cmd);
    // The open port is gone or unusable (unplugged adapter, failing reads or writes): the link
    // has been closed as by SLT_SyncDisconnect_SerialPort. Emitted once per loss.
    void SGL_PortLost_SerialPort(const QString &portName);
    // Emitted just before a failed connect's status: why the port did not open
    // (LinkConnectFailure::Cause) and the system's own words for it.
    void SGL_ConnectFailure_SerialPort(int cause, const QString &systemText);

public slots:
    void SLT_MatchTimer_Timeout();
    void SLT_WaitTimer_Timeout();
    void SLT_SerialPortError(QSerialPort::SerialPortError error);
    void SLT_SyncConnect_SerialPort(const QString &MyPortName, const QString &MyBaudRate,
        const QString &MyDataBit, const QString &MyParity, const QString &MyStopBit,
        const QString &MyFlowControl);
    void SLT_SyncDisconnect_SerialPort();
    void SLT_RealSendData_SerialPort();
    void SLT_RealRecvData_SerialPort();

private:
    static constexpr int ConnectFailedCode = 3;

    void createPortAndTimers();
    void deletePortAndTimers(Deletion deletion);
    void applyPortSettings(const QString &baudRate, const QString &dataBits, const QString &parity,
        const QString &stopBits, const QString &flowControl);
    void closeLink(Deletion deletion);
    void closeLostPort(quint64 session);

    // LinkEngine::Transport
    QByteArray readAvailable() override;
    void writeLine(const QByteArray &bytes) override;
    void startPauseTimer(int ms) override;
    void stopPauseTimer() override;
    void startMatchTimer(int ms) override;
    void stopMatchTimer() override;
    void startWaitTimer(int ms) override;
    void stopWaitTimer() override;
    void announceLineSent(const QString &text) override;
    void announceLineReceived() override;
    void announceReplyTimeout(const QString &command) override;
    void requestSendAttempt() override;
    void closeDeferredLink() override;

    LinkEngine m_engine;
    QSerialPort *m_port = nullptr;
    bool m_open = false;
    int m_lastError = 0;
    QTimer *m_matchTimer = nullptr;
    QTimer *m_waitTimer = nullptr;
    QTimer *m_pauseTimer = nullptr;
    // A loss was seen and its close is on its way (the port may report more errors first).
    bool m_losing = false;
    // Counts successful connects, so that a loss report reaches only the port it was about.
    quint64 m_session = 0;
    // The port name as the connect request gave it, for the loss report.
    QString m_portName;
};
