#include "transferstatements.h"

#include "dataaccess/sqlquote.h"

namespace transfer {
namespace {

QString doubled(QString text, QChar delimiter) { return text.replace(delimiter, QString(2, delimiter)); }

}  // namespace

QString lockStatement(int timeoutMs) {
    return QStringLiteral("DECLARE @Granted int; EXEC @Granted = sp_getapplock @Resource = 'BVTransfer', "
                          "@LockMode = 'Exclusive', @LockOwner = 'Session', @LockTimeout = %1; "
                          "IF @Granted < 0 RAISERROR('Another transfer holds the farm database.', 16, 1)")
        .arg(timeoutMs);
}

QString fillStatement(const QString& dir, const QString& fileName) {
    const QString driverArgument = QStringLiteral("Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=") + QLatin1Char('{') + doubled(dir, u'}') + QLatin1String("};");
    const QString queryArgument = QStringLiteral("SELECT * FROM ") + da::bracketedName(fileName) + QLatin1String(";");
    return QStringLiteral("SELECT * INTO  BVTemp FROM  OPENROWSET('MSDASQL', ") + da::sqlString(driverArgument) +
           QStringLiteral(", ") + da::sqlString(queryArgument) + QStringLiteral(") Rowset_4");
}

QString copyStatement(const QString& today) {
    return QStringLiteral("INSERT INTO BV SELECT     M.Serial, ") + da::sqlString(today) +
           QStringLiteral(", T.RegNo, NULL AS BP, T.BvMilk, T.BvFat, T.BvFatPercent, T.RankTotalMilk, T.RankTotalFat, T.RankHerdMilk, T.RankHerdFat, NULL ") +
           QStringLiteral(" AS BV1M, NULL AS BV1F, T.PeriodCount, T.BvPro, T.BvProPercent, T.RankTotalPro, T.RankHerdPro, T.MilkME_Avg, T.FatME_Avg, T.FatPerME_Avg, T.ProME_Avg, ") +
           QStringLiteral(" T.ProPerME_Avg, T.CalveDistance_Avg FROM  dbo.BVTemp T INNER JOIN dbo.Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt");
}

const QStringList& copiedColumns() {
    static const QStringList columns{
        QStringLiteral("RegNo"), QStringLiteral("BvMilk"), QStringLiteral("BvFat"),
        QStringLiteral("BvFatPercent"), QStringLiteral("RankTotalMilk"), QStringLiteral("RankTotalFat"),
        QStringLiteral("RankHerdMilk"), QStringLiteral("RankHerdFat"), QStringLiteral("PeriodCount"),
        QStringLiteral("BvPro"), QStringLiteral("BvProPercent"), QStringLiteral("RankTotalPro"),
        QStringLiteral("RankHerdPro"), QStringLiteral("MilkME_Avg"), QStringLiteral("FatME_Avg"),
        QStringLiteral("FatPerME_Avg"), QStringLiteral("ProME_Avg"), QStringLiteral("ProPerME_Avg"),
        QStringLiteral("CalveDistance_Avg")};
    return columns;
}

}  // namespace transfer
