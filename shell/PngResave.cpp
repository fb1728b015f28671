#include "shell/PngResave.h"

#include "settings/AppPaths.h"
#include "settings/ConfigFile.h"

#include <QBuffer>
#include <QCryptographicHash>
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

// The same knowledge across runs: the SHA-1 of every normalised form this program wrote,
// newest last, kept beside the pictures. Decoding and encoding the login picture alone took
// a third of the time to the login window at every start. A file whose bytes have one of
// these digests is byte for byte a normalised form, wherever it lies; any other file is
// normalised as before. A missing or unwritable record only costs that time again.
constexpr int RememberedDigests = 512;

QString DigestRecordPath()
{
    return ConfigFile_AppDir() + QStringLiteral("/APP/Image/.normalised-pictures");
}

QByteArray Digest(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

QList<QByteArray> &NormalisedDigests()
{
    static QList<QByteArray> digests;
    static QString readFrom;
    // Read again whenever the program's directory is another one.
    if (readFrom != DigestRecordPath()) {
        readFrom = DigestRecordPath();
        digests.clear();
        QFile record(readFrom);
        if (record.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : record.readAll().split('\n')) {
                const QByteArray digest = line.trimmed();
                if (digest.size() == 40)
                    digests.append(digest);
            }
        }
    }
    return digests;
}

void RememberNormalised(const QByteArray &bytes)
{
    QList<QByteArray> &digests = NormalisedDigests();
    const QByteArray digest = Digest(bytes);
    if (digests.contains(digest))
        return;
    digests.append(digest);
    while (digests.size() > RememberedDigests)
        digests.removeFirst();
    if (!AppPaths::Current().MayRewrite(DigestRecordPath()))
        return;
    QSaveFile record(DigestRecordPath());
    if (!record.open(QIODevice::WriteOnly))
        return;
    record.write(digests.join('\n') + '\n');
    record.commit();
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
    // An install's pictures belong to the package manager. The windows decode the file as it
    // is, which gives the same pixels as its normalised form, so nothing is lost by leaving it.
    if (!AppPaths::Current().MayRewrite(path))
        return;

    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return;
    const QByteArray original = source.readAll();
    source.close();
    const auto written = WrittenPictures().constFind(path);
    if (written != WrittenPictures().constEnd() && written.value() == original)
        return;
    if (NormalisedDigests().contains(Digest(original))) {
        WrittenPictures().insert(path, original);
        return;
    }

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
    RememberNormalised(normalised);
}
