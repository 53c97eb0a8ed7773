#pragma once
// How every window of the program looks to a Persian-speaking user: Qt's own texts
// (file dialogs, context menus, standard buttons) in Persian, every window right to
// left, and Tahoma as the face of every widget that does not ask for another.
#include <QFont>

// Installs Qt's Persian translation from Qt's translations folder; false, leaving Qt's
// texts untranslated, where it is missing. Installs it once however often called.
bool installQtPersianTranslation();

// The application's default face: Tahoma, 11 pixels high (8 points).
QFont defaultFace();

// All of the above, after the application object exists.
void applyPersianAppearance();
