#include "tsqlrewriter.h"

#include "fastpaths/keyedjoin.h"
#include "tsqlfunctions.h"

#include "dataaccess/sqlerror.h"
#include "textcollation.h"

namespace da::embedded {

namespace {
QString upper(const Token& t) { return t.text.toUpper(); }
}  // namespace

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
        while (i < span.end) {
            const int chainEnd = (i == span.begin || isBoundary(tok(i - 1))) ? additiveEnd(i, span.end) : i;
            i = chainEnd > i ? additive(i, chainEnd) : step(i, span.end);
        }
        return m_out;
    }

private:
    const Token& tok(int i) const { return m_t[static_cast<size_t>(i)]; }
    bool has(int i, int end) const { return i < end; }

    void put(const QString& s, bool primary) {
        if (!m_out.isEmpty()) m_out += u' ';
        if (primary)
            m_lastPrimary = static_cast<int>(m_out.size());
        else
            m_lastPrimary = -1;
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

    static bool endsOperand(const Token& t) {
        return t.isName() || t.kind == TokenKind::String || t.kind == TokenKind::Number ||
               t.kind == TokenKind::Param || t.kind == TokenKind::Variable || t.isSymbol(")");
    }

    static bool isBoundary(const Token& t) {
        static const char* symbols[] = {",", "=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>", ";"};
        for (const char* b : symbols) {
            if (t.isSymbol(b)) return true;
        }
        return t.kind == TokenKind::Word && isTsqlKeyword(t.text.toUpper()) && !t.isWord("NULL");
    }

    // The END of the CASE at k (an operand as a whole), or end.
    int caseEnd(int k, int end) const {
        int cases = 0;
        int depth = 0;
        for (; k < end; ++k) {
            if (tok(k).isSymbol("(")) ++depth;
            if (tok(k).isSymbol(")")) --depth;
            if (depth != 0) continue;
            if (tok(k).isWord("CASE")) ++cases;
            if (tok(k).isWord("END") && --cases == 0) return k;
        }
        return end;
    }

    // The end of an expression starting at i whose outer level adds with + (T-SQL's
    // + adds numbers and joins texts), or i when there is no such +.
    int additiveEnd(int i, int end) const {
        int depth = 0;
        bool plus = false;
        int k = i;
        for (; k < end; ++k) {
            const Token& t = tok(k);
            if (t.isSymbol("(")) ++depth;
            if (t.isSymbol(")")) --depth;
            if (depth < 0) break;
            if (depth > 0 || t.isSymbol(")")) continue;
            if (t.isWord("CASE")) {
                k = caseEnd(k, end);
                continue;
            }
            if (t.isWord("CAST") && k + 1 < end && tok(k + 1).isSymbol("(")) continue;
            if (isBoundary(t)) break;
            if (k > i && t.isName() && endsOperand(tok(k - 1)) && !tok(k - 1).isSymbol(".") &&
                !(k + 1 < end && tok(k + 1).isSymbol("("))) {
                break;  // an alias
            }
            if (k > i && t.isSymbol("+") && endsOperand(tok(k - 1))) plus = true;
        }
        return plus ? k : i;
    }

    // a + b - c .. as tsql_plus(tsql_plus(a, b) - c ..), left to right.
    int additive(int i, int end) {
        QString acc;
        int depth = 0;
        int start = i;
        QString pending;  // the operator before the operand being read
        auto take = [&](int to) {
            const QString operand = sub({start, to});
            if (pending.isEmpty())
                acc = operand;
            else if (pending == QLatin1String("+"))
                acc = QStringLiteral("tsql_plus(%1, %2)").arg(acc, operand);
            else
                acc = QStringLiteral("(%1 - %2)").arg(acc, operand);
        };
        for (int k = i; k < end; ++k) {
            const Token& t = tok(k);
            if (t.isSymbol("(")) ++depth;
            if (t.isSymbol(")")) --depth;
            if (depth == 0 && t.isWord("CASE")) {
                k = caseEnd(k, end);
                continue;
            }
            if (depth == 0 && k > start && (t.isSymbol("+") || t.isSymbol("-")) && endsOperand(tok(k - 1))) {
                take(k);
                pending = t.text;
                start = k + 1;
            }
        }
        take(end);
        // A joined text compares under the database default, as its operands would.
        put(acc + QStringLiteral(" COLLATE ") + QLatin1String(kCollateCi), true);
        return end;
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
        if (v == QLatin1String("@@VERSION"))
            put(QStringLiteral("tsql_version()"), true);
        else if (v == QLatin1String("@@IDENTITY"))
            put(QStringLiteral("last_insert_rowid()"), true);
        else if (v == QLatin1String("@@ROWCOUNT"))
            put(QStringLiteral("changes()"), true);
        else
            notSupported(QStringLiteral("The variable %1").arg(tok(i).text));
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
        if (t.isSymbol("!<"))
            put(QStringLiteral(">="), false);
        else if (t.isSymbol("!>"))
            put(QStringLiteral("<="), false);
        else if (t.isSymbol("{") || t.isSymbol("}"))
            notSupported(QStringLiteral("The escape clause {"));
        else if (t.isSymbol(".") && !m_out.isEmpty())
            m_out += u'.';  // "T.*"
        else if (t.isSymbol("*") && m_out.endsWith(u'.'))
            m_out += u'*';
        else
            put(t.text, false);
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
            if (u == QLatin1String("INNER") || u == QLatin1String("LEFT") || u == QLatin1String("JOIN")) {
                const int next = keyedJoin(i, end);
                if (next >= 0) return next;
            }
            if (u == QLatin1String("TOP")) notSupported(QStringLiteral("TOP in this position"));
            if (u == QLatin1String("WITH") && has(i + 1, end) && tok(i + 1).isSymbol("(")) {
                notSupported(QStringLiteral("A table hint"));
            }
            if (isTsqlKeyword(u)) {
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

    int call(int i, int end) {
        const QString fn = upper(tok(i));
        const int open = i + 1;
        const int close = matchingParen(m_t, open);
        if (close < 0 || close >= end) throw SqlError(QStringLiteral("Incorrect syntax near '('."));
        const int next = close + 1;
        if (const TsqlFunction* f = findTsqlFunction(fn)) {
            std::vector<QString> a;
            if (close > open + 1) {
                const auto parts = splitTopLevel(m_t, {open + 1, close});
                for (size_t k = 0; k < parts.size(); ++k)
                    a.push_back(k == 0 && f->firstIsType ? rawText(m_t, parts[k]) : sub(parts[k]));
            }
            put(tsqlCall(*f, a), true);
            return next;
        }
        if (isRowsetFunction(fn)) notSupported(fn + QStringLiteral(" in this position"));
        // Keywords before a bracket (IN, EXISTS, VALUES, AS, ...) and SQLite's own
        // functions of the same name and meaning.
        put(tok(i).text + u'(' + sub({open + 1, close}) + u')', !isOperatorWord(fn));
        if (isOperatorWord(fn)) m_lastPrimary = -1;
        return next;
    }

    // The keyed join (fastpaths/keyedjoin.h) at token i: the index after its condition, or
    // -1 to rewrite the join as written.
    int keyedJoin(int i, int end) {
        if (!m_ctx.keyedJoin) return -1;
        try {
            const std::optional<KeyedJoinShape> shape = matchKeyedJoin(m_t, i, end);
            if (!shape || (!shape->table.database.isEmpty() && !sameName(shape->table.database, m_ctx.database))) return -1;
            const QString keyed = m_ctx.keyedJoin(shape->table.name, shape->column, collationFor(shape->collation));
            if (keyed.isEmpty()) return -1;
            put(QStringLiteral("%1 JOIN temp.%2(%3) AS %4")
                    .arg(shape->left ? QStringLiteral("LEFT") : QStringLiteral("INNER"), sqlName(keyed), sub(shape->probe),
                         sqlName(shape->alias)),
                false);
            return shape->end;
        } catch (const SqlError&) {
            return -1;  // the join as written reports it
        }
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

QString rewrite(const Tokens& tokens, Span span, const RewriteContext& context) {
    return Rewriter(tokens, context).run(span);
}

QString rewriteSelect(const Tokens& t, Span span, const RewriteContext& context) {
    checkGrouping(t, span);
    int i = span.begin;
    QString head = QStringLiteral("SELECT ");
    if (wordAt(t, i, span, "DISTINCT")) {
        head += QStringLiteral("DISTINCT ");
        ++i;
    } else if (wordAt(t, i, span, "ALL")) {
        ++i;
    }
    QString limit;
    if (wordAt(t, i, span, "TOP")) {
        ++i;
        if (i < span.end && t[static_cast<size_t>(i)].kind == TokenKind::Number) {
            limit = QStringLiteral(" LIMIT ") + t[static_cast<size_t>(i)].text;
            ++i;
        } else if (i < span.end && t[static_cast<size_t>(i)].isSymbol("(")) {
            const int close = matchingParen(t, i);
            limit = QStringLiteral(" LIMIT ") + rewrite(t, {i, close + 1}, context);
            i = close + 1;
        } else {
            syntaxNear(t, i, span);
        }
        if (wordAt(t, i, span, "PERCENT") || wordAt(t, i, span, "WITH")) notSupported(QStringLiteral("TOP .. PERCENT"));
    }
    return head + rewrite(t, {i, span.end}, context) + limit;
}

}  // namespace da::embedded
