#pragma once
// Shell links (.lnk files) in the binary format Windows' shell link object saves: a
// 76-byte header, the link information with the target as a local path (in the ANSI
// code page and in UTF-16), the working directory and the arguments as UTF-16 strings,
// and the terminal block. No item-id list, description, icon or hotkey: the shell
// resolves the local path when the link is used.
#include <QByteArray>
#include <QString>

namespace plat {

struct ShellLink {
    QString target;            // the local path the link points at
    QString arguments;         // empty: none stored
    QString workingDirectory;  // empty: none stored
    quint32 showCommand = 1;   // 1 normal, 2 minimised, 3 maximised, 7 minimised inactive
};

// The link's bytes; empty when a text is too long for the format (65535 UTF-16 units
// for the strings, a path whose link information would pass 64 KiB).
QByteArray encodeShellLink(const ShellLink& link);

// Writes the link to fileName (atomically); false when it cannot be encoded or written.
bool saveShellLink(const ShellLink& link, const QString& fileName);

}  // namespace plat
