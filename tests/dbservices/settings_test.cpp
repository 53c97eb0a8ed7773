#include "dataaccess/sqlerror.h"
#include "tests/fixtures/sqlfixture.h"

namespace {

const QString kNotFound = QStringLiteral("NOTANSWER");

}  // namespace

class Settings : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE Info (GroupSec nvarchar(50), KeyName nvarchar(50), KeyValue nvarchar(200), "
                           "Discription nvarchar(200))"));
    }

    // Every row of Info in table order, "GroupSec|KeyName|KeyValue|Discription", NULL as "~".
    QStringList rows() {
        da::Query q(&m_conn);
        q.setSql(QStringLiteral("SELECT GroupSec, KeyName, KeyValue, Discription FROM Info"));
        q.open();
        QStringList out;
        for (; !q.eof(); q.next()) {
            QStringList cells;
            for (int i = 0; i < 4; ++i) cells << (q.field(i).isNull() ? QStringLiteral("~") : q.field(i).asString());
            out << cells.join(u'|');
        }
        return out;
    }

    // Both reads, which must agree.
    QString read(const QString& section, const QString& key) {
        QString viaVariable = QStringLiteral("stale");
        m_tools->ReadInformation(section, key, viaVariable);
        const QString viaResult = m_tools->FReadInformation(section, key);
        EXPECT_EQ(viaVariable, viaResult) << section.toStdString() << "/" << key.toStdString();
        return viaResult;
    }
};

TEST_F(Settings, BlankSectionIsTheDefaultGroupAndDescriptionOnlyOnInsert) {
    m_tools->WriteInformation(QString(), QStringLiteral("K"), QStringLiteral("V"), QStringLiteral("first"));
    EXPECT_EQ(read(QString(), QStringLiteral("K")), QStringLiteral("V"));
    EXPECT_EQ(read(QStringLiteral(" \t\r\n"), QStringLiteral("K")), QStringLiteral("V"));
    EXPECT_EQ(read(QStringLiteral("DEFAULT"), QStringLiteral("K")), QStringLiteral("V"));
    m_tools->WriteInformation(QStringLiteral("   "), QStringLiteral("K"), QStringLiteral("V2"), QStringLiteral("second"));
    m_tools->WriteInformation(QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("1"), QString());
    EXPECT_EQ(rows(), (QStringList{"DEFAULT|K|V2|first", "S|N|1|~"}));
    EXPECT_EQ(read(QStringLiteral("S"), QStringLiteral("N")), QStringLiteral("1"));
}

TEST_F(Settings, KeysAreExactAndLetterCaseSignificant) {
    const QString hostile = QStringLiteral("a'b;c]d}e\"");
    struct Write {
        const char* section;
        const char* key;
        QString value;
    } writes[] = {
        {"S", "key", "lower"},
        {"S", "KEY", "upper"},
        {"s", "key", "small group"},
        {"S", "  ", "blanks"},
        {"S", " key", "leading blank"},
        {"S", "q", hostile},
    };
    for (const Write& w : writes) m_tools->WriteInformation(w.section, w.key, w.value, QString());
    for (const Write& w : writes) EXPECT_EQ(read(w.section, w.key), w.value) << w.section << "/" << w.key;
    EXPECT_EQ(rows().size(), 6);
    struct Missing {
        const char* section;
        const char* key;
    } missing[] = {{"S", "Key"}, {"S", ""}, {"S", " "}, {"S ", "key"}, {"", "key"}, {"X", "q"}};
    for (const Missing& m : missing) EXPECT_EQ(read(m.section, m.key), kNotFound) << m.section << "/" << m.key;
}

TEST_F(Settings, FirstRowInTableOrderWinsAndNullReadsEmpty) {
    run(QStringLiteral("INSERT INTO Info VALUES ('G', 'K', 'first', NULL), ('G', 'K', 'second', NULL), "
                       "('G', 'N', NULL, NULL)"));
    EXPECT_EQ(read(QStringLiteral("G"), QStringLiteral("K")), QStringLiteral("first"));
    EXPECT_EQ(read(QStringLiteral("G"), QStringLiteral("N")), QString());
    m_tools->WriteInformation(QStringLiteral("G"), QStringLiteral("N"), QStringLiteral("set"), QStringLiteral("d"));
    EXPECT_EQ(rows(), (QStringList{"G|K|first|~", "G|K|second|~", "G|N|set|~"}));
}

TEST_F(Settings, ErrorsReachTheCaller) {
    run(QStringLiteral("DROP TABLE Info"));
    QString value = QStringLiteral("kept");
    EXPECT_THROW(m_tools->ReadInformation(QString(), QStringLiteral("K"), value), da::SqlError);
    EXPECT_EQ(value, QStringLiteral("kept"));  // the table never opened
    EXPECT_THROW(m_tools->FReadInformation(QString(), QStringLiteral("K")), da::SqlError);
    EXPECT_THROW(m_tools->WriteInformation(QString(), QStringLiteral("K"), QStringLiteral("V"), QString()), da::SqlError);

    // A table without the key's columns fails after the value was emptied.
    run(QStringLiteral("CREATE TABLE Info (Other int)"));
    EXPECT_THROW(m_tools->ReadInformation(QString(), QStringLiteral("K"), value), da::SqlError);
    EXPECT_EQ(value, QString());
    EXPECT_TRUE(m_dialogs.entries().empty());
}
