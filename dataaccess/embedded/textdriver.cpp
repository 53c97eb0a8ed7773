#include "textdriver.h"

#include "dataaccess/sqlerror.h"

namespace da::embedded {

// Placeholder: replaced by the text driver.
void fillTableFromTextFile(sqlite3*, const QString&, const QString&, const QString&) {
    throw SqlError(QStringLiteral("text driver not built yet"));
}

}  // namespace da::embedded
