// The catalogue's texts without a database: stored entry text, the section filter as the
// table's filter reads it, and the procedure text.
#include "dataaccess/recordfilter.h"
#include "dbservices/catalogue.h"

#include <gtest/gtest.h>

using catalogue::ProcedureColumn;

TEST(CatalogueText, EveryCommandLineEndsInCrLf) {
    EXPECT_EQ(catalogue::storedText({}), QString());
    EXPECT_EQ(catalogue::storedText({QString()}), QStringLiteral("\r\n"));
    EXPECT_EQ(catalogue::storedText({QStringLiteral("a"), QStringLiteral(" b ")}), QStringLiteral("a\r\n b \r\n"));
}

TEST(CatalogueText, SectionFilterSelectsExactlyItsSection) {
    struct Case {
        const char* sec;
        const char* row;
        bool matches;
    };
    const Case cases[] = {
        {"Herd", "Herd", true},         {"Herd", "herd", false},   {"Herd", "Herd ", false},
        {"O'Brien", "O'Brien", true},   {"O'Brien", "O", false},   {"'", "'", true},
        {"x' OR 'a'='a", "Herd", false}, {"", "", true},            {"a;]}", "a;]}", true},
    };
    for (const Case& c : cases) {
        const da::RecordFilter filter(catalogue::sectionFilter(QString::fromUtf8(c.sec)));
        const QVariant value = QString::fromUtf8(c.row);
        const bool got = filter.matches([&](const QString& name) -> const QVariant* {
            return name.compare(QLatin1String("Sec"), Qt::CaseInsensitive) == 0 ? &value : nullptr;
        });
        EXPECT_EQ(got, c.matches) << c.sec << " / " << c.row;
    }
}

TEST(CatalogueText, ProcedureLines) {
    struct Case {
        const char* name;
        QString sec;
        std::vector<ProcedureColumn> columns;
        QStringList expected;
    };
    const Case cases[] = {
        {"two columns",
         QStringLiteral("Herd"),
         {{QStringLiteral("Select Count(*) From Main"), QStringLiteral("Cows")}, {QStringLiteral("Select 0"), QStringLiteral("Bulls")}},
         {QStringLiteral("CREATE PROCEDURE [_AutoCompute_Herd] As Begin Select "), QStringLiteral("(Select Count(*) From Main)[Cows],"),
          QStringLiteral("(Select 0)[Bulls] "), QStringLiteral("Into [_Herd] End")}},
        {"no column keeps the header's blank",
         QStringLiteral("Empty"),
         {},
         {QStringLiteral("CREATE PROCEDURE [_AutoCompute_Empty] As Begin Select "), QStringLiteral("Into [_Empty] End")}},
        {"texts of several lines and stored line ends",
         QStringLiteral("S"),
         {{QStringLiteral("Select 1\r\n"), QStringLiteral("A")}, {QStringLiteral("Select\r\n2"), QStringLiteral("B")}},
         {QStringLiteral("CREATE PROCEDURE [_AutoCompute_S] As Begin Select "), QStringLiteral("(Select 1"), QStringLiteral(")[A],"),
          QStringLiteral("(Select"), QStringLiteral("2)[B] "), QStringLiteral("Into [_S] End")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(catalogue::procedureLines(c.sec, c.columns), c.expected) << c.name;
}
