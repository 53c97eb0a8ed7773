#include "datevalidation.h"

#include "calendarmessages.h"
#include "integertext.h"

namespace cal {

namespace {

bool isDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

QString refused(const QString& head, QStringView shown, const QString& reason) {
    QString out = head;
    out += shown;
    out += text::notCorrectTail();
    out += text::lineBreak();
    out += reason;
    return out;
}

QString refusedDate(QStringView shown, const QString& reason) { return refused(text::dateHead(), shown, reason); }

QString refusedTime(QStringView shown, const QString& reason) { return refused(text::timeHead(), shown, reason); }

// Pieces before the first "/", between the first two, and after the second.
// Precondition: text holds at least two "/".
struct DatePieces {
    QStringView year, month, day;
};
DatePieces splitDate(QStringView text) {
    const qsizetype first = text.indexOf(u'/');
    const qsizetype second = text.indexOf(u'/', first + 1);
    return {text.first(first), text.sliced(first + 1, second - first - 1), text.sliced(second + 1)};
}

}  // namespace

Checked checkDate(QStringView input) {
    const QStringView t = trimView(input);
    if (t.count(u'/') != 2)
        return {false, refusedDate(t, text::slashCount())};
    for (const QChar c : t) {
        if (c != u'/' && !isDigit(c))
            return {false, refusedDate(t, text::dateDigits())};
    }
    const DatePieces p = splitDate(t);
    if (p.year.isEmpty() || p.month.isEmpty() || p.day.isEmpty())
        return {false, text::dateEntryError()};
    const int month = strToInt(p.month);
    if (month < 1 || month > 12)
        return {false, refusedDate(t, text::badMonth())};
    const int day = strToInt(p.day);
    if (day < 1 || day > 31)
        return {false, refusedDate(t, text::badDay())};
    return {};
}

TextOutcome compleateDate(const QString& input) {
    Checked c = checkDate(input);
    if (!c.ok)
        return {input, std::move(c.message)};
    // The untrimmed text: year and month are trimmed, the day keeps what follows it.
    const DatePieces p = splitDate(input);
    QString out = padFront(trimView(p.year), u"1300");
    out += u'/';
    out += padFront(trimView(p.month), u"00");
    out += u'/';
    out += padFront(p.day, u"00");
    return {out, {}};
}

Checked checkTime(QStringView input) {
    QString t = trimView(input).toString();
    if (!t.contains(u':'))
        t += QStringLiteral(":00");
    if (t.count(u':') != 1)
        return {false, refusedTime(t, text::colonCount())};
    for (const QChar c : t) {
        if (c != u':' && !isDigit(c))
            return {false, refusedTime(t, text::timeSigns())};
    }
    const qsizetype colon = t.indexOf(u':');
    const QStringView hour = trimView(QStringView(t).first(colon));
    const QStringView minute = trimView(QStringView(t).sliced(colon + 1).first(qMin<qsizetype>(10, t.size() - colon - 1)));
    if (hour.isEmpty() || minute.isEmpty())
        return {false, refusedTime(t, text::timeEntryError())};
    if (strToInt(hour) >= 24)
        return {false, refusedTime(t, text::badHour())};
    if (strToInt(minute) >= 60)
        return {false, refusedTime(t, text::badMinute())};
    return {};
}

TextOutcome compleateTime(const QString& input) {
    Checked c = checkTime(input);
    if (!c.ok)
        return {QString(), std::move(c.message)};
    QString t = input;
    if (!t.contains(u':'))
        t += QStringLiteral(":00");
    const qsizetype colon = t.indexOf(u':');
    const QStringView hour = trimView(QStringView(t).first(colon));
    const QStringView minute = trimView(QStringView(t).sliced(colon + 1).first(qMin<qsizetype>(10, t.size() - colon - 1)));
    return {padFront(hour, u"00") + u':' + padFront(minute, u"00"), {}};
}

TextOutcome nowTimeFromClock(const QString& clockText) {
    // Positions as the runtime's Copy counts them: p is the 1-based place of the first
    // ":" (0 when there is none), a start below 1 counts as 1.
    const qsizetype p = clockText.indexOf(u':') + 1;
    const QString kept = clockText.left(p + 2);                 // up to two places after ":"
    const QString hour = p > 1 ? kept.left(p - 1) : QString();  // before ":"
    const QString rest = kept.mid(qMax<qsizetype>(p, 1) - 1, 10);
    const QString outcome = padFront(hour, u"00") + rest;
    if (outcome.size() != 5)
        return {QStringLiteral("00:00"), text::nowTimeHead() + outcome + text::nowTimeTail()};
    return {outcome, {}};
}

}  // namespace cal
