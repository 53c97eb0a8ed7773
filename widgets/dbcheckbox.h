#pragma once
// A data-aware check box. A numeric field is checked when it is not 0 and is written 1
// or 0; any other field is checked when its text equals valueChecked() in any letter case
// and is written valueChecked() or valueUnchecked().
#include "databinding.h"

#include <QCheckBox>

class TDBCheckBox : public QCheckBox, public DataBinding {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);

    void setValueChecked(const QString& v) { m_valueChecked = v; }
    void setValueUnchecked(const QString& v) { m_valueUnchecked = v; }
    QString valueChecked() const { return m_valueChecked; }
    QString valueUnchecked() const { return m_valueUnchecked; }

    Q_INVOKABLE void refresh() override;
    // Checks or unchecks from code and marks the control modified.
    void setCheckedValue(bool checked);
    // Writes the state when it changed since the last refresh and a table is bound.
    // Throws SqlError.
    void writeBack();

signals:
    void writeFailed(const QString& message);

private:
    QString m_valueChecked = QStringLiteral("True");
    QString m_valueUnchecked = QStringLiteral("False");
};
