#include "appearance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installQtPersianTranslation() {
    static QTranslator* installed = nullptr;
    if (installed)
        return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    // qtbase_fa holds the texts of the widgets and dialogs the program uses.
    if (!translator->load(QStringLiteral("qtbase_fa"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

QFont defaultFace() {
    QFont face(QStringLiteral("Tahoma"));
    face.setPixelSize(11);
    return face;
}

void applyPersianAppearance() {
    installQtPersianTranslation();
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setFont(defaultFace());
}
