#include "sqltext.h"

#include "dataaccess/sqlquote.h"

namespace sqltext {

using da::sqlString;

QString removeLeadingBlanks(const QString& statement) {
    qsizetype i = 0;
    while (i < statement.size() && statement[i] == u' ')
        ++i;
    return statement.mid(i);
}

bool startsWithSelect(const QString& statement) {
    return statement.left(6).toUpper() == QLatin1String("SELECT");
}

QString countedForm(const QString& select) {
    const QString afterSelect = select.mid(6);
    const qsizetype from = afterSelect.toUpper().indexOf(QLatin1String("FROM"));
    const QString columns = from < 0 ? QString() : afterSelect.left(from);
    const QString rest = from < 0 ? afterSelect : afterSelect.mid(from);
    return QStringLiteral("Select Count(") + columns + QStringLiteral(") As Res ") + QStringLiteral(" ") + rest;
}

QString fieldExistSql(const QString& table, const QString& field) {
    return QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = ") + sqlString(table) +
           QStringLiteral("AND  COLUMN_NAME = ") + sqlString(field);
}

QString tableExistSql(const QString& table) {
    return QStringLiteral("SELECT  * FROM  INFORMATION_SCHEMA.TABLES Where (Table_Name = ") + sqlString(table) +
           QStringLiteral(") And Table_Type='BASE TABLE' ");
}

QString databaseExistSql(const QString& database) {
    return QStringLiteral("select * from Master.Dbo.sysdatabases where Name=(N") + sqlString(database) +
           QStringLiteral(") ");
}

QString spExistSql(const QString& procedure) {
    return QStringLiteral("select * from dbo.sysobjects where id = object_id(N") + sqlString(procedure) +
           QStringLiteral(") and OBJECTPROPERTY(id, N'IsProcedure') = 1");
}

QString viewExistSql(const QString& view) {
    return QStringLiteral("SELECT  * FROM  INFORMATION_SCHEMA.TABLES Where (Table_Name = ") + sqlString(view) +
           QStringLiteral(") And Table_Type='VIEW' ");
}

QString dropViewSafeSql(const QString& view) {
    return QStringLiteral(
               "if exists (SELECT *  FROM  INFORMATION_SCHEMA.TABLES WHERE  (Table_Type = 'View') And Table_Name =") +
           sqlString(view) + QStringLiteral(")  drop view [dbo].[") + view + QStringLiteral("]");
}

}  // namespace sqltext
