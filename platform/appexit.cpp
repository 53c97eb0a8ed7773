#include "appexit.h"

#include <QCoreApplication>
#include <QTimer>

namespace plat {

AppExit& AppExit::instance() {
    static AppExit* self = new AppExit;
    return *self;
}

void AppExit::request(bool failure) {
    m_requested = true;
    m_failed = m_failed || failure;
    if (auto* app = QCoreApplication::instance()) {
        // A quit asked before the loop runs is lost, so it is queued; main tests the
        // flag before entering the loop as well.
        QTimer::singleShot(0, app, [] { QCoreApplication::exit(AppExit::instance().exitStatus()); });
    }
    emit endRequested();
}

void AppExit::reset() {
    m_requested = false;
    m_failed = false;
}

}  // namespace plat
