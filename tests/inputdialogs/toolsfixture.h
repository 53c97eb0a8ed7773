#pragma once
// A toolkit on recording dialogs with its own record of the keyboard layout.
#include "platform/appexit.h"
#include "platform/keyboardlayouts.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

class ToolsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        plat::AppExit::instance().reset();
        ASSERT_TRUE(m_dir.isValid());
        plat::setKeyboardLayouts(&layouts);
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, m_dir.path() + u'/', QDate(2026, 12, 9)});
        dialogs.clear();
    }

    void TearDown() override {
        tools.reset();
        plat::setKeyboardLayouts(nullptr);
        clearEndRequest();
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

    QTemporaryDir m_dir;
    RecordingDialogs dialogs;
    plat::RecordingKeyboardLayouts layouts;
    std::unique_ptr<TTools> tools;
};

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
