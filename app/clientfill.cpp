#include "clientfill.h"

#include "app/clienttextfile.h"
#include "dataaccess/connection.h"
#include "dataaccess/embedded/textdriversource.h"

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

long long fillStagingHere(da::Connection& connection, const QString& dir, const QString& fileName, const QString& table) {
    // The first pass checks the whole file before anything reaches the server.
    ClientTextFile file(dir, fileName);
    da::backend::Session& session = connection.session();
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

}  // namespace transfer
