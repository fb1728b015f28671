// Carries the device protocol over TCP from a chosen local address: the twin of the serial
// link service on the TCP LinkQueue, plus a silent reconnect before each send.
#pragma once

#include "link/LinkEngine.h"
#include "link/LinkObjectDeletion.h"

#include <QAbstractSocket>
#include <QObject>
#include <QString>

class QTcpSocket;
class QTimer;

class ServiceTcpClient : public QObject, private LinkEngine::Transport
{
    Q_OBJECT

public:
    explicit ServiceTcpClient(QObject *parent = nullptr);
    ~ServiceTcpClient() override;

    // The operator was told that the reply to this line did not come (worker thread).
    void StopAwaitingReply(const QString &cmd);

signals:
    void SGL_TryCheckSend();
    void SGL_UpdateRecvData_TcpClient();
    void SGL_UpdateSendData_TcpClient(const QString &Text);
    void SGL_ConnectStatus_TcpClient(bool status, int ErrorCode);
    void SGL_ReConnectStatus_TcpClient(bool status);
    void SGL_WaitReplyTimeout_TcpClient(const QString &cmd);
    // Emitted just before a failed connect's status: why the connection was not made
    // (LinkConnectFailure::Cause) and the system's own words for it.
    void SGL_ConnectFailure_TcpClient(int cause, const QString &systemText);

public slots:
    void SLT_MatchTimer_Timeout();
    void SLT_WaitTimer_Timeout();
    void SLT_SocketError(QAbstractSocket::SocketError error);
    void SLT_SyncConnect_TcpClient(
        const QString &LocalIp, const QString &RemoteIp, const QString &RemotePort);
    void SLT_SyncDisconnect_TcpClient();
    void SLT_RealSendData_TcpClient();
    void SLT_RealRecvData_TcpClient();

private:
    static constexpr int ConnectFailedCode = 5;
    static constexpr int ConnectWaitMs = 500;
    static constexpr int ReconnectWaitMs = 1000;

    void createSocketAndTimers();
    void deleteSocketAndTimers(Deletion deletion);
    // On failure, bindFailed tells whether the local address could not be taken.
    bool connectSocket(int waitMs, bool *bindFailed = nullptr);
    void reconnectIfNeeded();
    void closeLink(Deletion deletion);

    // LinkEngine::Transport
    QByteArray readAvailable() override;
    void writeLine(const QByteArray &bytes) override;
    void startPauseTimer(int ms) override;
    void stopPauseTimer() override;
    void prepareWrite() override;
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
    QTcpSocket *m_socket = nullptr;
    bool m_open = false;
    bool m_opened = false;
    int m_lastError = 0;
    QTimer *m_matchTimer = nullptr;
    QTimer *m_waitTimer = nullptr;
    QTimer *m_pauseTimer = nullptr;
    QString m_localIp;
    QString m_remoteIp;
    QString m_remotePort;
};
