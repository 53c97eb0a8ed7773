#pragma once
// The text driver's description of a file, from the schema.ini beside it.
#include "textdriversource.h"
#include "textdrivervalue.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace da::embedded {

struct SchemaIniColumn {
    QString name;
    TextColumnType type = TextColumnType::Text;
    int width = 0;  // Text Width n; 0: the default 255
};

struct SchemaIni {
    char delimiter = ',';
    bool colNameHeader = true;
    int maxScanRows = 25;                    // 0: every row of the file
    std::optional<TextCharset> charset;      // absent: byte-order mark, else ANSI
    std::map<int, SchemaIniColumn> columns;  // ColN entries by N (from 1)
};

// The section for fileName (its name compared without regard to case) of the
// schema.ini in dir, on top of the text driver's defaults; the defaults alone when there
// is no such file or section. Keys it does not know are ignored. Throws SqlError naming
// schema.ini and the line of an entry it cannot use.
SchemaIni readSchemaIni(const QString& dir, const QString& fileName);

// One section's text, for readSchemaIni and its tests.
SchemaIni parseSchemaIni(const QStringList& lines, const QString& fileName, const QString& iniName);

}  // namespace da::embedded
