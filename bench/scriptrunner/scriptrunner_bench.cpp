// The script runner on a generated script of batches (inserts, a few failing ones,
// some of several statements) with the message board visible, side by side with the
// same batches run directly through the data layer. Each run gets a fresh database
// on the embedded engine; rounds alternate and the median of each side is reported.
// Goal: the runner and board add at most 15% and run 2,000 batches per second or more.
// Every statement commits on its own: on a disk each commit waits for the disk, so a
// work folder on a memory file system measures the program rather than the disk.
//
//   QT_QPA_PLATFORM=offscreen scriptrunner_bench [--batches 10000] [--rounds 3] [--work DIR]
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dbservices/scriptrunner.h"
#include "platform/ansicodec.h"
#include "toolkit/messageboardform.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

struct Options {
    int batches = 10000;
    int rounds = 3;
    QString work;
};

// Batch 1 creates the table; every 10th is two statements, every 1000th fails.
QStringList generateScript(int batches) {
    QStringList lines{QStringLiteral("-- generated"), QStringLiteral("CREATE TABLE B (Id int, Name nvarchar(40))"),
                      QStringLiteral("GO")};
    for (int i = 2; i <= batches; ++i) {
        const QString insert = QStringLiteral("INSERT INTO B VALUES (%1, N'animal %1')").arg(i);
        if (i % 1000 == 0)
            lines << QStringLiteral("INSERT INTO Missing VALUES (%1)").arg(i);
        else if (i % 10 == 0)
            lines << insert << QStringLiteral("UPDATE B SET Name = N'herd' WHERE Id = %1").arg(i);
        else
            lines << insert;
        lines << QStringLiteral("GO");
    }
    return lines;
}

class Server {
public:
    explicit Server(const QString& folder) : m_server(QStringLiteral("file:") + folder) {
        m_master.setServer(m_server);
        m_master.setDatabase(QStringLiteral("master"));
        m_master.connect();
    }
    // A connection to a database of its own.
    void fresh(da::Connection& c) {
        const QString name = QStringLiteral("Run%1").arg(++m_count);
        da::Query q(&m_master);
        q.setSql(QStringLiteral("CREATE DATABASE ") + name);
        q.execute();
        c.disconnect();
        c.setServer(m_server);
        c.setDatabase(name);
        c.connect();
    }

private:
    QString m_server;
    da::Connection m_master;
    int m_count = 0;
};

long long rowsOf(da::Connection& c) {
    da::Query q(&c);
    q.setSql(QStringLiteral("SELECT COUNT(*) FROM B"));
    q.open();
    return q.field(0).asLargeInt();
}

// Seconds of processor time this process has used: on a shared machine the wall time
// also holds the waits for the processor.
double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString key = QString::fromLocal8Bit(argv[i]);
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        if (key == QLatin1String("--batches"))
            o.batches = value.toInt();
        else if (key == QLatin1String("--rounds"))
            o.rounds = value.toInt();
        else if (key == QLatin1String("--work"))
            o.work = value;
        else
            return false;
    }
    return (argc % 2) == 1 && o.batches >= 2 && o.rounds >= 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: scriptrunner_bench [--batches N] [--rounds R] [--work DIR]\n");
        return 2;
    }
    QTemporaryDir temp;
    const QString work = o.work.isEmpty() ? temp.path() : o.work;
    // A server folder of its own on every run, so that a work folder can be reused.
    QTemporaryDir serverFolder(work + QStringLiteral("/server-XXXXXX"));
    QDir(work).mkpath(QStringLiteral("app"));
    const QString scriptPath = work + QStringLiteral("/script.sql");
    plat::saveLinesAnsi(scriptPath, generateScript(o.batches));

    Server server(serverFolder.path());
    RecordingDialogs dialogs;
    TTools tools(ToolsOptions{&dialogs, work + QStringLiteral("/app/"), QDate()});
    da::Connection connection;
    tools.ServerConnection = &connection;
    MessageBoardForm->show();

    // The direct side runs the batches as the runner cuts them, read before timing.
    QStringList batches;
    for (const scriptrunner::Batch& b :
         scriptrunner::splitBatches(scriptrunner::withoutEmptyAndComments(plat::loadLines(scriptPath)))) {
        if (!b.isEmpty())
            batches << b.lines.join(u'\n');
    }

    std::vector<double> direct, directCpu;
    std::vector<double> runner, runnerCpu;
    long long directRows = -1;
    long long runnerRows = -1;
    int directErrors = 0;
    for (int round = 0; round < o.rounds; ++round) {
        server.fresh(connection);
        QElapsedTimer t;
        t.start();
        double cpu = cpuSeconds();
        directErrors = 0;
        for (const QString& sql : batches) {
            da::Query q(&connection);
            q.setSql(sql);
            try {
                q.execute();
            } catch (const std::exception&) {
                ++directErrors;
            }
        }
        direct.push_back(double(t.nsecsElapsed()) / 1e9);
        directCpu.push_back(cpuSeconds() - cpu);
        directRows = rowsOf(connection);

        server.fresh(connection);
        dialogs.clear();
        t.start();
        cpu = cpuSeconds();
        tools.DoScriptFromfile(QStringLiteral("bench"), scriptPath);
        runner.push_back(double(t.nsecsElapsed()) / 1e9);
        runnerCpu.push_back(cpuSeconds() - cpu);
        runnerRows = rowsOf(connection);
    }

    const int rows = MessageBoardForm->rowCount();

    // The board alone: as many rows as the runner posts, without any statement.
    std::vector<double> board, boardCpu;
    for (int round = 0; round < o.rounds; ++round) {
        QElapsedTimer t;
        t.start();
        const double cpu = cpuSeconds();
        MessageBoardForm->StartRecording(true, QStringLiteral("bench"));
        for (int i = 1; i <= batches.size(); ++i)
            MessageBoardForm->PostThisMessage(QStringLiteral("row"), QString::number(i));
        MessageBoardForm->StopRecording();
        board.push_back(double(t.nsecsElapsed()) / 1e9);
        boardCpu.push_back(cpuSeconds() - cpu);
    }
    if (directRows != runnerRows || rows != batches.size() || dialogs.texts(RecordingDialogs::Kind::Msg).size() != 1) {
        std::fprintf(stderr, "the two sides disagree: rows %lld / %lld, board rows %d of %lld batches\n", directRows,
                     runnerRows, rows, static_cast<long long>(batches.size()));
        return 1;
    }
    const double n = double(batches.size());
    const double d = median(direct), dc = median(directCpu);
    const double r = median(runner), rc = median(runnerCpu);
    std::printf("batches: %lld (%d failing), rounds: %d, rows in B: %lld\n", static_cast<long long>(batches.size()),
                directErrors, o.rounds, runnerRows);
    std::printf("%-26s %9s %11s %9s %11s\n", "", "wall s", "batches/s", "cpu s", "batches/s");
    std::printf("%-26s %9.3f %11.0f %9.3f %11.0f\n", "direct (data layer)", d, n / d, dc, n / dc);
    std::printf("%-26s %9.3f %11.0f %9.3f %11.0f\n", "DoScriptFromfile + board", r, n / r, rc, n / rc);
    std::printf("%-26s %9.3f %11.0f %9.3f %11.0f\n", "board alone (same rows)", median(board), n / median(board),
                median(boardCpu), n / median(boardCpu));
    std::printf("runner and board add: %.1f%% wall, %.1f%% cpu (goal: at most 15%%, 2,000 batches/s or more)\n",
                (r / d - 1) * 100, (rc / dc - 1) * 100);
    return 0;
}
