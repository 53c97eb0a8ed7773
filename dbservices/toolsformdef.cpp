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

// The lines of a stored field definition that count, in order: comment and empty lines
// skipped, each remaining line cut into field name and value once the blanks at both
// ends are gone. use(line, cut) sees the line as stored as well.
template <class Use>
void forEachFieldLine(TTools& tools, const QStringList& lines, Use use) {
    for (const QString& line : lines) {
        const QString trimmed = tools.RemoveRLBLank(line);
        if (!formdef::isCommentOrEmpty(trimmed))
            use(line, formdef::cutAtTilde(trimmed));
    }
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
    forEachFieldLine(*this, lines, [&](const QString&, const formdef::Cut& cut) {
        if (hasField(*TableName, cut.head))
            TableName->fieldByName(cut.head).setAsString(cut.rest);
    });
}

// A line is read the same way as LoadDefField reads it (blanks at both ends removed
// before the cut), so that every field the load set is also the one saved. Lines naming
// no field go back as they were; comment and empty lines are dropped.
void TTools::SaveDefField(da::Table* TableName, const QString& IniFileName) {
    const QStringList lines = SQlCmdReadOneWriteStringList(kIniSection, IniFileName);
    if (lines.isEmpty())
        return;
    QStringList kept;
    forEachFieldLine(*this, lines, [&](const QString& line, const formdef::Cut& cut) {
        if (hasField(*TableName, cut.head))
            kept << RemoveRLBLank(cut.head + u'~' + TableName->fieldByName(cut.head).asString());
        else
            kept << line;
    });
    if (LastINIFound)
        SQlCmdWriteStringList(kIniSection, IniFileName, kept);
}
