#include "toolkit/tools.h"

#include "dbservices/catalogue.h"
#include "platform/ansicodec.h"

#include <QTextDocument>
#include <stdexcept>

namespace {

const QString kErrorText = QStringLiteral("خطا");
const QString kTextColumn = QStringLiteral("SqlCMD");

// Binds the hidden memo to the catalogue's text column for one operation and unbinds it
// whatever way the operation ends.
class MemoBinding {
public:
    explicit MemoBinding(TTools& tools) : m_tools(tools) {
        m_tools.FreeDataSource->setDataSet(m_tools.TSqlCommands);
        m_tools.FreeDBMemo->setDataSource(m_tools.FreeDataSource->dataSet());
        m_tools.FreeDBMemo->setDataField(kTextColumn);
    }
    ~MemoBinding() {
        m_tools.FreeDBMemo->setDataField(QString());
        m_tools.FreeDBMemo->setDataSource(static_cast<da::Table*>(nullptr));
        m_tools.FreeDataSource->setDataSet(nullptr);
    }
    MemoBinding(const MemoBinding&) = delete;
    MemoBinding& operator=(const MemoBinding&) = delete;

    // The current row's text.
    QString read() {
        m_tools.FreeDBMemo->refresh();
        return m_tools.FreeDBMemo->fieldText();
    }
    // Replaces the text of the row being edited or inserted.
    void write(QString text) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));  // the memo's own line ends
        m_tools.FreeDBMemo->setPlainText(text);
        m_tools.FreeDBMemo->document()->setModified(true);
        m_tools.FreeDBMemo->writeBack();
    }

private:
    TTools& m_tools;
};

// The builder's filter goes back to off and empty however the builder ends.
class FilterReset {
public:
    explicit FilterReset(da::Table& table) : m_table(table) {}
    ~FilterReset() {
        m_table.setFilter(QString());
        m_table.setFiltered(false);
    }
    FilterReset(const FilterReset&) = delete;
    FilterReset& operator=(const FilterReset&) = delete;

private:
    da::Table& m_table;
};

// The lookup on the table as it stands: filters cleared, the first row whose columns
// equal the arguments, by section alone when the title is empty, by title alone when
// the section is empty. Raises the data layer's error while the table is closed.
bool locateEntry(da::Table& table, const QString& sec, const QString& titr) {
    if (table.filtered())
        table.setFiltered(false);  // switching it off again would only list every row anew
    table.setFilter(QString());
    table.setServerFilter(QString());
    table.first();
    if (titr.isEmpty())
        return table.locate(QStringLiteral("Sec"), {sec});
    if (sec.isEmpty())
        return table.locate(QStringLiteral("Titr"), {titr});
    return table.locate(QStringLiteral("Sec;Titr"), {sec, titr});
}

}  // namespace

// The operations below open the table once each and then look up without opening
// again, so that a missing connection gives one message per operation, not two.

void TTools::OPenSqlCommands() {
    if (TSqlCommands->isOpen())
        return;
    QSqlCmd->setConnection(ServerConnection);
    TSqlCommands->setConnection(ServerConnection);
    if (!ServerConnection || !ServerConnection->connected()) {
        ShowMsg(kErrorText);
        return;
    }
    try {
        TSqlCommands->open();
    } catch (const std::exception&) {
        // The table stays closed; the next catalogue operation tries again.
    }
}

bool TTools::SQlCmdFind(const QString& Sec, const QString& Titr) {
    OPenSqlCommands();
    return locateEntry(*TSqlCommands, Sec, Titr);
}

bool TTools::SQlCmdWriteStringList(const QString& Sec, const QString& Titr, const QStringList& Commands) {
    OPenSqlCommands();
    try {
        if (locateEntry(*TSqlCommands, Sec, Titr)) {
            TSqlCommands->edit();
        } else {
            TSqlCommands->insert();
            TSqlCommands->fieldByName(QStringLiteral("Sec")).setAsString(Sec.left(catalogue::kSecLength));
            TSqlCommands->fieldByName(QStringLiteral("Titr")).setAsString(Titr.left(catalogue::kTitrLength));
            TSqlCommands->fieldByName(QStringLiteral("Seq")).setAsString(QStringLiteral("0"));
        }
        TSqlCommands->fieldByName(QStringLiteral("SDate")).setAsString(FarsiToday());
        MemoBinding(*this).write(catalogue::storedText(Commands));
        TSqlCommands->post();
        return true;
    } catch (const std::exception&) {
        // A row that could not be posted is dropped, so that the table held in memory
        // keeps matching what the server has.
        if (TSqlCommands->isOpen())
            TSqlCommands->cancel();
        return false;
    }
}

QStringList TTools::SQlCmdReadOneWriteStringList(const QString& Sec, const QString& Titr) {
    OPenSqlCommands();
    QStringList lines;
    if (locateEntry(*TSqlCommands, Sec, Titr))
        lines = plat::splitLines(MemoBinding(*this).read());
    return lines;
}

QString TTools::SQlCmdReadOne(const QString& Sec) {
    OPenSqlCommands();
    if (!locateEntry(*TSqlCommands, Sec, QString()))
        return QString();
    return MemoBinding(*this).read();
}

QStringList TTools::SQlCmdReadAndCreatStoreProce(const QString& Sec) {
    OPenSqlCommands();
    FilterReset reset(*TSqlCommands);
    TSqlCommands->setFilter(catalogue::sectionFilter(Sec));
    TSqlCommands->setFiltered(true);
    TSqlCommands->first();
    std::vector<catalogue::ProcedureColumn> columns;
    MemoBinding memo(*this);
    while (!TSqlCommands->eof()) {
        const QString text = memo.read();
        columns.push_back({text, RemoveRLBLank(TSqlCommands->fieldByName(QStringLiteral("Titr")).asString())});
        TSqlCommands->next();
    }
    return catalogue::procedureLines(Sec, columns);
}
