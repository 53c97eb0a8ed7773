#include "formatsettings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace plat {

FormatSettings& formatSettings() {
    static FormatSettings settings;
    return settings;
}

namespace {

QString pad(int v, int width) { return QString::number(v).rightJustified(width, u'0'); }

}  // namespace

QString formatDateTime(const QString& format, const QDate& date, const QTime& time) {
    const FormatSettings& fs = formatSettings();
    QString out;
    bool lastWasHour = false;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = format[i];
        const QChar lower = c.toLower();
        qsizetype run = 1;
        while (i + run < n && format[i + run].toLower() == lower)
            ++run;
        if (c == u'"' || c == u'\'') {
            qsizetype end = format.indexOf(c, i + 1);
            if (end < 0)
                end = n;
            out += format.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (lower == u'd') {
            out += run >= 2 ? pad(date.day(), 2) : QString::number(date.day());
            lastWasHour = false;
        } else if (lower == u'm') {
            const int v = lastWasHour ? time.minute() : date.month();
            out += run >= 2 ? pad(v, 2) : QString::number(v);
            lastWasHour = false;
        } else if (lower == u'y') {
            out += run >= 3 ? pad(date.year(), 4) : pad(date.year() % 100, 2);
            lastWasHour = false;
        } else if (lower == u'h') {
            out += run >= 2 ? pad(time.hour(), 2) : QString::number(time.hour());
            lastWasHour = true;
        } else if (lower == u'n') {
            out += run >= 2 ? pad(time.minute(), 2) : QString::number(time.minute());
            lastWasHour = false;
        } else if (lower == u's') {
            out += run >= 2 ? pad(time.second(), 2) : QString::number(time.second());
            lastWasHour = false;
        } else if (c == u'/') {
            out += QString(run, fs.dateSeparator);
        } else if (c == u':') {
            out += QString(run, fs.timeSeparator);
        } else {
            out += format.mid(i, run);
        }
        i += run;
    }
    return out;
}

QString formatGeneral(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // 15 significant digits, as the runtime rounds before deciding the form.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf: [-]d.dddddddddddddde[+-]xx
    QString s = QString::fromLatin1(buf);
    const qsizetype ePos = s.indexOf(u'e');
    const int exponent = s.mid(ePos + 1).toInt();
    QString mantissa = s.left(ePos);
    const bool negative = mantissa.startsWith(u'-');
    if (negative)
        mantissa.remove(0, 1);
    QString digits = mantissa.left(1) + mantissa.mid(2);  // 15 digits
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);
    const QChar dec = formatSettings().decimalSeparator;
    QString body;
    if (exponent >= 15 || std::fabs(value) < 0.00001) {
        body = digits.left(1);
        if (digits.size() > 1)
            body += dec + digits.mid(1);
        body += u'E' + QString::number(exponent);
    } else if (exponent < 0) {
        body = QStringLiteral("0") + dec + QString(-exponent - 1, u'0') + digits;
    } else {
        const int intDigits = exponent + 1;
        if (digits.size() <= intDigits)
            body = digits + QString(intDigits - digits.size(), u'0');
        else
            body = digits.left(intDigits) + dec + digits.mid(intDigits);
    }
    return negative ? u'-' + body : body;
}

}  // namespace plat
