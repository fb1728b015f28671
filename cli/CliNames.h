// The names commands of the headless client: the input and output names of the program's
// language file as CSV, and an import that prints every change and every refused row as JSON
// and writes the language file only when no row is refused.
#pragma once

#include "cli/CliOptions.h"
#include "settings/PortNamesCsv.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>

class CliNames
{
public:
    // Run once the device's port counts are known.
    static int Run(const CliOptions &options, QTextStream &out, QString *error);

    // {"changes":[{"kind":..,"number":..,"from":..,"to":..}],"refused":[{"line":..,"reason":..}]}
    static QByteArray PlanJson(const PortNamesCsv::Plan &plan);

private:
    static int Export(const QString &path, QTextStream &out, QString *error);
    static int Import(const QString &path, QTextStream &out, QString *error);
    // Writes the language file (and config.ini when there is none yet, so that the program's
    // next start does not replace the names with the defaults) and checks it by reading back.
    static bool SaveNames(QString *error);
};
