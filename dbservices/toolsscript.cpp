// The script runner and the three readers that hand back what a statement answered.
#include "toolkit/tools.h"

#include "dbservices/scriptrunner.h"
#include "dbservices/servicequery.h"
#include "platform/ansicodec.h"
#include "toolkit/messageboardform.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <stdexcept>

namespace {

const QString kFileNotFound = QStringLiteral("فايل پيدا نشد");
const QString kBatchSucceeded = QStringLiteral("موفقيت در");
const QString kBatchFailed = QStringLiteral("خطا در ");
const QString kRegarding = QStringLiteral(" در مورد ");
const QString kErrorsOccurred =
    QStringLiteral(" خطا وجود داشته است . گزارش را ذخيره و با شركت ورنيكان براي هماهنگي بيشتر تماس بگيريد ");
const QString kErrorKey = QStringLiteral("خطا");
const QString kVersionFailed = QStringLiteral("خطا در دريافت نسخه اسكيوال سرور");
const QString kVersionProbe = QStringLiteral("SELECT SUBSTRING(@@VERSION, 22, 5) As V");

QByteArray fileHead(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(3) : QByteArray();
}

// The script's lines as loaded, replacing the previous copy; a copy that cannot be
// written raises the file error to the caller.
void saveWorkingCopy(const QString& path, const QByteArray& mark, const QStringList& lines) {
    if (mark.isEmpty())
        return plat::saveLinesAnsi(path, lines);
    QFile f(path);
    const QByteArray bytes = scriptrunner::encodeLines(mark, lines);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error(("Cannot write file \"" + path + "\". " + f.errorString()).toStdString());
}

}  // namespace

bool TTools::DoScriptFromfile(const QString& Title, const QString& FName) {
    // A folder of that name is no script either.
    if (!QFileInfo(FName).isFile()) {
        dialogs().plainMessage(kFileNotFound + QChar(13) + Title + QChar(13) + FName);
        return false;
    }
    auto query = std::make_unique<da::Query>(ServerConnection);
    TMessageBoardForm* board = MessageBoardForm;
    if (board)
        board->StartRecording(true, Title);
    int errors = 0;
    try {
        const QStringList loaded = plat::loadLines(FName);
        saveWorkingCopy(AppPath + QStringLiteral("Z8M/Temp.Txt"), scriptrunner::byteOrderMark(fileHead(FName)), loaded);
        // A script with no statement line left runs nothing and closes an empty report.
        for (const scriptrunner::Batch& batch :
             scriptrunner::splitBatches(scriptrunner::withoutEmptyAndComments(loaded))) {
            if (batch.isEmpty())
                continue;
            query->setSql(batch.lines.join(u'\n'));
            try {
                query->execute();
                if (board)
                    board->PostThisMessage(kBatchSucceeded, QString::number(batch.number));
            } catch (const std::exception&) {
                if (board)
                    board->PostThisMessage(kBatchFailed + QString::number(batch.number), query->sqlText());
                ++errors;
            }
            while (query->executing())
                QCoreApplication::processEvents();
        }
    } catch (...) {
        // The report is closed before a file error goes on to the caller.
        if (board)
            board->StopRecording();
        throw;
    }
    if (board)
        board->StopRecording();
    if (errors > 0)
        ShowMsg(kRegarding + QChar(13) + Title + QChar(13) + QString::number(errors) + kErrorsOccurred);
    return true;
}

bool TTools::DoSqlAndReturnParameters(const QString& SqlSt) {
    ReturnedValues.clear();
    auto query = serviceQuery(ServerConnection, SqlSt);
    bool read = false;
    try {
        query->prepare();
        query->open();
        for (int i = 0; i < query->fieldCount(); ++i)
            ReturnedValues.append(query->field(i).asString());
        read = true;
    } catch (const std::exception&) {
        // Reported by the result alone; values read before the error stay.
    }
    ReturnedValueCount = static_cast<int>(ReturnedValues.size());
    if (ReturnedValues.isEmpty())
        ReturnedValues.append(QString());
    return read;
}

int TTools::DoSqlForCreateList(const QString& SqlSt, QStringList& It) {
    It.clear();
    int result = 0;
    auto query = serviceQuery(ServerConnection, SqlSt);
    query->saveSqlToFile(AppPath + QStringLiteral("DoSqlForCreateList.txt"));
    if (SqlSt.left(6).toUpper() != QLatin1String("SELECT"))
        return result;
    try {
        query->prepare();
        query->open();
        for (query->first(); !query->eof(); query->next())
            It.append(query->field(0).asString());
        result = query->recordCount();
    } catch (const std::exception&) {
        // Swallowed: the count stays 0 and the rows read so far stay in the list.
    }
    return result;
}

QString TTools::SQLVer(da::Connection* InConct) {
    QString result;
    auto query = serviceQuery(InConct, kVersionProbe);
    try {
        query->prepare();
        query->open();
        result = RemoveRLBLank(query->fieldByName(QStringLiteral("V")).asString());
    } catch (const std::exception&) {
        if (MessageBoardForm && MessageBoardForm->isVisible())
            MessageBoardForm->PostThisMessage(kErrorKey, query->sqlText());
        ShowMsg(kVersionFailed);
    }
    return result;
}
