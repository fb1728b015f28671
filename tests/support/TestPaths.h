// Where the tests find the built programs and the source tree.
#pragma once

#include <QString>

inline QString TestBinDir()
{
    return QStringLiteral(TAVILON_BIN_DIR);
}

inline QString TestSourceDir()
{
    return QStringLiteral(TAVILON_SOURCE_DIR);
}
