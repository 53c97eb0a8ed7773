#include "clientfill.h"

#include "app/clienttextfile.h"
#include "dataaccess/connection.h"
#include "dataaccess/embedded/textdriver/textdriversource.h"

#include <QFile>
#include <QFileInfo>

namespace transfer {

bool readableHere(const QString& dir, const QString& fileName) {
    if (dir.isEmpty() || fileName.isEmpty() || !QFileInfo(dir).isDir())
        return false;
    const QString path = da::embedded::locateFileIgnoringCase(dir, fileName);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

namespace {

long long send(da::backend::Session& session, ClientTextFile& file, const QString& table) {
    session.beginTransaction();
    long long sent = 0;
    try {
        session.execute(file.createStatement(table));
        da::RowBlock block;
        while (file.nextRows(block)) {
            session.insertRows(table, block);
            sent += static_cast<long long>(block.rows);
        }
        session.commitTransaction();
    } catch (...) {
        try {
            session.rollbackTransaction();
        } catch (const std::exception&) {
            // The server ended the transaction itself.
        }
        throw;
    }
    return sent;
}

}  // namespace

long long fillStagingHere(da::Connection& connection, const QString& dir, const QString& fileName, const QString& table) {
    da::backend::Session& session = connection.session();
    // The guessed types first; a file whose later values widen a column is read again,
    // once through for its final types before anything is sent.
    try {
        ClientTextFile guessed(dir, fileName, ClientTextFile::Types::Guessed);
        return send(session, guessed, table);
    } catch (const TypesWiden&) {
    }
    ClientTextFile file(dir, fileName, ClientTextFile::Types::WholeFile);
    return send(session, file, table);
}

}  // namespace transfer
