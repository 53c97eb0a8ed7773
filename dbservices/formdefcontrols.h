#pragma once
// The control side of saved form defaults: which components a form has, the class names
// definition files give them, and the template, save and load of a definition file's
// lines over a form.
#include "formdef.h"

#include <QList>
#include <QStringList>
#include <optional>

class QWidget;

namespace formdef {

// The form's components: its named child widgets, nested ones included, a container
// before what it holds and siblings in the order they were created. The parts inside a
// control (a radio group's buttons, a combo box's edit line) and Qt's own helpers (names
// beginning with "qt_") are not components.
QList<QWidget*> formComponents(const QWidget* form);

// The class name a definition file uses for a component: the program's T classes under
// their own names, the data layer's bound controls as TDBEdit and TDBMemo, Qt's
// controls under the names of their kinds (QLabel: TLabel, QLineEdit: TEdit, QPushButton:
// TButton, QPlainTextEdit: TMemo, ...).
QString componentClassName(const QWidget* component);

// The component of that name, letter case ignored; nullptr for an empty name or none.
QWidget* findComponent(const QList<QWidget*>& components, const QString& name);

// A control's value as its kind writes it; nothing when the component is not of that
// kind (for ValueKind::None as well).
std::optional<QString> controlValue(ValueKind kind, const QWidget* component);
// Puts the value into the control; false (and the control untouched) when it is not of
// that kind. A data-aware control is left marked as changed, so that its next write-back
// stores the value in its field.
bool applyValue(ValueKind kind, QWidget* component, const QString& value);

// The template: one line per component.
QStringList templateLines(const QWidget* form);
// A definition file's lines with the values of the form's controls put in.
QStringList savedLines(const QWidget* form, const QStringList& lines);
// Applies a definition file's lines to the form's controls.
void applyLines(QWidget* form, const QStringList& lines);

}  // namespace formdef
