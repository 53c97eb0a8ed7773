// Conversions per second on text input and output, over every day of 1990..2060
// (both the table arithmetic and the astronomical calendar are exercised).
#include "calendar/calendarconversion.h"

#include <QDate>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

std::vector<QString> gregorianTexts() {
    std::vector<QString> out;
    for (QDate d(1990, 1, 1); d <= QDate(2060, 12, 31); d = d.addDays(1))
        out.push_back(d.toString(QStringLiteral("dd/MM/yyyy")));
    return out;
}

std::vector<QString> solarTexts() {
    std::vector<QString> out;
    for (const QString& g : gregorianTexts())
        out.push_back(cal::toFarsiDate(g).text);
    return out;
}

void BM_ToFarsiDate(benchmark::State& state) {
    const std::vector<QString> inputs = gregorianTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        cal::TextOutcome out = cal::toFarsiDate(inputs[i]);
        benchmark::DoNotOptimize(out);
        if (++i == inputs.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToFarsiDate);

void BM_ToEnglishDate(benchmark::State& state) {
    const std::vector<QString> inputs = solarTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        cal::TextOutcome out = cal::toEnglishDate(inputs[i]);
        benchmark::DoNotOptimize(out);
        if (++i == inputs.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToEnglishDate);

}  // namespace

BENCHMARK_MAIN();
