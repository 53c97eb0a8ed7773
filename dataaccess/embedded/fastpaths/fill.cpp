#include "fill.h"

#include "dataaccess/embedded/readablefolders.h"
#include "dataaccess/embedded/textdriver/openrowset.h"
#include "dataaccess/embedded/textdriver/textdriver.h"

namespace da::embedded {

bool readsRowset(const Tokens& t, Span span, int into, int from) {
    if (!(wordAt(t, from, span, "FROM") && wordAt(t, from + 1, span, "OPENROWSET"))) return false;
    const Span list{span.begin + 1, into};
    if (!(list.end - list.begin == 1 && t[static_cast<size_t>(list.begin)].isSymbol("*"))) {
        notSupported(QStringLiteral("A column list with OPENROWSET"));
    }
    return true;
}

long long fillFromRowset(sqlite3* db, const QString& serverDir, const QString& target, const Tokens& t, int openrowset,
                         Span span) {
    const RowsetSource source = readOpenRowset(t, openrowset, span);
    // Read afresh for each fill, so that a changed list holds at once.
    const ReadableFolders readable = ReadableFolders::ofServer(serverDir);
    return fillTableFromTextFile(db, target, source.dir, source.file,
                                 [&readable](const QString& path) { return readable.allows(path); });
}

}  // namespace da::embedded
