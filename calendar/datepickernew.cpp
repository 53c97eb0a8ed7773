#include "datepickernew.h"

#include "platform/appexit.h"
#include "toolkit/userdialogs.h"
#include "widgets/gradientbutton.h"
#include "widgets/solarmonthcalendar.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

TDatePickerNew* DatePickerNew = nullptr;

namespace {

constexpr int kBorderWidth = 5;
constexpr int kClientWidth = 322;
constexpr int kClientHeight = 231;

const QColor kButtonEnd(226, 255, 198);
const QColor kButtonHot(255, 255, 128);

SolarCalendarColors pickerColors() {
    SolarCalendarColors c;
    c.firstRow = QColor(249, 255, 225);
    c.secondRow = QColor(223, 235, 255);
    c.background = QColor(240, 255, 225);
    c.caption = QColor(206, 255, 206);
    c.disabledCell = QColor(192, 192, 192);  // silver
    c.cellText = Qt::black;
    c.selectedCellText = Qt::red;
    return c;
}

}  // namespace

TDatePickerNew::TDatePickerNew(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DatePickerNew"));
    // Single border without title-bar buttons; the platform's close command still
    // reaches reject() and cancels.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setLayoutDirection(Qt::RightToLeft);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setFixedSize(kClientWidth + 2 * kBorderWidth, kClientHeight + 2 * kBorderWidth);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    m_client->setGeometry(kBorderWidth, kBorderWidth, kClientWidth, kClientHeight);

    Calndr = new TSolarMonthCalendar(m_client);
    Calndr->setObjectName(QStringLiteral("Calndr"));
    Calndr->setGeometry(0, 0, 322, 195);
    Calndr->setColors(pickerColors());
    connect(Calndr, &TSolarMonthCalendar::dayActivated, this, [this] { done(mrOk); });

    BConSet = new GradientButton(QStringLiteral("قبول"), m_client);
    BConSet->setObjectName(QStringLiteral("BConSet"));
    BConSet->setGeometry(214, 205, 97, 26);
    BConSet->setColors(Qt::white, kButtonEnd, kButtonHot);
    connect(BConSet, &QPushButton::clicked, this, [this] { done(mrOk); });

    XFBitBtn3 = new GradientButton(QStringLiteral("انصراف"), m_client);
    XFBitBtn3->setObjectName(QStringLiteral("XFBitBtn3"));
    XFBitBtn3->setGeometry(7, 205, 97, 26);
    XFBitBtn3->setColors(Qt::white, kButtonHot, kButtonEnd);
    connect(XFBitBtn3, &QPushButton::clicked, this, [this] { done(mrCancel); });

    Calndr->setFocus();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Key preview: the window sees every key of its controls first.
    qApp->installEventFilter(this);
    connect(&plat::AppExit::instance(), &plat::AppExit::endRequested, this, [this] {
        if (isVisible())
            done(mrCancel);
    });
}

TDatePickerNew::~TDatePickerNew() {
    qApp->removeEventFilter(this);
    if (DatePickerNew == this)
        DatePickerNew = nullptr;
}

int TDatePickerNew::exec() {
    if (plat::endRequested())
        return mrCancel;
    return QDialog::exec();
}

void TDatePickerNew::reject() { done(mrCancel); }

bool TDatePickerNew::FormKeyPress(QObject*, QChar Key) {
    if (Key.unicode() == 13) {
        done(mrOk);
        return true;
    }
    if (Key.unicode() == 27) {
        done(mrCancel);
        return true;
    }
    return false;
}

bool TDatePickerNew::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    // Keys of this window's controls only; an open list of the month box is a window
    // of its own and keeps Enter and Escape for itself.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || !isVisible())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return FormKeyPress(watched, QChar(13));
    case Qt::Key_Escape: return FormKeyPress(watched, QChar(27));
    default: return false;
    }
}
