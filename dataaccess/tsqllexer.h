#pragma once
// Tokens of a T-SQL text: for the embedded engine's statement recogniser and for the
// front end's parameter count and record filters.
#include "dataaccess/sqlquote.h"

#include <QString>
#include <vector>

namespace da {

enum class TokenKind {
    Word,    // keyword or bare name
    Quoted,  // [name] or "name"; value is the name without brackets
    String,  // 'text' or N'text'; value is the text with quotes undoubled
    Number,
    Variable,  // @name or @@name
    Param,     // ? or :name (client parameter markers)
    Symbol,    // operators and punctuation, one or two characters
};

struct Token {
    TokenKind kind = TokenKind::Symbol;
    QString text;   // as written
    QString value;  // names unquoted, literals unescaped
    int pos = 0;    // offset in the source text
    int len = 0;

    bool isWord(const char* keyword) const;  // case-insensitive, bare words only
    bool isSymbol(const char* symbol) const;
    bool isName() const { return kind == TokenKind::Word || kind == TokenKind::Quoted; }
};

using Tokens = std::vector<Token>;

// Splits a text into tokens; blanks and comments are dropped. Throws SqlError for an
// unterminated literal, name or comment.
Tokens tokenize(const QString& sql);

// SQLite spellings.
QString sqlName(const QString& name);  // "name" with inner quotes doubled

}  // namespace da
