#include "widgets/trayicon.h"

#include <gtest/gtest.h>

TEST(TrayIcon, RemembersTheBalloonItShows) {
    TrayIcon tray;
    EXPECT_FALSE(tray.icon().isNull());
    EXPECT_FALSE(tray.balloonShown());
    tray.showBalloon(QStringLiteral("Title"), QStringLiteral("Text"), QSystemTrayIcon::Information, 10000);
    EXPECT_TRUE(tray.balloonShown());
    EXPECT_EQ(tray.balloonTitle(), QStringLiteral("Title"));
    EXPECT_EQ(tray.balloonText(), QStringLiteral("Text"));
    EXPECT_EQ(tray.balloonIcon(), QSystemTrayIcon::Information);
    EXPECT_EQ(tray.balloonTimeout(), 10000);
    tray.hideBalloon();
    EXPECT_FALSE(tray.balloonShown());
    tray.hideBalloon();
    EXPECT_FALSE(tray.balloonShown());
}
