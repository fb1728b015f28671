// The login window shown at start: choose "admin" or "user", type the password, log in.
// It also lets the user account change its own password and switches the UI language.
#pragma once

#include "shell/MyFramelessDialog.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Set between a successful check of the user's current password and the acceptance of a
// valid new one.
extern bool g_UserPasswordChangePending;

// The rule for a new password: exactly six ASCII digits.
bool IsSixDigits(const QString &text);

class Ui_Login : public MyFramelessDialog
{
    Q_OBJECT
public:
    explicit Ui_Login(QWidget *parent = nullptr);
    ~Ui_Login() override;

    // Applies the texts and the language list; the first time also size, place and icon.
    void Setup(bool firstTime);

    // Top-left corner of a window of the given size, centred in at most the first
    // 1920 x 1080 pixels of a screen of the given size.
    static QPoint PositionForScreen(const QSize &screenSize, const QSize &windowSize);

    QWidget *contentWidget = nullptr;
    QFrame *frame = nullptr;
    QLabel *pictureLabel = nullptr;
    QLabel *languageLabel = nullptr;
    QLabel *userNameLabel = nullptr;
    QLabel *passwordLabel = nullptr;
    QComboBox *languageComboBox = nullptr;
    QComboBox *accountComboBox = nullptr;
    QLineEdit *passwordEdit = nullptr;
    QPushButton *loginButton = nullptr;
    QPushButton *editButton = nullptr;

signals:
    void SGL_SETUP_UI_MAIN();

private slots:
    void SLT_ReloadUILanguage(QString LanguageText);
    void login_JudgePassword();
    void modify_PasswordGet();
    // Gives the hidden window's window-system window and its picture buffer back.
    void ReleaseHiddenWindow();

private:
    void CreateWidgets();
    void PlaceWidgets();
    void ShowPicture();
    void MakeConnections();
    void FillAccountList();
    void AcceptNewUserPassword();
    void CheckUserPasswordBeforeChange();
};
