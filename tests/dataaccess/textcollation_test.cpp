// The default and the accent-insensitive text comparison.
#include "dataaccess/embedded/textcollation.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace da::embedded {
namespace {

int compare(const QString& a, const QString& b, Folding f) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compareUtf8(ua.constData(), static_cast<int>(ua.size()), ub.constData(), static_cast<int>(ub.size()), f);
}

TEST(TextCollation, EqualityUnderBothFoldings) {
    const struct {
        const char16_t* a;
        const char16_t* b;
        bool equalCi;
        bool equalCiAi;
    } cases[] = {
        {u"abc", u"ABC", true, true},
        {u"abc", u"abc  ", true, true},        // trailing blanks do not count
        {u"abc", u"  abc", false, false},      // leading ones do
        {u"caf\u00e9", u"CAFE", false, true},  // accents
        {u"caf\u00e9", u"CAF\u00c9", true, true},
        {u"\u0643\u062a\u0627\u0628", u"\u0643\u064e\u062a\u0627\u0628", false, true},  // fatha
        {u"\u0645\u0670", u"\u0645", false, true},                                      // superscript alef
        {u"\uff21", u"A", false, false},                                                // full width stays apart
        {u"\u30a2", u"\u3042", false, false},                                           // kana type stays apart
        {u"12", u"13", false, false},
    };
    for (const auto& c : cases) {
        const QString a = QString::fromUtf16(c.a);
        const QString b = QString::fromUtf16(c.b);
        EXPECT_EQ(compare(a, b, Folding::CaseInsensitive) == 0, c.equalCi) << a.toStdString() << " / " << b.toStdString();
        EXPECT_EQ(compare(a, b, Folding::CaseAccentInsensitive) == 0, c.equalCiAi)
            << a.toStdString() << " / " << b.toStdString();
    }
}

TEST(TextCollation, OrderAgreesWithFoldedText) {
    const QStringList words = {QStringLiteral("a"), QStringLiteral("B"), QStringLiteral("\u00e9t\u00e9"),
                               QStringLiteral("ete"), QStringLiteral("Z"), QStringLiteral("\u0643\u062a\u0628"),
                               QStringLiteral("ab"), QStringLiteral("a\u0301b"), QStringLiteral("")};
    for (Folding f : {Folding::CaseInsensitive, Folding::CaseAccentInsensitive}) {
        for (const QString& a : words) {
            for (const QString& b : words) {
                const int expected = QString::compare(foldText(a, f), foldText(b, f));
                const int got = compare(a, b, f);
                EXPECT_EQ(got < 0, expected < 0) << a.toStdString() << " " << b.toStdString();
                EXPECT_EQ(got == 0, expected == 0) << a.toStdString() << " " << b.toStdString();
                EXPECT_EQ(got, -compare(b, a, f));
            }
        }
    }
}

// A hashed join finds rows by key: keys must be equal exactly when the texts compare
// equal, or the join loses or invents rows.
TEST(TextCollation, KeysEqualExactlyWhenTextsCompareEqual) {
    const QStringList words = {QStringLiteral("abc"), QStringLiteral("ABC  "), QStringLiteral("  abc"),
                               QStringLiteral("caf\u00e9"), QStringLiteral("CAFE"), QStringLiteral("CAF\u00c9"),
                               QStringLiteral("\u0643\u062a\u0627\u0628"), QStringLiteral("\u0643\u064e\u062a\u0627\u0628 "),
                               QStringLiteral("\u212a"), QStringLiteral("k"), QStringLiteral("\uff21"), QStringLiteral("A"),
                               QStringLiteral(""), QStringLiteral("   "), QStringLiteral("x\u0301y"), QStringLiteral("XY")};
    for (Folding f : {Folding::CaseInsensitive, Folding::CaseAccentInsensitive}) {
        for (const QString& a : words) {
            for (const QString& b : words) {
                const QByteArray ua = a.toUtf8();
                const QByteArray ub = b.toUtf8();
                const bool keysEqual = collationKey(ua.constData(), static_cast<int>(ua.size()), f) ==
                                       collationKey(ub.constData(), static_cast<int>(ub.size()), f);
                EXPECT_EQ(keysEqual, compare(a, b, f) == 0) << a.toStdString() << " / " << b.toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace da::embedded
