#pragma once
// Seeded test data of the transfer: the breeding centre's text file and the farm's
// animals. The same seed gives the same bytes; any size.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace bvdata {

struct FileRecipe {
    long long rows = 1000;
    int columns = 22;        // 19 named ones and filler columns; at least 19
    long long animals = 300; // registration numbers are drawn among the farm's animals
    double unknownShare = 0.05;  // rows whose cow the farm does not have
    double emptyShare = 0.01;    // empty numeric values
    std::uint64_t seed = 1;
};

// The registration number of animal serial (1-based), as the farm keeps it in Sabt.
QString registrationNumber(long long serial);

// The header's column names: RegNo first, the named ones, fillers in between.
QStringList fileColumns(int columns);

// Writes the file: comma-separated, a header line, CR LF line ends, UTF-8 without BOM.
// About 90% of registration numbers carry a leading h, a few a capital H, the rest
// none. Answers the number of data rows written. Throws std::runtime_error.
long long writeBreedingFile(const QString& path, const FileRecipe& recipe);

// Writes the farm's animals as CSV (Serial, Sabt, Name, BirthDate) with a header, for
// loading into other engines.
void writeAnimalsCsv(const QString& path, long long animals);

}  // namespace bvdata
