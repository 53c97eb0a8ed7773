// The data-bound edit and memo on tables and queries of the embedded engine: what they
// show, what typing writes back, and how code that sets a field makes them show it.
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlerror.h"
#include "dataaccess/table.h"
#include "dataaccess/ui/dbedit.h"
#include "dataaccess/ui/dbmemo.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

using namespace da;

namespace {

class DataBoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_connection.setServer(QStringLiteral("file:") + m_dir.path());
        m_connection.setDatabase(QStringLiteral("master"));
        m_connection.connect();
        run(QStringLiteral("CREATE DATABASE Farm"));
        m_connection.disconnect();
        m_connection.setDatabase(QStringLiteral("Farm"));
        m_connection.connect();
        run(QStringLiteral("CREATE TABLE SqlCommands (ID int PRIMARY KEY, Titr nvarchar(100), SDate nvarchar(10), "
                           "SqlCmd ntext)"));
        m_connection.session().execute(
            QStringLiteral("INSERT INTO SqlCommands VALUES (1, 'first', '1390/01/01', ?), (2, 'second', NULL, NULL)"),
            {QStringLiteral("SELECT 1\r\nFROM Main")});
        // A window with two controls, so that the focus can leave the one under test.
        auto* layout = new QVBoxLayout(&m_window);
        m_edit = new DBEdit(&m_window);
        m_memo = new DBMemo(&m_window);
        m_other = new QLineEdit(&m_window);
        layout->addWidget(m_edit);
        layout->addWidget(m_memo);
        layout->addWidget(m_other);
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    ResultSet run(const QString& sql) { return m_connection.session().execute(sql); }
    QVariant stored(const QString& column, int id) {
        ResultSet r = run(QStringLiteral("SELECT %1 FROM SqlCommands WHERE ID = %2").arg(column).arg(id));
        return r.rows.empty() ? QVariant() : r.rows[0][0];
    }

    // The SqlCommands table, open and bound to control's field.
    template <class Control>
    Table& bindTable(Control* control, const QString& field) {
        m_table = std::make_unique<Table>(&m_connection, QStringLiteral("SqlCommands"));
        m_table->open();
        control->setDataSource(m_table.get());
        control->setDataField(field);
        return *m_table;
    }

    QTemporaryDir m_dir;
    Connection m_connection;
    std::unique_ptr<Table> m_table;
    QWidget m_window;
    DBEdit* m_edit = nullptr;
    DBMemo* m_memo = nullptr;
    QLineEdit* m_other = nullptr;
};

}  // namespace

TEST_F(DataBoundTest, EditShowsTheFieldOfTheCurrentRow) {
    Table t(&m_connection, QStringLiteral("SqlCommands"));
    m_edit->setDataField(QStringLiteral("Titr"));
    m_edit->setDataSource(&t);
    EXPECT_EQ(m_edit->text(), QString());  // closed table: nothing to show
    t.open();
    m_edit->refresh();
    EXPECT_EQ(m_edit->text(), QStringLiteral("first"));
    t.next();
    QMetaObject::invokeMethod(m_edit, "refresh");  // as code that knows only QLineEdit does
    EXPECT_EQ(m_edit->text(), QStringLiteral("second"));
    // The binding is readable without knowing the class.
    QLineEdit* plain = m_edit;
    EXPECT_EQ(plain->property("dataField").toString(), QStringLiteral("Titr"));
    EXPECT_FALSE(m_other->property("dataField").isValid());
    m_edit->setDataField(QStringLiteral("NoSuchColumn"));
    EXPECT_EQ(m_edit->text(), QString());
}

TEST_F(DataBoundTest, TypingWritesBackToTheTable) {
    Table& t = bindTable(m_edit, QStringLiteral("SDate"));
    EXPECT_EQ(m_edit->text(), QStringLiteral("1390/01/01"));
    m_edit->setFocus();
    m_edit->selectAll();
    QTest::keyClicks(m_edit, QStringLiteral("1391/02/03"));
    EXPECT_FALSE(t.editing());  // nothing written while typing
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_TRUE(t.editing());
    EXPECT_EQ(t.fieldByName(QStringLiteral("SDate")).asString(), QStringLiteral("1391/02/03"));
    t.post();
    EXPECT_EQ(stored(QStringLiteral("SDate"), 1).toString(), QStringLiteral("1391/02/03"));
}

TEST_F(DataBoundTest, FieldSetByCodeIsShownAndNotOverwrittenOnLeaving) {
    // The date check's way: the typed text goes to the field when editing ends, the check
    // then sets the completed date and asks the control to show it.
    Table& t = bindTable(m_edit, QStringLiteral("SDate"));
    QObject::connect(m_edit, &QLineEdit::editingFinished, m_edit, [&] {
        EXPECT_EQ(t.fieldByName(QStringLiteral("SDate")).asString(), QStringLiteral("91/2/3"));
        t.fieldByName(m_edit->property("dataField").toString()).setAsString(QStringLiteral("1391/02/03"));
        QMetaObject::invokeMethod(m_edit, "refresh");
    });
    m_edit->setFocus();
    m_edit->selectAll();
    QTest::keyClicks(m_edit, QStringLiteral("91/2/3"));
    m_other->setFocus();
    EXPECT_EQ(m_edit->text(), QStringLiteral("1391/02/03"));
    m_edit->setFocus();
    m_other->setFocus();  // leaving again without typing writes nothing
    EXPECT_EQ(t.fieldByName(QStringLiteral("SDate")).asString(), QStringLiteral("1391/02/03"));
    t.post();
    EXPECT_EQ(stored(QStringLiteral("SDate"), 1).toString(), QStringLiteral("1391/02/03"));
}

TEST_F(DataBoundTest, FailedWriteKeepsTheTypedTextAndSaysWhy) {
    bindTable(m_edit, QStringLiteral("Missing"));
    QSignalSpy failed(m_edit, &DBEdit::writeFailed);
    m_edit->setFocus();
    QTest::keyClicks(m_edit, QStringLiteral("abc"));
    QTest::keyClick(m_edit, Qt::Key_Return);
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0][0].toString().contains(QStringLiteral("Missing"))) << failed[0][0].toString().toStdString();
    EXPECT_EQ(m_edit->text(), QStringLiteral("abc"));
    m_edit->setDataField(QStringLiteral("ID"));
    m_edit->setText(QStringLiteral("not a number"));
    m_edit->setModified(true);
    EXPECT_THROW(m_edit->writeBack(), SqlError);
}

TEST_F(DataBoundTest, EditOnAQueryShowsItsRows) {
    Query q(&m_connection);
    q.setSql(QStringLiteral("SELECT ID, Titr FROM SqlCommands WHERE ID > 5"));
    q.open();
    m_edit->setDataSource(&q);
    m_edit->setDataField(QStringLiteral("titr"));
    EXPECT_EQ(m_edit->text(), QString());  // no row
    q.close();
    q.setSql(QStringLiteral("SELECT ID, Titr FROM SqlCommands ORDER BY ID DESC"));
    q.open();
    m_edit->refresh();
    EXPECT_EQ(m_edit->text(), QStringLiteral("second"));
}

TEST_F(DataBoundTest, MemoShowsAndWritesTheWholeText) {
    Table& t = bindTable(m_memo, QStringLiteral("SqlCmd"));
    EXPECT_EQ(m_memo->toPlainText(), QStringLiteral("SELECT 1\nFROM Main"));
    EXPECT_EQ(m_memo->blockCount(), 2);

    m_memo->setFocus();
    m_memo->moveCursor(QTextCursor::End);
    QTest::keyClick(m_memo, Qt::Key_Return);
    QTest::keyClicks(m_memo, QStringLiteral("WHERE Name = '"));
    // Persian letters as a Persian keyboard sends them: a key event carrying the text.
    for (QChar c : QString::fromUtf8("گلاب'"))
        QTest::sendKeyEvent(QTest::Click, m_memo, Qt::Key_unknown, QString(c), Qt::NoModifier);
    EXPECT_FALSE(t.editing());
    m_other->setFocus();
    ASSERT_TRUE(t.editing());
    t.post();
    EXPECT_EQ(stored(QStringLiteral("SqlCmd"), 1).toString(),
              QString::fromUtf8("SELECT 1\r\nFROM Main\r\nWHERE Name = 'گلاب'"));

    // Unchanged: leaving writes nothing and leaves the table browsing.
    t.next();
    m_memo->refresh();
    EXPECT_EQ(m_memo->toPlainText(), QString());
    m_memo->setFocus();
    m_other->setFocus();
    EXPECT_FALSE(t.editing());
}
