// Start-up: the shared options, the end of the program before and inside the loop, and
// the program itself run for a screenshot and without a display.
#include "app/filechooser.h"
#include "app/mainform.h"
#include "app/startup.h"
#include "app/startupoptions.h"
#include "settle.h"
#include "widgets/flatbutton.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(StartupOptions, ParsesAppDirAndScreenshotAndLeavesTheRest) {
    const struct {
        QStringList args;
        QString appDir, screenshot;
        bool error;
    } rows[] = {
        {{"bvtransfer"}, "", "", false},
        {{"bvtransfer", "--app-dir", "/farm"}, "/farm", "", false},
        {{"bvtransfer", "--screenshot", "main.png", "--app-dir", "d"}, "d", "main.png", false},
        {{"bvtransfer", "--transfer", "x.txt", "--app-dir", "d"}, "d", "", false},
        {{"bvtransfer", "--app-dir"}, "", "", true},
        {{"bvtransfer", "--screenshot", ""}, "", "", true},
    };
    for (const auto& row : rows) {
        const StartupOptions options = parseStartupOptions(row.args);
        SCOPED_TRACE(row.args.join(' ').toStdString());
        EXPECT_EQ(options.appDir, row.appDir);
        EXPECT_EQ(options.screenshot, row.screenshot);
        EXPECT_EQ(!options.error.isEmpty(), row.error);
    }
}

TEST(StartupOptions, ApplicationPathEndsWithTheSeparator) {
    EXPECT_EQ(applicationPath("", "/opt/bv"), "/opt/bv/");
    EXPECT_EQ(applicationPath("/farm/", "/opt/bv"), "/farm/");
    EXPECT_EQ(applicationPath("/farm", "/opt/bv"), "/farm/");
    EXPECT_EQ(applicationPath("rel", "/opt/bv"), QDir::current().absoluteFilePath("rel") + "/");
}

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override { plat::AppExit::instance().reset(); }
    void TearDown() override { settleEndRequest(); }
    TMainForm form{std::make_unique<ScriptedFileChooser>()};
};

TEST_F(MainLoopTest, AnEndRequestedBeforeTheLoopEndsWithoutShowingTheWindow) {
    plat::requestEnd(true);  // as a failing start-up step does
    EXPECT_EQ(runMainLoop(form), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.testAttribute(Qt::WA_WState_ExplicitShowHide));
}

TEST_F(MainLoopTest, BackButtonEndsTheLoop) {
    bool shown = false;
    QTimer::singleShot(0, &form, [&] {
        shown = form.isVisible();
        QTest::mouseClick(form.dxButton2, Qt::LeftButton);
    });
    EXPECT_EQ(runMainLoop(form), 0);
    EXPECT_TRUE(shown);
}

// The program itself.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    int run(const QStringList& args, QProcessEnvironment env) {
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(BVTRANSFER_EXE, args);
        EXPECT_TRUE(program.waitForFinished(60000));
        errors = QString::fromUtf8(program.readAllStandardError());
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }
    QTemporaryDir dir;
    QString errors;
};

TEST_F(ProgramTest, ScreenshotRendersTheMainWindowAndUsesTheGivenApplicationDirectory) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString png = dir.filePath("main.png");
    ASSERT_EQ(run({"--screenshot", png, "--app-dir", dir.path()}, env), 0) << errors.toStdString();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(603, 151));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(221, 221, 255));
    EXPECT_TRUE(QDir(dir.filePath("Z8M/ED")).exists());  // the toolkit worked in --app-dir
}

TEST_F(ProgramTest, ScreenshotOfAMultiCustomerInstallNeverWaitsForALogin) {
    QFile marker(dir.filePath("Multiusers.Dat"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString png = dir.filePath("main.png");
    ASSERT_EQ(run({"--screenshot", png, "--app-dir", dir.path()}, env), 0) << errors.toStdString();
    EXPECT_FALSE(QImage(png).isNull());
}

TEST_F(ProgramTest, WithoutADisplaySaysWhyAndFails) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    EXPECT_NE(run({"--app-dir", dir.path()}, env), 0);
    EXPECT_TRUE(errors.contains("no display")) << errors.toStdString();
    EXPECT_FALSE(QDir(dir.filePath("Z8M")).exists());  // no window, no toolkit
}

}  // namespace
