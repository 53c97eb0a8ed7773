#include "gallery.h"

#include "calendar/datepickergallery.h"
#include "dialogs/inputgallery.h"

#include "app/filechooser.h"
#include "app/mainform.h"
#include "connection/multiuserform.h"
#include "dataaccess/ui/connectdialog.h"
#include "platform/beep.h"
#include "toolkit/messageboardform.h"
#include "toolkit/tools.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

bool g_failed = false;

void renderMainWindowGallery(const QString& dir);
void renderMessageDialogsGallery(const QString& dir);
void renderBoxWindowsGallery(const QString& dir);
void renderMessageBoardGallery(const QString& dir);
void renderConnectDialogGallery(const QString& dir);
void renderCustomerWindowGallery(const QString& dir);
void renderOpenFileDialogGallery(const QString& dir);

using GalleryPage = void (*)(const QString& dir);

// Every page of the gallery. A window built elsewhere adds itself here with one line:
// a function void renderXxxGallery(const QString& dir), declared in its own header,
// that shows its window with sample content and writes its PNG files into dir through
// saveGalleryPicture or pictureNextModal.
const GalleryPage kPages[] = {
    renderMainWindowGallery,
    renderOpenFileDialogGallery,
    renderMessageDialogsGallery,
    renderBoxWindowsGallery,
    renderMessageBoardGallery,
    renderConnectDialogGallery,
    renderCustomerWindowGallery,
    renderDatePickerGallery,
    renderInputDialogsGallery,
};

bool onX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

void writePixmap(const QPixmap& pixmap, const QString& path) {
    if (pixmap.isNull() || !pixmap.save(path, "PNG")) {
        std::fprintf(stderr, "bvtransfer: cannot write %s\n", qPrintable(path));
        g_failed = true;
    }
}

// On X11 the window manager frames a window some turns of the event loop after it is
// mapped, and paints the frame after that: wait for the frame (at most two seconds; a
// window manager may draw none), then let it paint.
void settleOnScreen(QWidget* window) {
    QDeadlineTimer framed(2000);
    while (window->frameGeometry() == window->geometry() && !framed.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QDeadlineTimer painted(300);
    while (!painted.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

}  // namespace

void saveGalleryPicture(QWidget* window, const QString& dir, const QString& name) {
    if (!window->isVisible())
        window->show();
    QCoreApplication::processEvents();
    writePixmap(window->grab(), QDir(dir).filePath(name + QStringLiteral(".png")));
    if (!onX11())
        return;
    settleOnScreen(window);
    const QRect frame = window->frameGeometry();
    if (QScreen* screen = window->screen())
        writePixmap(screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()),
                    QDir(dir).filePath(name + QStringLiteral("-screen.png")));
}

void pictureNextModal(const QString& dir, const QString& name) {
    QTimer::singleShot(0, [dir, name] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            std::fprintf(stderr, "bvtransfer: no dialog to picture as %s\n", qPrintable(name));
            g_failed = true;
            return;
        }
        saveGalleryPicture(modal, dir, name);
        modal->close();
    });
}

int runGallery(const QString& dir) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "bvtransfer: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    // The pages run the toolkit without a farm: nothing connects, nothing beeps.
    plat::RecordingBeep silent;
    plat::ScopedBeep quiet(&silent);
    QTemporaryDir appDir;
    ToolsOptions options;
    options.appPath = appDir.path() + u'/';
    TTools tools(options);
    for (GalleryPage page : kPages)
        page(dir);
    return g_failed ? 1 : 0;
}

namespace {

void renderMainWindowGallery(const QString& dir) {
    auto chooser = std::make_unique<ScriptedFileChooser>();
    chooser->scriptAnswer(QStringLiteral("/srv/farm/evaluations/BV-1402-06.txt"));
    TMainForm form(std::move(chooser));
    saveGalleryPicture(&form, dir, QStringLiteral("main-window-start"));
    form.Button1Click();
    saveGalleryPicture(&form, dir, QStringLiteral("main-window"));
}

void renderOpenFileDialogGallery(const QString& dir) {
    QtFileChooser chooser;
    pictureNextModal(dir, QStringLiteral("open-file-dialog"));
    chooser.execute(nullptr);
}

void renderMessageDialogsGallery(const QString& dir) {
    pictureNextModal(dir, QStringLiteral("showmsg"));
    Tools->ShowMsg(QStringLiteral("انتقال خاتمه يافت"));
    pictureNextModal(dir, QStringLiteral("askyesno"));
    Tools->AskYesNo(QStringLiteral("تمايل داريد گزارش نمايش داده شود يا نمودار؟"));
    pictureNextModal(dir, QStringLiteral("askyesnoall"));
    Tools->AskYesNoAll(QStringLiteral("تمايل داريد گزارش نمايش داده شود يا نمودار؟"));
    pictureNextModal(dir, QStringLiteral("chartorfr3"));
    Tools->ChartOrFr3();
    pictureNextModal(dir, QStringLiteral("showexceptmsg"));
    Tools->ShowExceptMsg(QStringLiteral("INSERT INTO BV (RegNo, BvMilk) SELECT RegNo, BvMilk FROM BVTemp"),
                         QStringLiteral("Violation of PRIMARY KEY constraint 'PK_BV'. Cannot insert duplicate key in object 'dbo.BV'."));
    pictureNextModal(dir, QStringLiteral("plain-message-box"));
    Tools->dialogs().plainMessage(QStringLiteral("ليست خالي است"));
}

// The please-wait box is a window of its own, not a child of the toolkit.
void pictureBox(const QString& dir, const QString& name) {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("MsgBoxForm") && top->isVisible())
            saveGalleryPicture(top, dir, name);
    Tools->ShowBoxClose();
}

void renderBoxWindowsGallery(const QString& dir) {
    const QString text = QStringLiteral("در حال انتقال اطلاعات");
    Tools->ShowBoxMessage(text);
    pictureBox(dir, QStringLiteral("showboxmessage"));
    Tools->ShowBigBoxMessage(QString());
    pictureBox(dir, QStringLiteral("showbigboxmessage"));
    Tools->ShowBoxMessageColor(text, 0x00C0FFC0);
    pictureBox(dir, QStringLiteral("showboxmessagecolor"));
}

void renderMessageBoardGallery(const QString& dir) {
    MessageBoardForm->StartRecording(true, QStringLiteral("گزارش"));
    for (int row = 1; row <= 100; ++row) {
        const QString value = row % 10 == 0
                                  ? QStringLiteral("SELECT RegNo, BvMilk, BvFat, BvPro FROM BVTemp WHERE RegNo NOT IN (SELECT RegNo FROM Main) ORDER BY RegNo")
                                  : QStringLiteral("رديف %1 منتقل شد").arg(row);
        MessageBoardForm->PostThisMessage(QStringLiteral("سطر %1").arg(row), value);
    }
    MessageBoardForm->StopRecording();
    saveGalleryPicture(MessageBoardForm, dir, QStringLiteral("message-board"));
    MessageBoardForm->dxButton1Click();
}

void renderConnectDialogGallery(const QString& dir) {
    QTemporaryDir history;
    da::ConnectDialog dialog;
    dialog.setHistoryFile(history.filePath(QStringLiteral("servers.txt")));
    dialog.setCaptions(da::ConnectCaptions::program());
    dialog.setDatabaseLister([](const da::ConnectParams&) { return QStringList{QStringLiteral("master"), QStringLiteral("Masters")}; });
    da::ConnectParams params;
    params.server = QStringLiteral("farmsrv,1433");
    params.database = QStringLiteral("master");
    params.user = QStringLiteral("sa");
    pictureNextModal(dir, QStringLiteral("connect-dialog"));
    dialog.prompt(params);
}

void renderCustomerWindowGallery(const QString& dir) {
    TMultiUserForm form;
    for (int i = 1; i <= 11; ++i)
        form.RadioGroup1->addItem(QStringLiteral("دامداري شماره %1").arg(i));
    pictureNextModal(dir, QStringLiteral("customer-window"));
    form.exec();
}

}  // namespace
