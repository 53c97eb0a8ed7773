#include "dialogs/inputgallery.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(InputDialogsGallery, WritesAPictureOfEveryDialog) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.path();
    renderInputDialogsGallery(out);
    for (const char* name : {"inquery", "inqueryeng", "passinquery", "inquerycombo", "selectfromlist", "selectdirectory"}) {
        const QImage image(QDir(out).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
        EXPECT_FALSE(image.isNull()) << name;
        EXPECT_GT(image.width(), 200) << name;
    }
}

}  // namespace
