#pragma once
// Checking and completing typed solar dates and clock times. Each check answers
// whether the text is acceptable and, when it is not, the one message to show;
// the toolkit shows it.
#include <QString>
#include <QStringView>

namespace cal {

struct Checked {
    bool ok = true;
    QString message;  // the one message to show when !ok
};

struct TextOutcome {
    QString text;
    QString message;  // empty: nothing to show
};

// Year "/" month "/" day of the digits 0 to 9, month 1..12, day 1..31 (the day is
// not compared with its month's length). Blanks at the ends are ignored. A month or
// day beyond 32 bits raises plat::ConvertError.
Checked checkDate(QStringView text);

// A checked date with a four-digit year ("1300" completes a shorter one) and
// two-digit month and day; the text unchanged, with the check's message, when the
// check refuses it.
TextOutcome compleateDate(const QString& text);

// Hour ":" minute of digits, or an hour alone (":00" understood), hour below 24,
// minute below 60; only the first 10 characters after ":" count.
Checked checkTime(QStringView text);

// A checked time as HH:MM; the empty text, with the check's message, when refused.
TextOutcome compleateTime(const QString& text);

// The current time HH:MM from the clock written as "HH:mm:ss" with the platform's
// time separator; "00:00" and a message when that text has no ":" in place.
TextOutcome nowTimeFromClock(const QString& clockText);

}  // namespace cal
