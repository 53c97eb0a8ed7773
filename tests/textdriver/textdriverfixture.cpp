#include "textdriverfixture.h"

#include "dataaccess/embedded/textdriver/textdriver.h"
#include "dataaccess/sqlerror.h"

#include <QFile>
#include <sqlite3.h>

void TextDriverFixture::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
}

void TextDriverFixture::TearDown() { sqlite3_close(m_db); }

void TextDriverFixture::write(const QString& name, const QByteArray& bytes) const {
    QFile f(m_dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void TextDriverFixture::exec(const char* sql) const {
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &err);
    EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (err ? err : "");
    sqlite3_free(err);
}

void TextDriverFixture::fill(const QString& fileName) {
    exec("BEGIN");
    try {
        da::embedded::fillTableFromTextFile(m_db, QStringLiteral("BVTemp"), m_dir.path(), fileName);
    } catch (const da::SqlError& e) {
        exec("ROLLBACK");
        FAIL() << e.message().toStdString();
    }
    exec("COMMIT");
}

QString TextDriverFixture::fillError(const QString& fileName) {
    exec("BEGIN");
    try {
        da::embedded::fillTableFromTextFile(m_db, QStringLiteral("BVTemp"), m_dir.path(), fileName);
    } catch (const da::SqlError& e) {
        exec("ROLLBACK");
        return e.message();
    }
    exec("COMMIT");
    return {};
}

QStringList TextDriverFixture::columns() const {
    QStringList out;
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(m_db, "SELECT name, lower(type) FROM pragma_table_info('BVTemp') ORDER BY cid", -1, &s, nullptr), SQLITE_OK);
    while (sqlite3_step(s) == SQLITE_ROW) {
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))) + u' ' +
                   QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
    }
    sqlite3_finalize(s);
    return out;
}

std::vector<QStringList> TextDriverFixture::rows(const QString& table) const {
    std::vector<QStringList> out;
    sqlite3_stmt* s = nullptr;
    const QByteArray sql = "SELECT * FROM \"" + table.toUtf8() + "\" ORDER BY rowid";
    EXPECT_EQ(sqlite3_prepare_v2(m_db, sql.constData(), -1, &s, nullptr), SQLITE_OK) << sqlite3_errmsg(m_db);
    while (sqlite3_step(s) == SQLITE_ROW) {
        QStringList row;
        for (int i = 0; i < sqlite3_column_count(s); ++i) {
            switch (sqlite3_column_type(s, i)) {
            case SQLITE_INTEGER: row << QStringLiteral("INT:%1").arg(sqlite3_column_int64(s, i)); break;
            case SQLITE_FLOAT: row << QStringLiteral("REAL:%1").arg(sqlite3_column_double(s, i), 0, 'g', 15); break;
            case SQLITE_TEXT:
                row << QStringLiteral("TEXT:") + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)));
                break;
            default: row << QStringLiteral("NULL"); break;
            }
        }
        out.push_back(row);
    }
    sqlite3_finalize(s);
    return out;
}
