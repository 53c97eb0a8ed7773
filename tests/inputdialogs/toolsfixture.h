#pragma once
// A toolkit on recording dialogs with its own record of the keyboard layout.
#include "platform/appexit.h"
#include "platform/keyboardlayouts.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QTemporaryDir>
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
