#include "breedingfile.h"

#include <QFile>
#include <cstdio>
#include <memory>
#include <random>
#include <stdexcept>

namespace bench {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

QString registrationNumber(std::int64_t cow) { return QString::number(9800000000LL + cow * 5); }

std::int64_t writeBreedingFile(const QString& path, std::int64_t rows, std::uint64_t seed) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(QFile::encodeName(path).constData(), "wb"));
    if (!f)
        throw std::runtime_error("cannot create " + path.toStdString());
    std::setvbuf(f.get(), nullptr, _IOFBF, 1 << 20);
    std::fputs("RegNo,HerdCode,BvMilk,BvFat,BvFatPercent,RankTotalMilk,RankTotalFat,RankHerdMilk,RankHerdFat,"
               "PeriodCount,BvPro,BvProPercent,RankTotalPro,RankHerdPro,MilkME_Avg,FatME_Avg,FatPerME_Avg,"
               "ProME_Avg,ProPerME_Avg,CalveDistance_Avg,BirthDate,SireRegNo\r\n",
               f.get());
    std::mt19937_64 rng(seed);
    auto uniform = [&rng](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<std::uint64_t>(hi - lo + 1)); };
    auto tenths = [&](int lo, int hi) { return uniform(lo, hi) / 10.0; };
    auto hundredths = [&](int lo, int hi) { return uniform(lo, hi) / 100.0; };
    char periods[4], bvProPercent[16], calve[16];
    for (std::int64_t cow = 0; cow < rows; ++cow) {
        const int prefixDraw = uniform(0, 99);
        const char* prefix = prefixDraw < 90 ? "h" : prefixDraw < 93 ? "H" : "";
        std::snprintf(periods, sizeof periods, uniform(0, 19) == 0 ? "" : "%d", uniform(1, 9));
        std::snprintf(bvProPercent, sizeof bvProPercent, uniform(0, 99) == 0 ? "" : "%.2f", hundredths(-30, 30));
        std::snprintf(calve, sizeof calve, uniform(0, 32) == 0 ? "" : "%.1f", tenths(3300, 4800));
        std::fprintf(f.get(),
                     "%s%lld,%d,%.1f,%.2f,%.2f,%d,%d,%d,%d,%s,%.2f,%s,%d,%d,%.1f,%.1f,%.2f,%.1f,%.2f,%s,"
                     "13%02d/%02d/%02d,IRN%012d\r\n",
                     prefix, 9800000000LL + cow * 5, uniform(10000, 99999), tenths(-15000, 15000), hundredths(-4000, 4000),
                     hundredths(-30, 30), uniform(1, 999999), uniform(1, 999999), uniform(1, 999), uniform(1, 999), periods,
                     hundredths(-3000, 3000), bvProPercent, uniform(1, 999999), uniform(1, 999), tenths(60000, 140000),
                     tenths(1500, 4500), hundredths(250, 450), tenths(1500, 4000), hundredths(250, 380), calve,
                     uniform(85, 99), uniform(1, 12), uniform(1, 29), uniform(1, 99999999));
    }
    if (std::fflush(f.get()) != 0)
        throw std::runtime_error("cannot write " + path.toStdString());
    return static_cast<std::int64_t>(std::ftell(f.get()));
}

}  // namespace bench
