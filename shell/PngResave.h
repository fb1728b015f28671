// Normalising a PNG picture in place before it is shown.
#pragma once

#include <QString>

// Loads a file whose complete suffix is exactly "png" and writes it back in the same
// place. The new file replaces the old one only once it is completely written, so an
// interruption never leaves a broken picture. Missing or unreadable files are left alone, and
// so is every picture in a folder the program does not own (an install, a read-only copy).
void ResavePngImage(const QString &path);
