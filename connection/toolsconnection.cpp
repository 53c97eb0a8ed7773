#include "toolkit/tools.h"

#include <stdexcept>

// Placeholder definitions: replaced by the real ones of this subsystem.

void TTools::FindConStr(QString& InUser, QString& InPass, QString& InServer, QString& InDatabase) { throw std::logic_error("FindConStr: not built yet"); }
QString TTools::FindXOR(const QString& St) { throw std::logic_error("FindXOR: not built yet"); }
QString TTools::FindXORSimple(const QString& St) { throw std::logic_error("FindXORSimple: not built yet"); }
