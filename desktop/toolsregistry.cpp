// The toolkit's registry members: the caller's settings under HKEY_CURRENT_USER, the
// machine's start-up list and the shell folders.
#include "toolkit/tools.h"

#include "calendar/integertext.h"
#include "desktop/registryuse.h"
#include "platform/registry.h"
#include "toolkit/messageboardform.h"

namespace {

using namespace plat::reg;

const QString kRunKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString kExplorerKey = QStringLiteral("Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer");
const QString kShellFolders = QStringLiteral("Shell Folders");

QString withoutLeadingBackslash(const QString& path) { return path.startsWith(u'\\') ? path.mid(1) : path; }

QString trimmed(const QString& text) { return cal::trimView(text).toString(); }

// The caller's key, opened with full access and created when missing. A key that can be
// neither opened nor created (an unwritable or damaged hive, an empty name inside the
// path) raises the registry error, so that a setting is never silently lost and a read
// never silently answers its default for a key that is not there.
Key settingsKey(const QString& path) {
    const QString name = withoutLeadingBackslash(path);
    Key key = Key::create(Root::CurrentUser, name, Access::All);
    if (!key)
        throw RegistryError(QStringLiteral("Failed to create key '%1'").arg(name).toStdString());
    return key;
}

Key startupList() { return Key::open(Root::LocalMachine, kRunKey, Access::All); }

}  // namespace

QString TTools::ReadRegistery(const QString& Key, const QString& Section, const QString& Item,
                              const QString& DefValue) {
    const plat::reg::Key key = settingsKey(Key);
    const plat::reg::Key section = Section.isEmpty() ? key : key.openSubKey(Section, Access::All);
    if (!section)
        return DefValue;
    return section.readString(Item).value_or(DefValue);
}

void TTools::WriteRegistery(const QString& Key, const QString& Item, const QString& Value) {
    settingsKey(Key).writeString(Item, Value);
}

void TTools::ClearRegistery(const QString& Key) {
    const plat::reg::Key key = settingsKey(Key);
    deleteTree(Root::CurrentUser, key.path().join(u'\\'));  // the outcome is not reported
}

void TTools::ShowStartupProgram() {
    const plat::reg::Key key = startupList();
    if (!key || !MessageBoardForm)
        return;
    const QStringList names = key.valueNames();
    MessageBoardForm->StartRecording(false, QStringLiteral("ليست برنامه هاي Startup ويندوز"));
    for (const QString& name : names)
        MessageBoardForm->PostThisMessage(name, key.readString(name).value_or(QString()));
    MessageBoardForm->StopRecording();
}

bool TTools::IsThisProgramInStartUp(const QString& NameAndPath) {
    const plat::reg::Key key = startupList();
    if (!key)
        return false;
    const QString expected = u'"' + trimmed(NameAndPath) + u'"';
    bool found = false;
    for (const QString& name : key.valueNames())
        found = key.readString(name).value_or(QString()) == expected || found;  // every value is read
    return found;
}

void TTools::AddToStartupProgram(const QString& ProgTitle, const QString& ProgNameAndPath) {
    const QString title = trimmed(ProgTitle);
    const QString path = trimmed(ProgNameAndPath);
    if (const plat::reg::Key key = startupList())
        key.writeString(title, u'"' + path + u'"');
    // The desktop's own start-up list belongs to the user, so the entry is written even
    // where the machine's list cannot be opened; a failure passes silently.
    desk::writeAutostartEntry(title, path);
}

QString TTools::DeskTopPath() {
    return ReadRegistery(kExplorerKey, kShellFolders, QStringLiteral("Desktop"), desk::desktopFolder());
}

QString TTools::StartupPath() {
    return ReadRegistery(kExplorerKey, kShellFolders, QStringLiteral("Startup"), desk::autostartFolder()) + u'\\';
}
