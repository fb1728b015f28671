// The yardstick of bench_startup: a minimal Qt Widgets program, one tab widget with six tabs,
// built with the same Qt and measured with the same probe as the real program.
#include "shell/ExposeProbe.h"

#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>

namespace {

// Same settling time as the real program's probe before it reads its memory after the sync.
constexpr int SettleMs = 300;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication application(argc, argv);

    QTabWidget tabs;
    for (int tab = 1; tab <= 6; ++tab)
        tabs.addTab(new QLabel(QStringLiteral("Page %1").arg(tab)), QStringLiteral("Tab %1").arg(tab));
    tabs.resize(340, 432);

    if (!ExposeProbe::Mode().isEmpty()) {
        ExposeProbe::WatchFirstExposure([] {
            ExposeProbe::PrintFirstExposure();
            QTimer::singleShot(SettleMs, [] {
                ExposeProbe::Print("rss-kb sync " + QByteArray::number(ExposeProbe::ResidentKilobytes()));
                QCoreApplication::quit();
            });
        });
    }
    tabs.show();
    return application.exec();
}
