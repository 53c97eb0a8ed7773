#include "dbcheckbox.h"

#include "dataaccess/field.h"
#include "writeback.h"

namespace {

bool numeric(const da::Field* f) {
    return f && (f->kind() == da::Field::Kind::Integer || f->kind() == da::Field::Kind::Float);
}

}  // namespace

TDBCheckBox::TDBCheckBox(QWidget* parent) : QCheckBox(parent) {
    connect(this, &QCheckBox::clicked, this, [this] {
        m_modified = true;
        writeBackReporting(this);
    });
}

void TDBCheckBox::refresh() {
    const da::Field* f = m_link.field();
    bool on = false;
    if (f && !f->isNull())
        on = numeric(f) ? f->asFloat() != 0 : f->asString().compare(m_valueChecked, Qt::CaseInsensitive) == 0;
    setChecked(on);
    m_modified = false;
}

void TDBCheckBox::setCheckedValue(bool checked) {
    setChecked(checked);
    m_modified = true;
}

void TDBCheckBox::writeBack() {
    const bool on = isChecked();
    if (numeric(m_link.field()))
        writeIfModified(on ? QStringLiteral("1") : QStringLiteral("0"));
    else
        writeIfModified(on ? m_valueChecked : m_valueUnchecked);
}
