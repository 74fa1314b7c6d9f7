// The poll that tells the run to stop, and the step texts.
#include "ui/message_pump.h"

#include "platform/user.h"
#include "tests/sim/sim_test.h"
#include "ui/status_window.h"

using sim::desktop;
using skervo::PollMessages;
using skervo::runState;
using skervo::ShowStep;
using skervo::StepChange;

class MessagePumpTest : public SimTest {};

TEST_F(MessagePumpTest, StepTextsMoveToThePreviousLineOnlyForANewStep) {
    const struct {
        std::string step;
        bool keepPrevious;
        std::string expectedStep;
        std::string expectedPrevious;
    } sequence[] = {
        {"A", true, "A", ""},                                 // the first step has no predecessor
        {"A", true, "A", ""},                                 // the same text changes nothing
        {"B", true, "B", "(A)"}, {"B2", false, "B2", "(A)"},  // a refresh
        {"", true, "", "(B2)"},  {"C", true, "C", "(B2)"},    // an empty step is no predecessor
    };
    for (const auto& s : sequence) {
        ShowStep(s.step, s.keepPrevious ? StepChange::NewStep : StepChange::SameStep);
        EXPECT_EQ(runState.StepText, s.expectedStep) << s.step;
        EXPECT_EQ(runState.PreviousStepText, s.expectedPrevious) << s.step;
    }
}

TEST_F(MessagePumpTest, ASilentRunNeverStopsAndRepaintsNothing) {
    EXPECT_TRUE(PollMessages());
    ShowStep("A");  // the sim refuses a repaint of every window
    EXPECT_FALSE(runState.StopRequested);
}

TEST_F(MessagePumpTest, OnlyARealChangeRepaintsTheWindow) {
    runState.UseStatusWindow = true;
    skervo::CreateStatusWindow();
    ShowStep("A");
    ShowStep("A");
    ShowStep("A", StepChange::SameStep);
    ShowStep("B", StepChange::SameStep);
    EXPECT_EQ(StatusWindow().invalidations, 2);
}

TEST_F(MessagePumpTest, EveryPollAfterTheWindowIsGoneAnswersFalse) {
    runState.UseStatusWindow = true;
    skervo::CreateStatusWindow();
    EXPECT_TRUE(PollMessages());
    skervo::platform::PostMessageA(runState.StatusWindowHandle, skervo::platform::kWmClose, 0, 0);
    EXPECT_FALSE(PollMessages());
    EXPECT_TRUE(runState.StopRequested);
    runState.StopRequested = false;
    EXPECT_FALSE(PollMessages());
    EXPECT_TRUE(runState.StopRequested);
}

TEST_F(MessagePumpTest, OnlyTheStatusWindowsMessagesArePumped) {
    runState.UseStatusWindow = true;
    skervo::CreateStatusWindow();
    desktop.queue.push_back({skervo::platform::WindowHandle{0x999}, 0x0400});
    desktop.queue.push_back({runState.StatusWindowHandle, 0x0400});
    desktop.queue.push_back({runState.StatusWindowHandle, 0x0401});
    EXPECT_TRUE(PollMessages());
    ASSERT_EQ(desktop.queue.size(), 1u);
    EXPECT_EQ(desktop.queue.front().message, 0x0400u);
}
