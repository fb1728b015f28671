#include "shell/PngResave.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QSaveFile>

namespace {

// The bytes this process last wrote for each picture. A picture that still holds exactly
// those bytes is already in its normalised form (decoding and encoding it again gives the
// same bytes), so the windows that show the same title-bar pictures do not decode and encode
// them again and again. Any change to the file, by whatever means, makes it differ.
QHash<QString, QByteArray> &WrittenPictures()
{
    static QHash<QString, QByteArray> written;
    return written;
}

QByteArray EncodePng(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "png"))
        return QByteArray();
    return bytes;
}

} // namespace

void ResavePngImage(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (info.completeSuffix() != QLatin1String("png"))
        return;

    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QByteArray original = source.readAll();
    source.close();
    const auto written = WrittenPictures().constFind(path);
    if (written != WrittenPictures().constEnd() && written.value() == original)
        return;

    QImage image;
    if (!image.loadFromData(original))
        return;
    const QByteArray normalised = EncodePng(image);
    if (normalised.isEmpty())
        return;

    // The old picture stays in place until the new one is completely on disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(normalised) != normalised.size()) {
        file.cancelWriting();
        return;
    }
    if (!file.commit())
        return;
    WrittenPictures().insert(path, normalised);
}
