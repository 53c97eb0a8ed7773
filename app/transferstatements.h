#pragma once
// The texts of the breeding-value transfer: its four statements and three messages,
// and the summary queries of the headless mode. Pure functions, no I/O.
#include <QString>
#include <QStringList>

namespace transfer {

inline const QString kDropStatement = QStringLiteral("Drop Table BVTemp");
inline const QString kRepairStatement = QStringLiteral("UPDATE  BVTemp SET RegNo = SUBSTRING(RegNo, 2, 100) Where SUBSTRING(RegNo, 1, 1)='h'");

inline const QString kFillFailed = QStringLiteral("انتقال اطلاعات از اين كامپيوتر امكان پذير نيست. درصورتي كه در كامپيوتر كلاينت هستيد از سرور امتحان كنيد");
inline const QString kCopyFailed = QStringLiteral("انتقال اطلاعات به جدول اصلي با اشكال مواجه شده است");
inline const QString kFinished = QStringLiteral("انتقال خاتمه يافت");

// The farm database's application lock, held from the transfer's first statement to its
// last (and around the BV upgrade at start-up): the statements share the staging table,
// so a second transfer waits for the first and fails after the timeout instead of mixing
// its rows with the first one's. The lock belongs to the connection, which gives it up
// when it ends; a refused lock ends the batch with an error.
inline constexpr int kLockTimeoutMs = 120000;
QString lockStatement(int timeoutMs = kLockTimeoutMs);
inline const QString kUnlockStatement =
    QStringLiteral("EXEC sp_releaseapplock @Resource = 'BVTransfer', @LockOwner = 'Session'");

// Fills BVTemp from the file fileName in the directory dir (trailing separator) through
// the server's text driver. dir goes into the driver's connection string in braces and
// fileName into a bracketed name, each closing delimiter doubled, and both OPENROWSET
// arguments are SQL string literals with every quote doubled: any name reaches the
// driver whole and none of it can run as SQL.
QString fillStatement(const QString& dir, const QString& fileName);

// Copies the matched rows into BV, stamped with the solar date today.
QString copyStatement(const QString& today);

// The file's columns that the copy statement names, in its order.
const QStringList& copiedColumns();

// Summary queries: each answers one row with one number, or the unmatched numbers.
inline const QString kCountStaged = QStringLiteral("SELECT COUNT(*) FROM BVTemp");
inline const QString kCountToRepair =
    QStringLiteral("SELECT COUNT(*) FROM BVTemp Where SUBSTRING(RegNo, 1, 1)='h'");
inline const QString kCountBV = QStringLiteral("SELECT COUNT(*) FROM BV");
inline const QString kCountMatched = QStringLiteral(
    "SELECT COUNT(*) FROM dbo.BVTemp T INNER JOIN dbo.Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt");
inline const QString kStagedColumns = QStringLiteral("SELECT * FROM BVTemp WHERE 1 = 0");
// Animals with a registration number, and their distinct numbers under the matching
// collation: equal counts mean each file row matches at most one animal.
inline const QString kCountRegistered = QStringLiteral("SELECT COUNT(Sabt) FROM dbo.Main");
inline const QString kCountDistinctRegistered =
    QStringLiteral("SELECT COUNT(DISTINCT Sabt COLLATE Arabic_CI_AI_KS_WS) FROM dbo.Main");
inline const QString kCountUnmatched = QStringLiteral(
    "SELECT COUNT(*) FROM dbo.BVTemp T LEFT JOIN dbo.Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt "
    "WHERE M.Serial IS NULL");
inline const QString kListUnmatched = QStringLiteral(
    "SELECT T.RegNo FROM dbo.BVTemp T LEFT JOIN dbo.Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt "
    "WHERE M.Serial IS NULL");

}  // namespace transfer
