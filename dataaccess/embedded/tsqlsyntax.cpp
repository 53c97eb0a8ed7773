#include "tsqlsyntax.h"

#include "dataaccess/sqlerror.h"
#include "textcollation.h"

#include <QSet>

namespace da::embedded {

void notSupported(const QString& construct) {
    throw SqlError(QStringLiteral("%1 is not supported by the embedded engine.").arg(construct));
}

namespace {

bool isStarter(const Token& t) {
    static const char* words[] = {"SELECT", "INSERT", "UPDATE", "DELETE", "CREATE", "DROP", "ALTER",
                                  "EXEC", "EXECUTE", "IF", "SET", "TRUNCATE", "USE", "PRINT",
                                  "DECLARE", "BEGIN", "COMMIT", "ROLLBACK", "RETURN", "WHILE", "GRANT"};
    for (const char* w : words) {
        if (t.isWord(w)) return true;
    }
    return false;
}

}  // namespace

bool isDbo(const QString& part) { return part.isEmpty() || part.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0; }

int countParams(const Tokens& tokens, Span span) {
    int n = 0;
    for (int i = span.begin; i < span.end; ++i) n += tokens[static_cast<size_t>(i)].kind == TokenKind::Param;
    return n;
}

bool sameName(const QString& a, const QString& b) {
    return foldText(a, Folding::CaseInsensitive) == foldText(b, Folding::CaseInsensitive);
}

QString rawText(const Tokens& tokens, Span span) {
    QStringList parts;
    for (int i = span.begin; i < span.end; ++i) parts << tokens[static_cast<size_t>(i)].text;
    return parts.join(u' ');
}

[[noreturn]] void syntaxNear(const Tokens& t, int i, Span span) {
    const QString near = i < span.end && i >= 0 ? t[static_cast<size_t>(i)].text : QString();
    if (near.isEmpty()) throw SqlError(QStringLiteral("Incorrect syntax near the end of the statement."));
    throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(near));
}

bool wordAt(const Tokens& t, int i, Span span, const char* word) {
    return i >= span.begin && i < span.end && t[static_cast<size_t>(i)].isWord(word);
}


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

bool readTableReference(const Tokens& tokens, int& i, Span span, ObjectName& table, QString& alias) {
    int next = 0;
    if (!readObjectName(tokens, i, table, next) || next > span.end) return false;
    i = next;
    if (wordAt(tokens, i, span, "AS")) ++i;
    alias = table.name;
    if (i < span.end) {
        const Token& t = tokens[static_cast<size_t>(i)];
        if (t.isName() && !(t.kind == TokenKind::Word && isTsqlKeyword(t.text.toUpper()))) {
            alias = t.value;
            ++i;
        }
    }
    return true;
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
        if (!k.isName() || (k.kind == TokenKind::Word && isTsqlKeyword(k.text.toUpper()))) continue;
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
                                      "an aggregate function or the GROUP BY clause.")
                           .arg(inList.first()));
    }
    const int order = findTopLevelWord(t, span, "ORDER");
    if (order < 0) return;
    const QStringList named = aliases(t, list);
    for (const QString& c : freeColumns(t, {order + 2, span.end})) {
        if (named.contains(c, Qt::CaseInsensitive)) continue;
        throw SqlError(QStringLiteral("Column \"%1\" is invalid in the ORDER BY clause because it is not contained in "
                                      "either an aggregate function or the GROUP BY clause.")
                           .arg(c));
    }
}

bool isTsqlKeyword(const QString& u) {
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

QString readLocalName(const Tokens& t, int& i, Span span, const QString& database) {
    ObjectName name;
    int next = i;
    if (i >= span.end || !readObjectName(t, i, name, next) || next > span.end) syntaxNear(t, i, span);
    if (!name.database.isEmpty() && name.database.compare(database, Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("The cross-database reference '%1..%2'").arg(name.database, name.name));
    }
    if (name.name.startsWith(u'#')) notSupported(QStringLiteral("The temporary table '%1'").arg(name.name));
    i = next;
    return name.name;
}

}  // namespace da::embedded
