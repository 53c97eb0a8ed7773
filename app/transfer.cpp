#include "transfer.h"

#include "app/clientfill.h"
#include "app/transferstatements.h"
#include "dataaccess/query.h"
#include "toolkit/tools.h"

#include <memory>
#include <optional>

namespace {

// A figure of the summary: the first column of the first row, -1 when the query fails.
// Straight on the connection, since ExecSql's counting rule would end the program.
long long countOf(TTools& tools, const QString& statement) {
    try {
        da::Query query(tools.ServerConnection);
        query.addSql(statement);
        query.open();
        return query.eof() ? -1 : query.field(0).asLargeInt();
    } catch (const std::exception&) {
        return -1;
    }
}

QStringList firstColumn(TTools& tools, const QString& statement) {
    QStringList values;
    try {
        da::Query query(tools.ServerConnection);
        query.addSql(statement);
        query.open();
        for (; !query.eof(); query.next())
            values << query.field(0).asString();
    } catch (const std::exception&) {
    }
    return values;
}

// What the copy statement would find missing: the named columns the staging table lacks.
bool stagedColumnsComplete(TTools& tools) {
    try {
        da::Query query(tools.ServerConnection);
        query.addSql(transfer::kStagedColumns);
        query.open();
        for (const QString& column : transfer::copiedColumns()) {
            if (!query.findField(column))
                return false;
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Runs one of the transfer's statements. Without figures it goes through ExecSqlNoCount;
// with them it runs on the connection itself, which also tells the rows it affected
// (-1 when the server does not say), so the summary needs no counting scans where
// the statement's own count answers. Nothing when the statement failed.
std::optional<long long> runStatement(TTools& tools, const QString& statement, bool figures) {
    if (!figures)
        return tools.ExecSqlNoCount(statement) < 0 ? std::nullopt : std::optional<long long>(-1);
    try {
        da::Query query(tools.ServerConnection);
        query.addSql(statement);
        query.execute();
        return query.rowsAffected();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The staging table filled from this computer when the server could not read the
// file: the rows sent, or nothing when the file cannot be read here or the fill failed
// (then no staging table is left, and the user sees the message of a failed fill).
std::optional<long long> fillHere(TTools& tools, const QString& dir, const QString& fileName) {
    if (!tools.ServerConnection || !transfer::readableHere(dir, fileName))
        return std::nullopt;
    try {
        return transfer::fillStagingHere(*tools.ServerConnection, dir, fileName);
    } catch (...) {
        // Whatever stopped it, the user sees the failed fill's message.
        return std::nullopt;
    }
}

TransferSummary finish(TransferSummary summary, TransferOutcome outcome) {
    summary.outcome = outcome;
    switch (outcome) {
    case TransferOutcome::Finished: summary.message = transfer::kFinished; break;
    case TransferOutcome::FillFailed: summary.message = transfer::kFillFailed; break;
    case TransferOutcome::CopyFailed: summary.message = transfer::kCopyFailed; break;
    }
    return summary;
}

// The four statements and the summary's queries, under the application lock.
TransferSummary runSteps(TTools& tools, const QString& dir, const QString& fileName, const TransferOptions& options) {
    TransferSummary summary;
    const bool figures = options.collectFigures || options.dryRun;

    if (tools.IsTableExist(QStringLiteral("BVTemp")))
        tools.ExecSql(transfer::kDropStatement);

    std::optional<long long> filled = runStatement(tools, transfer::fillStatement(dir, fileName), figures);
    summary.readBy = FileReadBy::Server;
    if (!filled) {
        filled = fillHere(tools, dir, fileName);
        summary.readBy = filled ? FileReadBy::ThisComputer : FileReadBy::Nobody;
    }
    if (!filled)
        return finish(summary, TransferOutcome::FillFailed);
    // A server that tells the rows its statements affect answers the figures itself; a
    // fill from here knows the rows it sent.
    const bool told = *filled >= 0;
    const long long staged = told ? *filled : countOf(tools, transfer::kCountStaged);
    // A file of a header alone holds no evaluation at all: "transfer finished" would make
    // the user believe the centre's values were loaded, so it fails like an unreadable file.
    if (staged == 0)
        return finish(summary, TransferOutcome::FillFailed);
    if (figures) {
        summary.rowsRead = staged;
        if (!told)
            summary.regNosRepaired = countOf(tools, transfer::kCountToRepair);
    }

    const std::optional<long long> repaired = runStatement(tools, transfer::kRepairStatement, figures);
    if (!repaired) {
        summary.regNosRepaired = -1;
        return finish(summary, TransferOutcome::FillFailed);
    }
    if (figures && told)
        summary.regNosRepaired = *repaired;
    // Without two animals of one registration number every matched row adds one row, and
    // the unmatched ones follow from the rows added; otherwise they are counted.
    bool oneAnimalPerNumber = false;
    if (figures && !options.dryRun) {
        const long long registered = countOf(tools, transfer::kCountRegistered);
        oneAnimalPerNumber = registered >= 0 && registered == countOf(tools, transfer::kCountDistinctRegistered);
    }
    if (figures && !oneAnimalPerNumber)
        summary.unmatchedRows = countOf(tools, transfer::kCountUnmatched);

    if (options.dryRun) {
        summary.unmatchedRegNos = firstColumn(tools, transfer::kListUnmatched);
        if (!stagedColumnsComplete(tools))
            return finish(summary, TransferOutcome::CopyFailed);
        summary.rowsAdded = countOf(tools, transfer::kCountMatched);
        return finish(summary, TransferOutcome::Finished);
    }

    const long long before = figures && !told ? countOf(tools, transfer::kCountBV) : -1;
    const std::optional<long long> added = runStatement(tools, transfer::copyStatement(tools.FarsiToday()), figures);
    if (!added)
        return finish(summary, TransferOutcome::CopyFailed);
    if (figures && told) {
        summary.rowsAdded = *added;
    } else if (figures && before >= 0) {
        const long long after = countOf(tools, transfer::kCountBV);
        summary.rowsAdded = after >= 0 ? after - before : -1;
    }
    if (oneAnimalPerNumber && summary.rowsRead >= 0 && summary.rowsAdded >= 0)
        summary.unmatchedRows = summary.rowsRead - summary.rowsAdded;
    return finish(summary, TransferOutcome::Finished);
}

}  // namespace

TransferSummary runTransfer(TTools& tools, const QString& dir, const QString& fileName,
                            const TransferOptions& options) {
    TransferSummary summary;
    if (tools.ExecSqlNoCount(transfer::lockStatement(options.lockTimeoutMs)) < 0) {
        summary = finish(summary, TransferOutcome::FillFailed);
    } else {
        summary = runSteps(tools, dir, fileName, options);
        // Given up before the outcome is shown: a message left open holds no other transfer.
        tools.ExecSqlNoCount(transfer::kUnlockStatement);
    }
    if (options.showOutcome)
        tools.ShowMsg(summary.message);
    return summary;
}

void TransferBreedingValues(TTools& tools, const QString& dir, const QString& fileName) {
    runTransfer(tools, dir, fileName, TransferOptions{});
}
