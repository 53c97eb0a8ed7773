// The small value helpers and the runtime's integer conversion they rest on.
#include "tests/fixtures/toolsfixture.h"

#include "platform/convert.h"

#include <climits>
#include <optional>

namespace {

class HelpersTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        create();
    }
};

struct ToIntRow {
    double num;
    std::optional<int> result;  // nullopt: the conversion error
    const char* errorText;      // the error text of the error rows
};

TEST_F(HelpersTest, ToIntTruncatesTowardZeroOrRaisesTheConversionError) {
    const ToIntRow rows[] = {
        {0.5, 0, nullptr},
        {3.7, 3, nullptr},
        {-3.7, -3, nullptr},
        {-0.5, 0, nullptr},  // "-0" is 0
        {0, 0, nullptr},
        {42, 42, nullptr},
        {2147483647.99, 2147483647, nullptr},
        {-2147483648.5, INT_MIN, nullptr},
        {2147483648.0, std::nullopt, "''2147483648'' is not a valid integer value"},
        {1E20, std::nullopt, "''1E20'' is not a valid integer value"},
        {1E15, std::nullopt, "''1E15'' is not a valid integer value"},
        {0.000001, std::nullopt, "''1E-6'' is not a valid integer value"},
        // Exponent forms with a point raise as a whole, never answer their first digit.
        {1.5E20, std::nullopt, "''1.5E20'' is not a valid integer value"},
        {-2.5E-7, std::nullopt, "''-2.5E-7'' is not a valid integer value"},
    };
    for (const ToIntRow& row : rows) {
        SCOPED_TRACE(row.num);
        if (row.result) {
            EXPECT_EQ(tools->ToInt(row.num), *row.result);
            continue;
        }
        try {
            tools->ToInt(row.num);
            ADD_FAILURE() << "no conversion error";
        } catch (const plat::ConvertError& e) {
            EXPECT_EQ(e.message(), row.errorText);
        }
    }
}

TEST_F(HelpersTest, ToIntWithAnotherDecimalSeparatorRaises) {
    plat::formatSettings().decimalSeparator = u',';
    EXPECT_EQ(tools->ToInt(3.0), 3);
    try {
        tools->ToInt(3.7);
        ADD_FAILURE() << "no conversion error";
    } catch (const plat::ConvertError& e) {
        EXPECT_EQ(e.message(), "''3,7'' is not a valid integer value");
    }
}

TEST_F(HelpersTest, To2DigitFloatRoundsTheStoredValueTiesToEven) {
    const struct {
        double in, out;
    } rows[] = {
        {0.125, 0.12},
        {0.375, 0.38},
        {-0.125, -0.12},
        {1.005, 1},  // 1.005 is stored below
        {2.675, 2.67},
        {0.015, 0.01},  // stored below the tie
        {0.005, 0.01},
        {0.025, 0.03},
        {12.345, 12.35},  // stored above the tie
        {1.234, 1.23},
        {1.236, 1.24},
        {-1.236, -1.24},
        {7, 7},
        {0, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(tools->To2DigitFloat(row.in), row.out) << row.in;
}

TEST_F(HelpersTest, IsValidNumLooksAtCharactersOnly) {
    const struct {
        const char16_t* text;
        bool valid;
    } rows[] = {
        {u"", true},
        {u"123", true},
        {u"1-2.3-", true},
        {u"-.-", true},
        {u"1,5", false},
        {u"1/5", false},
        {u" 1", false},
        {u"1e5", false},
        {u"+1", false},
        {u"۱۲", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(tools->IsValidNum(QString::fromUtf16(row.text)), row.valid) << QString::fromUtf16(row.text).toStdString();
}

TEST_F(HelpersTest, IsBlankTrimsEveryCharacterUpToCode32) {
    const struct {
        const char16_t* text;
        bool blank;
    } rows[] = {
        {u"", true},
        {u"   ", true},
        {u"\t\r\n", true},
        {u"\x01\x1f ", true},
        {u" a ", false},
        {u"\x00a0", false},  // no-break space is not a blank
        {u"\t.\t", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(tools->IsBlank(QString::fromUtf16(row.text)), row.blank);
}

TEST_F(HelpersTest, RemoveRLBLankRemovesOnlyTheBlankCharacter) {
    const struct {
        const char16_t* in;
        const char16_t* out;
    } rows[] = {
        {u"   ", u"   "},  // blank texts come back unchanged
        {u"\t\n", u"\t\n"},
        {u"", u""},
        {u" a ", u"a"},
        {u"  a b  ", u"a b"},
        {u"\t a \t", u"\t a \t"},  // the ends are tabs: nothing to remove
        {u"  a\t", u"a\t"},
        {u" \ta", u"\ta"},
        {u"abc", u"abc"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(tools->RemoveRLBLank(QString::fromUtf16(row.in)), QString::fromUtf16(row.out));
}

TEST_F(HelpersTest, SetStringListReplacesTheListWith51EmptyLines) {
    QStringList* list = nullptr;
    tools->SetStringList(list);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(*list, QStringList(51, QString()));
    list->append("kept?");
    tools->SetStringList(list);
    EXPECT_EQ(*list, QStringList(51, QString()));
    delete list;
}

TEST(StrToInt, FollowsTheRuntimeRules) {
    const struct {
        const char* text;
        std::optional<int> value;
    } rows[] = {
        {"12", 12},
        {"  12", 12},
        {"+7", 7},
        {"-0", 0},
        {"$1F", 31},
        {"0x10", 16},
        {"$FFFFFFFF", -1},
        {"-2147483648", INT_MIN},
        {"2147483647", INT_MAX},
        {"2147483648", std::nullopt},
        {"12 ", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1.5", std::nullopt},
        {"1E5", std::nullopt},
        {"\t1", std::nullopt},
        {"$", std::nullopt},
        {"$100000000", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        if (row.value)
            EXPECT_EQ(plat::strToInt(row.text), *row.value);
        else
            EXPECT_THROW(plat::strToInt(row.text), plat::ConvertError);
    }
}

}  // namespace
