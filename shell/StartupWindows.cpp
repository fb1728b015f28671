#include "shell/StartupWindows.h"

#include "shell/FirstFrameWatcher.h"
#include "shell/Ui_Login.h"
#include "shell/Ui_Main.h"

StartupWindows::StartupWindows()
    : m_login(new Ui_Login())
{
    connect(m_login, &Ui_Login::SGL_SETUP_UI_MAIN, this, [this] { MainWindow().SLT_SETUP_UI_MAIN(); });
}

StartupWindows::~StartupWindows()
{
    delete m_login;
    delete m_main;
}

Ui_Main &StartupWindows::MainWindow()
{
    if (!m_main)
        m_main = new Ui_Main();
    return *m_main;
}

void StartupWindows::Show(bool settingsFileExisted)
{
    FirstFrameWatcher::Watch(this, [this] {
        emit SGL_FirstFrameShown();
        MainWindow();
    });
    if (Ui_Main::StartsWithoutLogin(settingsFileExisted)) {
        MainWindow().ShowStartWindow(*m_login, settingsFileExisted);
    } else {
        m_login->Setup(false);
        m_login->show();
    }
}
