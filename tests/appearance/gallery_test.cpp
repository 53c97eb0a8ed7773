// The gallery, run as a reviewer runs it: the program itself with --gallery DIR.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char* const kPictures[] = {
    "main-window-start",
    "main-window",
    "open-file-dialog",
    "showmsg",
    "askyesno",
    "askyesnoall",
    "chartorfr3",
    "showexceptmsg",
    "plain-message-box",
    "showboxmessage",
    "showbigboxmessage",
    "showboxmessagecolor",
    "message-board",
    "connect-dialog",
    "customer-window",
};

QString runGallery(const QProcessEnvironment& env, const QString& dir, int& status) {
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QStringLiteral(BVTRANSFER_EXE), {QStringLiteral("--gallery"), dir});
    program.waitForFinished(180000);
    status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    return QString::fromLocal8Bit(program.readAll());
}

TEST(Gallery, RendersEveryWindowOffscreen) {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    int status = 0;
    const QString output = runGallery(env, dir.path(), status);
    ASSERT_EQ(status, 0) << output.toStdString();
    for (const char* name : kPictures) {
        const QImage picture(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
        EXPECT_FALSE(picture.isNull()) << name;
    }
    // The main window's client area and 5-pixel border, the customer window likewise.
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("main-window.png"))).size(), QSize(603, 151));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("customer-window.png"))).size(), QSize(559, 427));
}

}  // namespace
