// The program's two top-level windows and the order in which they come up. The login window
// is shown first; the main window, whose pages are most of the start-up work, is built right
// after the login window's first frame is on screen, while the operator types the password.
// Whoever needs the main window earlier (the login itself, or settings that skip the login)
// gets it built on the spot.
#pragma once

#include <QObject>

class Ui_Login;
class Ui_Main;

class StartupWindows : public QObject
{
    Q_OBJECT
public:
    StartupWindows();
    // The login window goes first: the first of the two destructors writes the settings files.
    ~StartupWindows() override;

    // Shows the login window, or the main window at once when the settings skip the login.
    void Show(bool settingsFileExisted);

    Ui_Login &LoginWindow() { return *m_login; }
    // Builds the main window if it does not exist yet.
    Ui_Main &MainWindow();
    bool MainWindowBuilt() const { return m_main != nullptr; }

signals:
    // The first shown window has been exposed and painted; the main window is built right after.
    void SGL_FirstFrameShown();

private:
    Ui_Login *m_login;
    Ui_Main *m_main = nullptr;
};
