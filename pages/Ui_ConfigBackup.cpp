#include "pages/Ui_ConfigBackup.h"

#include "link/LinkEngine.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/RestorePlanner.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/MessageBoxes.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QTimer>

namespace {

constexpr int ButtonWidth = 90;
constexpr int Neighbour = 5;
constexpr int MaxListedChanges = 25;
constexpr int PollMs = 20;

QString Listed(const QStringList &lines)
{
    QStringList shown = lines.mid(0, MaxListedChanges);
    if (lines.size() > MaxListedChanges)
        shown << SMSG_RestoreMore.arg(lines.size() - MaxListedChanges);
    return shown.join(QStringLiteral("\r\n"));
}

} // namespace

Ui_ConfigBackup::Ui_ConfigBackup(QWidget *group, QPushButton *leftNeighbour)
    : QObject(group)
    , m_group(group)
{
    backupButton = new QPushButton(group);
    backupButton->setObjectName(QStringLiteral("SystemBackupButton"));
    restoreButton = new QPushButton(group);
    restoreButton->setObjectName(QStringLiteral("SystemRestoreButton"));
    const QRect beside = leftNeighbour->geometry();
    backupButton->setGeometry(beside.right() + 1 + Neighbour * 4, beside.y(), ButtonWidth, beside.height());
    restoreButton->setGeometry(backupButton->geometry().right() + 1 + Neighbour, beside.y(), ButtonWidth, beside.height());
    connect(backupButton, &QPushButton::clicked, this, &Ui_ConfigBackup::SLT_Backup);
    connect(restoreButton, &QPushButton::clicked, this, &Ui_ConfigBackup::SLT_Restore);
    m_chooseFile = [this](bool save) { return defaultChooser(save); };
    Retranslate();
}

void Ui_ConfigBackup::Retranslate()
{
    backupButton->setText(SpushButton_Backup);
    restoreButton->setText(SpushButton_Restore);
}

QWidget *Ui_ConfigBackup::owner() const
{
    return m_group->window();
}

QString Ui_ConfigBackup::defaultChooser(bool save) const
{
    if (save)
        return QFileDialog::getSaveFileName(owner(), SpushButton_Backup, QString(), S_BackupFileFilter);
    return QFileDialog::getOpenFileName(owner(), SpushButton_Restore, QString(), S_BackupFileFilter);
}

bool Ui_ConfigBackup::deviceReady() const
{
    return LinkMode != LinkModeNone && SelectedLinkQueue() && !DeviceState.modelUnconfirmed;
}

void Ui_ConfigBackup::SLT_LineReceived(const QByteArray &bytes)
{
    // Only the lines of a backup's or restore's own reads, and never a request the device
    // echoed: parsed again here, an echoed query would be taken for an empty answer (an echoed
    // GET MODEL TYPE for another model).
    if (!m_busy || bytes.startsWith("GET ") || bytes.startsWith("SET "))
        return;
    m_received << bytes;
    m_recorder.record(bytes);
}

bool Ui_ConfigBackup::waitUntil(const std::function<bool()> &done)
{
    // Silence, not the whole read, is limited: a read of every port takes a while.
    QElapsedTimer silence;
    silence.start();
    int seen = m_received.size();
    while (!done()) {
        if (m_received.size() != seen) {
            seen = m_received.size();
            silence.restart();
        }
        if (silence.elapsed() > SilenceLimitMs || LinkMode == LinkModeNone)
            return false;
        QEventLoop loop;
        QTimer::singleShot(PollMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

bool Ui_ConfigBackup::waitForReadEnd()
{
    CmdGetSyncOver();
    emit SGL_UpdateEmit();
    return waitUntil([this] { return m_recorder.syncOver(); });
}

bool Ui_ConfigBackup::readDevice(DeviceConfig *config, QString *error)
{
    m_recorder.startRead();
    DeviceConfig::QueueReads();
    bool answered = waitForReadEnd();
    // Which outputs have a user window depends on the modes just read.
    const quint32 outputs = qMin(DeviceState.outputCount, MaxPorts);
    m_recorder.startRead();
    for (quint32 o = 0; answered && o < outputs; ++o)
        CmdGetUserWindow(o);
    answered = answered && waitForReadEnd();
    if (!answered) {
        *error = QStringLiteral("GET SYNC-OVER");
        return false;
    }
    *config = m_recorder.config();
    return true;
}

bool Ui_ConfigBackup::sendStep(const std::function<void()> &build, bool *notSent, QString *error)
{
    LinkQueue *queue = SelectedLinkQueue();
    const int before = queue ? queue->sendQueueSize() : 0;
    build();
    QueuedLine last;
    *notSent = !queue || queue->sendQueueSize() == before || !queue->lastQueued(&last);
    if (*notSent)
        return true;
    const int firstLine = m_received.size();
    emit SGL_UpdateEmit();
    int scanned = firstLine;
    const bool answered = waitUntil([&] {
        for (; scanned < m_received.size(); ++scanned) {
            const QByteArray &line = m_received.at(scanned);
            if (LinkEngine::LineMatches(last.expectation, line.constData(), line.size()))
                return true;
        }
        return false;
    });
    if (!answered)
        *error = QString::fromLatin1(last.bytes).trimmed();
    return answered;
}

QStringList Ui_ConfigBackup::nameChanges(const DeviceConfig &file) const
{
    QStringList changes;
    for (int i = 0; i < file.inputs.size() && i < int(MaxPorts); ++i) {
        if (!file.inputs[i].name.isEmpty() && file.inputs[i].name != S_InputName[i])
            changes << QStringLiteral("Input %1 name: %2").arg(i + 1).arg(file.inputs[i].name);
    }
    for (int o = 0; o < file.outputs.size() && o < int(MaxPorts); ++o) {
        if (!file.outputs[o].name.isEmpty() && file.outputs[o].name != S_OutputName[o])
            changes << QStringLiteral("Output %1 name: %2").arg(o + 1).arg(file.outputs[o].name);
    }
    return changes;
}

void Ui_ConfigBackup::applyNames(const DeviceConfig &file)
{
    for (int i = 0; i < file.inputs.size() && i < int(MaxPorts); ++i) {
        if (!file.inputs[i].name.isEmpty())
            S_InputName[i] = file.inputs[i].name;
    }
    for (int o = 0; o < file.outputs.size() && o < int(MaxPorts); ++o) {
        if (!file.outputs[o].name.isEmpty())
            S_OutputName[o] = file.outputs[o].name;
    }
    emit SGL_SyncInputSourceName();
}

void Ui_ConfigBackup::SLT_Backup()
{
    if (!deviceReady()) {
        MessageBoxOk(SMSG_BackupNeedsDevice, owner());
        return;
    }
    backupButton->setEnabled(false);
    DeviceConfig config;
    QString error;
    m_busy = true;
    const bool read = readDevice(&config, &error);
    m_busy = false;
    backupButton->setEnabled(true);
    if (!read) {
        MessageBoxOk(SMSG_BackupNoAnswer + error, owner());
        return;
    }
    for (int i = 0; i < config.inputs.size(); ++i)
        config.inputs[i].name = S_InputName[i];
    for (int o = 0; o < config.outputs.size(); ++o)
        config.outputs[o].name = S_OutputName[o];
    // The link settings as the System page last read them from the device.
    config.info.networkKnown = LinkMode == LinkModeTcp;
    config.info.ip = SP_RemoteIp;
    config.info.port = SP_RemotePort;
    config.info.mask = SP_RemoteSubmask;
    config.info.gateway = SP_RemoteGateway;
    config.info.baudRate = LinkMode == LinkModeSerial ? SP_BaudRate.toInt() : 0;
    config.info.date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    config.info.programVersion = QStringLiteral(TAVILON_PROGRAM_VERSION);

    const QString path = m_chooseFile(true);
    if (path.isEmpty())
        return;
    const QByteArray text = QJsonDocument(config.toJson()).toJson(QJsonDocument::Indented);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        MessageBoxOk(SMSG_BackupWriteFail + path + QStringLiteral(": ") + file.errorString(), owner());
        return;
    }
    MessageBoxOk(SMSG_BackupSaved + path, owner());
}

void Ui_ConfigBackup::SLT_Restore()
{
    if (!deviceReady()) {
        MessageBoxOk(SMSG_BackupNeedsDevice, owner());
        return;
    }
    const QString path = m_chooseFile(false);
    if (path.isEmpty())
        return;
    QFile input(path);
    DeviceConfig file;
    QString error;
    if (!input.open(QIODevice::ReadOnly))
        error = input.errorString();
    else if (DeviceConfig::FromText(input.readAll(), &file, &error)
        && (file.inputs.size() != int(DeviceState.inputCount) || file.outputs.size() != int(DeviceState.outputCount)))
        error = QStringLiteral("the file has %1 inputs and %2 outputs, the device %3 and %4")
                    .arg(file.inputs.size())
                    .arg(file.outputs.size())
                    .arg(DeviceState.inputCount)
                    .arg(DeviceState.outputCount);
    if (!error.isEmpty()) {
        MessageBoxOk(SMSG_RestoreRefused + error, owner());
        return;
    }

    restoreButton->setEnabled(false);
    m_busy = true;
    DeviceConfig device;
    const bool read = readDevice(&device, &error);
    m_busy = false;
    if (!read) {
        restoreButton->setEnabled(true);
        MessageBoxOk(SMSG_BackupNoAnswer + error, owner());
        return;
    }
    RestorePlanner planner(device, file, false);
    const QStringList changes = nameChanges(file) + planner.changes();
    if (changes.isEmpty()) {
        restoreButton->setEnabled(true);
        MessageBoxOk(SMSG_RestoreNothing, owner());
        return;
    }
    if (!MessageBoxYesNo(SMSG_RestoreConfirm + QStringLiteral("\r\n\r\n") + Listed(changes), owner())) {
        restoreButton->setEnabled(true);
        return;
    }
    applyNames(file);

    QProgressDialog progress(SMSG_RestoreProgress, QString(), 0, planner.steps().size(), owner());
    progress.setObjectName(QStringLiteral("RestoreProgress"));
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.setValue(0);
    progress.show();
    m_busy = true;
    // A step a builder refuses sends nothing; what it leaves undone shows among the differences.
    QString failure;
    for (int k = 0; k < planner.steps().size() && failure.isEmpty(); ++k) {
        bool skipped = false;
        if (!sendStep(planner.steps().at(k).build, &skipped, &error))
            failure = QStringLiteral("no reply to %1").arg(error);
        progress.setValue(k + 1);
    }
    progress.close();
    finishRestore(file, failure);
    m_busy = false;
    restoreButton->setEnabled(true);
}

void Ui_ConfigBackup::finishRestore(const DeviceConfig &file, const QString &failure)
{
    QStringList problems;
    if (!failure.isEmpty())
        problems << failure;
    DeviceConfig after;
    QString error;
    if (!readDevice(&after, &error))
        problems << SMSG_BackupNoAnswer + error;
    else
        problems << DeviceConfig::Differences(after, file, false);
    if (problems.isEmpty()) {
        MessageBoxOk(SMSG_RestoreDone, owner());
        return;
    }
    MessageBoxOk(SMSG_RestoreDiffers + QStringLiteral("\r\n") + Listed(problems), owner());
}
