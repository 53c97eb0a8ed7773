#include "platform/ansicodec.h"
#include "tests/fixtures/sqlfixture.h"
#include "toolkit/messageboardform.h"
#include "widgets/flatbutton.h"

#include <QFile>
#include <utility>

namespace {

const QString kSuccess = QStringLiteral("موفقيت در");
const QString kError = QStringLiteral("خطا در ");
const QString kNotFound = QStringLiteral("فايل پيدا نشد");
const QString kRegarding = QStringLiteral(" در مورد ");
const QString kErrorsOccurred = QStringLiteral(" خطا وجود داشته است . گزارش را ذخيره و با شركت ورنيكان براي هماهنگي بيشتر تماس بگيريد ");

using Rows = std::vector<std::pair<QString, QString>>;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray crlf(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) out += plat::toAnsi(l) + "\r\n";
    return out;
}

}  // namespace

class ScriptFile : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE T (A int)"));
    }

    QString script(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("script.sql"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    QString script(const QStringList& lines) { return script(crlf(lines)); }

    Rows rows() const {
        Rows out;
        for (int i = 0; i < MessageBoardForm->rowCount(); ++i)
            out.emplace_back(MessageBoardForm->rowKey(i), MessageBoardForm->rowValue(i));
        return out;
    }
    QString count(const QString& table) {
        da::Query q(&m_conn);
        q.setSql(QStringLiteral("SELECT COUNT(*) FROM ") + table);
        q.open();
        return q.field(0).asString();
    }
    QByteArray workingCopy() const { return readAll(appPath() + QStringLiteral("Z8M/Temp.Txt")); }
};

TEST_F(ScriptFile, FourLineScriptRunsTwoBatches) {
    run(QStringLiteral("DROP TABLE T"));
    const QStringList lines{"CREATE TABLE T (A int)", "GO", "INSERT INTO T VALUES (1)", "GO"};
    EXPECT_TRUE(m_tools->DoScriptFromfile(QStringLiteral("Upgrade"), script(lines)));
    EXPECT_EQ(rows(), (Rows{{kSuccess, "1"}, {kSuccess, "2"}}));
    EXPECT_EQ(MessageBoardForm->windowTitle(), QStringLiteral("Upgrade"));
    EXPECT_TRUE(MessageBoardForm->dxButton1->isEnabled());  // recording stopped
    EXPECT_EQ(count("T"), "1");
    EXPECT_EQ(workingCopy(), crlf(lines));
    EXPECT_TRUE(m_dialogs.entries().empty());
}

TEST_F(ScriptFile, BatchesAsTheSeparatorsCutThem) {
    const QString one = "INSERT INTO T VALUES (1)";
    struct Case {
        QStringList lines;
        Rows rows;
        const char* inserted;
    } cases[] = {
        {{one, "go", one, "  GO  ", one, "Go", one, "\tgo"}, {{kSuccess, "1"}, {kSuccess, "2"}, {kSuccess, "3"}, {kSuccess, "4"}}, "4"},
        {{one, "GO 2", "GO"}, {{kError + "1", one + "\r\nGO 2\r\n"}}, "0"},
        {{one, "GO", "GO", one, "GO"}, {{kSuccess, "1"}, {kSuccess, "3"}}, "2"},
        {{"-- leading comment", one, "GO", "  -- blanks before the dashes", "INSERT INTO Missing VALUES (1)", "GO"},
         {{kSuccess, "1"}, {kError + "2", "  -- blanks before the dashes\r\nINSERT INTO Missing VALUES (1)\r\n"}},
         "1"},
        // One batch, one command: several statements, with and without semicolons.
        {{one + ";", one, "INSERT INTO T VALUES (2) INSERT INTO T VALUES (3)", "GO"}, {{kSuccess, "1"}}, "4"},
        // The last batch without its closing GO still runs.
        {{one, "GO", "", one}, {{kSuccess, "1"}, {kSuccess, "2"}}, "2"},
    };
    for (const Case& c : cases) {
        run(QStringLiteral("DELETE FROM T"));
        m_dialogs.clear();
        EXPECT_TRUE(m_tools->DoScriptFromfile(QStringLiteral("S"), script(c.lines)));
        EXPECT_EQ(rows(), c.rows) << c.lines.join(u'|').toStdString();
        EXPECT_EQ(count("T"), QString::fromUtf8(c.inserted)) << c.lines.join(u'|').toStdString();
    }
}

TEST_F(ScriptFile, FailingBatchIsReportedAndTheRestRuns) {
    const QStringList lines{"INSERT INTO T VALUES (1)", "GO", "INSERT INTO T VALUES ('x')", "GO", "INSERT INTO T VALUES (3)", "GO"};
    EXPECT_TRUE(m_tools->DoScriptFromfile(QStringLiteral("Farm upgrade"), script(lines)));
    EXPECT_EQ(rows(), (Rows{{kSuccess, "1"}, {kError + "2", "INSERT INTO T VALUES ('x')\r\n"}, {kSuccess, "3"}}));
    EXPECT_EQ(count("T"), "2");
    EXPECT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Msg),
              std::vector<QString>{kRegarding + QChar(13) + "Farm upgrade" + QChar(13) + "1" + kErrorsOccurred});
}

TEST_F(ScriptFile, ScriptWithNothingToRunClosesAnEmptyReport) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("-- only\r\n\r\n// comments\r\n"), QByteArray("GO\r\n  \r\n")}) {
        m_dialogs.clear();
        EXPECT_TRUE(m_tools->DoScriptFromfile(QStringLiteral("E"), script(bytes))) << bytes.constData();
        EXPECT_TRUE(MessageBoardForm->isVisible());
        EXPECT_EQ(MessageBoardForm->rowCount(), 0) << bytes.constData();
        EXPECT_TRUE(MessageBoardForm->dxButton1->isEnabled());
        EXPECT_TRUE(m_dialogs.entries().empty());
        EXPECT_EQ(workingCopy(), bytes);
    }
}

TEST_F(ScriptFile, ScriptsInTheAnsiCodePageAndWithByteOrderMarks) {
    const QString text = QStringLiteral("گاو شيرده");
    const QStringList lines{"CREATE TABLE P (N nvarchar(20))", "GO", "INSERT INTO P VALUES (N'" + text + "')", "GO",
                            "-- " + text};
    EXPECT_TRUE(m_tools->DoScriptFromfile(text, script(crlf(lines))));
    EXPECT_EQ(rows(), (Rows{{kSuccess, "1"}, {kSuccess, "2"}}));
    EXPECT_TRUE(m_tools->DoSqlAndReturnParameters(QStringLiteral("SELECT N FROM P")));
    EXPECT_EQ(m_tools->ReturnedValues, QStringList{text});
    EXPECT_EQ(workingCopy(), crlf(lines));

    // A UTF-8 script keeps in its copy what the code page has no place for.
    const QByteArray utf8 = "\xEF\xBB\xBFINSERT INTO P VALUES (N'\xD0\xB6')\r\nGO\r\n";
    EXPECT_TRUE(m_tools->DoScriptFromfile(text, script(utf8)));
    EXPECT_EQ(rows(), (Rows{{kSuccess, "1"}}));
    EXPECT_EQ(workingCopy(), utf8);
}

TEST_F(ScriptFile, MissingFileIsToldInThePlainBoxAndNothingRuns) {
    const QString missing = m_dir.filePath(QStringLiteral("nowhere.sql"));
    for (const QString& path : {missing, m_dir.path()}) {
        m_dialogs.clear();
        EXPECT_FALSE(m_tools->DoScriptFromfile(QStringLiteral("T"), path));
        EXPECT_EQ(m_dialogs.texts(RecordingDialogs::Kind::Plain),
                  std::vector<QString>{kNotFound + QChar(13) + "T" + QChar(13) + path});
        EXPECT_FALSE(MessageBoardForm->isVisible());
        EXPECT_EQ(workingCopy(), QByteArray("<missing>"));
    }
}

TEST_F(ScriptFile, WorkingCopyThatCannotBeWrittenRaisesAndClosesTheReport) {
    ASSERT_TRUE(QDir(appPath() + QStringLiteral("Z8M")).removeRecursively());
    EXPECT_THROW(m_tools->DoScriptFromfile(QStringLiteral("T"), script(QStringList{"INSERT INTO T VALUES (1)"})),
                 std::runtime_error);
    EXPECT_TRUE(MessageBoardForm->dxButton1->isEnabled());
    EXPECT_EQ(count("T"), "0");
}
