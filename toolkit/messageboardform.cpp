#include "messageboardform.h"

#include "platform/ansicodec.h"
#include "platform/appexit.h"
#include "platform/framedplacement.h"
#include "platform/shellopen.h"
#include "toolkit/columnlinedelegate.h"
#include "toolkit/messagegrid.h"
#include "toolkit/messagerowsmodel.h"
#include "toolkit/qtdialogs.h"
#include "toolkit/tools.h"
#include "widgets/bouncingprogressstrip.h"
#include "widgets/flatbutton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

TMessageBoardForm* MessageBoardForm = nullptr;

namespace {

// Rows reach the grid at most this often (milliseconds): laying out and repainting the
// grid for every row of a long report would cost far more than the caller's work. A
// frame shapes the counter's text and that of any new rows in view again; ten frames a
// second keep that to a few percent of a long script while the board still moves visibly.
constexpr int kPublishInterval = 100;

constexpr int kClientWidth = 547;
constexpr int kClientHeight = 590;
constexpr int kBorderWidth = 5;

const QString kEmptyList = QStringLiteral("ليست خالي است");
const QString kReportFilter = QStringLiteral("فايلهاي گزارش|*.Txt|همه فايلها|*.*");

std::optional<QString> askWithFileDialog(QWidget* owner, const QString& proposedName) {
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The chosen name gets ".Txt" appended afterwards, so a question about replacing
    // the chosen file would be about another file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(boardrows::nameFilters(kReportFilter));
    dialog.selectFile(proposedName);
    if (plat::endRequested())
        return std::nullopt;
    QObject::connect(&plat::AppExit::instance(), &plat::AppExit::endRequested, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

TMessageBoardForm::TMessageBoardForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    MessageBoardForm = this;
    setObjectName(QStringLiteral("MessageBoardForm"));
    // Closing the board only hides it; it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setLayoutDirection(Qt::RightToLeft);
    QFont face(QStringLiteral("Tahoma"));
    face.setPixelSize(11);
    setFont(face);
    buildControls();
    m_publishTimer.setSingleShot(true);
    m_publishTimer.setInterval(kPublishInterval);
    connect(&m_publishTimer, &QTimer::timeout, this, &TMessageBoardForm::publishRows);

    setFixedSize(kClientWidth + 2 * kBorderWidth, kClientHeight + 2 * kBorderWidth);
    plat::centreFrameOnScreen(this);

    // The form sees the keys before its controls.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

TMessageBoardForm::~TMessageBoardForm() {
    if (MessageBoardForm == this)
        MessageBoardForm = nullptr;
}

void TMessageBoardForm::buildControls() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth);
    column->setSpacing(0);

    m_rows = new MessageRowsModel(this);
    MessageList = new MessageGrid(this);
    MessageList->setObjectName(QStringLiteral("MessageList"));
    MessageList->setModel(m_rows);
    MessageList->setItemDelegate(new ColumnLineDelegate(MessageList));
    MessageList->setFrameShape(QFrame::NoFrame);
    MessageList->setShowGrid(false);
    MessageList->setSelectionBehavior(QAbstractItemView::SelectRows);
    MessageList->setSelectionMode(QAbstractItemView::SingleSelection);
    MessageList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MessageList->verticalHeader()->hide();
    // Rows of one height keep appending cheap on long reports.
    MessageList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MessageList->verticalHeader()->setDefaultSectionSize(MessageList->fontMetrics().height() + 6);
    MessageList->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    MessageList->horizontalHeader()->setStretchLastSection(false);
    MessageList->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(217, 255, 217); }"));
    MessageList->setColumnWidth(0, 188);
    MessageList->setColumnWidth(1, 357);
    setGridColor(gridColor());
    column->addWidget(MessageList, 1);

    PBT = new BouncingProgressStrip(this);
    PBT->setObjectName(QStringLiteral("PBT"));
    PBT->setFixedHeight(13);
    PBT->setSteps(5);
    PBT->setBlockWidth(200);
    PBT->setStep(1);
    PBT->setBlockColor(QColor(255, 121, 121));
    PBT->setBackColor(QColor(255, 255, 230));
    column->addWidget(PBT);

    dxContainer1 = new QFrame(this);
    dxContainer1->setObjectName(QStringLiteral("dxContainer1"));
    dxContainer1->setFixedHeight(30);
    column->addWidget(dxContainer1);

    // Right to left, column 0 is the right end. The two outer columns share the spare
    // width equally, which keeps the counter centred whatever the button widths.
    auto* bar = new QGridLayout(dxContainer1);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setColumnStretch(0, 1);
    bar->setColumnStretch(2, 1);
    dxButton2 = new FlatButton(QStringLiteral("ذخيره گزارش"), dxContainer1);
    dxButton2->setObjectName(QStringLiteral("dxButton2"));
    bar->addWidget(dxButton2, 0, 0, Qt::AlignLeading);
    Label1 = new QLabel(dxContainer1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFixedSize(281, 20);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::Window, QColor(228, 225, 220));
    Label1->setPalette(labelPalette);
    bar->addWidget(Label1, 0, 1);
    dxButton1 = new FlatButton(QStringLiteral("برگشت"), dxContainer1);
    dxButton1->setObjectName(QStringLiteral("dxButton1"));
    bar->addWidget(dxButton1, 0, 2, Qt::AlignTrailing);

    connect(dxButton1, &QPushButton::clicked, this, &TMessageBoardForm::dxButton1Click);
    connect(dxButton2, &QPushButton::clicked, this, &TMessageBoardForm::dxButton2Click);
}

void TMessageBoardForm::setGridColor(const QColor& color) {
    QPalette pal = MessageList->palette();
    pal.setColor(QPalette::Base, color);
    MessageList->setPalette(pal);
}

void TMessageBoardForm::StartRecording(bool IsFarsi, const QString& Title) {
    Label1->clear();
    // Only the grid follows the report's language; the rest of the board stays right to left.
    MessageList->setLayoutDirection(IsFarsi ? Qt::RightToLeft : Qt::LeftToRight);
    setWindowTitle(Title);
    m_publishTimer.stop();
    holdStatusPaint(false);
    m_rows->clear();
    m_sincePublish.invalidate();
    dxButton1->setEnabled(false);
    dxButton2->setEnabled(false);
    // Outer height, frame included: the screen's height less 40, from the top edge;
    // placed before showing, so that the first showing is already there, and made again
    // once the frame is known.
    const int outerHeight = (screen() ? screen()->geometry().height() : 0) - 40;
    plat::placeFrameAtTop(this, outerHeight);
    if (!isVisible())
        show();
    PBT->show();
    PBT->tick();
    dxButton1->repaint();
    plat::placeFrameAtTop(this, outerHeight);
}

void TMessageBoardForm::PostThisMessage(const QString& Titr, const QString& Value) {
    if (!isVisible())
        show();
    m_rows->append(boardrows::wrap(Titr, Value));
    const bool frame = !m_sincePublish.isValid() || m_sincePublish.elapsed() >= kPublishInterval;
    // Between frames the strip and the counter take every row's state without painting
    // it; shaping the counter's text on every row cost more than the caller's statements.
    holdStatusPaint(!frame);
    PBT->tick();
    Label1->setText(boardrows::counterText(rowCount()));
    if (frame)
        publishRows();
    else if (!m_publishTimer.isActive())
        m_publishTimer.start();
    // One turn of the event loop per row: the user's input is handled while the caller
    // works on, and a frame that is due is painted.
    QCoreApplication::processEvents();
}

void TMessageBoardForm::publishRows() {
    m_publishTimer.stop();
    holdStatusPaint(false);
    m_rows->publish();
    m_sincePublish.start();
}

void TMessageBoardForm::holdStatusPaint(bool hold) {
    if (hold == m_statusPaintHeld)
        return;
    m_statusPaintHeld = hold;
    // Letting go repaints both with what they hold now.
    PBT->setUpdatesEnabled(!hold);
    Label1->setUpdatesEnabled(!hold);
}

void TMessageBoardForm::StopRecording() {
    publishRows();
    Label1->setText(boardrows::counterText(rowCount()));
    dxButton1->setEnabled(true);
    dxButton2->setEnabled(true);
    PBT->hide();
}

void TMessageBoardForm::ExecuteFile(const QString& FileName) { plat::shellOpen().open(FileName); }

int TMessageBoardForm::rowCount() const { return static_cast<int>(m_rows->rows().size()); }

QString TMessageBoardForm::rowKey(int row) const { return m_rows->rows().at(static_cast<size_t>(row)).key; }

QString TMessageBoardForm::rowValue(int row) const { return m_rows->rows().at(static_cast<size_t>(row)).value; }

QString TMessageBoardForm::counterText() const { return Label1->text(); }

void TMessageBoardForm::dxButton1Click() { close(); }

void TMessageBoardForm::dxButton2Click() {
    if (rowCount() == 0) {
        dialogs().plainMessage(kEmptyList);
        return;
    }
    const std::optional<QString> chosen = askSaveFile(boardrows::proposedReportName(windowTitle(), m_rows->rows().front()));
    if (!chosen)
        return;
    // ".Txt" is appended whatever the chosen name ends with.
    const QString fileName = *chosen + QStringLiteral(".Txt");
    try {
        plat::saveLinesAnsi(fileName, boardrows::reportLines(m_rows->rows()));
    } catch (const std::exception& e) {
        // A file that cannot be written ends the save with the platform's error; the
        // rows stay.
        dialogs().plainMessage(QString::fromUtf8(e.what()));
        return;
    }
    ExecuteFile(fileName);
}

void TMessageBoardForm::FormKeyPress(QKeyEvent* Key) {
    // Enter closes the board even while the back button is disabled.
    if (Key->key() == Qt::Key_Return || Key->key() == Qt::Key_Enter)
        dxButton1Click();
}

void TMessageBoardForm::FormKeyUp(QKeyEvent* Key) {
    if (Key->key() == Qt::Key_Escape)
        dxButton1Click();
}

void TMessageBoardForm::FormCloseQuery(QObject*, bool& CanClose) {
    setGridColor(gridColor());
    CanClose = true;
}

void TMessageBoardForm::FormShow(QObject*) {
    if (Tools)
        Tools->_SetConfigAgain();
}

bool TMessageBoardForm::previewKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return false;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (event->type() == QEvent::KeyPress && enter) {
        FormKeyPress(key);
        return true;
    }
    if (event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Escape) {
        FormKeyUp(key);
        return true;
    }
    return false;
}

bool TMessageBoardForm::eventFilter(QObject* watched, QEvent* event) {
    if (previewKey(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void TMessageBoardForm::keyPressEvent(QKeyEvent* event) {
    if (!previewKey(event))
        QWidget::keyPressEvent(event);
}

void TMessageBoardForm::keyReleaseEvent(QKeyEvent* event) {
    if (!previewKey(event))
        QWidget::keyReleaseEvent(event);
}

void TMessageBoardForm::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    FormCloseQuery(this, canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void TMessageBoardForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Only a change from hidden to shown, not the platform restoring the window.
    if (!event->spontaneous())
        FormShow(this);
}

UserDialogs& TMessageBoardForm::dialogs() {
    if (m_dialogs)
        return *m_dialogs;
    if (Tools)
        return Tools->dialogs();
    if (!m_ownDialogs)
        m_ownDialogs = makeQtDialogs(nullptr);
    return *m_ownDialogs;
}

std::optional<QString> TMessageBoardForm::askSaveFile(const QString& proposedName) {
    if (m_askSaveFile)
        return m_askSaveFile(this, proposedName);
    return askWithFileDialog(this, proposedName);
}
