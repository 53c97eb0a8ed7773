#pragma once
// What the toolkit's registry members add on the Linux desktop: the XDG autostart entry
// that makes a start-up program really start at log-in, and the folders that stand in
// for the shell folders the registry does not name.
#include <QString>

namespace desk {

// $XDG_CONFIG_HOME/autostart (~/.config/autostart).
QString autostartFolder();
// The desktop folder of the user's XDG folders (~/Desktop).
QString desktopFolder();

// The autostart entry of a start-up program: "bvtransfer-" and the title, every
// character other than an ASCII letter, digit or '-' written as '_' and its hex code.
QString autostartEntryPath(const QString& title);
// Writes that entry (Type, Name, Exec with the program quoted as needed); false when it
// cannot be written.
bool writeAutostartEntry(const QString& title, const QString& program);

}  // namespace desk
