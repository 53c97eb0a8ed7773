#pragma once
// The folders an embedded server's machine can read files from. A server folder may
// list them in readable-folders.txt, one absolute folder a line (blank lines and lines
// starting with # aside), so that OPENROWSET sees only what a SQL Server on another
// computer would see; without that file every folder is readable.
#include <QString>
#include <QStringList>
#include <optional>

namespace da::embedded {

class ReadableFolders {
public:
    static constexpr const char* kFileName = "readable-folders.txt";

    // Reads the list of the server folder. Throws SqlError naming the list when it
    // cannot be read or a line is not an absolute folder.
    static ReadableFolders ofServer(const QString& serverDir);
    // Reads a list in the file's format; source names it in errors.
    static ReadableFolders parse(const QByteArray& text, const QString& source);

    // Whether the existing file at path lies inside a listed folder, with symbolic links
    // resolved and ".." removed on both sides.
    bool allows(const QString& path) const;

private:
    std::optional<QStringList> m_folders;  // canonical; none: unconfined
};

}  // namespace da::embedded
