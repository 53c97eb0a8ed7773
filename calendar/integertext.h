#pragma once
// Integer and trimming rules of the runtime that the date routines read their text
// pieces with. Views in, values out; nothing kept.
#include <QString>
#include <QStringView>

namespace cal {

// Decimal integer: leading blanks (code 32), an optional sign, one or more digits,
// nothing after them, within 32 bits. False for anything else (no exception).
bool tryParseDecimal(QStringView text, int& value);

// The runtime's integer conversion (plat::strToInt): as above, plus "$"/"0x"
// hexadecimal. Raises plat::ConvertError "'TEXT' is not a valid integer value".
int strToInt(QStringView text);

// The same conversion with a fallback value instead of the error.
int strToIntDef(QStringView text, int fallback);

// Every character of code 32 or lower removed from both ends.
QStringView trimView(QStringView text);

// The first n characters of pad before text when text is shorter than n
// ("1300" before "90" gives "1390"; "00" before "7" gives "07").
QString padFront(QStringView text, QStringView pad);

}  // namespace cal
