#include "platform/formatsettings.h"

#include <gtest/gtest.h>

TEST(FormatGeneral, ShortestFormUpToFifteenDigits) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {3.7, "3.7"},
        {-3.7, "-3.7"},
        {0.5, "0.5"},
        {100, "100"},
        {1e20, "1E20"},
        {1e15, "1E15"},
        {123456789012345.0, "123456789012345"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {1.0 / 3, "0.333333333333333"},
        {2147483648.0, "2147483648"},
        {-1.5e-7, "-1.5E-7"},
        {0.1 + 0.2, "0.3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::formatGeneral(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(FormatGeneral, UsesTheSettingsDecimalSeparator) {
    plat::formatSettings().decimalSeparator = u',';
    EXPECT_EQ(plat::formatGeneral(2.5), QStringLiteral("2,5"));
    plat::formatSettings().decimalSeparator = u'.';
}

TEST(FormatDateTime, SeparatorsAndFields) {
    const QDate d(2011, 12, 8);
    const QTime t(9, 5, 33);
    EXPECT_EQ(plat::formatDateTime(QStringLiteral("dd/mm/yyyy"), d), QStringLiteral("08/12/2011"));
    EXPECT_EQ(plat::formatDateTime(QStringLiteral("HH:mm:ss"), d, t), QStringLiteral("09:05:33"));
    EXPECT_EQ(plat::formatDateTime(QStringLiteral("d/m/yy"), d), QStringLiteral("8/12/11"));
    plat::formatSettings().dateSeparator = u'-';
    plat::formatSettings().timeSeparator = u'.';
    EXPECT_EQ(plat::formatDateTime(QStringLiteral("dd/mm/yyyy"), d), QStringLiteral("08-12-2011"));
    EXPECT_EQ(plat::formatDateTime(QStringLiteral("HH:mm:ss"), d, t), QStringLiteral("09.05.33"));
    plat::formatSettings() = plat::FormatSettings{};
}
