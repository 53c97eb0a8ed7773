// Values a column stores as SQL Server stores them, or refuses with SQL Server's error:
// integer types within their range with the fraction cut, bit as 0 or 1, float finite,
// text within its declared length.
#include "embeddedserver.h"

namespace da::testing {
namespace {

class ValueLimits : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE L (I int, S smallint, T tinyint, B bit, G bigint, F float, R real, "
                           "N nvarchar(5))"));
    }
    // What the column holds after the statement on a table of the seed's rows, or the
    // error's number.
    QString stored(const QString& statement, const QString& column, const QString& seed = {}) {
        run(QStringLiteral("DELETE FROM L"));
        if (!seed.isEmpty()) run(seed);
        try {
            run(statement);
        } catch (const SqlError& e) {
            return QStringLiteral("error %1").arg(e.nativeError());
        }
        const QVariant v = scalar(QStringLiteral("SELECT %1 FROM L").arg(column));
        return v.isNull() ? QStringLiteral("NULL") : v.toString();
    }
};

TEST_F(ValueLimits, EachTypeAtItsBoundsAndOnePast) {
    struct Case {
        const char* column;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"I", "2147483647", "2147483647"},
        {"I", "-2147483648", "-2147483648"},
        {"I", "2147483648", "error 8115"},
        {"I", "-2147483649", "error 8115"},
        {"I", "1E20", "error 8115"},
        {"I", "12.7", "12"},
        {"I", "-12.7", "-12"},
        {"I", "'12.7'", "error 245"},
        {"I", "' 12 '", "12"},
        {"I", "'x'", "error 245"},
        {"S", "32767", "32767"},
        {"S", "-32768", "-32768"},
        {"S", "32768", "error 8115"},
        {"S", "-32769", "error 8115"},
        {"T", "255", "255"},
        {"T", "0", "0"},
        {"T", "256", "error 8115"},
        {"T", "300", "error 8115"},
        {"T", "-1", "error 8115"},
        {"T", "255.9", "255"},
        {"B", "0", "0"},
        {"B", "1", "1"},
        {"B", "7", "1"},
        {"B", "0.5", "1"},
        {"B", "'x'", "error 245"},
        {"G", "9223372036854775807", "9223372036854775807"},
        {"G", "-9223372036854775808", "-9223372036854775808"},
        {"G", "9.3E18", "error 8115"},
        {"F", "1.5", "1.5"},
        {"F", "1e308", "1e+308"},
        {"F", "1e308 * 10", "error 8115"},
        {"F", "-1e308 * 10", "error 8115"},
        {"F", "'1e400'", "error 8115"},
        {"F", "'abc'", "error 8114"},
        {"F", "'2.5'", "2.5"},
        {"R", "1e38", "1e+38"},
        {"R", "1e39", "error 8115"},
        {"N", "'abcde'", "abcde"},
        {"N", "'abcdef'", "error 8152"},
        {"N", "'abc     '", "abc  "},  // blanks beyond the length are dropped
        {"N", "'abcde f'", "error 8152"},
        {"N", "N'\u0634\u0634\u0634\u0634\u0634'", "\u0634\u0634\u0634\u0634\u0634"},
        {"N", "N'\u0634\u0634\u0634\u0634\u0634\u0634'", "error 8152"},
        {"N", "NULL", "NULL"},
    };
    for (const Case& c : cases) {
        const QString column = QString::fromLatin1(c.column);
        const QString value = QString::fromUtf8(c.value);
        const QString expected = QString::fromUtf8(c.expected);
        // The three ways a value gets into a column.
        EXPECT_EQ(stored(QStringLiteral("INSERT INTO L (%1) VALUES (%2)").arg(column, value), column), expected)
            << "VALUES " << c.column << " " << c.value;
        EXPECT_EQ(stored(QStringLiteral("INSERT INTO L (%1) SELECT %2").arg(column, value), column), expected)
            << "SELECT " << c.column << " " << c.value;
        EXPECT_EQ(stored(QStringLiteral("UPDATE L SET %1 = %2 WHERE I = 1").arg(column, value), column,
                         QStringLiteral("INSERT INTO L (I) VALUES (1)")),
                  expected)
            << "UPDATE " << c.column << " " << c.value;
    }
}

TEST_F(ValueLimits, ErrorsAreWordedAsSqlServerWordsThem) {
    EXPECT_EQ(errorOf(QStringLiteral("INSERT INTO L (T) VALUES (300)")),
              QStringLiteral("Arithmetic overflow error converting expression to data type tinyint."));
    EXPECT_EQ(errorOf(QStringLiteral("INSERT INTO L (I) VALUES ('12.7')")),
              QStringLiteral("Conversion failed when converting the nvarchar value '12.7' to data type int."));
    EXPECT_EQ(errorOf(QStringLiteral("INSERT INTO L (N) VALUES ('abcdef')")),
              QStringLiteral("String or binary data would be truncated."));
}

// A copy from columns of wider types checks each value; one beyond its target fails the
// whole statement, and the rows before it stay out.
TEST_F(ValueLimits, CopyFromWiderColumnsChecksEveryRow) {
    run(QStringLiteral("CREATE TABLE W (K int, G bigint, F float, N nvarchar(50), Tx nvarchar(10))"));
    run(QStringLiteral("INSERT INTO W VALUES (1, 5, 12.7, 'abc', '7'), (2, 6, 3.2, 'de', '8')"));
    run(QStringLiteral("INSERT INTO L (I, S, N, T) SELECT W.G, W.F, W.N, W.Tx FROM W"));
    EXPECT_EQ(values(QStringLiteral("SELECT I, S, N, T FROM L ORDER BY I")),
              (QStringList{QStringLiteral("5|12|abc|7"), QStringLiteral("6|3|de|8")}));
    run(QStringLiteral("DELETE FROM L"));
    struct Case {
        const char* name;
        const char* row;
        const char* copy;
    };
    const Case cases[] = {
        {"bigint into int", "(3, 2147483648, 0, 'x', '1')", "INSERT INTO L (I) SELECT W.G FROM W"},
        {"float into smallint", "(3, 0, 40000.5, 'x', '1')", "INSERT INTO L (S) SELECT W.F FROM W"},
        {"long text into nvarchar(5)", "(3, 0, 0, 'abcdefgh', '1')", "INSERT INTO L (N) SELECT W.N FROM W"},
        {"text into tinyint", "(3, 0, 0, 'x', '256')", "INSERT INTO L (T) SELECT W.Tx FROM W"},
    };
    for (const Case& c : cases) {
        run(QStringLiteral("INSERT INTO W VALUES ") + QLatin1String(c.row));
        EXPECT_NE(errorOf(QLatin1String(c.copy)), QStringLiteral("no error")) << c.name;
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM L")).toInt(), 0) << c.name;
        run(QStringLiteral("DELETE FROM W WHERE K = 3"));
    }
}

TEST_F(ValueLimits, TableHoldsAtMostTheColumnsSqlServerAllows) {
    auto columns = [](int n) {
        QStringList list;
        for (int i = 1; i <= n; ++i) list << QStringLiteral("C%1 int").arg(i);
        return list.join(QLatin1String(", "));
    };
    run(QStringLiteral("CREATE TABLE Wide (%1)").arg(columns(1024)));
    const QString error = errorOf(QStringLiteral("CREATE TABLE Wider (%1)").arg(columns(1025)));
    EXPECT_TRUE(error.contains(QStringLiteral("exceeds the maximum of 1024 columns"))) << error.toStdString();
    EXPECT_NE(errorOf(QStringLiteral("ALTER TABLE Wide ADD C1025 int")), QStringLiteral("no error"));
}

}  // namespace
}  // namespace da::testing
