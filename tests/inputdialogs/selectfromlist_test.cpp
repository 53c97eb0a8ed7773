#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dialogs/querydialog.h"
#include "scripteddialog.h"
#include "toolsfixture.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>

namespace {

using Script = ScriptedDialog<TQueryDialog>;
using Kind = RecordingDialogs::Kind;

const QString kFailed = QStringLiteral("خطا در اجراي دستور تشكيل ليست ");

// A toolkit whose ServerConnection is a farm database on the embedded engine, with a
// table Regions of the names North, South, North and "  Middle  ".
class SelectFromList : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        const QString server = QStringLiteral("file:") + m_dir.filePath(QStringLiteral("server"));
        QDir(m_dir.path()).mkpath(QStringLiteral("server"));
        {
            da::Connection master;
            master.setServer(server);
            master.setDatabase(QStringLiteral("master"));
            master.connect();
            da::Query create(&master);
            create.setSql(QStringLiteral("CREATE DATABASE Farm"));
            create.execute();
        }
        m_conn.setServer(server);
        m_conn.setDatabase(QStringLiteral("Farm"));
        m_conn.connect();
        for (const char* sql : {"CREATE TABLE Regions (Id int, Name nvarchar(20))", "INSERT INTO Regions VALUES (1, 'North')",
                                "INSERT INTO Regions VALUES (2, 'South')", "INSERT INTO Regions VALUES (3, 'North')",
                                "INSERT INTO Regions VALUES (4, '  Middle  ')"}) {
            da::Query fill(&m_conn);
            fill.setSql(QString::fromLatin1(sql));
            fill.execute();
        }
        tools->ServerConnection = &m_conn;
    }

    static QStringList entries(const QComboBox* c) {
        QStringList texts;
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    }

    da::Connection m_conn;
};

TEST_F(SelectFromList, OffersABlankThenEveryRowAndReopensOnTheBlank) {
    tools->SwitchToEnglish();
    Script script({[&](TQueryDialog& d) {
                       EXPECT_EQ(d.windowTitle(), QStringLiteral("ليست انتخابي"));
                       EXPECT_EQ(d.promptLabel()->text(), QStringLiteral("منطقه"));
                       EXPECT_EQ(entries(d.pickList()), (QStringList{QStringLiteral(" "), QStringLiteral("North"), QStringLiteral("South"),
                                                                    QStringLiteral("North")}));
                       EXPECT_EQ(d.pickList()->currentIndex(), 2);  // the incoming value's entry
                       EXPECT_TRUE(persianActive());
                       // Up to the blank entry, then OK.
                       press(d, Qt::Key_Up);
                       press(d, Qt::Key_Up);
                       EXPECT_EQ(d.pickList()->currentText(), QStringLiteral(" "));
                       press(d, Qt::Key_Return);
                   },
                   [](TQueryDialog& d) {
                       EXPECT_EQ(d.pickList()->currentText(), QStringLiteral(" "));
                       press(d, Qt::Key_Escape);
                   }});
    QString value = QStringLiteral("South");
    EXPECT_FALSE(tools->SelectFromList(QStringLiteral("منطقه"), QStringLiteral("SELECT Name FROM Regions WHERE Id < 4 ORDER BY Id"), value));
    EXPECT_EQ(value, QStringLiteral("South"));
    EXPECT_EQ(script.opens(), 2);
    EXPECT_TRUE(persianActive());
    EXPECT_TRUE(dialogs.entries().empty());
}

TEST_F(SelectFromList, AChosenValueKeepsTheBlanksAtItsEnds) {
    Script script({[](TQueryDialog& d) {
        EXPECT_EQ(d.pickList()->currentIndex(), -1);  // no entry of the value's text
        press(d, Qt::Key_Down);
        press(d, Qt::Key_Down);
        press(d, Qt::Key_Return);
    }});
    QString value = QStringLiteral("West");
    EXPECT_TRUE(tools->SelectFromList(QStringLiteral("p"), QStringLiteral("SELECT Name FROM Regions WHERE Id = 4"), value));
    EXPECT_EQ(value, QStringLiteral("  Middle  "));
    EXPECT_EQ(script.opens(), 1);
}

TEST_F(SelectFromList, ACommandThatFailsShowsTheMessageAndNoDialog) {
    const std::pair<const char*, QString> commands[] = {
        {"a table that does not exist", QStringLiteral("SELECT Name FROM Nowhere")},
        {"not a query", QStringLiteral("SELEC Name FROM Regions")},
        {"no result set", QStringLiteral("UPDATE Regions SET Id = Id WHERE Id = 0")},
        {"empty command", QString()},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        dialogs.clear();
        Script script({});
        QString value = QStringLiteral("kept");
        EXPECT_FALSE(tools->SelectFromList(QStringLiteral("p"), command, value));
        EXPECT_EQ(value, QStringLiteral("kept"));
        EXPECT_EQ(script.opens(), 0);
        EXPECT_EQ(dialogs.texts(Kind::Msg), std::vector<QString>{kFailed});
    }
    // Without a connection it fails the same way.
    tools->ServerConnection = nullptr;
    dialogs.clear();
    QString value;
    EXPECT_FALSE(tools->SelectFromList(QStringLiteral("p"), QStringLiteral("SELECT Name FROM Regions"), value));
    EXPECT_EQ(dialogs.texts(Kind::Msg), std::vector<QString>{kFailed});
}

}  // namespace
