#include "textcollation.h"

namespace da::embedded {

namespace {

bool isArabicDiacritic(char16_t c) { return (c >= 0x064B && c <= 0x065F) || c == 0x0670; }

// Appends c with its canonical accents removed (width and compatibility forms kept).
void appendWithoutAccents(QString& out, QChar c) {
    if (isArabicDiacritic(c.unicode()) || c.category() == QChar::Mark_NonSpacing) return;
    if (c.decompositionTag() == QChar::Canonical) {
        const QString d = c.decomposition();
        for (QChar part : d) appendWithoutAccents(out, part);
        return;
    }
    out += c;
}

int trimmedLength(const char* s, int len) {
    while (len > 0 && s[len - 1] == ' ') --len;
    return len;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

QString foldText(const QString& text, Folding folding) {
    int len = text.size();
    while (len > 0 && text[len - 1] == u' ') --len;
    QString out;
    out.reserve(len);
    for (int i = 0; i < len; ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            out += QChar(lowerAscii(static_cast<char>(c.unicode())));
        } else if (folding == Folding::CaseAccentInsensitive) {
            QString stripped;
            appendWithoutAccents(stripped, c);
            out += stripped.toCaseFolded();
        } else {
            out += c.toCaseFolded();
        }
    }
    return out;
}

int compareUtf8(const char* a, int lenA, const char* b, int lenB, Folding folding) {
    lenA = trimmedLength(a, lenA);
    lenB = trimmedLength(b, lenB);
    int i = 0;
    const int common = std::min(lenA, lenB);
    // ASCII prefix: byte comparison after folding the letter case.
    for (; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca >= 0x80 || cb >= 0x80) break;
        const char la = lowerAscii(static_cast<char>(ca));
        const char lb = lowerAscii(static_cast<char>(cb));
        if (la != lb) return la < lb ? -1 : 1;
    }
    if (i == lenA && i == lenB) return 0;
    const bool restAscii = [&] {
        for (int k = i; k < lenA; ++k) {
            if (static_cast<unsigned char>(a[k]) >= 0x80) return false;
        }
        for (int k = i; k < lenB; ++k) {
            if (static_cast<unsigned char>(b[k]) >= 0x80) return false;
        }
        return true;
    }();
    if (restAscii) return lenA == lenB ? 0 : (lenA < lenB ? -1 : 1);
    // The folded prefixes are equal: the suffixes decide.
    const QString fa = foldText(QString::fromUtf8(a + i, lenA - i), folding);
    const QString fb = foldText(QString::fromUtf8(b + i, lenB - i), folding);
    const int r = QString::compare(fa, fb, Qt::CaseSensitive);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string collationKey(const char* text, int len, Folding folding) {
    len = trimmedLength(text, len);
    std::string key(text, static_cast<size_t>(len));
    for (char& c : key) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return foldText(QString::fromUtf8(text, len), folding).toStdString();
        c = lowerAscii(c);
    }
    return key;
}

}  // namespace da::embedded
