#include "sqlquote.h"

namespace da {

QString sqlString(const QString& text) {
    QString inner = text;
    inner.replace(u'\'', QLatin1String("''"));
    return u'\'' + inner + u'\'';
}

QString bracketedName(const QString& name) {
    QString inner = name;
    inner.replace(u']', QLatin1String("]]"));
    return u'[' + inner + u']';
}

}  // namespace da
