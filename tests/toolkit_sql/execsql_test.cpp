#include "platform/ansicodec.h"
#include "platform/beep.h"
#include "tests/fixtures/sqlfixture.h"
#include "toolkit/messageboardform.h"

#include <QFile>

namespace {

const QString kCountFailed = QStringLiteral("اشكال در اجرا دستور . با برنامه نويس تماس بگيريد.- شمارش - ");
const QString kProgrammingError = QStringLiteral("اشكال در برنامه نويسي");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ExecSqlTest : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE Main (Serial int PRIMARY KEY, Sabt nvarchar(50), ValidFrom nvarchar(10))"));
        run(QStringLiteral("INSERT INTO Main VALUES (1, 'h100', 'a'), (2, 'h100', 'b'), (3, 'h300', 'c'), (11, "
                           "'h400', NULL), (12, 'h500', NULL)"));
    }
    QString logPath() const { return appPath() + QStringLiteral("Z8M/SqlExecuteErrorLog.Txt"); }
};

TEST_F(ExecSqlTest, SelectsAnswerTheirRowCount) {
    struct Case {
        const char* sql;
        int count;
    } cases[] = {
        {"SELECT * FROM Main", 5},
        {"select * from Main where Serial > 10", 2},
        {"   SELECT * FROM Main WHERE Sabt = 'h100'", 2},
        {"SELECT DISTINCT Sabt FROM Main", 4},
        {"SELECT * FROM Main WHERE Serial > 100", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_tools->ExecSql(QString::fromUtf8(c.sql)), c.count) << c.sql;
    EXPECT_TRUE(m_dialogs.entries().empty());
    EXPECT_FALSE(plat::endRequested());
}

TEST_F(ExecSqlTest, OtherStatementsAnswerZeroOrMinus100) {
    EXPECT_EQ(m_tools->ExecSql(QStringLiteral("UPDATE Main SET Sabt = 'x' WHERE Serial = 999")), 0);
    EXPECT_EQ(m_tools->ExecSql(QStringLiteral("\tSELECT * FROM Main")), 0);
    EXPECT_EQ(m_tools->ExecSql(QStringLiteral("\r\nSELECT * FROM Main")), 0);
    EXPECT_EQ(m_tools->ExecSql(QStringLiteral("DELETE FROM Nowhere")), -100);
    EXPECT_EQ(m_tools->ExecSqlNoCount(QStringLiteral("SELECT * FROM Main")), 0);
    EXPECT_EQ(m_tools->ExecSqlNoCount(QStringLiteral("  INSERT INTO Main (Serial) VALUES (1)")), -100);
    EXPECT_TRUE(m_dialogs.entries().empty());
    EXPECT_FALSE(plat::endRequested());
    EXPECT_FALSE(QFile::exists(logPath()));
}

TEST_F(ExecSqlTest, FailingCountIsLoggedShownAndEndsTheProgram) {
    struct Case {
        const char* sql;
        const char* sent;
    } cases[] = {
        {"SELECT ValidFrom FROM Main", "Select Count( Valid) As Res  From FROM Main"},
        {"SELECT Serial, Sabt FROM Main", "Select Count( Serial, Sabt ) As Res  FROM Main"},
        {"SELECT 1", "Select Count() As Res   1"},
        {"SELECT * FROM Missing", "Select Count( * ) As Res  FROM Missing"},
    };
    for (const Case& c : cases) {
        plat::AppExit::instance().reset();
        m_dialogs.clear();
        EXPECT_EQ(m_tools->ExecSql(QString::fromUtf8(c.sql)), 0) << c.sql;
        const QString sqlText = QString::fromUtf8(c.sent) + QStringLiteral("\r\n");
        EXPECT_EQ(readAll(logPath()), sqlText.toLatin1()) << c.sql;
        ASSERT_EQ(m_dialogs.entries().size(), 1u) << c.sql;
        EXPECT_EQ(m_dialogs.entries()[0].text, kCountFailed + QChar(13) + sqlText);
        EXPECT_TRUE(plat::endRequested());
    }
}

TEST_F(ExecSqlTest, ErrorLogHoldsOnlyTheLastFailureInAnsi) {
    m_tools->ExecSql(QStringLiteral("SELECT * FROM Missing WHERE Sabt = N'گاو'"));
    m_tools->ExecSql(QStringLiteral("SELECT * FROM Other"));
    EXPECT_EQ(readAll(logPath()), QByteArray("Select Count( * ) As Res  FROM Other\r\n"));
    m_tools->ExecSql(QStringLiteral("SELECT * FROM Missing WHERE Sabt = N'گاو'"));
    EXPECT_EQ(readAll(logPath()),
              plat::toAnsi(QStringLiteral("Select Count( * ) As Res  FROM Missing WHERE Sabt = N'گاو'\r\n")));
}

TEST_F(ExecSqlTest, CountInTheStatementIsAProgrammingError) {
    // The statement runs unchanged; with a Res column its value is the answer.
    EXPECT_EQ(m_tools->ExecSql(QStringLiteral("SELECT COUNT(*) AS Res FROM Main")), 5);
    ASSERT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Msg).size(), 1u);
    EXPECT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Msg)[0], kProgrammingError);
    EXPECT_TRUE(plat::endRequested());
}

TEST_F(ExecSqlTest, MissingWorkFolderRaisesTheFileError) {
    QDir(appPath() + QStringLiteral("Z8M")).removeRecursively();
    EXPECT_THROW(m_tools->ExecSql(QStringLiteral("SELECT * FROM Missing")), std::runtime_error);
}

TEST_F(ExecSqlTest, BoardGetsErrorRowsOnlyWhileVisible) {
    ASSERT_NE(MessageBoardForm, nullptr);
    MessageBoardForm->hide();
    m_tools->ExecSqlNoCount(QStringLiteral("DELETE FROM Nowhere"));
    EXPECT_EQ(MessageBoardForm->rowCount(), 0);

    MessageBoardForm->StartRecording(true, QStringLiteral("Report"));
    m_tools->ExecSqlNoCount(QStringLiteral("DELETE FROM Nowhere"));
    m_tools->ExecSql(QStringLiteral("UPDATE Nowhere SET a = 1"));
    m_tools->ExecSql(QStringLiteral("SELECT * FROM Nowhere"));
    ASSERT_EQ(MessageBoardForm->rowCount(), 3);
    EXPECT_EQ(MessageBoardForm->rowKey(0), QStringLiteral("خطا"));
    EXPECT_EQ(MessageBoardForm->rowValue(0), QStringLiteral("DELETE FROM Nowhere\r\n"));
    EXPECT_EQ(MessageBoardForm->rowValue(2), QStringLiteral("Select Count( * ) As Res  FROM Nowhere\r\n"));
    MessageBoardForm->hide();
}

TEST_F(ExecSqlTest, ExceptMessageCutsLongTextsAndNotesDuplicates) {
    const QString tail = QChar(13) + QString(37, u'_') + QChar(13) + QChar(13) + QStringLiteral("پيام اصلي سيستم :") +
                         QChar(13) + QStringLiteral("boom");
    const QString note = QStringLiteral("(بدليل طولاني بودن ادامه دستور نمايش داده نمي شود)");
    const QString s300(300, u'x');
    plat::RecordingBeep beep;
    plat::ScopedBeep scoped(&beep);
    m_tools->ShowExceptMsg(s300, QStringLiteral("boom"));
    EXPECT_EQ(beep.types(), std::vector<unsigned>{0});
    m_tools->ShowExceptMsg(s300 + u'y', QStringLiteral("boom"));
    const auto shown = m_dialogs.texts(RecordingDialogs::Kind::Error);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], s300 + tail);
    EXPECT_EQ(shown[1], s300 + QChar(13) + note + tail);

    m_dialogs.clear();
    m_tools->ShowExceptMsg(QStringLiteral("INSERT"), QStringLiteral("Violation of primary key constraint"));
    const QString pkNote = QStringLiteral("نكته : احتمالا پيام در مورد اطلاعات تكراري است ");
    ASSERT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Error).size(), 1u);
    EXPECT_TRUE(m_dialogs.texts(RecordingDialogs::Kind::Error)[0].startsWith(QStringLiteral("INSERT") + QChar(13) + pkNote +
                                                                             QChar(13)));
}
