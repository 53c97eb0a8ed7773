#pragma once
// A toolkit created in a temporary application directory, with recorded dialogs, its
// own keyboard-layout stand-in and a chosen platform version.
#include "platform/formatsettings.h"
#include "platform/keyboardlayouts.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class ToolsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        plat::setKeyboardLayouts(&layouts);
        plat::formatSettings() = plat::FormatSettings{};
        qunsetenv("BVT_WINVER");
    }
    void TearDown() override {
        tools.reset();
        plat::setKeyboardLayouts(nullptr);
        plat::formatSettings() = plat::FormatSettings{};
        qunsetenv("BVT_WINVER");
    }

    // winVer: the BVT_WINVER value; empty: the platform's default.
    TTools& create(const QByteArray& winVer = {}) {
        if (!winVer.isEmpty())
            qputenv("BVT_WINVER", winVer);
        return createAt(appDir());
    }
    TTools& createAt(const QString& appPath) {
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, appPath, QDate(2011, 3, 21)});
        return *tools;
    }
    QString appDir() const { return m_dir.path() + u'/'; }

    RecordingDialogs dialogs;
    plat::RecordingKeyboardLayouts layouts;
    std::unique_ptr<TTools> tools;

private:
    QTemporaryDir m_dir;
};
