#include "toolkit/tools.h"

#include "dataaccess/sqlerror.h"
#include "platform/ansicodec.h"
#include "platform/appexit.h"
#include "platform/beep.h"
#include "toolkit/messageboardform.h"
#include "toolkit/sqltext.h"

#include <memory>

namespace {

const QString kProgrammingError = QStringLiteral("اشكال در برنامه نويسي");
const QString kCountFailed = QStringLiteral("اشكال در اجرا دستور . با برنامه نويس تماس بگيريد.- شمارش - ");
const QString kErrorKey = QStringLiteral("خطا");
const QString kTooLongNote = QStringLiteral("(بدليل طولاني بودن ادامه دستور نمايش داده نمي شود)");
const QString kPrimaryKeyNote = QStringLiteral("نكته : احتمالا پيام در مورد اطلاعات تكراري است ");
const QString kSystemMessage = QStringLiteral("پيام اصلي سيستم :");

// The error row of a failing statement goes to the board only while the user sees it.
void postErrorRow(const QString& sqlText) {
    if (MessageBoardForm && MessageBoardForm->isVisible())
        MessageBoardForm->PostThisMessage(kErrorKey, sqlText);
}

std::unique_ptr<da::Query> newStatementQuery(da::Connection* connection, const QString& statement) {
    auto query = std::make_unique<da::Query>(connection);
    query->close();
    query->clearSql();
    query->addSql(statement);
    return query;
}

// The executing path of both runners: 0 when the statement ran, -100 when it failed.
int executeAnswering(da::Query& query) {
    try {
        query.execute();
        return 0;
    } catch (const std::exception&) {
        postErrorRow(query.sqlText());
        return -100;
    }
}

}  // namespace

int TTools::ExecSql(const QString& SqlSt) {
    QString statement = sqltext::removeLeadingBlanks(SqlSt);
    if (sqltext::startsWithSelect(statement)) {
        if (statement.toUpper().contains(QLatin1String("COUNT"))) {
            ShowMsg(kProgrammingError);
            plat::requestEnd(true);
        } else {
            statement = sqltext::countedForm(statement);
        }
    }

    auto query = newStatementQuery(ServerConnection, statement);
    if (sqltext::startsWithSelect(statement)) {
        try {
            query->prepare();
            query->open();
            return query->fieldByName(QStringLiteral("Res")).asInteger();
        } catch (const std::exception&) {
            const QString sqlText = query->sqlText();
            // A log that cannot be written raises to the caller in place of a result.
            plat::saveTextAnsi(AppPath + QStringLiteral("Z8M/SqlExecuteErrorLog.Txt"), sqlText);
            postErrorRow(sqlText);
            ShowMsg(kCountFailed + QChar(13) + sqlText);
            plat::requestEnd(true);
            return 0;
        }
    }
    return executeAnswering(*query);
}

int TTools::ExecSqlNoCount(const QString& SqlSt) {
    auto query = newStatementQuery(ServerConnection, sqltext::removeLeadingBlanks(SqlSt));
    return executeAnswering(*query);
}

void TTools::ShowExceptMsg(const QString& Msg, const QString& ErMsg) {
    plat::messageBeep();
    QString text = Msg;
    if (text.size() > 300)
        text = text.left(300) + QChar(13) + kTooLongNote;
    if (ErMsg.toUpper().contains(QLatin1String("PRIMARY KEY")))
        text += QChar(13) + kPrimaryKeyNote;
    text += QChar(13) + QString(37, u'_') + QChar(13) + QChar(13) + kSystemMessage + QChar(13) + ErMsg;
    dialogs().showError(text);
}

bool TTools::IsFieldExist(const QString& TblName, const QString& FldName) {
    return ExecSql(sqltext::fieldExistSql(TblName, FldName)) > 0;
}

bool TTools::IsTableExist(const QString& TblName) { return ExecSql(sqltext::tableExistSql(TblName)) > 0; }

bool TTools::IsDataBaseExist(const QString& DBName) { return ExecSql(sqltext::databaseExistSql(DBName)) > 0; }

bool TTools::IsSpExist(const QString& SpName) { return ExecSql(sqltext::spExistSql(SpName)) > 0; }

bool TTools::IsViewExist(const QString& ViewName) { return ExecSql(sqltext::viewExistSql(ViewName)) > 0; }

bool TTools::DropViewSafe(const QString& ViewName) {
    if (!ViewCanBeDroped)
        return false;
    // The runner answers 0 for a statement that ran and -100 for one that failed, so
    // "greater than 0" could never be true. We report whether the statement ran: true
    // means no view of that name is left in dbo, false that the drop failed or was
    // not allowed.
    return ExecSql(sqltext::dropViewSafeSql(ViewName)) == 0;
}
