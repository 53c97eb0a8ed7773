// Aggregates, pick lists and the ADO query made from a data-layer query. None of them
// catches an error: the data layer's error reaches the caller.
#include "toolkit/tools.h"

#include "dbservices/adoquery.h"
#include "dbservices/aggregates.h"
#include "dbservices/servicequery.h"

#include <memory>

namespace {

std::unique_ptr<da::Query> openQuery(da::Connection* connection, const QString& sql) {
    auto query = serviceQuery(connection, sql);
    query->prepare();
    query->open();
    return query;
}

// The sum over no rows is NULL, which reads as 0.
double answer(da::Connection* connection, const QString& sql) {
    return openQuery(connection, sql)->fieldByName(QStringLiteral("Answer")).asFloat();
}

// The list is cleared only once the statement has opened, so a failing statement
// leaves the caller's entries as they were.
void fillList(da::Connection* connection, QStringList& items, const QString& sql, const QString& field) {
    auto query = openQuery(connection, sql);
    items.clear();
    for (query->first(); !query->eof(); query->next())
        items.append(aggregates::pickListEntry(query->fieldByName(field).asString()));
}

}  // namespace

double TTools::SumOfField(da::Table* InTable, const QString& InFld, const QString& WhereCondition) {
    return answer(ServerConnection, aggregates::sumOfFieldSql(InTable->tableName(), InFld, WhereCondition));
}

double TTools::SumAndMulti(da::Table* InTable, const QString& InFld1, const QString& InFld2, const QString& Condition) {
    return answer(ServerConnection, aggregates::sumAndMultiSql(InTable->tableName(), InFld1, InFld2, Condition));
}

void TTools::FillListWithData(QStringList& CItems, const QString& TableName, const QString& FieldName,
                              const QString& WhereCondition) {
    fillList(ServerConnection, CItems, aggregates::pickListSql(true, TableName, FieldName, WhereCondition), FieldName);
}

void TTools::FillListWithDataBDistinct(QStringList& CItems, const QString& TableName, const QString& FieldName,
                                       const QString& WhereCondition) {
    fillList(ServerConnection, CItems, aggregates::pickListSql(false, TableName, FieldName, WhereCondition), FieldName);
}

std::unique_ptr<AdoQuery> TTools::MsQuery2AdoQuery(da::Query* InMsQ) {
    auto ado = std::make_unique<AdoQuery>();
    ado->setSql(InMsQ->sqlLines());
    const da::Connection* connection = InMsQ->connection();
    ado->setConnectionString(adoConnectionPrefix() + (connection ? connection->connectString() : QString()));
    for (int i = 0; i < InMsQ->paramCount(); ++i)
        ado->setParameterValue(i, InMsQ->param(i));
    return ado;
}
