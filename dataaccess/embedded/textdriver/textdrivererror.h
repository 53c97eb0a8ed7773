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

inline QString rowWidthMessage(size_t values, size_t columns) {
    return QStringLiteral("the row has %1 values, but the file has %2 columns.").arg(values).arg(columns);
}

}  // namespace da::embedded
