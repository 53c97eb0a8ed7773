#pragma once
// The toolkit's two text scramblings. Each is its own inverse: scrambling a scrambled
// text gives the original back. Both work on 16-bit code units and keep the length.
#include <QString>

namespace conn {

// Code unit k (counting from 1) xor 2k: 2, 4, 6, ... The credentials file uses it.
QString positionScramble(const QString& text);
// Every code unit xor 1.
QString simpleScramble(const QString& text);

}  // namespace conn
