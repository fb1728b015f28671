#include "cli/CliEdidDecode.h"

#include "cli/CliOptions.h"
#include "protocol/EdidDecoder.h"
#include "protocol/EdidJson.h"

#include <QFile>

int CliEdidDecode::Run(const QString &path, QTextStream &out, QTextStream &err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "tavilon-cli: cannot read EDID file " << path << ": " << file.errorString() << '\n';
        return CliExitFailed;
    }
    const QByteArray edid = file.read(MaxFileSize + 1);
    if (edid.size() > MaxFileSize) {
        err << "tavilon-cli: " << path << " is larger than " << MaxFileSize << " bytes: not an EDID\n";
        return CliExitFailed;
    }
    const EdidInfo info = EdidDecoder::Decode(edid);
    Print(edid, out);
    if (info.IsSound())
        return CliExitDone;
    err << "tavilon-cli: EDID file " << path << " is broken: " << info.problems.join(QStringLiteral("; ")) << '\n';
    return CliExitFailed;
}

void CliEdidDecode::Print(const QByteArray &edid, QTextStream &out)
{
    // The summary holds "×" and "·": UTF-8 whatever the locale.
    out.setCodec("UTF-8");
    out << QString::fromUtf8(EdidJson::Text(EdidDecoder::Decode(edid)));
    out.flush();
}
