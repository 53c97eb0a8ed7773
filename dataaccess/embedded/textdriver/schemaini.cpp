#include "schemaini.h"

#include "dataaccess/sqlerror.h"
#include "platform/ansicodec.h"

#include <QRegularExpression>
#include <stdexcept>

namespace da::embedded {
namespace {

[[noreturn]] void iniError(const QString& iniName, int line, const QString& what) {
    throw SqlError(QStringLiteral("%1, line %2: %3").arg(iniName).arg(line).arg(what));
}

bool parseFlag(const QString& v, bool& out) {
    const QString t = v.toLower();
    if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("1")) {
        out = true;
        return true;
    }
    if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("0")) {
        out = false;
        return true;
    }
    return false;
}

std::optional<TextCharset> parseCharset(const QString& v) {
    const QString t = v.toLower();
    if (t == QLatin1String("ansi") || t == QLatin1String("1256"))
        return TextCharset::Ansi;
    if (t == QLatin1String("oem") || t == QLatin1String("720"))
        return TextCharset::Oem;
    if (t == QLatin1String("utf-8") || t == QLatin1String("utf8") || t == QLatin1String("65001"))
        return TextCharset::Utf8;
    if (t == QLatin1String("unicode") || t == QLatin1String("1200"))
        return TextCharset::Utf16LE;
    return std::nullopt;
}

std::optional<char> parseFormat(const QString& v) {
    const QString t = v.toLower();
    if (t == QLatin1String("csvdelimited"))
        return ',';
    if (t == QLatin1String("tabdelimited"))
        return '\t';
    if (t.size() == 12 && t.startsWith(QLatin1String("delimited(")) && t.endsWith(u')')) {
        const QChar c = v.at(10);
        // One ASCII character that cannot be taken for a line end or a quote.
        if (c.unicode() > 0 && c.unicode() < 0x80 && c != u'"' && c != u'\r' && c != u'\n')
            return static_cast<char>(c.unicode());
    }
    return std::nullopt;
}

std::optional<TextColumnType> parseColumnType(const QString& v) {
    const QString t = v.toLower();
    if (t == QLatin1String("text") || t == QLatin1String("char") || t == QLatin1String("longchar") || t == QLatin1String("memo"))
        return TextColumnType::Text;
    // Dates stay as written: the farm's dates are solar dates, which no date type holds.
    if (t == QLatin1String("date") || t == QLatin1String("datetime"))
        return TextColumnType::Text;
    if (t == QLatin1String("integer") || t == QLatin1String("long") || t == QLatin1String("short") || t == QLatin1String("byte"))
        return TextColumnType::Int;
    if (t == QLatin1String("double") || t == QLatin1String("float") || t == QLatin1String("single") || t == QLatin1String("currency"))
        return TextColumnType::Float;
    if (t == QLatin1String("bit"))
        return TextColumnType::Bit;
    return std::nullopt;
}

// Name Type [Width n]; a name holding blanks is written in double quotes.
std::optional<SchemaIniColumn> parseColumn(const QString& v) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:\"([^\"]+)\"|(\\S+))\\s+(\\S+)(?:\\s+width\\s+(\\d+))?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(v);
    if (!m.hasMatch())
        return std::nullopt;
    const auto type = parseColumnType(m.captured(3));
    if (!type)
        return std::nullopt;
    SchemaIniColumn col;
    col.name = m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
    col.type = *type;
    if (*type == TextColumnType::Text && m.hasCaptured(4)) {
        bool ok = false;
        col.width = m.captured(4).toInt(&ok);
        if (!ok || col.width < 1 || col.width > 4000)
            return std::nullopt;
    }
    return col;
}

}  // namespace

SchemaIni parseSchemaIni(const QStringList& lines, const QString& fileName, const QString& iniName) {
    SchemaIni ini;
    bool inSection = false;
    static const QRegularExpression colKey(QStringLiteral("^col(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const int lineNo = i + 1;
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            inSection = line.endsWith(u']') && line.mid(1, line.size() - 2).trimmed().compare(fileName, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            iniError(iniName, lineNo, QStringLiteral("'%1' is not a key=value entry.").arg(line));
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        const QString k = key.toLower();
        if (k == QLatin1String("format")) {
            const auto delimiter = parseFormat(value);
            if (!delimiter)
                iniError(iniName, lineNo, QStringLiteral("Format=%1 is not CSVDelimited, TabDelimited or Delimited(c).").arg(value));
            ini.delimiter = *delimiter;
        } else if (k == QLatin1String("colnameheader")) {
            if (!parseFlag(value, ini.colNameHeader))
                iniError(iniName, lineNo, QStringLiteral("ColNameHeader=%1 is neither True nor False.").arg(value));
        } else if (k == QLatin1String("maxscanrows")) {
            bool ok = false;
            ini.maxScanRows = value.toInt(&ok);
            if (!ok || ini.maxScanRows < 0)
                iniError(iniName, lineNo, QStringLiteral("MaxScanRows=%1 is not a number of rows.").arg(value));
        } else if (k == QLatin1String("characterset")) {
            ini.charset = parseCharset(value);
            if (!ini.charset)
                iniError(iniName, lineNo, QStringLiteral("CharacterSet=%1 is not ANSI, OEM, UTF-8 or Unicode.").arg(value));
        } else if (const QRegularExpressionMatch m = colKey.match(key); m.hasMatch()) {
            const int n = m.captured(1).toInt();
            const auto col = parseColumn(value);
            if (n < 1 || !col)
                iniError(iniName, lineNo, QStringLiteral("%1=%2 is not a column entry \"Name Type [Width n]\".").arg(key, value));
            ini.columns[n] = *col;
        }
    }
    return ini;
}

SchemaIni readSchemaIni(const QString& dir, const QString& fileName) {
    const QString path = locateFileIgnoringCase(dir, QStringLiteral("schema.ini"));
    if (path.isEmpty())
        return {};
    QStringList lines;
    try {
        lines = plat::loadLines(path);
    } catch (const std::runtime_error& e) {
        throw SqlError(QString::fromStdString(e.what()));
    }
    return parseSchemaIni(lines, fileName, QStringLiteral("schema.ini"));
}

}  // namespace da::embedded
