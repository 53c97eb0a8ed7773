// Small value helpers: stateless tests and conversions of single values.
#include "toolkit/tools.h"

#include "platform/convert.h"
#include "platform/formatsettings.h"

#include <cmath>

namespace {

bool isTrimmable(QChar c) { return c.unicode() <= 32; }

}  // namespace

QVariant TTools::iif(bool Test, const QVariant& TrueR, const QVariant& FalseR) { return Test ? TrueR : FalseR; }

int TTools::Max(int x, int y) { return x > y ? x : y; }

int TTools::Min(int x, int y) { return x > y ? y : x; }

// Cuts the general-format text at the first "." and converts the rest: with "." as
// decimal separator this truncates toward zero; an exponent form or a magnitude beyond
// 32 bits raises the conversion error. An exponent form with a point ("1.5E20") raises
// too, with its whole text, instead of answering its first digit.
int TTools::ToInt(double Num) {
    QString text = plat::formatGeneral(Num);
    if (text.contains(u'E'))
        throw plat::ConvertError(QStringLiteral("''%1'' is not a valid integer value").arg(text));
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0)
        text.truncate(point);
    return plat::strToInt(text);
}

// Rounds the stored binary value, not its decimal reading: 1.005 is stored just below
// 1.005 and gives 1. The product x * 100 is rounded once more by the multiplication;
// its exact remainder (fma) decides a product that lands on a half.
double TTools::To2DigitFloat(double InNum) {
    if (!std::isfinite(InNum))
        return InNum;
    const double product = InNum * 100;
    const double remainder = std::fma(InNum, 100, -product);  // exact: InNum*100 - product
    double rounded = std::nearbyint(product);                 // ties to even
    const double floorPart = std::floor(product);
    if (product - floorPart == 0.5 && remainder != 0)
        rounded = remainder > 0 ? floorPart + 1 : floorPart;
    return rounded / 100;
}

bool TTools::IsValidNum(const QString& St) {
    for (QChar c : St) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || u == u'-' || u == u'.'))
            return false;
    }
    return true;
}

bool TTools::IsBlank(const QString& St) {
    for (QChar c : St) {
        if (!isTrimmable(c))
            return false;
    }
    return true;
}

QString TTools::RemoveRLBLank(const QString& InSt) {
    if (IsBlank(InSt))
        return InSt;
    qsizetype first = 0;
    qsizetype last = InSt.size();
    while (InSt[first] == u' ')
        ++first;
    while (InSt[last - 1] == u' ')
        --last;
    return InSt.mid(first, last - first);
}

// The caller owns the list; a list already held by the reference is released first.
void TTools::SetStringList(QStringList*& StLName) {
    delete StLName;
    StLName = nullptr;
    StLName = new QStringList(51, QString());
}
