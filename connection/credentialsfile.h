#pragma once
// The files beside the executable that hold connection parameters: the scrambled
// credentials file of a single-customer installation and the remembered catalogue
// connection of a multi-customer one.
#include "dataaccess/backend.h"

#include <QString>

namespace conn {

inline constexpr auto kCredentialsFileName = "WTimes.DLL";
inline constexpr auto kMultiUsersMarkerName = "Multiusers.Dat";
inline constexpr auto kRememberedConnectionName = "MultiConnect.Dat";

// Reads the credentials file as lines (byte-order mark, else the ANSI code page) and
// unscrambles the first four: password, server, database, user. A missing line is an
// empty text, further lines are ignored. Throws std::runtime_error when the file
// cannot be read.
da::ConnectParams readCredentialsFile(const QString& path);

// Writes the credentials file so that readCredentialsFile gives params back: ANSI when
// the scrambled lines fit the code page, else UTF-8 with a byte-order mark; lines end in
// CR LF. A value whose scrambled form would hold a line break cannot be read back; an
// embedded server ("file:DIR") is then written as an equivalent spelling of DIR, any
// other such value raises std::runtime_error, as does a file that cannot be written.
// Anyone who reads the file can unscramble it: it is readable and writable by its owner
// only (also when it existed before with wider permissions), or, with a group named,
// readable by that group's members too; never by others.
void writeCredentialsFile(const QString& path, const da::ConnectParams& params, const QString& group = {});

// Reads the remembered connection: server, database, user, password on lines 1 to 4,
// plain text. Throws std::runtime_error when the file cannot be read or has fewer than
// four lines.
da::ConnectParams readRememberedConnection(const QString& path);

// Writes the remembered connection, replacing the file: four lines, CR LF, ANSI code
// page. The file holds a password in plain text, so it is readable and writable by its
// owner only, also when it existed before with wider permissions. Throws
// std::runtime_error when it cannot be written.
void writeRememberedConnection(const QString& path, const da::ConnectParams& params);

}  // namespace conn
