#include "toolkit/tools.h"

#include <stdexcept>

// Placeholder definitions: replaced by the real ones of this subsystem.

QVariant TTools::iif(bool Test, const QVariant& TrueR, const QVariant& FalseR) { throw std::logic_error("iif: not built yet"); }
int TTools::Max(int x, int y) { throw std::logic_error("Max: not built yet"); }
int TTools::Min(int x, int y) { throw std::logic_error("Min: not built yet"); }
int TTools::ToInt(double Num) { throw std::logic_error("ToInt: not built yet"); }
double TTools::To2DigitFloat(double InNum) { throw std::logic_error("To2DigitFloat: not built yet"); }
bool TTools::IsValidNum(const QString& St) { throw std::logic_error("IsValidNum: not built yet"); }
bool TTools::IsBlank(const QString& St) { throw std::logic_error("IsBlank: not built yet"); }
QString TTools::RemoveRLBLank(const QString& InSt) { throw std::logic_error("RemoveRLBLank: not built yet"); }
void TTools::SetStringList(QStringList*& StLName) { throw std::logic_error("SetStringList: not built yet"); }
