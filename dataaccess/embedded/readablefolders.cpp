#include "readablefolders.h"

#include "dataaccess/sqlerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace da::embedded {

ReadableFolders ReadableFolders::ofServer(const QString& serverDir) {
    const QString list = QDir(serverDir).filePath(QLatin1String(kFileName));
    QFile file(list);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw SqlError(QStringLiteral("The server cannot read its list of readable folders '%1': %2.").arg(list, file.errorString()));
    return parse(file.readAll(), list);
}

ReadableFolders ReadableFolders::parse(const QByteArray& text, const QString& source) {
    ReadableFolders folders;
    folders.m_folders.emplace();
    // An editor may start the file with a byte order mark.
    const QList<QByteArray> lines = (text.startsWith("\xef\xbb\xbf") ? text.mid(3) : text).split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines[n]).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.contains(QChar(0)) || !QDir::isAbsolutePath(line)) {
            throw SqlError(QStringLiteral("The list of readable folders '%1' names no absolute folder on line %2: '%3'.")
                               .arg(source)
                               .arg(n + 1)
                               .arg(line.left(80)));
        }
        // A folder that does not exist holds nothing to read.
        const QString canonical = QFileInfo(line).canonicalFilePath();
        if (!canonical.isEmpty() && QFileInfo(canonical).isDir())
            folders.m_folders->append(canonical);
    }
    return folders;
}

bool ReadableFolders::allows(const QString& path) const {
    if (!m_folders)
        return true;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    for (const QString& folder : *m_folders) {
        const QString inside = folder.endsWith(u'/') ? folder : folder + u'/';
        if (canonical.startsWith(inside))
            return true;
    }
    return false;
}

}  // namespace da::embedded
