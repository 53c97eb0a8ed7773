#pragma once
// The toolkit of the SQL tests (recording dialogs, an embedded farm database as its
// ServerConnection) with a record of its keyboard layout of its own.
#include "platform/keyboardlayouts.h"
#include "tests/fixtures/qstringprint.h"
#include "tests/fixtures/sqlfixture.h"

#include <QCoreApplication>
#include <QTimer>

class ToolsFixture : public SqlFixture {
protected:
    void SetUp() override {
        plat::setKeyboardLayouts(&layouts);
        SqlFixture::SetUp();
    }

    void TearDown() override {
        clearEndRequest();
        SqlFixture::TearDown();
        plat::setKeyboardLayouts(nullptr);
    }

    // A request to end the program also queues a quit of the event loop, which would end
    // the next dialog at once; this runs it off and clears the request.
    static void clearEndRequest() {
        if (plat::endRequested()) {
            QCoreApplication::processEvents();
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
        }
        plat::AppExit::instance().reset();
    }

    bool persianActive() const {
        return layouts.active() == QLatin1String("00000429") || layouts.active() == QLatin1String("a0000429");
    }
    bool englishActive() const { return layouts.active() == QLatin1String("00000409"); }

    plat::RecordingKeyboardLayouts layouts;
};
