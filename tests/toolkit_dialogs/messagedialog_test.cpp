#include "modaldriver.h"
#include "toolkit/qtdialogs.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <vector>

namespace {

struct Look {
    QMessageBox::Icon icon;
    QString caption;
    std::vector<QString> buttons;
};

using Open = std::function<int(QtDialogs&)>;

struct DialogCase {
    const char* name;
    Open open;
    Look look;
    std::vector<std::pair<Action, int>> answers;  // action, modal result
};

std::vector<DialogCase> questionCases() {
    const QString question = QStringLiteral("سوال");
    const QString yes = QStringLiteral("بله");
    const QString no = QStringLiteral("خير");
    return {
        {"AskYesNo",
         [](QtDialogs& d) { return d.askYesNo(QStringLiteral("q?")); },
         {QMessageBox::Question, question, {yes, no}},
         {{Action::Click0, 6}, {Action::Click1, 7}, {Action::Enter, 6}, {Action::Escape, 7}, {Action::CloseBox, 2}}},
        {"AskYesNoAll",
         [](QtDialogs& d) { return d.askYesNoAll(QStringLiteral("q?")); },
         {QMessageBox::Question, question, {yes, no, QStringLiteral("خير به همه"), QStringLiteral("بله به همه ")}},
         {{Action::Click0, 6},
          {Action::Click1, 7},
          {Action::Click2, 9},
          {Action::Click3, 10},
          {Action::Enter, 6},
          {Action::Escape, 7},
          {Action::CloseBox, 2}}},
        {"ChartOrFr3",
         [](QtDialogs& d) { return d.chartOrFr3(QStringLiteral("q?")); },
         {QMessageBox::Question, QStringLiteral("لطفاانتخاب كنيد"), {QStringLiteral("گزارش"), QStringLiteral("نمودار"), QStringLiteral("هيچكدام")}},
         {{Action::Click0, 6}, {Action::Click1, 7}, {Action::Click2, 2}, {Action::Enter, 6}, {Action::Escape, 2}, {Action::CloseBox, 2}}},
    };
}

// The dialogs without a result: which button the action pressed, if any.
struct OneButtonCase {
    const char* name;
    std::function<void(QtDialogs&)> open;
    Look look;
};

std::vector<OneButtonCase> oneButtonCases() {
    const QString back = QStringLiteral("بازگشت");
    return {
        {"ShowMsg", [](QtDialogs& d) { d.showMsg(QStringLiteral("text")); }, {QMessageBox::Information, QStringLiteral("پيام"), {back}}},
        {"ShowError", [](QtDialogs& d) { d.showError(QStringLiteral("text")); }, {QMessageBox::Critical, QStringLiteral("خطا"), {back}}},
        {"plain box", [](QtDialogs& d) { d.plainMessage(QStringLiteral("text")); }, {QMessageBox::NoIcon, QString(QChar(0x200F)), {QCoreApplication::translate("QPlatformTheme", "OK")}}},
    };
}

void expectLook(TMessageDialog* dialog, const Look& look, const QString& text) {
    EXPECT_EQ(dialog->icon(), look.icon);
    EXPECT_EQ(dialog->windowTitle(), look.caption);
    EXPECT_EQ(dialog->text(), text);
    EXPECT_EQ(dialog->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(dialog->font().family(), QStringLiteral("Tahoma"));
    ASSERT_EQ(dialog->buttonCount(), static_cast<int>(look.buttons.size()));
    // The buttons' row in the middle of the dialog, the dialog's frame in the middle of
    // the screen, every line of the text from the right edge.
    QRect row;
    for (int i = 0; i < dialog->buttonCount(); ++i) {
        QPushButton* button = dialog->dialogButton(i);
        row |= QRect(button->mapTo(dialog, QPoint(0, 0)), button->size());
    }
    EXPECT_NEAR(row.center().x(), dialog->rect().center().x(), 2);
    const QPoint screenCentre = dialog->screen()->availableGeometry().center();
    EXPECT_LE((dialog->frameGeometry().center() - screenCentre).manhattanLength(), 2);
    if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        EXPECT_EQ(label->alignment() & (Qt::AlignRight | Qt::AlignAbsolute), Qt::AlignRight | Qt::AlignAbsolute);
    else
        ADD_FAILURE() << "no message label";
    for (int i = 0; i < dialog->buttonCount(); ++i) {
        EXPECT_EQ(dialog->dialogButton(i)->text(), look.buttons[static_cast<size_t>(i)]) << i;
        // In order from the reading start, the right edge.
        if (i > 0) {
            EXPECT_LT(dialog->dialogButton(i)->x(), dialog->dialogButton(i - 1)->x()) << i;
        }
    }
}

// A request to end the program also queues a quit of the event loop, which would end
// every later dialog of the test run at once; this runs it off and clears the request.
void clearEndRequest() {
    QCoreApplication::processEvents();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    plat::AppExit::instance().reset();
}

}  // namespace

TEST(QtDialogs, QuestionsAnswerTheModalResultOfEachButtonAndKey) {
    QtDialogs dialogs;
    for (const DialogCase& c : questionCases()) {
        for (const auto& [action, expected] : c.answers) {
            SCOPED_TRACE(std::string(c.name) + ", " + actionName(action));
            const int result = driveDialog([&] { return c.open(dialogs); }, action,
                                           [&](TMessageDialog* d) { expectLook(d, c.look, QStringLiteral("q?")); });
            EXPECT_EQ(result, expected);
        }
    }
}

TEST(QtDialogs, OneButtonDialogsCloseByTheirButtonEnterEscapeAndCloseBox) {
    QtDialogs dialogs;
    for (const OneButtonCase& c : oneButtonCases()) {
        for (Action action : {Action::Click0, Action::Enter, Action::Escape, Action::CloseBox}) {
            SCOPED_TRACE(std::string(c.name) + ", " + actionName(action));
            QPointer<TMessageDialog> shown;
            driveDialog(
                [&] {
                    c.open(dialogs);
                    return 0;
                },
                action,
                [&](TMessageDialog* d) {
                    expectLook(d, c.look, QStringLiteral("text"));
                    shown = d;
                });
            // The dialog is gone once the call returns.
            EXPECT_TRUE(shown.isNull());
        }
    }
}

TEST(QtDialogs, EnterPressesTheButtonWithTheFocus) {
    // A user who moves to "no" with Tab and presses Enter answers no.
    QtDialogs dialogs;
    EXPECT_EQ(driveDialog([&] { return dialogs.askYesNo(QStringLiteral("q?")); }, Action::Enter,
                          [](TMessageDialog* d) { d->dialogButton(1)->setFocus(); }),
              7);
}

TEST(QtDialogs, DialogOpenedAfterTheEndRequestClosesAtOnce) {
    QtDialogs dialogs;
    plat::requestEnd();
    bool seen = true;
    const int result = driveDialog([&] { return dialogs.askYesNo(QStringLiteral("q?")); }, Action::Click0, {}, &seen);
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(seen);
    clearEndRequest();
}

TEST(QtDialogs, OpenDialogClosesWhenTheEndIsRequested) {
    QtDialogs dialogs;
    for (const DialogCase& c : questionCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(driveDialog([&] { return c.open(dialogs); }, Action::EndRequest), 2);
        clearEndRequest();
    }
}
