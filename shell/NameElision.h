// Port names in fixed-size labels: a name that does not fit ends in "…", and the tooltip
// always gives the whole name with the page's hint (how to rename it).
#pragma once

#include <QString>

class QFont;
class QLabel;

// The name as it fits in width pixels on one line of the font, ending in "…" when cut.
QString ElideNameToWidth(const QString &name, const QFont &font, int width);
// The tooltip of a shown name: the whole name, then the hint on its own line.
QString NameTooltip(const QString &name, const QString &hint);
// Puts the name on the label, cut to the label's width, with the tooltip above.
void ShowElidedName(QLabel *label, const QString &name, const QString &hint);
// The whole name a label shows cut, or its text when it shows no name.
QString FullNameOf(const QLabel *label);
