#include "protocol/DiscoveryResult.h"

QString DiscoveryResult::linkWord() const
{
    return link == Link::Tcp ? QStringLiteral("tcp") : QStringLiteral("serial");
}

QString DiscoveryResult::kindWord() const
{
    switch (kind) {
    case Kind::Device:
        return QStringLiteral("device");
    case Kind::OtherModel:
        return QStringLiteral("other-model");
    case Kind::Silent:
        return QStringLiteral("silent");
    case Kind::Unopenable:
        return QStringLiteral("unopenable");
    }
    return QString();
}
