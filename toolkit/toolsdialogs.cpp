#include "toolkit/tools.h"

#include <stdexcept>

// Placeholder definitions: replaced by the real ones of this subsystem.

void TTools::ShowMsg(const QString& St) { throw std::logic_error("ShowMsg: not built yet"); }
int TTools::AskYesNo(const QString& St) { throw std::logic_error("AskYesNo: not built yet"); }
int TTools::AskYesNoAll(const QString& St) { throw std::logic_error("AskYesNoAll: not built yet"); }
int TTools::ChartOrFr3() { throw std::logic_error("ChartOrFr3: not built yet"); }
void TTools::ShowBoxMessage(const QString& Msg) { throw std::logic_error("ShowBoxMessage: not built yet"); }
void TTools::ShowBigBoxMessage(const QString& Msg) { throw std::logic_error("ShowBigBoxMessage: not built yet"); }
void TTools::ShowBoxMessageColor(const QString& Msg, unsigned Color) { throw std::logic_error("ShowBoxMessageColor: not built yet"); }
void TTools::ShowBoxClose() { throw std::logic_error("ShowBoxClose: not built yet"); }
