// The transfer's statements on the embedded engine through the public data-access API
// ("file:DIR" server): the staging table filled through OPENROWSET from a generated
// breeding centre's file, the registration-number repair, counted SELECTs over the
// staging table, and the INSERT .. SELECT .. JOIN of the staging table with a farm's
// Main table into BV.
//
//   transfer_sql_bench [rows] [mainRows]     (defaults: 1000000 and 200000)
#include "tests/fixtures/bvdata.h"
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <sys/resource.h>

namespace {

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void run(da::Connection& c, const QString& sql) {
    da::Query q(&c);
    q.setSql(sql);
    q.execute();
}

// As the toolkit counts: the counted form opened, its Res read.
int count(da::Connection& c, const QString& sql) {
    da::Query q(&c);
    q.setSql(sql);
    q.prepare();
    q.open();
    return q.fieldByName(QStringLiteral("Res")).asInteger();
}

void timed(const char* what, const std::function<QString()>& step) {
    const double started = now();
    const QString result = step();
    const double seconds = now() - started;
    std::printf("%-48s %7.2f s  peak RSS so far %6.1f MiB  %s\n", what, seconds, peakMiB(), qPrintable(result));
    std::fflush(stdout);
}

// The farm's animals, as Main keeps them (Sabt as text).
void writeMainFile(const QString& dir, long long rows) {
    QFile f(dir + QStringLiteral("/main.txt"));
    if (!f.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write main.txt");
    f.write("Serial,Sabt\r\n");
    for (long long serial = 1; serial <= rows; ++serial)
        f.write(QByteArray::number(serial) + ',' + bvdata::registrationNumber(serial).toLatin1() + "\r\n");
    QFile ini(dir + QStringLiteral("/schema.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write schema.ini");
    ini.write("[main.txt]\r\nCol1=Serial Integer\r\nCol2=Sabt Text Width 50\r\n");
}

QString openRowset(const QString& dir, const QString& file, const QString& table) {
    return QStringLiteral("SELECT * INTO  ") + table +
           QStringLiteral(" FROM  OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=") + dir +
           QStringLiteral(";', 'SELECT * FROM [") + file + QStringLiteral("];') Rowset_4");
}

}  // namespace

int main(int argc, char** argv) {
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const long long mainRows = argc > 2 ? std::atoll(argv[2]) : 200000;
    QTemporaryDir server, files;
    if (!server.isValid() || !files.isValid())
        return 1;
    try {
        const QString dir = files.path() + QLatin1Char('/');
        // The file's cows are drawn among five times the farm's animals, so about one row
        // in five finds its animal.
        bvdata::FileRecipe recipe;
        recipe.rows = rows;
        recipe.animals = mainRows * 5;
        recipe.seed = 20261209;
        bvdata::writeBreedingFile(dir + QStringLiteral("bv.txt"), recipe);
        const long long bytes = QFileInfo(dir + QStringLiteral("bv.txt")).size();
        writeMainFile(files.path(), mainRows);
        std::printf("file: %lld rows, %.1f MB; Main: %lld rows; peak RSS %.1f MiB\n", rows, bytes / 1e6, mainRows, peakMiB());

        da::Connection c;
        c.setServer(QStringLiteral("file:") + server.path());
        c.setDatabase(QStringLiteral("master"));
        c.setUser(QStringLiteral("sa"));
        c.connect();
        run(c, QStringLiteral("CREATE DATABASE Farm"));
        c.disconnect();
        c.setDatabase(QStringLiteral("Farm"));
        c.connect();
        run(c, openRowset(dir, QStringLiteral("main.txt"), QStringLiteral("Main")));
        run(c, QStringLiteral(
                   "CREATE TABLE BV (Serial int, BVDate nvarchar(10), RegNo nvarchar(50), BP float, BvMilk float, BvFat float, "
                   "BvFatPercent float, RankTotalMilk int, RankTotalFat int, RankHerdMilk int, RankHerdFat int, BV1M float, "
                   "BV1F float, PeriodCount int, BvPro float, BvProPercent float, RankTotalPro int, RankHerdPro int, "
                   "MilkME_Avg float, FatME_Avg float, FatPerME_Avg float, ProME_Avg float, ProPerME_Avg float, "
                   "CalveDistance_Avg float)"));

        timed("fill BVTemp through OPENROWSET", [&] {
            run(c, openRowset(dir, QStringLiteral("bv.txt"), QStringLiteral("BVTemp")));
            return QString();
        });
        timed("repair RegNo (UPDATE .. SUBSTRING)", [&] {
            run(c, QStringLiteral("UPDATE  BVTemp SET RegNo = SUBSTRING(RegNo, 2, 100) Where SUBSTRING(RegNo, 1, 1)='h'"));
            return QString();
        });
        timed("counted SELECT: Select Count(*) From BVTemp", [&] {
            return QStringLiteral("Res = %1").arg(count(c, QStringLiteral("Select Count(*) As Res  From BVTemp")));
        });
        timed("counted SELECT with a condition on every row", [&] {
            return QStringLiteral("Res = %1").arg(count(c, QStringLiteral("Select Count( RegNo ) As Res  From BVTemp Where BvMilk > 0 ")));
        });
        timed("INSERT INTO BV SELECT .. JOIN Main", [&] {
            run(c, QStringLiteral("INSERT INTO BV SELECT     M.Serial, '1405/09/18', T.RegNo, NULL AS BP, T.BvMilk, T.BvFat, "
                                  "T.BvFatPercent, T.RankTotalMilk, T.RankTotalFat, T.RankHerdMilk, T.RankHerdFat, NULL  AS BV1M, "
                                  "NULL AS BV1F, T.PeriodCount, T.BvPro, T.BvProPercent, T.RankTotalPro, T.RankHerdPro, "
                                  "T.MilkME_Avg, T.FatME_Avg, T.FatPerME_Avg, T.ProME_Avg,  T.ProPerME_Avg, T.CalveDistance_Avg "
                                  "FROM  dbo.BVTemp T INNER JOIN dbo.Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt"));
            return QStringLiteral("BV rows = %1").arg(count(c, QStringLiteral("Select Count(*) As Res  From BV")));
        });
    } catch (const da::SqlError& e) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
