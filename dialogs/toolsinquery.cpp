// The one-value queries of the toolkit.
#include "toolkit/tools.h"

#include "dialogs/inputtexts.h"
#include "dialogs/querydialog.h"

namespace {

using SwitchLayout = void (TTools::*)();

// Builds the dialog, switches the variant's keyboard layout (it stays so afterwards)
// and runs the dialog loop; the dialog is gone when this returns, also on an exception.
bool askValue(TTools& tools, const QuerySetup& setup, SwitchLayout layout, QString& Value) {
    TQueryDialog dialog(setup);
    (tools.*layout)();
    return dialog.ask(Value);
}

}  // namespace

bool TTools::InQuery(const QString& APrompt, QString& Value) {
    return askValue(*this, {inputtexts::kInQueryCaption, APrompt, QueryInput::Edit, Value}, &TTools::SwitchToFarsi, Value);
}

bool TTools::InQueryEng(const QString& APrompt, QString& Value) {
    return askValue(*this, {inputtexts::kInQueryEngCaption, APrompt, QueryInput::Edit, Value}, &TTools::SwitchToEnglish, Value);
}

bool TTools::InQueryCombo(const QString& APrompt, const QStringList& InSL, QString& Value) {
    QStringList items = InSL;
    items.removeOne(inputtexts::kAllGroupsEntry);  // the first such entry only
    QuerySetup setup(inputtexts::kInQueryCaption, APrompt, QueryInput::PickList, Value, items);
    setup.pickListHeight = 22;
    return askValue(*this, setup, &TTools::SwitchToFarsi, Value);
}

bool TTools::PassInQuery(const QString& APrompt, QString& Value) {
    QuerySetup setup(inputtexts::kPassInQueryCaption, APrompt, QueryInput::Password, Value);
    setup.blanksAreEmpty = false;  // a password of blanks is a password
    return askValue(*this, setup, &TTools::SwitchToFarsi, Value);
}
