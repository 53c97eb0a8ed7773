// The catalogue operations of the toolkit on the embedded engine.
#include "tests/fixtures/catalogfixture.h"

namespace {

const QString kError = QStringLiteral("خطا");

class CatalogueTest : public CatalogueFixture {};

TEST_F(CatalogueTest, WriteInsertsThenUpdatesTheSameRowAndReadGivesTheLastLines) {
    addRow(QStringLiteral("S"), QStringLiteral("Other"), QStringLiteral("x"));
    const QString today = m_tools->FarsiToday();
    ASSERT_EQ(today.size(), 10);

    ASSERT_TRUE(m_tools->SQlCmdWriteStringList(QStringLiteral("S"), QStringLiteral("T"), {QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(serverRows().value(1), QStringLiteral("2|S|T|0|%1|a\r\nb\r\n").arg(today));

    // An update keeps the row and its Seq, and stamps today's date over an old one.
    run(QStringLiteral("UPDATE SqlCommands SET SDate = '1390/01/01', Seq = 7 WHERE ID = 2"));
    m_tools->TSqlCommands->close();
    ASSERT_TRUE(m_tools->SQlCmdWriteStringList(QStringLiteral("S"), QStringLiteral("T"), {QStringLiteral("c ~ ي")}));
    EXPECT_EQ(serverRows(), QStringList({QStringLiteral("1|S|Other|5|1390/01/01|x"),
                                         QStringLiteral("2|S|T|7|%1|c ~ ي\r\n").arg(today)}));
    EXPECT_EQ(m_tools->SQlCmdReadOneWriteStringList(QStringLiteral("S"), QStringLiteral("T")), QStringList{QStringLiteral("c ~ ي")});
    EXPECT_TRUE(m_dialogs.entries().empty());
}

TEST_F(CatalogueTest, LongSectionsAndTitlesAreCutOnInsertSoTheLongKeyInsertsAgain) {
    struct Case {
        QString sec;
        QString titr;
        QString storedSec;
        QString storedTitr;
    };
    const QString sec31 = QString(30, u'S') + u'x';
    const QString titr101 = QString(100, u'T') + u'y';
    const Case cases[] = {
        {sec31, QStringLiteral("t"), QString(30, u'S'), QStringLiteral("t")},
        {QStringLiteral("s"), titr101, QStringLiteral("s"), QString(100, u'T')},
    };
    for (const Case& c : cases) {
        run(QStringLiteral("DELETE FROM SqlCommands"));
        m_tools->TSqlCommands->close();
        ASSERT_TRUE(m_tools->SQlCmdWriteStringList(c.sec, c.titr, {QStringLiteral("one")}));
        EXPECT_FALSE(m_tools->SQlCmdFind(c.sec, c.titr));
        EXPECT_TRUE(m_tools->SQlCmdReadOneWriteStringList(c.sec, c.titr).isEmpty());
        EXPECT_EQ(m_tools->SQlCmdReadOneWriteStringList(c.storedSec, c.storedTitr), QStringList{QStringLiteral("one")});
        ASSERT_TRUE(m_tools->SQlCmdWriteStringList(c.sec, c.titr, {QStringLiteral("two")}));
        const QStringList rows = serverRows();
        ASSERT_EQ(rows.size(), 2);
        for (const QString& row : rows) {
            const QStringList cells = row.split(u'|');
            EXPECT_EQ(cells[1], c.storedSec);
            EXPECT_EQ(cells[2], c.storedTitr);
        }
    }
}

TEST_F(CatalogueTest, LookupIsExactAndAnEmptyKeyPartMatchesAnything) {
    addRow(QStringLiteral("A"), QStringLiteral("One"), QStringLiteral("a1"));
    addRow(QStringLiteral("B"), QStringLiteral("Two"), QStringLiteral("b2"));
    addRow(QStringLiteral("A"), QStringLiteral("Two"), QStringLiteral("a2"));
    addRow(QStringLiteral(" "), QStringLiteral("Blank"), QStringLiteral("blank"));
    struct Case {
        const char* sec;
        const char* titr;
        const char* text;  // nullptr: not found
    };
    const Case cases[] = {
        {"A", "Two", "a2"},
        {"A", "", "a1"},
        {"", "Two", "b2"},
        {"a", "Two", nullptr},
        {"A", "two", nullptr},
        {"A ", "Two", nullptr},
        {" ", "", "blank"},
        {"", "", nullptr},
        {"C", "", nullptr},
    };
    for (const Case& c : cases) {
        const QString sec = QString::fromUtf8(c.sec);
        const QString titr = QString::fromUtf8(c.titr);
        const bool found = m_tools->SQlCmdFind(sec, titr);
        EXPECT_EQ(found, c.text != nullptr) << c.sec << "/" << c.titr;
        if (found)
            EXPECT_EQ(m_tools->TSqlCommands->fieldByName(QStringLiteral("SqlCmd")).asString(), QString::fromUtf8(c.text));
        const QStringList expected = c.text ? QStringList{QString::fromUtf8(c.text)} : QStringList();
        EXPECT_EQ(m_tools->SQlCmdReadOneWriteStringList(sec, titr), expected) << c.sec << "/" << c.titr;
    }
    // By section alone: the first entry in table order, whatever its title.
    EXPECT_EQ(m_tools->SQlCmdReadOne(QStringLiteral("A")), QStringLiteral("a1"));
    EXPECT_EQ(m_tools->SQlCmdReadOne(QStringLiteral("C")), QString());
    // A write with an empty key part updates that first match.
    ASSERT_TRUE(m_tools->SQlCmdWriteStringList(QStringLiteral("A"), QString(), {QStringLiteral("by section")}));
    ASSERT_TRUE(m_tools->SQlCmdWriteStringList(QString(), QStringLiteral("Two"), {QStringLiteral("by title")}));
    const QStringList rows = serverRows();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("|by section\r\n")) && rows[1].endsWith(QStringLiteral("|by title\r\n")) &&
                rows[2].endsWith(QStringLiteral("|a2")))
        << rows.join(u'\n').toStdString();
}

TEST_F(CatalogueTest, TheTableIsReadOnceAndRowsOfOthersStayUnseen) {
    addRow(QStringLiteral("S"), QStringLiteral("Old"), QStringLiteral("old"));
    ASSERT_TRUE(m_tools->SQlCmdFind(QStringLiteral("S"), QStringLiteral("Old")));
    addRow(QStringLiteral("S"), QStringLiteral("New"), QStringLiteral("new"));
    EXPECT_FALSE(m_tools->SQlCmdFind(QStringLiteral("S"), QStringLiteral("New")));
    EXPECT_EQ(m_tools->SQlCmdReadAndCreatStoreProce(QStringLiteral("S")).size(), 3);  // header, Old, footer
    // What the toolkit writes itself is seen at once.
    ASSERT_TRUE(m_tools->SQlCmdWriteStringList(QStringLiteral("S"), QStringLiteral("Mine"), {QStringLiteral("mine")}));
    EXPECT_TRUE(m_tools->SQlCmdFind(QStringLiteral("S"), QStringLiteral("Mine")));
}

TEST_F(CatalogueTest, WithoutAConnectionEveryOperationSaysErrorOnceAndFails) {
    addRow(QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("x"));
    m_conn.disconnect();
    m_tools->OPenSqlCommands();
    EXPECT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Msg), std::vector<QString>{kError});
    EXPECT_FALSE(m_tools->TSqlCommands->isOpen());

    m_dialogs.clear();
    EXPECT_FALSE(m_tools->SQlCmdWriteStringList(QStringLiteral("S"), QStringLiteral("T"), {QStringLiteral("y")}));
    EXPECT_THROW(m_tools->SQlCmdFind(QStringLiteral("S"), QStringLiteral("T")), da::SqlError);
    EXPECT_THROW(m_tools->SQlCmdReadOne(QStringLiteral("S")), da::SqlError);
    EXPECT_THROW(m_tools->SQlCmdReadOneWriteStringList(QStringLiteral("S"), QStringLiteral("T")), da::SqlError);
    EXPECT_THROW(m_tools->SQlCmdReadAndCreatStoreProce(QStringLiteral("S")), da::SqlError);
    EXPECT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Msg).size(), 5u);
    EXPECT_FALSE(m_tools->TSqlCommands->filtered());
    EXPECT_TRUE(m_tools->TSqlCommands->filter().isEmpty());

    // Once connected, the next operation opens the table.
    m_conn.connect();
    m_dialogs.clear();
    EXPECT_EQ(m_tools->SQlCmdReadOne(QStringLiteral("S")), QStringLiteral("x"));
    EXPECT_TRUE(m_dialogs.entries().empty());
}

TEST_F(CatalogueTest, AFailedWriteAnswersFalseSilentlyAndKeepsNothingInMemory) {
    addRow(QStringLiteral("S"), QStringLiteral("T"), QStringLiteral("x"));
    ASSERT_TRUE(m_tools->SQlCmdFind(QStringLiteral("S"), QStringLiteral("T")));
    run(QStringLiteral("DROP TABLE SqlCommands"));
    EXPECT_FALSE(m_tools->SQlCmdWriteStringList(QStringLiteral("S"), QStringLiteral("New"), {QStringLiteral("n")}));
    EXPECT_FALSE(m_tools->SQlCmdWriteStringList(QStringLiteral("S"), QStringLiteral("T"), {QStringLiteral("changed")}));
    EXPECT_TRUE(m_dialogs.entries().empty());
    EXPECT_FALSE(m_tools->TSqlCommands->editing());
    EXPECT_FALSE(m_tools->SQlCmdFind(QStringLiteral("S"), QStringLiteral("New")));
    EXPECT_EQ(m_tools->SQlCmdReadOne(QStringLiteral("S")), QStringLiteral("x"));
    // The memo is bound only while an operation runs.
    EXPECT_TRUE(m_tools->FreeDBMemo->dataField().isEmpty());
    EXPECT_EQ(m_tools->FreeDataSource->dataSet(), nullptr);
}

}  // namespace
