// The toolkit's date picker members.
#include "calendar/datepickernew.h"
#include "calendar/integertext.h"
#include "platform/convert.h"
#include "toolkit/tools.h"
#include "widgets/solarmonthcalendar.h"

#include <QLineEdit>
#include <memory>

namespace {

// A piece of the completed date; a piece that does not read as a number (a blank
// that completion leaves after the day) is ignored by the calendar.
int piece(const QString& text, qsizetype from, qsizetype length) {
    bool ok = false;
    const int value = QStringView(text).mid(from, length).trimmed().toInt(&ok);
    return ok ? value : 0;
}

}  // namespace

void TTools::PickDateFromDate(QLineEdit* Sender) {
    if (!Sender)
        return;
    auto picker = std::make_unique<TDatePickerNew>(Sender->window());
    DatePickerNew = picker.get();
    picker->Calndr->setToday(FarsiToday());

    const QString text = Sender->text();
    bool valid = false;
    if (!cal::trimView(text).isEmpty()) {
        // A month or day beyond 32 bits makes the check raise; it is an invalid date
        // like any other, told to the user, and the picker still opens.
        try {
            valid = IsValidDate(text);
        } catch (const plat::ConvertError& e) {
            ShowMsg(e.message());
        }
    }
    if (valid) {
        // The control holds the complete date from here on, whatever the user picks.
        Sender->setText(CompleateDate(text));
        const QString complete = Sender->text();
        picker->Calndr->goToYear(piece(complete, 0, 4));
        picker->Calndr->goToMonth(piece(complete, 5, 2));
        picker->Calndr->goToDay(piece(complete, 8, 2));
    }

    if (picker->exec() == mrOk)
        Sender->setText(picker->Calndr->selectedDate(u"/"));
    picker.reset();
}

void TTools::PickDateFromDateOld(QLineEdit*) {}
