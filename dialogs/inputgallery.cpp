#include "inputgallery.h"

#include "dialogs/folderbrowser.h"
#include "dialogs/inputtexts.h"
#include "dialogs/querydialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

namespace {

// The client area with a title strip above it; the platform draws the real frame.
void save(QWidget& window, const QString& path) {
    window.show();
    QCoreApplication::processEvents();
    const QPixmap client = window.grab();
    const int strip = window.fontMetrics().height() + 8;
    QImage image(client.width(), client.height() + strip, QImage::Format_RGB32);
    image.fill(window.palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.fillRect(0, 0, image.width(), strip, window.palette().color(QPalette::Highlight));
    painter.setPen(window.palette().color(QPalette::HighlightedText));
    painter.setFont(window.font());
    painter.drawText(QRect(6, 0, image.width() - 12, strip), Qt::AlignVCenter | Qt::AlignRight, window.windowTitle());
    painter.drawPixmap(0, strip, client);
    painter.end();
    image.save(path);
    window.hide();
}

void saveQuery(const QuerySetup& setup, const QString& path) {
    TQueryDialog dialog(setup);
    save(dialog, path);
}

// Waits until the browser's model has read the folders it shows; a folder that never
// reports ends the wait after two seconds (a picture, not a test).
void waitForFolders(TFolderBrowser& browser, const QStringList& folders) {
    QEventLoop loop;
    QStringList waiting = folders;
    QObject::connect(browser.fileSystem(), &QFileSystemModel::directoryLoaded, &loop, [&](const QString& path) {
        waiting.removeAll(QDir::cleanPath(path));
        if (waiting.isEmpty())
            loop.quit();
    });
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    for (const QString& f : folders)
        browser.fileSystem()->fetchMore(browser.fileSystem()->index(f));
    loop.exec();
}

}  // namespace

void renderInputDialogsGallery(const QString& dir) {
    const QDir out(dir);
    saveQuery({inputtexts::kInQueryCaption, QStringLiteral("نام گروه جديد را وارد كنيد:"), QueryInput::Edit, QStringLiteral("تليسه هاي آبستن")},
              out.filePath(QStringLiteral("inquery.png")));
    saveQuery({inputtexts::kInQueryEngCaption, QStringLiteral("نام سرور را وارد كنيد:"), QueryInput::Edit, QStringLiteral("farmsrv,1433")},
              out.filePath(QStringLiteral("inqueryeng.png")));
    QuerySetup combo(inputtexts::kInQueryCaption, QStringLiteral("گروه مورد نظر را انتخاب كنيد:"), QueryInput::PickList,
                     QStringLiteral("گاوهاي خشك"), {QStringLiteral("گاوهاي شيري"), QStringLiteral("گاوهاي خشك"), QStringLiteral("تليسه ها")});
    combo.pickListHeight = 22;
    saveQuery(combo, out.filePath(QStringLiteral("inquerycombo.png")));
    QuerySetup password(inputtexts::kPassInQueryCaption, QStringLiteral("رمز ورود را وارد كنيد:"), QueryInput::Password, QStringLiteral("secret"));
    password.blanksAreEmpty = false;
    saveQuery(password, out.filePath(QStringLiteral("passinquery.png")));
    saveQuery({inputtexts::kSelectFromListCaption,
               QStringLiteral("يكي از مقادير را انتخاب كنيد. اين ليست از ستون اول سطرهاي دستور ساخته شده است و مقادير تكراري را هم نشان مي دهد."),
               QueryInput::PickList,
               QStringLiteral("South"),
               {QStringLiteral(" "), QStringLiteral("North"), QStringLiteral("South"), QStringLiteral("North")}},
              out.filePath(QStringLiteral("selectfromlist.png")));

    QTemporaryDir folders;
    if (!folders.isValid())
        return;
    const QDir root(QDir(folders.path()).filePath(QStringLiteral("مزرعه")));
    for (const QString& sub : {QStringLiteral("Backup/1402"), QStringLiteral("Backup/1403"), QStringLiteral("گزارشها"), QStringLiteral("Milk")})
        root.mkpath(sub);
    TFolderBrowser browser(QStringLiteral("پوشه پشتيبان را انتخاب كنيد:"), root.path());
    const QString backup = QDir::cleanPath(root.filePath(QStringLiteral("Backup")));
    waitForFolders(browser, {QDir::cleanPath(root.path()), backup});
    browser.tree()->expand(browser.indexOf(backup));
    save(browser, out.filePath(QStringLiteral("selectdirectory.png")));
}
