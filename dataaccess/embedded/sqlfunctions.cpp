#include "sqlfunctions.h"

#include "dataaccess/sqlerror.h"
#include "fastpaths/keyedtable.h"
#include "textcollation.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include "preparedstatement.h"
#include <sqlite3.h>

namespace da::embedded {

namespace {

QString textArg(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(p, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), static_cast<int>(u.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const QString& message) {
    const QByteArray u = message.toUtf8();
    sqlite3_result_error(ctx, u.constData(), static_cast<int>(u.size()));
}

const char* numericTypeName(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_INTEGER ? "int" : "float";
}

bool isNumber(sqlite3_value* v) {
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

int collateCi(void*, int la, const void* a, int lb, const void* b) {
    return compareUtf8(static_cast<const char*>(a), la, static_cast<const char*>(b), lb, Folding::CaseInsensitive);
}

int collateCiAi(void*, int la, const void* a, int lb, const void* b) {
    return compareUtf8(static_cast<const char*>(a), la, static_cast<const char*>(b), lb,
                       Folding::CaseAccentInsensitive);
}

// SUBSTRING(expression, start, length): characters start .. start+length-1 that lie
// within the text; a start before 1 shortens the result.
void fnSubstring(sqlite3_context* ctx, int, sqlite3_value** argv) {
    for (int i = 0; i < 3; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    if (isNumber(argv[0])) {
        resultError(ctx, QStringLiteral("Argument data type %1 is invalid for argument 1 of substring function.")
                             .arg(QLatin1String(numericTypeName(argv[0]))));
        return;
    }
    const long long start = sqlite3_value_int64(argv[1]);
    const long long length = sqlite3_value_int64(argv[2]);
    if (length < 0) {
        resultError(ctx, QStringLiteral("Invalid length parameter passed to the substring function."));
        return;
    }
    const long long from = std::max<long long>(start, 1);
    const long long to = start + length;  // exclusive
    if (sqlite3_value_type(argv[0]) == SQLITE_BLOB) {
        const auto* p = static_cast<const char*>(sqlite3_value_blob(argv[0]));
        const long long n = sqlite3_value_bytes(argv[0]);
        const long long end = std::min(to, n + 1);
        if (end <= from) {
            sqlite3_result_blob(ctx, "", 0, SQLITE_TRANSIENT);
        } else {
            sqlite3_result_blob(ctx, p + from - 1, static_cast<int>(end - from), SQLITE_TRANSIENT);
        }
        return;
    }
    // Positions count UTF-16 code units, as nvarchar does; the text is cut on the
    // UTF-8 bytes without decoding it.
    const auto* p = reinterpret_cast<const unsigned char*>(sqlite3_value_text(argv[0]));
    const int bytes = sqlite3_value_bytes(argv[0]);
    long long unit = 1;  // position of the character at byte b
    int startByte = bytes;
    int endByte = bytes;
    for (int b = 0; b < bytes;) {
        if (unit >= from && startByte == bytes) startByte = b;
        if (unit >= to) {
            endByte = b;
            break;
        }
        const unsigned char c = p[b];
        const int width = c < 0x80 ? 1 : (c < 0xE0 ? 2 : (c < 0xF0 ? 3 : 4));
        unit += width == 4 ? 2 : 1;
        b += width;
    }
    if (startByte >= endByte) {
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
    } else {
        sqlite3_result_text(ctx, reinterpret_cast<const char*>(p) + startByte, endByte - startByte, SQLITE_TRANSIENT);
    }
}

// LEN: characters without the trailing blanks.
void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QString s = textArg(argv[0]);
    int n = s.size();
    while (n > 0 && s[n - 1] == u' ') --n;
    sqlite3_result_int(ctx, n);
}

void fnUpper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toUpper());
}

void fnLower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).toLower());
}

void fnGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    resultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
}

void fnVersion(sqlite3_context* ctx, int, sqlite3_value**) { resultText(ctx, versionBanner()); }

// T-SQL's +: texts are joined, numbers added; a text beside a number must read as a
// number, as SQL Server converts it to the number's type.
void fnPlus(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) return sqlite3_result_null(ctx);
    const bool textA = ta == SQLITE_TEXT || ta == SQLITE_BLOB;
    const bool textB = tb == SQLITE_TEXT || tb == SQLITE_BLOB;
    if (textA && textB) return resultText(ctx, textArg(argv[0]) + textArg(argv[1]));
    auto number = [&](sqlite3_value* v, int type, const char* other, double& out) {
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
            out = sqlite3_value_double(v);
            return true;
        }
        bool ok = false;
        out = textArg(v).trimmed().toDouble(&ok);
        if (!ok) {
            if (QLatin1String(other) == QLatin1String("int")) {
                resultError(ctx, QStringLiteral("Conversion failed when converting the nvarchar value '%1' to data "
                                                "type int.")
                                     .arg(textArg(v)));
            } else {
                resultError(ctx, QStringLiteral("Error converting data type nvarchar to float."));
            }
        }
        return ok;
    };
    const char* kind = (ta == SQLITE_FLOAT || tb == SQLITE_FLOAT) ? "float" : "int";
    double a = 0;
    double b = 0;
    if (!number(argv[0], ta, kind, a) || !number(argv[1], tb, kind, b)) return;
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
        return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]) + sqlite3_value_int64(argv[1]));
    }
    if (QLatin1String(kind) == QLatin1String("int") && a == std::floor(a) && b == std::floor(b)) {
        return sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(a + b));
    }
    sqlite3_result_double(ctx, a + b);
}

// COLLATE applies to text only.
void fnCollatable(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const QString error = collateError(argv[0]);
    if (!error.isEmpty()) {
        resultError(ctx, error);
        return;
    }
    sqlite3_result_value(ctx, argv[0]);
}

// The value check of a numeric column: the value as stored (after the column's type
// affinity) must be a number; text that did not convert is SQL Server's conversion
// error.
void fnConvertible(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_NULL || t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    const QString type = textArg(argv[1]);
    const bool integral = type == QLatin1String("int") || type == QLatin1String("bigint") ||
                          type == QLatin1String("smallint") || type == QLatin1String("tinyint") ||
                          type == QLatin1String("bit");
    if (!integral) {
        resultError(ctx, QStringLiteral("Error converting data type nvarchar to %1.").arg(type));
    } else {
        resultError(ctx, QStringLiteral("Conversion failed when converting the nvarchar value '%1' to data type %2.")
                             .arg(textArg(argv[0]), type));
    }
}

// tsql_store(value, type, length): the value as a column of the type stores it, with
// SQL Server's limits. Integer types truncate a number's fraction and refuse what lies
// beyond their range; bit takes 0 or 1; float refuses overflow and infinity; text
// longer than the column's length (-1: none) fails instead of being cut.
struct IntegerRange {
    const char* type;
    double low;
    double high;
};
constexpr IntegerRange kIntegerRanges[] = {
    {"bigint", -9223372036854775808.0, 9223372036854775807.0},
    {"int", -2147483648.0, 2147483647.0},
    {"smallint", -32768.0, 32767.0},
    {"tinyint", 0.0, 255.0},
};

void overflow(sqlite3_context* ctx, const QString& type) {
    resultError(ctx, QStringLiteral("Arithmetic overflow error converting expression to data type %1.").arg(type));
}

// Text that reads as an integer: blanks around, an optional sign, digits.
bool readInteger(const QString& text, double& out) {
    const QString t = text.trimmed();
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    if (!integer.match(t).hasMatch()) return false;
    out = t.toDouble();
    return true;
}

void fnStore(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    const int t = sqlite3_value_type(v);
    if (t == SQLITE_NULL) return sqlite3_result_null(ctx);
    const auto* typeText = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const QLatin1String type(typeText ? typeText : "");
    const bool text = t == SQLITE_TEXT || t == SQLITE_BLOB;
    if (type == QLatin1String("text")) {
        const long long length = sqlite3_value_int64(argv[2]);
        if (length >= 0 && text) {
            // Characters count in UTF-16 units, as nvarchar does; the bytes bound them.
            const int bytes = sqlite3_value_bytes(v);
            if (bytes > length) {
                const QString s = textArg(v);
                if (s.size() > length) {
                    // Blanks beyond the length are dropped; anything else would be lost.
                    for (qsizetype k = length; k < s.size(); ++k) {
                        if (s[k] != u' ') return resultError(ctx, QStringLiteral("String or binary data would be truncated."));
                    }
                    return resultText(ctx, s.left(length));
                }
            }
        } else if (length >= 0) {
            const QByteArray shown = QByteArray(reinterpret_cast<const char*>(sqlite3_value_text(v)));
            if (shown.size() > length) return resultError(ctx, QStringLiteral("String or binary data would be truncated."));
        }
        return sqlite3_result_value(ctx, v);
    }
    if (type == QLatin1String("float") || type == QLatin1String("real")) {
        double d = 0;
        if (text) {
            bool ok = false;
            d = textArg(v).trimmed().toDouble(&ok);
            if (!ok && !std::isinf(d)) return resultError(ctx, QStringLiteral("Error converting data type nvarchar to float."));
        } else {
            d = sqlite3_value_double(v);
            if (t == SQLITE_INTEGER) return sqlite3_result_value(ctx, v);
        }
        if (!std::isfinite(d) || (type == QLatin1String("real") && std::fabs(d) > 3.40282346638528859812e38)) {
            return overflow(ctx, QString(type));
        }
        return sqlite3_result_double(ctx, d);
    }
    const bool bit = type == QLatin1String("bit");
    const IntegerRange* range = nullptr;
    for (const IntegerRange& r : kIntegerRanges) {
        if (type == QLatin1String(r.type)) range = &r;
    }
    if (!bit && !range) return sqlite3_result_value(ctx, v);
    if (t == SQLITE_INTEGER) {
        const sqlite3_int64 n = sqlite3_value_int64(v);
        if (bit) return sqlite3_result_int(ctx, n != 0);
        if (static_cast<double>(n) < range->low || static_cast<double>(n) > range->high) return overflow(ctx, QString(type));
        return sqlite3_result_int64(ctx, n);
    }
    double d = 0;
    if (text) {
        const QString s = textArg(v);
        if (bit && (s.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                    s.trimmed().compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)) {
            return sqlite3_result_int(ctx, s.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
        }
        if (!readInteger(s, d)) {
            return resultError(ctx, QStringLiteral("Conversion failed when converting the nvarchar value '%1' to data "
                                                   "type %2.")
                                        .arg(s, QString(type)));
        }
    } else {
        d = sqlite3_value_double(v);
    }
    // Any value other than zero is 1 as a bit; other integer types cut the fraction.
    if (bit) return std::isnan(d) ? overflow(ctx, QString(type)) : sqlite3_result_int(ctx, d != 0);
    d = std::trunc(d);
    // The high bound of bigint is not a double: 2^63 itself is beyond it.
    if (!(d >= range->low && (range->high < 9e18 ? d <= range->high : d < 9223372036854775808.0))) {
        return overflow(ctx, QString(type));
    }
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(d));
}

// OBJECTPROPERTY(id, property): looks the object's type up in this connection's
// sysobjects.
void fnObjectProperty(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        return sqlite3_result_null(ctx);
    }
    sqlite3* db = sqlite3_context_db_handle(ctx);
    const PreparedStatement st = prepareStatement(db, "SELECT xtype FROM sysobjects WHERE id = ?");
    if (!st) return sqlite3_result_null(ctx);
    sqlite3_bind_value(st.get(), 1, argv[0]);
    QString xtype;
    const bool found = sqlite3_step(st.get()) == SQLITE_ROW;
    if (found) xtype = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0))).trimmed().toUpper();
    if (!found) return sqlite3_result_null(ctx);
    const QString prop = textArg(argv[1]).toLower();
    if (prop == QLatin1String("isprocedure")) return sqlite3_result_int(ctx, xtype == QLatin1String("P"));
    if (prop == QLatin1String("isview")) return sqlite3_result_int(ctx, xtype == QLatin1String("V"));
    if (prop == QLatin1String("isusertable") || prop == QLatin1String("istable")) {
        return sqlite3_result_int(ctx, xtype == QLatin1String("U"));
    }
    sqlite3_result_null(ctx);
}

// The bare object name of 'name', 'dbo.name' or '[dbo].[name]'.
void fnObjectName(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    QString s = textArg(argv[0]).trimmed();
    const int dot = s.lastIndexOf(u'.');
    if (dot >= 0) s = s.mid(dot + 1);
    if (s.startsWith(u'[') && s.endsWith(u']')) s = s.mid(1, s.size() - 2);
    resultText(ctx, s);
}

void fnObjectId(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, objectIdOf(textArg(argv[0])));
}

void fnDataType(sqlite3_context* ctx, int, sqlite3_value** argv) { resultText(ctx, dataTypeOf(textArg(argv[0]))); }

void fnMaxLength(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int n = maxLengthOf(textArg(argv[0]));
    if (n == -2) return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, n);
}

struct FunctionDef {
    const char* name;
    int args;
    bool deterministic;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
};

const FunctionDef kFunctions[] = {
    {"tsql_substring", 3, true, fnSubstring},
    {"tsql_len", 1, true, fnLen},
    {"tsql_upper", 1, true, fnUpper},
    {"tsql_lower", 1, true, fnLower},
    {"tsql_getdate", 0, false, fnGetDate},
    {"tsql_version", 0, true, fnVersion},
    {"tsql_plus", 2, true, fnPlus},
    {"tsql_collatable", 1, true, fnCollatable},
    {"tsql_convertible", 2, true, fnConvertible},
    {"tsql_store", 3, true, fnStore},
    {"tsql_objectproperty", 2, false, fnObjectProperty},
    {"tsql_objectname", 1, true, fnObjectName},
    {"tsql_objectid", 1, true, fnObjectId},
    {"tsql_datatype", 1, true, fnDataType},
    {"tsql_maxlength", 1, true, fnMaxLength},
};

}  // namespace

void registerSqlFunctions(sqlite3* db) {
    int rc = sqlite3_create_collation(db, kCollateCi, SQLITE_UTF8, nullptr, collateCi);
    if (rc == SQLITE_OK) rc = sqlite3_create_collation(db, kCollateCiAi, SQLITE_UTF8, nullptr, collateCiAi);
    for (const FunctionDef& f : kFunctions) {
        if (rc != SQLITE_OK) break;
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        rc = sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) throw SqlError(QString::fromUtf8(sqlite3_errmsg(db)));
    registerKeyedJoin(db);
}

QString collateError(sqlite3_value* value) {
    if (!isNumber(value)) return {};
    return QStringLiteral("Expression type %1 is invalid for COLLATE clause.").arg(QLatin1String(numericTypeName(value)));
}

QString versionBanner() {
    return QStringLiteral("Microsoft SQL Server 2005 - 9.00 (embedded engine, SQLite %1)")
        .arg(QLatin1String(sqlite3_libversion()));
}

QString dataTypeOf(const QString& declared) {
    QString base = declared.trimmed().toLower();
    const int paren = base.indexOf(u'(');
    if (paren >= 0) base = base.left(paren).trimmed();
    const int blank = base.indexOf(u' ');
    if (blank >= 0) base = base.left(blank);
    if (base == QLatin1String("integer")) return QStringLiteral("int");
    if (base == QLatin1String("double")) return QStringLiteral("float");
    return base.isEmpty() ? QStringLiteral("sql_variant") : base;
}

int maxLengthOf(const QString& declared) {
    const QString type = dataTypeOf(declared);
    static const QRegularExpression size(QStringLiteral("\\(\\s*(\\d+|max)\\s*\\)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = size.match(declared);
    const bool character = type.endsWith(QLatin1String("char")) || type.endsWith(QLatin1String("binary"));
    if (character) {
        if (!m.hasMatch()) return 1;
        return m.captured(1).compare(QLatin1String("max"), Qt::CaseInsensitive) == 0 ? -1 : m.captured(1).toInt();
    }
    if (type == QLatin1String("ntext")) return 1073741823;
    if (type == QLatin1String("text") || type == QLatin1String("image")) return 2147483647;
    return -2;
}

int objectIdOf(const QString& name) {
    // FNV-1a over the folded name, kept positive as SQL Server's object ids are.
    const QByteArray key = foldText(name, Folding::CaseInsensitive).toUtf8();
    quint32 h = 2166136261u;
    for (char c : key) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return static_cast<int>(h & 0x7fffffff) | 0x100;
}

}  // namespace da::embedded
