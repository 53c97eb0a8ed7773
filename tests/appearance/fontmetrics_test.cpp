// The face behind "Tahoma" as the windows get it, measured: the run-time dialogs lay
// themselves out in dialog units of these figures, and the windows' boxes were laid
// out for a face of these line heights.
#include "app/appearance.h"
#include "app/mainform.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QLabel>
#include <QRawFont>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

struct Size {
    const char* name;
    int pixels;  // 0: points instead
    int points;
    int resolvedPixels;
    int w;  // dialog-unit base: (advance of the 52 letters / 26 + 1) / 2
    int h;  // line height
};

// 11 px: the main, customer and board windows and the message dialogs; 9 pt: the
// run-time dialogs (12 px at the 96 dpi of the test platform).
const Size kSizes[] = {
    {"11 px", 11, 0, 11, 6, 11},
    {"9 pt", 0, 9, 12, 7, 12},
};

QFont tahoma(const Size& size) {
    QFont font(QStringLiteral("Tahoma"));
    if (size.pixels)
        font.setPixelSize(size.pixels);
    else
        font.setPointSize(size.points);
    return font;
}

TEST(TahomaMetrics, ResolvedFaceAndDialogUnitsAtTheSizesTheWindowsUse) {
    for (const Size& size : kSizes) {
        SCOPED_TRACE(size.name);
        const QFont font = tahoma(size);
        const QFontInfo info(font);
        // The face found, not the one asked for: a fallback also answers "Tahoma" to
        // QFont::family().
        EXPECT_EQ(info.family(), QStringLiteral("Tahoma"));
        EXPECT_EQ(info.pixelSize(), size.resolvedPixels);
        const QFontMetrics fm(font);
        EXPECT_EQ((fm.horizontalAdvance(kLetters) / 26 + 1) / 2, size.w);
        EXPECT_EQ(fm.height(), size.h);
    }
}

TEST(TahomaMetrics, PersianTextIsDrawnByTahomaItself) {
    // A face without Persian letters would leave them to another face, and two faces
    // would stand side by side in one line.
    QTextLayout layout(QStringLiteral("توصيه ميشود هنگام استفاده از اين نرم افزار برنامه اصلي را ببنديد. Text"), defaultFace());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    ASSERT_FALSE(runs.isEmpty());
    for (const QGlyphRun& run : runs)
        EXPECT_EQ(run.rawFont().familyName(), QStringLiteral("Tahoma"));
}

TEST(TahomaMetrics, MainWindowTextsStayInsideTheirBoxes) {
    TMainForm form;
    struct Box {
        QLabel* label;
        QRect laidOut;
    };
    const Box boxes[] = {
        {form.Label3, {8, 43, 577, 13}},
        {form.Label4, {282, 62, 303, 13}},
        {form.Label2, {510, 90, 83, 13}},
        {form.Label6, {47, 114, 38, 13}},
        {form.Label5, {47, 128, 59, 13}},
    };
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.label->objectName().toStdString());
        const QRect place = box.label->geometry();
        const QFontMetrics fm(box.label->font());
        EXPECT_EQ(QFontInfo(box.label->font()).family(), QStringLiteral("Tahoma"));
        EXPECT_LE(fm.horizontalAdvance(box.label->text()), place.width());
        EXPECT_LE(fm.height(), box.laidOut.height());
        // In its laid-out place, from the edge its reading starts at; at most the pixel
        // of a last letter's overhang wider.
        EXPECT_EQ(place.top(), box.laidOut.top());
        if (box.label->layoutDirection() == Qt::RightToLeft)
            EXPECT_EQ(place.right(), box.laidOut.right());
        else
            EXPECT_EQ(place.left(), box.laidOut.left());
        EXPECT_LE(place.width(), box.laidOut.width() + 1);
    }
    // The long line overflowed its box by 15 pixels before its word gaps closed up.
    EXPECT_EQ(form.Label3->geometry(), QRect(8, 43, 577, 13));
    // The title lines' face stays inside the window.
    for (QLabel* title : {form.Label1, form.Label7})
        EXPECT_TRUE(form.ClientArea->rect().contains(title->geometry())) << title->objectName().toStdString();
}

}  // namespace
