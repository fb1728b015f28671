#include "shell/Ui_Main.h"

#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/LinkServices.h"
#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"
#include "link/Ui_Debug.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_Multiview.h"
#include "pages/Ui_SignalConfig.h"
#include "pages/Ui_ConfigBackup.h"
#include "pages/Ui_System.h"
#include "pages/Ui_TVWall.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/LanguageComboBox.h"
#include "shell/LinkHealthBanner.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"
#include "shell/PngResave.h"
#include "shell/Ui_Login.h"
#include "shell/Ui_MainReplyPages.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>

namespace {

constexpr int LanguageComboBoxWidth = 140;
constexpr int LanguageComboBoxHeight = 30;
constexpr int FullHdWidth = 1920;
constexpr int FullHdHeight = 1080;
constexpr int LargeScreenWindowWidth = 1392;
constexpr int LargeScreenWindowHeight = 864;

QSize PrimaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(FullHdWidth, FullHdHeight);
}

bool IsSwitchedOn(const QString &setting)
{
    return setting == QLatin1String("1");
}

} // namespace

Ui_Main::Ui_Main(QWidget *parent)
    : MyFramelessWindow(parent)
{
    CreateWidgets();
    CreatePages();
    PlaceOnScreen();
    ShowLogo();
    PlaceLanguageComboBox();
    SetupTexts(true);
    gridLayout->addWidget(tabWidget);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    MakeConnections();
    m_demoDevice = DemoDevice::FromArguments(QCoreApplication::arguments());
    // The login window's destructor may save first; by then the operator's own link
    // settings must be back.
    connect(
        qApp, &QCoreApplication::aboutToQuit, this, [this] { m_demoDevice.restoreOperatorLinkSettings(); });
}

Ui_Main::~Ui_Main()
{
    if (g_SaveSettingsOnExit) {
        g_SaveSettingsOnExit = false;
        m_demoDevice.restoreOperatorLinkSettings();
        ConfigFile_SaveAll();
    }
    // Pages whose tab is switched off have no parent; the others leave their tab on deletion.
    delete connectionPage;
    delete matrixPage;
    delete signalConfigPage;
    delete multiviewPage;
    delete tvWallPage;
    delete systemPage;
    delete debugConsole;
    delete replyPages;
}

QRect Ui_Main::GeometryForScreen(const QSize &screenSize)
{
    const int screenWidth = screenSize.width();
    const int screenHeight = screenSize.height();
    const int height = screenHeight < FullHdHeight ? screenHeight * 16 / 20 : LargeScreenWindowHeight;
    const int width = screenWidth < FullHdWidth ? screenWidth * 29 / 40 : LargeScreenWindowWidth;
    const int x = (qMin(screenWidth, FullHdWidth) - width) / 2;
    const int y = (qMin(screenHeight, FullHdHeight) - height) / 2;
    return QRect(x, y, width, height);
}

void Ui_Main::CreateWidgets()
{
    centralContent = new QWidget(this);
    SetContentWidget(centralContent);
    tabWidget = new QTabWidget(centralContent);
    tabWidget->setAutoFillBackground(true);
    linkHealthBanner = new LinkHealthBanner(tabWidget);
    gridLayout = new QGridLayout(centralContent);
    // Created after the tab widget, so it stays above the tab bar's right end.
    // Wheel-safe: a stray wheel turn over it would switch the language and write the settings.
    auto *languages = new MyComboBox(centralContent);
    languages->UseListViewWhenOpened();
    languageComboBox = languages;
}

// A page built without a parent is styled while it is built and styled again from scratch
// when the tab widget adopts it (every one of its widgets is unpolished and polished anew).
// Built right inside the tab widget's page stack it is styled once; a page whose tab stays
// off is built without a parent, as it is never inserted.
void Ui_Main::CreatePages()
{
    QWidget *stack = tabWidget->findChild<QStackedWidget *>(
        QStringLiteral("qt_tabwidget_stackedwidget"), Qt::FindDirectChildrenOnly);
    const auto parentFor = [stack](const QString &setting) { return IsSwitchedOn(setting) ? stack : nullptr; };
    connectionPage = new Ui_Uart_Network(stack);
    matrixPage = new Ui_Matrix(parentFor(Key_UI_Matrix));
    signalConfigPage = new Ui_SignalConfig(parentFor(Key_UI_SignalConfig));
    multiviewPage = new Ui_Multiview(parentFor(Key_UI_Multiview));
    tvWallPage = new Ui_TVWall(parentFor(Key_UI_TV_Wall));
    systemPage = new Ui_System(parentFor(Key_UI_System));
    debugConsole = new Ui_Debug();
    replyPages = new Ui_MainReplyPages(*this);
}

void Ui_Main::PlaceOnScreen()
{
    const QRect geometry = GeometryForScreen(PrimaryScreenSize());
    resize(geometry.size());
    move(geometry.topLeft());
}

void Ui_Main::ShowLogo()
{
    const QString logoPath = ConfigFile_AppDir() + QStringLiteral("/APP/Image/mainui_logo.png");
    ResavePngImage(logoPath);
    SetTitleIcon(logoPath);
}

void Ui_Main::PlaceLanguageComboBox()
{
    languageComboBox->setGeometry(
        width() - LanguageComboBoxWidth, 0, LanguageComboBoxWidth, LanguageComboBoxHeight);
}

void Ui_Main::MakeConnections()
{
    connect(this, &Ui_Main::SGL_SETUP_UI_DEBUG, debugConsole, &Ui_Debug::SLT_SETUP_UI_DEBUG);
    connect(this, &Ui_Main::SGL_CLOSE_UI_DEBUG, debugConsole, &Ui_Debug::SLT_CLOSE_UI_DEBUG);
    connect(this, &Ui_Main::SGL_DEBUG_SHOW_RecvBytes, debugConsole, &Ui_Debug::SLT_Sync_Show_RecvBytes);
    connect(this, &Ui_Main::SGL_DEBUG_SHOW_SendText, debugConsole, &Ui_Debug::SLT_Sync_Show_Send);
    connect(tabWidget, &QTabWidget::tabBarClicked, this, &Ui_Main::SLT_GetFocus_tabBar);
    // The text-carrying currentIndexChanged overload is deprecated; the index form with
    // the item's text is the same notification.
    connect(languageComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        [this](int index) { SLT_ReloadUILanguage(languageComboBox->itemText(index)); });

    connect(connectionPage, &Ui_Uart_Network::SGL_UpdateEmit, this, &Ui_Main::SGL_UnifyUpdateEmit);
    connect(connectionPage, &Ui_Uart_Network::SGL_LinkLost, linkHealthBanner, &LinkHealthBanner::ShowLinkLost);
    connect(connectionPage, &Ui_Uart_Network::SGL_LinkLost, tvWallPage, &Ui_TVWall::SLT_LinkLost);
    connect(connectionPage, &Ui_Uart_Network::SGL_LinkReconnected, this, &Ui_Main::SLT_ReReadDevice);
    connect(matrixPage, &Ui_Matrix::SGL_UpdateEmit, this, &Ui_Main::SGL_UnifyUpdateEmit);
    connect(signalConfigPage, &Ui_SignalConfig::SGL_UpdateEmit, this, &Ui_Main::SGL_UnifyUpdateEmit);
    connect(multiviewPage, &Ui_Multiview::SGL_UpdateEmit, this, &Ui_Main::SGL_UnifyUpdateEmit);
    connect(tvWallPage, &Ui_TVWall::SGL_UpdateEmit, this, &Ui_Main::SGL_UnifyUpdateEmit);
    connect(systemPage, &Ui_System::SGL_UpdateEmit, this, &Ui_Main::SGL_UnifyUpdateEmit);
    connect(debugConsole, &Ui_Debug::SGL_UpdateEmit, this, &Ui_Main::SGL_UnifyUpdateEmit);

    connect(
        systemPage, &Ui_System::SGL_SyncSerialPortNetworkInfo, this, &Ui_Main::SLT_SyncSerialPortNetworkInfo);
    connect(multiviewPage, &Ui_Multiview::SGL_SyncInputSourceName, this, &Ui_Main::SLT_SyncInputSourceName);
    connect(matrixPage, &Ui_Matrix::SGL_SyncInputSourceName, this, &Ui_Main::SLT_SyncInputSourceName);
    // After a factory reset no page may keep showing what the device had before; a device that
    // no longer answers on this link closes it with the System page's one message.
    connect(systemPage, &Ui_System::SGL_AwaitingDeviceAfterReset, this,
        [this] { connectionPage->ExplainNextLinkLoss(SMSG_ResetNoAnswer); });
    connect(systemPage, &Ui_System::SGL_DeviceBackAfterReset, this, [this] {
        connectionPage->ExplainNextLinkLoss(QString());
        RequestEveryPage(*replyPages);
    });
    connect(systemPage, &Ui_System::SGL_DeviceSilentAfterReset, this,
        [this] { connectionPage->DropLostLink(SMSG_ResetNoAnswer); });
    connect(connectionPage, &Ui_Uart_Network::SGL_LinkClosed, systemPage, &Ui_System::SLT_LinkClosed);
    connect(systemPage->configBackup, &Ui_ConfigBackup::SGL_SyncInputSourceName, this, &Ui_Main::SLT_SyncInputSourceName);
    // Queued: the backup hears each line after the program's own parser has handled it.
    connect(this, &Ui_Main::SGL_DEBUG_SHOW_RecvBytes, systemPage->configBackup, &Ui_ConfigBackup::SLT_LineReceived,
        Qt::QueuedConnection);

    // The services live in their worker threads, so their signals arrive here queued and
    // every send kick reaches them queued.
    connect(this, &Ui_Main::SGL_UnifyUpdateEmit, g_ServiceTcpClient,
        &ServiceTcpClient::SLT_RealSendData_TcpClient);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_UpdateRecvData_TcpClient, this,
        &Ui_Main::SLT_UnifyUpdateRecv);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_UpdateSendData_TcpClient, this,
        &Ui_Main::SLT_UnifyUpdateSend);
    connect(&RequestTracker::instance(), &RequestTracker::SGL_RequestFailed, this, &Ui_Main::SLT_RequestFailed);
    connect(connectionPage, &Ui_Uart_Network::SGL_LinkLost, this, [] {
        RequestTracker::instance().noteLinkLost(LinkModeSerial);
        RequestTracker::instance().noteLinkLost(LinkModeTcp);
    });
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_WaitReplyTimeout_TcpClient, this,
        &Ui_Main::SLT_WaitReplyTimeoutMessage);
    connect(this, &Ui_Main::SGL_UnifyUpdateEmit, g_ServiceSerialPort,
        &ServiceSerialPort::SLT_RealSendData_SerialPort);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_UpdateRecvData_SerialPort, this,
        &Ui_Main::SLT_UnifyUpdateRecv);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_UpdateSendData_SerialPort, this,
        &Ui_Main::SLT_UnifyUpdateSend);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_WaitReplyTimeout_SerialPort, this,
        &Ui_Main::SLT_WaitReplyTimeoutMessage);
}

bool Ui_Main::StartsWithoutLogin(bool settingsFileExisted)
{
    return settingsFileExisted && Key_UI_Login == QLatin1String("0");
}

void Ui_Main::ShowStartWindow(Ui_Login &loginWindow, bool settingsFileExisted)
{
    if (StartsWithoutLogin(settingsFileExisted)) {
        OfferDemoDevice();
        SetupTexts(false);
        show();
        return;
    }
    loginWindow.Setup(false);
    loginWindow.show();
}

void Ui_Main::UseDemoDevice(const DemoDevice &device)
{
    m_demoDevice.restoreOperatorLinkSettings();
    m_demoDevice = device;
}

// Only once the main window is about to show: until then the login window may save the
// settings files, and they must never receive the demonstration address.
void Ui_Main::OfferDemoDevice()
{
    if (!m_demoDevice.isActive() || m_demoDevice.isApplied())
        return;
    m_demoDevice.applyToLinkSettings();
    connectionPage->RefreshFromSettings();
    // The local address list follows the device address on the page.
    connectionPage->SLT_comboBox_GetVaildLocalIp();
}

void Ui_Main::SetupTexts(bool firstTime)
{
    SetTitleText(Ui_Main_AppName);
    linkHealthBanner->Retranslate();
    if (firstTime) {
        FillLanguageComboBox(languageComboBox);
        InsertTabs();
    } else {
        SelectActiveLanguageInComboBox(languageComboBox);
        RelabelTabs();
    }
}

void Ui_Main::InsertTabs()
{
    tabWidget->clear();
    tabWidget->insertTab(0, connectionPage, Ui_Uart_Network_AppName);
    connectionPage->RefreshFromSettings();

    int index = 1;
    if (IsSwitchedOn(Key_UI_Matrix))
        tabWidget->insertTab(index++, matrixPage, Ui_Matrix_AppName);
    if (IsSwitchedOn(Key_UI_SignalConfig))
        tabWidget->insertTab(index++, signalConfigPage, Ui_SignalConfig_AppName);
    if (IsSwitchedOn(Key_UI_Multiview))
        tabWidget->insertTab(index++, multiviewPage, Ui_Multiview_AppName);
    if (IsSwitchedOn(Key_UI_TV_Wall))
        tabWidget->insertTab(index++, tvWallPage, Ui_TV_Wall_AppName);
    if (IsSwitchedOn(Key_UI_System))
        tabWidget->insertTab(index++, systemPage, Ui_System_AppName);
}

void Ui_Main::RelabelTabs()
{
    tabWidget->setTabText(0, Ui_Uart_Network_AppName);
    connectionPage->RefreshFromSettings();

    int index = 1;
    if (IsSwitchedOn(Key_UI_Matrix))
        tabWidget->setTabText(index++, Ui_Matrix_AppName);
    if (IsSwitchedOn(Key_UI_SignalConfig))
        tabWidget->setTabText(index++, Ui_SignalConfig_AppName);
    if (IsSwitchedOn(Key_UI_Multiview))
        tabWidget->setTabText(index++, Ui_Multiview_AppName);
    if (IsSwitchedOn(Key_UI_TV_Wall))
        tabWidget->setTabText(index++, Ui_TV_Wall_AppName);
    if (IsSwitchedOn(Key_UI_System))
        tabWidget->setTabText(index++, Ui_System_AppName);
}

void Ui_Main::RetranslateEnabledPages()
{
    if (IsSwitchedOn(Key_UI_Matrix))
        matrixPage->Retranslate(false, true);
    if (IsSwitchedOn(Key_UI_SignalConfig))
        signalConfigPage->Retranslate(false, true);
    if (IsSwitchedOn(Key_UI_Multiview))
        multiviewPage->Retranslate(false, true);
    if (IsSwitchedOn(Key_UI_TV_Wall))
        tvWallPage->Retranslate(true);
    if (IsSwitchedOn(Key_UI_System))
        systemPage->Retranslate(false, true);
}

void Ui_Main::QueueModelQuery()
{
    // Without a selected link the line is dropped; on a running connection the parser
    // ignores a second model reply, so no new synchronisation starts.
    CmdGetModelType();
    emit connectionPage->SGL_UpdateEmit();
}

void Ui_Main::SLT_GetFocus_tabBar(int index)
{
    // A click beside the tabs reports -1.
    if (index < 0)
        return;
    if (QWidget *page = tabWidget->widget(index))
        page->setFocus(Qt::OtherFocusReason);
}

void Ui_Main::SLT_WaitReplyTimeoutMessage(QString cmd)
{
    // The link stops waiting for this reply (in its own thread).
    StopAwaitingReplyOnSelectedLink(cmd);
    RequestTracker::instance().noteTimedOut(LinkMode, cmd.toLatin1());

    const QByteArray command = cmd.toLatin1();
    if (command.contains("GET MODEL TYPE")) {
        connectionPage->SetStatusPicture(false);
        connectionPage->DropLostLink(SMSG_Status_ModelQueryTimedOut);
        MessageBoxOk(SMSG_ReadDeviceFail + cmd, this);
        return;
    }
    if (systemPage->AnswersReplyTimeout(cmd))
        return;
    m_timeoutNotices.report(SMSG_CommunicationFail, cmd, this);
}

void Ui_Main::SLT_RequestFailed(const DeviceRequest &request, RequestTracker::Failure failure)
{
    if (failure == RequestTracker::Failure::Refused) {
        // The refusal is the answer: the link goes on with the next line at once.
        StopAwaitingReplyOnSelectedLink(QString::fromLatin1(request.command + '\r'));
        connectionPage->AppendStatusLine(SMSG_DeviceRefused + ShortCommandText(QString::fromLatin1(request.command)));
    }
    // Only the controls the request touched: another choice may still be in flight.
    matrixPage->ShowConfirmed(request);
    signalConfigPage->ShowConfirmed(request);
    multiviewPage->ShowConfirmed(request);
}

void Ui_Main::SLT_SyncSerialPortNetworkInfo()
{
    // A reply to a write that changed the parameters of the link in use: the device has
    // moved away from it.
    if (systemPage->LastReplyChangedLinkInUse())
        connectionPage->DisconnectActiveLink();
    connectionPage->RefreshFromSettings();
    systemPage->Retranslate(false, false);
}

// An input renamed on the matrix or the multiview page shows its new name on every page.
void Ui_Main::SLT_SyncInputSourceName()
{
    matrixPage->PageRefresh(true, false);
    multiviewPage->ShowSourceNames();
    tvWallPage->Retranslate(false);
}

void Ui_Main::SLT_SETUP_UI_MAIN()
{
    OfferDemoDevice();
    SetupTexts(false);
    SLT_ReloadUILanguage(languageComboBox->currentText());
    show();
}

void Ui_Main::SLT_ReloadUILanguage(QString LanguageText)
{
    m_demoDevice.saveSettingsFiles();
    if (LanguageText == ScomboBox_LanguageSelect[0])
        Key_LanguageIsEnglish = QStringLiteral("1");
    else if (LanguageText == ScomboBox_LanguageSelect[1])
        Key_LanguageIsEnglish = QStringLiteral("0");
    ConfigFile_LoadAll(true);

    SetupTexts(false);
    RetranslateEnabledPages();
    QueueModelQuery();
}

void Ui_Main::SLT_UnifyUpdateRecv()
{
    LinkQueue *queue = SelectedLinkQueue();
    if (!queue)
        return;
    if (m_parsingReceivedLines) {
        m_moreLinesReceived = true;
        return;
    }
    m_parsingReceivedLines = true;
    do {
        m_moreLinesReceived = false;
        ParseReceivedLines(*queue);
    } while (m_moreLinesReceived && SelectedLinkQueue() == queue);
    m_parsingReceivedLines = false;
}

// A busy queue keeps its lines for the next notification. Once the parser has dropped or
// changed the link, the lines still in hand belong to a link that is gone and are skipped, as
// closing the link empties its receive queue.
void Ui_Main::ParseReceivedLines(LinkQueue &queue)
{
    const int linkMode = LinkMode;
    queue.drain([this, linkMode](const QueuedLine &received) {
        if (LinkMode != linkMode)
            return;
        const QString line = QString::fromUtf8(received.bytes);
        emit SGL_DEBUG_SHOW_RecvBytes(received.bytes);
        emit SGL_DEBUG_SHOW_RecvText(line);
        // A request the device echoed is shown, never parsed.
        if (received.echo)
            return;
        RequestTracker::instance().noteReceived(linkMode, received.bytes);
        ParseReplyLine(*replyPages, line);
    });
}

void Ui_Main::SLT_UnifyUpdateSend(QString text)
{
    RequestTracker::instance().noteSent(LinkMode, text.toLatin1());
    emit SGL_DEBUG_SHOW_SendText(text);
}

void Ui_Main::SLT_ReReadDevice()
{
    RequestEveryPage(*replyPages);
}

void Ui_Main::keyPressEvent(QKeyEvent *event)
{
    // Alt+Z alone opens the debug console, and only while a link is selected.
    if (event->modifiers() == Qt::AltModifier && event->key() == Qt::Key_Z && LinkMode != LinkModeNone)
        emit SGL_SETUP_UI_DEBUG();
    MyFramelessWindow::keyPressEvent(event);
}

void Ui_Main::resizeEvent(QResizeEvent *event)
{
    event->accept();
    PlaceLanguageComboBox();
}

void Ui_Main::closeEvent(QCloseEvent *event)
{
    // Routes staged on the matrix page are dropped only when the operator says so.
    if (matrixPage && !matrixPage->ConfirmDropStage()) {
        event->ignore();
        return;
    }
    // Closing the main window always ends the program, even while the login window hides.
    event->accept();
    QCoreApplication::exit(0);
}
