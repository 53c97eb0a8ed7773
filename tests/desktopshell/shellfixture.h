#pragma once
// A toolkit whose registry, XDG configuration and data folders are temporary ones, with
// recorded dialogs and a recorded change notice; helpers to list registry trees and to
// run Debian's independent file checkers.
#include "platform/registry.h"
#include "platform/shellnotify.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* sub : {"registry", "config", "data", "app"})
            QDir(m_dir.path()).mkpath(sub);
        qputenv("BVT_REGISTRY_DIR", QFile::encodeName(path("registry")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("data")));
        qunsetenv("BVT_WINVER");
        m_previousNotify = plat::setShellNotify(&notify);
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, path("app") + u'/', QDate(2011, 3, 21)});
    }
    void TearDown() override {
        tools.reset();
        plat::setShellNotify(m_previousNotify);
        for (const char* name : {"BVT_REGISTRY_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "BVT_WINVER"})
            qunsetenv(name);
    }

    QString path(const QString& sub) const { return m_dir.path() + u'/' + sub; }

    // Every key below root\start as "path|value name|kind|text", depth first.
    static QStringList tree(plat::reg::Root root, const QString& start) {
        QStringList lines;
        const plat::reg::Key key = plat::reg::Key::open(root, start, plat::reg::Access::Read);
        if (!key)
            return lines;
        lines.append(start);
        for (const QString& name : key.valueNames()) {
            const plat::reg::Value v = *key.value(name);
            lines.append(start + u'|' + name + u'|' + QString::number(v.type) + u'|' + v.text());
        }
        for (const QString& sub : key.subKeyNames())
            lines += tree(root, start + u'\\' + sub);
        return lines;
    }

    // Runs an installed checker; nullopt when it is not installed.
    static std::optional<std::pair<int, QString>> runTool(const QString& program, const QStringList& args) {
        const QString exe = QStandardPaths::findExecutable(program);
        if (exe.isEmpty())
            return std::nullopt;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(exe, args);
        p.waitForFinished(-1);
        return std::make_pair(p.exitCode(), QString::fromUtf8(p.readAll()));
    }

    RecordingDialogs dialogs;
    plat::RecordingShellNotify notify;
    std::unique_ptr<TTools> tools;

private:
    QTemporaryDir m_dir;
    plat::ShellNotify* m_previousNotify = nullptr;
};

#define SKIP_WITHOUT(result, tool) \
    if (!(result))                 \
    GTEST_SKIP() << tool << " is not installed (scripts/deps installs it)"
