// The login window: start rules, logging in, the user's password change and the language
// switch, driven through the window's own widgets.
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigTables.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/StartupWindows.h"
#include "shell/Ui_Login.h"
#include "shell/Ui_Main.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVector>
#include <QWheelEvent>
#include <QtTest>

namespace {

using namespace GuiTest;

void ReplaceFileLine(const QString &path, int index, const QByteArray &line)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    QVERIFY(index < lines.size());
    lines[index] = line + '\r';
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join('\n'));
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startWindow_data();
    void startWindow();
    void mainWindowComesAfterLogin_data();
    void mainWindowComesAfterLogin();
    void isSixDigits_data();
    void isSixDigits();
    void layout_data();
    void layout();
    void positionForScreen_data();
    void positionForScreen();
    void login_data();
    void login();
    void passwordChangeAccepted();
    void invalidNewPasswordStaysPending_data();
    void invalidNewPasswordStaysPending();
    void firstStepRefused_data();
    void firstStepRefused();
    void secondStepWithAdminSelectedChangesUserPassword();
    void languageSwitchRelabelsAndSavesFirst();
    void closedListsIgnoreWheelAndArrows_data();
    void closedListsIgnoreWheelAndArrows();
    void passwordFieldHasTheFocus_data();
    void passwordFieldHasTheFocus();

private:
    void ShowLoginWindow(Ui_Login &login);
    void Click(QPushButton *button);

    GuiTest::AppDirFixture m_fixture;
};

void TestLogin::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestLogin::init()
{
    QVERIFY(m_fixture.Begin());
    g_UserPasswordChangePending = false;
}

void TestLogin::cleanup()
{
    m_fixture.End();
}

void TestLogin::ShowLoginWindow(Ui_Login &login)
{
    login.Setup(false);
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
}

void TestLogin::Click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestLogin::startWindow_data()
{
    QTest::addColumn<bool>("settingsFileExists");
    QTest::addColumn<QByteArray>("loginLine");
    QTest::addColumn<bool>("mainWindowFirst");

    // Without a file the defaults are written first and the login is always shown, even
    // if the value in memory would skip it.
    QTest::newRow("no settings file") << false << QByteArray("Key_UI_Login=0") << false;
    QTest::newRow("zero") << true << QByteArray("Key_UI_Login=0") << true;
    QTest::newRow("zero and a space") << true << QByteArray("Key_UI_Login=0 ") << false;
    QTest::newRow("space and zero") << true << QByteArray("Key_UI_Login= 0") << false;
    QTest::newRow("empty") << true << QByteArray("Key_UI_Login=") << false;
    QTest::newRow("one") << true << QByteArray("Key_UI_Login=1") << false;
    QTest::newRow("spaces round the equals sign") << true << QByteArray("Key_UI_Login = 0") << false;
    // A line whose text before "=" is no key is skipped: the login stays on.
    QTest::newRow("commented-out line") << true << QByteArray("#Key_UI_Login=0") << false;
}

void TestLogin::startWindow()
{
    QFETCH(bool, settingsFileExists);
    QFETCH(QByteArray, loginLine);
    QFETCH(bool, mainWindowFirst);

    if (settingsFileExists) {
        ReplaceFileLine(ConfigFile_SettingsPath(), 1, loginLine);
    } else {
        QVERIFY(QFile::remove(ConfigFile_SettingsPath()));
        Key_UI_Login = QStringLiteral("0");
    }

    const bool existed = ConfigFile_LoadAtStartup();
    QCOMPARE(existed, settingsFileExists);
    Ui_Main mainWindow;
    Ui_Login loginWindow;
    mainWindow.ShowStartWindow(loginWindow, existed);

    QCOMPARE(mainWindow.isVisible(), mainWindowFirst);
    QCOMPARE(loginWindow.isVisible(), !mainWindowFirst);
}

// The program's own start: the login window is on screen before the main window is built,
// and the main window is there whenever it is needed, however early.
void TestLogin::mainWindowComesAfterLogin_data()
{
    QTest::addColumn<QByteArray>("loginLine");
    QTest::addColumn<bool>("logInBeforeFirstFrame");
    QTest::addColumn<bool>("mainWindowAtOnce");

    QTest::newRow("login shown, main built after its first frame") << QByteArray("Key_UI_Login=1") << false << false;
    QTest::newRow("login pressed before the first frame") << QByteArray("Key_UI_Login=1") << true << false;
    QTest::newRow("settings skip the login") << QByteArray("Key_UI_Login=0") << false << true;
}

void TestLogin::mainWindowComesAfterLogin()
{
    QFETCH(QByteArray, loginLine);
    QFETCH(bool, logInBeforeFirstFrame);
    QFETCH(bool, mainWindowAtOnce);

    ReplaceFileLine(ConfigFile_SettingsPath(), 1, loginLine);
    const bool existed = ConfigFile_LoadAtStartup();
    StartupWindows windows;
    windows.Show(existed);
    Ui_Login &login = windows.LoginWindow();
    QCOMPARE(windows.MainWindowBuilt(), mainWindowAtOnce);
    QCOMPARE(login.isVisible(), !mainWindowAtOnce);
    if (mainWindowAtOnce) {
        QVERIFY(windows.MainWindow().isVisible());
        return;
    }

    if (!logInBeforeFirstFrame) {
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QTRY_VERIFY(windows.MainWindowBuilt());
        QVERIFY(!windows.MainWindow().isVisible());
    }
    login.passwordEdit->setText(Spassword_Admin);
    Click(login.loginButton);
    QVERIFY(windows.MainWindowBuilt());
    QVERIFY(windows.MainWindow().isVisible());
    QVERIFY(!login.isVisible());
}

void TestLogin::isSixDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("five digits") << QStringLiteral("12345") << false;
    QTest::newRow("six digits") << QStringLiteral("123456") << true;
    QTest::newRow("six zeros") << QStringLiteral("000000") << true;
    QTest::newRow("seven digits") << QStringLiteral("1234567") << false;
    QTest::newRow("a letter") << QStringLiteral("12a456") << false;
    QTest::newRow("a space") << QStringLiteral("12345 ") << false;
    QTest::newRow("full-width digits") << QStringLiteral("１２３４５６") << false;
    QTest::newRow("arabic-indic digit") << QString::fromUtf8("12345\u0661") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestLogin::isSixDigits()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(IsSixDigits(text), accepted);
}

void TestLogin::layout_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("frame") << "frame" << QRect(0, 0, 340, 384);
    QTest::newRow("picture") << "picture" << QRect(10, 10, 320, 180);
    QTest::newRow("language label") << "languageLabel" << QRect(10, 210, 150, 26);
    QTest::newRow("user-name label") << "userNameLabel" << QRect(10, 256, 150, 26);
    QTest::newRow("password label") << "passwordLabel" << QRect(10, 302, 150, 26);
    QTest::newRow("language list") << "languageComboBox" << QRect(180, 210, 150, 26);
    QTest::newRow("account list") << "accountComboBox" << QRect(180, 256, 150, 26);
    QTest::newRow("password field") << "passwordEdit" << QRect(180, 302, 150, 26);
    QTest::newRow("edit button") << "editButton" << QRect(10, 348, 150, 26);
    QTest::newRow("login button") << "loginButton" << QRect(180, 348, 150, 26);
}

void TestLogin::layout()
{
    QFETCH(QString, widget);
    QFETCH(QRect, geometry);

    Ui_Login login;
    const QHash<QString, QWidget *> widgets {
        { "frame", login.frame },
        { "picture", login.pictureLabel },
        { "languageLabel", login.languageLabel },
        { "userNameLabel", login.userNameLabel },
        { "passwordLabel", login.passwordLabel },
        { "languageComboBox", login.languageComboBox },
        { "accountComboBox", login.accountComboBox },
        { "passwordEdit", login.passwordEdit },
        { "editButton", login.editButton },
        { "loginButton", login.loginButton },
    };
    QVERIFY(widgets.contains(widget));
    QCOMPARE(widgets.value(widget)->geometry(), geometry);
    QCOMPARE(login.size(), QSize(340, 432));
    QCOMPARE(login.minimumSize(), login.maximumSize());
}

void TestLogin::positionForScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("1366x768") << QSize(1366, 768) << QPoint(513, 168);
    QTest::newRow("1920x1080") << QSize(1920, 1080) << QPoint(790, 324);
    QTest::newRow("2560x1440 counts as 1920x1080") << QSize(2560, 1440) << QPoint(790, 324);
    QTest::newRow("800x600") << QSize(800, 600) << QPoint(230, 84);
}

void TestLogin::positionForScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, position);
    QCOMPARE(Ui_Login::PositionForScreen(screen, QSize(340, 432)), position);
}

void TestLogin::login_data()
{
    QTest::addColumn<int>("account");
    QTest::addColumn<QString>("storedUserPassword");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pressEnter");
    QTest::addColumn<bool>("accepted");

    const QString defaultPassword = QStringLiteral("582037");
    QTest::newRow("admin, default password, button")
        << 0 << defaultPassword << defaultPassword << false << true;
    QTest::newRow("admin, default password, Enter")
        << 0 << defaultPassword << defaultPassword << true << true;
    QTest::newRow("user, default password, button")
        << 1 << defaultPassword << defaultPassword << false << true;
    QTest::newRow("user, default password, Enter") << 1 << defaultPassword << defaultPassword << true << true;
    QTest::newRow("admin, wrong password, button") << 0 << defaultPassword << "582038" << false << false;
    QTest::newRow("admin, wrong password, Enter") << 0 << defaultPassword << "000000" << true << false;
    QTest::newRow("user, trailing space") << 1 << defaultPassword << "582037 " << false << false;
    QTest::newRow("user, empty field") << 1 << defaultPassword << QString() << true << false;
    QTest::newRow("user, admin's password differs") << 1 << "111111" << defaultPassword << false << false;
    QTest::newRow("user, empty stored and typed") << 1 << QString() << QString() << false << true;
}

void TestLogin::login()
{
    QFETCH(int, account);
    QFETCH(QString, storedUserPassword);
    QFETCH(QString, typed);
    QFETCH(bool, pressEnter);
    QFETCH(bool, accepted);

    Spassword_User = storedUserPassword;
    Ui_Login loginWindow;
    ShowLoginWindow(loginWindow);
    QSignalSpy loggedIn(&loginWindow, &Ui_Login::SGL_SETUP_UI_MAIN);
    MessageBoxCatcher catcher;

    loginWindow.accountComboBox->setCurrentIndex(account);
    loginWindow.passwordEdit->setText(typed);
    if (pressEnter)
        QTest::keyClick(loginWindow.passwordEdit, Qt::Key_Return);
    else
        Click(loginWindow.loginButton);

    // Exactly one login or exactly one message, whichever way it was submitted.
    QCOMPARE(loggedIn.count(), accepted ? 1 : 0);
    QCOMPARE(loginWindow.isVisible(), !accepted);
    if (accepted) {
        QVERIFY(catcher.Texts().isEmpty());
        // The hidden window gives its window-system window back and can still be shown again.
        QTRY_VERIFY(!loginWindow.windowHandle());
        ShowLoginWindow(loginWindow);
        QVERIFY(loginWindow.windowHandle());
    } else {
        QCOMPARE(catcher.Texts(), QStringList { QStringLiteral("Password error!") });
        QCOMPARE(catcher.Boxes().first().parent, &loginWindow);
        QCOMPARE(loginWindow.passwordEdit->text(), typed);
    }
}

void TestLogin::passwordChangeAccepted()
{
    Ui_Login loginWindow;
    ShowLoginWindow(loginWindow);
    MessageBoxCatcher catcher;

    loginWindow.accountComboBox->setCurrentIndex(1);
    loginWindow.passwordEdit->setText(QStringLiteral("582037"));
    Click(loginWindow.editButton);
    QCOMPARE(catcher.Texts(), QStringList { QStringLiteral("Please enter your change password!") });
    QVERIFY(g_UserPasswordChangePending);
    QVERIFY(loginWindow.passwordEdit->text().isEmpty());

    loginWindow.passwordEdit->setText(QStringLiteral("123456"));
    Click(loginWindow.editButton);
    QCOMPARE(catcher.Texts().last(), QStringLiteral("Password changed successfully!"));
    QVERIFY(!g_UserPasswordChangePending);
    QCOMPARE(Spassword_User, QStringLiteral("123456"));
    QCOMPARE(Spassword_Admin, QStringLiteral("582037"));
    QCOMPARE(loginWindow.passwordEdit->text(), QStringLiteral("123456"));
    // On disk at once, not only when the program ends.
    QCOMPARE(FileLines(ConfigFile_SettingsPath()).value(PasswordUserLineIndex),
        QByteArray("Spassword_User=123456"));

    // The new password is the one that logs the user in.
    QSignalSpy loggedIn(&loginWindow, &Ui_Login::SGL_SETUP_UI_MAIN);
    Click(loginWindow.loginButton);
    QCOMPARE(loggedIn.count(), 1);
    QCOMPARE(catcher.Texts().size(), 2);
}

void TestLogin::invalidNewPasswordStaysPending_data()
{
    QTest::addColumn<QString>("newPassword");

    QTest::newRow("five digits") << QStringLiteral("12345");
    QTest::newRow("seven digits") << QStringLiteral("1234567");
    QTest::newRow("a letter") << QStringLiteral("12a456");
    QTest::newRow("full-width digits") << QStringLiteral("１２３４５６");
    QTest::newRow("empty") << QString();
}

void TestLogin::invalidNewPasswordStaysPending()
{
    QFETCH(QString, newPassword);

    Ui_Login loginWindow;
    ShowLoginWindow(loginWindow);
    MessageBoxCatcher catcher;
    loginWindow.accountComboBox->setCurrentIndex(1);
    loginWindow.passwordEdit->setText(QStringLiteral("582037"));
    Click(loginWindow.editButton);
    QVERIFY(g_UserPasswordChangePending);
    const QByteArray lineBefore = FileLines(ConfigFile_SettingsPath()).value(PasswordUserLineIndex);

    loginWindow.passwordEdit->setText(newPassword);
    Click(loginWindow.editButton);
    QCOMPARE(catcher.Texts().size(), 2);
    QVERIFY(catcher.Texts().last().startsWith(QStringLiteral("The password entered is illegal")));
    QVERIFY(loginWindow.passwordEdit->text().isEmpty());
    QVERIFY(g_UserPasswordChangePending);
    QCOMPARE(Spassword_User, QStringLiteral("582037"));
    QCOMPARE(FileLines(ConfigFile_SettingsPath()).value(PasswordUserLineIndex), lineBefore);

    // Still pending: the next press of the edit button tries again.
    loginWindow.passwordEdit->setText(QStringLiteral("654321"));
    Click(loginWindow.editButton);
    QCOMPARE(catcher.Texts().last(), QStringLiteral("Password changed successfully!"));
    QCOMPARE(Spassword_User, QStringLiteral("654321"));
}

void TestLogin::firstStepRefused_data()
{
    QTest::addColumn<int>("account");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    const QString adminRefused = QStringLiteral("The password of admin cannot be modified!");
    const QString wrongOriginal = QStringLiteral("Failed to verify the original password of the user!");
    QTest::newRow("admin, correct password") << 0 << "582037" << adminRefused;
    QTest::newRow("admin, empty field") << 0 << QString() << adminRefused;
    QTest::newRow("admin, six new digits") << 0 << "123456" << adminRefused;
    QTest::newRow("user, wrong password") << 1 << "000000" << wrongOriginal;
    QTest::newRow("user, empty field") << 1 << QString() << wrongOriginal;
}

void TestLogin::firstStepRefused()
{
    QFETCH(int, account);
    QFETCH(QString, typed);
    QFETCH(QString, message);

    Ui_Login loginWindow;
    ShowLoginWindow(loginWindow);
    MessageBoxCatcher catcher;
    loginWindow.accountComboBox->setCurrentIndex(account);
    loginWindow.passwordEdit->setText(typed);
    Click(loginWindow.editButton);

    QCOMPARE(catcher.Texts(), QStringList { message });
    QCOMPARE(catcher.Boxes().first().parent, &loginWindow);
    QVERIFY(!g_UserPasswordChangePending);
    QCOMPARE(loginWindow.passwordEdit->text(), typed);
    QCOMPARE(Spassword_User, QStringLiteral("582037"));
    QCOMPARE(Spassword_Admin, QStringLiteral("582037"));
}

void TestLogin::secondStepWithAdminSelectedChangesUserPassword()
{
    Ui_Login loginWindow;
    ShowLoginWindow(loginWindow);
    MessageBoxCatcher catcher;
    loginWindow.accountComboBox->setCurrentIndex(1);
    loginWindow.passwordEdit->setText(QStringLiteral("582037"));
    Click(loginWindow.editButton);
    QVERIFY(g_UserPasswordChangePending);

    loginWindow.accountComboBox->setCurrentIndex(0);
    loginWindow.passwordEdit->setText(QStringLiteral("246810"));
    Click(loginWindow.editButton);

    QCOMPARE(catcher.Texts().last(), QStringLiteral("Password changed successfully!"));
    QCOMPARE(Spassword_User, QStringLiteral("246810"));
    QCOMPARE(Spassword_Admin, QStringLiteral("582037"));
}

void TestLogin::languageSwitchRelabelsAndSavesFirst()
{
    WriteOtherLanguageFile({
        { &SpushButton_Login, QStringLiteral("登录") },
        { &SpushButton_Modify, QStringLiteral("修改") },
        { &Slabel_Password, QStringLiteral("密码:") },
        { &ScomboBox_Admin, QStringLiteral("管理员") },
        { &ScomboBox_User, QStringLiteral("用户") },
    });

    Ui_Login loginWindow;
    ShowLoginWindow(loginWindow);
    QCOMPARE(loginWindow.languageComboBox->count(), 2);
    QCOMPARE(loginWindow.languageComboBox->currentIndex(), 0);
    loginWindow.accountComboBox->setCurrentIndex(1);
    // A change in memory that only the save before the switch can bring to disk.
    S_Rename = QStringLiteral("Renamed before the switch");

    loginWindow.languageComboBox->setCurrentIndex(1);

    QCOMPARE(Key_LanguageIsEnglish, QStringLiteral("0"));
    QCOMPARE(loginWindow.loginButton->text(), QStringLiteral("登录"));
    QCOMPARE(loginWindow.editButton->text(), QStringLiteral("修改"));
    QCOMPARE(loginWindow.passwordLabel->text(), QStringLiteral("密码:"));
    QCOMPARE(loginWindow.accountComboBox->currentIndex(), 0);
    QCOMPARE(loginWindow.accountComboBox->currentText(), QStringLiteral("管理员"));
    QCOMPARE(loginWindow.accountComboBox->itemText(1), QStringLiteral("用户"));
    // Saved while English was still active: the flag as it was, the English texts with the
    // change; then the second-language texts were read over them.
    QCOMPARE(FileLines(ConfigFile_SettingsPath()).value(0), QByteArray("Key_LanguageIsEnglish=1"));
    QVERIFY(FileLines(ConfigFile_EnglishPath()).contains(QByteArray("S_Rename=Renamed before the switch")));
    QCOMPARE(S_Rename, QStringLiteral("Rename"));

    // The translated account names still log in by position.
    QSignalSpy loggedIn(&loginWindow, &Ui_Login::SGL_SETUP_UI_MAIN);
    loginWindow.passwordEdit->setText(QStringLiteral("582037"));
    Click(loginWindow.loginButton);
    QCOMPARE(loggedIn.count(), 1);
}

// A stray wheel turn or arrow key over a closed list switches neither the language (which
// would also write the settings files) nor the account.
void TestLogin::closedListsIgnoreWheelAndArrows_data()
{
    QTest::addColumn<QString>("list");

    QTest::newRow("login window, languages") << "login languages";
    QTest::newRow("login window, accounts") << "login accounts";
    QTest::newRow("main window, languages") << "main languages";
}

void TestLogin::closedListsIgnoreWheelAndArrows()
{
    QFETCH(QString, list);

    WriteOtherLanguageFile({ { &SpushButton_Login, QStringLiteral("登录") } });
    Ui_Main mainWindow;
    Ui_Login loginWindow;
    ShowLoginWindow(loginWindow);
    mainWindow.SetupTexts(false);
    QComboBox *combo = list == QLatin1String("login languages") ? loginWindow.languageComboBox
        : list == QLatin1String("login accounts")               ? loginWindow.accountComboBox
                                                                : mainWindow.languageComboBox;
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentIndex(), 0);
    const QByteArray settingsBefore = FileLines(ConfigFile_SettingsPath()).join('\n');

    const QPoint centre = combo->rect().center();
    QWheelEvent wheel(QPointF(centre), QPointF(combo->mapToGlobal(centre)), QPoint(), QPoint(0, -120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_End);

    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(Key_LanguageIsEnglish, QStringLiteral("1"));
    QCOMPARE(FileLines(ConfigFile_SettingsPath()).join('\n'), settingsBefore);
}

// The operator types the password at once and presses Enter, without clicking the field.
void TestLogin::passwordFieldHasTheFocus_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("loggedIn");

    QTest::newRow("right password") << "582037" << true;
    QTest::newRow("wrong password") << "123456" << false;
}

void TestLogin::passwordFieldHasTheFocus()
{
    QFETCH(QString, typed);
    QFETCH(bool, loggedIn);

    const bool existed = ConfigFile_LoadAtStartup();
    StartupWindows windows;
    MessageBoxCatcher catcher;
    windows.Show(existed);
    Ui_Login &login = windows.LoginWindow();
    QVERIFY(QTest::qWaitForWindowActive(&login));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(login.passwordEdit));

    QTest::keyClicks(QApplication::focusWidget(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QCOMPARE(windows.MainWindowBuilt() && windows.MainWindow().isVisible(), loggedIn);
    QCOMPARE(login.isVisible(), !loggedIn);
    QCOMPARE(catcher.Texts().isEmpty(), loggedIn);
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
