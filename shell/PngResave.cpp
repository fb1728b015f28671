#include "shell/PngResave.h"

#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

void ResavePngImage(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (info.completeSuffix() != QLatin1String("png"))
        return;

    QImage image;
    if (!image.load(path))
        return;

    // The old picture stays in place until the new one is completely on disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (!image.save(&file, "png")) {
        file.cancelWriting();
        return;
    }
    file.commit();
}
