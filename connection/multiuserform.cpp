#include "multiuserform.h"

#include "platform/appexit.h"
#include "toolkit/userdialogs.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

TMultiUserForm* MultiUserForm = nullptr;

namespace {

constexpr int kClientWidth = 549;
constexpr int kClientHeight = 417;
constexpr int kTitleHeight = 17;
constexpr int kSideBarWidth = 66;
constexpr int kColumns = 3;

// The picture stored with the window: a drop of milk on a green meadow.
QPixmap windowPicture() {
    QPixmap pixmap(56, 56);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(128, 255, 0));
    painter.drawEllipse(QRectF(4, 40, 48, 14));
    QPainterPath drop;
    drop.moveTo(28, 4);
    drop.cubicTo(40, 22, 44, 30, 28, 44);
    drop.cubicTo(12, 30, 16, 22, 28, 4);
    painter.setPen(QPen(QColor(90, 120, 200), 2));
    painter.setBrush(QColor(235, 240, 255));
    painter.drawPath(drop);
    return pixmap;
}

}  // namespace

TMultiUserForm::TMultiUserForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MultiUserForm"));
    // Fixed single border without title-bar buttons; the platform's close command still
    // reaches closeEvent and cancels.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setLayoutDirection(Qt::RightToLeft);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);
    setContentsMargins(0, 0, 0, 0);

    StaticText1 = new QLabel(QStringLiteral("انتخاب مشتري جهت ورود ...."), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setAutoFillBackground(true);
    QPalette titlePalette = StaticText1->palette();
    titlePalette.setColor(QPalette::Window, QColor(255, 255, 217));
    StaticText1->setPalette(titlePalette);
    StaticText1->setGeometry(0, 0, kClientWidth, kTitleHeight);

    const int bodyHeight = kClientHeight - kTitleHeight;
    dxContainer1 = new QFrame(this);
    dxContainer1->setObjectName(QStringLiteral("dxContainer1"));
    dxContainer1->setGeometry(kClientWidth - kSideBarWidth, kTitleHeight, kSideBarWidth, bodyHeight);
    dxContainer1->setStyleSheet(QStringLiteral("#dxContainer1 { background: white; border: 1px solid rgb(128, 255, 0); }"));

    dxButton1 = new QPushButton(QStringLiteral("ورود"), dxContainer1);
    dxButton1->setObjectName(QStringLiteral("dxButton1"));
    dxButton1->setGeometry(1, 1, 64, 32);
    dxButton1->setDefault(true);
    dxButton1->setAutoDefault(true);
    connect(dxButton1, &QPushButton::clicked, this, &TMultiUserForm::dxButton1Click);

    Image1 = new QLabel(dxContainer1);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture = windowPicture();
    Image1->setPixmap(picture);
    Image1->setGeometry((kSideBarWidth - picture.width()) / 2, bodyHeight - picture.height() - 4, picture.width(),
                        picture.height());

    RadioGroup1 = new QListWidget(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setLayoutDirection(Qt::RightToLeft);
    RadioGroup1->setFrameShape(QFrame::NoFrame);
    RadioGroup1->setGeometry(0, kTitleHeight, kClientWidth - kSideBarWidth, bodyHeight);
    // Entries run down a column and on into the next, three columns to the width.
    RadioGroup1->setFlow(QListView::TopToBottom);
    RadioGroup1->setWrapping(true);
    RadioGroup1->setResizeMode(QListView::Adjust);
    RadioGroup1->setUniformItemSizes(true);
    RadioGroup1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(RadioGroup1, &QListWidget::itemDoubleClicked, this, [this] { RadioGroup1DblClick(); });
    layoutColumns();

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // A request to end the program closes the open window with the cancel result.
    connect(&plat::AppExit::instance(), &plat::AppExit::endRequested, this, [this] {
        if (isVisible())
            done(mrCancel);
    });
}

TMultiUserForm::~TMultiUserForm() {
    if (MultiUserForm == this)
        MultiUserForm = nullptr;
}

void TMultiUserForm::layoutColumns() {
    const int rowHeight = fontMetrics().height() + 6;
    // The list has no frame and scrolls sideways, so its own width is the columns' room.
    RadioGroup1->setGridSize(QSize(RadioGroup1->width() / kColumns, rowHeight));
}

void TMultiUserForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layoutColumns();
}

int TMultiUserForm::exec() {
    if (plat::endRequested())
        return mrCancel;
    return QDialog::exec();
}

void TMultiUserForm::reject() { done(mrCancel); }

QString TMultiUserForm::selectedText() const {
    const QList<QListWidgetItem*> selected = RadioGroup1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void TMultiUserForm::dxButton1Click() {
    if (!RadioGroup1->selectedItems().isEmpty())
        done(mrOk);
}

void TMultiUserForm::RadioGroup1DblClick() { dxButton1Click(); }

void TMultiUserForm::keyPressEvent(QKeyEvent* event) {
    // Without a cancel button Escape does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
