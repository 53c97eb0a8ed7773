#include "formdefcontrols.h"

#include "widgets/dbcheckbox.h"
#include "widgets/dbcombobox.h"
#include "widgets/dbradiogroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>

namespace formdef {
namespace {

// Controls whose children are their own parts, never components of the form.
bool isControl(const QWidget* w) {
    if (qobject_cast<const QScrollArea*>(w))
        return false;
    return w->inherits("QAbstractButton") || w->inherits("QLineEdit") || w->inherits("QComboBox") ||
           w->inherits("QAbstractSpinBox") || w->inherits("QAbstractScrollArea") || w->inherits("QLabel") ||
           w->inherits("QAbstractSlider") || w->inherits("QProgressBar") || w->inherits("TRadioGroup") ||
           w->inherits("QCalendarWidget");
}

void collect(const QWidget* parent, QList<QWidget*>& out) {
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        const QString name = w->objectName();
        const bool internal = name.startsWith(QLatin1String("qt_"));
        if (!name.isEmpty() && !internal)
            out << w;
        if (internal || !isControl(w))
            collect(w, out);
    }
}

// Qt's controls whose kinds go by another name.
struct Renamed {
    const char* qtClass;
    const char* name;
};
constexpr Renamed kRenamed[] = {
    {"QLineEdit", "TEdit"},
    {"QPushButton", "TButton"},
    {"QPlainTextEdit", "TMemo"},
    {"QTextEdit", "TRichEdit"},
    {"QListWidget", "TListBox"},
    {"QFrame", "TPanel"},
    {"QWidget", "TPanel"},
    {"QSpinBox", "TSpinEdit"},
    {"QTableWidget", "TStringGrid"},
};

// A line whose class names one of the five kinds while its component is of another class
// is left as it stands: saving touches neither its value nor its class, loading skips
// it, so that the file keeps what its author wrote until form and file agree again.
// (Taking such a line for the kind it names would also let saving put the component's
// own class in, after which loading would ignore the line.)
bool sameClass(const QWidget* component, const QString& className) {
    return componentClassName(component).compare(className, Qt::CaseInsensitive) == 0;
}

}  // namespace

QList<QWidget*> formComponents(const QWidget* form) {
    QList<QWidget*> out;
    if (form)
        collect(form, out);
    return out;
}

QString componentClassName(const QWidget* component) {
    QString name = QString::fromLatin1(component->metaObject()->className());
    name = name.mid(name.lastIndexOf(u':') + 1);  // without its namespace
    for (const Renamed& r : kRenamed) {
        if (name == QLatin1String(r.qtClass))
            return QString::fromLatin1(r.name);
    }
    const bool capitalAfter = name.size() > 1 && name[1].isUpper();
    if (name.startsWith(u'T') && capitalAfter)
        return name;
    if (name.startsWith(u'Q') && capitalAfter)
        return u'T' + name.mid(1);
    return u'T' + name;
}

QWidget* findComponent(const QList<QWidget*>& components, const QString& name) {
    if (name.isEmpty())
        return nullptr;
    for (QWidget* w : components) {
        if (w->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return w;
    }
    return nullptr;
}

std::optional<QString> controlValue(ValueKind kind, const QWidget* component) {
    switch (kind) {
    case ValueKind::Edit:
        if (auto* e = qobject_cast<const QLineEdit*>(component))
            return e->text();
        break;
    case ValueKind::ComboBox:
        if (auto* c = qobject_cast<const QComboBox*>(component))
            return c->currentText();
        break;
    case ValueKind::RadioGroup:
        if (auto* g = qobject_cast<const TRadioGroup*>(component))
            return radioValue(g->itemIndex());
        break;
    case ValueKind::CheckBox:
        if (auto* b = qobject_cast<const QCheckBox*>(component))
            return checkValue(b->isChecked());
        break;
    case ValueKind::None:
        break;
    }
    return std::nullopt;
}

bool applyValue(ValueKind kind, QWidget* component, const QString& value) {
    switch (kind) {
    case ValueKind::Edit:
        if (auto* e = qobject_cast<QLineEdit*>(component)) {
            e->setText(value);
            e->setModified(true);
            return true;
        }
        break;
    case ValueKind::ComboBox:
        if (auto* c = qobject_cast<QComboBox*>(component)) {
            int index = -1;
            for (int i = 0; i < c->count() && index < 0; ++i) {
                if (c->itemText(i).compare(value, Qt::CaseInsensitive) == 0)
                    index = i;
            }
            if (auto* db = qobject_cast<TDBComboBox*>(c)) {
                db->setItemIndex(index);
            } else {
                c->setCurrentIndex(index);
                if (index < 0 && c->isEditable())
                    c->clearEditText();
            }
            return true;
        }
        break;
    case ValueKind::RadioGroup:
        if (auto* db = qobject_cast<TDBRadioGroup*>(component)) {
            db->setItemIndex(radioIndex(value));
            return true;
        }
        if (auto* g = qobject_cast<TRadioGroup*>(component)) {
            g->setItemIndex(radioIndex(value));
            return true;
        }
        break;
    case ValueKind::CheckBox:
        if (auto* db = qobject_cast<TDBCheckBox*>(component)) {
            db->setCheckedValue(checkedFromValue(value));
            return true;
        }
        if (auto* b = qobject_cast<QCheckBox*>(component)) {
            b->setChecked(checkedFromValue(value));
            return true;
        }
        break;
    case ValueKind::None:
        break;
    }
    return false;
}

QStringList templateLines(const QWidget* form) {
    QStringList lines;
    for (const QWidget* w : formComponents(form))
        lines << templateLine(componentClassName(w), w->objectName());
    return lines;
}

QStringList savedLines(const QWidget* form, const QStringList& lines) {
    const QList<QWidget*> components = formComponents(form);
    QStringList out;
    out.reserve(lines.size());
    for (const QString& line : lines) {
        const DefinitionLine d = splitDefinitionLine(line);
        QWidget* component = findComponent(components, d.name);
        if (!component) {
            out << line;
            continue;
        }
        const ValueKind kind = valueKind(d.className);
        QString value = d.value;
        if (kind != ValueKind::None) {
            const std::optional<QString> current =
                sameClass(component, d.className) ? controlValue(kind, component) : std::nullopt;
            if (!current) {
                out << line;
                continue;
            }
            value = *current;
        }
        out << joinDefinitionLine(componentClassName(component), d.name, value);
    }
    return out;
}

void applyLines(QWidget* form, const QStringList& lines) {
    const QList<QWidget*> components = formComponents(form);
    for (const QString& line : lines) {
        const DefinitionLine d = splitDefinitionLine(line);
        const ValueKind kind = valueKind(d.className);
        if (kind == ValueKind::None)
            continue;
        QWidget* component = findComponent(components, d.name);
        if (component && sameClass(component, d.className))
            applyValue(kind, component, d.value);
    }
}

}  // namespace formdef
