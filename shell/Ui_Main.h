// The main window: the connection page and the control pages in a tab widget, the
// language selector, and the signal hub between the pages and the two link services.
#pragma once

#include "shell/DemoDevice.h"
#include "shell/MyFramelessWindow.h"
#include "shell/TimeoutNotices.h"
#include "protocol/RequestTracker.h"

#include <QRect>

class LinkHealthBanner;
class LinkQueue;
class QComboBox;
class QGridLayout;
class QTabWidget;
class Ui_Login;
class Ui_Matrix;
class Ui_Multiview;
class Ui_SignalConfig;
class Ui_System;
class Ui_Debug;
class Ui_MainReplyPages;
class Ui_TVWall;
class Ui_Uart_Network;

class Ui_Main : public MyFramelessWindow
{
    Q_OBJECT
public:
    explicit Ui_Main(QWidget *parent = nullptr);
    ~Ui_Main() override;

    // Window size and position for a primary screen of the given size: scaled down on
    // small screens, centred in at most the first 1920 x 1080 pixels.
    static QRect GeometryForScreen(const QSize &screenSize);

    // Texts, language list and tabs; the first time the lists are built, afterwards only
    // relabelled (and the language selection follows the settings).
    void SetupTexts(bool firstTime);

    // Shows the window the program starts with: this one when the settings file existed
    // and asks for no login, otherwise the login window.
    void ShowStartWindow(Ui_Login &loginWindow, bool settingsFileExisted);
    // Whether the settings open the main window without the login window.
    static bool StartsWithoutLogin(bool settingsFileExisted);

    // The demonstration device of the command line (see DemoDevice); the constructor takes
    // it from the program's arguments. Its address reaches the connection page when the
    // window is shown.
    void UseDemoDevice(const DemoDevice &device);
    const DemoDevice &demoDevice() const { return m_demoDevice; }

    QWidget *centralContent = nullptr;
    QTabWidget *tabWidget = nullptr;
    QGridLayout *gridLayout = nullptr;
    QComboBox *languageComboBox = nullptr;
    // Says under the tabs that the pages show the last known state after a lost link.
    LinkHealthBanner *linkHealthBanner = nullptr;
    Ui_Uart_Network *connectionPage = nullptr;
    Ui_Matrix *matrixPage = nullptr;
    Ui_SignalConfig *signalConfigPage = nullptr;
    Ui_Multiview *multiviewPage = nullptr;
    Ui_TVWall *tvWallPage = nullptr;
    Ui_System *systemPage = nullptr;
    Ui_Debug *debugConsole = nullptr;
    // What the reply parser does to the pages.
    Ui_MainReplyPages *replyPages = nullptr;

signals:
    void SGL_SETUP_UI_DEBUG();
    void SGL_CLOSE_UI_DEBUG();
    void SGL_DEBUG_SHOW_RecvText(QString text);
    // The same line's bytes, for the debug console.
    void SGL_DEBUG_SHOW_RecvBytes(QByteArray bytes);
    void SGL_DEBUG_SHOW_SendText(QString text);
    void SGL_UnifyUpdateEmit();

public slots:
    void SLT_GetFocus_tabBar(int index);
    void SLT_WaitReplyTimeoutMessage(QString cmd);
    void SLT_SyncSerialPortNetworkInfo();
    void SLT_SyncInputSourceName();
    void SLT_SETUP_UI_MAIN();
    void SLT_ReloadUILanguage(QString LanguageText);
    void SLT_UnifyUpdateRecv();
    void SLT_UnifyUpdateSend(QString text);
    // The TCP link came back silently: the device may have changed meanwhile.
    void SLT_ReReadDevice();
    // A command was refused, timed out or lost with the link: the pages show the device's
    // confirmed state again.
    void SLT_RequestFailed(const DeviceRequest &request, RequestTracker::Failure failure);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateWidgets();
    void CreatePages();
    void PlaceOnScreen();
    void ShowLogo();
    void PlaceLanguageComboBox();
    void MakeConnections();
    void InsertTabs();
    void RelabelTabs();
    void RetranslateEnabledPages();
    void QueueModelQuery();
    void OfferDemoDevice();
    void ParseReceivedLines(LinkQueue &queue);

    DemoDevice m_demoDevice;
    // Set while received lines are being parsed: a message box opened by the parser runs a
    // nested event loop, and lines that arrive meanwhile must wait for the earlier ones.
    bool m_parsingReceivedLines = false;
    bool m_moreLinesReceived = false;
    TimeoutNotices m_timeoutNotices;
};
