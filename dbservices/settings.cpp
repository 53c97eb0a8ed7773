#include "dbservices/settings.h"

#include "platform/blanktext.h"

namespace settings {

namespace {

const QString kKeyFields = QStringLiteral("GroupSec;KeyName");

}  // namespace

QString groupOf(const QString& section) { return blanktext::isBlank(section) ? QStringLiteral("DEFAULT") : section; }

QString notFoundMarker() { return QStringLiteral("NOTANSWER"); }

InfoTable::InfoTable(da::Connection* connection) : m_table(connection, QStringLiteral("Dbo.Info")) { m_table.open(); }

// The key name is used as given: neither trimmed nor replaced when blank.
bool InfoTable::locate(const QString& section, const QString& keyName) {
    return m_table.locate(kKeyFields, {groupOf(section), keyName});
}

void InfoTable::write(const QString& section, const QString& keyName, const QString& keyValue,
                      const QString& description) {
    if (locate(section, keyName)) {
        m_table.edit();
    } else {
        m_table.insert();
        m_table.fieldByName(QStringLiteral("GroupSec")).setAsString(groupOf(section));
        m_table.fieldByName(QStringLiteral("KeyName")).setAsString(keyName);
        if (!description.isEmpty())
            m_table.fieldByName(QStringLiteral("Discription")).setAsString(description);
    }
    m_table.fieldByName(QStringLiteral("KeyValue")).setAsString(keyValue);
    m_table.post();
}

QString InfoTable::read(const QString& section, const QString& keyName) {
    if (!locate(section, keyName))
        return notFoundMarker();
    return m_table.fieldByName(QStringLiteral("KeyValue")).asString();
}

}  // namespace settings
