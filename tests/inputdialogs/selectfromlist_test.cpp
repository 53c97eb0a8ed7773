#include "dialogs/querydialog.h"
#include "scripteddialog.h"
#include "toolsfixture.h"

#include <QComboBox>
#include <QLabel>

namespace {

using Script = ScriptedDialog<TQueryDialog>;
using Kind = RecordingDialogs::Kind;

const QString kFailed = QStringLiteral("خطا در اجراي دستور تشكيل ليست ");

// The farm database holds a table Regions of the names North, South, North, "  Middle  ".
class SelectFromList : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        for (const char* sql : {"CREATE TABLE Regions (Id int, Name nvarchar(20))", "INSERT INTO Regions VALUES (1, 'North')",
                                "INSERT INTO Regions VALUES (2, 'South')", "INSERT INTO Regions VALUES (3, 'North')",
                                "INSERT INTO Regions VALUES (4, '  Middle  ')"})
            run(QString::fromLatin1(sql));
    }

    static QStringList entries(const QComboBox* c) {
        QStringList texts;
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    }
};

TEST_F(SelectFromList, OffersABlankThenEveryRowAndReopensOnTheBlank) {
    m_tools->SwitchToEnglish();
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
    EXPECT_FALSE(m_tools->SelectFromList(QStringLiteral("منطقه"), QStringLiteral("SELECT Name FROM Regions WHERE Id < 4 ORDER BY Id"), value));
    EXPECT_EQ(value, QStringLiteral("South"));
    EXPECT_EQ(script.opens(), 2);
    EXPECT_TRUE(persianActive());
    EXPECT_TRUE(m_dialogs.entries().empty());
}

TEST_F(SelectFromList, AChosenValueKeepsTheBlanksAtItsEnds) {
    Script script({[](TQueryDialog& d) {
        EXPECT_EQ(d.pickList()->currentIndex(), -1);  // no entry of the value's text
        press(d, Qt::Key_Down);
        press(d, Qt::Key_Down);
        press(d, Qt::Key_Return);
    }});
    QString value = QStringLiteral("West");
    EXPECT_TRUE(m_tools->SelectFromList(QStringLiteral("p"), QStringLiteral("SELECT Name FROM Regions WHERE Id = 4"), value));
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
        m_dialogs.clear();
        Script script({});
        QString value = QStringLiteral("kept");
        EXPECT_FALSE(m_tools->SelectFromList(QStringLiteral("p"), command, value));
        EXPECT_EQ(value, QStringLiteral("kept"));
        EXPECT_EQ(script.opens(), 0);
        EXPECT_EQ(m_dialogs.texts(Kind::Msg), std::vector<QString>{kFailed});
    }
    // Without a connection it fails the same way.
    m_tools->ServerConnection = nullptr;
    m_dialogs.clear();
    QString value;
    EXPECT_FALSE(m_tools->SelectFromList(QStringLiteral("p"), QStringLiteral("SELECT Name FROM Regions"), value));
    EXPECT_EQ(m_dialogs.texts(Kind::Msg), std::vector<QString>{kFailed});
}

}  // namespace
