// The System page's backup and restore of the device's configuration. Backup reads everything
// the device can report and saves it as a file. Restore reads the device, shows the changes in
// words and asks first, sends them one by one with a progress bar, reads the device again and
// tells in one box whether it now matches the file or what still differs. The device's link
// settings are not restored here: they would change the link in use (the headless client does
// it when asked).
#pragma once

#include "protocol/ConfigReplyRecorder.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>

class QPushButton;
class QWidget;
struct ReplyExpectation;

class Ui_ConfigBackup : public QObject
{
    Q_OBJECT
public:
    // Chooses a file: (save?) → path, empty when the operator cancels.
    using FileChooser = std::function<QString(bool save)>;

    // The two buttons go into the group, to the right of the given button.
    Ui_ConfigBackup(QWidget *group, QPushButton *leftNeighbour);

    void Retranslate();
    // Tests choose their files without a dialog.
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    QPushButton *backupButton = nullptr;
    QPushButton *restoreButton = nullptr;

    // How long the device may stay silent before a read or a command is given up.
    static constexpr int SilenceLimitMs = 5000;

signals:
    void SGL_UpdateEmit();
    // Port names came from a file.
    void SGL_SyncInputSourceName();

public slots:
    void SLT_Backup();
    void SLT_Restore();
    // Every line the device sends, as the main window receives it.
    void SLT_LineReceived(const QByteArray &bytes);

private:
    bool deviceReady() const;
    QString defaultChooser(bool save) const;
    // Reads the whole device; false with the cause when it stayed silent.
    bool readDevice(DeviceConfig *config, QString *error);
    bool waitForReadEnd();
    // Sends one step; false when no reply came (cause in error), notSent when nothing was queued.
    bool sendStep(const std::function<void()> &build, bool *notSent, QString *error);
    bool waitUntil(const std::function<bool()> &done);
    QStringList nameChanges(const DeviceConfig &file) const;
    void applyNames(const DeviceConfig &file);
    void finishRestore(const DeviceConfig &file, const QString &failure);
    QWidget *owner() const;

    QWidget *m_group;
    FileChooser m_chooseFile;
    ConfigReplyRecorder m_recorder;
    QList<QByteArray> m_received;
    bool m_busy = false; // a backup or restore is reading or sending
};
