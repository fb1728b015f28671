// Settings and language files: reading by key, exact writing, the language fallback
// and saves that never lose the previous file.
#include "settings/ConfigFile.h"
#include "settings/ConfigTables.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "support/TestPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

QStringList Values(const ConfigKeyEntry *table, int size)
{
    QStringList values;
    for (int i = 0; i < size; ++i)
        values << *table[i].value;
    return values;
}

void AssignValues(const ConfigKeyEntry *table, const QStringList &values)
{
    for (int i = 0; i < values.size(); ++i)
        *table[i].value = values.at(i);
}

// Marks every setting with a value no file line produces, so that "kept its value" and
// "assigned" can be told apart.
QStringList MarkedSettings()
{
    QStringList values;
    for (int i = 0; i < SettingsTableSize; ++i)
        values << QStringLiteral("kept%1").arg(i);
    return values;
}

QByteArray SettingsLine(int index, const QByteArray &value)
{
    return QByteArray(SettingsTable[index].key) + '=' + value + "\r\n";
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A value of this size is far beyond the file-size limit the interrupted saves run under.
QString HugeValue()
{
    return QString(1 << 20, QLatin1Char('x'));
}

void LimitFileSize(rlim_t bytes)
{
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

void LiftFileSizeLimit()
{
    struct rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
}

const char *const InterruptedWriteOption = "--interrupted-write";

// Child-process mode: start writing config.ini with a huge value under a small file-size
// limit, so the kernel kills the process (SIGXFSZ) in the middle of the write.
int RunInterruptedWriteChild(const QString &appDir)
{
    ConfigFile_SetAppDir(appDir);
    SP_Name = HugeValue();
    std::signal(SIGXFSZ, SIG_DFL);
    LimitFileSize(64 * 1024);
    ConfigFile_Write(ConfigFile_SettingsPath());
    return 0; // only reached if the write was not interrupted
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writeThenReadRestoresEveryValue_data();
    void writeThenReadRestoresEveryValue();
    void readingByKey_data();
    void readingByKey();
    void editedFilesKeepEveryOtherValue_data();
    void editedFilesKeepEveryOtherValue();
    void exitSaveKeepsEntriesNoLineNamed();
    void defaultFilesHaveExactBytes();
    void tableIsChosenByPath_data();
    void tableIsChosenByPath();
    void languageFallback_data();
    void languageFallback();
    void saveAfterFallbackRewritesTheFileRead();
    void languageOnlyLeavesSettingsAlone();
    void startupWritesDefaultsWhenSettingsMissing();
    void startupReadsExistingFiles();
    void lineBreaksInValuesKeepLinesInPlace_data();
    void lineBreaksInValuesKeepLinesInPlace();
    void resetKeepsTheExistingFile();
    void failedSaveKeepsOldFile();
    void killedSaveKeepsOldFile();
    void styleSheetText_data();
    void styleSheetText();

private:
    QString SettingsPath() const { return ConfigFile_SettingsPath(); }

    QScopedPointer<QTemporaryDir> appDir;
    QStringList defaultSettings;
    QStringList defaultTexts;
};

void TestConfigFile::initTestCase()
{
    defaultSettings = Values(SettingsTable, SettingsTableSize);
    defaultTexts = Values(LanguageTable, LanguageTableSize);
}

void TestConfigFile::init()
{
    appDir.reset(new QTemporaryDir);
    QVERIFY(appDir->isValid());
    ConfigFile_SetAppDir(appDir->path());
    AssignValues(SettingsTable, defaultSettings);
    AssignValues(LanguageTable, defaultTexts);
}

void TestConfigFile::cleanup()
{
    LiftFileSizeLimit();
    ConfigFile_SetAppDir(QString());
    appDir.reset();
}

void TestConfigFile::writeThenReadRestoresEveryValue_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("pattern");

    const QStringList files { QStringLiteral("config.ini"), QStringLiteral("language-English.ini"),
        QStringLiteral("language-Other.ini") };
    const QList<QPair<const char *, QString>> patterns {
        { "leading spaces", QStringLiteral("  value%1") },
        { "trailing spaces", QStringLiteral("value%1   ") },
        { "further equals signs", QStringLiteral("a=b==%1=") },
        { "starts with equals", QStringLiteral("=%1") },
        { "non-ASCII", QStringLiteral("输入%1 ↓ Größe é") },
        { "backslash and quotes", QStringLiteral("C:\\dir\\%1 \"q\" 'q'") },
        { "looks like another key", QStringLiteral("SP_Name=%1") },
        { "empty", QString() },
    };
    for (const QString &file : files)
        for (const auto &pattern : patterns)
            QTest::newRow(qPrintable(file + QStringLiteral(": ") + QLatin1String(pattern.first)))
                << file << pattern.second;
}

void TestConfigFile::writeThenReadRestoresEveryValue()
{
    QFETCH(QString, fileName);
    QFETCH(QString, pattern);

    const bool settings = fileName == QLatin1String("config.ini");
    const ConfigKeyEntry *table = settings ? SettingsTable : LanguageTable;
    const int size = settings ? SettingsTableSize : LanguageTableSize;
    const QString path = ConfigFile_AppDir() + QStringLiteral("/APP/ConfigFile/") + fileName;

    QStringList written;
    for (int i = 0; i < size; ++i)
        written << (pattern.contains(QLatin1String("%1")) ? pattern.arg(i) : pattern);
    AssignValues(table, written);
    ConfigFile_ResetFile(path);
    ConfigFile_Write(path);

    QStringList overwritten;
    for (int i = 0; i < size; ++i)
        overwritten << QStringLiteral("other");
    AssignValues(table, overwritten);
    ConfigFile_Read(path);
    QCOMPARE(Values(table, size), written);
}

void TestConfigFile::readingByKey_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");

    const QStringList kept = MarkedSettings();
    QByteArray allLines;
    QStringList allAssigned = kept;
    for (int i = 0; i < SettingsTableSize; ++i) {
        allLines += SettingsLine(i, "v" + QByteArray::number(i));
        allAssigned[i] = QStringLiteral("v%1").arg(i);
    }
    auto with = [&kept](std::initializer_list<QPair<int, QString>> changes) {
        QStringList values = kept;
        for (const auto &change : changes)
            values[change.first] = change.second;
        return values;
    };

    QTest::newRow("CR LF blank lines are skipped") << QByteArray(
        "\r\n" + SettingsLine(0, "a") + "\r\n\r\n" + SettingsLine(1, "b") + SettingsLine(2, "c"))
                                                   << with({ { 0, "a" }, { 1, "b" }, { 2, "c" } });
    QTest::newRow("LF blank lines are skipped")
        << QByteArray(SettingsLine(0, "a") + "\n" + SettingsLine(1, "b") + "\n")
        << with({ { 0, "a" }, { 1, "b" } });
    QTest::newRow("LF-only line ends")
        << QByteArray("Key_LanguageIsEnglish=a\nKey_UI_Login=b\n") << with({ { 0, "a" }, { 1, "b" } });
    QTest::newRow("a line of spaces is skipped")
        << QByteArray(SettingsLine(0, "a") + "   \r\n" + SettingsLine(2, "c"))
        << with({ { 0, "a" }, { 2, "c" } });
    QTest::newRow("a line out of place sets its own entry")
        << QByteArray(SettingsLine(0, "a") + SettingsLine(9, "COM7") + SettingsLine(2, "c"))
        << with({ { 0, "a" }, { 9, "COM7" }, { 2, "c" } });
    QTest::newRow("two swapped lines set both") << QByteArray(
        SettingsLine(0, "a") + SettingsLine(2, "c") + SettingsLine(1, "b") + SettingsLine(3, "d"))
                                                << with({ { 0, "a" }, { 1, "b" }, { 2, "c" }, { 3, "d" } });
    QTest::newRow("unknown keys are skipped, a repeated key sets its entry again")
        << QByteArray(allLines + "Extra=1\r\n" + SettingsLine(0, "late") + "\r\n") << [&allAssigned] {
               QStringList values = allAssigned;
               values[0] = QStringLiteral("late");
               return values;
           }();
    QTest::newRow("a line without an equals sign is skipped")
        << QByteArray(SettingsLine(0, "a") + "Key_UI_Login\r\n" + SettingsLine(2, "c"))
        << with({ { 0, "a" }, { 2, "c" } });
    QTest::newRow("a key with an empty value is read as empty")
        << QByteArray(SettingsLine(0, "a") + "Key_UI_Login=\r\n") << with({ { 0, "a" }, { 1, "" } });
    QStringList firstSeven = kept;
    QByteArray sevenLines;
    for (int i = 0; i < 7; ++i) {
        sevenLines += SettingsLine(i, "s" + QByteArray::number(i));
        firstSeven[i] = QStringLiteral("s%1").arg(i);
    }
    QTest::newRow("only seven lines keep the rest") << sevenLines << firstSeven;
    QTest::newRow("last line without terminator is taken whole")
        << QByteArray(SettingsLine(0, "a") + "Key_UI_Login=0 ") << with({ { 0, "a" }, { 1, "0 " } });
    QTest::newRow("a lone CR stays part of the value")
        << QByteArray(SettingsLine(0, "a") + "Key_UI_Login=0\r") << with({ { 0, "a" }, { 1, "0\r" } });
    QTest::newRow("CR CR LF keeps one CR")
        << QByteArray(SettingsLine(0, "a") + "Key_UI_Login=0\r\r\n") << with({ { 0, "a" }, { 1, "0\r" } });
    QTest::newRow("a commented-out line is skipped")
        << QByteArray(SettingsLine(0, "a") + "#Key_UI_Login=0\r\n") << with({ { 0, "a" } });
    QTest::newRow("the key is the text before the first equals") << QByteArray(
        SettingsLine(0, "a") + "x=y Key_UI_Login=0\r\n") << with({ { 0, "a" } });
    QTest::newRow("spaces around the equals sign name no key")
        << QByteArray(SettingsLine(0, "a") + "Key_UI_Login = 0\r\n") << with({ { 0, "a" } });
    QTest::newRow("space after the equals sign stays in the value")
        << QByteArray(SettingsLine(0, "a") + "Key_UI_Login= 0\r\n") << with({ { 0, "a" }, { 1, " 0" } });
    QTest::newRow("key in another case does not match")
        << QByteArray(SettingsLine(0, "a") + "key_ui_login=0\r\n") << with({ { 0, "a" } });
    QTest::newRow("UTF-8 value") << QByteArray(SettingsLine(0, "中文 é")) << with({ { 0, "中文 é" } });
    QTest::newRow("empty file changes nothing") << QByteArray() << kept;
}

void TestConfigFile::readingByKey()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);

    QVERIFY(WriteBytes(SettingsPath(), content));
    AssignValues(SettingsTable, MarkedSettings());
    ConfigFile_Read(SettingsPath());
    QCOMPARE(Values(SettingsTable, SettingsTableSize), expected);
}

// What a hand edit does to a complete file: only the line touched changes anything.
void TestConfigFile::editedFilesKeepEveryOtherValue_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("edit");

    for (const char *file : { "config.ini", "language-English.ini" }) {
        for (const char *edit : { "comment at the top", "line removed", "line duplicated", "line moved to the end",
                 "two lines swapped", "blank and unknown lines between", "first line cut off" })
            QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(file), QLatin1String(edit))))
                << QString::fromLatin1(file) << QString::fromLatin1(edit);
    }
}

void TestConfigFile::editedFilesKeepEveryOtherValue()
{
    QFETCH(QString, fileName);
    QFETCH(QString, edit);

    const bool settings = fileName == QLatin1String("config.ini");
    const ConfigKeyEntry *table = settings ? SettingsTable : LanguageTable;
    const int size = settings ? SettingsTableSize : LanguageTableSize;
    const QString path = ConfigFile_AppDir() + QStringLiteral("/APP/ConfigFile/") + fileName;

    // A file whose every value differs from the one in memory before the read.
    QStringList inFile;
    for (int i = 0; i < size; ++i)
        inFile << QStringLiteral("file%1").arg(i);
    if (settings) {
        inFile[7] = QStringLiteral("135790"); // Spassword_Admin
        inFile[8] = QStringLiteral("246801"); // Spassword_User
    }
    AssignValues(table, inFile);
    ConfigFile_ResetFile(path);
    ConfigFile_Write(path);
    QList<QByteArray> lines = ReadBytes(path).split('\n');
    lines.removeLast(); // after the last line end
    for (QByteArray &line : lines)
        line += '\n';

    // The entry whose line the edit takes away keeps the value in memory.
    const int touched = 5;
    QStringList expected = inFile;
    if (edit == QLatin1String("comment at the top")) {
        lines.prepend("# tavilon settings, edited by hand\r\n");
    } else if (edit == QLatin1String("line removed")) {
        lines.removeAt(touched);
        expected[touched] = QStringLiteral("memory");
    } else if (edit == QLatin1String("line duplicated")) {
        lines.insert(touched + 1, lines.at(touched));
    } else if (edit == QLatin1String("line moved to the end")) {
        lines.append(lines.takeAt(touched));
    } else if (edit == QLatin1String("two lines swapped")) {
        lines.swapItemsAt(touched, touched + 1);
    } else if (edit == QLatin1String("blank and unknown lines between")) {
        lines.insert(touched, "\r\n");
        lines.insert(touched, "Unknown_Key=1\r\n");
        lines.insert(touched, "   \r\n");
        lines.insert(touched, "no equals sign\r\n");
    } else if (edit == QLatin1String("first line cut off")) {
        lines[0] = lines.at(0).mid(3);
        expected[0] = QStringLiteral("memory");
    }
    QVERIFY(WriteBytes(path, lines.join()));

    QStringList memory;
    for (int i = 0; i < size; ++i)
        memory << QStringLiteral("memory");
    AssignValues(table, memory);
    ConfigFile_Read(path);
    QCOMPARE(Values(table, size), expected);
}

// A config.ini that lost its password lines keeps the passwords in memory, and the save at
// exit writes them back instead of empty ones.
void TestConfigFile::exitSaveKeepsEntriesNoLineNamed()
{
    QVERIFY(WriteBytes(SettingsPath(), "# edited\r\n" + SettingsLine(0, "1") + SettingsLine(1, "0")));
    QVERIFY(WriteBytes(ConfigFile_EnglishPath(), "S_OnOff[0]=Custom\r\n"));
    QVERIFY(ConfigFile_LoadAtStartup());
    QCOMPARE(Key_UI_Login, QStringLiteral("0"));
    QCOMPARE(Spassword_Admin, QStringLiteral("582037"));
    QCOMPARE(Key_UI_Matrix, QStringLiteral("1"));
    QCOMPARE(S_OnOff[1], QStringLiteral("Off"));

    ConfigFile_SaveAll();
    const QByteArray saved = ReadBytes(SettingsPath());
    QCOMPARE(saved.count("\r\n"), SettingsTableSize);
    QVERIFY(saved.contains("\r\nSpassword_Admin=582037\r\nSpassword_User=582037\r\n"));
    QVERIFY(saved.contains("\r\nKey_UI_Login=0\r\n"));
    QVERIFY(!saved.contains("=\r\n"));
    const QByteArray english = ReadBytes(ConfigFile_EnglishPath());
    QVERIFY(english.startsWith("S_OnOff[0]=Custom\r\nS_OnOff[1]=Off\r\n"));
    QVERIFY(!english.contains("=\r\n"));
}

void TestConfigFile::defaultFilesHaveExactBytes()
{
    ConfigFile_SaveAll();

    const QByteArray settings = ReadBytes(SettingsPath());
    const QByteArray english = ReadBytes(ConfigFile_EnglishPath());
    QCOMPARE(settings.count("\r\n"), SettingsTableSize);
    QCOMPARE(english.count("\r\n"), LanguageTableSize);
    QVERIFY(!english.startsWith("\xEF\xBB\xBF"));
    QVERIFY(settings.startsWith("Key_LanguageIsEnglish=1\r\n"));
    QVERIFY(settings.endsWith("SItem_Splicing_SingleExit_HighLight=255,0,0,255\r\n"));

    const QString dataDir = TestSourceDir() + QStringLiteral("/tests/core/settings/data/");
    QCOMPARE(settings, ReadBytes(dataDir + QStringLiteral("default-config.ini")));
    QCOMPARE(english, ReadBytes(dataDir + QStringLiteral("default-language-English.ini")));
    QVERIFY(!QFile::exists(ConfigFile_OtherLanguagePath()));
}

void TestConfigFile::tableIsChosenByPath_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<bool>("isSettingsPath");
    QTest::addColumn<bool>("isLanguagePath");

    QTest::newRow("config.ini") << "/APP/ConfigFile/config.ini" << true << false;
    QTest::newRow("English") << "/APP/ConfigFile/language-English.ini" << false << true;
    QTest::newRow("other language") << "/APP/ConfigFile/language-Other.ini" << false << true;
    QTest::newRow("capitals") << "/APP/ConfigFile/Config.ini" << false << false;
    QTest::newRow("other directory") << "/APP/config.ini" << false << false;
    QTest::newRow("other name") << "/APP/ConfigFile/settings.ini" << false << false;
}

void TestConfigFile::tableIsChosenByPath()
{
    QFETCH(QString, relativePath);
    QFETCH(bool, isSettingsPath);
    QFETCH(bool, isLanguagePath);

    const QString path = ConfigFile_AppDir() + relativePath;
    ConfigFile_ResetFile(path);
    ConfigFile_Write(path);
    const QByteArray written = ReadBytes(path);
    QCOMPARE(written.startsWith("Key_LanguageIsEnglish=1\r\n"), isSettingsPath);
    QCOMPARE(written.startsWith("S_OnOff[0]=On\r\n"), isLanguagePath);
    // Preparing creates a missing file empty; only a path that selects a table gets lines.
    QVERIFY(QFile::exists(path));
    QCOMPARE(written.isEmpty(), !isSettingsPath && !isLanguagePath);

    // Reading a file under a name that selects no table changes nothing.
    QVERIFY(WriteBytes(path, "Key_LanguageIsEnglish=9\r\n"));
    ConfigFile_Read(path);
    QCOMPARE(Key_LanguageIsEnglish, isSettingsPath ? QStringLiteral("9") : QStringLiteral("1"));
    QVERIFY(WriteBytes(path, "S_OnOff[0]=9\r\n"));
    ConfigFile_Read(path);
    QCOMPARE(S_OnOff[0], isLanguagePath ? QStringLiteral("9") : QStringLiteral("On"));
}

void TestConfigFile::languageFallback_data()
{
    QTest::addColumn<bool>("settingsExist");
    QTest::addColumn<QByteArray>("flagInFile");
    QTest::addColumn<bool>("englishExists");
    QTest::addColumn<bool>("otherExists");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedFlag");

    QTest::newRow("English chosen, both exist") << true << QByteArray("1") << true << true << "EN"
                                                << "1";
    QTest::newRow("other chosen, both exist") << true << QByteArray("0") << true << true << "OT"
                                              << "0";
    QTest::newRow("any other flag chooses the other file") << true << QByteArray("1 ") << true << true << "OT"
                                                           << "1 ";
    QTest::newRow("English chosen but missing") << true << QByteArray("1") << false << true << "OT"
                                                << "0";
    QTest::newRow("other chosen but missing") << true << QByteArray("0") << true << false << "EN"
                                              << "1";
    QTest::newRow("neither exists") << true << QByteArray("0") << false << false << "On"
                                    << "1";
    QTest::newRow("no config.ini reads nothing") << false << QByteArray("0") << true << true << "On"
                                                 << "1";
}

void TestConfigFile::languageFallback()
{
    QFETCH(bool, settingsExist);
    QFETCH(QByteArray, flagInFile);
    QFETCH(bool, englishExists);
    QFETCH(bool, otherExists);
    QFETCH(QString, expectedText);
    QFETCH(QString, expectedFlag);

    if (settingsExist)
        QVERIFY(WriteBytes(SettingsPath(), SettingsLine(0, flagInFile)));
    if (englishExists)
        QVERIFY(WriteBytes(ConfigFile_EnglishPath(), "S_OnOff[0]=EN\r\n"));
    if (otherExists)
        QVERIFY(WriteBytes(ConfigFile_OtherLanguagePath(), "S_OnOff[0]=OT\r\n"));

    ConfigFile_LoadAll(false);
    QCOMPARE(S_OnOff[0], expectedText);
    QCOMPARE(Key_LanguageIsEnglish, expectedFlag);
    QCOMPARE(S_OnOff[1], QStringLiteral("Off"));
}

void TestConfigFile::saveAfterFallbackRewritesTheFileRead()
{
    QVERIFY(WriteBytes(SettingsPath(), SettingsLine(0, "1")));
    QVERIFY(WriteBytes(ConfigFile_OtherLanguagePath(), "S_OnOff[0]=开\r\n"));
    ConfigFile_LoadAll(false);
    ConfigFile_SaveAll();

    QVERIFY(!QFile::exists(ConfigFile_EnglishPath()));
    QVERIFY(ReadBytes(ConfigFile_OtherLanguagePath()).startsWith("S_OnOff[0]=开\r\nS_OnOff[1]=Off\r\n"));
    QVERIFY(ReadBytes(SettingsPath()).startsWith("Key_LanguageIsEnglish=0\r\n"));
}

void TestConfigFile::languageOnlyLeavesSettingsAlone()
{
    QVERIFY(WriteBytes(SettingsPath(), SettingsLine(0, "1") + SettingsLine(1, "0")));
    QVERIFY(WriteBytes(ConfigFile_OtherLanguagePath(), "S_OnOff[0]=OT\r\n"));
    Key_LanguageIsEnglish = QStringLiteral("0");

    ConfigFile_LoadAll(true);
    QCOMPARE(S_OnOff[0], QStringLiteral("OT"));
    QCOMPARE(Key_LanguageIsEnglish, QStringLiteral("0"));
    QCOMPARE(Key_UI_Login, QStringLiteral("1"));
}

void TestConfigFile::startupWritesDefaultsWhenSettingsMissing()
{
    QVERIFY(WriteBytes(ConfigFile_EnglishPath(), "S_OnOff[0]=Custom\r\n"));
    QVERIFY(WriteBytes(ConfigFile_OtherLanguagePath(), "S_OnOff[0]=OT\r\n"));

    QVERIFY(!ConfigFile_LoadAtStartup());
    QCOMPARE(S_OnOff[0], QStringLiteral("On"));
    const QString dataDir = TestSourceDir() + QStringLiteral("/tests/core/settings/data/");
    QCOMPARE(ReadBytes(SettingsPath()), ReadBytes(dataDir + QStringLiteral("default-config.ini")));
    QCOMPARE(ReadBytes(ConfigFile_EnglishPath()),
        ReadBytes(dataDir + QStringLiteral("default-language-English.ini")));
    QCOMPARE(ReadBytes(ConfigFile_OtherLanguagePath()), QByteArray("S_OnOff[0]=OT\r\n"));
}

void TestConfigFile::startupReadsExistingFiles()
{
    QVERIFY(WriteBytes(SettingsPath(), SettingsLine(0, "1") + SettingsLine(1, "0")));
    QVERIFY(WriteBytes(ConfigFile_EnglishPath(), "S_OnOff[0]=Custom\r\n"));

    QVERIFY(ConfigFile_LoadAtStartup());
    QCOMPARE(Key_UI_Login, QStringLiteral("0"));
    QCOMPARE(S_OnOff[0], QStringLiteral("Custom"));
    QCOMPARE(ReadBytes(ConfigFile_EnglishPath()), QByteArray("S_OnOff[0]=Custom\r\n"));
}

void TestConfigFile::lineBreaksInValuesKeepLinesInPlace_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("CR LF") << "a\r\nb"
                           << "a  b";
    QTest::newRow("LF") << "a\nb"
                        << "a b";
    QTest::newRow("CR") << "a\rb"
                        << "a b";
    QTest::newRow("only a line break") << "\n"
                                       << " ";
    QTest::newRow("trailing line break") << "COM3\r\n"
                                         << "COM3  ";
}

void TestConfigFile::lineBreaksInValuesKeepLinesInPlace()
{
    QFETCH(QString, value);
    QFETCH(QString, readBack);

    SP_Name = value;
    ConfigFile_SaveAll();
    QCOMPARE(ReadBytes(SettingsPath()).count("\r\n"), SettingsTableSize);
    QCOMPARE(ReadBytes(SettingsPath()).count('\n'), SettingsTableSize);

    AssignValues(SettingsTable, MarkedSettings());
    ConfigFile_Read(SettingsPath());
    QStringList expected = defaultSettings;
    expected[9] = readBack;
    QCOMPARE(Values(SettingsTable, SettingsTableSize), expected);
}

void TestConfigFile::resetKeepsTheExistingFile()
{
    QVERIFY(WriteBytes(SettingsPath(), "old\r\n"));
    ConfigFile_ResetFile(SettingsPath());
    QCOMPARE(ReadBytes(SettingsPath()), QByteArray("old\r\n"));

    // A missing file is created empty, after its directory with all its parents.
    const QString deepPath = ConfigFile_AppDir() + QStringLiteral("/a/b/c/file.ini");
    ConfigFile_ResetFile(deepPath);
    QVERIFY(QFileInfo(ConfigFile_AppDir() + QStringLiteral("/a/b/c")).isDir());
    QVERIFY(QFileInfo(deepPath).isFile());
    QCOMPARE(ReadBytes(deepPath), QByteArray());
}

void TestConfigFile::failedSaveKeepsOldFile()
{
    ConfigFile_SaveAll();
    const QByteArray before = ReadBytes(SettingsPath());

    // Every write beyond 64 KiB fails with EFBIG instead of killing the process.
    SP_Name = HugeValue();
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    LimitFileSize(64 * 1024);
    ConfigFile_Write(SettingsPath());
    LiftFileSizeLimit();
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(ReadBytes(SettingsPath()), before);
    const QStringList left = QDir(QFileInfo(SettingsPath()).absolutePath()).entryList(QDir::Files);
    const QStringList expectedFiles { QStringLiteral("config.ini"), QStringLiteral("language-English.ini") };
    QCOMPARE(left, expectedFiles);
}

void TestConfigFile::killedSaveKeepsOldFile()
{
    ConfigFile_SaveAll();
    const QByteArray before = ReadBytes(SettingsPath());

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
        { QLatin1String(InterruptedWriteOption), ConfigFile_AppDir() });
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    QCOMPARE(ReadBytes(SettingsPath()), before);
    AssignValues(SettingsTable, MarkedSettings());
    ConfigFile_Read(SettingsPath());
    QCOMPARE(Values(SettingsTable, SettingsTableSize), defaultSettings);
}

void TestConfigFile::styleSheetText_data()
{
    QTest::addColumn<bool>("create");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("expectedOk");

    QTest::newRow("plain") << true << QByteArray("QWidget { color: red; }\n") << "QWidget { color: red; }\n"
                           << true;
    QTest::newRow("stops at a zero byte")
        << true << QByteArray("QLabel {}\0garbage", 17) << "QLabel {}" << true;
    QTest::newRow("bytes taken as Latin-1")
        << true << QByteArray("/* \xE9 */") << QString::fromLatin1("/* \xE9 */") << true;
    QTest::newRow("empty file") << true << QByteArray() << "" << true;
    QTest::newRow("missing file") << false << QByteArray() << "" << false;
}

void TestConfigFile::styleSheetText()
{
    QFETCH(bool, create);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(bool, expectedOk);

    const QString path = ConfigFile_AppDir() + QStringLiteral("/APP/StyleSheet/default.qss");
    if (create)
        QVERIFY(WriteBytes(path, bytes));
    bool readOk = !expectedOk;
    QCOMPARE(ConfigFile_ReadStyleSheetText(path, &readOk), expected);
    QCOMPARE(readOk, expectedOk);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], InterruptedWriteOption) == 0)
        return RunInterruptedWriteChild(QString::fromLocal8Bit(argv[2]));
    TestConfigFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_configfile.moc"
