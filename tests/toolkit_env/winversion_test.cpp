// The version text and WinVer for every row of the version table, through the version
// stand-in and its environment variable.
#include "tests/fixtures/toolsfixture.h"

#include "platform/winversion.h"

#include <cctype>
#include <ostream>
#include <string>

namespace {

struct VersionRow {
    const char* env;  // BVT_WINVER; nullptr: unset
    const char* text;
    int winVer;
};

const VersionRow kRows[] = {
    {nullptr, "610-wvSeven", 610},  // this platform's default
    {"1;4;0;", "400-wvWin95", 400},
    {"1;4;10; A ", "410-wvWin98SE", 410},
    {"1;4;10;", "411-wvWin98", 411},
    {"1;4;10;A", "411-wvWin98", 411},  // the second character decides
    {"1;4;10; B", "411-wvWin98", 411},
    {"1;4;90;", "490-wvWinME", 490},
    {"1;4;20;", "491-wvUnknown", 491},
    {"1;5;0;", "491-wvUnknown", 491},
    {"2;3;51;", "433-wvWinNT", 433},
    {"2;4;0;Service Pack 6", "433-wvWinNT", 433},
    {"2;5;0;", "500-wvWin2000", 500},
    {"2;5;1;Service Pack 2", "510-wvWinXP", 510},
    {"2;5;2;", "520-wv2003Server", 520},
    {"2;5;3;", "000-wvUnknown", 0},
    {"2;6;0;;WinNT", "600-wvWinVista", 600},
    {"2;6;0;;winnt", "600-wvWinVista", 600},
    {"2;6;0;;LanmanNT", "607-wv2008Server", 607},
    {"2;6;0;;ServerNT", "607-wv2008Server", 607},
    {"2;6;0;;SERVERNT", "607-wv2008Server", 607},
    {"2;6;0;;Embedded", "600-wvWinVista", 600},  // unknown type
    {"2;6;0;", "600-wvWinVista", 600},           // key cannot be opened
    {"2;6;1;Service Pack 1;WinNT", "610-wvSeven", 610},
    {"2;6;2;;WinNT", "000-wvUnknown", 0},
    {"2;7;0;;WinNT", "000-wvUnknown", 0},
    {"2;10;0;;WinNT", "000-wvUnknown", 0},
    {"0;3;1;", "000-wvUnknown", 0},  // Win32s
    {"3;6;1;", "000-wvUnknown", 0},
    {"fail", "000-wvUnknown", 0},
    {"2;6", "000-wvUnknown", 0},  // not a version record: the query fails
};

class WinVersionTest : public ToolsFixture, public ::testing::WithParamInterface<VersionRow> {};

TEST_P(WinVersionTest, TextAndCode) {
    const VersionRow& row = GetParam();
    create(row.env ? QByteArray(row.env) : QByteArray());
    EXPECT_EQ(tools->GetWinVersion(), row.text);
    EXPECT_EQ(tools->WinVer, row.winVer);
}

void PrintTo(const VersionRow& row, std::ostream* os) { *os << (row.env ? row.env : "(unset)") << " -> " << row.text; }

std::string rowName(const ::testing::TestParamInfo<VersionRow>& info) {
    std::string name = std::to_string(info.index) + "_" + info.param.text;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryRow, WinVersionTest, ::testing::ValuesIn(kRows), rowName);

// Counts the version queries and answers a version the table does not know.
class CountingSource : public plat::WinVersionSource {
public:
    std::optional<plat::OsVersionInfo> versionInfo() override {
        ++queries;
        return plat::OsVersionInfo{2, 6, 3, QString()};
    }
    std::optional<QString> productType() override { return QStringLiteral("WinNT"); }
    int queries = 0;
};

using UnknownVersionTest = ToolsFixture;

TEST_F(UnknownVersionTest, IsAskedAgainOnEverySwitchAndUsesThePlainLayout) {
    CountingSource source;
    plat::setWinVersionSource(&source);
    TTools& t = create();
    EXPECT_EQ(t.WinVer, 0);
    const int afterCreation = source.queries;
    layouts.clearJournal();
    t.SwitchToFarsi();
    t.SwitchToFarsi();
    EXPECT_EQ(source.queries, afterCreation + 2);
    EXPECT_EQ(t.WinVer, 0);
    EXPECT_EQ(layouts.journal(),
              QStringList({"load 00000429", "activate 00000429", "load 00000429", "activate 00000429"}));
    plat::setWinVersionSource(nullptr);
}

}  // namespace
