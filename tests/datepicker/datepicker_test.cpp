// The date picker as the toolkit opens it for an edit: what it shows on opening, what
// it writes back, its keys wherever the focus is, and its window's layout. Also the
// keyboard walk over every leap day, each day converted by the toolkit.
#include "tests/fixtures/astronomicalreference.h"
#include "calendar/datepickernew.h"
#include "calendar/datepickergallery.h"
#include "tests/fixtures/expectedtexts.h"
#include "platform/appexit.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"
#include "widgets/gradientbutton.h"
#include "widgets/solarmonthcalendar.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Kind = RecordingDialogs::Kind;
std::string str(const QString& s) { return s.toStdString(); }

class DatePicker : public ::testing::Test {
protected:
    void SetUp() override {
        // Today: 2026-12-09, 1405/09/18.
        m_tools = std::make_unique<TTools>(ToolsOptions{&m_rec, m_dir.path() + u'/', QDate(2026, 12, 9)});
        m_rec.clear();
    }
    void TearDown() override {
        m_tools.reset();
        plat::AppExit::instance().reset();
    }

    // Opens the picker on the edit; act runs inside its modal loop and must close it.
    // Answers whether a picker was seen.
    bool pick(const std::function<void(TDatePickerNew*)>& act) {
        bool seen = false;
        bool stuck = false;
        QTimer::singleShot(0, [&] {
            auto* picker = qobject_cast<TDatePickerNew*>(QApplication::activeModalWidget());
            if (!picker)
                return;
            seen = picker == DatePickerNew;
            act(picker);
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                stuck = true;
                open->done(0);
            }
        });
        watchdog.start(5000);
        m_tools->PickDateFromDate(&m_edit);
        EXPECT_FALSE(stuck) << "the picker did not close";
        EXPECT_EQ(DatePickerNew, nullptr);
        return seen;
    }
    // Presses a key where the user's keyboard goes: the picker's focused control.
    static void press(TDatePickerNew* p, Qt::Key key) {
        QWidget* focus = p->focusWidget();
        QTest::keyClick(focus ? focus : p, key);
    }

    QTemporaryDir m_dir;
    RecordingDialogs m_rec;
    std::unique_ptr<TTools> m_tools;
    QLineEdit m_edit;
};

TEST_F(DatePicker, ShortDateIsCompletedAtOnceAndKeptOnCancel) {
    m_edit.setText(QStringLiteral("90/1/5"));
    QString shownInEdit, shownInCalendar;
    EXPECT_TRUE(pick([&](TDatePickerNew* p) {
        shownInEdit = m_edit.text();
        shownInCalendar = p->Calndr->selectedDate(u"/");
        press(p, Qt::Key_Left);  // a day on, then cancelled
        press(p, Qt::Key_Escape);
    }));
    EXPECT_EQ(shownInEdit, QStringLiteral("1390/01/05"));
    EXPECT_EQ(shownInCalendar, QStringLiteral("1390/01/05"));
    EXPECT_EQ(m_edit.text(), QStringLiteral("1390/01/05"));
    EXPECT_TRUE(m_rec.entries().empty());
}

TEST_F(DatePicker, InvalidDateGivesItsMessageAndOpensOnToday) {
    struct Row {
        const char* text;
        QString message;
    };
    const Row rows[] = {
        {"1390/13/1", expected::dateHead + QStringLiteral("1390/13/1") + expected::notCorrectTail + u'\r' + expected::badMonth},
        {"1390/1/32", expected::dateHead + QStringLiteral("1390/1/32") + expected::notCorrectTail + u'\r' + expected::badDay},
        {"  ", QString()},  // blanks: today, without a message
        {"1390/99999999999/1", QStringLiteral("''99999999999'' is not a valid integer value")},
    };
    for (const Row& r : rows) {
        m_rec.clear();
        m_edit.setText(QString::fromUtf8(r.text));
        QString opened;
        EXPECT_TRUE(pick([&](TDatePickerNew* p) {
            opened = p->Calndr->selectedDate(u"/");
            press(p, Qt::Key_Escape);
        }));
        EXPECT_EQ(opened, QStringLiteral("1405/09/18")) << r.text;
        EXPECT_EQ(m_edit.text(), QString::fromUtf8(r.text)) << "kept on cancel";
        const auto shown = m_rec.texts(Kind::Msg);
        if (r.message.isEmpty())
            EXPECT_TRUE(shown.empty()) << r.text;
        else
            EXPECT_EQ(shown, std::vector<QString>{r.message}) << r.text;
    }
}

TEST_F(DatePicker, AcceptingWritesThePositionedOrPickedDate) {
    struct Row {
        const char* text;
        std::vector<Qt::Key> keys;
        const char* written;
    };
    const Row rows[] = {
        {"85/7/3", {}, "1385/07/03"},
        {"1403/12/29", {Qt::Key_Left}, "1403/12/30"},
        {"1403/12/30", {Qt::Key_Left}, "1404/01/01"},
        {"1390/7/31", {}, "1390/07/18"},  // no 31st in Mehr: the day stays today's
        {"", {Qt::Key_PageDown}, "1405/10/18"},
        {"1390/01/05", {Qt::Key_Down, Qt::Key_Right}, "1390/01/11"},
    };
    for (const Row& r : rows) {
        m_edit.setText(QString::fromUtf8(r.text));
        EXPECT_TRUE(pick([&](TDatePickerNew* p) {
            for (Qt::Key k : r.keys)
                press(p, k);
            press(p, Qt::Key_Return);
        }));
        EXPECT_EQ(str(m_edit.text()), r.written) << r.text;
    }
}

TEST_F(DatePicker, EnterAndEscapeWhereverTheFocusIs) {
    using Target = std::function<QWidget*(TDatePickerNew*)>;
    const std::pair<const char*, Target> targets[] = {
        {"calendar", [](TDatePickerNew* p) -> QWidget* { return p->Calndr; }},
        {"month box", [](TDatePickerNew* p) -> QWidget* { return p->Calndr->monthCombo(); }},
        {"year field", [](TDatePickerNew* p) -> QWidget* { return p->Calndr->yearField(); }},
        {"accept button", [](TDatePickerNew* p) -> QWidget* { return p->BConSet; }},
        {"cancel button", [](TDatePickerNew* p) -> QWidget* { return p->XFBitBtn3; }},
        {"window", [](TDatePickerNew* p) -> QWidget* { return p; }},
    };
    for (const auto& [name, target] : targets) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            m_edit.setText(QStringLiteral("1390/05/05"));
            EXPECT_TRUE(pick([&](TDatePickerNew* p) {
                QWidget* w = target(p);
                w->setFocus();
                QTest::keyClick(p->Calndr, Qt::Key_Left);  // 1390/05/06
                QTest::keyClick(w, key);
            }));
            const QString expected = key == Qt::Key_Escape ? QStringLiteral("1390/05/05") : QStringLiteral("1390/05/06");
            EXPECT_EQ(m_edit.text(), expected) << name << " " << QTest::toString(key);
        }
    }
}

TEST_F(DatePicker, ButtonsAndDoubleClickClose) {
    struct Row {
        const char* what;
        std::function<void(TDatePickerNew*)> act;
        const char* written;
    };
    const Row rows[] = {
        {"accept", [](TDatePickerNew* p) { QTest::mouseClick(p->BConSet, Qt::LeftButton); }, "1390/05/06"},
        {"cancel", [](TDatePickerNew* p) { QTest::mouseClick(p->XFBitBtn3, Qt::LeftButton); }, "1390/05/05"},
        {"close box", [](TDatePickerNew* p) { p->close(); }, "1390/05/05"},
        {"double click",
         [](TDatePickerNew* p) {
             // Mordad 1390 starts on a Saturday: the second row's Saturday is the 8th.
             QTest::mouseDClick(p->Calndr, Qt::LeftButton, {}, p->Calndr->cellRect(1, 0).center());
         },
         "1390/05/08"},
    };
    for (const Row& r : rows) {
        m_edit.setText(QStringLiteral("1390/05/05"));
        EXPECT_TRUE(pick([&](TDatePickerNew* p) {
            QTest::keyClick(p->Calndr, Qt::Key_Left);
            r.act(p);
        }));
        EXPECT_EQ(str(m_edit.text()), r.written) << r.what;
    }
}

TEST_F(DatePicker, EndOfTheProgramCancels) {
    m_edit.setText(QStringLiteral("1390/05/05"));
    EXPECT_TRUE(pick([&](TDatePickerNew* p) {
        QTest::keyClick(p->Calndr, Qt::Key_Left);
        plat::requestEnd();
    }));
    EXPECT_EQ(m_edit.text(), QStringLiteral("1390/05/05"));
    // Opened after the request: closes at once, without a timer acting on it.
    m_edit.setText(QString());
    m_tools->PickDateFromDate(&m_edit);
    EXPECT_EQ(m_edit.text(), QString());
    // The request also queued a quit of the event loop; run it off before later tests.
    QCoreApplication::processEvents();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    plat::AppExit::instance().reset();
}

TEST_F(DatePicker, WindowLayout) {
    TDatePickerNew p;
    EXPECT_EQ(p.client()->size(), QSize(322, 231));
    EXPECT_EQ(p.size(), QSize(332, 241));  // a border of 5 around the client area
    EXPECT_EQ(p.Calndr->geometry(), QRect(0, 0, 322, 195));
    EXPECT_EQ(p.BConSet->geometry(), QRect(214, 205, 97, 26));
    EXPECT_EQ(p.XFBitBtn3->geometry(), QRect(7, 205, 97, 26));
    EXPECT_EQ(p.BConSet->text(), QStringLiteral("قبول"));
    EXPECT_EQ(p.XFBitBtn3->text(), QStringLiteral("انصراف"));
    EXPECT_EQ(p.BConSet->endColor(), QColor(226, 255, 198));
    EXPECT_EQ(p.BConSet->hotColor(), QColor(255, 255, 128));
    EXPECT_EQ(p.XFBitBtn3->endColor(), QColor(255, 255, 128));
    EXPECT_EQ(p.XFBitBtn3->hotColor(), QColor(226, 255, 198));
    EXPECT_EQ(p.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(p.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(p.font().pixelSize(), 11);
    EXPECT_FALSE(p.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint));
    const SolarCalendarColors& c = p.Calndr->colors();
    EXPECT_EQ(c.firstRow, QColor(249, 255, 225));
    EXPECT_EQ(c.secondRow, QColor(223, 235, 255));
    EXPECT_EQ(c.background, QColor(240, 255, 225));
    EXPECT_EQ(c.caption, QColor(206, 255, 206));
    EXPECT_EQ(c.disabledCell, QColor(192, 192, 192));
    EXPECT_EQ(c.selectedCellText, QColor(Qt::red));
    // White around the client area and between the calendar and the buttons.
    const QImage image = p.grab().toImage();
    EXPECT_EQ(QColor(image.pixel(2, 120)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(160, 5 + 200)), QColor(Qt::white));
}

TEST_F(DatePicker, KeyboardWalkOverEveryLeapDayConverts) {
    TSolarMonthCalendar calendar;
    std::vector<int> leapYears;
    for (int year = 1403; year <= 1478; ++year) {
        if (ref::yearLength(year) == 366)
            leapYears.push_back(year);
    }
    ASSERT_EQ(leapYears.front(), 1403);
    ASSERT_EQ(leapYears.back(), 1478);
    ASSERT_TRUE(std::find(leapYears.begin(), leapYears.end(), 1408) != leapYears.end());
    const auto converted = [this](const QString& solar) {
        return QDate::fromString(m_tools->ToEnglishDate(solar), QStringLiteral("dd/MM/yyyy"));
    };
    for (const int year : leapYears) {
        calendar.setSelected({year, 12, 27});
        QDate previous = converted(calendar.selectedDate(u"/"));
        ASSERT_TRUE(previous.isValid()) << year;
        std::vector<QString> walked;
        for (int step = 0; step < 6; ++step) {
            QTest::keyClick(&calendar, Qt::Key_Left);
            const QString solar = calendar.selectedDate(u"/");
            walked.push_back(solar);
            const QDate day = converted(solar);
            EXPECT_EQ(previous.daysTo(day), 1) << str(solar);
            // Where the equinox is too close to noon the reference cannot judge.
            const cal::Day d = calendar.selected();
            if (!ref::closeCall(year)) {
                EXPECT_EQ(day, ref::toGregorian({d.year, d.month, d.day})) << str(solar);
            }
            previous = day;
        }
        EXPECT_EQ(walked[2], cal::dayText({year, 12, 30}, u"/"));
        EXPECT_EQ(walked[3], cal::dayText({year + 1, 1, 1}, u"/"));
    }
    EXPECT_TRUE(m_rec.entries().empty());
}

TEST_F(DatePicker, ToolkitCalendarConvertsAndMarksToday) {
    ASSERT_NE(m_tools->SolarMonthCalendar1, nullptr);
    EXPECT_EQ(m_tools->SolarMonthCalendar1->today(), m_tools->FarsiToday());
    EXPECT_FALSE(m_tools->SolarMonthCalendar1->isVisibleTo(m_tools.get()));
    EXPECT_EQ(m_tools->ToEnglishDate(QStringLiteral("1390/09/17")), QStringLiteral("08/12/2011"));
    EXPECT_EQ(m_tools->ToEnglishDate(QStringLiteral("1390/12/30")), QStringLiteral("30/12/1390"));
    m_edit.setText(QStringLiteral("1390/01/01"));
    m_tools->PickDateFromDateOld(&m_edit);
    EXPECT_EQ(m_edit.text(), QStringLiteral("1390/01/01"));
}

TEST_F(DatePicker, GalleryWritesBothPictures) {
    QTemporaryDir out;
    renderDatePickerGallery(out.path());
    const QImage picker(out.filePath(QStringLiteral("datepicker.png")));
    const QImage calendar(out.filePath(QStringLiteral("solarmonthcalendar.png")));
    EXPECT_EQ(picker.size(), QSize(332, 241));
    EXPECT_EQ(calendar.size(), QSize(322, 195));
}

}  // namespace
