// Shortcuts read back by independent readers (lnkinfo, exiftool), Internet shortcuts
// through the profile-file rules, and file icons.
#include "shellfixture.h"

#include "platform/profilefile.h"

#include <QImage>
#include <QPainter>

namespace {

using ShortcutTest = ShellFixture;

QByteArray readAll(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// "Label : value" lines of a tool's report.
QString field(const QString& report, const QString& label) {
    for (const QString& line : report.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed() == label)
            return line.mid(colon + 1).trimmed();
    }
    return "(no " + label + ")";
}

TEST_F(ShortcutTest, ALinkHoldsTargetArgumentsFolderAndStartsMinimised) {
    const QString lnk = path("Farm transfer.lnk");
    const QString target = "/opt/farm tools/bvtransfer";
    const QString args = "--app-dir \"/srv/farm one\" -x";
    const QString workDir = QString::fromUtf8("/srv/مزرعه");
    tools->CreateLink(target, args, workDir, lnk);
    const QByteArray bytes = readAll(lnk);
    ASSERT_GE(bytes.size(), 76);
    EXPECT_EQ(bytes.left(4), QByteArray("\x4c\0\0\0", 4));

    const auto info = runTool("lnkinfo", {lnk});
    SKIP_WITHOUT(info, "lnkinfo");
    EXPECT_EQ(info->first, 0) << info->second.toStdString();
    EXPECT_EQ(field(info->second, "Local path"), target);
    EXPECT_EQ(field(info->second, "Working directory"), workDir);
    EXPECT_EQ(field(info->second, "Command line arguments"), args);
    EXPECT_EQ(field(info->second, "Icon index"), "0");
    EXPECT_FALSE(info->second.contains("Description")) << info->second.toStdString();

    const auto exif = runTool("exiftool", {lnk});
    SKIP_WITHOUT(exif, "exiftool");
    EXPECT_EQ(field(exif->second, "Run Window"), "Show Minimized");
    EXPECT_EQ(field(exif->second, "Flags"), "LinkInfo, WorkingDir, CommandArgs, Unicode");
    EXPECT_EQ(field(exif->second, "Local Base Path"), target);
}

TEST_F(ShortcutTest, ALinkWithoutArgumentsOrFolderStoresNeither) {
    const QString lnk = path("plain.lnk");
    tools->CreateLink("/bin/true", "", "", lnk);
    tools->CreateLink("/bin/x", QString(70000, 'a'), "", path("huge.lnk"));  // too long: passed over
    EXPECT_FALSE(QFile::exists(path("huge.lnk")));
    const auto exif = runTool("exiftool", {lnk});
    SKIP_WITHOUT(exif, "exiftool");
    EXPECT_EQ(field(exif->second, "Flags"), "LinkInfo, Unicode");
    EXPECT_EQ(field(exif->second, "Local Base Path"), "/bin/true");
}

TEST_F(ShortcutTest, AnInternetShortcutChangesOnlyItsAddress) {
    const QByteArray url = "http://farm.example/bv?a=1;b='2'";
    const struct {
        const char* name;
        QByteArray before;  // empty: no file
        QByteArray after;
    } rows[] = {
        {"new file", {}, "[InternetShortcut]\r\nURL=" + url + "\r\n"},
        {"replaced, other lines kept",
         "[InternetShortcut]\r\nURL=http://old/\r\nIconIndex=0\r\n\r\n[Other]\r\nURL=keep\r\n",
         "[InternetShortcut]\r\nURL=" + url + "\r\nIconIndex=0\r\n\r\n[Other]\r\nURL=keep\r\n"},
        {"any case, blanks around", "  [internetshortcut]  \n  url = old\n; note\n",
         "  [internetshortcut]  \nurl=" + url + "\n; note\n"},
        {"section added", "; comment\n[other]\nx=1", "; comment\n[other]\nx=1\r\n[InternetShortcut]\r\nURL=" + url + "\r\n"},
        {"key added after the section's last line", "[InternetShortcut]\r\nIconFile=a\r\n\r\n[B]\r\n",
         "[InternetShortcut]\r\nIconFile=a\r\nURL=" + url + "\r\n\r\n[B]\r\n"},
        {"a comment is not the key", "[InternetShortcut]\r\n;URL=x\r\n",
         "[InternetShortcut]\r\n;URL=x\r\nURL=" + url + "\r\n"},
        {"ANSI bytes kept", "[A]\r\nName=\xe1\xc7\xe3\r\n",
         "[A]\r\nName=\xe1\xc7\xe3\r\n[InternetShortcut]\r\nURL=" + url + "\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = path(QString(row.name) + ".url");
        if (!row.before.isEmpty())
            writeAll(file, row.before);
        tools->CreateInternetShortcut(file, QString::fromLatin1(url));
        EXPECT_EQ(readAll(file), row.after);
    }
}

TEST_F(ShortcutTest, TextOutsideTheCodePageTurnsTheFileIntoUtf16) {
    const QString file = path("wide.url");
    writeAll(file, "[Other]\r\nName=\xe1\xc7\xe3\r\n");
    const QString url = QString::fromUtf8("http://x/\xe2\x9c\x93");  // a check mark: not in the code page
    tools->CreateInternetShortcut(file, url);
    const QByteArray bytes = readAll(file);
    ASSERT_TRUE(bytes.startsWith("\xff\xfe"));
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    EXPECT_EQ(text, QString::fromUtf8("[Other]\r\nName=لام\r\n[InternetShortcut]\r\nURL=") + url + "\r\n");
    tools->CreateInternetShortcut(file, "http://y/");  // a UTF-16 file stays one
    const QByteArray again = readAll(file);
    EXPECT_TRUE(again.startsWith("\xff\xfe"));
    EXPECT_TRUE(again.contains(QByteArray("U\0R\0L\0=\0h\0t\0t\0p\0:\0/\0/\0y\0", 24)));
}

TEST_F(ShortcutTest, AFailedWriteRaisesAndChangesNothing) {
    const QString file = path("kept.url");
    writeAll(file, "[InternetShortcut]\r\nURL=http://old/\r\n");
    const struct {
        QString file;
        QString url;
    } rows[] = {
        {file, "http://a/\r\n[Injected]\r\nx=1"},  // a line break would add lines
        {path("no such folder/x.url"), "http://a/"},
    };
    for (const auto& row : rows) {
        try {
            tools->CreateInternetShortcut(row.file, row.url);
            ADD_FAILURE() << "no error for " << row.file.toStdString();
        } catch (const plat::ProfileError& e) {
            EXPECT_EQ(QString::fromStdString(e.what()), "Unable to write to " + row.file);
        }
    }
    EXPECT_EQ(readAll(file), "[InternetShortcut]\r\nURL=http://old/\r\n");
    EXPECT_FALSE(plat::writePrivateProfileString("A]B", "k", "v", file));
    EXPECT_FALSE(plat::writePrivateProfileString("A", "k=1", "v", file));
    EXPECT_FALSE(plat::writePrivateProfileString("A", "  ", "v", file));
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
    EXPECT_THROW(tools->CreateInternetShortcut(file, "http://new/"), plat::ProfileError);
    EXPECT_EQ(readAll(file), "[InternetShortcut]\r\nURL=http://old/\r\n");
}

TEST_F(ShortcutTest, IconsOfEntriesAndOfFileTypes) {
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(path("red.png")));
    writeAll(path("farm.desktop"), "[Desktop Entry]\nType=Application\nName=Farm\nIcon=" +
                                       QFile::encodeName(path("red.png")) + "\nExec=/bin/true\n");
    const QIcon own = tools->ExportIcon(path("farm.desktop"));
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(own.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));

    // A theme of one icon for plain text.
    QDir(path("icons/test/16x16/mimetypes")).mkpath(".");
    writeAll(path("icons/test/index.theme"),
             "[Icon Theme]\nName=test\nDirectories=16x16/mimetypes\n\n[16x16/mimetypes]\nSize=16\nType=Fixed\n");
    ASSERT_TRUE(red.save(path("icons/test/16x16/mimetypes/text-plain.png")));
    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldTheme = QIcon::themeName();
    QIcon::setThemeSearchPaths({path("icons")});
    QIcon::setThemeName("test");
    writeAll(path("notes.txt"), "text\n");
    EXPECT_FALSE(tools->ExportIcon(path("notes.txt")).isNull());
    writeAll(path("data.bin"), QByteArray("\x00\x01\x02\xff", 4));
    EXPECT_TRUE(tools->ExportIcon(path("data.bin")).isNull());  // the theme has nothing for it
    EXPECT_TRUE(tools->ExportIcon(path("missing.txt")).isNull());
    EXPECT_TRUE(tools->ExportIcon(path(QString(300, 'n') + ".txt")).isNull());
    QIcon::setThemeSearchPaths(oldPaths);
    QIcon::setThemeName(oldTheme);
}

}  // namespace
