// The working environment the toolkit sets up when it is created, and the keyboard
// layout switches.
#include "tests/fixtures/toolsfixture.h"

#include "toolkit/messageboardform.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

namespace {

const QStringList kFirstSwitchOnNewerVersions = {
    "load 00000429", "activate 00000429", "unload 00000429", "load a0000429", "activate a0000429"};
const QStringList kStandardPersian = {"load a0000429", "activate a0000429"};
const QStringList kPlainPersian = {"load 00000429", "activate 00000429"};

using EnvironmentTest = ToolsFixture;

void setOtherFormats() {
    plat::FormatSettings& fs = plat::formatSettings();
    fs.shortDateFormat = fs.longDateFormat = "yyyy-mm-dd";
    fs.shortTimeFormat = fs.longTimeFormat = "hh:nn";
    fs.decimalSeparator = u',';
}

void expectWorkingFormats(QChar decimalSeparator) {
    const plat::FormatSettings& fs = plat::formatSettings();
    EXPECT_EQ(fs.shortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(fs.longDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(fs.shortTimeFormat, "HH:mm:ss");
    EXPECT_EQ(fs.longTimeFormat, "HH:mm:ss");
    EXPECT_EQ(fs.decimalSeparator, decimalSeparator);
}

TEST_F(EnvironmentTest, CreationSetsDateAndTimeFormatsButNotTheDecimalSeparator) {
    setOtherFormats();
    create();
    expectWorkingFormats(u',');
}

TEST_F(EnvironmentTest, SetConfigAgainRestoresFormatsAndDecimalPointAndSwitchesToPersian) {
    TTools& t = create();
    setOtherFormats();
    t.SwitchToEnglish();
    layouts.clearJournal();
    t._SetConfigAgain();
    expectWorkingFormats(u'.');
    // The first switch after creation unloads the plain layout once more.
    EXPECT_EQ(layouts.journal(), kFirstSwitchOnNewerVersions);
    EXPECT_EQ(layouts.active(), "a0000429");
}

TEST_F(EnvironmentTest, CreationFillsTheSharedValuesAndMakesTheWorkDirectory) {
    TTools& t = create();
    EXPECT_EQ(t.AppPath, appDir());
    EXPECT_EQ(t.ReturnedValues, QStringList(50, QString()));
    EXPECT_TRUE(t.ViewCanBeDroped);
    EXPECT_EQ(t.WinVer, 610);
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_EQ(t.DeskSize, QGuiApplication::primaryScreen()->availableGeometry());
    ASSERT_NE(MessageBoardForm, nullptr);
    EXPECT_FALSE(MessageBoardForm->isVisible());
    EXPECT_TRUE(QDir(appDir() + "Z8M/ED").exists());
}

TEST_F(EnvironmentTest, AnApplicationDirectoryWithoutSeparatorGetsOne) {
    EXPECT_EQ(createAt(appDir().chopped(1)).AppPath, appDir());
    EXPECT_TRUE(QDir(appDir() + "Z8M/ED").exists());
}

TEST_F(EnvironmentTest, LeavesAnExistingWorkDirectoryAlone) {
    ASSERT_TRUE(QDir(appDir()).mkpath("Z8M/ED"));
    QFile log(appDir() + "Z8M/SqlExecuteErrorLog.Txt");
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("kept");
    log.close();
    create();
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), "kept");
    EXPECT_EQ(QDir(appDir() + "Z8M").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"ED", "SqlExecuteErrorLog.Txt"}));
}

TEST_F(EnvironmentTest, EdFolderInAnyLetterCaseCountsAsPresent) {
    for (const QString name : {"ed", "Ed", "eD"}) {
        QDir work(appDir() + "Z8M");
        work.removeRecursively();
        ASSERT_TRUE(QDir(appDir()).mkpath("Z8M/" + name));
        create();
        EXPECT_EQ(work.entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({name})) << name.toStdString();
        tools.reset();
    }
}

TEST_F(EnvironmentTest, AMissingApplicationDirectoryIsPassedOverSilently) {
    createAt(appDir() + "missing/");
    EXPECT_FALSE(QDir(appDir() + "missing").exists());
    EXPECT_TRUE(dialogs.entries().empty());
}

TEST_F(EnvironmentTest, PersianLayoutOnNewerVersionsUnloadsThePlainLayoutOnceAfterCreation) {
    TTools& t = create("2;6;1;;WinNT");
    EXPECT_EQ(layouts.journal(), kFirstSwitchOnNewerVersions);  // creation's own switch
    layouts.clearJournal();
    t.SwitchToFarsi();
    EXPECT_EQ(layouts.journal(), kFirstSwitchOnNewerVersions);  // creation cleared the flag
    for (int i = 0; i < 3; ++i) {
        layouts.clearJournal();
        t.SwitchToFarsi();
        EXPECT_EQ(layouts.journal(), kStandardPersian);
    }
    EXPECT_EQ(layouts.active(), "a0000429");
    EXPECT_EQ(layouts.loaded(), QStringList({"a0000429"}));
}

TEST_F(EnvironmentTest, PersianLayoutUpToXpIsThePlainOne) {
    for (const QByteArray version : {"2;5;1;Service Pack 3;WinNT", "2;5;0;;WinNT", "1;4;10; A ", "2;4;0;"}) {
        layouts = plat::RecordingKeyboardLayouts();
        TTools& t = create(version);
        EXPECT_EQ(layouts.journal(), kPlainPersian) << version.constData();
        layouts.clearJournal();
        t.SwitchToFarsi();
        t.SwitchToFarsi();
        EXPECT_EQ(layouts.journal(), kPlainPersian + kPlainPersian) << version.constData();
        EXPECT_EQ(layouts.active(), "00000429");
        tools.reset();
    }
}

TEST_F(EnvironmentTest, EnglishLayoutIsUsEnglish) {
    TTools& t = create();
    layouts.clearJournal();
    t.SwitchToEnglish();
    EXPECT_EQ(layouts.journal(), QStringList({"load 00000409", "activate 00000409"}));
    EXPECT_EQ(layouts.active(), "00000409");
    t.SwitchToFarsi();
    EXPECT_EQ(layouts.active(), "a0000429");
}

}  // namespace
