// The command catalogue with 10,000 entries (100 sections of 100 titles, texts of about
// 200 characters) on the embedded engine: opening the table on a fresh connection, the
// way the first catalogue operation of a run does, and looking entries up by section and
// title in the rows held in memory. Goals: open under 0.5 s, a lookup under 1 ms
// (medians).
//
//   QT_QPA_PLATFORM=offscreen catalogue_bench
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlquote.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kSections = 100;
constexpr int kTitles = 100;

QString sectionName(int s) { return QStringLiteral("Section%1").arg(s); }
QString titleName(int t) { return QStringLiteral("Title number %1").arg(t); }

// The farm database with its catalogue, made once for every benchmark.
struct Farm {
    QTemporaryDir dir;
    QString server;
    RecordingDialogs dialogs;

    Farm() {
        server = QStringLiteral("file:") + dir.path();
        da::Connection c;
        c.setServer(server);
        c.setDatabase(QStringLiteral("master"));
        c.connect();
        c.session().execute(QStringLiteral("CREATE DATABASE Farm"));
        c.disconnect();
        c.setDatabase(QStringLiteral("Farm"));
        c.connect();
        c.session().execute(QStringLiteral("CREATE TABLE SqlCommands (ID int IDENTITY PRIMARY KEY, Sec nvarchar(30), "
                                           "Titr nvarchar(100), Seq int, SDate nvarchar(10), SqlCmd ntext)"));
        const QString text = QStringLiteral("Select Count(*) From Main Where Serial > %1 And Sabt Like '%") +
                             QString(150, u'x') + QStringLiteral("%'\r\n");
        for (int s = 0; s < kSections; ++s) {
            QStringList rows;
            for (int t = 0; t < kTitles; ++t) {
                rows << QStringLiteral("(%1, %2, 0, '1405/09/18', %3)")
                            .arg(da::sqlString(sectionName(s)), da::sqlString(titleName(t)), da::sqlString(text.arg(t)));
            }
            c.session().execute(QStringLiteral("INSERT INTO SqlCommands (Sec, Titr, Seq, SDate, SqlCmd) VALUES ") +
                                rows.join(QStringLiteral(", ")));
        }
    }

    std::unique_ptr<da::Connection> connect() const {
        auto c = std::make_unique<da::Connection>();
        c->setServer(server);
        c->setDatabase(QStringLiteral("Farm"));
        c->connect();
        return c;
    }
};

Farm& farm() {
    static Farm f;
    return f;
}

void openCatalogue(benchmark::State& state) {
    TTools tools(ToolsOptions{&farm().dialogs, farm().dir.path() + u'/', QDate(2026, 12, 9)});
    for (auto _ : state) {
        state.PauseTiming();
        tools.TSqlCommands->close();
        auto connection = farm().connect();
        tools.ServerConnection = connection.get();
        state.ResumeTiming();
        tools.OPenSqlCommands();
        state.PauseTiming();
        if (tools.TSqlCommands->recordCount() != kSections * kTitles)
            state.SkipWithError("the catalogue did not open with every entry");
        tools.TSqlCommands->close();
        state.ResumeTiming();
    }
}

void lookUp(benchmark::State& state) {
    auto connection = farm().connect();
    TTools tools(ToolsOptions{&farm().dialogs, farm().dir.path() + u'/', QDate(2026, 12, 9)});
    tools.ServerConnection = connection.get();
    tools.OPenSqlCommands();
    const bool withText = state.range(0) != 0;
    long long n = 0;
    for (auto _ : state) {
        // Spread over the whole table, so that the median is not that of the first rows.
        const int k = static_cast<int>((n++ * 7919) % (kSections * kTitles));
        const QString sec = sectionName(k / kTitles);
        const QString titr = titleName(k % kTitles);
        if (withText) {
            if (tools.SQlCmdReadOneWriteStringList(sec, titr).isEmpty())
                state.SkipWithError("an entry was not found");
        } else if (!tools.SQlCmdFind(sec, titr)) {
            state.SkipWithError("an entry was not found");
        }
    }
}

BENCHMARK(openCatalogue)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(5)->ReportAggregatesOnly(true);
// 0: SQlCmdFind alone; 1: SQlCmdReadOneWriteStringList, the lookup and the text through
// the hidden memo.
BENCHMARK(lookUp)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
