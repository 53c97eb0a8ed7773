#include "querydialog.h"

#include "dialogs/dialogwindow.h"
#include "dialogs/inputtexts.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kMaxInput = 255;     // characters an edit takes
constexpr int kVisibleItems = 10;  // entries a dropped-down pick list shows

}  // namespace

TQueryDialog::TQueryDialog(const QuerySetup& setup, const UnitsMeasure& measure, QWidget* parent)
    : QDialog(parent), m_blanksAreEmpty(setup.blanksAreEmpty) {
    setObjectName(QStringLiteral("QueryDialog"));
    makeFixedDialog(*this);
    setWindowTitle(setup.caption);
    setFont(dialogFont());
    m_units = measure(font());

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Prompt"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setText(setup.prompt);
    buildInput(setup);

    m_ok = new QPushButton(inputtexts::kOkCaption, this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    m_cancel = new QPushButton(inputtexts::kCancelCaption, this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    // Escape rejects the dialog as the cancel button would.
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    const int labelWidth = m_units.x(164);
    int inputHeight = inputControl()->sizeHint().height();
    if (m_combo && setup.pickListHeight > 0)
        inputHeight = setup.pickListHeight;
    m_geometry = queryGeometry(m_units, promptHeight(labelWidth), inputHeight);
    m_label->setGeometry(m_geometry.label);
    inputControl()->setGeometry(m_geometry.input);
    m_ok->setGeometry(m_geometry.ok);
    m_cancel->setGeometry(m_geometry.cancel);
    setFixedSize(m_geometry.clientWidth, m_geometry.clientHeight);
    centreOnScreen(*this);
    inputControl()->setFocus();
}

void TQueryDialog::buildInput(const QuerySetup& setup) {
    if (setup.input == QueryInput::PickList) {
        m_combo = new QComboBox(this);
        m_combo->setObjectName(QStringLiteral("ComboBox"));
        m_combo->setEditable(false);
        m_combo->setMaxVisibleItems(kVisibleItems);
        m_combo->addItems(setup.items);
        // Adding items chooses the first; only an item of the value's text is chosen.
        m_combo->setCurrentIndex(m_combo->findText(setup.value, Qt::MatchExactly | Qt::MatchCaseSensitive));
        return;
    }
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit"));
    m_edit->setMaxLength(kMaxInput);
    m_edit->setText(firstUnits(setup.value, kMaxInput));
    m_edit->selectAll();
    if (setup.input == QueryInput::Password) {
        m_edit->setEchoMode(QLineEdit::Password);
        m_edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));  // "*"
    }
}

// The wrapped prompt's height; an empty prompt still takes one line.
int TQueryDialog::promptHeight(int width) const {
    const int line = QFontMetrics(m_label->font()).height();
    return std::max(line, m_label->heightForWidth(width));
}

QWidget* TQueryDialog::inputControl() const {
    if (m_combo)
        return m_combo;
    return m_edit;
}

QString TQueryDialog::inputText() const { return m_combo ? m_combo->currentText() : m_edit->text(); }

bool TQueryDialog::isEmptyInput(const QString& text) const { return m_blanksAreEmpty ? trimsToEmpty(text) : text.isEmpty(); }

bool TQueryDialog::ask(QString& value) {
    // Each showing starts in the input: hiding the dialog moves the focus on, which
    // would leave a reopened dialog with a button focused.
    for (inputControl()->setFocus(); runModal(*this) == QDialog::Accepted; inputControl()->setFocus()) {
        const QString text = inputText();
        if (!isEmptyInput(text)) {
            value = text;
            return true;
        }
    }
    return false;
}
