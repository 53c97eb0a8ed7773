#include "farmbuilder.h"

#include "bench/transfer/bvdata.h"
#include "dataaccess/connection.h"
#include "dataaccess/query.h"

namespace bvdata {
namespace {

void run(da::Connection& connection, const QString& statement) {
    da::Query query(&connection);
    query.addSql(statement);
    query.execute();
}

void connectTo(da::Connection& connection, const FarmRecipe& recipe, const QString& database) {
    connection.setServer(recipe.server);
    connection.setDatabase(database);
    connection.setUser(recipe.user);
    connection.setPassword(recipe.password);
    connection.setLoginPrompt(false);
    connection.connect();
}

}  // namespace

QString oldBvColumns() {
    return QStringLiteral(
        "[Serial] int, [Date] nvarchar(10), [RegNo] nvarchar(50), [BP] float, [BvMilk] float, [BvFat] float, "
        "[BvFatPercent] float, [RankTotalMilk] int, [RankTotalFat] int, [RankHerdMilk] int, [RankHerdFat] int, "
        "[BV1M] float, [BV1F] float");
}

void createFarm(const FarmRecipe& recipe) {
    if (recipe.createDatabase) {
        da::Connection master;
        connectTo(master, recipe, QStringLiteral("master"));
        run(master, QStringLiteral("CREATE DATABASE [") + recipe.database + QLatin1Char(']'));
    }
    da::Connection farm;
    connectTo(farm, recipe, recipe.database);
    run(farm, QStringLiteral("CREATE TABLE [dbo].[Main] ([Serial] int NOT NULL PRIMARY KEY, [Sabt] nvarchar(50), "
                             "[Name] nvarchar(50), [BirthDate] nvarchar(10))"));
    // A thousand rows to a statement, the most one VALUES list takes.
    constexpr long long kBatch = 1000;
    for (long long first = 1; first <= recipe.animals; first += kBatch) {
        QString statement = QStringLiteral("INSERT INTO [dbo].[Main] ([Serial], [Sabt], [Name], [BirthDate]) VALUES ");
        const long long last = std::min(recipe.animals, first + kBatch - 1);
        for (long long serial = first; serial <= last; ++serial) {
            if (serial > first)
                statement += QLatin1Char(',');
            statement += QStringLiteral("(%1, N'%2', N'Cow %1', N'1398/0%3/1%4')")
                             .arg(serial)
                             .arg(registrationNumber(serial))
                             .arg(1 + serial % 9)
                             .arg(serial % 10);
        }
        run(farm, statement);
    }
    QString bv = QStringLiteral("CREATE TABLE [dbo].[BV] (") + oldBvColumns();
    if (recipe.upgradedBv)
        bv += QStringLiteral(
            ", [PeriodCount] float, [BvPro] float, [BvProPercent] float, [RankTotalPro] float, [RankHerdPro] float, "
            "[MilkME_Avg] float, [FatME_Avg] float, [FatPerME_Avg] float, [ProME_Avg] float, [ProPerME_Avg] float, "
            "[CalveDistance_Avg] float");
    run(farm, bv + QLatin1Char(')'));
}

}  // namespace bvdata
