// Where the status window and its icon come from.
#include "ui/status_window.h"

#include "platform/user.h"
#include "tests/sim/sim_test.h"

using sim::desktop;
using skervo::runState;
namespace platform = skervo::platform;

class StatusWindowTest : public SimTest {};

TEST_F(StatusWindowTest, StandsTopmostInTheBottomRightCornerOfTheWorkArea) {
    desktop.workArea = platform::Rect{0, 0, 1280, 994};
    skervo::CreateStatusWindow();
    const sim::Window& window = StatusWindow();
    EXPECT_EQ(window.place.left, 1080);
    EXPECT_EQ(window.place.top, 894);
    EXPECT_EQ(window.place.right, 1280);
    EXPECT_EQ(window.place.bottom, 994);
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(window.topmost);
    EXPECT_EQ(window.style, platform::kWsPopup);
    EXPECT_EQ(window.exStyle, platform::kWsExToolWindow | platform::kWsExLayered);
    EXPECT_EQ(window.opacity, 210);
}

TEST_F(StatusWindowTest, FallsBackOnTheFullScreenAndOnOpacity) {
    desktop.workArea.reset();
    desktop.fullScreenWidth = 800;
    desktop.fullScreenHeight = 580;
    desktop.libraries["user32.dll"].clear();
    skervo::CreateStatusWindow();
    EXPECT_EQ(StatusWindow().place.left, 600);
    EXPECT_EQ(StatusWindow().place.top, 480);
    EXPECT_FALSE(StatusWindow().opacity.has_value());
    EXPECT_EQ(StatusWindow().exStyle, platform::kWsExToolWindow);
}

TEST_F(StatusWindowTest, AddsTheIconThatReportsToTheWindow) {
    skervo::CreateStatusWindow();
    ASSERT_TRUE(desktop.trayIcon.has_value());
    EXPECT_TRUE(runState.TrayIconPresent);
    EXPECT_EQ(desktop.trayIcon->window, runState.StatusWindowHandle);
    EXPECT_EQ(desktop.trayIcon->flags, 7u);
    EXPECT_EQ(desktop.trayIcon->callbackMessage, 4094u);
    EXPECT_STREQ(desktop.trayIcon->tip.data(), "Skervo");

    SetUp();
    desktop.trayAddSucceeds = false;
    skervo::CreateStatusWindow();
    EXPECT_FALSE(runState.TrayIconPresent);
}
