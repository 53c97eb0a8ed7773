#include "bvdata.h"

#include <QFile>
#include <random>
#include <stdexcept>

namespace bvdata {
namespace {

const char* const kNamed[] = {"BvMilk",       "BvFat",        "BvFatPercent", "RankTotalMilk", "RankTotalFat",
                              "RankHerdMilk", "RankHerdFat",  "PeriodCount",  "BvPro",         "BvProPercent",
                              "RankTotalPro", "RankHerdPro",  "MilkME_Avg",   "FatME_Avg",     "FatPerME_Avg",
                              "ProME_Avg",    "ProPerME_Avg", "CalveDistance_Avg"};

// Appends a number with two decimals (value in hundredths) without locale or allocation.
void appendFixed2(QByteArray& out, long long hundredths) {
    if (hundredths < 0) {
        out += '-';
        hundredths = -hundredths;
    }
    out += QByteArray::number(hundredths / 100);
    out += '.';
    const long long rest = hundredths % 100;
    out += char('0' + rest / 10);
    out += char('0' + rest % 10);
}

}  // namespace

QString registrationNumber(long long serial) { return QString::number(1400000000LL + serial * 37); }

QStringList fileColumns(int columns) {
    QStringList names{QStringLiteral("RegNo")};
    const int fillers = std::max(0, columns - 19);
    // Fillers sit after RegNo and at the end, so that the statements must go by name.
    const int early = fillers / 2;
    for (int i = 1; i <= early; ++i)
        names << QStringLiteral("Extra%1").arg(i);
    for (const char* name : kNamed)
        names << QString::fromLatin1(name);
    for (int i = early + 1; i <= fillers; ++i)
        names << QStringLiteral("Extra%1").arg(i);
    return names;
}

long long writeBreedingFile(const QString& path, const FileRecipe& recipe) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    const QStringList columns = fileColumns(recipe.columns);
    std::mt19937_64 random(recipe.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<long long> animal(1, std::max<long long>(1, recipe.animals));

    QByteArray out = columns.join(QLatin1Char(',')).toLatin1() + "\r\n";
    for (long long row = 0; row < recipe.rows; ++row) {
        const bool unknown = unit(random) < recipe.unknownShare;
        const long long serial = unknown ? recipe.animals + 1 + row : animal(random);
        const double prefix = unit(random);
        // The first row is always prefixed so that the driver sees a text column.
        if (row == 0 || prefix < 0.90)
            out += 'h';
        else if (prefix < 0.92)
            out += 'H';
        out += registrationNumber(serial).toLatin1();
        for (qsizetype c = 1; c < columns.size(); ++c) {
            out += ',';
            const QString& name = columns.at(c);
            if (name.startsWith(QLatin1String("Extra"))) {
                out += "X" + QByteArray::number(static_cast<long long>(random() % 100000));
                continue;
            }
            if (unit(random) < recipe.emptyShare)
                continue;
            if (name.startsWith(QLatin1String("Rank")) || name == QLatin1String("PeriodCount"))
                out += QByteArray::number(static_cast<long long>(random() % 5000) + 1);
            else
                appendFixed2(out, static_cast<long long>(random() % 200000) - 50000);
        }
        out += "\r\n";
        if (out.size() > (1 << 20)) {
            file.write(out);
            out.clear();
        }
    }
    if (file.write(out) != out.size() || !file.flush())
        throw std::runtime_error("cannot write " + path.toStdString());
    return recipe.rows;
}

void writeAnimalsCsv(const QString& path, long long animals) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    QByteArray out = "Serial,Sabt,Name,BirthDate\r\n";
    for (long long serial = 1; serial <= animals; ++serial) {
        out += QByteArray::number(serial) + ',' + registrationNumber(serial).toLatin1() + ",Cow " +
               QByteArray::number(serial) + ",1398/0" + QByteArray::number(1 + serial % 9) + "/1" +
               QByteArray::number(serial % 10) + "\r\n";
        if (out.size() > (1 << 20)) {
            file.write(out);
            out.clear();
        }
    }
    if (file.write(out) != out.size() || !file.flush())
        throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace bvdata
