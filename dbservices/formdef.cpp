#include "formdef.h"

#include "platform/convert.h"

#include <algorithm>
#include <cmath>

namespace formdef {

Cut cutAtTilde(const QString& line) {
    const qsizetype tilde = line.indexOf(u'~');
    if (tilde < 0)
        return {QString(), line};
    return {line.left(tilde), line.mid(tilde + 1)};
}

DefinitionLine splitDefinitionLine(const QString& line) {
    const Cut first = cutAtTilde(line);
    const Cut second = cutAtTilde(first.rest);
    return {first.head, second.head, second.rest};
}

QString joinDefinitionLine(const QString& className, const QString& name, const QString& value) {
    return className + u'~' + name + u'~' + value;
}

QString templateLine(const QString& className, const QString& name) { return joinDefinitionLine(className, name, QStringLiteral(" ")); }

ValueKind valueKind(const QString& className) {
    const QString c = className.toUpper();
    if (c == QLatin1String("TDBEDIT"))
        return ValueKind::Edit;
    if (c == QLatin1String("TDBCOMBOBOX"))
        return ValueKind::ComboBox;
    if (c == QLatin1String("TDBRADIOGROUP") || c == QLatin1String("TRADIOGROUP"))
        return ValueKind::RadioGroup;
    if (c == QLatin1String("TDBCHECKBOX"))
        return ValueKind::CheckBox;
    return ValueKind::None;
}

QString radioValue(int itemIndex) { return QString::number(itemIndex); }

int radioIndex(const QString& value) {
    int index = -1;
    return plat::tryStrToInt(value, index) ? index : -1;
}

QString checkValue(bool checked) { return checked ? QStringLiteral("-1") : QStringLiteral("0"); }

bool checkedFromValue(const QString& value) {
    bool number = false;
    const double d = value.toDouble(&number);
    if (number && std::isfinite(d))
        return d != 0;
    return value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

bool isCommentOrEmpty(const QString& trimmedLine) {
    // A line of blanks alone counts as empty: written back it would only become "~".
    const bool blank = std::all_of(trimmedLine.begin(), trimmedLine.end(), [](QChar c) { return c.unicode() <= 32; });
    return blank || trimmedLine.startsWith(QLatin1String("//"));
}

}  // namespace formdef
