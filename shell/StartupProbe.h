// Drives the real program for bench/bench_startup when TAVILON_STARTUP_PROBE is set:
//   "login": report the first exposure of the login window and the resident memory then, quit;
//   "sync":  the same, then log in, press Connect on the connection page (the program runs with
//            --demo-device), wait for the end of the synchronisation burst and report the
//            resident memory, time tab switches and cross-point clicks, disconnect and quit.
// Everything happens through the windows' own widgets, as an operator would do it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QVector>

class QPushButton;
class StartupWindows;
class Ui_Main;

class StartupProbe : public QObject
{
    Q_OBJECT
public:
    // Does nothing unless the environment asks for a measurement.
    static void StartIfAsked(StartupWindows &windows);

private:
    StartupProbe(StartupWindows &windows, bool withSync);
    // Built on first use: the main window comes up after the login window's first frame.
    Ui_Main &Main() const;

    void OnFirstExposure();
    void LogInAndConnect();
    void OnLineReceived(const QString &line);
    void OnLineSent(const QString &line);
    void OnSynchronised();
    void TimeTabSwitch(int step);
    void TimeCrossPointClick(int click);
    void OnCrossPointRepainted(QPushButton *button, int click);
    QPushButton *NextCrossPoint(int click) const;
    void Fail(const char *reason);
    void Finish();

    StartupWindows &m_windows;
    bool m_withSync;
    bool m_synchronised = false;
    // Cross-point click in flight: clock since the click, time of the sent line and of the
    // first reply line in the GUI thread.
    QPushButton *m_clickedButton = nullptr;
    int m_clickIndex = -1;
    bool m_repaintArmed = false;
    QElapsedTimer m_clickClock;
    double m_sentMs = -1;
    double m_receivedMs = -1;
};
