#pragma once
// Quoting of values and names in the SQL texts the program builds.
#include <QString>

namespace da {

// An SQL string literal: the text in single quotes, every inner quote doubled.
QString sqlString(const QString& text);

// A bracketed T-SQL name, every inner "]" doubled.
QString bracketedName(const QString& name);

}  // namespace da
