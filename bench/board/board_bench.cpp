// Posts 10,000 rows of 100 characters to a visible message board, the way a long
// operation reports its progress. Each post turns the event loop once, so the figure
// includes the board's repaints. Goal: 10,000 rows in under 2 seconds.
//
//   QT_QPA_PLATFORM=offscreen board_bench
#include "toolkit/messageboardform.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 10000;

void postRows(benchmark::State& state) {
    TMessageBoardForm board;
    board.show();
    const QString value = QString(60, u'x') + u' ' + QString(39, u'y');  // 100 characters
    int turns = 0;
    for (auto _ : state) {
        board.StartRecording(true, QStringLiteral("Bench"));
        for (int i = 0; i < kRows; ++i) {
            // A zero-delay timer per row counts the event loop's turns.
            QTimer::singleShot(0, [&turns] { ++turns; });
            board.PostThisMessage(QString::number(i), value);
        }
        board.StopRecording();
    }
    if (turns != kRows * static_cast<int>(state.iterations()))
        state.SkipWithError("the event loop did not turn once per row");
    state.counters["rows_per_second"] = benchmark::Counter(double(kRows) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["board_rows"] = board.rowCount();
}

BENCHMARK(postRows)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
