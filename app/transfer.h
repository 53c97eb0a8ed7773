#pragma once
// The breeding-value transfer: the centre's text file into BV through the staging table.
#include <QString>
#include <QStringList>

#include "app/transferstatements.h"

class TTools;

// Runs the four statements with dir (trailing separator) and fileName as the main
// window's labels hold them, and tells the user the outcome through ShowMsg.
void TransferBreedingValues(TTools& tools, const QString& dir, const QString& fileName);

enum class TransferOutcome {
    Finished,
    FillFailed,
    CopyFailed
};

struct TransferOptions {
    // Everything but the insert into BV; the unmatched registration numbers are listed.
    bool dryRun = false;
    // The summary figures, read with extra queries beside the four statements.
    bool collectFigures = false;
    // The outcome message through ShowMsg (the window) or only in the result (headless).
    bool showOutcome = true;
    // How long the transfer waits for another one on the same farm database to end.
    int lockTimeoutMs = transfer::kLockTimeoutMs;
};

// Who read the file into the staging table: the server through its text driver, or,
// when the server could not, this computer with the same rules.
enum class FileReadBy {
    Nobody,
    Server,
    ThisComputer
};

// Figures are -1 when not collected or when their query failed.
struct TransferSummary {
    TransferOutcome outcome = TransferOutcome::Finished;
    FileReadBy readBy = FileReadBy::Nobody;
    QString message;  // the outcome's message text
    long long rowsRead = -1;
    long long regNosRepaired = -1;
    long long rowsAdded = -1;  // a dry run: the rows the transfer would add
    long long unmatchedRows = -1;
    QStringList unmatchedRegNos;  // a dry run only, after the repair
};

TransferSummary runTransfer(TTools& tools, const QString& dir, const QString& fileName,
                            const TransferOptions& options);
