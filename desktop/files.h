#pragma once
// Files and folders as the toolkit copies and deletes them, and the desktop wallpaper.
#include <QString>
#include <stdexcept>

namespace desk {

// A file operation that failed after it started; the message names the file and gives
// the system's text.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Copies from to to, the source held without sharing: false (nothing done) when it
// cannot be opened, is not a regular file, or another handle of this process or an
// advisory lock (flock, fcntl) holds it. Creating the target (replaced when it exists;
// refused the same way while held) and copying throw FileError; a target left part-way
// is removed.
bool fileCopy(const QString& from, const QString& to);

// Deletes dir and all it holds, permanently, following no symbolic link. True when it is
// gone; false for an empty name, a name that does not exist, the root folder, or a part
// that could not be deleted.
bool delDir(const QString& dir);

// Makes picture the desktop wallpaper where the desktop keeps one in gsettings
// (org.gnome.desktop.background); elsewhere nothing. Reports nothing.
void changeWallpaper(const QString& picture);

}  // namespace desk
