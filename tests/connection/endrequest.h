#pragma once
// Clears a request to end the program between tests. The request's quit reaches every
// running loop and keeps later modal loops from running until the application's own loop
// has run once, so a short turn of that loop is part of clearing it.
#include "platform/appexit.h"

#include <QCoreApplication>
#include <QTimer>

inline void clearEndRequest() {
    plat::AppExit::instance().reset();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    plat::AppExit::instance().reset();
}
