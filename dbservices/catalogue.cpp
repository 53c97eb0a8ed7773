#include "catalogue.h"

#include "dataaccess/sqlquote.h"
#include "platform/ansicodec.h"

namespace catalogue {

QString storedText(const QStringList& commands) {
    QString text;
    for (const QString& line : commands)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString sectionFilter(const QString& sec) { return QStringLiteral("Sec=") + da::sqlString(sec); }

QStringList procedureLines(const QString& sec, const std::vector<ProcedureColumn>& columns) {
    QStringList built;
    built << QStringLiteral("CREATE PROCEDURE [_AutoCompute_") + sec + QStringLiteral("] As Begin Select ");
    for (const ProcedureColumn& c : columns)
        built << u'(' + c.sqlCmd + QStringLiteral(")[") + c.titr + QStringLiteral("],");
    // The last column's comma (or the header's own final blank) becomes a blank.
    QString& last = built.last();
    last[last.size() - 1] = u' ';
    built << QStringLiteral("Into [_") + sec + QStringLiteral("] End");
    return plat::splitLines(built.join(QStringLiteral("\r\n")));
}

}  // namespace catalogue
