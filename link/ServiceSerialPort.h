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

signals:
    void SGL_TryCheckSend();
    void SGL_UpdateRecvData_SerialPort();
    void SGL_UpdateSendData_SerialPort(const QString &Text);
    void SGL_ConnectStatus_SerialPort(bool status, int ErrorCode);
    void SGL_WaitReplyTimeout_SerialPort(const QString &cmd);
    void SGL_PortLost_SerialPort(const QString &portName);

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

    // LinkEngine::Transport
    QByteArray readAvailable() override;
    void writeLine(const QByteArray &bytes) override;
    void pauseBeforeWrite() override;
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
};
