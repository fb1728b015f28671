// A pseudo-terminal pair for serial tests: the test holds the master, QSerialPort opens the slave.
#pragma once

#include <QByteArray>
#include <QString>

class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isOpen() const { return m_master >= 0; }
    // Path of the slave side, for QSerialPort::setPortName.
    QString slavePath() const { return m_slavePath; }
    int masterFd() const { return m_master; }
    // Closes the master side, as an unplugged adapter takes the port away from its user.
    void closeMaster();

    // Writes all bytes to the master side.
    bool write(const QByteArray &bytes);
    // Reads what the master has within the time limit (returns early once bytes arrived
    // and no more come for a short while).
    QByteArray read(int timeoutMs);
    // Returns as soon as any bytes are there (empty when none came within the time limit), so
    // that a test can tell when they arrived.
    QByteArray readSome(int timeoutMs);

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
