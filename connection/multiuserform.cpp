#include "multiuserform.h"

#include "platform/appexit.h"
#include "platform/framedplacement.h"
#include "platform/x11desktop.h"
#include "toolkit/userdialogs.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <algorithm>

TMultiUserForm* MultiUserForm = nullptr;

namespace {

constexpr int kClientWidth = 549;
constexpr int kClientHeight = 417;
constexpr int kTitleHeight = 17;
constexpr int kSideBarWidth = 66;
constexpr int kColumns = 3;
constexpr int kBorderWidth = 5;

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

// The height of one entry's line.
int entryHeight(const QFontMetrics& fm) { return fm.height() + 6; }

// A list whose entries fill three columns evenly, top to bottom, as a group of radio
// buttons in three columns does: as many rows as the longest column needs, spread over
// the list's height, so that a column breaks after that many entries whatever their
// number. Past what the height holds, the columns wrap and the list scrolls sideways.
class ColumnList : public QListWidget {
public:
    explicit ColumnList(QWidget* parent) : QListWidget(parent) {
        connect(model(), &QAbstractItemModel::rowsInserted, this, &ColumnList::layoutColumns);
        connect(model(), &QAbstractItemModel::rowsRemoved, this, &ColumnList::layoutColumns);
        connect(model(), &QAbstractItemModel::modelReset, this, &ColumnList::layoutColumns);
    }
    // The model empties itself while the list is being destroyed.
    ~ColumnList() override { disconnect(model(), nullptr, this, nullptr); }

    void layoutColumns() {
        const int line = entryHeight(fontMetrics());
        const int rows = std::max(1, (count() + kColumns - 1) / kColumns);
        // The list breaks a column where the next entry would end below its last pixel.
        const int room = height() - frameWidth() * 2 - 1;
        const bool fits = rows * line <= room;
        // No scroll bar while three columns hold everything: its height would take
        // rows away.
        setHorizontalScrollBarPolicy(fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
        setGridSize(QSize((width() - frameWidth() * 2) / kColumns, fits ? room / rows : line));
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QListWidget::resizeEvent(event);
        layoutColumns();
    }
};

// Draws an entry (and its selection) as one line in the middle of its tall cell.
class EntryLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem line(option);
        const int height = std::min(option.rect.height(), entryHeight(option.fontMetrics));
        line.rect.setTop(option.rect.center().y() - height / 2);
        line.rect.setHeight(height);
        QStyledItemDelegate::paint(painter, line, index);
    }
    // Each entry takes its whole cell, so that its line stands in the cell's middle.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (auto* list = qobject_cast<const QListView*>(parent()))
            size.setHeight(std::max(size.height(), list->gridSize().height()));
        return size;
    }
};

}  // namespace

TMultiUserForm::TMultiUserForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("MultiUserForm"));
    // Fixed single border without title-bar buttons; the platform's close command still
    // reaches closeEvent and cancels.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(plat::blankTitle());
    setLayoutDirection(Qt::RightToLeft);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(kClientWidth + 2 * kBorderWidth, kClientHeight + 2 * kBorderWidth);
    setContentsMargins(0, 0, 0, 0);
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setGeometry(kBorderWidth, kBorderWidth, kClientWidth, kClientHeight);
    QWidget* const c = ClientArea;

    StaticText1 = new QLabel(QStringLiteral("انتخاب مشتري جهت ورود ...."), c);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setAutoFillBackground(true);
    QPalette titlePalette = StaticText1->palette();
    titlePalette.setColor(QPalette::Window, QColor(255, 255, 217));
    StaticText1->setPalette(titlePalette);
    StaticText1->setGeometry(0, 0, kClientWidth, kTitleHeight);

    const int bodyHeight = kClientHeight - kTitleHeight;
    dxContainer1 = new QFrame(c);
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

    auto* list = new ColumnList(c);
    RadioGroup1 = list;
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
    RadioGroup1->setItemDelegate(new EntryLineDelegate(RadioGroup1));
    connect(RadioGroup1, &QListWidget::itemDoubleClicked, this, [this] { RadioGroup1DblClick(); });
    list->layoutColumns();
    // The arrow keys and Enter work on the list from the start.
    setTabOrder(RadioGroup1, dxButton1);
    RadioGroup1->setFocus();

    plat::useBorderOnlyFrame(this);
    plat::centreFrameOnScreen(this);

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
