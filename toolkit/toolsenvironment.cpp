// The toolkit's working environment: formats, directories, keyboard layouts, the
// platform version and two key handlers for other forms.
#include "toolkit/tools.h"

#include "platform/formatsettings.h"
#include "platform/keyboardlayouts.h"
#include "platform/winversion.h"
#include "toolkit/messageboardform.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

namespace {

const QString kPersianLayout = QStringLiteral("00000429");
const QString kPersianStandardLayout = QStringLiteral("a0000429");  // Vista and later
const QString kEnglishLayout = QStringLiteral("00000409");

void setDateTimeFormats() {
    plat::FormatSettings& fs = plat::formatSettings();
    fs.shortDateFormat = QStringLiteral("dd/mm/yyyy");
    fs.longDateFormat = QStringLiteral("dd/mm/yyyy");
    fs.shortTimeFormat = QStringLiteral("HH:mm:ss");
    fs.longTimeFormat = QStringLiteral("HH:mm:ss");
}

// Registry product type as the version text's selection reads it.
int productTypeNumber(const std::optional<QString>& value) {
    if (!value)
        return -1;
    if (value->compare(QStringLiteral("WINNT"), Qt::CaseInsensitive) == 0)
        return 0;
    if (value->compare(QStringLiteral("LANMANNT"), Qt::CaseInsensitive) == 0)
        return 1;
    if (value->compare(QStringLiteral("SERVERNT"), Qt::CaseInsensitive) == 0)
        return 2;
    return -1;
}

// Moves the focus to the next (or previous) control of form in tab order, as the
// dialog-control message does; the form's focus stays where it is when none takes it.
void moveFocus(QWidget* form, bool forward) {
    QWidget* start = form->focusWidget() ? form->focusWidget() : form;
    QWidget* w = start;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w != form && form->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(form)) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (w != start);
}

// Key codes arrive as the platform's virtual keys (13, 27, 37, 39) or as Qt's keys.
bool isKey(int key, int virtualKey, Qt::Key qtKey, Qt::Key qtKey2 = Qt::Key_unknown) {
    return key == virtualKey || key == qtKey || (qtKey2 != Qt::Key_unknown && key == qtKey2);
}

void closeForm(QWidget* form) {
    if (auto* dialog = qobject_cast<QDialog*>(form))
        dialog->reject();  // a modal form ends with the cancel result
    else
        form->close();
}

}  // namespace

void TTools::FormCreate(QObject*) {
    // 1. The desktop work area.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        DeskSize = screen->availableGeometry();
    // 2. Formats.
    setDateTimeFormats();
    // 3. The Persian keyboard.
    SwitchToFarsi();
    // 4. Today's solar date.
    initToday();
    // 5.
    ReturnedValues = QStringList(50, QString());
    // 6. The application directory: given by the caller, else the executable's folder.
    if (AppPath.isEmpty())
        AppPath = QCoreApplication::applicationDirPath();
    if (!AppPath.endsWith(u'/'))
        AppPath += u'/';
    // 7, 8. Work directory and its ED folder; failures pass silently. ED counts as
    // present in any letter case, as it would on a case-blind file system.
    QDir app(AppPath);
    if (!app.exists(QStringLiteral("Z8M")))
        app.mkdir(QStringLiteral("Z8M"));
    QDir work(AppPath + QStringLiteral("Z8M"));
    bool edFound = false;
    if (work.exists()) {
        const QStringList dirs = work.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& d : dirs)
            edFound = edFound || d.compare(QStringLiteral("ED"), Qt::CaseInsensitive) == 0;
        if (!edFound)
            work.mkdir(QStringLiteral("ED"));
    }
    // 9, 10.
    ViewCanBeDroped = true;
    WinVer = GetWinVersion().left(3).toInt();
    // 11. The message board, hidden; the toolkit that created it releases it.
    if (!MessageBoardForm) {
        auto* board = new TMessageBoardForm();
        connect(this, &QObject::destroyed, board, [board] { delete board; });
    }
    // 12.
    LastINIFound = false;
    UnLoaded = false;
}

void TTools::SetConfigAgain(QObject*) {
    setDateTimeFormats();
    plat::formatSettings().decimalSeparator = u'.';
    SwitchToFarsi();
}

void TTools::_SetConfigAgain() { SetConfigAgain(nullptr); }

// A failed layout call passes silently.
void TTools::SwitchToFarsi() {
    if (WinVer == 0)
        WinVer = GetWinVersion().left(3).toInt();
    plat::KeyboardLayouts& layouts = plat::keyboardLayouts();
    if (WinVer > 510) {
        if (!UnLoaded) {
            layouts.unload(layouts.load(kPersianLayout, plat::KLF_ACTIVATE));
            UnLoaded = true;
        }
        layouts.load(kPersianStandardLayout, plat::KLF_ACTIVATE);
    } else {
        layouts.load(kPersianLayout, plat::KLF_ACTIVATE);
    }
}

void TTools::SwitchToEnglish() { plat::keyboardLayouts().load(kEnglishLayout, plat::KLF_ACTIVATE); }

void TTools::SetKeyActivateConfig(QWidget* Sender, int& Key, Qt::KeyboardModifiers Shift) {
    if (isKey(Key, 13, Qt::Key_Return, Qt::Key_Enter) || isKey(Key, 37, Qt::Key_Left)) {
        Key = 0;
        if (Sender)
            moveFocus(Sender, true);
    } else if (isKey(Key, 39, Qt::Key_Right)) {
        Key = 0;
        if (Sender)
            moveFocus(Sender, false);
    } else {
        SetKeyActivateJustClose(Sender, Key, Shift);
    }
}

void TTools::SetKeyActivateJustClose(QWidget* Sender, int& Key, Qt::KeyboardModifiers) {
    if (isKey(Key, 27, Qt::Key_Escape) && Sender)
        closeForm(Sender);
}

QString TTools::GetWinVersion() {
    QString result = QStringLiteral("000-wvUnknown");
    plat::WinVersionSource& source = plat::winVersionSource();
    const std::optional<plat::OsVersionInfo> info = source.versionInfo();
    if (!info)
        return result;
    const int major = info->major;
    const int minor = info->minor;
    if (info->platformId == 1) {
        if (major == 4 && minor == 0)
            result = QStringLiteral("400-wvWin95");
        else if (major == 4 && minor == 10)
            result = info->servicePack.size() > 1 && info->servicePack[1] == u'A' ? QStringLiteral("410-wvWin98SE")
                                                                                  : QStringLiteral("411-wvWin98");
        else if (major == 4 && minor == 90)
            result = QStringLiteral("490-wvWinME");
        else
            result = QStringLiteral("491-wvUnknown");
    } else if (info->platformId == 2) {
        if (major <= 4)
            result = QStringLiteral("433-wvWinNT");
        else if (major == 5 && minor == 0)
            result = QStringLiteral("500-wvWin2000");
        else if (major == 5 && minor == 1)
            result = QStringLiteral("510-wvWinXP");
        else if (major == 5 && minor == 2)
            result = QStringLiteral("520-wv2003Server");
        else if (major == 6 && minor == 0)
            // A workstation ("WinNT") or an unreadable type is Vista; a server or domain
            // controller ("ServerNT", "LanmanNT") is Server 2008.
            result = productTypeNumber(source.productType()) >= 1 ? QStringLiteral("607-wv2008Server")
                                                                  : QStringLiteral("600-wvWinVista");
        else if (major == 6 && minor == 1)
            result = QStringLiteral("610-wvSeven");
    }
    return result;
}
