#include "toolkit/tools.h"

#include "dbservices/formdefcontrols.h"
#include "platform/ansicodec.h"

#include <QFileInfo>

namespace {

const QString kIniSection = QStringLiteral("ini");

QString definitionPath(const QString& appPath, const QWidget* form, const QString& prefix) {
    return appPath + QStringLiteral("ini/") + prefix + form->objectName() + QStringLiteral(".Ini");
}

bool hasField(const da::Table& table, const QString& name) {
    return !name.isEmpty() && table.fieldNames().contains(name, Qt::CaseInsensitive);
}

}  // namespace

void TTools::SaveTempleateForDef(QWidget* Sender) {
    plat::saveLinesAnsi(definitionPath(AppPath, Sender, QStringLiteral("1")), formdef::templateLines(Sender));
}

void TTools::SaveDef(QWidget* Sender) {
    const QString path = definitionPath(AppPath, Sender, QString());
    if (!QFileInfo::exists(path))
        return;
    plat::saveLinesAnsi(path, formdef::savedLines(Sender, plat::loadLines(path)));
}

void TTools::LoadDef(QWidget* Sender) {
    const QString path = definitionPath(AppPath, Sender, QString());
    if (!QFileInfo::exists(path))
        return;
    formdef::applyLines(Sender, plat::loadLines(path));
}

void TTools::LoadDefField(da::Table* TableName, const QString& IniFileName) {
    const QStringList lines = SQlCmdReadOneWriteStringList(kIniSection, IniFileName);
    LastINIFound = false;
    if (lines.isEmpty())
        return;
    LastINIFound = true;
    for (const QString& line : lines) {
        const QString trimmed = RemoveRLBLank(line);
        if (formdef::isCommentOrEmpty(trimmed))
            continue;
        const formdef::Cut cut = formdef::cutAtTilde(trimmed);
        if (hasField(*TableName, cut.head))
            TableName->fieldByName(cut.head).setAsString(cut.rest);
    }
}

// A line is read the same way as LoadDefField reads it (blanks at both ends removed
// before the cut), so that every field the load set is also the one saved. Lines naming
// no field go back as they were; comment and empty lines are dropped.
void TTools::SaveDefField(da::Table* TableName, const QString& IniFileName) {
    const QStringList lines = SQlCmdReadOneWriteStringList(kIniSection, IniFileName);
    if (lines.isEmpty())
        return;
    QStringList kept;
    for (const QString& line : lines) {
        const QString trimmed = RemoveRLBLank(line);
        if (formdef::isCommentOrEmpty(trimmed))
            continue;
        const formdef::Cut cut = formdef::cutAtTilde(trimmed);
        if (hasField(*TableName, cut.head))
            kept << RemoveRLBLank(cut.head + u'~' + TableName->fieldByName(cut.head).asString());
        else
            kept << line;
    }
    if (LastINIFound)
        SQlCmdWriteStringList(kIniSection, IniFileName, kept);
}
