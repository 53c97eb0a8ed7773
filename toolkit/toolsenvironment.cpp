#include "toolkit/tools.h"

#include <stdexcept>

// Placeholder definitions: replaced by the real ones of this subsystem.

void TTools::FormCreate(QObject*) {}
void TTools::SetConfigAgain(QObject* Sender) { throw std::logic_error("SetConfigAgain: not built yet"); }
void TTools::_SetConfigAgain() { throw std::logic_error("_SetConfigAgain: not built yet"); }
void TTools::SwitchToFarsi() { throw std::logic_error("SwitchToFarsi: not built yet"); }
void TTools::SwitchToEnglish() { throw std::logic_error("SwitchToEnglish: not built yet"); }
void TTools::SetKeyActivateConfig(QWidget* Sender, int& Key, Qt::KeyboardModifiers Shift) { throw std::logic_error("SetKeyActivateConfig: not built yet"); }
void TTools::SetKeyActivateJustClose(QWidget* Sender, int& Key, Qt::KeyboardModifiers Shift) { throw std::logic_error("SetKeyActivateJustClose: not built yet"); }
QString TTools::GetWinVersion() { throw std::logic_error("GetWinVersion: not built yet"); }
