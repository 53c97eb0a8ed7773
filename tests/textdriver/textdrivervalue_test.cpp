// The shape the type guess sees in a value, and the forced conversions of schema.ini.
#include "dataaccess/embedded/textdriver/textdrivervalue.h"

#include <charconv>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>

using da::embedded::TextValue;

TEST(TextDriverValue, ShapeKeepsTheValuesText) {
    struct Case {
        const char* value;
        TextValue::Shape shape;
        int digits;
    };
    const Case cases[] = {
        {"", TextValue::Empty, 0},
        {"   ", TextValue::Empty, 0},
        {"0", TextValue::Int32, 1},
        {"-2147483648", TextValue::Int32, 10},
        {"2147483648", TextValue::Int64, 10},
        {"-9223372036854775808", TextValue::Int64, 19},
        {"9223372036854775808", TextValue::Text, 0},
        {"12345678901234567890", TextValue::Text, 0},
        {"007", TextValue::Text, 0},
        {"-07", TextValue::Text, 0},
        {"-0", TextValue::Text, 0},
        {"+1", TextValue::Text, 0},
        {"1 2", TextValue::Text, 0},
        {"h1", TextValue::Text, 0},
        {"0.5", TextValue::Float, 1},
        {".5", TextValue::Float, 1},
        {"-12.50", TextValue::Float, 3},
        {"1e5", TextValue::Float, 1},
        {"2.5E-3", TextValue::Float, 2},
        {"00.5", TextValue::Text, 0},
        {"1e", TextValue::Text, 0},
        {".", TextValue::Text, 0},
        {"1e400", TextValue::Text, 0},
        {"123456789012345.6", TextValue::Text, 0},
        {"12345678901234.5", TextValue::Float, 15},
        {"1,5", TextValue::Text, 0},
        {"nan", TextValue::Text, 0},
        {"inf", TextValue::Text, 0},
        {"100.0", TextValue::Float, 1},
        {"0.000", TextValue::Float, 0},
        {"1.500000000000000000000", TextValue::Float, 2},
        {"0.00000000000000001234", TextValue::Float, 4},
    };
    for (const Case& c : cases) {
        const TextValue v = da::embedded::classifyTextValue(c.value);
        EXPECT_EQ(v.shape, c.shape) << c.value;
        if (c.shape != TextValue::Text && c.shape != TextValue::Empty) {
            EXPECT_EQ(v.digits, c.digits) << c.value;
        }
    }
    EXPECT_EQ(da::embedded::classifyTextValue("-9223372036854775808").integer, INT64_MIN);
    EXPECT_EQ(da::embedded::classifyTextValue(" -42 ").integer, -42);
    EXPECT_EQ(da::embedded::classifyTextValue("2.5E-3").real, 0.0025);
    EXPECT_EQ(da::embedded::classifyTextValue("1.500000000000000000000").real, 1.5);
    EXPECT_EQ(da::embedded::classifyTextValue("0.00000000000000001234").real, 1.234e-17);
}

TEST(TextDriverValue, ForcedConversions) {
    std::int64_t n = 0;
    EXPECT_TRUE(da::embedded::parseForcedInteger(" +007 ", n));
    EXPECT_EQ(n, 7);
    EXPECT_FALSE(da::embedded::parseForcedInteger("1.5", n));
    EXPECT_FALSE(da::embedded::parseForcedInteger("99999999999999999999", n));
    double d = 0;
    EXPECT_TRUE(da::embedded::parseForcedDouble("+1.25", d));
    EXPECT_EQ(d, 1.25);
    EXPECT_FALSE(da::embedded::parseForcedDouble("1.2.3", d));
    bool b = false;
    for (const char* yes : {"True", "YES", "on", "-1", "1"}) {
        EXPECT_TRUE(da::embedded::parseForcedBit(yes, b) && b) << yes;
    }
    for (const char* no : {"false", "No", "OFF", "0"}) {
        EXPECT_TRUE(da::embedded::parseForcedBit(no, b) && !b) << no;
    }
    EXPECT_FALSE(da::embedded::parseForcedBit("maybe", b));
}

TEST(TextDriverValue, FloatsReadAsTheCorrectlyRoundedDouble) {
    std::mt19937_64 rng(7);
    char text[64];
    for (int i = 0; i < 200000; ++i) {
        const long long mantissa = static_cast<long long>(rng() % 1000000000000000ULL);
        const int point = static_cast<int>(rng() % 16);
        const int exponent = static_cast<int>(rng() % 61) - 30;
        const bool withExponent = i % 3 == 0;
        int n = std::snprintf(text, sizeof text, "%s%lld", i % 2 ? "-" : "", mantissa);
        // A point inside the digits, or after them.
        std::string s(text, static_cast<size_t>(n));
        const size_t digitsBegin = s[0] == '-' ? 1 : 0;
        const size_t at = std::max(digitsBegin + 1, s.size() - std::min<size_t>(static_cast<size_t>(point), s.size() - digitsBegin - 1));
        s.insert(at, ".");
        if (withExponent)
            s += "e" + std::to_string(exponent);
        const TextValue v = da::embedded::classifyTextValue(s);
        double expected = 0;
        std::from_chars(s.data(), s.data() + s.size(), expected);
        ASSERT_EQ(v.shape, TextValue::Float) << s;
        ASSERT_EQ(v.real, expected) << s;
    }
}
