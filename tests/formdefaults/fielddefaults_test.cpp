// Stored field definitions: LoadDefField fills a record from the catalogue's section
// "ini", SaveDefField stores the record's values back into the same entry.
#include "tests/fixtures/catalogfixture.h"

namespace {

class FieldDefaultsTest : public CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        run(QStringLiteral("CREATE TABLE Cows (ID int PRIMARY KEY, Name nvarchar(20), Weight int, Note nvarchar(20))"));
        m_cows = std::make_unique<da::Table>(&m_conn, QStringLiteral("Cows"));
        m_cows->open();
        m_cows->insert();
    }

    QString field(const QString& name) { return m_cows->fieldByName(name).asString(); }
    // The stored definition's text as the server holds it.
    QString stored(const QString& titr) {
        da::Query q(&m_conn);
        q.setSql(QStringLiteral("SELECT SqlCmd FROM SqlCommands WHERE Sec = 'ini' AND Titr = '%1'").arg(titr));
        q.open();
        return q.eof() ? QString() : q.field(0).asString();
    }

    std::unique_ptr<da::Table> m_cows;
};

TEST_F(FieldDefaultsTest, LoadSetsTheNamedFieldsAndSaveStoresTheirNewValues) {
    addRow(QStringLiteral("ini"), QStringLiteral("CowForm"),
           QStringLiteral("// defaults of a new cow\r\nname~Daisy ~ Bell\r\n\r\n  WEIGHT~450  \r\nMissing~keep\r\n  // off\r\nNote~\r\n"));
    m_tools->LoadDefField(m_cows.get(), QStringLiteral("CowForm"));
    EXPECT_EQ(field(QStringLiteral("Name")), QStringLiteral("Daisy ~ Bell"));
    EXPECT_EQ(field(QStringLiteral("Weight")), QStringLiteral("450"));
    EXPECT_EQ(field(QStringLiteral("Note")), QString());

    m_cows->fieldByName(QStringLiteral("Weight")).setAsString(QStringLiteral("512"));
    m_cows->fieldByName(QStringLiteral("Note")).setAsString(QStringLiteral(" calm "));
    m_tools->SaveDefField(m_cows.get(), QStringLiteral("CowForm"));
    // Comments and empty lines are gone, unknown fields keep their line, values are trimmed.
    EXPECT_EQ(stored(QStringLiteral("CowForm")),
              QStringLiteral("name~Daisy ~ Bell\r\nWEIGHT~512\r\nMissing~keep\r\nNote~ calm\r\n"));
    EXPECT_EQ(serverRows().value(0).section(u'|', 4, 4), m_tools->FarsiToday());
}

TEST_F(FieldDefaultsTest, SaveAfterALoadThatFoundNothingWritesNothing) {
    const QString text = QStringLiteral("Name~Daisy\r\n");
    struct Case {
        const char* loaded;  // what the last load asked for
        bool written;
    };
    const Case cases[] = {{"NoSuchForm", false}, {"CowForm", true}};
    for (const Case& c : cases) {
        run(QStringLiteral("DELETE FROM SqlCommands"));
        addRow(QStringLiteral("ini"), QStringLiteral("CowForm"), text);
        m_tools->TSqlCommands->close();
        m_cows->fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("Bella"));
        m_tools->LoadDefField(m_cows.get(), QString::fromUtf8(c.loaded));
        m_cows->fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("Bella"));
        m_tools->SaveDefField(m_cows.get(), QStringLiteral("CowForm"));
        EXPECT_EQ(stored(QStringLiteral("CowForm")), c.written ? QStringLiteral("Name~Bella\r\n") : text) << c.loaded;
    }
    // Saving a definition that does not exist never creates it.
    m_tools->SaveDefField(m_cows.get(), QStringLiteral("NoSuchForm"));
    EXPECT_EQ(serverRows().size(), 1);
}

TEST_F(FieldDefaultsTest, LoadRaisesForARecordNotBeingEditedAndForValuesTheFieldRefuses) {
    addRow(QStringLiteral("ini"), QStringLiteral("Browse"), QStringLiteral("Name~Daisy\r\n"));
    addRow(QStringLiteral("ini"), QStringLiteral("Bad"), QStringLiteral("Name~Daisy\r\nWeight~heavy\r\nNote~never\r\n"));
    m_cows->cancel();
    EXPECT_THROW(m_tools->LoadDefField(m_cows.get(), QStringLiteral("Browse")), da::SqlError);

    m_cows->insert();
    EXPECT_THROW(m_tools->LoadDefField(m_cows.get(), QStringLiteral("Bad")), da::SqlError);
    EXPECT_EQ(field(QStringLiteral("Name")), QStringLiteral("Daisy"));
    EXPECT_EQ(field(QStringLiteral("Note")), QString());
    // The load found its definition before it failed: a save goes ahead.
    m_cows->fieldByName(QStringLiteral("Weight")).setAsString(QStringLiteral("3"));
    m_tools->SaveDefField(m_cows.get(), QStringLiteral("Bad"));
    EXPECT_EQ(stored(QStringLiteral("Bad")), QStringLiteral("Name~Daisy\r\nWeight~3\r\nNote~\r\n"));
}

}  // namespace
