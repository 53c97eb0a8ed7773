#include "qtdialogs.h"

#include "toolkit/boxwindow.h"
#include "toolkit/messagedialog.h"

#include <QCoreApplication>

namespace {

const QString kMsgCaption = QStringLiteral("پيام");
const QString kQuestion = QStringLiteral("سوال");
const QString kBack = QStringLiteral("بازگشت");
const QString kYes = QStringLiteral("بله");
const QString kNo = QStringLiteral("خير");

int runDialog(const MessageDialogSetup& setup) {
    TMessageDialog dialog(setup);
    return dialog.run();
}

}  // namespace

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

void QtDialogs::showMsg(const QString& text) {
    runDialog({QMessageBox::Information, kMsgCaption, text, {{kBack, mrOk}}, 0, 0});
}

int QtDialogs::askYesNo(const QString& text) {
    return runDialog({QMessageBox::Question, kQuestion, text, {{kYes, mrYes}, {kNo, mrNo}}, 0, 1});
}

int QtDialogs::askYesNoAll(const QString& text) {
    return runDialog({QMessageBox::Question,
                      kQuestion,
                      text,
                      {{kYes, mrYes}, {kNo, mrNo}, {QStringLiteral("خير به همه"), mrNoToAll}, {QStringLiteral("بله به همه "), mrYesToAll}},
                      0,
                      1});
}

int QtDialogs::chartOrFr3(const QString& text) {
    return runDialog({QMessageBox::Question,
                      QStringLiteral("لطفاانتخاب كنيد"),
                      text,
                      {{QStringLiteral("گزارش"), mrYes}, {QStringLiteral("نمودار"), mrNo}, {QStringLiteral("هيچكدام"), mrCancel}},
                      0,
                      2});
}

void QtDialogs::showError(const QString& text) {
    runDialog({QMessageBox::Critical, QStringLiteral("خطا"), text, {{kBack, mrOk}}, 0, 0});
}

void QtDialogs::plainMessage(const QString& text) {
    // The platform's plain box: no icon, no title (the program's name would be English
    // here), one OK button captioned as Qt's own OK, in Persian with its translation.
    runDialog({QMessageBox::NoIcon, QString(), text, {{QCoreApplication::translate("QPlatformTheme", "OK"), mrOk}}, 0, 0});
}

void QtDialogs::showBox(BoxKind kind, const QString& msg, unsigned color) {
    if (!m_box) {
        m_box = std::make_unique<TBoxWindow>(kind, color);
        m_box->showCentred();
        if (kind == BoxKind::Small)
            m_box->setWindowTitle(kMsgCaption);
    }
    if (!msg.isEmpty()) {
        if (kind == BoxKind::Small)
            m_box->wrapToRightEdge();
        m_box->setMessage(msg);
    }
    // One turn of the event loop, so that the box paints before the caller works on.
    QCoreApplication::processEvents();
}

void QtDialogs::closeBox() { m_box.reset(); }

std::unique_ptr<UserDialogs> makeQtDialogs(TTools*) { return std::make_unique<QtDialogs>(); }
