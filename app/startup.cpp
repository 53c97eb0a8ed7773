#include "startup.h"

#include "platform/appexit.h"
#include "toolkit/tools.h"

#include <QApplication>

int runProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    new TTools();
    if (plat::endRequested())
        return plat::AppExit::instance().exitStatus();
    return app.exec();
}
