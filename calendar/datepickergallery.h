#pragma once
// Pictures of the date picker and the month calendar for the reviewers' gallery.
#include <QString>

// Writes datepicker.png (the picker on 1403/12/30, today 1403/12/25) and
// solarmonthcalendar.png (the calendar alone on a month of six weeks) into dir,
//, rendered offscreen. A folder that cannot be written to
// gets nothing; the caller checks the files.
void renderDatePickerGallery(const QString& dir);
