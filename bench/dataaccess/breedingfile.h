#pragma once
// A generated breeding centre's file for the benchmarks: the 19 columns the transfer
// uses and three more, comma-delimited with a header line and CR LF line ends.
#include <QString>
#include <cstdint>

namespace bench {

inline constexpr int kBreedingColumns = 22;

// Cow k's registration number as the farm's Main table keeps it (digits only).
QString registrationNumber(std::int64_t cow);

// Writes rows cows; about nine in ten registration numbers carry the centre's "h",
// a few a capital "H", and some values are empty. The same seed gives the same file.
// Returns the file's size in bytes. Throws std::runtime_error when it cannot be written.
std::int64_t writeBreedingFile(const QString& path, std::int64_t rows, std::uint64_t seed);

}  // namespace bench
