#pragma once
// The Linux desktop's side of file associations, start-up entries and file icons:
// desktop entries (freedesktop.org Desktop Entry files), a shared-mime-info type per
// registered extension, and the icon a file manager shows for a file.
#include <QByteArray>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <vector>

namespace desk {

// Builds the text of a desktop entry: groups, keys with string values escaped, and Exec
// lines whose arguments are quoted where the format asks for it.
class DesktopEntryWriter {
public:
    void group(const QString& name);
    void key(const QString& key, const QString& value);
    // argv[0] is the program; fieldCode ("%f") follows unquoted when given.
    void exec(const QStringList& argv, const QString& fieldCode = {});
    QByteArray bytes() const { return m_text.toUtf8(); }

private:
    QString m_text;
};

// One argument of an Exec line: quoted when it holds a reserved character, with '"',
// '`', '$' and '\' escaped inside the quotes, and '%' doubled.
QString execArgument(const QString& argument);

// A file type for the desktop: a MIME type matching "*<ext>" and an application entry
// that opens such files, with one action per verb.
struct XdgFileType {
    struct Verb {
        QString id;  // letters and digits
        QString name;
        QStringList switches;  // arguments before the file
    };
    QString ext;  // with its dot
    QString description;
    QString executable;
    std::vector<Verb> verbs;  // the first is also the entry's own command
};

// "application/x-bvtransfer-" and the extension in lower case; empty when the extension
// holds nothing but a dot or characters a glob or a MIME type name cannot carry.
QString mimeTypeName(const QString& ext);
// The name of the entry and of the MIME package ("bvtransfer-" and the extension).
QString fileTypeBaseName(const QString& ext);

// Writes <dataFolder>/mime/packages/<base>.xml and <dataFolder>/applications/<base>.desktop;
// false when the extension is unusable or a file cannot be written.
bool writeXdgFileType(const XdgFileType& type, const QString& dataFolder);

// The icon the desktop shows for a file: a desktop entry's Icon, the running program's
// window icon for its own executable, the Icon of an installed entry that runs the
// executable, otherwise the icon theme's icon of the file's MIME type. Null when the
// file does not exist or nothing has an icon.
QIcon fileIcon(const QString& path);

}  // namespace desk
