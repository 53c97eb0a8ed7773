#include "mainform.h"

#include "app/filechooser.h"
#include "app/transfer.h"
#include "platform/appexit.h"
#include "platform/framedplacement.h"
#include "platform/x11desktop.h"
#include "toolkit/tools.h"
#include "widgets/flatbutton.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TMainForm* MainForm = nullptr;

namespace {

constexpr int kClientWidth = 593;
constexpr int kClientHeight = 141;
constexpr int kBorderWidth = 5;

QFont tahoma() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    return font;
}

QFont titleFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

// The laid-out places of the two labels that change their texts.
const QRect kLabel6Rect(47, 114, 38, 13);
const QRect kLabel5Rect(47, 128, 59, 13);

// Places a label at its laid-out rectangle. A label is never narrower than its text:
// where the face found is wider than the one the window was laid out with, the label
// grows from the edge its reading starts at (the right edge, right to left).
void placeLabel(QLabel* label, const QRect& laidOut) {
    // Tahoma's Persian letters here are a little wider than those the window was laid
    // out with: the word gaps close up by a pixel or two before the label grows.
    for (int spacing = 0; spacing >= -2; --spacing) {
        QFont font = label->font();
        font.setWordSpacing(spacing);
        label->setFont(font);
        if (label->sizeHint().width() <= laidOut.width())
            break;
    }
    const int needed = label->sizeHint().width();
    QRect place = laidOut;
    if (needed > place.width()) {
        if (label->layoutDirection() == Qt::RightToLeft)
            place.setLeft(place.right() + 1 - needed);
        else
            place.setWidth(needed);
    }
    label->setGeometry(place);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  Qt::LayoutDirection direction = Qt::RightToLeft, const QFont* font = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setLayoutDirection(direction);
    if (font)
        label->setFont(*font);
    // Leading edge (the right edge, right to left), centred in the line height: a face
    // with taller line metrics than the laid-out one keeps its letters inside the box.
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    placeLabel(label, geometry);
    return label;
}

QLabel* makeTitleLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    const QFont font = titleFont();
    QLabel* label = makeLabel(parent, name, text, geometry, Qt::RightToLeft, &font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

}  // namespace

TMainForm::TMainForm(std::unique_ptr<FileChooser> chooser, QWidget* parent)
    : QWidget(parent,
              // Title bar without buttons; the program is left through the back button.
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_chooser(chooser ? std::move(chooser) : std::make_unique<QtFileChooser>()) {
    MainForm = this;
    setObjectName(QStringLiteral("MainForm"));
    OpenDialog1 = m_chooser.get();
    setWindowTitle(plat::blankTitle());
    setLayoutDirection(Qt::RightToLeft);
    setFont(tahoma());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(221, 221, 255));
    setPalette(palette);
    setAutoFillBackground(true);
    setFixedSize(kClientWidth + 2 * kBorderWidth, kClientHeight + 2 * kBorderWidth);
    buildControls();
    plat::useBorderOnlyFrame(this);
    centreOnScreen();
}

TMainForm::~TMainForm() {
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::buildControls() {
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setGeometry(kBorderWidth, kBorderWidth, kClientWidth, kClientHeight);
    QWidget* c = ClientArea;

    // Positions are from the left and top of the client area; absolute geometry is not
    // mirrored by the right-to-left direction.
    Label1 = makeTitleLabel(c, "Label1", QStringLiteral("شركت ورنيكان"), QRect(236, 0, 130, 15));
    Label7 = makeTitleLabel(c, "Label7", QStringLiteral("نرم افزار انتقال اطلاعات BV مركز اصلاح نژاد(7.1.09)"), QRect(168, 19, 244, 15));
    Label3 = makeLabel(c, "Label3", QStringLiteral("براي استفاده از اين سيستم بايد فايل ارزيابي هاي مركز اصلاح نژاد را بصورت Text(متني) از اين مركز دريافت و در برنامه وارد كنيد"), QRect(8, 43, 577, 13));
    Label4 = makeLabel(c, "Label4", QStringLiteral("توصيه ميشود هنگام استفاده از اين نرم افزار برنامه اصلي را ببنديد."), QRect(282, 62, 303, 13));
    Label2 = makeLabel(c, "Label2", QStringLiteral("انتخاب فايل ورودي"), QRect(510, 90, 83, 13));

    Edit1 = new QLineEdit(c);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(47, 87, 457, 21);

    Button1 = new QPushButton(QStringLiteral("..."), c);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(0, 85, 41, 25);
    Button1->setAutoDefault(false);

    Label6 = makeLabel(c, "Label6", QStringLiteral("PathFile"), kLabel6Rect, Qt::LeftToRight);
    Label5 = makeLabel(c, "Label5", QStringLiteral("FileNameTxt"), kLabel5Rect, Qt::LeftToRight);

    dxButton1 = new FlatButton(QStringLiteral("شروع عمليات"), c);
    dxButton1->setObjectName(QStringLiteral("dxButton1"));
    dxButton1->setGeometry(472, 120, 113, 21);
    dxButton2 = new FlatButton(QStringLiteral("برگشت"), c);
    dxButton2->setObjectName(QStringLiteral("dxButton2"));
    dxButton2->setGeometry(353, 120, 113, 21);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, dxButton1);
    setTabOrder(dxButton1, dxButton2);
    Edit1->setFocus();

    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(Edit1, &QLineEdit::textChanged, this, &TMainForm::Edit1Change);
    connect(dxButton1, &QPushButton::clicked, this, &TMainForm::dxButton1Click);
    connect(dxButton2, &QPushButton::clicked, this, &TMainForm::dxButton2Click);
}

// Centres the frame, again once the window manager has framed the window.
void TMainForm::centreOnScreen() { plat::centreFrameOnScreen(this); }

void TMainForm::Button1Click() {
    if (OpenDialog1->execute(this))
        SetIt();
}

// The edit box and the labels follow the dialog's file name, never the typed text:
// typing is undone at once (to the empty text before the first choice). Setting the
// text the box already holds raises no change, which ends the chain. Before the first
// choice the labels keep their initial texts, which the transfer then receives.
void TMainForm::SetIt() {
    const QString fileName = OpenDialog1->fileName();
    Edit1->setText(fileName);
    if (fileName.isEmpty())
        return;
    const qsizetype cut = fileName.lastIndexOf(u'/') + 1;  // a root file keeps "/"
    Label5->setText(fileName.left(cut));
    Label6->setText(fileName.mid(cut));
    placeLabel(Label5, kLabel5Rect);
    placeLabel(Label6, kLabel6Rect);
}

void TMainForm::Edit1Change() { SetIt(); }

// The labels, as they stand, are the transfer's only inputs from this window.
void TMainForm::dxButton1Click() { TransferBreedingValues(*Tools, Label5->text(), Label6->text()); }

void TMainForm::dxButton2Click() { plat::requestEnd(); }

// Closing the main window by other means (the window manager) ends the program too.
void TMainForm::closeEvent(QCloseEvent* event) {
    plat::requestEnd();
    event->accept();
}
