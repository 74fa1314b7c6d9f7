// What the user's clicks on the status window and on its icon do.
#include "platform/user.h"
#include "tests/sim/sim_test.h"
#include "ui/message_pump.h"
#include "ui/status_window.h"

using sim::desktop;
using skervo::runState;
namespace platform = skervo::platform;

class StatusClicksTest : public SimTest {
  protected:
    void Open(bool iconAdded = true) {
        SetUp();
        desktop.trayAddSucceeds = iconAdded;
        runState.UseStatusWindow = true;
        skervo::CreateStatusWindow();
        skervo::PollMessages();
    }

    // A message as the platform queues it, dispatched by the next poll.
    static bool Deliver(std::uint32_t message, std::intptr_t lParam) {
        desktop.queue.push_back({runState.StatusWindowHandle, message, 0, lParam});
        return skervo::PollMessages();
    }

    static bool Click(int x, int y) {
        return Deliver(platform::kWmLButtonDown, (static_cast<std::intptr_t>(y) << 16) | x);
    }
};

TEST_F(StatusClicksTest, TheCloseCrossDestroysTheWindowAndStopsTheRun) {
    for (auto [x, y] : {std::pair{182, 5}, {193, 17}, {187, 11}}) {
        Open();
        EXPECT_FALSE(Click(x, y)) << x << ", " << y;
        EXPECT_TRUE(runState.StopRequested);
        EXPECT_EQ(desktop.windowDrags, 0);
        EXPECT_TRUE(desktop.trayIcon.has_value()) << "the icon stays until the tear-down";
    }
}

TEST_F(StatusClicksTest, AClickAnywhereElseDragsTheWindow) {
    for (auto [x, y] : {std::pair{181, 10}, {194, 10}, {185, 4}, {185, 18}, {100, 60}, {0, 99}}) {
        Open();
        EXPECT_TRUE(Click(x, y)) << x << ", " << y;
        EXPECT_EQ(desktop.captureReleases, 1) << x << ", " << y;
        EXPECT_EQ(desktop.windowDrags, 1) << x << ", " << y;
        EXPECT_TRUE(StatusWindow().visible);
    }
}

TEST_F(StatusClicksTest, TheHideButtonHidesOnlyWhenTheIconCanBringTheWindowBack) {
    for (bool iconAdded : {true, false}) {
        Open(iconAdded);
        for (auto [x, y] : {std::pair{165, 5}, {179, 17}}) {
            EXPECT_TRUE(Click(x, y));
            EXPECT_EQ(StatusWindow().visible, !iconAdded) << x << ", " << y;
            EXPECT_EQ(desktop.windowDrags + desktop.captureReleases, 0) << "not even a drag";
        }
    }
}

TEST_F(StatusClicksTest, OnlyTheLeftButtonPressedOnTheIconShowsTheWindowAgain) {
    Open();
    Click(170, 10);
    const std::intptr_t otherEvents[] = {0x200, 0x202, 0x204, 0x203};  // move, up, right, double
    for (std::intptr_t event : otherEvents) {
        Deliver(skervo::kTrayNotifyMessage, event);
        EXPECT_FALSE(StatusWindow().visible) << event;
    }
    Deliver(skervo::kTrayNotifyMessage, platform::kWmLButtonDown);
    EXPECT_TRUE(StatusWindow().visible);
}
