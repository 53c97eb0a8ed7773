// Files larger than the reader's buffer: rows, quoted line ends and characters of
// several bytes fall across every read boundary.
#include "textdriverfixture.h"

#include "dataaccess/embedded/textdriver/textdriver.h"
#include "dataaccess/sqlerror.h"

#include <sqlite3.h>

namespace {

constexpr int kRows = 30000;  // about 2.5 MB of text

QString noteOf(int i) {
    // Varying lengths move the boundaries; Persian letters and a four-byte character
    // land on them in UTF-8 and UTF-16.
    return QStringLiteral(u"\u0639\u0644\u064A \"%1\"\r\n%2").arg(i).arg(QString(i % 7, u'x')) +
           (i % 5 == 0 ? QStringLiteral(u"\U0001F404") : QString());
}

QString fileText() {
    QString text = QStringLiteral("RegNo,Note,BvMilk\r\n");
    for (int i = 0; i < kRows; ++i) {
        QString note = noteOf(i);
        note.replace(u'"', QStringLiteral("\"\""));
        text += QStringLiteral("h%1,\"%2\",%3.25\r\n").arg(i).arg(note).arg(i % 1000);
    }
    return text;
}

QByteArray utf16le(const QString& s) {
    QByteArray out("\xFF\xFE", 2);
    out.reserve(2 + s.size() * 2);
    for (QChar c : s) {
        out += static_cast<char>(c.unicode() & 0xFF);
        out += static_cast<char>(c.unicode() >> 8);
    }
    return out;
}

}  // namespace

class TextDriverLargeTest : public TextDriverFixture {
protected:
    void expectEveryRow() {
        sqlite3_stmt* s = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(m_db, "SELECT RegNo, Note, BvMilk FROM BVTemp ORDER BY rowid", -1, &s, nullptr), SQLITE_OK);
        int i = 0;
        int wrong = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            const QString reg = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
            const QString note = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
            if (reg != QStringLiteral("h%1").arg(i) || note != noteOf(i) || sqlite3_column_double(s, 2) != i % 1000 + 0.25) {
                if (++wrong < 5)
                    ADD_FAILURE() << "row " << i << ": " << reg.toStdString() << " / " << note.toStdString();
            }
            ++i;
        }
        sqlite3_finalize(s);
        EXPECT_EQ(i, kRows);
        EXPECT_EQ(wrong, 0);
    }
};

TEST_F(TextDriverLargeTest, Utf8AcrossReadBoundaries) {
    write(QStringLiteral("bv.txt"), "\xEF\xBB\xBF" + fileText().toUtf8());
    fill();
    expectEveryRow();
}

TEST_F(TextDriverLargeTest, Utf16AcrossReadBoundaries) {
    write(QStringLiteral("bv.txt"), utf16le(fileText()));
    fill();
    expectEveryRow();
}

TEST_F(TextDriverLargeTest, LineNumbersCountLineEndsInsideQuotes) {
    // Every row spans two lines; the ragged row after them is on line 2 * kRows + 2.
    write(QStringLiteral("bv.txt"), "\xEF\xBB\xBF" + fileText().toUtf8() + "h1,2\r\n");
    EXPECT_TRUE(fillError().startsWith(QStringLiteral("Text file 'bv.txt', line %1: the row has 2 values").arg(2 * kRows + 2)));
}

TEST_F(TextDriverLargeTest, ValueLongerThanTheBuffer) {
    const QByteArray big(3 << 20, 'v');
    write(QStringLiteral("bv.txt"), "A,B\n1,\"" + big + "\"\n2,x");
    fill();
    const std::vector<QStringList> r = rows();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0][1], QStringLiteral("TEXT:") + QString::fromLatin1(big));
    EXPECT_EQ(r[1], QStringList({"INT:2", "TEXT:x"}));
}

TEST_F(TextDriverLargeTest, QuoteLeftOpenStopsBeforeHoldingTheFile) {
    write(QStringLiteral("bv.txt"), "A\n1\n\"" + QByteArray(20 << 20, 'v'));
    EXPECT_EQ(fillError(), QStringLiteral("Text file 'bv.txt', line 3: the row is longer than 8 MiB; is a quote left open?"));
}

TEST_F(TextDriverLargeTest, ValueThatCannotBeStoredStopsTheReadingEarly) {
    // The error arises while the rest of the file is still being read.
    QByteArray file = "V\n";
    for (int i = 0; i < 100; ++i)
        file += "1.5\n";
    file += "abc\n";
    for (int i = 0; i < 200000; ++i)
        file += "2.5\n";
    write(QStringLiteral("bv.txt"), file);
    EXPECT_TRUE(fillError().startsWith(QStringLiteral("Text file 'bv.txt', line 102: the value 'abc' of column 'V' is not a number")));
    EXPECT_EQ(sqlite3_get_autocommit(m_db), 1);
}
