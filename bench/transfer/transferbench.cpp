// End-to-end transfer benchmark: the headless transfer (start-up, BV upgrade and the
// four statements on the embedded engine) against the sqlite3 shell doing the same
// four steps on the same data, measured side by side in one run. Beside them the same
// transfer against a server confined to no folder, so that the file is read on this
// computer and its rows are sent to the server, and the rows per second of that fill
// through the SQLite ODBC driver (parameter arrays), when the driver is registered.
//
//   transferbench [--rows N] [--columns C] [--animals M] [--seed S] [--work DIR]
//                 [--bvtransfer PATH] [--sqlite3 PATH] [--odbc-rows N]
//
// The data (file and animals) is generated once per size into the work folder and
// reused; the farm database and the shell's database are made afresh for every run and
// their set-up is not timed.
#include "app/clientfill.h"
#include "bench/measuredrun.h"
#include "tests/fixtures/bvdata.h"
#include "tests/fixtures/farmbuilder.h"
#include "connection/credentialsfile.h"
#include "dataaccess/connection.h"
#include "dataaccess/odbc/odbcsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void writeText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

QString shellColumns() {
    // BV's 24 columns, the shell's types.
    return QStringLiteral(
        "Serial INTEGER, Date TEXT, RegNo TEXT, BP REAL, BvMilk REAL, BvFat REAL, BvFatPercent REAL, "
        "RankTotalMilk INTEGER, RankTotalFat INTEGER, RankHerdMilk INTEGER, RankHerdFat INTEGER, BV1M REAL, "
        "BV1F REAL, PeriodCount REAL, BvPro REAL, BvProPercent REAL, RankTotalPro REAL, RankHerdPro REAL, "
        "MilkME_Avg REAL, FatME_Avg REAL, FatPerME_Avg REAL, ProME_Avg REAL, ProPerME_Avg REAL, "
        "CalveDistance_Avg REAL");
}

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A fresh farm on the embedded engine in server, as a farm has it before the first start;
// confined, its server reads no folder (the client computer's files are not its own).
void makeFarm(const QString& server, const QString& appDir, long long animals, bool confined) {
    QDir(server).removeRecursively();
    QDir().mkpath(server);
    QDir().mkpath(appDir);
    bvdata::FarmRecipe farm;
    farm.server = QStringLiteral("file:") + server;
    farm.animals = animals;
    bvdata::createFarm(farm);
    conn::writeCredentialsFile(appDir + QStringLiteral("/WTimes.DLL"),
                               {farm.server, farm.database, farm.user, farm.password});
    if (confined)
        writeText(server + QStringLiteral("/readable-folders.txt"), QStringLiteral("# no folder of this computer\n"));
}

void printRun(const char* what, const MeasuredRun& r) {
    std::printf("%s: %.2f s wall, %.2f s cpu, peak %.1f MiB, exit %d\n", what, r.seconds, r.cpuSeconds,
                r.peakKiB / 1024.0, r.status);
}

// The first rows of the file into a staging table through the SQLite ODBC driver.
void odbcFill(const QString& work, const QString& file, long long rows) {
    if (rows <= 0)
        return;
    if (!da::odbc::registeredDrivers().contains(QStringLiteral("SQLite3"))) {
        std::printf("ODBC fill: the SQLite3 ODBC driver is not registered, skipped\n");
        return;
    }
    const QString dir = work + QStringLiteral("/odbc");
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QFile in(file);
    QFile out(dir + QStringLiteral("/bv.txt"));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot copy the file for the ODBC fill");
    for (long long n = 0; n <= rows && !in.atEnd(); ++n)
        out.write(in.readLine());
    out.close();
    da::Connection connection;
    connection.setServer(QStringLiteral("odbc:Driver={SQLite3};Database=") + dir + QStringLiteral("/farm.db"));
    connection.connect();
    const auto start = std::chrono::steady_clock::now();
    const long long sent = transfer::fillStagingHere(connection, dir + QLatin1Char('/'), QStringLiteral("bv.txt"));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("ODBC fill from this computer (SQLite ODBC driver, parameter arrays): %lld rows in %.2f s, %.0f rows/s\n",
                sent, seconds, seconds > 0 ? static_cast<double>(sent) / seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    bvdata::FileRecipe recipe;
    recipe.rows = 1000000;
    recipe.columns = 22;
    recipe.animals = 200000;
    QString work = QDir::tempPath() + QStringLiteral("/bvtransfer-bench");
    QString bvtransfer = QCoreApplication::applicationDirPath() + QStringLiteral("/../../app/bvtransfer");
    QString sqlite3 = QStringLiteral("sqlite3");
    long long odbcRows = 1000000;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString& option = args.at(i);
        const QString& value = args.at(i + 1);
        if (option == QLatin1String("--rows"))
            recipe.rows = value.toLongLong();
        else if (option == QLatin1String("--columns"))
            recipe.columns = value.toInt();
        else if (option == QLatin1String("--animals"))
            recipe.animals = value.toLongLong();
        else if (option == QLatin1String("--seed"))
            recipe.seed = value.toULongLong();
        else if (option == QLatin1String("--work"))
            work = value;
        else if (option == QLatin1String("--bvtransfer"))
            bvtransfer = value;
        else if (option == QLatin1String("--sqlite3"))
            sqlite3 = value;
        else if (option == QLatin1String("--odbc-rows"))
            odbcRows = value.toLongLong();
        else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(option));
            return 2;
        }
    }
    bvtransfer = QFileInfo(bvtransfer).absoluteFilePath();

    try {
        const QString data = QStringLiteral("%1/data-%2x%3-%4-s%5")
                                 .arg(work)
                                 .arg(recipe.rows)
                                 .arg(recipe.columns)
                                 .arg(recipe.animals)
                                 .arg(recipe.seed);
        QDir().mkpath(data);
        const QString file = data + QStringLiteral("/bv.txt");
        const QString animals = data + QStringLiteral("/animals.csv");
        if (!QFileInfo::exists(data + QStringLiteral("/.ready"))) {
            std::printf("generating %lld rows x %d columns, %lld animals ...\n", recipe.rows, recipe.columns, recipe.animals);
            std::fflush(stdout);
            bvdata::writeBreedingFile(file, recipe);
            bvdata::writeAnimalsCsv(animals, recipe.animals);
            writeText(data + QStringLiteral("/.ready"), {});
        }

        // The embedded engine's farm, as a farm would have it before the first start.
        const QString appDir = work + QStringLiteral("/app");
        const QString server = work + QStringLiteral("/server");
        makeFarm(server, appDir, recipe.animals, false);

        // The shell's database with the same animals and an empty BV.
        const QString shellDb = work + QStringLiteral("/shell.db");
        QFile::remove(shellDb);
        writeText(work + QStringLiteral("/setup.sql"),
                  QStringLiteral("CREATE TABLE Main (Serial INTEGER PRIMARY KEY, Sabt TEXT, Name TEXT, BirthDate TEXT);\n"
                                 ".import --csv --skip 1 '%1' Main\n"
                                 "CREATE INDEX MainSabt ON Main (Sabt COLLATE NOCASE);\n"
                                 "CREATE TABLE BV (%2);\n")
                      .arg(animals, shellColumns()));
        const MeasuredRun setup = runMeasured({sqlite3, QStringLiteral("-bail"), shellDb},
                                              work + QStringLiteral("/setup.sql"), work + QStringLiteral("/setup.out"));
        if (setup.status != 0)
            throw std::runtime_error("the sqlite3 shell could not set its database up");
        writeText(work + QStringLiteral("/steps.sql"),
                  QStringLiteral(
                      "BEGIN;\n"
                      ".import --csv '%1' BVTemp\n"
                      "UPDATE BVTemp SET RegNo = SUBSTR(RegNo, 2, 100) WHERE SUBSTR(RegNo, 1, 1) = 'h' COLLATE NOCASE;\n"
                      "INSERT INTO BV SELECT M.Serial, '1403/09/18', T.RegNo, NULL, T.BvMilk, T.BvFat, T.BvFatPercent, "
                      "T.RankTotalMilk, T.RankTotalFat, T.RankHerdMilk, T.RankHerdFat, NULL, NULL, T.PeriodCount, T.BvPro, "
                      "T.BvProPercent, T.RankTotalPro, T.RankHerdPro, T.MilkME_Avg, T.FatME_Avg, T.FatPerME_Avg, "
                      "T.ProME_Avg, T.ProPerME_Avg, T.CalveDistance_Avg FROM BVTemp T INNER JOIN Main M "
                      "ON T.RegNo = M.Sabt COLLATE NOCASE;\n"
                      "COMMIT;\n"
                      "SELECT COUNT(*) FROM BV;\n")
                      .arg(file));

        const QStringList headless{bvtransfer, QStringLiteral("--app-dir"), appDir, QStringLiteral("--transfer"), file};
        const MeasuredRun ours = runMeasured(headless, {}, work + QStringLiteral("/bvtransfer.out"));
        makeFarm(server, appDir, recipe.animals, true);
        const MeasuredRun here = runMeasured(headless, {}, work + QStringLiteral("/bvtransfer-here.out"));
        const MeasuredRun shell = runMeasured({sqlite3, QStringLiteral("-bail"), shellDb},
                                              work + QStringLiteral("/steps.sql"), work + QStringLiteral("/shell.out"));

        std::printf("data: %lld rows x %d columns against %lld animals (seed %llu)\n", recipe.rows, recipe.columns,
                    recipe.animals, static_cast<unsigned long long>(recipe.seed));
        printRun("bvtransfer headless, file read by the server (start-up included)", ours);
        std::printf("%s", qPrintable(readAll(work + QStringLiteral("/bvtransfer.out"))));
        printRun("bvtransfer headless, confined server, file read on this computer", here);
        std::printf("%s", qPrintable(readAll(work + QStringLiteral("/bvtransfer-here.out"))));
        std::printf("ratio read here / read by the server: %.2f wall, %.2f cpu (goal <= 1.30); peak memory goal < 100 MiB: %s\n",
                    ours.seconds > 0 ? here.seconds / ours.seconds : 0, ours.cpuSeconds > 0 ? here.cpuSeconds / ours.cpuSeconds : 0,
                    here.peakKiB < 100 * 1024 ? "met" : "missed");
        std::printf("sqlite3 shell, same four steps: %.2f s wall, %.2f s cpu, peak %.1f MiB, exit %d, BV rows %s",
                    shell.seconds, shell.cpuSeconds, shell.peakKiB / 1024.0, shell.status,
                    qPrintable(readAll(work + QStringLiteral("/shell.out"))));
        const double ratio = shell.seconds > 0 ? ours.seconds / shell.seconds : 0;
        const double cpuRatio = shell.cpuSeconds > 0 ? ours.cpuSeconds / shell.cpuSeconds : 0;
        std::printf("ratio bvtransfer / sqlite3 shell: %.2f wall, %.2f cpu (goal <= 0.50); peak memory goal < 100 MiB: %s\n",
                    ratio, cpuRatio, ours.peakKiB < 100 * 1024 ? "met" : "missed");
        odbcFill(work, file, std::min(odbcRows, recipe.rows));
        return ours.status == 0 && here.status == 0 && shell.status == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "transferbench: %s\n", error.what());
        return 1;
    }
}
