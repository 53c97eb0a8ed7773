#include "platform/ansicodec.h"
#include "tests/fixtures/sqlfixture.h"
#include "toolkit/messageboardform.h"

#include <QFile>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class Readers : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE L (N nvarchar(10))"));
        run(QStringLiteral("INSERT INTO L VALUES ('b'), ('a'), (NULL), ('b')"));
    }
};

TEST_F(Readers, FirstRowReaderFillsTheReturnedValues) {
    struct Case {
        const char* sql;
        bool result;
        QStringList values;
        int count;
    } cases[] = {
        {"SELECT 1, 'x'", true, {"1", "x"}, 2},
        {"SELECT N, N FROM L WHERE N = 'none'", true, {"", ""}, 2},  // no rows: empty texts
        {"select N from L", true, {"b"}, 1},
        {"SELECT * FROM Missing", false, {""}, 0},
        {"UPDATE L SET N = 'z' WHERE 1 = 0", false, {""}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_tools->DoSqlAndReturnParameters(QString::fromUtf8(c.sql)), c.result) << c.sql;
        EXPECT_EQ(m_tools->ReturnedValues, c.values) << c.sql;
        EXPECT_EQ(m_tools->ReturnedValueCount, c.count) << c.sql;
    }
    EXPECT_TRUE(m_dialogs.entries().empty());
}

TEST_F(Readers, ListReaderRunsOnlyWhatBeginsWithSelect) {
    const QString listFile = appPath() + QStringLiteral("DoSqlForCreateList.txt");
    struct Case {
        const char* sql;
        int result;
        QStringList items;
    } cases[] = {
        {"select N from L", 4, {"b", "a", "", "b"}},
        {"SELECT N FROM L WHERE N = 'a'", 1, {"a"}},
        {" SELECT N FROM L", 0, {}},
        {"UPDATE L SET N = 'z'", 0, {}},
        {"SELECT N FROM Missing", 0, {}},
    };
    for (const Case& c : cases) {
        QStringList items{"old"};
        const QString sql = QString::fromUtf8(c.sql);
        EXPECT_EQ(m_tools->DoSqlForCreateList(sql, items), c.result) << c.sql;
        EXPECT_EQ(items, c.items) << c.sql;
        EXPECT_EQ(readAll(listFile), plat::toAnsi(sql) + "\r\n") << c.sql;
    }
    QStringList items;
    EXPECT_EQ(m_tools->DoSqlForCreateList(QStringLiteral("SELECT COUNT(*) FROM L WHERE N = 'z'"), items), 1);
    EXPECT_EQ(items, QStringList{"0"});  // the UPDATE did not run
    EXPECT_TRUE(m_dialogs.entries().empty());
}

TEST_F(Readers, ReleaseProbeOnOpenAndClosedConnections) {
    EXPECT_EQ(m_tools->SQLVer(&m_conn), QStringLiteral("2005"));
    EXPECT_TRUE(m_dialogs.entries().empty());

    da::Connection closed;
    const std::vector<QString> message{QStringLiteral("خطا در دريافت نسخه اسكيوال سرور")};
    EXPECT_EQ(m_tools->SQLVer(&closed), QString());
    EXPECT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Msg), message);
    EXPECT_FALSE(MessageBoardForm->isVisible());
    EXPECT_EQ(MessageBoardForm->rowCount(), 0);

    // With the board showing, the failing probe is also a row.
    m_dialogs.clear();
    MessageBoardForm->StartRecording(true, QStringLiteral("R"));
    EXPECT_EQ(m_tools->SQLVer(nullptr), QString());
    EXPECT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Msg), message);
    ASSERT_EQ(MessageBoardForm->rowCount(), 1);
    EXPECT_EQ(MessageBoardForm->rowKey(0), QStringLiteral("خطا"));
    EXPECT_EQ(MessageBoardForm->rowValue(0), QStringLiteral("SELECT SUBSTRING(@@VERSION, 22, 5) As V\r\n"));
}
