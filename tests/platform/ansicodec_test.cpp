#include "platform/ansicodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(AnsiCodec, PersianLettersRoundTripThroughCodePage) {
    const QString text = QStringLiteral("پيام گزارش ك ي، ؟ abc");
    const QByteArray bytes = plat::toAnsi(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(plat::fromAnsi(bytes), text);
    // Known code points of the code page.
    EXPECT_EQ(plat::toAnsi(QStringLiteral("\u067E")), QByteArray("\x81"));
    EXPECT_EQ(plat::toAnsi(QStringLiteral("\u0643")), QByteArray("\xDF"));
    EXPECT_EQ(plat::toAnsi(QStringLiteral("\u064A")), QByteArray("\xED"));
}

TEST(AnsiCodec, UnmappableCharacterBecomesQuestionMark) {
    EXPECT_EQ(plat::toAnsi(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
}

TEST(AnsiCodec, DecodeHonoursByteOrderMarks) {
    const QString expected = QStringLiteral("ك1");
    struct Case {
        QByteArray bytes;
    } cases[] = {
        {QByteArray("\xEF\xBB\xBF") + expected.toUtf8()},
        {QByteArray("\xFF\xFE\x43\x06\x31\x00", 6)},
        {QByteArray("\xFE\xFF\x06\x43\x00\x31", 6)},
        {QByteArray("\xDF"
                    "1")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::decodeText(c.bytes), expected) << c.bytes.toHex().constData();
}

TEST(AnsiCodec, SplitLinesAcceptsEveryLineEnd) {
    EXPECT_EQ(plat::splitLines(QStringLiteral("a\r\nb\nc\rd")), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(plat::splitLines(QStringLiteral("a\r\n")), (QStringList{"a"}));
    EXPECT_EQ(plat::splitLines(QStringLiteral("a\r\n\r\nb")), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(plat::splitLines(QString()).isEmpty());
}

TEST(AnsiCodec, SavedLinesAreCrLfAnsiWithoutBom) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    plat::saveLinesAnsi(path, {QStringLiteral("خطا"), QStringLiteral("x=1")});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\xCE\xD8\xC7\r\nx=1\r\n"));
    EXPECT_EQ(plat::loadLines(path), (QStringList{QStringLiteral("خطا"), QStringLiteral("x=1")}));
}

TEST(AnsiCodec, MissingFileRaisesNamingIt) {
    try {
        plat::loadLines(QStringLiteral("/nonexistent/dir/file.txt"));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/dir/file.txt"), std::string::npos);
    }
}
