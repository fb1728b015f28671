// The multiview page: its widgets and their places, the commands of every control, what the
// replies show (mode buttons, window/source grid, settings rows, layout list, preview picture,
// user window block), renaming sources on every page, and an operator's session against the
// simulator.
#include "GuiSimProcess.h"
#include "GuiPageActions.h"
#include "GuiTestFixture.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_Multiview.h"
#include "protocol/DeviceState.h"
#include "protocol/ValueWords.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"
#include "shell/NameElision.h"
#include "shell/Ui_Main.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;
constexpr int ReplyTimeoutMs = 5000;

using GuiTest::QueuedLines;

void ClearQueue(LinkQueue &queue)
{
    QMutexLocker lock(&queue.sendMutex);
    queue.sendQueue.clear();
}

using GuiTest::ChooseItem;

QStringList Items(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Row by row, the column of the flat button of each window row shown ('-' for none).
QString FlatGrid(const Ui_Multiview &page)
{
    QString text;
    for (int window = 0; window < Ui_Multiview::WindowCount; ++window) {
        if (page.windowSourceButtons.at(window * 4)->isHidden())
            break;
        QChar flat = QLatin1Char('-');
        for (int source = 0; source < 4; ++source) {
            if (page.windowSourceButtons.at(window * 4 + source)->isFlat())
                flat = QLatin1Char('1' + source);
        }
        text += flat;
    }
    return text;
}

QString FlatMode(const Ui_Multiview &page)
{
    QStringList flat;
    for (int mode = 0; mode < page.modeButtons.size(); ++mode) {
        if (page.modeButtons.at(mode)->isFlat())
            flat << MultiviewModeWords.text(quint32(mode));
    }
    return flat.join(QLatin1Char(','));
}

// Which settings rows show: p position, s size, a aspect, l layout.
QString SettingsRows(const Ui_Multiview &page)
{
    QString rows;
    if (!page.positionComboBox->isHidden())
        rows += QLatin1Char('p');
    if (!page.sizeComboBox->isHidden())
        rows += QLatin1Char('s');
    if (!page.aspectComboBox->isHidden())
        rows += QLatin1Char('a');
    if (!page.layoutComboBox->isHidden())
        rows += QLatin1Char('l');
    return rows;
}

// Everything a reply can change on the page, in one line.
QString Describe(const Ui_Multiview &page)
{
    QStringList edits;
    for (const QLineEdit *edit : page.userWindowEdits)
        edits << edit->text();
    return QStringLiteral("mode=%1 rows=%2 grid=%3 layouts=%4 layout=%5 aspect=%6 pos=%7 size=%8 "
                          "audio=%9 vka=%10 itc=%11 user=%12")
        .arg(FlatMode(page), SettingsRows(page), FlatGrid(page))
        .arg(page.layoutComboBox->count())
        .arg(page.layoutComboBox->currentIndex())
        .arg(page.aspectComboBox->currentIndex())
        .arg(page.positionComboBox->currentIndex())
        .arg(page.sizeComboBox->currentIndex())
        .arg(page.audioSourceComboBox->currentIndex())
        .arg(page.vkaComboBox->currentIndex())
        .arg(page.itcComboBox->currentIndex())
        .arg(edits.join(QLatin1Char(',')));
}

bool UserBlockShown(const Ui_Multiview &page)
{
    bool shown = !page.userWindowHeading->isHidden();
    for (const QLineEdit *edit : page.userWindowEdits)
        shown = shown && !edit->isHidden();
    return shown && !page.userWindowReadButton->isHidden() && !page.userWindowWriteButton->isHidden();
}

// Every picture name the picture rule can give for values the device reports.
QStringList AllPictureNames()
{
    QStringList names { QStringLiteral("SINGLE") };
    MultiviewState state {};
    state.mode = 1;
    for (state.pipPos = 0; state.pipPos < PipPosWords.count; ++state.pipPos) {
        for (state.pipSize = 0; state.pipSize < PipSizeWords.count; ++state.pipSize)
            names << Ui_Multiview::PictureName(state);
    }
    state.maxMode = 6;
    for (state.mode = 2; state.mode < 5; ++state.mode) {
        for (state.layout = 0; state.layout < state.maxMode; ++state.layout) {
            for (state.aspect = 0; state.aspect < 2; ++state.aspect)
                names << Ui_Multiview::PictureName(state);
        }
    }
    return names;
}

// The preview pictures beside the program, copied into a test's application directory.
bool CopyPictures(const QString &appDir)
{
    const QString from = TestBinDir() + QStringLiteral("/APP/Image/MultiView");
    const QString to = appDir + QStringLiteral("/APP/Image/MultiView");
    if (!QDir().mkpath(to))
        return false;
    const QStringList files = QDir(from).entryList({ QStringLiteral("*.png") }, QDir::Files);
    for (const QString &file : files) {
        if (!QFile::copy(from + QLatin1Char('/') + file, to + QLatin1Char('/') + file))
            return false;
    }
    return !files.isEmpty();
}

} // namespace

class TestMultiview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void widgetPlaces_data();
    void widgetPlaces();
    void pictureName_data();
    void pictureName();
    void everyPictureExists_data();
    void everyPictureExists();
    void controlsQueueCommands_data();
    void controlsQueueCommands();
    void userCoupling_data();
    void userCoupling();
    void repliesReachPage_data();
    void repliesReachPage();
    void pictureAndUserBlock_data();
    void pictureAndUserBlock();
    void sourceColumnsFollowInputs_data();
    void sourceColumnsFollowInputs();
    void retranslateKeepsTheDeviceState_data();
    void retranslateKeepsTheDeviceState();
    void renameShowsOnEveryPage_data();
    void renameShowsOnEveryPage();
    void operatorSessionWithSimulator();

private:
    // A main window whose device is confirmed, with the multiview page rebuilt for it.
    Ui_Main *NewMainWindow();
    // Hands reply lines to the main window's receive path.
    void Receive(const QStringList &lines);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
};

void TestMultiview::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestMultiview::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    LinkMode = LinkModeNone;
    TcpLinkQueue().activate();
}

void TestMultiview::cleanup()
{
    m_main.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

Ui_Main *TestMultiview::NewMainWindow()
{
    m_main.reset(new Ui_Main());
    DeviceState_ConfirmModel();
    m_main->matrixPage->RebuildIfConfirmed();
    m_main->multiviewPage->Rebuild();
    m_main->multiviewPage->Refresh();
    m_main->show();
    m_main->tabWidget->setCurrentWidget(m_main->multiviewPage);
    LinkMode = LinkModeTcp;
    return m_main.data();
}

void TestMultiview::Receive(const QStringList &lines)
{
    for (const QString &line : lines)
        TcpLinkQueue().pushReceived(line.toLatin1() + '\r');
    m_main->SLT_UnifyUpdateRecv();
}

void TestMultiview::widgetPlaces_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("output label") << "outputLabel" << QRect(4, 10, 120, 26);
    QTest::newRow("output combo") << "outputComboBox" << QRect(128, 10, 80, 26);
    QTest::newRow("mode frame") << "modeFrame" << QRect(4, 40, 928, 168);
    QTest::newRow("multiview label") << "multiviewLabel" << QRect(4, 4, 150, 26);
    QTest::newRow("SINGLE button") << "mode0" << QRect(158, 4, 150, 26);
    QTest::newRow("4xWIN button") << "mode4" << QRect(774, 4, 150, 26);
    QTest::newRow("aspect combo") << "aspectComboBox" << QRect(158, 34, 120, 26);
    QTest::newRow("layout combo") << "layoutComboBox" << QRect(158, 64, 120, 26);
    QTest::newRow("position combo") << "positionComboBox" << QRect(158, 34, 120, 26);
    QTest::newRow("size label") << "sizeLabel" << QRect(4, 64, 150, 26);
    QTest::newRow("user window heading") << "userWindowHeading" << QRect(298, 34, 288, 26);
    QTest::newRow("H Start editor") << "edit0" << QRect(386, 64, 60, 26);
    QTest::newRow("V Size editor") << "edit3" << QRect(538, 94, 60, 26);
    QTest::newRow("picture frame") << "pictureFrame" << QRect(620, 50, 202, 114);
    QTest::newRow("picture label") << "pictureLabel" << QRect(2, 2, 200, 112);
    QTest::newRow("window/source frame") << "windowSourceFrame" << QRect(4, 212, 554, 196);
    QTest::newRow("corner label") << "cornerLabel" << QRect(4, 34, 130, 38);
    QTest::newRow("first source") << "source0" << QRect(138, 34, 100, 38);
    QTest::newRow("fourth source") << "source3" << QRect(450, 34, 100, 38);
    QTest::newRow("fourth window") << "window3" << QRect(4, 166, 130, 26);
    QTest::newRow("button0") << "button0" << QRect(138, 76, 100, 26);
    QTest::newRow("button6") << "button6" << QRect(346, 106, 100, 26);
    QTest::newRow("button15") << "button15" << QRect(450, 166, 100, 26);
    QTest::newRow("audio frame") << "audioFrame" << QRect(4, 412, 312, 94);
    QTest::newRow("ITC combo") << "itcComboBox" << QRect(158, 64, 150, 26);
}

void TestMultiview::widgetPlaces()
{
    QFETCH(QString, widget);
    QFETCH(QRect, geometry);
    Ui_Multiview page;
    const QMap<QString, QWidget *> widgets {
        { "outputLabel", page.outputLabel },
        { "outputComboBox", page.outputComboBox },
        { "modeFrame", page.modeFrame },
        { "multiviewLabel", page.multiviewLabel },
        { "mode0", page.modeButtons.at(0) },
        { "mode4", page.modeButtons.at(4) },
        { "aspectComboBox", page.aspectComboBox },
        { "layoutComboBox", page.layoutComboBox },
        { "positionComboBox", page.positionComboBox },
        { "sizeLabel", page.sizeLabel },
        { "userWindowHeading", page.userWindowHeading },
        { "edit0", page.userWindowEdits.at(0) },
        { "edit3", page.userWindowEdits.at(3) },
        { "pictureFrame", page.pictureFrame },
        { "pictureLabel", page.pictureLabel },
        { "windowSourceFrame", page.windowSourceFrame },
        { "cornerLabel", page.cornerLabel },
        { "source0", page.sourceLabels.at(0) },
        { "source3", page.sourceLabels.at(3) },
        { "window3", page.windowLabels.at(3) },
        { "button0", page.findChild<QPushButton *>(QStringLiteral("button0")) },
        { "button6", page.findChild<QPushButton *>(QStringLiteral("button6")) },
        { "button15", page.findChild<QPushButton *>(QStringLiteral("button15")) },
        { "audioFrame", page.audioFrame },
        { "itcComboBox", page.itcComboBox },
    };
    QVERIFY(widgets.value(widget));
    QCOMPARE(widgets.value(widget)->geometry(), geometry);
    // The page as built: the user window block hidden, the picture frame named for the style.
    QVERIFY(!UserBlockShown(page));
    QCOMPARE(page.pictureFrame->objectName(), QStringLiteral("MultiviewPicture"));
    QCOMPARE(page.windowSourceButtons.size(), 16);
}

void TestMultiview::pictureName_data()
{
    QTest::addColumn<quint32>("mode");
    QTest::addColumn<quint32>("maxMode");
    QTest::addColumn<quint32>("aspect");
    QTest::addColumn<quint32>("layout");
    QTest::addColumn<quint32>("pipPos");
    QTest::addColumn<quint32>("pipSize");
    QTest::addColumn<QString>("name");

    QTest::newRow("single") << 0u << 0u << 1u << 3u << 2u << 2u << "SINGLE";
    QTest::newRow("pip LeftTop MIDDLE") << 1u << 0u << 0u << 0u << 0u << 1u << "PIP_LeftTop_MIDDLE";
    QTest::newRow("pip user") << 1u << 0u << 0u << 0u << 4u << 3u << "PIP_USER_USER";
    QTest::newRow("pip position out of range") << 1u << 0u << 0u << 0u << 5u << 0u << "PIP__SMALL";
    QTest::newRow("pbp 3 16:9") << 2u << 3u << 1u << 2u << 0u << 0u << "PBP_3_169";
    QTest::newRow("3xWIN 1 full") << 3u << 4u << 0u << 0u << 0u << 0u << "3xWIN_1_FULL";
    QTest::newRow("4xWIN 6 16:9") << 4u << 6u << 1u << 5u << 0u << 0u << "4xWIN_6_169";
    QTest::newRow("layout not below the count") << 2u << 3u << 0u << 3u << 0u << 0u << "PBP__FULL";
    QTest::newRow("no count yet") << 3u << 0u << 1u << 0u << 0u << 0u << "3xWIN__169";
}

void TestMultiview::pictureName()
{
    QFETCH(quint32, mode);
    QFETCH(quint32, maxMode);
    QFETCH(quint32, aspect);
    QFETCH(quint32, layout);
    QFETCH(quint32, pipPos);
    QFETCH(quint32, pipSize);
    QFETCH(QString, name);
    MultiviewState state {};
    state.mode = mode;
    state.maxMode = maxMode;
    state.aspect = aspect;
    state.layout = layout;
    state.pipPos = pipPos;
    state.pipSize = pipSize;
    QCOMPARE(Ui_Multiview::PictureName(state), name);
    QCOMPARE(Ui_Multiview::PicturePath(state),
        ConfigFile_AppDir() + QStringLiteral("/APP/Image/MultiView/") + name + QStringLiteral(".png"));
}

void TestMultiview::everyPictureExists_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("source tree") << TestSourceDir() + QStringLiteral("/APP/Image/MultiView");
    QTest::newRow("beside the program") << TestBinDir() + QStringLiteral("/APP/Image/MultiView");
}

void TestMultiview::everyPictureExists()
{
    QFETCH(QString, folder);
    const QStringList names = AllPictureNames();
    QCOMPARE(names.size(), 1 + 20 + 36);
    QSet<QByteArray> distinct;
    for (const QString &name : names) {
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        QImage image;
        QVERIFY2(image.load(path, "PNG"), qPrintable(path));
        QCOMPARE(image.size(), QSize(200, 112));
        // A drawn layout, not an empty canvas.
        QVERIFY2(image.pixel(1, 1) != image.pixel(100, 56), qPrintable(name));
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        distinct.insert(QByteArray(reinterpret_cast<const char *>(rgb.constBits()), int(rgb.sizeInBytes())));
    }
    // Every name shows a picture of its own.
    QCOMPARE(distinct.size(), names.size());
}

void TestMultiview::controlsQueueCommands_data()
{
    QTest::addColumn<QStringList>("setup"); // replies that put the output into a mode first
    QTest::addColumn<int>("output"); // chosen in the output list first (0-based)
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("queued");

    const QStringList none;
    const QStringList pbp { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 1 3" };
    const QStringList pip { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL LeftTop SMALL" };
    QTest::newRow("button6") << none << 0 << "button6" << 0 << QStringList { "SET OUT1 WINDOW2 IN HDMI3\r" };
    QTest::newRow("button0") << none << 0 << "button0" << 0 << QStringList { "SET OUT1 WINDOW1 IN HDMI1\r" };
    QTest::newRow("button15 of output 3")
        << QStringList { "OUT3 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2 HDMI3 HDMI4 FULL 1 6" } << 2 << "button15" << 0
        << QStringList { "SET OUT3 WINDOW4 IN HDMI4\r" };
    QTest::newRow("SINGLE") << pbp << 0 << "mode0" << 0 << QStringList { "SET OUT1 MULTIVIEW SINGLE\r" };
    QTest::newRow("PIP") << none << 0 << "mode1" << 0 << QStringList { "SET OUT1 MULTIVIEW PIP\r" };
    QTest::newRow("4xWIN of output 4") << none << 3 << "mode4" << 0 << QStringList { "SET OUT4 MULTIVIEW 4xWIN\r" };
    QTest::newRow("aspect 16:9") << pbp << 0 << "aspect" << 1 << QStringList { "SET OUT1 PBP ASPECT 16:9\r" };
    QTest::newRow("layout 3") << pbp << 0 << "layout" << 2 << QStringList { "SET OUT1 PBP MODE 3\r" };
    QTest::newRow("position") << pip << 0 << "position" << 3 << QStringList { "SET OUT1 PIP POS RightBottom\r" };
    QTest::newRow("size") << pip << 0 << "size" << 2 << QStringList { "SET OUT1 PIP SIZE LARGE\r" };
    QTest::newRow("audio source") << none << 0 << "audio" << 4 << QStringList { "SET OUT1 AUDIO SOURCE HDMI4\r" };
    QTest::newRow("VKA") << none << 0 << "vka" << 1 << QStringList { "SET OUT1 VKA BLACKSCREEN\r" };
    QTest::newRow("ITC") << none << 0 << "itc" << 0 << QStringList { "SET OUT1 ITC ON\r" };
    QTest::newRow("read user window in PIP USER")
        << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL USER USER" } << 0 << "read" << 0
        << QStringList { "GET OUT1 PIP USER\r" };
    QTest::newRow("write presenter window")
        << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 3 3", "OUT1 PBP-PRESENTER 10 20 30 40" }
        << 0 << "write" << 0 << QStringList { "SET OUT1 PBP-PRESENTER 10 20 1920 0\r" };
    // Until the window's own numbers came back, there is nothing of its own to write.
    QTest::newRow("write presenter window before its read came back")
        << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 3 3" } << 0 << "write" << 0
        << QStringList {};
    QTest::newRow("aspect refused in SINGLE") << none << 0 << "aspect" << 1 << QStringList {};
    QTest::newRow("position refused in PBP") << pbp << 0 << "position" << 1 << QStringList {};
}

void TestMultiview::controlsQueueCommands()
{
    QFETCH(QStringList, setup);
    QFETCH(int, output);
    QFETCH(QString, control);
    QFETCH(int, item);
    QFETCH(QStringList, queued);

    Ui_Main *mainWindow = NewMainWindow();
    Ui_Multiview *page = mainWindow->multiviewPage;
    if (output != 0) {
        ChooseItem(page->outputComboBox, output);
        QCOMPARE(page->selectedOutput, quint32(output));
    }
    Receive(setup);
    ClearQueue(TcpLinkQueue());
    // The refused settings are chosen from combos that replies would hide; they are shown
    // here to prove the page does not send what the device would not take.
    const QMap<QString, MyComboBox *> combos { { "aspect", page->aspectComboBox },
        { "layout", page->layoutComboBox }, { "position", page->positionComboBox }, { "size", page->sizeComboBox },
        { "audio", page->audioSourceComboBox }, { "vka", page->vkaComboBox }, { "itc", page->itcComboBox } };
    QSignalSpy kicks(page, &Ui_Multiview::SGL_UpdateEmit);
    const QString before = Describe(*page);
    if (MyComboBox *combo = combos.value(control)) {
        combo->show();
        ChooseItem(combo, item);
    } else if (control == QLatin1String("read")) {
        QTest::mouseClick(page->userWindowReadButton, Qt::LeftButton);
    } else if (control == QLatin1String("write")) {
        GuiTest::TypeInto(page->userWindowEdits.at(2), QStringLiteral("1920"));
        page->userWindowEdits.at(3)->clear();
        QTest::mouseClick(page->userWindowWriteButton, Qt::LeftButton);
    } else if (control.startsWith(QLatin1String("mode"))) {
        QTest::mouseClick(page->modeButtons.at(control.mid(4).toInt()), Qt::LeftButton);
    } else {
        QPushButton *button = page->findChild<QPushButton *>(control);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(QueuedLines(TcpLinkQueue()), queued);
    if (control == QLatin1String("write") && queued.isEmpty()) {
        // The editors wait, empty and disabled, for the window's own numbers.
        QVERIFY(!page->userWindowWriteButton->isEnabled());
        QVERIFY(!page->userWindowEdits.at(0)->isEnabled());
        QCOMPARE(page->userWindowEdits.at(0)->text(), QString());
        return;
    }
    QCOMPARE(kicks.count(), 1);
    // The screen waits for the device's reply (the combos only show the choice made, the
    // editors what was typed).
    if (!combos.contains(control) && control != QLatin1String("write"))
        QCOMPARE(Describe(*page), before);
}

void TestMultiview::userCoupling_data()
{
    QTest::addColumn<QString>("start"); // position and size words of the sync reply
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("queued");
    QTest::addColumn<int>("positionShown");
    QTest::addColumn<int>("sizeShown");
    QTest::addColumn<quint32>("pipPos");
    QTest::addColumn<quint32>("pipSize");

    QTest::newRow("USER position while size shows Small")
        << "LeftTop SMALL" << "position" << 4 << "SET OUT1 PIP POS USER\r" << 4 << 3 << 0u << 0u;
    QTest::newRow("corner while size shows USER")
        << "USER USER" << "position" << 1 << "SET OUT1 PIP POS RightTop\r" << 1 << 2 << 4u << 3u;
    QTest::newRow("corner while size is fixed")
        << "LeftTop MIDDLE" << "position" << 2 << "SET OUT1 PIP POS LeftBottom\r" << 2 << 1 << 0u << 1u;
    QTest::newRow("USER size while position is a corner")
        << "LeftBottom LARGE" << "size" << 3 << "SET OUT1 PIP SIZE USER\r" << 4 << 3 << 2u << 2u;
    QTest::newRow("fixed size while position shows USER")
        << "USER USER" << "size" << 0 << "SET OUT1 PIP SIZE SMALL\r" << 3 << 0 << 4u << 3u;
    QTest::newRow("fixed size while position is a corner")
        << "RightTop SMALL" << "size" << 1 << "SET OUT1 PIP SIZE MIDDLE\r" << 1 << 1 << 1u << 0u;
}

// Only the chosen control's command goes out; the other combo shows what the device will take
// with it, while the state keeps what the device confirmed until its reply.
void TestMultiview::userCoupling()
{
    QFETCH(QString, start);
    QFETCH(QString, combo);
    QFETCH(int, item);
    QFETCH(QString, queued);
    QFETCH(int, positionShown);
    QFETCH(int, sizeShown);
    QFETCH(quint32, pipPos);
    QFETCH(quint32, pipSize);

    Ui_Main *mainWindow = NewMainWindow();
    Ui_Multiview *page = mainWindow->multiviewPage;
    Receive({ QStringLiteral("OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL ") + start });
    ClearQueue(TcpLinkQueue());
    ChooseItem(combo == QLatin1String("position") ? page->positionComboBox : page->sizeComboBox, item);
    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList { queued });
    QCOMPARE(page->positionComboBox->currentIndex(), positionShown);
    QCOMPARE(page->sizeComboBox->currentIndex(), sizeShown);
    QCOMPARE(MultiviewOf(0).pipPos, pipPos);
    QCOMPARE(MultiviewOf(0).pipSize, pipSize);
}

void TestMultiview::repliesReachPage_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("shown");

    const QString idle = QStringLiteral("mode= rows= grid=- layouts=6 layout=-1 aspect=-1 pos=-1 size=-1 "
                                        "audio=-1 vka=-1 itc=-1 user=,,,");
    QTest::newRow("nothing yet") << QStringList {} << idle;
    QTest::newRow("SINGLE shows one button row")
        << QStringList { "OUT1 MULTIVIEW-SYNC SINGLE HDMI3 NULL NULL NULL" }
        << "mode=SINGLE rows= grid=3 layouts=6 layout=-1 aspect=-1 pos=-1 size=-1 audio=-1 vka=-1 itc=-1 user=,,,";
    QTest::newRow("PIP") << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL RightTop LARGE" }
                         << "mode=PIP rows=ps grid=12 layouts=6 layout=-1 aspect=-1 pos=1 size=2 audio=-1 vka=-1 "
                            "itc=-1 user=,,,";
    QTest::newRow("PBP fills the layout list from the count")
        << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI4 HDMI2 NULL NULL 16:9 3 3" }
        << "mode=PBP rows=al grid=42 layouts=3 layout=2 aspect=1 pos=-1 size=-1 audio=-1 vka=-1 itc=-1 user=,,,";
    QTest::newRow("4xWIN")
        << QStringList { "OUT1 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2 HDMI3 HDMI4 FULL 5 6" }
        << "mode=4xWIN rows=al grid=1234 layouts=6 layout=4 aspect=0 pos=-1 size=-1 audio=-1 vka=-1 itc=-1 user=,,,";
    QTest::newRow("the layout list follows MAXMODE")
        << QStringList { "OUT1 MULTIVIEW-SYNC 3xWIN HDMI1 HDMI2 HDMI3 NULL FULL 2 4", "OUT1 MAXMODE 6" }
        << "mode=3xWIN rows=al grid=123 layouts=6 layout=1 aspect=0 pos=-1 size=-1 audio=-1 vka=-1 itc=-1 user=,,,";
    QTest::newRow("a smaller count drops the layout beyond it")
        << QStringList { "OUT1 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2 HDMI3 HDMI4 FULL 5 6", "OUT1 MAXMODE 3" }
        << "mode=4xWIN rows=al grid=1234 layouts=3 layout=-1 aspect=0 pos=-1 size=-1 audio=-1 vka=-1 itc=-1 "
           "user=,,,";
    QTest::newRow("window inputs and layout replies")
        << QStringList { "OUT1 MULTIVIEW-SYNC 3xWIN HDMI1 HDMI2 HDMI3 NULL FULL 1 4", "OUT1 WINDOW3 IN HDMI1",
               "OUT1 3xWIN MODE 4", "OUT1 3xWIN ASPECT 16:9" }
        << "mode=3xWIN rows=al grid=121 layouts=4 layout=3 aspect=1 pos=-1 size=-1 audio=-1 vka=-1 itc=-1 user=,,,";
    QTest::newRow("a route moves window 1")
        << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL LeftTop SMALL", "OUT1 VIDEO IN HDMI4" }
        << "mode=PIP rows=ps grid=42 layouts=6 layout=-1 aspect=-1 pos=0 size=0 audio=-1 vka=-1 itc=-1 user=,,,";
    QTest::newRow("PIP position and size replies")
        << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL LeftTop SMALL", "OUT1 PIP POS USER",
               "OUT1 PIP SIZE USER", "OUT1 PIP USER 10 20 640 360" }
        << "mode=PIP rows=ps grid=12 layouts=6 layout=-1 aspect=-1 pos=4 size=3 audio=-1 vka=-1 itc=-1 "
           "user=10,20,640,360";
    QTest::newRow("audio, VKA and ITC")
        << QStringList { "OUT1 AUDIO SOURCE HDMI2", "OUT1 VKA NOTIMING", "OUT1 ITC OFF" }
        << "mode= rows= grid=- layouts=6 layout=-1 aspect=-1 pos=-1 size=-1 audio=2 vka=2 itc=1 user=,,,";
    QTest::newRow("other outputs leave the page alone")
        << QStringList { "OUT2 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2 HDMI3 HDMI4 FULL 5 6", "OUT2 MAXMODE 3",
               "OUT3 VKA NOTIMING", "OUT4 PIP USER 1 2 3 4", "OUT2 WINDOW1 IN HDMI2", "OUT2 MULTIVIEW PIP" }
        << idle;
}

void TestMultiview::repliesReachPage()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, shown);
    Ui_Main *mainWindow = NewMainWindow();
    Receive(lines);
    QCOMPARE(Describe(*mainWindow->multiviewPage), shown);
}

void TestMultiview::pictureAndUserBlock_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("heading"); // empty: the block is hidden

    QTest::newRow("PIP LeftTop MIDDLE") << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL LeftTop MIDDLE" }
                                        << "PIP_LeftTop_MIDDLE.png" << "";
    QTest::newRow("PIP with a USER size")
        << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL LeftTop USER" } << "PIP_LeftTop_USER.png"
        << "Window2 Display:↓";
    QTest::newRow("PIP with a USER position")
        << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL USER SMALL" } << "PIP_USER_SMALL.png"
        << "Window2 Display:↓";
    QTest::newRow("PBP layout 3 aspect 16:9")
        << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL 16:9 3 3" } << "PBP_3_169.png"
        << "Window1 Capture:↓";
    QTest::newRow("PBP layout 2") << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 2 3" }
                                  << "PBP_2_FULL.png" << "";
    QTest::newRow("presenter layout chosen later")
        << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 1 3", "OUT1 PBP MODE 3" }
        << "PBP_3_FULL.png" << "Window1 Capture:↓";
    QTest::newRow("leaving USER hides the block")
        << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL USER USER", "OUT1 PIP POS LeftBottom",
               "OUT1 PIP SIZE LARGE" }
        << "PIP_LeftBottom_LARGE.png" << "";
    QTest::newRow("4xWIN layout 3") << QStringList { "OUT1 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2 HDMI3 HDMI4 16:9 3 6" }
                                    << "4xWIN_3_169.png" << "";
    QTest::newRow("a layout without picture keeps the last one")
        << QStringList { "OUT1 MULTIVIEW-SYNC 3xWIN HDMI1 HDMI2 HDMI3 NULL FULL 2 4", "OUT1 MAXMODE 1" }
        << "3xWIN_2_FULL.png" << "";
    QTest::newRow("SINGLE") << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 3 3",
        "OUT1 MULTIVIEW SINGLE" } << "SINGLE.png"
                            << "";
}

void TestMultiview::pictureAndUserBlock()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, picture);
    QFETCH(QString, heading);
    QVERIFY(CopyPictures(m_fixture.Path()));
    Ui_Main *mainWindow = NewMainWindow();
    Ui_Multiview *page = mainWindow->multiviewPage;
    Receive(lines);
    QCOMPARE(QFileInfo(page->shownPicturePath).fileName(), picture);
    const QPixmap shown = page->pictureLabel->pixmap(Qt::ReturnByValue);
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.size(), QSize(200, 112));
    QCOMPARE(UserBlockShown(*page), !heading.isEmpty());
    if (!heading.isEmpty())
        QCOMPARE(page->userWindowHeading->text(), heading);
}

void TestMultiview::sourceColumnsFollowInputs_data()
{
    QTest::addColumn<quint32>("inputs");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("buttons");

    QTest::newRow("4 inputs, SINGLE") << 4u << "SINGLE" << 4;
    QTest::newRow("4 inputs, 4xWIN") << 4u << "4xWIN" << 16;
    QTest::newRow("2 inputs, 3xWIN") << 2u << "3xWIN" << 6;
    QTest::newRow("8 inputs, PIP") << 8u << "PIP" << 8;
}

void TestMultiview::sourceColumnsFollowInputs()
{
    QFETCH(quint32, inputs);
    QFETCH(QString, mode);
    QFETCH(int, buttons);
    Ui_Main *mainWindow = NewMainWindow();
    Ui_Multiview *page = mainWindow->multiviewPage;
    DeviceState.inputCount = inputs;
    MultiviewOf(0).mode = quint32(MultiviewModeWords.indexOf(mode));
    page->Refresh();
    int shown = 0;
    for (const QPushButton *button : page->windowSourceButtons)
        shown += button->isHidden() ? 0 : 1;
    QCOMPARE(shown, buttons);
    int sources = 0;
    for (const QLabel *label : page->sourceLabels)
        sources += label->isHidden() ? 0 : 1;
    QCOMPARE(sources, int(qMin(inputs, 4u)));
    int windows = 0;
    for (const QLabel *label : page->windowLabels)
        windows += label->isHidden() ? 0 : 1;
    QCOMPARE(windows, buttons / sources);
}

void TestMultiview::retranslateKeepsTheDeviceState_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("userBlock");

    // The device reports one layout for PIP when it switches to it.
    QTest::newRow("PIP with USER") << QStringList { "OUT1 MAXMODE 1",
        "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL USER USER", "OUT1 AUDIO SOURCE HDMI2",
        "OUT1 PIP USER 1 2 3 4" } << true;
    QTest::newRow("PBP presenter") << QStringList { "OUT1 MULTIVIEW-SYNC PBP HDMI3 HDMI2 NULL NULL 16:9 3 3",
        "OUT1 ITC ON" } << true;
    QTest::newRow("3xWIN") << QStringList { "OUT1 MULTIVIEW-SYNC 3xWIN HDMI3 HDMI2 HDMI1 NULL FULL 4 4" } << false;
}

// A language switch sets every text again; what the device reported stays on the page.
void TestMultiview::retranslateKeepsTheDeviceState()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, userBlock);
    Ui_Main *mainWindow = NewMainWindow();
    Ui_Multiview *page = mainWindow->multiviewPage;
    Receive(lines);
    const QString before = Describe(*page);
    QCOMPARE(UserBlockShown(*page), userBlock);
    SpushButton_PIP = QStringLiteral("Bild im Bild");
    page->Retranslate(false, true);
    QCOMPARE(page->modeButtons.at(1)->text(), QStringLiteral("Bild im Bild"));
    QCOMPARE(Describe(*page), before);
    QCOMPARE(UserBlockShown(*page), userBlock);
}

void TestMultiview::renameShowsOnEveryPage_data()
{
    QTest::addColumn<QString>("where"); // the page the operator renames on
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // the name every page shows afterwards

    QTest::newRow("on the multiview page") << "multiview" << 2 << "Camera left" << "Camera left";
    QTest::newRow("on the matrix page") << "matrix" << 1 << "Laptop" << "Laptop";
    QTest::newRow("empty text keeps the name") << "multiview" << 0 << "" << "HDMI1";
}

void TestMultiview::renameShowsOnEveryPage()
{
    QFETCH(QString, where);
    QFETCH(int, input);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    Ui_Main *mainWindow = NewMainWindow();
    Ui_Multiview *multiview = mainWindow->multiviewPage;
    Ui_Matrix *matrix = mainWindow->matrixPage;
    const QString before = S_InputName[input];
    if (shown == QLatin1String("HDMI1"))
        shown = before;
    QSignalSpy renamed(multiview, &Ui_Multiview::SGL_SyncInputSourceName);

    QLineEdit *editor = nullptr;
    if (where == QLatin1String("multiview")) {
        QLabel *label = multiview->sourceLabels.at(input);
        QTest::mouseDClick(label, Qt::LeftButton);
        editor = multiview->sourceNameEdit;
        QVERIFY(!editor->isHidden());
        QCOMPARE(editor->geometry(), QRect(label->x(), label->y() - 26, 160, 26));
        QCOMPARE(multiview->renameTarget, quint32(input));
    } else {
        mainWindow->tabWidget->setCurrentWidget(matrix);
        QTest::mouseDClick(matrix->headerLabels.at(1 + input), Qt::LeftButton);
        editor = matrix->renameEdit;
    }
    GuiTest::TypeInto(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);

    QVERIFY(editor->isHidden() || !matrix->renameGroup->isVisible());
    QCOMPARE(S_InputName[input], shown);
    QCOMPARE(FullNameOf(multiview->sourceLabels.at(input)), shown);
    QCOMPARE(FullNameOf(matrix->headerLabels.at(1 + input)), shown);
    if (where == QLatin1String("multiview")) {
        QCOMPARE(renamed.count(), 1);
        QCOMPARE(multiview->renameTarget, 0u);
    }
    // Renaming sends nothing to the device.
    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList());
}

// The operator's view of a real exchange: after Connect the page shows output 1 as the
// simulator has it, every control changes the simulator, and the page follows its replies.
void TestMultiview::operatorSessionWithSimulator()
{
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
    QVERIFY(CopyPictures(m_fixture.Path()));
    TcpLinkQueue().deactivate();
    GuiTest::SimProcess sim;
    QVERIFY(sim.WaitUntilListening());

    Ui_Main mainWindow;
    Ui_Uart_Network *connection = mainWindow.connectionPage;
    const auto disconnect = qScopeGuard([connection] { connection->DisconnectActiveLink(); });
    mainWindow.show();
    mainWindow.tabWidget->setCurrentWidget(connection);
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        connection->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);

    Ui_Multiview *page = mainWindow.multiviewPage;
    mainWindow.tabWidget->setCurrentWidget(page);
    QCOMPARE(Items(page->outputComboBox), (QStringList { "1", "2", "3", "4" }));
    QCOMPARE(FlatMode(*page), QStringLiteral("SINGLE"));
    QCOMPARE(FlatGrid(*page), QStringLiteral("1"));
    QCOMPARE(page->vkaComboBox->currentText(), QStringLiteral("BLUESCREEN"));
    QCOMPARE(page->itcComboBox->currentText(), QStringLiteral("Off"));
    QCOMPARE(QFileInfo(page->shownPicturePath).fileName(), QStringLiteral("SINGLE.png"));

    QStringList sent;
    connect(&mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText, this, [&](const QString &line) { sent << line; });

    // A mode button turns flat on the reply, not on the click.
    QTest::mouseClick(page->modeButtons.at(1), Qt::LeftButton);
    QVERIFY(!page->modeButtons.at(1)->isFlat());
    QTRY_COMPARE_WITH_TIMEOUT(FlatMode(*page), QStringLiteral("PIP"), ReplyTimeoutMs);
    QVERIFY(sent.contains(QStringLiteral("SET OUT1 MULTIVIEW PIP\r")));
    // The page asks for the whole state of the new mode.
    QTRY_COMPARE_WITH_TIMEOUT(FlatGrid(*page), QStringLiteral("12"), ReplyTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(page->positionComboBox->currentText(), QStringLiteral("RightBottom"), ReplyTimeoutMs);

    // USER in the position combo: the size follows, the user window block opens.
    ChooseItem(page->positionComboBox, 4);
    QCOMPARE(page->sizeComboBox->currentText(), QStringLiteral("USER"));
    QTRY_VERIFY_WITH_TIMEOUT(UserBlockShown(*page), ReplyTimeoutMs);
    QCOMPARE(page->userWindowHeading->text(), QStringLiteral("Window2 Display:↓"));
    QCOMPARE(QFileInfo(page->shownPicturePath).fileName(), QStringLiteral("PIP_USER_USER.png"));
    QTest::mouseClick(page->userWindowReadButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(page->userWindowEdits.at(2)->text(), QStringLiteral("480"), ReplyTimeoutMs);
    GuiTest::TypeInto(page->userWindowEdits.at(0), QStringLiteral("100"));
    QTest::mouseClick(page->userWindowWriteButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sent.contains(QStringLiteral("SET OUT1 PIP USER 100 810 480 270\r")), ReplyTimeoutMs);

    // Window 2 shows input 4.
    QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("button7")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(FlatGrid(*page), QStringLiteral("14"), ReplyTimeoutMs);

    // PBP: its three layouts; the presenter layout with 16:9.
    QTest::mouseClick(page->modeButtons.at(2), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(FlatMode(*page), QStringLiteral("PBP"), ReplyTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(Items(page->layoutComboBox), (QStringList { "1", "2", "3" }), ReplyTimeoutMs);
    QVERIFY(!UserBlockShown(*page));
    ChooseItem(page->layoutComboBox, 2);
    QTRY_COMPARE_WITH_TIMEOUT(MultiviewOf(0).layout, 2u, ReplyTimeoutMs);
    ChooseItem(page->aspectComboBox, 1);
    QTRY_COMPARE_WITH_TIMEOUT(
        QFileInfo(page->shownPicturePath).fileName(), QStringLiteral("PBP_3_169.png"), ReplyTimeoutMs);
    QVERIFY(UserBlockShown(*page));
    QCOMPARE(page->userWindowHeading->text(), QStringLiteral("Window1 Capture:↓"));

    // 4xWIN offers six layouts and four window rows.
    QTest::mouseClick(page->modeButtons.at(4), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(Items(page->layoutComboBox).size(), 6, ReplyTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(FlatGrid(*page).size(), 4, ReplyTimeoutMs);
    QVERIFY(!UserBlockShown(*page));

    // Audio, VKA and ITC.
    ChooseItem(page->audioSourceComboBox, 3);
    ChooseItem(page->vkaComboBox, 2);
    ChooseItem(page->itcComboBox, 0);
    QTRY_VERIFY_WITH_TIMEOUT(sent.contains(QStringLiteral("SET OUT1 ITC ON\r")), ReplyTimeoutMs);

    // Another output: the page reads it and shows its own state.
    ChooseItem(page->outputComboBox, 1);
    QTRY_VERIFY_WITH_TIMEOUT(sent.contains(QStringLiteral("GET OUT2 MULTIVIEW-SYNC\r")), ReplyTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(FlatMode(*page), QStringLiteral("SINGLE"), ReplyTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(page->itcComboBox->currentText(), QStringLiteral("Off"), ReplyTimeoutMs);
    QCOMPARE(FlatGrid(*page), QStringLiteral("2"));

    // Back on output 1, the device still has what was set.
    ChooseItem(page->outputComboBox, 0);
    QTRY_COMPARE_WITH_TIMEOUT(FlatMode(*page), QStringLiteral("4xWIN"), ReplyTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(page->itcComboBox->currentText(), QStringLiteral("On"), ReplyTimeoutMs);
    QCOMPARE(page->audioSourceComboBox->currentText(), QStringLiteral("HDMI3"));
    QCOMPARE(page->vkaComboBox->currentText(), QStringLiteral("NOTIMING"));
}

QTEST_MAIN(TestMultiview)
#include "tst_multiview.moc"
