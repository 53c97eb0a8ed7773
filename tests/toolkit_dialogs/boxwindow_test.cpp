#include "toolkit/boxwindow.h"
#include "toolkit/qtdialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kSmallWait = QStringLiteral("           لطفا صبر كنيد               ");
const QString kBigWait = QStringLiteral("                                           لطفا صبر كنيد                                           ");

TBoxWindow* findBox() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<TBoxWindow*>(w))
            return box;
    return nullptr;
}

QColor background(QWidget* w) { return w->palette().color(QPalette::Window); }

}  // namespace

TEST(BoxWindow, EachKindHasItsLook) {
    struct Case {
        BoxKind kind;
        unsigned color;
        int height;
        QColor background;
        QString caption;
        bool closeBox;
        QString initialText;
    } cases[] = {
        {BoxKind::Small, 0, 100, QColor(249, 255, 225), QStringLiteral("پيام"), false, kSmallWait},
        {BoxKind::Big, 0, 120, QColor(255, 219, 202), QStringLiteral("Warning"), true, kBigWait},
        // 0x00BBGGRR
        {BoxKind::Color, 0x00112233u, 150, QColor(0x33, 0x22, 0x11), QStringLiteral("Warning"), true, kSmallWait},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        QtDialogs dialogs;
        dialogs.showBox(c.kind, QString(), c.color);
        TBoxWindow* box = findBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box, dialogs.boxWindow());
        EXPECT_TRUE(box->isVisible());
        EXPECT_FALSE(box->isModal());
        EXPECT_EQ(box->frameGeometry().height(), c.height);
        EXPECT_EQ(background(box), c.background);
        EXPECT_EQ(box->windowTitle(), c.caption);
        EXPECT_EQ(bool(box->windowFlags() & Qt::WindowCloseButtonHint), c.closeBox);
        EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);
        EXPECT_EQ(box->font().family(), QStringLiteral("Tahoma"));
        // An empty message keeps the padded please-wait text.
        EXPECT_EQ(box->message(), c.initialText);
        // Icon at the reading start, the right edge.
        EXPECT_GT(box->iconLabel()->x(), box->width() / 2);
        dialogs.closeBox();
        EXPECT_EQ(findBox(), nullptr);
    }
}

TEST(BoxWindow, InitialTextDecidesTheWidth) {
    QtDialogs small;
    small.showBox(BoxKind::Small, QString(), 0);
    const int smallWidth = small.boxWindow()->width();
    small.showBox(BoxKind::Small, QString(300, u'x'), 0);
    EXPECT_EQ(small.boxWindow()->width(), smallWidth);
    // Wrapped beside the icon, within the window.
    EXPECT_TRUE(small.boxWindow()->wrapped());
    EXPECT_LE(small.boxWindow()->messageLabel()->geometry().right(), small.boxWindow()->iconLabel()->x());

    QtDialogs big;
    big.showBox(BoxKind::Big, QStringLiteral("short"), 0);
    EXPECT_GT(big.boxWindow()->width(), smallWidth);
    EXPECT_FALSE(big.boxWindow()->wrapped());
}

TEST(BoxWindow, LaterCallsOnlyReplaceTheText) {
    QtDialogs dialogs;
    dialogs.showBox(BoxKind::Small, QStringLiteral("one"), 0);
    TBoxWindow* box = dialogs.boxWindow();
    const QSize size = box->size();
    dialogs.showBox(BoxKind::Big, QStringLiteral("two"), 0);
    dialogs.showBox(BoxKind::Color, QStringLiteral("three"), 0x0000FF00u);
    EXPECT_EQ(dialogs.boxWindow(), box);
    EXPECT_EQ(findBox(), box);
    EXPECT_EQ(box->message(), QStringLiteral("three"));
    EXPECT_EQ(box->size(), size);
    EXPECT_EQ(box->frameGeometry().height(), 100);
    EXPECT_EQ(background(box), QColor(249, 255, 225));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("پيام"));
    // An empty message keeps the text.
    dialogs.showBox(BoxKind::Small, QString(), 0);
    EXPECT_EQ(box->message(), QStringLiteral("three"));
}

TEST(BoxWindow, SmallCallOnABigBoxWrapsItsLabel) {
    QtDialogs dialogs;
    dialogs.showBox(BoxKind::Big, QStringLiteral("one"), 0);
    EXPECT_FALSE(dialogs.boxWindow()->wrapped());
    dialogs.showBox(BoxKind::Small, QStringLiteral("two"), 0);
    EXPECT_TRUE(dialogs.boxWindow()->wrapped());
    EXPECT_EQ(dialogs.boxWindow()->frameGeometry().height(), 120);
}

TEST(BoxWindow, CloseBoxHidesTheWindowUntilShowBoxClose) {
    QtDialogs dialogs;
    dialogs.showBox(BoxKind::Big, QStringLiteral("one"), 0);
    QPointer<TBoxWindow> box = dialogs.boxWindow();
    box->close();
    ASSERT_FALSE(box.isNull());
    EXPECT_FALSE(box->isVisible());
    dialogs.showBox(BoxKind::Big, QStringLiteral("two"), 0);
    EXPECT_EQ(box->message(), QStringLiteral("two"));
    EXPECT_FALSE(box->isVisible());
    dialogs.closeBox();
    EXPECT_TRUE(box.isNull());
    // Twice is harmless.
    dialogs.closeBox();
    EXPECT_EQ(findBox(), nullptr);
    // The next call makes a new box of its own kind.
    dialogs.showBox(BoxKind::Small, QString(), 0);
    EXPECT_EQ(dialogs.boxWindow()->frameGeometry().height(), 100);
    EXPECT_TRUE(dialogs.boxWindow()->isVisible());
}

TEST(BoxWindow, EveryCallTurnsTheEventLoopOnce) {
    QtDialogs dialogs;
    for (int i = 0; i < 2; ++i) {
        bool fired = false;
        QTimer::singleShot(0, [&] { fired = true; });
        dialogs.showBox(BoxKind::Small, QStringLiteral("x"), 0);
        EXPECT_TRUE(fired) << i;
    }
}
