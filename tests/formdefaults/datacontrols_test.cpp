// The data-aware controls of forms on a table of the embedded engine: what they show,
// what the user's keys and clicks write, and how saved defaults reach the record.
#include "formfixture.h"

#include "dataaccess/connection.h"
#include "dataaccess/table.h"
#include "platform/ansicodec.h"

#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

class DataControlsTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        m_conn.setServer(QStringLiteral("file:") + m_dir.path());
        m_conn.setDatabase(QStringLiteral("master"));
        m_conn.connect();
        m_conn.session().execute(QStringLiteral("CREATE TABLE Cows (ID int PRIMARY KEY, Color nvarchar(10), Herd int, "
                                                "Active bit, Flag nvarchar(5))"));
        m_conn.session().execute(QStringLiteral("INSERT INTO Cows VALUES (1, 'Green', 20, 1, 'true'), (2, 'Pink', 99, 0, 'no')"));
        m_table = std::make_unique<da::Table>(&m_conn, QStringLiteral("Cows"));
        m_table->open();

        auto* layout = new QVBoxLayout(f.form.get());
        for (QWidget* w : std::initializer_list<QWidget*>{f.edit, f.combo, f.dbRadio, f.check, f.plainEdit})
            layout->addWidget(w);
        m_flag = DefaultsForm::named(new TDBCheckBox(f.form.get()), "DBCheckBox2");
        layout->addWidget(m_flag);
        f.dbRadio->setValues({QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30")});
        bind(f.edit, "Color");
        bind(f.combo, "Color");
        bind(f.dbRadio, "Herd");
        bind(f.check, "Active");
        bind(m_flag, "Flag");
        f.form->show();
        f.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
    }

    template <class Control>
    void bind(Control* c, const char* field) {
        c->setDataSource(m_table.get());
        c->setDataField(QString::fromLatin1(field));
    }
    QString stored(const char* column, int id) {
        const da::ResultSet r = m_conn.session().execute(QStringLiteral("SELECT %1 FROM Cows WHERE ID = %2").arg(QLatin1String(column)).arg(id));
        return r.rows.empty() ? QString() : r.rows[0][0].toString();
    }

    DefaultsForm f;
    TDBCheckBox* m_flag = nullptr;
    da::Connection m_conn;
    std::unique_ptr<da::Table> m_table;
};

TEST_F(DataControlsTest, ControlsShowTheCurrentRow) {
    EXPECT_EQ(f.combo->currentIndex(), 1);
    EXPECT_EQ(f.dbRadio->itemIndex(), 1);
    EXPECT_TRUE(f.check->isChecked());
    EXPECT_TRUE(m_flag->isChecked());  // "true" in another letter case than "True"
    m_table->next();
    for (auto* c : std::initializer_list<QObject*>{f.combo, f.dbRadio, f.check, m_flag})
        QMetaObject::invokeMethod(c, "refresh");
    EXPECT_EQ(f.combo->currentIndex(), -1);  // not an item: the text alone
    EXPECT_EQ(f.combo->currentText(), QStringLiteral("Pink"));
    EXPECT_EQ(f.dbRadio->itemIndex(), -1);  // 99 is none of the values
    EXPECT_FALSE(f.check->isChecked());
    EXPECT_FALSE(m_flag->isChecked());
}

TEST_F(DataControlsTest, TheUsersChoicesAreWrittenToTheFields) {
    f.combo->setFocus();
    QTest::keyClick(f.combo, Qt::Key_Down);
    QRadioButton* third = f.dbRadio->button(2);
    // On the indicator: only it and the caption take clicks.
    QTest::mouseClick(third, Qt::LeftButton, {}, QPoint(third->height() / 2, third->height() / 2));
    EXPECT_EQ(f.dbRadio->itemIndex(), 2);
    f.check->setFocus();
    QTest::keyClick(f.check, Qt::Key_Space);
    m_flag->setFocus();
    QTest::keyClick(m_flag, Qt::Key_Space);
    ASSERT_TRUE(m_table->editing());
    m_table->post();
    EXPECT_EQ(stored("Color", 1), QStringLiteral("Blue"));
    EXPECT_EQ(stored("Herd", 1), QStringLiteral("30"));
    EXPECT_EQ(stored("Active", 1), QStringLiteral("0"));
    EXPECT_EQ(stored("Flag", 1), QStringLiteral("False"));
}

TEST_F(DataControlsTest, LoadedDefaultsReachTheRecordOnWriteBack) {
    plat::saveLinesAnsi(iniFile(QStringLiteral("Form1")),
                        {QStringLiteral("TDBComboBox~DBComboBox1~red"), QStringLiteral("TDBRadioGroup~DBRadioGroup1~0"),
                         QStringLiteral("TDBCheckBox~DBCheckBox1~0"), QStringLiteral("TDBCheckBox~DBCheckBox2~1")});
    m_tools->LoadDef(f.form.get());
    EXPECT_FALSE(m_table->editing());  // showing a default writes nothing yet
    f.combo->writeBack();
    f.dbRadio->writeBack();
    f.check->writeBack();
    m_flag->writeBack();
    m_table->post();
    EXPECT_EQ(stored("Color", 1), QStringLiteral("Red"));
    EXPECT_EQ(stored("Herd", 1), QStringLiteral("10"));
    EXPECT_EQ(stored("Active", 1), QStringLiteral("0"));
    EXPECT_EQ(stored("Flag", 1), QStringLiteral("True"));
}

}  // namespace
