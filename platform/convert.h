#pragma once
// The runtime's text-to-number conversion and its error, shared by the toolkit's
// helpers and the date routines.
#include <QString>
#include <QStringView>
#include <stdexcept>

namespace plat {

// A text that is not a number of the asked kind. what() is the message in the
// runtime's wording, UTF-8.
class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// The runtime's integer conversion: leading blanks, an optional sign, then decimal
// digits or "$"/"0x" and hexadecimal digits, nothing after them, within 32 bits.
// Anything else raises ConvertError "''TEXT'' is not a valid integer value".
int strToInt(const QString& text);

// The same conversion without the error: false for a text that is not such an integer.
// hexadecimal false accepts decimal digits only.
bool tryStrToInt(QStringView text, int& value, bool hexadecimal = true);

}  // namespace plat
