#pragma once
// The text side of saved form defaults: the tilde-separated lines of definition files and
// stored field definitions, and how the five remembered kinds of control turn their state
// into a value and back.
#include <QString>

namespace formdef {

// A line cut at its first tilde: the part before it (empty when there is none) and the
// rest after it (the whole line when there is none).
struct Cut {
    QString head;
    QString rest;
};
Cut cutAtTilde(const QString& line);

// A definition file line: class "~" component name "~" value, where the value is
// everything after the second tilde.
struct DefinitionLine {
    QString className;
    QString name;
    QString value;
};
DefinitionLine splitDefinitionLine(const QString& line);
QString joinDefinitionLine(const QString& className, const QString& name, const QString& value);
// The template's line for a component: its class and name and an empty value.
QString templateLine(const QString& className, const QString& name);

// The kinds whose values definition files carry, chosen by the class part of a line
// upper-cased: TDBEDIT, TDBCOMBOBOX, TDBRADIOGROUP and TRADIOGROUP, TDBCHECKBOX.
enum class ValueKind {
    None,
    Edit,
    ComboBox,
    RadioGroup,
    CheckBox
};
ValueKind valueKind(const QString& className);

// A radio group's value: the selected position in decimal, -1 for none.
QString radioValue(int itemIndex);
// The position a value selects before the group clamps it: the value read as an integer
// (the runtime's conversion), -1 when it is not one.
int radioIndex(const QString& value);
// A check box's value: "-1" checked, "0" not.
QString checkValue(bool checked);
// Checked for a number other than 0 or the word True in any letter case.
bool checkedFromValue(const QString& value);

// A stored field definition line that is skipped: empty (or of blanks and control
// characters alone), or starting with "//" once the blanks at both ends are gone (the
// caller passes the line so trimmed).
bool isCommentOrEmpty(const QString& trimmedLine);

}  // namespace formdef
