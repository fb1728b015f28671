// Frameless windows and dialogs, the message boxes, the picture re-save and the style
// sheets of the program's look.
#include "settings/ConfigFile.h"
#include "shell/FrameGeometry.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"
#include "shell/MyFramelessDialog.h"
#include "shell/MyFramelessWindow.h"
#include "pages/Ui_Edid.h"
#include "pages/Ui_SaveLoad.h"
#include "shell/PngResave.h"
#include "shell/StyleSheet.h"
#include "support/TestPaths.h"

#include <QApplication>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <QtEndian>
#include <QtTest>
#include <csignal>
#include <sys/stat.h>
#include <functional>
#include <sys/resource.h>

namespace {

bool CopyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return false;
    }
    return true;
}

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

quint32 Crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A valid PNG that carries a private ancillary chunk right after its header. Decoders skip
// the chunk and a re-encoded file no longer has it, so its presence tells whether the file
// was rewritten.
QByteArray PngWithMarker(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    const QByteArray body = QByteArray("tvMk") + QByteArray("marker");
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(6, chunk.data());
    chunk += body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(Crc32(body), crc.data());
    chunk += crc;
    const int afterHeader = 8 + 4 + 4 + 13 + 4;
    png.insert(afterHeader, chunk);
    return png;
}

QImage TestImage(int width, int height, bool noisy)
{
    QImage image(width, height, QImage::Format_ARGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            image.setPixel(x, y, noisy ? (seed | 0xFF000000u) : qRgba(x * 7 % 256, y * 11 % 256, 90, 200));
        }
    return image;
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

// Runs the action once the box is open (as the active modal widget), then lets the box's
// own event loop return. A box that never shows up is closed after a few seconds so that
// the test fails instead of hanging.
class ModalBoxDriver : public QObject
{
public:
    explicit ModalBoxDriver(std::function<void(QMessageBox *)> action)
        : action(std::move(action))
    {
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, &ModalBoxDriver::Poll);
        timer.start();
    }

    QString shownText;
    QString shownTitle;
    Qt::TextFormat shownFormat = Qt::AutoText;
    QPoint shownPosition;
    QSize shownSize;
    bool shownIcon = false;
    QStringList buttonTexts;
    bool found = false;

private:
    void Poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            if (++attempts > 500) {
                timer.stop();
                for (QWidget *widget : QApplication::topLevelWidgets())
                    if (auto *stray = qobject_cast<QMessageBox *>(widget))
                        stray->done(0);
            }
            return;
        }
        timer.stop();
        found = true;
        if (const QLabel *label = box->findChild<QLabel *>(QLatin1String(MessageBoxTextObjectName))) {
            shownText = label->text();
            shownFormat = label->textFormat();
        }
        shownTitle = box->windowTitle();
        shownPosition = box->pos();
        shownSize = box->size();
        shownIcon = !box->iconPixmap().isNull();
        for (const QAbstractButton *button : box->buttons())
            buttonTexts << button->text();
        action(box);
    }

    std::function<void(QMessageBox *)> action;
    QTimer timer;
    int attempts = 0;
};

void ClickButton(QMessageBox *box, const char *objectName)
{
    QPushButton *button = box->findChild<QPushButton *>(QLatin1String(objectName));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void SendMouse(
    QWidget *target, QEvent::Type type, const QPoint &position, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, position, target->mapToGlobal(position), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestFrameless : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fixedSizeWindowHasNoMaximiseButton_data();
    void fixedSizeWindowHasNoMaximiseButton();

    void hitTestBands_data();
    void hitTestBands();
    void defaultSizeFollowsScreen_data();
    void defaultSizeFollowsScreen();
    void layoutFollowsEverySize_data();
    void layoutFollowsEverySize();
    void contentWidgetFillsContentArea();
    void maximiseAndRestore();
    void dragByTitleBar_data();
    void dragByTitleBar();
    void resizeFromBorders_data();
    void resizeFromBorders();
    void bandCursorShapes_data();
    void bandCursorShapes();
    void noBorderResizeWhenFixedOrMaximised();
    void titleBarPicturesAndStyle_data();
    void titleBarPicturesAndStyle();
    void dialogOnlyMovesResizesAndCloses();
    void metaObjectsOfTheTwins_data();
    void metaObjectsOfTheTwins();
    void messageBoxOk_data();
    void messageBoxOk();
    void messageBoxYesNo_data();
    void messageBoxYesNo();
    void messageBoxPosition_data();
    void messageBoxPosition();
    void messageBoxOverMovedWindow_data();
    void messageBoxOverMovedWindow();
    void resavePngImage_data();
    void resavePngImage();
    void interruptedResaveKeepsPicture();
    void repeatedResave_data();
    void repeatedResave();
    void normalisedFormKnownAcrossRuns_data();
    void normalisedFormKnownAcrossRuns();
    void styleSheetsParse_data();
    void styleSheetsParse();
    void loadStyleSheetAppliesOrSkips();
    void flatButtonsLookSelected();
    void comboListGivenAtFirstOpenLooksTheSame();

private:
    QString AppDir() const { return appDir->path(); }
    void UseShippedData();

    QScopedPointer<QTemporaryDir> appDir;
};

void TestFrameless::init()
{
    appDir.reset(new QTemporaryDir);
    QVERIFY(appDir->isValid());
    ConfigFile_SetAppDir(appDir->path());
}

void TestFrameless::cleanup()
{
    LiftFileSizeLimit();
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    qApp->setStyleSheet(QString());
    ConfigFile_SetAppDir(QString());
    appDir.reset();
}

// Copies of the shipped pictures and style sheets: the frame re-saves pictures in place,
// which must never touch the source tree.
void TestFrameless::UseShippedData()
{
    QVERIFY(CopyTree(TestSourceDir() + QStringLiteral("/TitleBar"), AppDir() + QStringLiteral("/TitleBar")));
    QVERIFY(
        CopyTree(TestSourceDir() + QStringLiteral("/APP/Image"), AppDir() + QStringLiteral("/APP/Image")));
    QVERIFY(CopyTree(
        TestSourceDir() + QStringLiteral("/APP/StyleSheet"), AppDir() + QStringLiteral("/APP/StyleSheet")));
}

void TestFrameless::hitTestBands_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("code");
    QTest::addColumn<Qt::Edges>("edges");

    const QSize s(1000, 600);
    const Qt::Edges none;
    QTest::newRow("centre is client area") << QPoint(500, 300) << s << 2 << none;
    QTest::newRow("column 0 is not a band") << QPoint(0, 300) << s << 2 << none;
    QTest::newRow("row 0 is not a band") << QPoint(500, 0) << s << 2 << none;
    QTest::newRow("top-left pixel") << QPoint(0, 0) << s << 2 << none;
    QTest::newRow("left band starts at 1") << QPoint(1, 300) << s << 10 << Qt::Edges(Qt::LeftEdge);
    QTest::newRow("left band ends at 5") << QPoint(5, 300) << s << 10 << Qt::Edges(Qt::LeftEdge);
    QTest::newRow("6 is past the left band") << QPoint(6, 300) << s << 2 << none;
    QTest::newRow("last column is right") << QPoint(999, 300) << s << 11 << Qt::Edges(Qt::RightEdge);
    QTest::newRow("right band starts 4 before") << QPoint(995, 300) << s << 11 << Qt::Edges(Qt::RightEdge);
    QTest::newRow("5 before the last is client") << QPoint(994, 300) << s << 2 << none;
    QTest::newRow("3 from the right, 20 from the top")
        << QPoint(996, 20) << s << 11 << Qt::Edges(Qt::RightEdge);
    QTest::newRow("top band starts at 1") << QPoint(500, 1) << s << 12 << Qt::Edges(Qt::TopEdge);
    QTest::newRow("top band ends at 5") << QPoint(500, 5) << s << 12 << Qt::Edges(Qt::TopEdge);
    QTest::newRow("last row is bottom") << QPoint(500, 599) << s << 15 << Qt::Edges(Qt::BottomEdge);
    QTest::newRow("bottom band starts 4 before") << QPoint(500, 595) << s << 15 << Qt::Edges(Qt::BottomEdge);
    QTest::newRow("5 before the last row is client") << QPoint(500, 594) << s << 2 << none;
    QTest::newRow("top-left corner") << QPoint(3, 3) << s << 13 << (Qt::TopEdge | Qt::LeftEdge);
    QTest::newRow("top-right corner") << QPoint(997, 2) << s << 14 << (Qt::TopEdge | Qt::RightEdge);
    QTest::newRow("bottom-left corner") << QPoint(1, 599) << s << 16 << (Qt::BottomEdge | Qt::LeftEdge);
    QTest::newRow("bottom-right corner near")
        << QPoint(995, 595) << s << 17 << (Qt::BottomEdge | Qt::RightEdge);
    QTest::newRow("bottom-right corner far")
        << QPoint(999, 599) << s << 17 << (Qt::BottomEdge | Qt::RightEdge);
    QTest::newRow("column 0 in the bottom band") << QPoint(0, 598) << s << 15 << Qt::Edges(Qt::BottomEdge);
    QTest::newRow("outside to the right") << QPoint(1000, 300) << s << 2 << none;
    // Overlapping bands on a tiny window: bottom beats top, the bottom-right corner wins.
    QTest::newRow("tiny: top and bottom overlap")
        << QPoint(20, 4) << QSize(40, 8) << 15 << Qt::Edges(Qt::BottomEdge);
    QTest::newRow("tiny: all four overlap")
        << QPoint(3, 3) << QSize(8, 8) << 17 << (Qt::BottomEdge | Qt::RightEdge);
    QTest::newRow("tiny: left and right overlap at the top")
        << QPoint(3, 2) << QSize(8, 100) << 14 << (Qt::TopEdge | Qt::RightEdge);
}

void TestFrameless::hitTestBands()
{
    QFETCH(QPoint, position);
    QFETCH(QSize, size);
    QFETCH(int, code);
    QFETCH(Qt::Edges, edges);

    const FrameHitCode hit = FrameHitTest(position, size);
    QCOMPARE(static_cast<int>(hit), code);
    QCOMPARE(FrameEdgesForHit(hit), edges);
}

void TestFrameless::defaultSizeFollowsScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("800 x 600") << QSize(800, 600) << QSize(560, 240);
    QTest::newRow("1366 x 768") << QSize(1366, 768) << QSize(956, 307);
    QTest::newRow("just below full HD") << QSize(1919, 1079) << QSize(1343, 431);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QSize(1344, 432);
    QTest::newRow("2560 x 1440") << QSize(2560, 1440) << QSize(1344, 432);
    QTest::newRow("portrait 1080 x 1920") << QSize(1080, 1920) << QSize(756, 432);
}

void TestFrameless::defaultSizeFollowsScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, expected);
    QCOMPARE(FrameDefaultSize(screen), expected);
}

void TestFrameless::layoutFollowsEverySize_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QSize>("size");

    for (const bool dialog : { false, true }) {
        const char *kind = dialog ? "dialog" : "window";
        QTest::addRow("%s 1000 x 600", kind) << dialog << QSize(1000, 600);
        QTest::addRow("%s minimum", kind) << dialog << QSize(480, 270);
        QTest::addRow("%s 1920 x 1040", kind) << dialog << QSize(1920, 1040);
        QTest::addRow("%s 777 x 333", kind) << dialog << QSize(777, 333);
    }
}

void TestFrameless::layoutFollowsEverySize()
{
    QFETCH(bool, dialog);
    QFETCH(QSize, size);

    QScopedPointer<QWidget> window(dialog ? static_cast<QWidget *>(new MyFramelessDialog)
                                          : static_cast<QWidget *>(new MyFramelessWindow));
    window->show();
    // Each size change alone, without any explicit layout call, must move the frame parts.
    window->resize(size);
    QCOMPARE(window->size(), size);

    const auto *central = window->findChild<QWidget *>(QStringLiteral("CentralWidget"));
    const auto *icon = window->findChild<QLabel *>(QStringLiteral("TitleBarIcon"));
    const auto *title = window->findChild<QLabel *>(QStringLiteral("TitleBarText"));
    const auto *minButton = window->findChild<QPushButton *>(QStringLiteral("TitleBarMin"));
    const auto *maxButton = window->findChild<QPushButton *>(QStringLiteral("TitleBarMax"));
    const auto *closeButton = window->findChild<QPushButton *>(QStringLiteral("TitleBarClose"));
    QVERIFY(central && icon && title && minButton && maxButton && closeButton);
    const QWidget *titleBar = title->parentWidget();
    const QWidget *content = window->findChild<QGridLayout *>()->parentWidget();

    const int w = size.width();
    const int h = size.height();
    QCOMPARE(central->geometry(), QRect(0, 0, w, h));
    QCOMPARE(titleBar->geometry(), QRect(0, 0, w, 48));
    QCOMPARE(icon->geometry(), QRect(0, 0, 48, 48));
    QCOMPARE(title->geometry(), QRect(48, 0, w - 192, 48));
    QCOMPARE(minButton->geometry(), QRect(w - 144, 0, 48, 48));
    QCOMPARE(maxButton->geometry(), QRect(w - 96, 0, 48, 48));
    QCOMPARE(closeButton->geometry(), QRect(w - 48, 0, 48, 48));
    QCOMPARE(content->geometry(), QRect(0, 48, w, h - 48));
}

void TestFrameless::contentWidgetFillsContentArea()
{
    MyFramelessWindow window;
    auto *page = new QWidget;
    window.SetContentWidget(page);
    window.show();
    window.resize(1000, 600);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(page->geometry(), QRect(0, 0, 1000, 552));
    QCOMPARE(page->mapTo(&window, QPoint(0, 0)), QPoint(0, 48));

    window.SetTitleText(QStringLiteral(" Tavilon"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("TitleBarText"))->text(), QStringLiteral(" Tavilon"));
}

void TestFrameless::maximiseAndRestore()
{
    UseShippedData();
    MyFramelessWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *maxButton = window.findChild<QPushButton *>(QStringLiteral("TitleBarMax"));
    auto *title = window.findChild<QLabel *>(QStringLiteral("TitleBarText"));
    const QImage maxPicture(AppDir() + QStringLiteral("/TitleBar/Image/MaxSize.png"));
    const QImage normalPicture(AppDir() + QStringLiteral("/TitleBar/Image/NormalSize.png"));
    auto shownPicture = [maxButton] { return maxButton->icon().pixmap(QSize(32, 32)).toImage(); };
    QCOMPARE(shownPicture(), maxPicture.convertToFormat(shownPicture().format()));

    QTest::mouseClick(maxButton, Qt::LeftButton);
    QVERIFY(window.IsMaximisedByButton());
    QTRY_VERIFY(window.isMaximized());
    QCOMPARE(shownPicture(), normalPicture.convertToFormat(shownPicture().format()));
    // The frame follows the maximised size.
    QTRY_COMPARE(maxButton->geometry().right(), window.width() - 48 - 1);

    // A double-click on the content area does nothing; on the title bar it restores.
    auto *page = new QLabel;
    window.SetContentWidget(page);
    QTest::mouseDClick(page, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(window.IsMaximisedByButton());
    QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(!window.IsMaximisedByButton());
    QTRY_VERIFY(!window.isMaximized());
    QCOMPARE(shownPicture(), maxPicture.convertToFormat(shownPicture().format()));

    // A double-click never maximises; the button does, again.
    QTest::mouseDClick(title, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QVERIFY(!window.isMaximized());
    QTest::mouseClick(maxButton, Qt::LeftButton);
    QTRY_VERIFY(window.isMaximized());
    QTest::mouseClick(maxButton, Qt::LeftButton);
    QTRY_VERIFY(!window.isMaximized());
    QVERIFY(!window.IsMaximisedByButton());
}

void TestFrameless::dragByTitleBar_data()
{
    QTest::addColumn<int>("pressButton");
    QTest::addColumn<int>("releaseButton");
    QTest::addColumn<QPoint>("moveAfterPress");
    QTest::addColumn<QPoint>("expectedShift");
    QTest::addColumn<QPoint>("moveAfterRelease");

    QTest::newRow("left button drags")
        << int(Qt::LeftButton) << int(Qt::LeftButton) << QPoint(30, 15) << QPoint(30, 15) << QPoint(50, 50);
    QTest::newRow("drag to the upper left")
        << int(Qt::LeftButton) << int(Qt::LeftButton) << QPoint(-25, -7) << QPoint(-25, -7) << QPoint(0, 0);
    QTest::newRow("right button does not drag")
        << int(Qt::RightButton) << int(Qt::RightButton) << QPoint(30, 15) << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("any release ends the drag")
        << int(Qt::LeftButton) << int(Qt::RightButton) << QPoint(10, 10) << QPoint(10, 10) << QPoint(40, 40);
}

void TestFrameless::dragByTitleBar()
{
    QFETCH(int, pressButton);
    QFETCH(int, releaseButton);
    QFETCH(QPoint, moveAfterPress);
    QFETCH(QPoint, expectedShift);
    QFETCH(QPoint, moveAfterRelease);

    MyFramelessWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.move(200, 150);
    const QPoint start = window.pos();
    auto *title = window.findChild<QLabel *>(QStringLiteral("TitleBarText"));
    const QPoint grab(100, 20);
    const auto pressed = Qt::MouseButton(pressButton);

    SendMouse(title, QEvent::MouseButtonPress, grab, pressed, pressed);
    // The label's coordinates move with the window: the grabbed point stays under the cursor.
    SendMouse(title, QEvent::MouseMove, grab + moveAfterPress, Qt::NoButton, pressed);
    QCOMPARE(window.pos(), start + expectedShift);
    SendMouse(title, QEvent::MouseButtonRelease, grab + moveAfterPress, Qt::MouseButton(releaseButton),
        Qt::NoButton);
    SendMouse(title, QEvent::MouseMove, grab + moveAfterRelease, Qt::NoButton, Qt::NoButton);
    QCOMPARE(window.pos(), start + expectedShift);
}

void TestFrameless::resizeFromBorders_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");

    // Window at (200, 150), 1000 x 600, minimum 480 x 270.
    for (const bool dialog : { false, true }) {
        const char *kind = dialog ? "dialog" : "window";
        QTest::addRow("%s left grows", kind)
            << dialog << QPoint(2, 300) << QPoint(-50, 9) << QRect(150, 150, 1050, 600);
        QTest::addRow("%s right shrinks", kind)
            << dialog << QPoint(997, 300) << QPoint(-100, 0) << QRect(200, 150, 900, 600);
        QTest::addRow("%s top grows", kind)
            << dialog << QPoint(500, 3) << QPoint(7, -40) << QRect(200, 110, 1000, 640);
        QTest::addRow("%s bottom-right corner", kind)
            << dialog << QPoint(998, 598) << QPoint(20, 30) << QRect(200, 150, 1020, 630);
        QTest::addRow("%s top-left stops at the minimum", kind)
            << dialog << QPoint(2, 2) << QPoint(900, 900) << QRect(720, 480, 480, 270);
    }
}

void TestFrameless::resizeFromBorders()
{
    QFETCH(bool, dialog);
    QFETCH(QPoint, press);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);

    QScopedPointer<QWidget> window(dialog ? static_cast<QWidget *>(new MyFramelessDialog)
                                          : static_cast<QWidget *>(new MyFramelessWindow));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    window->setGeometry(200, 150, 1000, 600);
    QTRY_COMPARE(window->geometry(), QRect(200, 150, 1000, 600));
    QWindow *handle = window->windowHandle();

    // Through the native window, as the window system delivers a press on the border. The
    // cursor ends at one screen point; its position inside the window changes as the
    // window's left or top edge moves.
    const QPoint target = handle->mapToGlobal(press) + delta;
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseMove(handle, handle->mapFromGlobal(target));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, handle->mapFromGlobal(target));
    QTRY_COMPARE(window->geometry(), expected);
    // Frame parts follow the new size.
    const auto *closeButton = window->findChild<QPushButton *>(QStringLiteral("TitleBarClose"));
    QCOMPARE(closeButton->geometry().right(), expected.width() - 1);
}

void TestFrameless::bandCursorShapes_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("shape");

    QTest::newRow("left") << QPoint(3, 300) << int(Qt::SizeHorCursor);
    QTest::newRow("right") << QPoint(998, 300) << int(Qt::SizeHorCursor);
    QTest::newRow("top") << QPoint(500, 2) << int(Qt::SizeVerCursor);
    QTest::newRow("bottom") << QPoint(500, 597) << int(Qt::SizeVerCursor);
    QTest::newRow("top-left") << QPoint(2, 2) << int(Qt::SizeFDiagCursor);
    QTest::newRow("bottom-right") << QPoint(998, 598) << int(Qt::SizeFDiagCursor);
    QTest::newRow("top-right") << QPoint(998, 2) << int(Qt::SizeBDiagCursor);
    QTest::newRow("bottom-left") << QPoint(2, 598) << int(Qt::SizeBDiagCursor);
}

void TestFrameless::bandCursorShapes()
{
    QFETCH(QPoint, position);
    QFETCH(int, shape);

    MyFramelessWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(1000, 600);
    QTRY_COMPARE(window.size(), QSize(1000, 600));
    QWindow *handle = window.windowHandle();

    QTest::mouseMove(handle, position);
    QCOMPARE(int(handle->cursor().shape()), shape);
    // Leaving the band gives the cursor back to the widget under the mouse.
    QTest::mouseMove(handle, QPoint(500, 300));
    QCOMPARE(int(handle->cursor().shape()), int(Qt::ArrowCursor));
}

void TestFrameless::noBorderResizeWhenFixedOrMaximised()
{
    MyFramelessDialog fixedDialog;
    fixedDialog.setFixedSize(340, 432);
    fixedDialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixedDialog));
    const QRect before = fixedDialog.geometry();
    QTest::mousePress(fixedDialog.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(338, 430));
    QTest::mouseMove(fixedDialog.windowHandle(), QPoint(400, 500));
    QTest::mouseRelease(fixedDialog.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 500));
    QCOMPARE(fixedDialog.size(), before.size());
    QTest::mouseMove(fixedDialog.windowHandle(), QPoint(338, 200));
    QVERIFY(fixedDialog.windowHandle()->cursor().shape() != Qt::SizeHorCursor);
    fixedDialog.close();

    MyFramelessWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("TitleBarMax")), Qt::LeftButton);
    const QSize maximised = window.screen()->availableGeometry().size();
    QTRY_COMPARE(window.size(), maximised);
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 200));
    QTest::mouseMove(window.windowHandle(), QPoint(60, 200));
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 200));
    QCOMPARE(window.size(), maximised);
}

void TestFrameless::titleBarPicturesAndStyle_data()
{
    QTest::addColumn<bool>("shipped");
    QTest::newRow("shipped pictures and style sheet") << true;
    QTest::newRow("nothing installed") << false;
}

void TestFrameless::titleBarPicturesAndStyle()
{
    QFETCH(bool, shipped);
    if (shipped)
        UseShippedData();

    MyFramelessWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto *icon = window.findChild<QLabel *>(QStringLiteral("TitleBarIcon"));
    for (const char *name : { "TitleBarMin", "TitleBarMax", "TitleBarClose" })
        QCOMPARE(window.findChild<QPushButton *>(QLatin1String(name))->icon().isNull(), !shipped);
    QCOMPARE(!icon->pixmap(Qt::ReturnByValue).isNull(), shipped);
    QCOMPARE(window.styleSheet().contains(QLatin1String("#TitleBarClose")), shipped);
    QCOMPARE(window.windowFlags() & (Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint),
        Qt::WindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint));

    // The window's own icon replaces the default picture; a missing file keeps it.
    const QString logo = AppDir() + QStringLiteral("/APP/Image/mainui_logo.png");
    window.SetTitleIcon(logo);
    QCOMPARE(!icon->pixmap(Qt::ReturnByValue).isNull(), shipped);
    if (shipped) {
        const QImage shown = icon->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(shown, QImage(logo).convertToFormat(shown.format()));
    }
    QVERIFY(icon->hasScaledContents() || !shipped);

    // Plain or pictured, the buttons work.
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("TitleBarMin")), Qt::LeftButton);
    QTRY_VERIFY(window.isMinimized());
    window.showNormal();
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("TitleBarClose")), Qt::LeftButton);
    QTRY_VERIFY(!window.isVisible());
}

void TestFrameless::dialogOnlyMovesResizesAndCloses()
{
    UseShippedData();
    MyFramelessDialog dialog;
    QCOMPARE(QByteArray(dialog.metaObject()->className()), QByteArray("MyFramelessDialog"));
    QCOMPARE(dialog.pos(), QPoint(120, 120));
    QCOMPARE(dialog.minimumSize(), QSize(480, 270));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("TitleBarMin"))->isEnabled());
    QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("TitleBarMax"))->isEnabled());
    QVERIFY(dialog.findChild<QPushButton *>(QStringLiteral("TitleBarClose"))->isEnabled());
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("TitleBarMax")), Qt::LeftButton);
    QVERIFY(!dialog.isMaximized());

    // Maximised by other means, a dialog is still restored by a double-click on its title bar.
    dialog.showMaximized();
    QTRY_VERIFY(dialog.isMaximized());
    QTest::mouseDClick(
        dialog.findChild<QLabel *>(QStringLiteral("TitleBarText")), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTRY_VERIFY(!dialog.isMaximized());

    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("TitleBarClose")), Qt::LeftButton);
    QTRY_VERIFY(!dialog.isVisible());
}

void TestFrameless::metaObjectsOfTheTwins_data()
{
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QByteArray>("className");
    QTest::addColumn<QByteArray>("qtBaseName");

    QTest::newRow("window") << false << QByteArray("MyFramelessWindow") << QByteArray("QWidget");
    QTest::newRow("dialog") << true << QByteArray("MyFramelessDialog") << QByteArray("QDialog");
}

void TestFrameless::metaObjectsOfTheTwins()
{
    QFETCH(bool, dialog);
    QFETCH(QByteArray, className);
    QFETCH(QByteArray, qtBaseName);

    QScopedPointer<QWidget> window(dialog ? static_cast<QWidget *>(new MyFramelessDialog)
                                          : static_cast<QWidget *>(new MyFramelessWindow));
    const QMetaObject *meta = window->metaObject();
    QCOMPARE(QByteArray(meta->className()), className);
    QCOMPARE(QByteArray(meta->superClass()->className()), qtBaseName);
    // Own methods: the three title-bar slots in this order, and no signals.
    QList<QByteArray> ownMethods;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        ownMethods << meta->method(i).methodSignature();
    const QList<QByteArray> expected { "SLOT_WindowMin()", "SLOT_WindowMax()", "SLOT_WindowClose()" };
    QCOMPARE(ownMethods, expected);
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        QCOMPARE(meta->method(i).access(), QMetaMethod::Private);
}

void TestFrameless::messageBoxOk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pressEscape");
    QTest::addColumn<bool>("withPicture");

    QTest::newRow("message, OK clicked") << "Password error!" << false << true;
    QTest::newRow("composed text, Escape")
        << "Unable to communicate with device!Error Code:GET MODEL TYPE" << true << true;
    QTest::newRow("several lines") << "1-Sync Config Info....\n2-Please ReConnect App!" << false << true;
    QTest::newRow("markup is shown as text") << "<b>OUT1</b> &amp; <i>x</i>" << false << false;
    QTest::newRow("empty text, no picture") << "" << true << false;
}

void TestFrameless::messageBoxOk()
{
    QFETCH(QString, text);
    QFETCH(bool, pressEscape);
    QFETCH(bool, withPicture);
    if (withPicture)
        UseShippedData();

    QWidget parent;
    parent.move(140, 90);
    parent.resize(400, 300);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    ModalBoxDriver driver([pressEscape](QMessageBox *box) {
        if (pressEscape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            ClickButton(box, MessageBoxOkObjectName);
    });
    MessageBoxOk(text, &parent);

    QVERIFY(driver.found);
    QCOMPARE(driver.shownText, text);
    QCOMPARE(driver.shownFormat, Qt::PlainText);
    QCOMPARE(driver.shownTitle, QStringLiteral(" "));
    // Centred over the window (a box and a window of even and odd sizes may differ by one
    // pixel in where their centres fall).
    const QPoint offset = QRect(driver.shownPosition, driver.shownSize).center() - parent.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(driver.shownIcon, withPicture);
    QCOMPARE(driver.buttonTexts, QStringList { QStringLiteral("OK") });
    QVERIFY(!QApplication::activeModalWidget());
}

void TestFrameless::messageBoxYesNo_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("expected");

    QTest::newRow("YES") << "yes" << true;
    QTest::newRow("NO") << "no" << false;
    QTest::newRow("Escape") << "escape" << false;
    QTest::newRow("window closed") << "close" << false;
    QTest::newRow("Enter on the default button") << "enter" << true;
}

void TestFrameless::messageBoxYesNo()
{
    QFETCH(QString, how);
    QFETCH(bool, expected);

    QWidget parent;
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    ModalBoxDriver driver([how](QMessageBox *box) {
        if (how == QLatin1String("yes"))
            ClickButton(box, MessageBoxYesObjectName);
        else if (how == QLatin1String("no"))
            ClickButton(box, MessageBoxNoObjectName);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(box, Qt::Key_Return);
        else
            box->close();
    });
    const bool answer
        = MessageBoxYesNo(QStringLiteral("Confirm to reset the device to factory settings?"), &parent);

    QVERIFY(driver.found);
    QCOMPARE(answer, expected);
    QCOMPARE(driver.shownText, QStringLiteral("Confirm to reset the device to factory settings?"));
    QCOMPARE(driver.buttonTexts, (QStringList { QStringLiteral("YES"), QStringLiteral("NO") }));
}

void TestFrameless::messageBoxPosition_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("position");

    const QRect fullHd(0, 0, 1920, 1080);
    QTest::newRow("centred over the window") << QRect(200, 100, 1000, 600) << QSize(300, 120) << fullHd
                                             << QPoint(550, 340);
    QTest::newRow("window at the top-left corner") << QRect(0, 0, 400, 300) << QSize(300, 120) << fullHd
                                                   << QPoint(50, 90);
    QTest::newRow("window partly off the right edge: box kept on screen")
        << QRect(1800, 500, 400, 300) << QSize(300, 120) << fullHd << QPoint(1620, 590);
    QTest::newRow("window partly above the top: box kept on screen")
        << QRect(100, -280, 400, 300) << QSize(300, 120) << fullHd << QPoint(150, 0);
    QTest::newRow("window on a second screen to the right")
        << QRect(2100, 200, 1000, 600) << QSize(300, 120) << QRect(1920, 0, 2560, 1440) << QPoint(2450, 440);
    QTest::newRow("screen with a panel at the top")
        << QRect(0, 0, 400, 100) << QSize(300, 200) << QRect(0, 40, 1366, 728) << QPoint(50, 40);
    QTest::newRow("box larger than the screen keeps its corner on it")
        << QRect(0, 0, 800, 600) << QSize(1000, 700) << QRect(0, 0, 800, 600) << QPoint(0, 0);
}

void TestFrameless::messageBoxPosition()
{
    QFETCH(QRect, window);
    QFETCH(QSize, box);
    QFETCH(QRect, screen);
    QFETCH(QPoint, position);

    QCOMPARE(MessageBoxPositionOver(window, box, screen), position);
}

// A page inside a moved main window opens a box: it appears over that window, wholly on the
// (800 x 600 offscreen) screen.
void TestFrameless::messageBoxOverMovedWindow_data()
{
    QTest::addColumn<QPoint>("windowPosition");

    QTest::newRow("top-left") << QPoint(0, 0);
    QTest::newRow("middle") << QPoint(180, 140);
    QTest::newRow("bottom-right, partly off screen") << QPoint(600, 450);
}

void TestFrameless::messageBoxOverMovedWindow()
{
    QFETCH(QPoint, windowPosition);

    QWidget window;
    window.resize(420, 320);
    auto *container = new QWidget(&window);
    container->setGeometry(10, 60, 400, 250);
    auto *page = new QWidget(container);
    page->setGeometry(5, 5, 200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.move(windowPosition);

    ModalBoxDriver driver([](QMessageBox *box) { ClickButton(box, MessageBoxOkObjectName); });
    MessageBoxOk(QStringLiteral("Network connect error,please reconnect network!!!"), page);

    QVERIFY(driver.found);
    const QRect boxFrame(driver.shownPosition, driver.shownSize);
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY(screen.contains(boxFrame));
    const QRect windowOnScreen = window.frameGeometry().intersected(screen);
    if (window.frameGeometry() == windowOnScreen) {
        const QPoint offset = boxFrame.center() - window.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    } else {
        // Pushed back onto the screen, but still over the window.
        QVERIFY(boxFrame.intersects(windowOnScreen));
        QCOMPARE(boxFrame.bottomRight(), screen.bottomRight());
    }
}

void TestFrameless::resavePngImage_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("rewritten");

    const QByteArray png = PngWithMarker(TestImage(40, 30, false));
    QTest::newRow("png is rewritten") << "mainui_logo.png" << png << true;
    QTest::newRow("capital PNG is left alone") << "logo.PNG" << png << false;
    QTest::newRow("complete suffix tar.png is left alone") << "logo.tar.png" << png << false;
    QTest::newRow("other suffix is left alone") << "logo.jpg" << png << false;
    QTest::newRow("broken picture is left alone") << "broken.png" << QByteArray("not a picture") << false;
    QTest::newRow("truncated picture is left alone") << "cut.png" << png.left(60) << false;
}

void TestFrameless::resavePngImage()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    QFETCH(bool, rewritten);

    const QString path = AppDir() + QLatin1Char('/') + fileName;
    QVERIFY(WriteBytes(path, content));
    const QImage before = QImage::fromData(content, "png");

    ResavePngImage(path);
    const QByteArray after = ReadBytes(path);
    QCOMPARE(after != content, rewritten);
    QCOMPARE(after.contains("tvMk"), !rewritten && content.contains("tvMk"));
    if (rewritten)
        QCOMPARE(QImage::fromData(after, "png").convertToFormat(before.format()), before);
    QCOMPARE(QDir(AppDir()).entryList(QDir::Files), QStringList { fileName });

    // A missing file stays missing.
    ResavePngImage(AppDir() + QStringLiteral("/missing.png"));
    QVERIFY(!QFile::exists(AppDir() + QStringLiteral("/missing.png")));
}

void TestFrameless::interruptedResaveKeepsPicture()
{
    const QString path = AppDir() + QStringLiteral("/fail.png");
    const QByteArray original = PngWithMarker(TestImage(400, 400, true));
    QVERIFY(original.size() > 256 * 1024);
    QVERIFY(WriteBytes(path, original));

    // Every write beyond 64 KiB fails (EFBIG) part-way through the new picture.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    LimitFileSize(64 * 1024);
    ResavePngImage(path);
    LiftFileSizeLimit();
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(ReadBytes(path), original);
    QCOMPARE(QDir(AppDir()).entryList(QDir::Files), QStringList { QStringLiteral("fail.png") });
}

// A picture is normalised once per process while it holds what was written for it; a picture
// changed in between, even back to its first content, is normalised again.
void TestFrameless::repeatedResave_data()
{
    QTest::addColumn<QByteArray>("between");
    QTest::addColumn<bool>("normalisedAgain");

    const QByteArray first = PngWithMarker(TestImage(40, 30, false));
    QTest::newRow("unchanged") << QByteArray() << false;
    QTest::newRow("another picture") << PngWithMarker(TestImage(60, 20, true)) << true;
    QTest::newRow("the first picture again") << first << true;
    QTest::newRow("picture broken in between") << QByteArray("not a picture") << false;
}

void TestFrameless::repeatedResave()
{
    QFETCH(QByteArray, between);
    QFETCH(bool, normalisedAgain);

    const QString path = AppDir() + QStringLiteral("/twice-") + QTest::currentDataTag() + QStringLiteral(".png");
    QVERIFY(WriteBytes(path, PngWithMarker(TestImage(40, 30, false))));
    ResavePngImage(path);
    const QByteArray once = ReadBytes(path);
    QVERIFY(!once.contains("tvMk"));
    if (!between.isEmpty())
        QVERIFY(WriteBytes(path, between));
    const QByteArray before = ReadBytes(path);

    ResavePngImage(path);
    const QByteArray after = ReadBytes(path);
    QCOMPARE(after != before, normalisedAgain);
    QVERIFY(!after.contains("tvMk") || !normalisedAgain);
    // What is left in place is exactly what a fresh normalisation of it writes.
    if (!after.startsWith("not")) {
        QByteArray fresh;
        QBuffer buffer(&fresh);
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        QVERIFY(QImage::fromData(after).save(&buffer, "png"));
        QCOMPARE(fresh, after);
    }
    QVERIFY(QFile::remove(path));
}

void TestFrameless::styleSheetsParse_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("application") << "/APP/StyleSheet/default.qss";
    QTest::newRow("title bar") << "/TitleBar/StyleSheet/SystemTitle.qss";
}

namespace {
QStringList g_capturedWarnings;
void CaptureWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        g_capturedWarnings << message;
}
} // namespace

void TestFrameless::styleSheetsParse()
{
    QFETCH(QString, relativePath);
    const QString path = TestSourceDir() + relativePath;
    QVERIFY(QFile::exists(path));

    // Qt drops an unparsable sheet with only a warning; render a sample so every rule is used.
    g_capturedWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CaptureWarnings);
    QWidget sample;
    sample.setStyleSheet(ConfigFile_ReadStyleSheetText(path));
    auto *button = new QPushButton(QStringLiteral("OK"), &sample);
    button->setObjectName(QStringLiteral("TitleBarClose"));
    new QLabel(QStringLiteral("text"), &sample);
    sample.show();
    sample.grab();
    qInstallMessageHandler(previous);

    const QStringList parseWarnings = g_capturedWarnings.filter(QStringLiteral("parse"));
    QVERIFY2(parseWarnings.isEmpty(), qPrintable(parseWarnings.join(QLatin1Char('\n'))));
}

void TestFrameless::loadStyleSheetAppliesOrSkips()
{
    const QString path = AppDir() + QStringLiteral("/APP/StyleSheet/default.qss");
    QVERIFY(WriteBytes(path, QByteArray("QLabel { color: #123456; }\0ignored", 35)));
    LoadStyleSheet(path);
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QLabel { color: #123456; }"));

    // A missing file leaves the current look as it is.
    LoadStyleSheet(AppDir() + QStringLiteral("/missing.qss"));
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QLabel { color: #123456; }"));
}

void TestFrameless::flatButtonsLookSelected()
{
    LoadStyleSheet(TestSourceDir() + QStringLiteral("/APP/StyleSheet/default.qss"));
    QWidget panel;
    panel.resize(300, 100);
    auto *routed = new QPushButton(&panel);
    routed->setGeometry(10, 10, 66, 22);
    routed->setFlat(true);
    auto *plain = new QPushButton(&panel);
    plain->setGeometry(100, 10, 66, 22);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    auto centreColour = [](QPushButton *button) { return button->grab().toImage().pixelColor(33, 11); };
    const QColor selectedLook = centreColour(routed);
    const QColor normalLook = centreColour(plain);
    QVERIFY2(qAbs(selectedLook.lightness() - normalLook.lightness()) > 60,
        qPrintable(selectedLook.name() + QLatin1Char(' ') + normalLook.name()));

    // The pages change routes while the buttons are shown: the look must follow at once.
    routed->setFlat(false);
    plain->setFlat(true);
    QCOMPARE(centreColour(plain), selectedLook);
    QCOMPARE(centreColour(routed), normalLook);
}

// A later run knows the normalised forms an earlier one wrote (they are recorded beside the
// pictures), so a picture holding one is not decoded and written again; anything else is.
void TestFrameless::normalisedFormKnownAcrossRuns_data()
{
    QTest::addColumn<bool>("sameBytesAsNormalised");
    QTest::addColumn<bool>("rewritten");

    QTest::newRow("a normalised form, at another path") << true << false;
    QTest::newRow("the same picture with an extra chunk") << false << true;
}

void TestFrameless::normalisedFormKnownAcrossRuns()
{
    QFETCH(bool, sameBytesAsNormalised);
    QFETCH(bool, rewritten);

    QVERIFY(QDir().mkpath(AppDir() + QStringLiteral("/APP/Image")));
    const QString first = AppDir() + QStringLiteral("/first.png");
    QVERIFY(WriteBytes(first, PngWithMarker(TestImage(30, 20, true))));
    ResavePngImage(first);
    const QByteArray normalised = ReadBytes(first);
    const QByteArray digest = QCryptographicHash::hash(normalised, QCryptographicHash::Sha1).toHex();
    QVERIFY(ReadBytes(AppDir() + QStringLiteral("/APP/Image/.normalised-pictures")).contains(digest));

    const QString second = AppDir() + QStringLiteral("/second.png");
    const QByteArray content = sameBytesAsNormalised ? normalised : PngWithMarker(TestImage(30, 20, true));
    QVERIFY(WriteBytes(second, content));
    struct stat before {};
    QCOMPARE(stat(QFile::encodeName(second).constData(), &before), 0);
    ResavePngImage(second);
    struct stat after {};
    QCOMPARE(stat(QFile::encodeName(second).constData(), &after), 0);
    // The normalised picture replaces the file, so a rewritten picture is a new file.
    QCOMPARE(after.st_ino != before.st_ino, rewritten);
    QCOMPARE(ReadBytes(second), normalised);
}

// A combo whose list view is given when the list first opens shows the list exactly as one
// that had its list view from the start: styled rows of the same height, the same frame.
void TestFrameless::comboListGivenAtFirstOpenLooksTheSame()
{
    UseShippedData();
    LoadStyleSheet(AppDir() + QStringLiteral("/APP/StyleSheet/default.qss"));
    MyFramelessWindow window;
    auto *page = new QWidget;
    window.SetContentWidget(page);
    const QStringList items { QStringLiteral("LeftTop"), QStringLiteral("RightTop"), QStringLiteral("USER") };
    auto *fromStart = new MyComboBox(page);
    fromStart->setView(new QListView());
    auto *givenLate = new MyComboBox(page);
    givenLate->UseListViewWhenOpened();
    for (MyComboBox *combo : { fromStart, givenLate })
        combo->addItems(items);
    givenLate->move(0, 40);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVector<QVector<int>> looks;
    for (MyComboBox *combo : { fromStart, givenLate }) {
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        QTRY_VERIFY(view->isVisible());
        looks.append({ view->visualRect(view->model()->index(0, 0)).height(),
            view->visualRect(view->model()->index(2, 0)).bottom(), view->frameWidth(), view->height() });
        combo->hidePopup();
    }
    QCOMPARE(looks.at(1), looks.at(0));
    QVERIFY(looks.at(0).at(0) >= 22);
}

// A window of fixed size (the EDID and scene dialogs, the login window) offers no maximise
// button; the buttons it has stay flush at the right end of the title bar.
void TestFrameless::fixedSizeWindowHasNoMaximiseButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("maximiseShown");

    QTest::newRow("EDID dialog") << "edid" << false;
    QTest::newRow("scene dialog") << "saveload" << false;
    QTest::newRow("dialog of fixed size") << "fixed dialog" << false;
    QTest::newRow("resizable dialog") << "dialog" << true;
    QTest::newRow("resizable window") << "window" << true;
}

void TestFrameless::fixedSizeWindowHasNoMaximiseButton()
{
    QFETCH(QString, window);
    QFETCH(bool, maximiseShown);

    QScopedPointer<QWidget> widget;
    if (window == QLatin1String("edid"))
        widget.reset(new Ui_Edid);
    else if (window == QLatin1String("saveload"))
        widget.reset(new Ui_SaveLoad);
    else if (window == QLatin1String("window"))
        widget.reset(new MyFramelessWindow);
    else
        widget.reset(new MyFramelessDialog);
    if (window == QLatin1String("fixed dialog"))
        widget->setFixedSize(500, 300);
    widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(widget.data()));

    auto *maximise = widget->findChild<QPushButton *>(QStringLiteral("TitleBarMax"));
    auto *minimise = widget->findChild<QPushButton *>(QStringLiteral("TitleBarMin"));
    auto *close = widget->findChild<QPushButton *>(QStringLiteral("TitleBarClose"));
    QVERIFY(maximise && minimise && close);
    QCOMPARE(maximise->isVisible(), maximiseShown);
    QCOMPARE(close->geometry().right(), widget->width() - 1);
    QCOMPARE(minimise->geometry().right() + 1, (maximiseShown ? maximise : close)->geometry().left());
}

QTEST_MAIN(TestFrameless)
#include "tst_frameless.moc"
