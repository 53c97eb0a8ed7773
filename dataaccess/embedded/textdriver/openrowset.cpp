#include "openrowset.h"

#include "dataaccess/sqlerror.h"

namespace da::embedded {

// Key=value pairs of an ODBC connection string; a value may be enclosed in braces,
// with "}}" standing for "}".
QString connectionValue(const QString& text, const QString& key) {
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const int eq = text.indexOf(u'=', i);
        if (eq < 0) break;
        const QString k = text.mid(i, eq - i).trimmed();
        int j = eq + 1;
        QString value;
        while (j < n && text[j] == u' ') ++j;
        if (j < n && text[j] == u'{') {
            ++j;
            while (j < n) {
                if (text[j] == u'}') {
                    if (j + 1 < n && text[j + 1] == u'}') {
                        value += u'}';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            const int semi = text.indexOf(u';', j);
            i = semi < 0 ? n : semi + 1;
        } else {
            const int semi = text.indexOf(u';', j);
            value = text.mid(j, (semi < 0 ? n : semi) - j).trimmed();
            i = semi < 0 ? n : semi + 1;
        }
        if (k.compare(key, Qt::CaseInsensitive) == 0) return value;
    }
    return {};
}

RowsetSource readOpenRowset(const Tokens& t, int i, Span all) {
    if (!(i + 1 < all.end && at(t, i + 1).isSymbol("("))) syntaxNear(t, i + 1, all);
    const int close = matchingParen(t, i + 1);
    const auto args = splitTopLevel(t, {i + 2, close});
    if (args.size() != 3) notSupported(QStringLiteral("This form of OPENROWSET"));
    for (const Span& a : args) {
        if (a.end - a.begin != 1 || at(t, a.begin).kind != TokenKind::String) {
            notSupported(QStringLiteral("This form of OPENROWSET"));
        }
    }
    const QString provider = at(t, args[0].begin).value;
    const QString connection = at(t, args[1].begin).value;
    const QString command = at(t, args[2].begin).value;
    if (provider.compare(QLatin1String("MSDASQL"), Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("The OLE DB provider '%1'").arg(provider));
    }
    if (!connectionValue(connection, QStringLiteral("Driver")).contains(QLatin1String("Text Driver"), Qt::CaseInsensitive)) {
        notSupported(QStringLiteral("The ODBC driver of '%1'").arg(connection));
    }
    const QString dir = connectionValue(connection, QStringLiteral("DefaultDir"));
    const Tokens q = tokenize(command);
    const int n = static_cast<int>(q.size());
    int end = n;
    if (end > 0 && at(q, end - 1).isSymbol(";")) --end;
    if (!(end >= 4 && at(q, 0).isWord("SELECT") && at(q, 1).isSymbol("*") && at(q, 2).isWord("FROM"))) {
        notSupported(QStringLiteral("The text driver query '%1'").arg(command));
    }
    QString file;
    if (end == 4 && at(q, 3).kind == TokenKind::Quoted) {
        file = at(q, 3).value;
    } else {
        // A bare file name such as bv.txt reads as several tokens.
        file = command.mid(at(q, 3).pos, at(q, end - 1).pos + at(q, end - 1).len - at(q, 3).pos);
    }
    int after = close + 1;
    if (wordAt(t, after, all, "AS")) ++after;
    if (after < all.end && at(t, after).isName()) ++after;
    if (after != all.end) syntaxNear(t, after, all);
    return {dir, file};
}

}  // namespace da::embedded
