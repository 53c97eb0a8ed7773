#pragma once
// After a test has requested the end of the program: lets the queued quit run inside a
// loop of its own, which clears Qt's quit state so that later tests' loops run, and
// clears the request.
#include "platform/appexit.h"

#include <QCoreApplication>
#include <QTimer>

inline void settleEndRequest() {
    if (plat::endRequested()) {
        QTimer fallback;  // ends the loop should the queued quit have run already
        fallback.setSingleShot(true);
        QObject::connect(&fallback, &QTimer::timeout, [] { QCoreApplication::exit(0); });
        fallback.start(0);
        QCoreApplication::exec();
    }
    plat::AppExit::instance().reset();
}
