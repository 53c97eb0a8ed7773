#include "dialogwindow.h"

#include "platform/appexit.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

void makeFixedDialog(QDialog& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    dialog.setLayoutDirection(Qt::RightToLeft);
}

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

int runModal(QDialog& dialog) {
    if (plat::endRequested())
        return QDialog::Rejected;
    bool ended = false;
    const QMetaObject::Connection c = QObject::connect(&plat::AppExit::instance(), &plat::AppExit::endRequested, &dialog, [&] {
        ended = true;
        dialog.reject();
    });
    const int result = dialog.exec();
    QObject::disconnect(c);
    return ended ? QDialog::Rejected : result;
}
