#pragma once
// The staging table filled from this computer, for a file that the server cannot read:
// the file is read here by the text driver's rules and its rows are sent to the server.
#include <QString>

namespace da {
class Connection;
}

namespace transfer {

// Whether dir/fileName (its name matched as the server's driver matches it) is a file
// that this computer can open.
bool readableHere(const QString& dir, const QString& fileName);

// Creates the table on the connection with the columns and types the server's text
// driver would give it and sends every row of the file, all in one transaction: a
// failure anywhere leaves no table behind. Answers the rows sent. Throws da::SqlError
// (the file's fault or the server's).
long long fillStagingHere(da::Connection& connection, const QString& dir, const QString& fileName,
                          const QString& table = QStringLiteral("BVTemp"));

}  // namespace transfer
