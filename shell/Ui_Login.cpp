#include "shell/Ui_Login.h"

#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/LanguageComboBox.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"
#include "shell/PngResave.h"
#include "shell/FrameGeometry.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

bool g_UserPasswordChangePending = false;

namespace {

constexpr int FrameWidth = 340;
constexpr int FrameHeight = 384;
constexpr int TitleBarHeight = 48;
constexpr int WidgetWidth = 150;
constexpr int WidgetHeight = 26;
constexpr int Spacing = 20;

QString AppFile(const char *relativePath)
{
    return ConfigFile_AppDir() + QLatin1String(relativePath);
}

// A stray wheel turn over a closed list neither switches the language (which also writes
// the settings files) nor the account.
QComboBox *NewComboBoxWithOwnView(QWidget *parent)
{
    auto *comboBox = new MyComboBox(parent);
    comboBox->UseListViewWhenOpened();
    return comboBox;
}

// Places a field to the right of its label, at the label's height.
void PlaceBesideLabel(QWidget *field, const QLabel *label)
{
    field->setGeometry(label->x() + label->width() + Spacing, label->y(), WidgetWidth, WidgetHeight);
}

void PlaceBelow(QWidget *widget, const QWidget *above)
{
    widget->setGeometry(above->x(), above->y() + above->height() + Spacing, WidgetWidth, WidgetHeight);
}

} // namespace

bool IsSixDigits(const QString &text)
{
    if (text.size() != 6)
        return false;
    const QByteArray bytes = text.toUtf8();
    for (int i = 0; i < 6; ++i) {
        if (bytes.at(i) < '0' || bytes.at(i) > '9')
            return false;
    }
    return true;
}

Ui_Login::Ui_Login(QWidget *parent)
    : MyFramelessDialog(parent)
{
    CreateWidgets();
    PlaceWidgets();
    ShowPicture();
    Setup(true);
    MakeConnections();
}

Ui_Login::~Ui_Login()
{
    if (g_SaveSettingsOnExit) {
        g_SaveSettingsOnExit = false;
        ConfigFile_SaveAll();
    }
}

QPoint Ui_Login::PositionForScreen(const QSize &screenSize, const QSize &windowSize)
{
    return CentredInCappedScreen(screenSize, windowSize);
}

void Ui_Login::CreateWidgets()
{
    contentWidget = new QWidget(this);
    SetContentWidget(contentWidget);
    frame = new QFrame(contentWidget);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Raised);
    pictureLabel = new QLabel(frame);
    languageLabel = new QLabel(frame);
    userNameLabel = new QLabel(frame);
    passwordLabel = new QLabel(frame);
    languageComboBox = NewComboBoxWithOwnView(frame);
    accountComboBox = NewComboBoxWithOwnView(frame);
    passwordEdit = new QLineEdit(frame);
    loginButton = new QPushButton(frame);
    editButton = new QPushButton(frame);
    // Enter in the password field logs in through its own signal; a dialog default button
    // would press a second time (a second login or a password change step).
    for (QPushButton *button : { loginButton, editButton }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void Ui_Login::PlaceWidgets()
{
    frame->setGeometry(0, 0, FrameWidth, FrameHeight);
    pictureLabel->setGeometry(10, 10, 320, 180);
    PlaceBelow(languageLabel, pictureLabel);
    PlaceBelow(userNameLabel, languageLabel);
    PlaceBelow(passwordLabel, userNameLabel);
    PlaceBesideLabel(languageComboBox, languageLabel);
    PlaceBesideLabel(accountComboBox, userNameLabel);
    PlaceBesideLabel(passwordEdit, passwordLabel);
    PlaceBelow(editButton, passwordLabel);
    loginButton->setGeometry(
        editButton->x() + editButton->width() + Spacing, editButton->y(), WidgetWidth, WidgetHeight);
}

void Ui_Login::ShowPicture()
{
    const QString path = AppFile("/APP/Image/loginui_pic.png");
    ResavePngImage(path);
    if (!QFileInfo::exists(path))
        return;
    pictureLabel->setPixmap(QPixmap(path));
    pictureLabel->setScaledContents(true);
}

void Ui_Login::MakeConnections()
{
    // The text-carrying currentIndexChanged overload is deprecated; the index form with
    // the item's text is the same notification.
    connect(languageComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        [this](int index) { SLT_ReloadUILanguage(languageComboBox->itemText(index)); });
    connect(passwordEdit, &QLineEdit::returnPressed, this, &Ui_Login::login_JudgePassword);
    connect(loginButton, &QPushButton::clicked, this, &Ui_Login::login_JudgePassword);
    connect(editButton, &QPushButton::clicked, this, &Ui_Login::modify_PasswordGet);
}

void Ui_Login::Setup(bool firstTime)
{
    if (firstTime) {
        setFixedSize(FrameWidth, FrameHeight + TitleBarHeight);
        move(PositionForScreen(PrimaryScreenSize(), size()));
        const QString logoPath = AppFile("/APP/Image/loginui_logo.png");
        ResavePngImage(logoPath);
        SetTitleIcon(logoPath);
        passwordEdit->setEchoMode(QLineEdit::Password);
    }

    SetTitleText(Ui_Login_AppName);
    languageLabel->setText(Slabel_Language);
    userNameLabel->setText(Slabel_UserName);
    passwordLabel->setText(Slabel_Password);
    loginButton->setText(SpushButton_Login);
    editButton->setText(SpushButton_Modify);

    if (firstTime)
        FillLanguageComboBox(languageComboBox);
    else
        SelectActiveLanguageInComboBox(languageComboBox);

    FillAccountList();
    // The operator types the password first; Enter logs in.
    passwordEdit->setFocus();
}

void Ui_Login::FillAccountList()
{
    accountComboBox->clear();
    accountComboBox->addItem(ScomboBox_Admin);
    accountComboBox->addItem(ScomboBox_User);
}

void Ui_Login::SLT_ReloadUILanguage(QString LanguageText)
{
    ConfigFile_SaveAll();
    if (LanguageText == ScomboBox_LanguageSelect[0])
        Key_LanguageIsEnglish = QStringLiteral("1");
    else if (LanguageText == ScomboBox_LanguageSelect[1])
        Key_LanguageIsEnglish = QStringLiteral("0");
    ConfigFile_LoadAll(true);
    Setup(false);
}

void Ui_Login::login_JudgePassword()
{
    const QString *storedPassword = nullptr;
    switch (accountComboBox->currentIndex()) {
    case 0:
        storedPassword = &Spassword_Admin;
        break;
    case 1:
        storedPassword = &Spassword_User;
        break;
    default:
        return;
    }

    if (passwordEdit->text() == *storedPassword) {
        close();
        emit SGL_SETUP_UI_MAIN();
        // Not from inside the key or click that logged in: that event is still being
        // delivered to the window-system window.
        QTimer::singleShot(0, this, &Ui_Login::ReleaseHiddenWindow);
        return;
    }
    MessageBoxOk(SMSG_InputPasswordError, this);
}

// The window is not shown again after a login; should it be, show() builds a new one.
void Ui_Login::ReleaseHiddenWindow()
{
    if (!isVisible())
        destroy();
}

void Ui_Login::modify_PasswordGet()
{
    if (g_UserPasswordChangePending)
        AcceptNewUserPassword();
    else
        CheckUserPasswordBeforeChange();
}

void Ui_Login::AcceptNewUserPassword()
{
    // Whatever account is selected now, the change began for the user account.
    const QString newPassword = passwordEdit->text();
    if (!IsSixDigits(newPassword)) {
        passwordEdit->clear();
        MessageBoxOk(SMSG_UserModifyPasswordFail, this);
        return;
    }
    // On disk at once, not only at exit, and reported as changed only once it is there. A
    // password that could not be kept is not taken: the old one still logs in, and the change
    // stays pending so that it can be tried again.
    const QString previousPassword = Spassword_User;
    Spassword_User = newPassword;
    QString cause;
    if (!ConfigFile_SaveAll(&cause)) {
        Spassword_User = previousPassword;
        passwordEdit->clear();
        MessageBoxOk(SMSG_UserModifyPasswordNotSaved + cause, this);
        return;
    }
    g_UserPasswordChangePending = false;
    MessageBoxOk(SMSG_UserModifyPasswordOK, this);
}

void Ui_Login::CheckUserPasswordBeforeChange()
{
    if (accountComboBox->currentText() == ScomboBox_Admin) {
        MessageBoxOk(SMSG_AdminModidy, this);
        return;
    }
    if (passwordEdit->text() == Spassword_User) {
        g_UserPasswordChangePending = true;
        passwordEdit->clear();
        MessageBoxOk(SMSG_UserModifyPassword, this);
        return;
    }
    MessageBoxOk(SMSG_UserOriginalPassword, this);
}
