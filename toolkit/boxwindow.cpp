#include "boxwindow.h"

#include "platform/framedplacement.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int kIconSize = 32;

// Dialog units of the window's font, as message dialogs measure their margins.
int horizontalUnits(const QFontMetrics& fm, int units) { return units * fm.averageCharWidth() / 4; }
int verticalUnits(const QFontMetrics& fm, int units) { return units * fm.height() / 8; }

// The platform library's caption of a warning dialog, in Persian where Qt's translation
// is loaded (which has the word only with a colon), "Warning" otherwise.
QString warningCaption() {
    QString caption = QCoreApplication::translate("QErrorMessage", "Warning:");
    if (caption.endsWith(u':'))
        caption.chop(1);
    return caption;
}

}  // namespace

QString TBoxWindow::initialText(BoxKind kind) {
    return kind == BoxKind::Big ? QStringLiteral("                                           لطفا صبر كنيد                                           ") : QStringLiteral("           لطفا صبر كنيد               ");
}

int TBoxWindow::outerHeight(BoxKind kind) {
    switch (kind) {
    case BoxKind::Small: return 100;
    case BoxKind::Big: return 120;
    case BoxKind::Color: return 150;
    }
    return 100;
}

QColor TBoxWindow::background(BoxKind kind, unsigned color) {
    switch (kind) {
    case BoxKind::Small: return QColor(249, 255, 225);
    case BoxKind::Big: return QColor(255, 219, 202);
    case BoxKind::Color: return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    }
    return {};
}

TBoxWindow::TBoxWindow(BoxKind kind, unsigned color, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_kind(kind) {
    setObjectName(QStringLiteral("MsgBoxForm"));
    // The small box has no title-bar buttons; the other two have the close box.
    if (kind != BoxKind::Small)
        setWindowFlag(Qt::WindowCloseButtonHint, true);
    // A box left on the screen must not keep the program alive, nor end it when closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setLayoutDirection(Qt::RightToLeft);
    setFont(QFont(QStringLiteral("Tahoma")));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, background(kind, color));
    setPalette(pal);
    if (kind != BoxKind::Small)
        setWindowTitle(warningCaption());

    const QFontMetrics fm(font());
    m_margin = horizontalUnits(fm, 8);
    m_spacing = horizontalUnits(fm, 10);
    const QString text = initialText(kind);
    const int textWidth = fm.horizontalAdvance(text);
    setFixedSize(2 * m_margin + kIconSize + m_spacing + textWidth, outerHeight(kind));

    // The icon stands at the reading start, the right edge.
    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("Image"));
    m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(kIconSize, kIconSize));
    m_icon->setGeometry(width() - m_margin - kIconSize, verticalUnits(fm, 8), kIconSize, kIconSize);

    m_label = new QLabel(text, this);
    m_label->setObjectName(QStringLiteral("Message"));
    m_label->setTextFormat(Qt::PlainText);
    placeLabel();
}

void TBoxWindow::placeLabel() {
    const int right = m_icon->x() - m_spacing;  // the label's right edge, beside the icon
    if (m_wrapped) {
        m_label->setGeometry(m_margin, 0, std::max(0, right - m_margin), height());
        return;
    }
    // Growing with its text: one line, right edge beside the icon, the rest clipped
    // by the window.
    m_label->adjustSize();
    m_label->move(right - m_label->width(), m_icon->y() + (kIconSize - m_label->height()) / 2);
}

void TBoxWindow::showCentred() {
    // The height is the outer height: the frame the window manager draws comes out of
    // it, once that frame is known (right after show() or later, when it frames the box).
    plat::centreFrameOnScreen(this, outerHeight(m_kind));
    show();
    plat::centreFrameOnScreen(this, outerHeight(m_kind));
}

void TBoxWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_label)
        placeLabel();
}

void TBoxWindow::setMessage(const QString& text) {
    m_label->setText(text);
    placeLabel();
}

QString TBoxWindow::message() const { return m_label->text(); }

void TBoxWindow::wrapToRightEdge() {
    m_wrapped = true;
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    placeLabel();
}
