// Turns SIGINT and SIGTERM into a Qt signal through a self-pipe, so that the simulator stops
// from its event loop and cleans up (the link path above all).
#pragma once

#include <QObject>

class QSocketNotifier;

class SimSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SimSignalWatcher(QObject *parent = nullptr);
    ~SimSignalWatcher() override;

    bool install();

signals:
    void SGL_StopRequested(int signalNumber);

private slots:
    void SLT_PipeReadable();

private:
    static void Handler(int signalNumber);
    static int s_pipe[2];
    QSocketNotifier *m_notifier = nullptr;
};
