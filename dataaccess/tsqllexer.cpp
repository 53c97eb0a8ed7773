#include "tsqllexer.h"

#include "dataaccess/sqlerror.h"

namespace da {

bool Token::isWord(const char* keyword) const {
    return kind == TokenKind::Word && text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

bool Token::isSymbol(const char* symbol) const {
    return kind == TokenKind::Symbol && text == QLatin1String(symbol);
}

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == u'_' || c == u'#'; }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'$' || c == u'@'; }

[[noreturn]] void unclosed(const QString& sql, int at) {
    throw SqlError(QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(sql.mid(at)));
}

// Reads a delimited run starting after the opening delimiter; a doubled closing
// delimiter stands for itself. Returns the index after the closing delimiter.
int readDelimited(const QString& sql, int i, QChar close, QString& value) {
    const int n = sql.size();
    while (i < n) {
        if (sql[i] == close) {
            if (i + 1 < n && sql[i + 1] == close) {
                value += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        value += sql[i++];
    }
    return -1;
}

}  // namespace

Tokens tokenize(const QString& sql) {
    Tokens out;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace() || c.unicode() < 32) {
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n') ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const int end = sql.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0) throw SqlError(QStringLiteral("Missing end comment mark '*/'."));
            i = end + 2;
            continue;
        }
        Token t;
        t.pos = i;
        if ((c == u'N' || c == u'n') && i + 1 < n && sql[i + 1] == u'\'') {
            t.kind = TokenKind::String;
            const int end = readDelimited(sql, i + 2, u'\'', t.value);
            if (end < 0) unclosed(sql, i);
            i = end;
        } else if (c == u'\'') {
            t.kind = TokenKind::String;
            const int end = readDelimited(sql, i + 1, u'\'', t.value);
            if (end < 0) unclosed(sql, i);
            i = end;
        } else if (c == u'[' || c == u'"') {
            t.kind = TokenKind::Quoted;
            const int end = readDelimited(sql, i + 1, c == u'[' ? u']' : u'"', t.value);
            if (end < 0) {
                throw SqlError(QStringLiteral("Unclosed quotation mark after the character string '%1'.")
                                   .arg(sql.mid(i)));
            }
            i = end;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql[i + 1].isDigit())) {
            t.kind = TokenKind::Number;
            while (i < n && (sql[i].isDigit() || sql[i] == u'.')) ++i;
            if (i < n && (sql[i] == u'e' || sql[i] == u'E')) {
                int j = i + 1;
                if (j < n && (sql[j] == u'+' || sql[j] == u'-')) ++j;
                if (j < n && sql[j].isDigit()) {
                    i = j;
                    while (i < n && sql[i].isDigit()) ++i;
                }
            }
        } else if (c == u'@') {
            t.kind = TokenKind::Variable;
            ++i;
            while (i < n && (isNamePart(sql[i]))) ++i;
        } else if (c == u'?') {
            t.kind = TokenKind::Param;
            ++i;
        } else if (c == u':' && i + 1 < n && isNameStart(sql[i + 1])) {
            t.kind = TokenKind::Param;
            ++i;
            while (i < n && isNamePart(sql[i])) ++i;
        } else if (isNameStart(c)) {
            t.kind = TokenKind::Word;
            while (i < n && isNamePart(sql[i])) ++i;
        } else {
            t.kind = TokenKind::Symbol;
            static const char* twoChar[] = {"<>", "!=", "<=", ">=", "!<", "!>", "||", "::"};
            const QString two = sql.mid(i, 2);
            bool matched = false;
            for (const char* s : twoChar) {
                if (two == QLatin1String(s)) matched = true;
            }
            i += matched ? 2 : 1;
        }
        t.len = i - t.pos;
        t.text = sql.mid(t.pos, t.len);
        if (t.kind == TokenKind::Word || t.kind == TokenKind::Number || t.kind == TokenKind::Variable ||
            t.kind == TokenKind::Param || t.kind == TokenKind::Symbol) {
            t.value = t.text;
        }
        out.push_back(std::move(t));
    }
    return out;
}

QString sqlName(const QString& name) {
    QString v = name;
    v.replace(u'"', QLatin1String("\"\""));
    return u'"' + v + u'"';
}


}  // namespace da
