// Tries one serial port at each rate in turn, slowest first, until something answers the
// model query. A port that cannot be opened is reported with the cause and not tried again.
#pragma once

#include "protocol/DiscoveryResult.h"
#include "protocol/ProbeDialogue.h"

#include <QList>
#include <QObject>
#include <QTimer>

class QSerialPort;

class SerialDeviceProbe : public QObject
{
    Q_OBJECT
public:
    SerialDeviceProbe(const QString &portName, const QList<qint32> &baudRates, int tryMs, QObject *parent = nullptr);
    ~SerialDeviceProbe() override;

    void start();
    // Stops at once without reporting.
    void abort();

signals:
    // One per rate tried (so that progress can be counted), or per rate skipped once the
    // port has answered or could not be opened.
    void SGL_RateDone(SerialDeviceProbe *probe);
    // Once, at the end.
    void SGL_Done(SerialDeviceProbe *probe, const DiscoveryResult &result);

private:
    void tryNextRate();
    void SLT_Readable();
    void SLT_TryOver();
    void finish();
    void closePort();
    void countRateDone();

    DiscoveryResult m_result;
    ProbeDialogue m_dialogue;
    QSerialPort *m_port = nullptr;
    QList<qint32> m_rates;
    int m_nextRate = 0;
    int m_ratesCounted = 0;
    int m_tryMs;
    QTimer m_timer;
    bool m_done = false;
};
