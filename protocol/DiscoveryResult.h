// What a discovery probe learnt about one place a device could be: a TCP host and port, or a
// serial port at a baud rate.
#pragma once

#include <QMetaType>
#include <QString>

struct DiscoveryResult {
    enum class Kind {
        Device, // answered the model query with the expected model
        OtherModel, // answered with another model
        Silent, // accepted the connection (or opened) but never answered
        Unopenable, // a serial port that could not be opened; problem says why
    };
    enum class Link { Tcp, Serial };

    Kind kind = Kind::Silent;
    Link link = Link::Tcp;
    QString address; // TCP: dotted IPv4
    quint16 port = 0; // TCP
    QString serialPath; // serial
    qint32 baudRate = 0; // serial: the rate that answered (0 when none did)
    QString model; // as the device named itself
    QString mainVersion; // the main board's firmware, when it answered
    QString problem; // Unopenable: the cause

    bool isDevice() const { return kind == Kind::Device; }
    // "tcp" or "serial"; "device", "other-model", "silent" or "unopenable".
    QString linkWord() const;
    QString kindWord() const;
};

Q_DECLARE_METATYPE(DiscoveryResult)
