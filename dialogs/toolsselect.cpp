// The toolkit's pick list over a query's rows and its folder browser.
#include "toolkit/tools.h"

#include "dialogs/folderbrowser.h"
#include "dialogs/inputtexts.h"
#include "dialogs/querydialog.h"

bool TTools::SelectFromList(const QString& APrompt, const QString& InCommand, QString& Value) {
    // A blank first entry, then the first column of every row in the server's order,
    // duplicates kept. The query is released before the dialog opens.
    QStringList choices{QStringLiteral(" ")};
    try {
        auto query = std::make_unique<da::Query>(ServerConnection);
        query->close();
        query->clearSql();
        query->addSql(InCommand);
        query->prepare();
        query->open();
        // A result without columns fails like a command that did not run.
        for (; !query->eof(); query->next())
            choices << query->field(0).asString();
    } catch (const std::exception&) {
        ShowMsg(inputtexts::kListCommandFailed);
        return false;
    }
    // The list opens with the entry of the incoming value's text (its first 255
    // characters) chosen, the first of equal entries; with no such entry nothing is
    // chosen, and accepting that reopens the list like the blank entry does.
    const QuerySetup setup(inputtexts::kSelectFromListCaption, APrompt, QueryInput::PickList, firstUnits(Value, 255), choices);
    TQueryDialog dialog(setup);
    SwitchToFarsi();
    return dialog.ask(Value);
}

bool TTools::SelectDirectory(const QString& Caption, const QString& Root, QString& Directory) {
    Directory.clear();
    TFolderBrowser browser(Caption, Root);
    return browser.choose(Directory);
}
