#include "field.h"

#include "platform/formatsettings.h"
#include "sqlerror.h"

#include <cmath>

namespace da {

namespace {

const QVariant& nullValue() {
    static const QVariant v;
    return v;
}

bool isFloat(const QVariant& v) { return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float; }

// Text as a number: blanks around it allowed, "." or the settings' decimal separator.
bool parseFloat(const QString& text, double& out) {
    QString t = text.trimmed();
    const QChar sep = plat::formatSettings().decimalSeparator;
    if (sep != u'.') t.replace(sep, u'.');
    bool ok = false;
    out = t.toDouble(&ok);
    return ok;
}

}  // namespace

bool Field::isNull() const { return !m_value || !m_value->isValid() || m_value->isNull(); }

const QVariant& Field::value() const { return m_value ? *m_value : nullValue(); }

QString Field::asString() const {
    if (isNull()) return {};
    const QVariant& v = *m_value;
    if (isFloat(v)) return plat::formatGeneral(v.toDouble());
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (v.typeId() == QMetaType::QByteArray) return QString::fromLatin1(v.toByteArray());
    return v.toString();
}

long long Field::asLargeInt() const {
    if (isNull()) return 0;
    const QVariant& v = *m_value;
    if (isFloat(v)) return static_cast<long long>(std::nearbyint(v.toDouble()));
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const long long n = v.toString().trimmed().toLongLong(&ok);
        if (!ok) throw SqlError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return n;
    }
    return v.toLongLong();
}

int Field::asInteger() const { return static_cast<int>(asLargeInt()); }

double Field::asFloat() const {
    if (isNull()) return 0;
    const QVariant& v = *m_value;
    if (v.typeId() == QMetaType::QString) {
        double d = 0;
        if (!parseFloat(v.toString(), d)) {
            throw SqlError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
        }
        return d;
    }
    return v.toDouble();
}

void Field::beforeWrite() {
    if (!m_value) throw SqlError(QStringLiteral("Field '%1' has no value to write").arg(m_name));
    if (m_writable && !*m_writable) throw SqlError(QStringLiteral("Dataset not in edit or insert mode"));
    if (m_assigned) *m_assigned = true;
}

void Field::setAsString(const QString& text) {
    switch (m_kind) {
    case Kind::Integer: {
        if (text.trimmed().isEmpty()) return setNull();
        bool ok = false;
        const long long n = text.trimmed().toLongLong(&ok);
        if (!ok) throw SqlError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        beforeWrite();
        *m_value = QVariant(static_cast<qlonglong>(n));
        return;
    }
    case Kind::Float: {
        if (text.trimmed().isEmpty()) return setNull();
        double d = 0;
        if (!parseFloat(text, d)) throw SqlError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
        beforeWrite();
        *m_value = QVariant(d);
        return;
    }
    case Kind::Text:
    case Kind::Any:
        beforeWrite();
        *m_value = QVariant(text);
        return;
    }
}

void Field::setValue(const QVariant& v) {
    beforeWrite();
    *m_value = v;
}

void Field::setNull() {
    beforeWrite();
    *m_value = QVariant();
}

}  // namespace da
