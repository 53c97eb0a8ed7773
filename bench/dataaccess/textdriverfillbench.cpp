// Fills a staging table from a generated breeding centre's file with the embedded
// engine's text driver called directly, fills it again through the engine (the
// transfer's SELECT * INTO .. FROM OPENROWSET on a "file:" server, with the engine's
// settings), and imports the same file with the sqlite3 shell's ".import --csv", side
// by side. Each runs in a child process of its own, so all are timed alike and each
// one's peak memory is its own.
//
//   textdriver_fill_bench [rows] [runs] [columns]   (defaults: 1000000 rows, 1 run, 22 columns)
// A file of many columns (2,000 x 10,000 rows: textdriver_fill_bench 10000 1 2000) shows
// that the reader's memory does not grow with the columns; beyond the 1,024 columns of an
// engine's table the engine refuses the file, which the text driver alone still reads.
//   textdriver_fill_bench --fill-only DIR     fills DIR/fill.db from DIR/bv.txt, for profiling
#include "tests/fixtures/bvdata.h"
#include "dataaccess/connection.h"
#include "dataaccess/embedded/sqlitedb.h"
#include "dataaccess/embedded/textdriver/textdriver.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sqlite3.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Run {
    double seconds = 0;
    double peakMiB = 0;
    bool ok = false;
};

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Run waitFor(pid_t pid, double started) {
    int status = 0;
    rusage usage{};
    Run r;
    if (wait4(pid, &status, 0, &usage) < 0)
        return r;
    r.seconds = now() - started;
    r.peakMiB = usage.ru_maxrss / 1024.0;  // KiB
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

// The child's work: BEGIN, the text driver, COMMIT, on a database with SQLite's default
// settings (journal, cache), as the shell has them.
int fillChild(const QString& dir, const QString& dbPath) {
    sqlite3* db = nullptr;
    // Opened as the embedded engine opens its databases.
    if (sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return 2;
    int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    try {
        da::embedded::fillTableFromTextFile(db, QStringLiteral("BVTemp"), dir, QStringLiteral("bv.txt"));
    } catch (const da::SqlError& e) {
        std::fprintf(stderr, "fill failed: %s\n", e.what());
        rc = 1;
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}

Run runFill(const QString& dir, const QString& dbPath) {
    QFile::remove(dbPath);
    std::fflush(nullptr);
    const double started = now();
    const pid_t pid = fork();
    if (pid == 0)
        _exit(fillChild(dir, dbPath));
    return waitFor(pid, started);
}

// The child's work through the engine: a "file:" server folder holding one database,
// the transfer's fill statement on it.
int engineChild(const QString& dir, const QString& serverDir) {
    try {
        QFile database(serverDir + QStringLiteral("/Farm.db"));
        if (!database.open(QIODevice::WriteOnly))  // an empty file is an empty database
            return 2;
        database.close();
        da::Connection c;
        c.setServer(QStringLiteral("file:") + serverDir);
        c.setDatabase(QStringLiteral("Farm"));
        c.setUser(QStringLiteral("sa"));
        c.setLoginPrompt(false);
        c.connect();
        da::Query q(&c);
        q.setSql(QStringLiteral("SELECT * INTO  BVTemp FROM  OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; "
                                "*.csv)};DefaultDir={") +
                 dir +
                 QStringLiteral("/};', 'SELECT * FROM [bv.txt];') Rowset_4"));
        q.execute();
        return 0;
    } catch (const da::SqlError& e) {
        std::fprintf(stderr, "engine fill failed: %s\n", e.what());
        return 1;
    }
}

Run runEngine(const QString& dir, const QString& serverDir) {
    QDir(serverDir).removeRecursively();
    QDir().mkpath(serverDir);
    std::fflush(nullptr);
    const double started = now();
    const pid_t pid = fork();
    if (pid == 0)
        _exit(engineChild(dir, serverDir));
    return waitFor(pid, started);
}

Run runShell(const QString& file, const QString& dbPath) {
    QFile::remove(dbPath);
    const std::string db = QFile::encodeName(dbPath).toStdString();
    const std::string command = ".import --csv " + QFile::encodeName(file).toStdString() + " BVTemp";
    char* argv[] = {const_cast<char*>("sqlite3"), const_cast<char*>(db.c_str()), const_cast<char*>(command.c_str()), nullptr};
    const double started = now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sqlite3", nullptr, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot start the sqlite3 shell\n");
        return {};
    }
    return waitFor(pid, started);
}

long long rowCount(const QString& dbPath) {
    sqlite3* db = nullptr;
    long long n = -1;
    if (sqlite3_open(QFile::encodeName(dbPath).constData(), &db) == SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM BVTemp", -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            n = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--fill-only") {
        const QString dir = QString::fromLocal8Bit(argv[2]);
        QFile::remove(dir + QStringLiteral("/fill.db"));
        return fillChild(dir, dir + QStringLiteral("/fill.db"));
    }
    const long long rows = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 1;
    const int columns = argc > 3 ? std::atoi(argv[3]) : 22;
    const bool engineTakes = columns <= da::embedded::SqliteDb::kMaxColumns;
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return 1;
    const QString file = tmp.filePath(QStringLiteral("bv.txt"));
    const double genStart = now();
    bvdata::FileRecipe recipe;
    recipe.rows = rows;
    recipe.animals = rows;
    recipe.seed = 20261209;
    recipe.columns = std::max(columns, 19);
    bvdata::writeBreedingFile(file, recipe);
    const long long bytes = QFileInfo(file).size();
    std::printf("file: %lld rows, %d columns, %.1f MB, generated in %.2f s\n", rows, recipe.columns, bytes / 1e6,
                now() - genStart);

    const QString fillDb = tmp.filePath(QStringLiteral("fill.db"));
    const QString shellDb = tmp.filePath(QStringLiteral("shell.db"));
    const QString serverDir = tmp.filePath(QStringLiteral("server"));
    const QString engineDb = serverDir + QStringLiteral("/Farm.db");
    bool allOk = true;
    for (int i = 1; i <= runs; ++i) {
        const Run fill = runFill(tmp.path(), fillDb);
        const Run engine = runEngine(tmp.path(), serverDir);
        const Run shell = runShell(file, shellDb);
        const long long fillRows = rowCount(fillDb), engineRows = rowCount(engineDb), shellRows = rowCount(shellDb);
        const auto ratio = [&](const Run& r) { return shell.seconds > 0 ? r.seconds / shell.seconds : 0.0; };
        std::printf("run %d: text driver alone %.2f s, peak RSS %.1f MiB, %lld rows | OPENROWSET through the engine "
                    "%.2f s, peak RSS %.1f MiB, %lld rows | sqlite3 .import --csv %.2f s, peak RSS %.1f MiB, %lld rows\n",
                    i, fill.seconds, fill.peakMiB, fillRows, engine.seconds, engine.peakMiB, engineRows, shell.seconds,
                    shell.peakMiB, shellRows);
        std::printf("run %d: fill/import %.2f alone, %.2f through the engine (goal <= 0.60); engine peak memory goal "
                    "< 64 MiB: %s\n",
                    i, ratio(fill), ratio(engine), engine.peakMiB < 64 ? "met" : "missed");
        if (!engineTakes)
            std::printf("run %d: the engine refused the file as it should: more columns than a table holds\n", i);
        allOk = allOk && fill.ok && shell.ok && fillRows == rows && shellRows == rows &&
                (engineTakes ? engine.ok && engineRows == rows : !engine.ok);
    }
    std::fflush(stdout);
    return allOk ? 0 : 1;
}
