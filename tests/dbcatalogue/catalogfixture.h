#pragma once
// A toolkit connected to a farm database that holds an empty SqlCommands table.
#include "dataaccess/sqlerror.h"
#include "tests/toolkit_sql/sqlfixture.h"

class CatalogueFixture : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE SqlCommands (ID int IDENTITY PRIMARY KEY, Sec nvarchar(30), "
                           "Titr nvarchar(100), Seq int, SDate nvarchar(10), SqlCmd ntext)"));
    }

    // A row written by someone else, straight into the server's table.
    void addRow(const QString& sec, const QString& titr, const QString& text, const QString& date = QStringLiteral("1390/01/01")) {
        m_conn.session().execute(QStringLiteral("INSERT INTO SqlCommands (Sec, Titr, Seq, SDate, SqlCmd) VALUES (?, ?, 5, ?, ?)"),
                                 {sec, titr, date, text});
    }

    // The server's rows as "ID|Sec|Titr|Seq|SDate|SqlCmd", in ID order.
    QStringList serverRows() {
        da::Query q(&m_conn);
        q.setSql(QStringLiteral("SELECT ID, Sec, Titr, Seq, SDate, SqlCmd FROM SqlCommands ORDER BY ID"));
        q.open();
        QStringList rows;
        for (; !q.eof(); q.next()) {
            QStringList cells;
            for (int i = 0; i < q.fieldCount(); ++i)
                cells << q.field(i).asString();
            rows << cells.join(u'|');
        }
        return rows;
    }
};
