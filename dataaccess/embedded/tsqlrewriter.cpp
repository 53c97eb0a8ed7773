#include "tsqlrewriter.h"

#include "dataaccess/sqlerror.h"
#include "textcollation.h"

#include <QSet>

namespace da::embedded {

bool isKeywordName(const QString& upperWord);

void notSupported(const QString& construct) {
    throw SqlError(QStringLiteral("%1 is not supported by the embedded engine.").arg(construct));
}

namespace {

bool isStarter(const Token& t) {
    static const char* words[] = {"SELECT", "INSERT", "UPDATE",  "DELETE", "CREATE", "DROP",   "ALTER",
                                  "EXEC",   "EXECUTE", "IF",    "SET",    "TRUNCATE", "USE",  "PRINT",
                                  "DECLARE", "BEGIN", "COMMIT", "ROLLBACK", "RETURN", "WHILE", "GRANT"};
    for (const char* w : words) {
        if (t.isWord(w)) return true;
    }
    return false;
}

bool isDbo(const QString& part) { return part.isEmpty() || part.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0; }

bool sameName(const QString& a, const QString& b) {
    return foldText(a, Folding::CaseInsensitive) == foldText(b, Folding::CaseInsensitive);
}

QString upper(const Token& t) { return t.text.toUpper(); }

QString rawText(const Tokens& tokens, Span span) {
    QStringList parts;
    for (int i = span.begin; i < span.end; ++i) parts << tokens[static_cast<size_t>(i)].text;
    return parts.join(u' ');
}

}  // namespace

int matchingParen(const Tokens& tokens, int open) {
    int depth = 0;
    for (int i = open; i < static_cast<int>(tokens.size()); ++i) {
        const Token& t = tokens[static_cast<size_t>(i)];
        if (t.isSymbol("(")) ++depth;
        if (t.isSymbol(")") && --depth == 0) return i;
    }
    return -1;
}

std::vector<Span> splitTopLevel(const Tokens& tokens, Span span, const char* separator) {
    std::vector<Span> out;
    int depth = 0;
    int start = span.begin;
    for (int i = span.begin; i < span.end; ++i) {
        const Token& t = tokens[static_cast<size_t>(i)];
        if (t.isSymbol("(")) ++depth;
        if (t.isSymbol(")")) --depth;
        if (depth == 0 && t.isSymbol(separator)) {
            out.push_back({start, i});
            start = i + 1;
        }
    }
    out.push_back({start, span.end});
    return out;
}

int findTopLevelWord(const Tokens& tokens, Span span, const char* word) {
    int depth = 0;
    for (int i = span.begin; i < span.end; ++i) {
        const Token& t = tokens[static_cast<size_t>(i)];
        if (t.isSymbol("(")) ++depth;
        if (t.isSymbol(")")) --depth;
        if (depth == 0 && t.isWord(word)) return i;
    }
    return -1;
}

std::vector<Span> splitStatements(const Tokens& tokens) {
    std::vector<Span> out;
    const int n = static_cast<int>(tokens.size());
    int start = 0;
    int bodyStart = 0;
    int depth = 0;
    bool awaitingBody = false;  // after IF's condition or ELSE
    bool insertHasSource = false;
    auto startAt = [&](int i) {
        start = i;
        bodyStart = i;
        awaitingBody = i < n && tokens[static_cast<size_t>(i)].isWord("IF");
        insertHasSource = false;
    };
    auto close = [&](int end) {
        if (end > start) out.push_back({start, end});
    };
    startAt(0);
    for (int i = 0; i < n; ++i) {
        const Token& t = tokens[static_cast<size_t>(i)];
        if (t.isSymbol("(")) ++depth;
        if (t.isSymbol(")")) --depth;
        if (depth > 0 || t.isSymbol(")")) continue;
        if (t.isSymbol(";")) {
            close(i);
            startAt(i + 1);
            continue;
        }
        if (i == start) continue;
        const Token& first = tokens[static_cast<size_t>(start)];
        if (first.isWord("CREATE") && start + 1 < n) {
            const Token& what = tokens[static_cast<size_t>(start + 1)];
            if (what.isWord("VIEW") || what.isWord("PROCEDURE") || what.isWord("PROC")) continue;
        }
        if (t.isWord("ELSE") && first.isWord("IF")) {
            awaitingBody = true;
            continue;
        }
        const Token& body = tokens[static_cast<size_t>(bodyStart)];
        if (body.isWord("INSERT") && (t.isWord("VALUES") || t.isWord("SELECT"))) {
            if (!insertHasSource) {
                insertHasSource = true;
                continue;
            }
        }
        if (!isStarter(t)) continue;
        if (awaitingBody) {
            awaitingBody = t.isWord("IF");
            bodyStart = i;
            continue;
        }
        const Token& prev = tokens[static_cast<size_t>(i - 1)];
        if (t.isWord("SELECT") && (prev.isWord("UNION") || prev.isWord("ALL") || prev.isWord("EXCEPT") ||
                                   prev.isWord("INTERSECT"))) {
            continue;
        }
        if (t.isWord("SET") && body.isWord("UPDATE")) continue;
        if (t.isWord("DROP") && body.isWord("ALTER")) continue;
        if ((t.isWord("DELETE") || t.isWord("UPDATE")) && prev.isWord("ON")) continue;
        close(i);
        startAt(i);
    }
    close(n);
    return out;
}

bool readObjectName(const Tokens& tokens, int i, ObjectName& out, int& next) {
    const int n = static_cast<int>(tokens.size());
    if (i >= n || !tokens[static_cast<size_t>(i)].isName()) return false;
    QStringList parts{tokens[static_cast<size_t>(i)].value};
    int j = i + 1;
    while (j < n && tokens[static_cast<size_t>(j)].isSymbol(".")) {
        if (j + 1 < n && tokens[static_cast<size_t>(j + 1)].isSymbol(".")) {
            parts << QString();
            ++j;
            continue;
        }
        if (j + 1 < n && tokens[static_cast<size_t>(j + 1)].isName()) {
            parts << tokens[static_cast<size_t>(j + 1)].value;
            j += 2;
            continue;
        }
        break;
    }
    if (parts.size() > 3) notSupported(QStringLiteral("The four-part name '%1'").arg(parts.join(u'.')));
    if (parts.size() == 3 && !isDbo(parts[1])) notSupported(QStringLiteral("The schema '%1'").arg(parts[1]));
    if (parts.size() == 2 && !isDbo(parts[0])) notSupported(QStringLiteral("The schema '%1'").arg(parts[0]));
    out.name = parts.last();
    out.database = parts.size() == 3 ? parts[0] : QString();
    next = j;
    return true;
}

QString collationFor(const QString& tsqlCollation) {
    const QString c = tsqlCollation.toUpper();
    if (c.contains(QLatin1String("_BIN")) || c.contains(QLatin1String("_CS_"))) return QStringLiteral("BINARY");
    if (c.contains(QLatin1String("_CI_AI"))) return QLatin1String(kCollateCiAi);
    if (c.contains(QLatin1String("_CI_AS")) || c == QLatin1String("DATABASE_DEFAULT")) return QLatin1String(kCollateCi);
    notSupported(QStringLiteral("The collation '%1'").arg(tsqlCollation));
}

namespace {

class Rewriter {
public:
    Rewriter(const Tokens& tokens, const RewriteContext& context) : m_t(tokens), m_ctx(context) {}

    QString run(Span span) {
        int i = span.begin;
        while (i < span.end) i = step(i, span.end);
        return m_out;
    }

private:
    const Token& tok(int i) const { return m_t[static_cast<size_t>(i)]; }
    bool has(int i, int end) const { return i < end; }

    void put(const QString& s, bool primary) {
        if (!m_out.isEmpty()) m_out += u' ';
        if (primary) m_lastPrimary = static_cast<int>(m_out.size());
        else m_lastPrimary = -1;
        m_lastWasString = false;
        m_out += s;
    }

    QString sub(Span span) const { return Rewriter(m_t, m_ctx).run(span); }

    std::vector<QString> args(int open, int close) const {
        std::vector<QString> out;
        if (close == open + 1) return out;
        for (const Span& s : splitTopLevel(m_t, {open + 1, close})) out.push_back(sub(s));
        return out;
    }

    int step(int i, int end) {
        const Token& t = tok(i);
        switch (t.kind) {
        case TokenKind::String:
            // A literal takes the collation of what it is compared with, as in SQL
            // Server; text functions carry the database default (see call()).
            put(sqlString(t.value), true);
            m_lastWasString = true;
            return i + 1;
        case TokenKind::Number:
            put(t.text, true);
            return i + 1;
        case TokenKind::Param:
            put(QStringLiteral("?"), true);
            return i + 1;
        case TokenKind::Variable:
            return variable(i);
        case TokenKind::Symbol:
            return symbol(i, end);
        case TokenKind::Word:
        case TokenKind::Quoted:
            return name(i, end);
        }
        return i + 1;
    }

    int variable(int i) {
        const QString v = tok(i).text.toUpper();
        if (v == QLatin1String("@@VERSION")) put(QStringLiteral("tsql_version()"), true);
        else if (v == QLatin1String("@@IDENTITY")) put(QStringLiteral("last_insert_rowid()"), true);
        else if (v == QLatin1String("@@ROWCOUNT")) put(QStringLiteral("changes()"), true);
        else notSupported(QStringLiteral("The variable %1").arg(tok(i).text));
        return i + 1;
    }

    int symbol(int i, int end) {
        const Token& t = tok(i);
        if (t.isSymbol("(")) {
            const int close = matchingParen(m_t, i);
            if (close < 0 || close >= end) throw SqlError(QStringLiteral("Incorrect syntax near '('."));
            put(u'(' + sub({i + 1, close}) + u')', true);
            return close + 1;
        }
        if (t.isSymbol("+") && (m_lastWasString || (has(i + 1, end) && tok(i + 1).kind == TokenKind::String))) {
            // T-SQL joins texts with +; beside a text literal the operands are texts.
            put(QStringLiteral("||"), false);
            return i + 1;
        }
        if (t.isSymbol("!<")) put(QStringLiteral(">="), false);
        else if (t.isSymbol("!>")) put(QStringLiteral("<="), false);
        else if (t.isSymbol("{") || t.isSymbol("}")) notSupported(QStringLiteral("The escape clause {"));
        else if (t.isSymbol(".") && !m_out.isEmpty()) m_out += u'.';  // "T.*"
        else if (t.isSymbol("*") && m_out.endsWith(u'.')) m_out += u'*';
        else put(t.text, false);
        return i + 1;
    }

    int name(int i, int end) {
        const Token& t = tok(i);
        const bool chained = has(i + 1, end) && tok(i + 1).isSymbol(".") && has(i + 2, end) &&
                             (tok(i + 2).isName() || tok(i + 2).isSymbol("."));
        if (t.kind == TokenKind::Word && !chained) {
            if (has(i + 1, end) && tok(i + 1).isSymbol("(")) return call(i, end);
            const QString u = upper(t);
            if (u == QLatin1String("COLLATE")) return collate(i, end);
            if (u == QLatin1String("TOP")) notSupported(QStringLiteral("TOP in this position"));
            if (u == QLatin1String("WITH") && has(i + 1, end) && tok(i + 1).isSymbol("(")) {
                notSupported(QStringLiteral("A table hint"));
            }
            if (isKeyword(u)) {
                put(t.text, !isOperatorWord(u));
            } else {
                put(sqlName(t.value), true);  // a bare name may be an SQLite keyword ("Nothing", "Key")
            }
            return i + 1;
        }
        if (!chained) {
            put(sqlName(t.value), true);
            return i + 1;
        }
        // A dotted chain: alias.column, dbo.Table, db.dbo.Table, INFORMATION_SCHEMA.X.
        QStringList parts{t.value};
        int j = i + 1;
        while (has(j, end) && tok(j).isSymbol(".")) {
            if (has(j + 1, end) && tok(j + 1).isSymbol(".")) {
                parts << QString();
                ++j;
            } else if (has(j + 1, end) && tok(j + 1).isName()) {
                parts << tok(j + 1).value;
                j += 2;
            } else {
                break;
            }
        }
        put(chain(parts), true);
        return j;
    }

    QString chain(QStringList parts) const {
        for (int k = 0; k + 1 < parts.size(); ++k) {
            if (parts[k].compare(QLatin1String("INFORMATION_SCHEMA"), Qt::CaseInsensitive) == 0) {
                const QString view = parts[k + 1].toUpper();
                if (k + 2 != parts.size() || (view != QLatin1String("TABLES") && view != QLatin1String("COLUMNS"))) {
                    notSupported(QStringLiteral("INFORMATION_SCHEMA.%1").arg(parts[k + 1]));
                }
                if (k == 1 && !sameName(parts[0], m_ctx.database)) {
                    notSupported(QStringLiteral("The cross-database reference '%1'").arg(parts.join(u'.')));
                }
                return QStringLiteral("information_schema_") + view.toLower();
            }
        }
        if (parts.size() >= 3 && isDbo(parts[1])) {
            const bool system = parts[2].compare(QLatin1String("sysdatabases"), Qt::CaseInsensitive) == 0 &&
                                parts.size() == 3;
            if (!system && !sameName(parts[0], m_ctx.database)) {
                notSupported(QStringLiteral("The cross-database reference '%1'").arg(parts.join(u'.')));
            }
            parts = parts.mid(2);
        } else if (parts.size() >= 2 && isDbo(parts[0])) {
            parts = parts.mid(1);
        }
        QStringList quoted;
        for (const QString& p : parts) quoted << sqlName(p);
        return quoted.join(u'.');
    }

    // T-SQL's reserved words that can stand in the statements the engine rewrites; any
    // other bare word is a name.
public:
    static bool keyword(const QString& u) { return isKeyword(u); }

private:
    static bool isKeyword(const QString& u) {
        static const QSet<QString> words = [] {
            QSet<QString> w;
            for (const char* k : {"ADD", "ALL", "ALTER", "AND", "ANY", "AS", "ASC", "BETWEEN", "BY", "CASCADE", "CASE",
                                  "CAST", "CHECK", "COLLATE", "COLUMN", "CONSTRAINT", "CROSS", "CURRENT_DATE",
                                  "CURRENT_TIME", "CURRENT_TIMESTAMP", "DEFAULT", "DELETE", "DESC", "DISTINCT",
                                  "ELSE", "END", "ESCAPE", "EXCEPT", "EXISTS", "FOREIGN", "FROM", "FULL", "GROUP",
                                  "HAVING", "IN", "INNER", "INSERT", "INTERSECT", "INTO", "IS", "JOIN", "KEY", "LEFT",
                                  "LIKE", "NOT", "NULL", "OFFSET", "ON", "OR", "ORDER", "OUTER", "PRIMARY",
                                  "REFERENCES", "RIGHT", "SELECT", "SET", "SOME", "TABLE", "THEN", "UNION", "UNIQUE",
                                  "UPDATE", "VALUES", "WHEN", "WHERE", "WITH"}) {
                w.insert(QLatin1String(k));
            }
            return w;
        }();
        return words.contains(u);
    }

    static bool isOperatorWord(const QString& u) {
        static const char* words[] = {"AND", "OR", "NOT", "LIKE", "IN", "IS", "BETWEEN", "SELECT", "FROM", "WHERE",
                                      "ON", "JOIN", "INNER", "LEFT", "RIGHT", "OUTER", "AS", "BY", "ORDER",
                                      "GROUP", "HAVING", "CASE", "WHEN", "THEN", "ELSE", "END", "EXISTS",
                                      "UNION", "ALL", "DISTINCT", "SET", "VALUES", "INTO", "ESCAPE", "CROSS"};
        for (const char* w : words) {
            if (u == QLatin1String(w)) return true;
        }
        return false;
    }

    [[noreturn]] static void argumentCount(const char* fn, int n) {
        throw SqlError(QStringLiteral("The %1 function requires %2 argument(s).").arg(QLatin1String(fn)).arg(n));
    }

    int call(int i, int end) {
        const QString fn = upper(tok(i));
        const int open = i + 1;
        const int close = matchingParen(m_t, open);
        if (close < 0 || close >= end) throw SqlError(QStringLiteral("Incorrect syntax near '('."));
        const int next = close + 1;
        // Text results compare under the database default, as their argument's
        // column would.
        auto simple = [&](const char* target, int count, const char* tsqlName, bool text = false) {
            const auto a = args(open, close);
            if (count >= 0 && static_cast<int>(a.size()) != count) argumentCount(tsqlName, count);
            QString call = QLatin1String(target) + u'(' + QStringList(a.begin(), a.end()).join(QLatin1String(", ")) + u')';
            if (text) call += QStringLiteral(" COLLATE ") + QLatin1String(kCollateCi);
            put(call, true);
            return next;
        };
        if (fn == QLatin1String("SUBSTRING")) return simple("tsql_substring", 3, "substring", true);
        if (fn == QLatin1String("LEN")) return simple("tsql_len", 1, "len");
        if (fn == QLatin1String("UPPER")) return simple("tsql_upper", 1, "upper", true);
        if (fn == QLatin1String("LOWER")) return simple("tsql_lower", 1, "lower", true);
        if (fn == QLatin1String("ISNULL")) return simple("ifnull", 2, "isnull", true);
        if (fn == QLatin1String("GETDATE")) return simple("tsql_getdate", 0, "getdate");
        if (fn == QLatin1String("LTRIM")) return simple("ltrim", 1, "ltrim", true);
        if (fn == QLatin1String("RTRIM")) return simple("rtrim", 1, "rtrim", true);
        if (fn == QLatin1String("COUNT")) {
            const auto parts = close == open + 1 ? std::vector<Span>{} : splitTopLevel(m_t, {open + 1, close});
            if (parts.size() != 1) argumentCount("count", 1);
            put(QStringLiteral("count(") + sub(parts[0]) + u')', true);
            return next;
        }
        if (fn == QLatin1String("OBJECT_ID")) {
            const auto a = args(open, close);
            if (a.size() != 1) argumentCount("object_id", 1);
            put(QStringLiteral("(SELECT id FROM sysobjects WHERE name = tsql_objectname(%1))").arg(a[0]), true);
            return next;
        }
        if (fn == QLatin1String("OBJECTPROPERTY")) {
            const auto a = args(open, close);
            if (a.size() != 2) argumentCount("objectproperty", 2);
            put(QStringLiteral("tsql_objectproperty(%1, %2)").arg(a[0], a[1]), true);
            return next;
        }
        if (fn == QLatin1String("CHARINDEX")) {
            const auto a = args(open, close);
            if (a.size() != 2) notSupported(QStringLiteral("CHARINDEX with a start position"));
            put(QStringLiteral("instr(%1, %2)").arg(a[1], a[0]), true);
            return next;
        }
        if (fn == QLatin1String("CONVERT")) {
            const auto parts = splitTopLevel(m_t, {open + 1, close});
            if (parts.size() != 2) notSupported(QStringLiteral("CONVERT with a style"));
            put(QStringLiteral("CAST(%1 AS %2)").arg(sub(parts[1]), rawText(m_t, parts[0])), true);
            return next;
        }
        if (fn == QLatin1String("OPENROWSET") || fn == QLatin1String("OPENQUERY") ||
            fn == QLatin1String("OPENDATASOURCE")) {
            notSupported(fn + QStringLiteral(" in this position"));
        }
        // Keywords before a bracket (IN, EXISTS, VALUES, AS, ...) and SQLite's own
        // functions of the same name and meaning.
        put(tok(i).text + u'(' + sub({open + 1, close}) + u')', !isOperatorWord(fn));
        if (isOperatorWord(fn)) m_lastPrimary = -1;
        return next;
    }

    // expression COLLATE name: only text may carry a collation.
    int collate(int i, int end) {
        if (!has(i + 1, end) || !tok(i + 1).isName()) throw SqlError(QStringLiteral("Incorrect syntax near 'COLLATE'."));
        if (m_lastPrimary < 0) throw SqlError(QStringLiteral("Incorrect syntax near 'COLLATE'."));
        const QString collation = collationFor(tok(i + 1).value);
        if (!m_lastWasString) {
            const QString operand = m_out.mid(m_lastPrimary);
            m_out.truncate(m_lastPrimary);
            m_out += QStringLiteral("tsql_collatable(") + operand + u')';
        }
        m_out += QStringLiteral(" COLLATE ") + collation;
        m_lastPrimary = -1;
        m_lastWasString = false;
        return i + 2;
    }

    const Tokens& m_t;
    RewriteContext m_ctx;
    QString m_out;
    int m_lastPrimary = -1;
    bool m_lastWasString = false;
};

}  // namespace

bool isKeywordName(const QString& upperWord) { return Rewriter::keyword(upperWord); }

QString rewrite(const Tokens& tokens, Span span, const RewriteContext& context) {
    return Rewriter(tokens, context).run(span);
}

namespace {

bool isAggregate(const Token& t) {
    return t.isWord("COUNT") || t.isWord("SUM") || t.isWord("AVG") || t.isWord("MIN") || t.isWord("MAX");
}

// The bare column names of a range that stand outside aggregates and subqueries;
// aliases (after AS or a closing bracket) do not count.
QStringList freeColumns(const Tokens& t, Span span) {
    QStringList out;
    for (int i = span.begin; i < span.end; ++i) {
        const Token& k = t[static_cast<size_t>(i)];
        if (k.isSymbol("(")) {
            const int close = matchingParen(t, i);
            const bool skip = (i > span.begin && isAggregate(t[static_cast<size_t>(i - 1)])) ||
                              (i + 1 < span.end && t[static_cast<size_t>(i + 1)].isWord("SELECT"));
            if (skip && close > i) {
                i = close;
                continue;
            }
        }
        if (!k.isName() || (k.kind == TokenKind::Word && isKeywordName(k.text.toUpper()))) continue;
        if (i + 1 < span.end && t[static_cast<size_t>(i + 1)].isSymbol("(")) continue;  // a function
        const Token* before = i > span.begin ? &t[static_cast<size_t>(i - 1)] : nullptr;
        if (before && (before->isWord("AS") || before->isSymbol(")") || before->isSymbol("."))) continue;
        QString name = k.value;
        int j = i;
        while (j + 2 < span.end && t[static_cast<size_t>(j + 1)].isSymbol(".") && t[static_cast<size_t>(j + 2)].isName()) {
            j += 2;
            name += u'.' + t[static_cast<size_t>(j)].value;
        }
        out << name;
        i = j;
    }
    return out;
}

QStringList aliases(const Tokens& t, Span span) {
    QStringList out;
    for (int i = span.begin + 1; i < span.end; ++i) {
        const Token& before = t[static_cast<size_t>(i - 1)];
        if (t[static_cast<size_t>(i)].isName() && (before.isWord("AS") || before.isSymbol(")"))) {
            out << t[static_cast<size_t>(i)].value;
        }
    }
    return out;
}

}  // namespace

void checkGrouping(const Tokens& t, Span span) {
    if (findTopLevelWord(t, span, "GROUP") >= 0) return;
    const int from = findTopLevelWord(t, span, "FROM");
    const Span list{span.begin, from < 0 ? span.end : from};
    int depth = 0;
    bool aggregated = false;
    for (int i = list.begin; i < list.end; ++i) {
        const Token& k = t[static_cast<size_t>(i)];
        if (k.isSymbol("(")) ++depth;
        if (k.isSymbol(")")) --depth;
        if (depth == 0 && isAggregate(k) && i + 1 < list.end && t[static_cast<size_t>(i + 1)].isSymbol("(")) {
            aggregated = true;
        }
    }
    if (!aggregated) return;
    const QStringList inList = freeColumns(t, list);
    if (!inList.isEmpty()) {
        throw SqlError(QStringLiteral("Column '%1' is invalid in the select list because it is not contained in either "
                                      "an aggregate function or the GROUP BY clause.").arg(inList.first()));
    }
    const int order = findTopLevelWord(t, span, "ORDER");
    if (order < 0) return;
    const QStringList named = aliases(t, list);
    for (const QString& c : freeColumns(t, {order + 2, span.end})) {
        if (named.contains(c, Qt::CaseInsensitive)) continue;
        throw SqlError(QStringLiteral("Column \"%1\" is invalid in the ORDER BY clause because it is not contained in "
                                      "either an aggregate function or the GROUP BY clause.").arg(c));
    }
}

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
    if (!check.isEmpty()) {
        sql += QStringLiteral(" CHECK (tsql_convertible(%1, '%2'))").arg(sqlName(def.name), check);
    }
    for (const QString& c : checks) sql += u' ' + c;
    def.sqlite = sql;
    return def;
}

}  // namespace da::embedded
