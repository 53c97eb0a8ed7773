#pragma once
// The text driver's errors name the file and, where one is at fault, the line.
#include "dataaccess/sqlerror.h"

#include <QString>

namespace da::embedded {

[[noreturn]] inline void throwTextFileError(const QString& fileName, qint64 line, const QString& what) {
    if (line > 0)
        throw SqlError(QStringLiteral("Text file '%1', line %2: %3").arg(fileName).arg(line).arg(what));
    throw SqlError(QStringLiteral("Text file '%1': %2").arg(fileName, what));
}

}  // namespace da::embedded
