// The text rules of definition lines and values, without forms.
#include "dbservices/formdef.h"

#include <QStringList>
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
        {"TDBEdit~DBEdit1~a~b~", "TDBEdit", "DBEdit1", "a~b~"},
        {"TDBEdit~DBEdit1~ ", "TDBEdit", "DBEdit1", " "},
        {"TDBEdit~DBEdit1", "TDBEdit", "", "DBEdit1"},
        {"no tilde", "", "", "no tilde"},
        {"~~", "", "", ""},
        {"~Name~v", "", "Name", "v"},
    };
    for (const Case& c : cases) {
        const DefinitionLine d = splitDefinitionLine(QString::fromUtf8(c.line));
        EXPECT_EQ(QStringList({d.className, d.name, d.value}),
                  QStringList({QString::fromUtf8(c.cls), QString::fromUtf8(c.name), QString::fromUtf8(c.value)}))
            << c.line;
    }
}

// What the form tests do not reach: the runtime's integer forms and numbers that are
// not finite.
TEST(DefinitionValues, RadioPositionsAndCheckStatesAtTheirEdges) {
    const std::pair<const char*, int> radios[] = {{" 2", 2}, {"2 ", -1}, {"1.5", -1}, {"$A", 10}, {"99999999999", -1}};
    for (const auto& [value, index] : radios)
        EXPECT_EQ(radioIndex(QString::fromUtf8(value)), index) << value;
    const std::pair<const char*, bool> checks[] = {{"-1", true}, {"0.5", true}, {"TRUE", true}, {"0.0", false}, {"nan", false}, {"inf", false}, {" True", false}};
    for (const auto& [value, checked] : checks)
        EXPECT_EQ(checkedFromValue(QString::fromUtf8(value)), checked) << value;
}

TEST(DefinitionLines, CommentAndEmptyFieldLines) {
    const std::pair<const char*, bool> cases[] = {{"", true}, {"//", true}, {"// Name~x", true}, {"   ", true}, {"\t", true}, {"/ Name~x", false}, {"Name~//", false}, {"Name~x", false}};
    for (const auto& [line, skipped] : cases)
        EXPECT_EQ(isCommentOrEmpty(QString::fromUtf8(line)), skipped) << line;
}
