// The built-in demonstration device: started as `tavilon --demo-device tcp=HOST:PORT,serial=PATH`
// (either part may be left out), the connection page offers that address, so that an
// operator only logs in and presses Connect. The address is a session value: the settings
// files always receive the operator's own link settings, never the demonstration address nor
// what the demonstration device reports about its own link.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class DemoDevice
{
public:
    static constexpr const char *OptionName = "--demo-device";

    // Reads the option from the program arguments; no option, or one without a usable part,
    // gives an inactive device.
    static DemoDevice FromArguments(const QStringList &arguments);
    // Reads the option's value, such as "tcp=127.0.0.1:2000,serial=/tmp/tavilon-sim-tty".
    static DemoDevice FromOptionValue(const QString &value);

    bool isActive() const { return !tcpHost.isEmpty() || !serialPort.isEmpty(); }
    bool isApplied() const { return m_applied; }

    // Remembers the operator's link settings and puts the demonstration address in their
    // place. Once only.
    void applyToLinkSettings();
    // Puts the operator's link settings back for good (the program is ending).
    void restoreOperatorLinkSettings();
    // Writes the settings files with the operator's link settings and then goes on with the
    // session's.
    void saveSettingsFiles();

    QString tcpHost;
    QString tcpPort;
    QString serialPort;

private:
    static QVector<QString> CurrentLinkSettings();
    static void SetLinkSettings(const QVector<QString> &values);

    bool m_applied = false;
    QVector<QString> m_operatorSettings;
};
