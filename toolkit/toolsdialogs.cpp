#include "toolkit/tools.h"

#include "platform/beep.h"
#include "widgets/trayicon.h"

namespace {

const QString kMsgCaption = QStringLiteral("پيام");
constexpr int kBalloonTimeout = 10000;  // milliseconds

// With the tray icon enabled, box messages go to a balloon hint at the icon instead of
// the box window. The icon is made the first time it is needed.
bool boxToTray(TTools& tools, const QString& msg) {
    if (!tools.CTrayIEnabled)
        return false;
    if (!tools.CTrayI)
        tools.CTrayI = new TrayIcon(&tools);
    if (auto* tray = qobject_cast<TrayIcon*>(tools.CTrayI))
        tray->showBalloon(kMsgCaption, msg, QSystemTrayIcon::Information, kBalloonTimeout);
    else
        tools.CTrayI->showMessage(kMsgCaption, msg, QSystemTrayIcon::Information, kBalloonTimeout);
    return true;
}

}  // namespace

void TTools::ShowMsg(const QString& St) {
    plat::messageBeep();
    dialogs().showMsg(St);
}

int TTools::AskYesNo(const QString& St) { return dialogs().askYesNo(St); }

int TTools::AskYesNoAll(const QString& St) { return dialogs().askYesNoAll(St); }

int TTools::ChartOrFr3() { return dialogs().chartOrFr3(QStringLiteral("تمايل داريد گزارش نمايش داده شود يا نمودار؟")); }

void TTools::ShowBoxMessage(const QString& Msg) {
    if (!boxToTray(*this, Msg))
        dialogs().showBox(BoxKind::Small, Msg, 0);
}

void TTools::ShowBigBoxMessage(const QString& Msg) {
    if (!boxToTray(*this, Msg))
        dialogs().showBox(BoxKind::Big, Msg, 0);
}

void TTools::ShowBoxMessageColor(const QString& Msg, unsigned Color) {
    if (!boxToTray(*this, Msg))
        dialogs().showBox(BoxKind::Color, Msg, Color);
}

void TTools::ShowBoxClose() {
    if (CTrayIEnabled) {
        if (auto* tray = qobject_cast<TrayIcon*>(CTrayI))
            tray->hideBalloon();
        return;
    }
    dialogs().closeBox();
}
