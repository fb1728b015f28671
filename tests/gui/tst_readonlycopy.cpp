// A copy of the program that its user cannot write (an install under /usr or /opt, a
// read-only share): the settings go to the user's configuration folder, a password change is
// kept there and reported only once it is saved, and nothing is written into the copy.
//
// Each row runs twice: this process builds the read-only tree and checks it afterwards; a
// child process (this test program again, as an unprivileged user) logs in and changes the
// password through the login window.
#include "MessageBoxCatcher.h"
#include "settings/AppPaths.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/PngResave.h"
#include "shell/Ui_Login.h"
#include "support/TestPaths.h"
#include "support/UnprivilegedRun.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char *const ChildTreeVariable = "TAVILON_TEST_READONLY_EXECUTABLE_DIR";
const QString NewPassword = QStringLiteral("135790");

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The run-time data as a package installs it (dataDir = prefix/share/tavilon) or as a portable
// copy carries it (dataDir = the executable's folder).
bool LayData(const QString &dataDir)
{
    const QString source = TestSourceDir();
    return UnprivilegedRun::CopyTree(
               source + QStringLiteral("/APP/Image"), dataDir + QStringLiteral("/APP/Image"))
        && UnprivilegedRun::CopyTree(
            source + QStringLiteral("/APP/StyleSheet"), dataDir + QStringLiteral("/APP/StyleSheet"))
        && UnprivilegedRun::CopyTree(
            source + QStringLiteral("/TitleBar"), dataDir + QStringLiteral("/TitleBar"))
        && QDir().mkpath(dataDir + QStringLiteral("/APP/ConfigFile"))
        && QFile::copy(source + QStringLiteral("/tests/core/settings/data/default-language-English.ini"),
            dataDir + QStringLiteral("/APP/ConfigFile/language-English.ini"));
}

// A picture stored without compression: its normalised form differs in every byte count.
QByteArray UncompressedPng()
{
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(QColor(10, 120, 200, 180));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(100);
    writer.write(image);
    return bytes;
}

void Click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestReadOnlyCopy : public QObject
{
    Q_OBJECT

private slots:
    void passwordChange_data();
    void passwordChange();
    void picturesOfSystemInstalls_data();
    void picturesOfSystemInstalls();

private:
    void RunAsChild(bool saveWorks, int languages);
};

void TestReadOnlyCopy::passwordChange_data()
{
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<bool>("configHomeUsable");
    QTest::addColumn<int>("languages");

    QTest::newRow("installed under a prefix") << "usr/bin"
                                              << "usr/share/tavilon" << true << 1;
    QTest::newRow("portable copy on a read-only share") << "portable"
                                                        << "portable" << true << 1;
    // ~/.config is a file: the per-user folder cannot be made, so nothing can be saved anywhere.
    QTest::newRow("no folder can take the settings") << "usr/bin"
                                                     << "usr/share/tavilon" << false << -1;
}

void TestReadOnlyCopy::passwordChange()
{
    QFETCH(QString, executableDir);
    QFETCH(QString, dataDir);
    QFETCH(bool, configHomeUsable);
    QFETCH(int, languages);

    if (qEnvironmentVariableIsSet(ChildTreeVariable))
        return RunAsChild(configHomeUsable, languages);

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QVERIFY(UnprivilegedRun::MakeReachable(scratch.path()));
    const QString tree = scratch.path() + QStringLiteral("/tree");
    const QString home = scratch.path() + QStringLiteral("/home");
    QVERIFY(QDir().mkpath(tree + QLatin1Char('/') + executableDir));
    QVERIFY(LayData(tree + QLatin1Char('/') + dataDir));
    QVERIFY(UnprivilegedRun::MakeReadOnly(tree));
    QVERIFY(QDir().mkpath(home));
    if (!configHomeUsable)
        QVERIFY(WriteBytes(home + QStringLiteral("/.config"), "not a folder"));
    QVERIFY(UnprivilegedRun::MakeOwnedByRunner(home));
    const auto before = UnprivilegedRun::Snapshot(tree);

    QProcessEnvironment extra;
    extra.insert(QLatin1String(ChildTreeVariable), tree + QLatin1Char('/') + executableDir);
    QByteArray output;
    const int exitCode = UnprivilegedRun::Run(QCoreApplication::applicationFilePath(),
        { QStringLiteral("passwordChange:") + QTest::currentDataTag() }, home, extra, 60000, &output);
    QVERIFY2(exitCode == 0, output.constData());

    const auto after = UnprivilegedRun::Snapshot(tree);
    QVERIFY2(after == before, qPrintable(UnprivilegedRun::Difference(before, after)));
    const QByteArray saved = ReadBytes(home + QStringLiteral("/.config/tavilon/config.ini"));
    QCOMPARE(saved.contains("\r\nSpassword_User=" + NewPassword.toLatin1() + "\r\n"), configHomeUsable);
}

// In the unprivileged child: start as main() does, then change the user's password through the
// login window.
void TestReadOnlyCopy::RunAsChild(bool saveWorks, int languages)
{
    ConfigFile_SetAppDir(qEnvironmentVariable(ChildTreeVariable));
    g_SaveSettingsOnExit = false;
    QVERIFY(!AppPaths::Current().OwnsDataDir());
    QVERIFY(ConfigFile_SettingsPath().startsWith(
        qEnvironmentVariable("HOME") + QStringLiteral("/.config/tavilon/")));
    ConfigFile_LoadAtStartup();

    MessageBoxCatcher catcher;
    Ui_Login login;
    login.Setup(false);
    login.show();
    if (languages >= 0)
        QCOMPARE(login.languageComboBox->count(), languages);

    login.accountComboBox->setCurrentIndex(1);
    login.passwordEdit->setText(QStringLiteral("582037"));
    Click(login.editButton);
    QCOMPARE(catcher.Texts().value(0), SMSG_UserModifyPassword);
    login.passwordEdit->setText(NewPassword);
    Click(login.editButton);
    QCOMPARE(catcher.Texts().size(), 2);
    const QString reply = catcher.Texts().last();
    if (saveWorks) {
        QCOMPARE(reply, SMSG_UserModifyPasswordOK);
        QCOMPARE(Spassword_User, NewPassword);
        return;
    }
    // The operator learns that nothing was kept, and why; the old password still holds.
    QVERIFY2(reply.startsWith(SMSG_UserModifyPasswordNotSaved), qPrintable(reply));
    QVERIFY2(reply.contains(ConfigFile_SettingsPath()), qPrintable(reply));
    QVERIFY(reply.size() > SMSG_UserModifyPasswordNotSaved.size() + ConfigFile_SettingsPath().size() + 2);
    QCOMPARE(Spassword_User, QStringLiteral("582037"));
    QVERIFY(login.passwordEdit->text().isEmpty());

    // Still pending: once saving works again, the next press keeps the password.
    login.passwordEdit->setText(NewPassword);
    Click(login.editButton);
    QVERIFY(catcher.Texts().last().startsWith(SMSG_UserModifyPasswordNotSaved));
}

// Root may write anywhere, but a system-wide install belongs to the package manager: its
// pictures stay as they are, even when the program could rewrite them.
void TestReadOnlyCopy::picturesOfSystemInstalls_data()
{
    QTest::addColumn<QString>("systemDataDirs");
    QTest::addColumn<bool>("rewritten");

    QTest::newRow("install under /usr or /usr/local") << "usr/share" << false;
    QTest::newRow("install among several system folders") << "elsewhere:usr/share" << false;
    QTest::newRow("install under a prefix of its own") << "elsewhere" << true;
}

void TestReadOnlyCopy::picturesOfSystemInstalls()
{
    QFETCH(QString, systemDataDirs);
    QFETCH(bool, rewritten);
    if (qEnvironmentVariableIsSet(ChildTreeVariable))
        QSKIP("runs in the parent only");

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString picture = scratch.path() + QStringLiteral("/usr/share/tavilon/APP/Image/mainui_logo.png");
    const QByteArray original = UncompressedPng();
    QVERIFY(WriteBytes(picture, original));
    QVERIFY(QDir().mkpath(scratch.path() + QStringLiteral("/usr/bin")));
    QStringList folders;
    for (const QString &folder : systemDataDirs.split(QLatin1Char(':')))
        folders << scratch.path() + QLatin1Char('/') + folder;
    const QByteArray previous = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", folders.join(QLatin1Char(':')).toUtf8());
    ConfigFile_SetAppDir(scratch.path() + QStringLiteral("/usr/bin"));

    ResavePngImage(picture);
    const QByteArray after = ReadBytes(picture);
    const QStringList imageFiles
        = QDir(QFileInfo(picture).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    ConfigFile_SetAppDir(QString());
    qputenv("XDG_DATA_DIRS", previous);

    QCOMPARE(after != original, rewritten);
    QVERIFY(!QImage::fromData(after, "png").isNull());
    // Nor is the record of normalised pictures left in a folder the program does not own.
    QCOMPARE(imageFiles.contains(QStringLiteral(".normalised-pictures")), rewritten);
}

QTEST_MAIN(TestReadOnlyCopy)
#include "tst_readonlycopy.moc"
