#pragma once
// An in-memory database and a scratch folder for the text driver's tests.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

struct sqlite3;

class TextDriverFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void write(const QString& name, const QByteArray& bytes) const;
    // Fills BVTemp from the file inside a transaction of its own and commits.
    void fill(const QString& fileName = QStringLiteral("bv.txt"));
    // The message of the error that filling raises; empty when it succeeds.
    QString fillError(const QString& fileName = QStringLiteral("bv.txt"));
    // "name type" of each column of BVTemp, the type in lower case.
    QStringList columns() const;
    // Every row of BVTemp, each value as "INT:5", "REAL:1.5", "TEXT:abc" or "NULL".
    std::vector<QStringList> rows(const QString& table = QStringLiteral("BVTemp")) const;
    void exec(const char* sql) const;

    QTemporaryDir m_dir;
    sqlite3* m_db = nullptr;
};
