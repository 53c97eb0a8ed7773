// The text rules of definition lines and values, without forms.
#include "dbservices/formdef.h"

#include <gtest/gtest.h>

using namespace formdef;

TEST(DefinitionLines, SplitAtTheFirstAndSecondTilde) {
    struct Case {
        const char* line;
        const char* cls;
        const char* name;
        const char* value;
    };
    const Case cases[] = {
        {"TDBEdit~DBEdit1~abc", "TDBEdit", "DBEdit1", "abc"},
        {"TDBEdit~DBEdit1~a~b~", "TDBEdit", "DBEdit1", "a~b~"},
        {"TDBEdit~DBEdit1~ ", "TDBEdit", "DBEdit1", " "},
        {"TDBEdit~DBEdit1", "TDBEdit", "", "DBEdit1"},
        {"no tilde", "", "", "no tilde"},
        {"~~", "", "", ""},
        {"", "", "", ""},
        {"~Name~v", "", "Name", "v"},
    };
    for (const Case& c : cases) {
        const DefinitionLine d = splitDefinitionLine(QString::fromUtf8(c.line));
        EXPECT_EQ(d.className, QString::fromUtf8(c.cls)) << c.line;
        EXPECT_EQ(d.name, QString::fromUtf8(c.name)) << c.line;
        EXPECT_EQ(d.value, QString::fromUtf8(c.value)) << c.line;
    }
    EXPECT_EQ(templateLine(QStringLiteral("TLabel"), QStringLiteral("Label1")), QStringLiteral("TLabel~Label1~ "));
}

TEST(DefinitionLines, TheClassPartChoosesTheKindInAnyLetterCase) {
    struct Case {
        const char* cls;
        ValueKind kind;
    };
    const Case cases[] = {
        {"TDBEdit", ValueKind::Edit},          {"tdbedit", ValueKind::Edit},
        {"TDBComboBox", ValueKind::ComboBox},  {"TDBRadioGroup", ValueKind::RadioGroup},
        {"TRadioGroup", ValueKind::RadioGroup}, {"TDBCheckBox", ValueKind::CheckBox},
        {"TEdit", ValueKind::None},            {"TCheckBox", ValueKind::None},
        {" TDBEdit", ValueKind::None},         {"", ValueKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(valueKind(QString::fromUtf8(c.cls)), c.kind) << c.cls;
}

TEST(DefinitionValues, RadioPositionsAndCheckStates) {
    struct RadioCase {
        const char* value;
        int index;
    };
    const RadioCase radios[] = {{"7", 7}, {"0", 0}, {"-1", -1}, {"-5", -5}, {" 2", 2}, {"2 ", -1},
                                {"two", -1}, {"", -1}, {"1.5", -1}, {"$A", 10}, {"99999999999", -1}};
    for (const RadioCase& c : radios)
        EXPECT_EQ(radioIndex(QString::fromUtf8(c.value)), c.index) << c.value;
    EXPECT_EQ(radioValue(-1), QStringLiteral("-1"));
    EXPECT_EQ(radioValue(2), QStringLiteral("2"));

    struct CheckCase {
        const char* value;
        bool checked;
    };
    const CheckCase checks[] = {{"True", true},  {"true", true},   {"TRUE", true},  {"1", true},    {"-1", true},
                                {"0.5", true},   {"0", false},     {"False", false}, {"", false},   {"yes", false},
                                {"nan", false},  {" True", false}, {"0.0", false}, {"inf", false}};
    for (const CheckCase& c : checks)
        EXPECT_EQ(checkedFromValue(QString::fromUtf8(c.value)), c.checked) << c.value;
    EXPECT_EQ(checkValue(true), QStringLiteral("-1"));
    EXPECT_EQ(checkValue(false), QStringLiteral("0"));
}

TEST(DefinitionValues, CommentAndEmptyFieldLines) {
    struct Case {
        const char* trimmed;
        bool skipped;
    };
    const Case cases[] = {{"", true},          {"//", true},         {"// Name~x", true}, {"   ", true},
                          {"\t", true},        {"/ Name~x", false},  {"Name~//", false},  {"Name~x", false}};
    for (const Case& c : cases)
        EXPECT_EQ(isCommentOrEmpty(QString::fromUtf8(c.trimmed)), c.skipped) << c.trimmed;
}
