#include "associations.h"

#include "platform/atomicfile.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QXmlStreamWriter>

namespace desk {

namespace {

QString escapeString(const QString& value) {
    QString out;
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    // A leading blank would be dropped by readers; the format escapes it as \s.
    if (out.startsWith(u' '))
        out.replace(0, 1, QStringLiteral("\\s"));
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    return QDir().mkpath(QFileInfo(path).absolutePath()) && plat::writeFileAtomically(path, bytes);
}

// Reads the Icon and Exec keys of a desktop entry's main group.
struct EntryKeys {
    QString icon;
    QString exec;
};

EntryKeys readEntry(const QString& path) {
    EntryKeys keys;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return keys;
    bool inMain = false;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inMain = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMain)
            continue;
        if (line.startsWith(QLatin1String("Icon=")))
            keys.icon = line.mid(5).trimmed();
        else if (line.startsWith(QLatin1String("Exec=")))
            keys.exec = line.mid(5).trimmed();
    }
    return keys;
}

QIcon iconNamed(const QString& icon) {
    if (icon.isEmpty())
        return {};
    if (QFileInfo(icon).isAbsolute())
        return QFileInfo::exists(icon) ? QIcon(icon) : QIcon();
    return QIcon::fromTheme(icon);
}

// The program of an Exec line: its first argument, quotes removed.
QString execProgram(const QString& exec) {
    if (exec.startsWith(u'"')) {
        const qsizetype close = exec.indexOf(u'"', 1);
        return close < 0 ? QString() : exec.mid(1, close - 1).replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
    }
    return exec.section(u' ', 0, 0);
}

QIcon installedEntryIcon(const QFileInfo& program) {
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& folder : folders) {
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const EntryKeys keys = readEntry(it.next());
            const QString runs = execProgram(keys.exec);
            if (keys.icon.isEmpty() || runs.isEmpty())
                continue;
            const QString resolved = QFileInfo(runs).isAbsolute() ? runs : QStandardPaths::findExecutable(runs);
            if (!resolved.isEmpty() && QFileInfo(resolved).canonicalFilePath() == program.canonicalFilePath())
                return iconNamed(keys.icon);
        }
    }
    return {};
}

}  // namespace

void DesktopEntryWriter::group(const QString& name) {
    if (!m_text.isEmpty())
        m_text += u'\n';
    m_text += u'[' + name + QStringLiteral("]\n");
}

void DesktopEntryWriter::key(const QString& key, const QString& value) {
    m_text += key + u'=' + escapeString(value) + u'\n';
}

void DesktopEntryWriter::exec(const QStringList& argv, const QString& fieldCode) {
    QStringList words;
    for (const QString& a : argv)
        words.append(execArgument(a));
    if (!fieldCode.isEmpty())
        words.append(fieldCode);
    // The string escaping comes on top of the quoting, so a backslash is written four times.
    m_text += QStringLiteral("Exec=") + escapeString(words.join(u' ')) + u'\n';
}

QString execArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString a = argument;
    a.replace(u'%', QStringLiteral("%%"));
    bool quote = a.isEmpty();
    for (QChar c : a)
        quote = quote || reserved.contains(c);
    if (!quote)
        return a;
    QString out = QStringLiteral("\"");
    for (QChar c : a) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

QString mimeTypeName(const QString& ext) {
    QString name = ext.startsWith(u'.') ? ext.mid(1) : ext;
    name = name.toLower();
    if (name.isEmpty())
        return {};
    for (QChar c : name)
        if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' || c == u'.' ||
              c == u'+'))
            return {};
    return QStringLiteral("application/x-bvtransfer-") + name;
}

QString fileTypeBaseName(const QString& ext) {
    const QString mime = mimeTypeName(ext);
    return mime.isEmpty() ? QString() : QStringLiteral("bvtransfer-") + mime.section(u'-', 2);
}

bool writeXdgFileType(const XdgFileType& type, const QString& dataFolder) {
    const QString mime = mimeTypeName(type.ext);
    if (mime.isEmpty() || type.verbs.empty())
        return false;
    const QString base = fileTypeBaseName(type.ext);
    const QString glob = u'*' + (type.ext.startsWith(u'.') ? type.ext : u'.' + type.ext).toLower();

    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    w.writeStartElement(QStringLiteral("mime-info"));
    w.writeStartElement(QStringLiteral("mime-type"));
    w.writeAttribute(QStringLiteral("type"), mime);
    w.writeTextElement(QStringLiteral("comment"), type.description.trimmed());
    w.writeEmptyElement(QStringLiteral("glob"));
    w.writeAttribute(QStringLiteral("pattern"), glob);
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();

    DesktopEntryWriter entry;
    entry.group(QStringLiteral("Desktop Entry"));
    entry.key(QStringLiteral("Type"), QStringLiteral("Application"));
    entry.key(QStringLiteral("Name"), type.description.trimmed());
    entry.exec(QStringList{type.executable} + type.verbs.front().switches, QStringLiteral("%f"));
    entry.key(QStringLiteral("MimeType"), mime + u';');
    entry.key(QStringLiteral("NoDisplay"), QStringLiteral("true"));
    QStringList ids;
    for (const XdgFileType::Verb& verb : type.verbs)
        ids.append(verb.id);
    entry.key(QStringLiteral("Actions"), ids.join(u';') + u';');
    for (const XdgFileType::Verb& verb : type.verbs) {
        entry.group(QStringLiteral("Desktop Action ") + verb.id);
        entry.key(QStringLiteral("Name"), verb.name.trimmed());
        entry.exec(QStringList{type.executable} + verb.switches, QStringLiteral("%f"));
    }
    return writeFile(dataFolder + QStringLiteral("/mime/packages/") + base + QStringLiteral(".xml"), xml) &&
           writeFile(dataFolder + QStringLiteral("/applications/") + base + QStringLiteral(".desktop"),
                     entry.bytes());
}

QIcon fileIcon(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0) {
        const QIcon own = iconNamed(readEntry(path).icon);
        if (!own.isNull())
            return own;
    }
    if (info.isFile() && info.isExecutable()) {
        if (qApp && info.canonicalFilePath() == QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath() &&
            !QApplication::windowIcon().isNull())
            return QApplication::windowIcon();
        const QIcon installed = installedEntryIcon(info);
        if (!installed.isNull())
            return installed;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    return icon;
}

}  // namespace desk
