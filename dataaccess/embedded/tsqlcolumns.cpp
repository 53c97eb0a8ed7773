#include "tsqlcolumns.h"

#include "dataaccess/sqlerror.h"
#include "sqlfunctions.h"
#include "textcollation.h"

#include <algorithm>

#include "preparedstatement.h"
#include <sqlite3.h>

namespace da::embedded {

bool isTextType(const QString& declaredType) {
    QString base = declaredType.toLower();
    const int paren = base.indexOf(u'(');
    if (paren >= 0) base = base.left(paren);
    base = base.trimmed();
    return base == QLatin1String("char") || base == QLatin1String("varchar") || base == QLatin1String("nchar") ||
           base == QLatin1String("nvarchar") || base == QLatin1String("text") || base == QLatin1String("ntext") ||
           base == QLatin1String("sysname");
}

QString numericCheckType(const QString& declaredType) {
    QString base = declaredType.toLower();
    const int paren = base.indexOf(u'(');
    if (paren >= 0) base = base.left(paren);
    base = base.trimmed();
    static const char* exact[] = {"int", "bigint", "smallint", "tinyint", "bit", "float", "real", "money", "smallmoney"};
    for (const char* e : exact) {
        if (base == QLatin1String(e)) return base;
    }
    if (base == QLatin1String("decimal") || base == QLatin1String("numeric")) return QStringLiteral("numeric");
    return {};
}

ColumnDef translateColumn(const Tokens& t, Span span, const RewriteContext& context) {
    auto at = [&](int i) -> const Token& { return t[static_cast<size_t>(i)]; };
    ColumnDef def;
    int i = span.begin;
    if (i >= span.end || !at(i).isName()) throw SqlError(QStringLiteral("Incorrect syntax in a column definition."));
    def.name = at(i++).value;
    if (i >= span.end || !at(i).isName()) {
        notSupported(QStringLiteral("A column without a data type ('%1')").arg(def.name));
    }
    def.type = at(i++).value;
    if (i < span.end && at(i).isSymbol("(")) {
        const int close = matchingParen(t, i);
        if (close < 0 || close >= span.end) throw SqlError(QStringLiteral("Incorrect syntax near '('."));
        def.type += u'(' + rawText(t, {i + 1, close}).remove(u' ') + u')';
        i = close + 1;
    }
    bool notNull = false;
    bool unique = false;
    QString collation;
    QString defaultSql;
    QStringList checks;
    while (i < span.end) {
        const Token& k = at(i);
        if (k.isWord("IDENTITY")) {
            def.identity = true;
            ++i;
            if (i < span.end && at(i).isSymbol("(")) i = matchingParen(t, i) + 1;
        } else if (k.isWord("NOT") && i + 1 < span.end && at(i + 1).isWord("NULL")) {
            notNull = true;
            i += 2;
        } else if (k.isWord("NULL")) {
            ++i;
        } else if (k.isWord("CONSTRAINT")) {
            i += 2;
        } else if (k.isWord("PRIMARY") && i + 1 < span.end && at(i + 1).isWord("KEY")) {
            def.primaryKey = true;
            i += 2;
        } else if (k.isWord("UNIQUE")) {
            unique = true;
            ++i;
        } else if (k.isWord("CLUSTERED") || k.isWord("NONCLUSTERED") || k.isWord("ASC") || k.isWord("DESC") ||
                   k.isWord("ROWGUIDCOL")) {
            ++i;
        } else if (k.isWord("COLLATE") && i + 1 < span.end) {
            collation = collationFor(at(i + 1).value);
            i += 2;
        } else if (k.isWord("DEFAULT") && i + 1 < span.end) {
            int e = i + 1;
            if (at(e).isSymbol("(")) {
                e = matchingParen(t, e) + 1;
            } else {
                if (at(e).isSymbol("-") || at(e).isSymbol("+")) ++e;
                ++e;
                if (e < span.end && at(e).isSymbol("(")) e = matchingParen(t, e) + 1;
            }
            defaultSql = u'(' + rewrite(t, {i + 1, e}, context) + u')';
            i = e;
        } else if (k.isWord("CHECK") && i + 1 < span.end && at(i + 1).isSymbol("(")) {
            const int close = matchingParen(t, i + 1);
            RewriteContext c = context;
            checks << QStringLiteral("CHECK (") + rewrite(t, {i + 2, close}, c) + u')';
            i = close + 1;
        } else {
            notSupported(QStringLiteral("The column option '%1'").arg(k.text));
        }
    }
    QString sql = sqlName(def.name) + u' ';
    if (def.identity) {
        // SQLite numbers rows itself only through its INTEGER PRIMARY KEY: an identity
        // column becomes that key.
        sql += QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        def.primaryKey = true;
    } else {
        sql += def.type;
        if (def.primaryKey) sql += QStringLiteral(" PRIMARY KEY");
    }
    if (notNull) sql += QStringLiteral(" NOT NULL");
    if (unique) sql += QStringLiteral(" UNIQUE");
    if (!defaultSql.isEmpty()) sql += QStringLiteral(" DEFAULT ") + defaultSql;
    if (isTextType(def.type)) {
        sql += QStringLiteral(" COLLATE ") + (collation.isEmpty() ? QString::fromLatin1(kCollateCi) : collation);
    } else if (!collation.isEmpty()) {
        throw SqlError(QStringLiteral("Expression type %1 is invalid for COLLATE clause.").arg(def.type));
    }
    const QString check = def.identity ? QString() : numericCheckType(def.type);
    if (!check.isEmpty()) sql += u' ' + valueCheck(def.name, check);
    for (const QString& c : checks) sql += u' ' + c;
    def.sqlite = sql;
    return def;
}

StoreLimit storeLimitOf(const QString& declaredType) {
    StoreLimit limit;
    const QString type = dataTypeOf(declaredType);
    static const char* numeric[] = {"int", "bigint", "smallint", "tinyint", "bit", "float", "real"};
    for (const char* n : numeric) {
        if (type == QLatin1String(n)) limit.kind = type;
    }
    if (isTextType(declaredType)) {
        limit.kind = QStringLiteral("text");
        limit.length = std::max(maxLengthOf(declaredType), -1);
    }
    return limit;
}

QString storedValue(const QString& sqlExpr, const StoreLimit& limit) {
    if (limit.kind.isEmpty()) return sqlExpr;
    return QStringLiteral("tsql_store(%1, '%2', %3)").arg(sqlExpr, limit.kind).arg(limit.length);
}

QString storedColumnValue(const QString& column, const StoreLimit& limit) {
    if (limit.kind != QLatin1String("text") || limit.length < 0) return storedValue(column, limit);
    // No more bytes than the length: no more UTF-16 units either.
    return QStringLiteral("CASE WHEN length(CAST(%1 AS BLOB)) <= %2 THEN %1 ELSE %3 END")
        .arg(column)
        .arg(limit.length)
        .arg(storedValue(column, limit));
}

bool limitHolds(const StoreLimit& source, const StoreLimit& target) {
    if (target.kind.isEmpty()) return true;
    if (source.kind.isEmpty()) return false;
    if (target.kind == QLatin1String("text")) {
        return source.kind == target.kind && (target.length < 0 || (source.length >= 0 && source.length <= target.length));
    }
    // Integer types from the narrowest; each holds the ones before it.
    static const QStringList integers{QStringLiteral("bit"), QStringLiteral("tinyint"), QStringLiteral("smallint"),
                                      QStringLiteral("int"), QStringLiteral("bigint")};
    const qsizetype s = integers.indexOf(source.kind);
    const qsizetype t = integers.indexOf(target.kind);
    if (t >= 0) return s >= 0 && s <= t;
    if (target.kind == QLatin1String("float")) return s >= 0 || source.kind == QLatin1String("float") || source.kind == QLatin1String("real");
    return source.kind == QLatin1String("real") || (s >= 0 && s <= 2);  // real: exact up to smallint
}

QString valueCheck(const QString& column, const QString& checkType) {
    return QStringLiteral("CHECK (%1 < '' OR %1 IS NULL OR tsql_convertible(%1, '%2'))").arg(sqlName(column), checkType);
}

bool hasValueCheck(const QString& tableSql, const QString& column) {
    return tableSql.contains(QStringLiteral("tsql_convertible(") + sqlName(column) + u',');
}

bool hasOtherChecks(const QString& tableSql) {
    return tableSql.count(QLatin1String("CHECK (")) != tableSql.count(QLatin1String("tsql_convertible("));
}

ChecksSkipped::ChecksSkipped(sqlite3* db) : m_db(db) {
    const PreparedStatement stmt = prepareStatement(db, "PRAGMA ignore_check_constraints");
    if (stmt && sqlite3_step(stmt.get()) == SQLITE_ROW) m_wasSkipping = sqlite3_column_int(stmt.get(), 0) != 0;
    if (!m_wasSkipping) sqlite3_exec(db, "PRAGMA ignore_check_constraints = ON", nullptr, nullptr, nullptr);
}

ChecksSkipped::~ChecksSkipped() {
    if (!m_wasSkipping) sqlite3_exec(m_db, "PRAGMA ignore_check_constraints = OFF", nullptr, nullptr, nullptr);
}

}  // namespace da::embedded
