// The toolkit's members that tie the desktop to the program: file associations,
// shortcuts, Internet shortcuts and file icons.
#include "toolkit/tools.h"

#include "desktop/associations.h"
#include "platform/profilefile.h"
#include "platform/registry.h"
#include "platform/shelllink.h"
#include "platform/shellnotify.h"

#include <QCoreApplication>
#include <QDir>

namespace {

using namespace plat::reg;

const QString kReporter = QStringLiteral("گزارشگير زيلوا");
const QString kExecuteCaption = QStringLiteral("   اجرا با زيلوا");
const QString kEditCaption = QStringLiteral("    ويرايش با زيلوا");
const QString kInsertCaption = QStringLiteral("    اضافه به ليست");
const QString kNotRegistered = QStringLiteral("عدم ثبت پسوندها");
constexpr int kWinXP = 510;
constexpr qsizetype kMaxPath = 260;

QString quoted(const QString& text) { return u'"' + text + u'"'; }

// Writes the file types of one class root: HKEY_CLASSES_ROOT with full access, or the
// user's "software\classes\" opened for writing.
class ClassWriter {
public:
    explicit ClassWriter(bool machineWide)
        : m_root(machineWide ? Root::ClassesRoot : Root::CurrentUser),
          m_prefix(machineWide ? QString() : QStringLiteral("software\\classes\\")),
          m_access(machineWide ? Access::All : Access::Write) {}

    Key create(const QString& path) const { return Key::create(m_root, m_prefix + path, m_access); }

    // A key that cannot be opened or created fails as the write of its value would.
    void setDefault(const QString& path, const QString& value) const {
        const Key key = create(path);
        if (!key)
            throw RegistryError("Failed to set data for ''");
        key.writeString(QString(), value);
    }

private:
    Root m_root;
    QString m_prefix;
    Access m_access;
};

}  // namespace

QString TTools::GetFileAssociate(const QString& Ext) {
    QString result;
    QString fileType;
    if (const Key key = Key::open(Root::ClassesRoot, Ext, Access::Read))
        fileType = key.readString(QString()).value_or(QString());
    if (!fileType.isEmpty())
        if (const Key command = Key::open(Root::ClassesRoot, fileType + QStringLiteral("\\Shell\\Open\\Command"),
                                          Access::Read))
            result = command.readString(QString()).value_or(QString());
    return result;
}

void TTools::SetFileAssociate(const QString& Ext, const QString& FileType) {
    if (WinVer < kWinXP) {
        ShowMsg(kNotRegistered);
        return;
    }
    const bool machineWide = WinVer == kWinXP;
    const QString exe = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    const ClassWriter classes(machineWide);
    const QString shell = FileType + QStringLiteral("\\Shell\\");
    try {
        if (const Key key = classes.create(Ext))
            key.writeString(QString(), FileType);
        classes.setDefault(FileType, kReporter);
        classes.setDefault(FileType + QStringLiteral("\\DefaultIcon"), exe + QStringLiteral(",0"));
        classes.setDefault(shell + QStringLiteral("execute"), kExecuteCaption);
        classes.create(shell + QStringLiteral("execute\\Command"));  // fixes the key's capitalisation
        classes.setDefault(shell + QStringLiteral("execute\\command"), quoted(exe) + QStringLiteral(" \"%1\""));
        classes.setDefault(shell + QStringLiteral("ZOpen"), kEditCaption);
        classes.setDefault(shell + QStringLiteral("ZOpen\\command"), quoted(exe) + QStringLiteral("/o \"%1\""));
        classes.setDefault(shell + QStringLiteral("ZZInsert"), kInsertCaption);
        if (machineWide) {
            classes.setDefault(shell + QStringLiteral("ZZInsert\\command"), quoted(exe) + QStringLiteral("/A \"%1\""));
        } else {
            classes.create(shell + QStringLiteral("ZZInsert\\Command"));
            classes.setDefault(shell + QStringLiteral("ZZInsert\\command"), quoted(exe) + QStringLiteral("/a \"%1\""));
        }
    } catch (const RegistryError&) {
        if (machineWide)
            throw;
        return;  // the per-user registration gives up silently
    }
    // The Linux desktop's own file type, written beside the registry's; it is the user's
    // in both branches, and a failure there leaves the registry's part as it is.
    const QString file = QDir::fromNativeSeparators(exe);
    desk::writeXdgFileType({Ext,
                            kReporter,
                            file,
                            {{QStringLiteral("execute"), kExecuteCaption, {}},
                             {QStringLiteral("ZOpen"), kEditCaption, {QStringLiteral("/o")}},
                             {QStringLiteral("ZZInsert"), kInsertCaption, {machineWide ? QStringLiteral("/A") : QStringLiteral("/a")}}}},
                           plat::userDataFolder());
    plat::shellNotify().associationsChanged();
}

void TTools::CreateLink(const QString& Target, const QString& Args, const QString& WorkDir,
                        const QString& ShortCutName) {
    // Show command 2 (minimised) as the shell link object is given it; a link that cannot
    // be written is passed over, as a failing save of the link object is.
    plat::saveShellLink({Target, Args, WorkDir, 2}, ShortCutName);
}

void TTools::CreateInternetShortcut(const QString& FileName, const QString& LocationURL) {
    if (!plat::writePrivateProfileString(QStringLiteral("InternetShortcut"), QStringLiteral("URL"), LocationURL,
                                         FileName))
        throw plat::ProfileError(QStringLiteral("Unable to write to %1").arg(FileName).toStdString());
}

QIcon TTools::ExportIcon(const QString& St) {
    // A path that would not fit the platform's path buffer (259 characters and its
    // terminating zero) gets no icon rather than the icon of a cut-off path.
    if (St.size() >= kMaxPath)
        return QIcon();
    return desk::fileIcon(St);
}
