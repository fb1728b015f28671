// Applying the program-wide style sheet.
#pragma once

#include <QString>

// Reads the style sheet file and sets it on the application; a missing file changes nothing.
void LoadStyleSheet(const QString &path);
