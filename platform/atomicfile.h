#pragma once
// Replacing a file so that a reader, or a process killed half-way, sees either the old
// file or the new one and never a torn one: the bytes go to a temporary file in the
// same folder, are flushed to disk, and the temporary file is renamed over the target.
#include <QByteArray>
#include <QString>
#include <functional>

namespace plat {

// Writes bytes as the whole new content of path (its folder must exist). On failure
// answers false, leaves the target as it was, removes the temporary file and puts the
// system's reason into *error when given.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Called with the temporary file's name once the first half of the bytes is written
// (tests stop or kill the process there). Empty: none. Process-wide.
void setAtomicWriteHook(std::function<void(const QString& tempName)> hook);

}  // namespace plat
