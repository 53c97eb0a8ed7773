// The real open-file dialog: its title and filter, a file typed and confirmed, a
// cancel, and an end request while it is open.
#include "app/filechooser.h"
#include "settle.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs action on the open-file dialog once it is open.
void onDialog(std::function<void(QFileDialog*)> action) {
    QTimer::singleShot(0, qApp, [action] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no open-file dialog";
            return;
        }
        action(dialog);
        // A dialog the action did not close fails the test instead of hanging it.
        QTimer::singleShot(5000, dialog, [dialog] {
            ADD_FAILURE() << "the open-file dialog stayed open";
            dialog->reject();
        });
    });
}

class QtFileChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.path() + "/bv1402.txt";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void TearDown() override { settleEndRequest(); }
    QTemporaryDir dir;
    QString path;
    QtFileChooser chooser;
};

TEST_F(QtFileChooserTest, TypedFileIsConfirmedAndKeptThroughACancel) {
    QString title;
    QStringList filters;
    onDialog([&](QFileDialog* d) {
        title = d->windowTitle();
        filters = d->nameFilters();
        auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        d->setDirectory(dir.path());  // the user goes to the folder, then types the name
        QTest::keyClicks(edit, "bv1402.txt");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    ASSERT_TRUE(chooser.execute(nullptr));
    EXPECT_EQ(title, QString::fromUtf8("لطفا فايل ورودي را انتخاب كنيد"));
    EXPECT_EQ(filters, QStringList({QString::fromUtf8("فايل متني (*.txt)")}));
    EXPECT_EQ(chooser.fileName(), path);

    QStringList openedOn;
    onDialog([&](QFileDialog* d) {
        openedOn = d->selectedFiles();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(chooser.execute(nullptr));
    EXPECT_EQ(openedOn, QStringList({path}));  // opens on the file chosen last
    EXPECT_EQ(chooser.fileName(), path);
}

TEST_F(QtFileChooserTest, AnEndRequestClosesTheDialogAsACancel) {
    onDialog([&](QFileDialog* d) {
        d->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        plat::requestEnd();
    });
    EXPECT_FALSE(chooser.execute(nullptr));
    EXPECT_TRUE(chooser.fileName().isEmpty());
    // Once the end is requested the dialog does not open at all.
    EXPECT_FALSE(chooser.execute(nullptr));
}

}  // namespace
