// bvgen: seeded test data of the transfer.
//   bvgen file OUT [--rows N] [--columns C] [--animals M] [--unknown-share X] [--seed S]
//   bvgen animals-csv OUT [--animals M]
//   bvgen farm --server S [--database D] [--animals M] [--upgraded]
#include "tests/fixtures/bvdata.h"
#include "tests/fixtures/farmbuilder.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <exception>

namespace {

const char* const kUsage =
    "usage: bvgen file OUT [--rows N] [--columns C] [--animals M] [--unknown-share X] [--seed S]\n"
    "       bvgen animals-csv OUT [--animals M]\n"
    "       bvgen farm --server S [--database D] [--animals M] [--upgraded]\n"
    "       bvgen --help\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QString out;
    if (command != QLatin1String("farm")) {
        if (args.isEmpty())
            return usage();
        out = args.takeFirst();
    }
    bvdata::FileRecipe file;
    bvdata::FarmRecipe farm;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& option = args.at(i);
        if (option == QLatin1String("--upgraded")) {
            farm.upgradedBv = true;
            continue;
        }
        if (i + 1 >= args.size())
            return usage();
        const QString value = args.at(++i);
        if (option == QLatin1String("--rows"))
            file.rows = value.toLongLong();
        else if (option == QLatin1String("--columns"))
            file.columns = value.toInt();
        else if (option == QLatin1String("--animals"))
            file.animals = farm.animals = value.toLongLong();
        else if (option == QLatin1String("--unknown-share"))
            file.unknownShare = value.toDouble();
        else if (option == QLatin1String("--seed"))
            file.seed = value.toULongLong();
        else if (option == QLatin1String("--server"))
            farm.server = value;
        else if (option == QLatin1String("--database"))
            farm.database = value;
        else
            return usage();
    }
    try {
        if (command == QLatin1String("file"))
            bvdata::writeBreedingFile(out, file);
        else if (command == QLatin1String("animals-csv"))
            bvdata::writeAnimalsCsv(out, farm.animals);
        else if (command == QLatin1String("farm") && !farm.server.isEmpty())
            bvdata::createFarm(farm);
        else
            return usage();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bvgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
