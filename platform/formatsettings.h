#pragma once
// The process-wide date, time and number format settings. Nothing in the program reads
// the C or Qt locale for these: the toolkit sets them at start-up and everything that
// writes or reads a date, a time or a decimal number goes through this object.
#include <QDate>
#include <QString>
#include <QTime>

namespace plat {

struct FormatSettings {
    QString shortDateFormat = QStringLiteral("dd/mm/yyyy");
    QString longDateFormat = QStringLiteral("dd/mm/yyyy");
    QString shortTimeFormat = QStringLiteral("HH:mm:ss");
    QString longTimeFormat = QStringLiteral("HH:mm:ss");
    QChar dateSeparator = u'/';
    QChar timeSeparator = u':';
    QChar decimalSeparator = u'.';
};

// The one process-wide instance.
FormatSettings& formatSettings();

// Writes a date and/or time with a format of the runtime's rules: d dd m mm yy yyyy,
// h hh H HH, n nn, s ss ("m"/"mm" right after an hour means minutes), "/" and ":"
// stand for the date and time separators, text in double or single quotes is literal.
QString formatDateTime(const QString& format, const QDate& date, const QTime& time = QTime(0, 0));

// A real number in the general number format: shortest form with up to 15
// significant digits, exponent form (1E20, 1E-6) when more than 15 digits stand
// before the point or the magnitude is below 0.00001, the settings' decimal separator.
QString formatGeneral(double value);

}  // namespace plat
