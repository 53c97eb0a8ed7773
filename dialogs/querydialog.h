#pragma once
// The one construction behind the run-time queries for a single value: a prompt that
// wraps, an input control (edit, password edit or pick list) and the buttons "قبول"
// (Enter) and "انصراف" (Escape), all placed in dialog units of the dialog's face. The
// dialog reopens while the input is empty and reports the input only when accepted.
#include "dialogs/dialogunits.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

enum class QueryInput {
    Edit,      // free text, at most 255 characters
    Password,  // free text shown as "*"
    PickList,  // a choice from items, never typed
};

struct QuerySetup {
    QuerySetup(QString caption_, QString prompt_, QueryInput input_ = QueryInput::Edit, QString value_ = {}, QStringList items_ = {})
        : caption(std::move(caption_)), prompt(std::move(prompt_)), input(input_), value(std::move(value_)), items(std::move(items_)) {}

    QString caption;
    QString prompt;
    QueryInput input = QueryInput::Edit;
    // The initial input: an edit shows its first 255 characters, all selected; a pick
    // list chooses the item of exactly this text, or none when no item has it.
    QString value;
    QStringList items;       // the pick list's entries, in order
    int pickListHeight = 0;  // fixed height of the pick list in pixels; 0: its own height
    // Emptiness test: true, an input that trims to nothing is empty; false, only an
    // input without any character is (passwords of blanks count).
    bool blanksAreEmpty = true;
};

class TQueryDialog : public QDialog {
    Q_OBJECT
public:
    // measure gives the dialog units of the dialog's face once the face is set.
    explicit TQueryDialog(const QuerySetup& setup, const UnitsMeasure& measure = measureDialogUnits, QWidget* parent = nullptr);

    // The dialog loop: shows the dialog until it is cancelled (false) or accepted with
    // a non-empty input (true, value set to the input's text as it stands, blanks
    // included). On false value is untouched. Reopening keeps the input as the user
    // left it.
    bool ask(QString& value);

    // The input control's text as the user left it.
    QString inputText() const;
    DialogUnits units() const { return m_units; }
    QueryGeometry geometryUsed() const { return m_geometry; }

    QLabel* promptLabel() const { return m_label; }
    QLineEdit* edit() const { return m_edit; }       // nullptr for a pick list
    QComboBox* pickList() const { return m_combo; }  // nullptr for the edits
    QWidget* inputControl() const;
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void buildInput(const QuerySetup& setup);
    int promptHeight(int width) const;
    bool isEmptyInput(const QString& text) const;

    DialogUnits m_units;
    QueryGeometry m_geometry;
    bool m_blanksAreEmpty = true;
    QLabel* m_label = nullptr;
    QLineEdit* m_edit = nullptr;
    QComboBox* m_combo = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
