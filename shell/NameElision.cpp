#include "shell/NameElision.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVariant>

namespace {

// Room a label's frame and margins keep from its text.
constexpr int LabelPadding = 4;
const char *const FullNameProperty = "fullName";

} // namespace

QString ElideNameToWidth(const QString &name, const QFont &font, int width)
{
    return QFontMetrics(font).elidedText(name, Qt::ElideRight, qMax(0, width));
}

QString NameTooltip(const QString &name, const QString &hint)
{
    return hint.isEmpty() ? name : name + QLatin1Char('\n') + hint;
}

void ShowElidedName(QLabel *label, const QString &name, const QString &hint)
{
    // A wrapped label would break the name over lines and clip it instead.
    label->setWordWrap(false);
    const int room = label->width() - 2 * label->margin() - LabelPadding;
    label->setText(ElideNameToWidth(name, label->font(), room));
    label->setToolTip(NameTooltip(name, hint));
    label->setProperty(FullNameProperty, name);
}

QString FullNameOf(const QLabel *label)
{
    const QVariant name = label->property(FullNameProperty);
    return name.isValid() ? name.toString() : label->text();
}
