#include "resultwriter.h"

#include "platform/formatsettings.h"

namespace bvsql {

QString formatValue(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return plat::formatGeneral(value.toDouble());
    case QMetaType::QByteArray:
        return QStringLiteral("0x") + QString::fromLatin1(value.toByteArray().toHex().toUpper());
    default: {
        QString text = value.toString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        for (QChar& c : text) {
            if (c == u'\t' || c == u'\r' || c == u'\n')
                c = u' ';
        }
        return text;
    }
    }
}

QString formatResult(const da::ResultSet& result) {
    if (!result.hasRows)
        return {};
    QString out = result.columns.join(u'\t') + u'\n';
    for (const auto& row : result.rows) {
        QStringList cells;
        cells.reserve(qsizetype(row.size()));
        for (const QVariant& v : row)
            cells.append(formatValue(v));
        out += cells.join(u'\t') + u'\n';
    }
    return out;
}

QString formatError(const da::SqlError& error) {
    QStringList numbers;
    if (error.nativeError() != 0)
        numbers << QStringLiteral("error %1").arg(error.nativeError());
    if (!error.sqlState().isEmpty())
        numbers << QStringLiteral("SQLSTATE %1").arg(error.sqlState());
    if (numbers.isEmpty())
        return error.message();
    return error.message() + QStringLiteral(" (") + numbers.join(QStringLiteral(", ")) + u')';
}

}  // namespace bvsql
