#include "datepickergallery.h"

#include "calendar/datepickernew.h"
#include "widgets/solarmonthcalendar.h"

#include <QDir>
#include <QPixmap>

void renderDatePickerGallery(const QString& dir) {
    const QDir out(dir);

    TDatePickerNew picker;
    picker.Calndr->setToday(QStringLiteral("1403/12/25"));
    picker.Calndr->setSelected({1403, 12, 30});  // the leap day
    picker.grab().save(out.filePath(QStringLiteral("datepicker.png")));

    // A month that starts on Friday and has 31 days fills all six week rows.
    cal::Day sixWeeks{1404, 1, 1};
    while (sixWeeks.year < 1420 && cal::firstColumn(sixWeeks.year, sixWeeks.month) + cal::monthLength(sixWeeks.year, sixWeeks.month) <= 35)
        sixWeeks = cal::addMonths(sixWeeks, 1);
    TDatePickerNew host;  // the picker's colours and font around the calendar alone
    TSolarMonthCalendar* calendar = host.Calndr;
    calendar->setToday(cal::dayText({sixWeeks.year, sixWeeks.month, 3}, u"/"));
    calendar->setSelected({sixWeeks.year, sixWeeks.month, 17});
    calendar->grab().save(out.filePath(QStringLiteral("solarmonthcalendar.png")));
}
