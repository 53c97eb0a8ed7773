// The section of schema.ini that describes a file.
#include "dataaccess/embedded/textdriver/schemaini.h"
#include "dataaccess/sqlerror.h"

#include <gtest/gtest.h>

using namespace da::embedded;

TEST(SchemaIni, ReadsTheFilesSection) {
    const QStringList lines = {
        "[other.csv]",
        "Format=TabDelimited",
        "[BV.txt]",
        "format = Delimited(|)",
        "ColNameHeader=false",
        "MaxScanRows=0",
        "CharacterSet=OEM",
        "Col1=RegNo Text",
        "Col3=\"Milk Avg\" Double",
        "col2=Serial Long",
        "DecimalSymbol=.",
        "[after.txt]",
        "Format=CSVDelimited",
    };
    const SchemaIni ini = parseSchemaIni(lines, QStringLiteral("bv.TXT"), QStringLiteral("schema.ini"));
    EXPECT_EQ(ini.delimiter, '|');
    EXPECT_FALSE(ini.colNameHeader);
    EXPECT_EQ(ini.maxScanRows, 0);
    EXPECT_EQ(ini.charset, TextCharset::Oem);
    ASSERT_EQ(ini.columns.size(), 3u);
    EXPECT_EQ(ini.columns.at(1).name, "RegNo");
    EXPECT_EQ(ini.columns.at(1).type, TextColumnType::Text);
    EXPECT_EQ(ini.columns.at(2).type, TextColumnType::Int);
    EXPECT_EQ(ini.columns.at(3).name, "Milk Avg");
    EXPECT_EQ(ini.columns.at(3).type, TextColumnType::Float);
}

TEST(SchemaIni, DefaultsWithoutASection) {
    const SchemaIni ini = parseSchemaIni({"[x.txt]", "Format=TabDelimited"}, QStringLiteral("bv.txt"), QStringLiteral("schema.ini"));
    EXPECT_EQ(ini.delimiter, ',');
    EXPECT_TRUE(ini.colNameHeader);
    EXPECT_EQ(ini.maxScanRows, 25);
    EXPECT_FALSE(ini.charset.has_value());
    EXPECT_TRUE(ini.columns.empty());
}

TEST(SchemaIni, CharacterSetsByNameAndNumber) {
    const std::pair<const char*, TextCharset> cases[] = {
        {"ANSI", TextCharset::Ansi},
        {"1256", TextCharset::Ansi},
        {"oem", TextCharset::Oem},
        {"720", TextCharset::Oem},
        {"UTF-8", TextCharset::Utf8},
        {"65001", TextCharset::Utf8},
        {"Unicode", TextCharset::Utf16LE},
        {"1200", TextCharset::Utf16LE},
    };
    for (const auto& [name, charset] : cases) {
        const SchemaIni ini = parseSchemaIni({"[bv.txt]", QStringLiteral("CharacterSet=") + name}, QStringLiteral("bv.txt"),
                                             QStringLiteral("schema.ini"));
        EXPECT_EQ(ini.charset, charset) << name;
    }
}

TEST(SchemaIni, EntriesItCannotUseAreNamedWithTheirLine) {
    const char* bad[] = {
        "Format=FixedLength",
        "Format=Delimited(\")",
        "Format=Delimited()",
        "ColNameHeader=maybe",
        "MaxScanRows=-1",
        "MaxScanRows=many",
        "CharacterSet=EBCDIC",
        "Col1=RegNo Blob",
        "Col1=RegNo",
        "Col0=RegNo Text",
        "Col1=RegNo Text Width 0",
        "no equals sign",
    };
    for (const char* entry : bad) {
        try {
            parseSchemaIni({"[bv.txt]", "; fine", entry}, QStringLiteral("bv.txt"), QStringLiteral("schema.ini"));
            ADD_FAILURE() << "accepted " << entry;
        } catch (const da::SqlError& e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("schema.ini, line 3: "))) << e.message().toStdString();
        }
    }
}
