#include "shell/StartupProbe.h"

#include "link/LinkEngine.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "settings/SettingsTexts.h"
#include "shell/ExposeProbe.h"
#include "shell/StartupWindows.h"
#include "shell/Ui_Login.h"
#include "shell/Ui_Main.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

constexpr int SyncTimeoutMs = 30000;
// Lets the last replies' repaints and deferred deletions finish before memory is read.
constexpr int SettleMs = 300;
constexpr int TabSwitchRounds = 3;
constexpr int CrossPointClicks = 6;
constexpr int MatrixInputs = 4;

QByteArray Number(double value)
{
    return QByteArray::number(value, 'f', 3);
}

} // namespace

void StartupProbe::StartIfAsked(StartupWindows &windows)
{
    const QByteArray mode = ExposeProbe::Mode();
    if (mode.isEmpty())
        return;
    auto *probe = new StartupProbe(windows, mode == "sync");
    connect(&windows, &StartupWindows::SGL_FirstFrameShown, probe, &StartupProbe::OnFirstExposure);
}

StartupProbe::StartupProbe(StartupWindows &windows, bool withSync)
    : QObject(&windows)
    , m_windows(windows)
    , m_withSync(withSync)
{
}

Ui_Main &StartupProbe::Main() const
{
    return m_windows.MainWindow();
}

void StartupProbe::OnFirstExposure()
{
    ExposeProbe::PrintFirstExposure();
    if (!m_withSync) {
        Finish();
        return;
    }
    connect(&Main(), &Ui_Main::SGL_DEBUG_SHOW_RecvText, this, &StartupProbe::OnLineReceived);
    connect(&Main(), &Ui_Main::SGL_DEBUG_SHOW_SendText, this, &StartupProbe::OnLineSent);
    QTimer::singleShot(0, this, &StartupProbe::LogInAndConnect);
    QTimer::singleShot(SyncTimeoutMs, this, [this] {
        if (!m_synchronised)
            Fail("no SYNC-OVER reply");
    });
}

void StartupProbe::LogInAndConnect()
{
    if (!m_windows.LoginWindow().isVisible())
        return Fail("the login window is not shown");
    m_windows.LoginWindow().accountComboBox->setCurrentIndex(0);
    m_windows.LoginWindow().passwordEdit->setText(Spassword_Admin);
    m_windows.LoginWindow().loginButton->click();
    if (!Main().isVisible())
        return Fail("the main window did not open");
    Main().connectionPage->networkConnectButton->click();
}

void StartupProbe::OnLineReceived(const QString &line)
{
    if (!m_synchronised && line.contains(QLatin1String("SYNC-OVER"))) {
        m_synchronised = true;
        QTimer::singleShot(SettleMs, this, &StartupProbe::OnSynchronised);
        return;
    }
    if (!m_clickedButton || m_repaintArmed)
        return;
    if (m_receivedMs < 0)
        m_receivedMs = m_clickClock.nsecsElapsed() / 1e6;
    // The line is parsed right after this signal. Queued at normal priority, the check runs
    // before the repaint that the parser asks for, which Qt posts at low priority.
    QTimer::singleShot(0, this, [this] {
        if (!m_clickedButton || m_repaintArmed || !m_clickedButton->isFlat())
            return;
        m_repaintArmed = true;
        OnCrossPointRepainted(m_clickedButton, m_clickIndex);
    });
}

void StartupProbe::OnLineSent(const QString &)
{
    if (m_clickedButton && m_sentMs < 0)
        m_sentMs = m_clickClock.nsecsElapsed() / 1e6;
}

void StartupProbe::OnSynchronised()
{
    ExposeProbe::Print("rss-kb sync " + QByteArray::number(ExposeProbe::ResidentKilobytes()));
    TimeTabSwitch(0);
}

// Every tab in turn, several rounds: the first round shows each page for the first time.
void StartupProbe::TimeTabSwitch(int step)
{
    QTabWidget *tabs = Main().tabWidget;
    const int count = tabs->count();
    if (step >= TabSwitchRounds * count) {
        const int matrixTab = tabs->indexOf(Main().matrixPage);
        if (matrixTab < 0)
            return Finish();
        tabs->setCurrentIndex(matrixTab);
        QTimer::singleShot(SettleMs, this, [this] { TimeCrossPointClick(0); });
        return;
    }
    const int index = (step + 1) % count;
    ExposeProbe::TimeRepaint(
        &Main(), [tabs, index] { tabs->setCurrentIndex(index); },
        [this, tabs, step, count, index](double ms) {
            ExposeProbe::Print("tab-ms " + QByteArray(step < count ? "first " : "again ")
                + QByteArray::number(index) + ' ' + Number(ms) + ' ' + tabs->tabText(index).toUtf8());
            QTimer::singleShot(0, this, [this, step] { TimeTabSwitch(step + 1); });
        });
}

// Routes output 1 to each input in turn: every click changes the route.
QPushButton *StartupProbe::NextCrossPoint(int click) const
{
    const QString name = QStringLiteral("MatrixButton-%1").arg(click % MatrixInputs);
    auto *button = Main().matrixPage->findChild<QPushButton *>(name);
    if (button && button->isFlat())
        button = Main().matrixPage->findChild<QPushButton *>(
            QStringLiteral("MatrixButton-%1").arg((click + 1) % MatrixInputs));
    return button;
}

void StartupProbe::TimeCrossPointClick(int click)
{
    if (click >= CrossPointClicks)
        return Finish();
    QPushButton *button = NextCrossPoint(click);
    if (!button)
        return Fail("no cross-point button");
    m_clickedButton = button;
    m_clickIndex = click;
    m_repaintArmed = false;
    m_sentMs = -1;
    m_receivedMs = -1;
    m_clickClock.start();
    button->click();
    QTimer::singleShot(SyncTimeoutMs, this, [this, click] {
        if (m_clickedButton && m_clickIndex == click)
            Fail("the cross-point did not turn flat");
    });
}

void StartupProbe::OnCrossPointRepainted(QPushButton *button, int click)
{
    Q_UNUSED(button);
    ExposeProbe::TimeRepaint(
        &Main(), [] {},
        [this, click](double) {
            const double totalMs = m_clickClock.nsecsElapsed() / 1e6;
            // The link waits before every write, and the device needs its time to answer;
            // what is left is this program's own work before the write and after the reply.
            const double deviceMs = m_receivedMs >= 0 && m_sentMs >= 0 ? m_receivedMs - m_sentMs : 0;
            const double ownMs = totalMs - LinkEngine::PauseBeforeWriteMs - deviceMs;
            ExposeProbe::Print("click-ms " + Number(totalMs) + ' ' + Number(ownMs));
            m_clickedButton = nullptr;
            QTimer::singleShot(0, this, [this, click] { TimeCrossPointClick(click + 1); });
        });
}

void StartupProbe::Fail(const char *reason)
{
    ExposeProbe::Print(QByteArray("error ") + reason);
    Finish();
}

void StartupProbe::Finish()
{
    if (m_windows.MainWindowBuilt()) {
        Main().connectionPage->DisconnectActiveLink();
        if (Main().isVisible()) {
            Main().close();
            return;
        }
    }
    QCoreApplication::quit();
}
