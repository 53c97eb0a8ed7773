// The shape the type guess sees in a value, and the forced conversions of schema.ini.
#include "dataaccess/embedded/textdrivervalue.h"

#include <gtest/gtest.h>

using da::embedded::TextValue;

TEST(TextDriverValue, ShapeKeepsTheValuesText) {
    struct Case {
        const char* value;
        TextValue::Shape shape;
        int digits;
    };
    const Case cases[] = {
        {"", TextValue::Empty, 0},           {"   ", TextValue::Empty, 0},
        {"0", TextValue::Int32, 1},          {"-2147483648", TextValue::Int32, 10},
        {"2147483648", TextValue::Int64, 10}, {"-9223372036854775808", TextValue::Int64, 19},
        {"9223372036854775808", TextValue::Text, 0}, {"12345678901234567890", TextValue::Text, 0},
        {"007", TextValue::Text, 0},         {"-07", TextValue::Text, 0},
        {"-0", TextValue::Text, 0},          {"+1", TextValue::Text, 0},
        {"1 2", TextValue::Text, 0},         {"h1", TextValue::Text, 0},
        {"0.5", TextValue::Float, 1},        {".5", TextValue::Float, 1},
        {"-12.50", TextValue::Float, 3},     {"1e5", TextValue::Float, 1},
        {"2.5E-3", TextValue::Float, 2},     {"00.5", TextValue::Text, 0},
        {"1e", TextValue::Text, 0},          {".", TextValue::Text, 0},
        {"1e400", TextValue::Text, 0},       {"123456789012345.6", TextValue::Text, 0},
        {"12345678901234.5", TextValue::Float, 15}, {"1,5", TextValue::Text, 0},
        {"nan", TextValue::Text, 0},         {"inf", TextValue::Text, 0},
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
