#pragma once
// Text comparison of the embedded engine. SQL Server compares text under a collation:
// the database default here is case-insensitive and accent-sensitive; the
// accent-insensitive one (Arabic_CI_AI_KS_WS and its kind) also ignores accents and
// Arabic diacritics. Both keep kana type and character width, and both ignore trailing
// blanks as SQL Server's padded comparison does.
#include <QString>

#include <string>

namespace da::embedded {

enum class Folding {
    CaseInsensitive,
    CaseAccentInsensitive
};

// The text as the collation sees it: letter case folded, trailing blanks removed, and
// with CaseAccentInsensitive canonical accents and the marks U+064B..U+065F, U+0670
// removed.
QString foldText(const QString& text, Folding folding);

// Three-way comparison of two UTF-8 texts under the collation (negative, 0, positive).
// Agrees with comparing foldText of both; ASCII runs are compared without decoding.
int compareUtf8(const char* a, int lenA, const char* b, int lenB, Folding folding);

// The bytes two texts share exactly when compareUtf8 finds them equal: the UTF-8 of
// foldText, an ASCII text folded without decoding. Keys of a hashed join.
std::string collationKey(const char* text, int len, Folding folding);

// The SQLite collation names registered for them.
inline constexpr const char* kCollateCi = "TSQL_CI";
inline constexpr const char* kCollateCiAi = "TSQL_CI_AI";

}  // namespace da::embedded
