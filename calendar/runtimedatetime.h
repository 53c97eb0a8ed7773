#pragma once
// The runtime's reading of date and time text under the process-wide formats:
// the date order of the short date format with the date separator, and hours,
// minutes and seconds with the time separator.
#include "platform/formatsettings.h"

#include <QDate>
#include <QString>
#include <QTime>

namespace cal {

// Day, month and year in the order of settings.shortDateFormat, separated by
// settings.dateSeparator; blanks around the numbers allowed. A year of one or two
// digits falls in 1950..2049. Raises plat::ConvertError "'TEXT' is not a valid date".
QDate strToDate(const QString& text, const plat::FormatSettings& settings);

// Hour, then optionally ":" minute and ":" second (":" being settings.timeSeparator),
// blanks around the numbers allowed; 24-hour values only. Raises plat::ConvertError
// "'TEXT' is not a valid time".
QTime strToTime(const QString& text, const plat::FormatSettings& settings);

}  // namespace cal
