// The toolkit's launching and window-finding members: documents and addresses go to the
// desktop's opener, programs are started and waited for, windows found by program.
#include "platform/blanktext.h"
#include "platform/processstart.h"
#include "platform/shellopen.h"
#include "platform/windowlist.h"
#include "toolkit/tools.h"

void TTools::OPenUrl(const QString& URL) { plat::shellOpen().open(URL); }

void TTools::ExecuteFile(const QString& FileName) { plat::shellOpen().open(FileName); }

void TTools::ExecuteFilePara(const QString& FileName, const QString& Para) {
    plat::shellOpen().open(blanktext::trimmed(FileName), Para);
}

bool TTools::ExecAndWait(const QString& FileName, const QString& Params) {
    // The working folder is the folder part of FileName. A name without a folder has
    // none to give: the program then starts in the current folder and is found there
    // or on PATH, as a Windows shell would find it.
    const qsizetype slash = FileName.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : FileName.left(slash + 1);
    return plat::startAndWait(QStringLiteral("\"") + FileName + QStringLiteral("\" ") + Params, folder);
}

quint32 TTools::GetFileHandle(const QString& FileName) {
    ProcessInfo1->setActive(true);
    AppInfo1->setActive(true);
    quint32 result = 0;
    if (const auto process = ProcessInfo1->findByName(FileName)) {
        for (const plat::WindowEntry& w : AppInfo1->windows())
            if (w.pid == process->pid)
                result = w.handle;
    }
    ProcessInfo1->setActive(false);
    AppInfo1->setActive(false);
    return result;
}

bool TTools::EnumWindowsProc(quint32 Wnd, qintptr) {
    const auto w = plat::windowEntry(Wnd);
    if (!w || (!w->visible && !w->minimised) || w->owner != 0 || w->toolWindow)
        return true;
    const QString title = w->title.left(200);
    if (title != QLatin1String("GDI+ Window"))
        CTILIst->addItem(title);
    return true;
}

void TTools::CTrayIDblClick(QObject*) {}

void TTools::CTIPopupPopup(QObject*) {}
