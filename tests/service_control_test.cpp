// Starting and stopping services, and the wait for their state.
#include "services/service_control.h"

#include "tests/sim/sim_test.h"
#include "ui/message_pump.h"
#include "ui/status_window.h"

using sim::desktop;
using skervo::runState;
using Texts = std::vector<std::string>;
namespace platform = skervo::platform;

constexpr std::uint32_t kStopped = platform::kServiceStopped;
constexpr std::uint32_t kStartPending = platform::kServiceStartPending;
constexpr std::uint32_t kStopPending = platform::kServiceStopPending;
constexpr std::uint32_t kRunning = platform::kServiceRunning;

class ServiceControlTest : public SimTest {
  protected:
    static sim::Service& Spooler(std::uint32_t state, int pendingQueries = 0) {
        sim::Service& service = desktop.services.services["spooler"];
        service.state = state;
        service.pendingQueries = pendingQueries;
        return service;
    }
    static std::uint64_t Sleeps() { return desktop.elapsed / 200; }
    // The tables give the wait and the start as flags.
    static bool ControlServiceAndWait(std::string_view name, bool wait, bool start) {
        return skervo::ControlServiceAndWait(
            name, start ? skervo::ServiceAction::Start : skervo::ServiceAction::Stop,
            wait ? skervo::ServiceWait::UntilReached : skervo::ServiceWait::No);
    }
};

TEST_F(ServiceControlTest, SendsOnlyWhatIsNeededAndWaitsOnlyWhenAsked) {
    const struct {
        const char* what;
        std::uint32_t state;
        int pendingQueries;
        bool start, wait;
        std::size_t starts, stops;
        std::uint64_t sleeps;
        std::uint32_t finalState;
        int failingQuery = 0;  // keeps the last state known
    } cases[] = {
        {"start of a running service", kRunning, 0, true, false, 0, 0, 0, kRunning},
        {"wait for a running service", kRunning, 0, true, true, 0, 0, 1, kRunning},
        {"wait for a pending start", kStartPending, 3, true, true, 0, 0, 3, kRunning},
        {"start without wait", kStopped, 2, true, false, 1, 0, 0, kStartPending},
        {"start and wait", kStopped, 2, true, true, 1, 0, 3, kRunning},
        {"stop of a stopped service", kStopped, 0, false, true, 0, 0, 1, kStopped},
        {"wait for a pending stop", kStopPending, 2, false, true, 0, 0, 2, kStopped},
        {"stop without wait", kRunning, 2, false, false, 0, 1, 0, kStopPending},
        {"stop and wait", kRunning, 1, false, true, 0, 1, 2, kStopped},
        {"stop of a starting service", kStartPending, 0, false, false, 0, 1, 0, kStopPending},
        {"running, then a failed query", kRunning, 0, true, true, 0, 0, 1, kRunning, 2},
        {"stopped before the start, then a failed query", kStopped, 0, true, true, 1, 0, 2,
         kRunning, 2},
    };
    for (const auto& c : cases) {
        SetUp();
        Spooler(c.state, c.pendingQueries).failingQueries = {c.failingQuery};
        EXPECT_TRUE(ControlServiceAndWait("Spooler", c.wait, c.start)) << c.what;
        EXPECT_EQ(desktop.services.starts.size(), c.starts) << c.what;
        EXPECT_EQ(desktop.services.stops.size(), c.stops) << c.what;
        EXPECT_EQ(Sleeps(), c.sleeps) << c.what;
        EXPECT_EQ(desktop.services.services["spooler"].state, c.finalState) << c.what;
        EXPECT_TRUE(desktop.boxes.empty()) << c.what;
        EXPECT_EQ(desktop.OpenHandleCount(), 0u) << c.what;
    }
}

TEST_F(ServiceControlTest, FailuresShowTheMessageWithTheNameAsGiven) {
    const std::string cannotStart = "Erreur : Impossible de d\xE9marrer le service ";
    const std::string cannotStop = "Erreur : Impossible d'arr\xEAter le service ";
    const struct {
        std::string name;
        bool start;
        bool refused;
        bool firstQueryFails;
        std::string box;
    } cases[] = {
        {"Inconnu", true, false, false, cannotStart + "Inconnu"},
        {"", false, false, false, cannotStop},
        {"SPOOLER", true, true, false, cannotStart + "SPOOLER"},
        {"spooler", false, true, false, cannotStop + "spooler"},
        {"Spooler", true, false, true, cannotStart + "Spooler"},
    };
    for (const auto& c : cases) {
        SetUp();
        sim::Service& service = Spooler(c.start ? kStopped : kRunning);
        service.refusesStart = service.refusesStop = c.refused;
        if (c.firstQueryFails) {
            service.failingQueries = {1};
        }
        EXPECT_FALSE(ControlServiceAndWait(c.name, true, c.start)) << c.box;
        EXPECT_EQ(BoxTexts(), Texts{c.box});
        EXPECT_EQ(desktop.services.starts.size(), c.start && c.refused ? 1u : 0u) << c.box;
        EXPECT_EQ(desktop.elapsed, 0u) << c.box;
        EXPECT_EQ(desktop.OpenHandleCount(), 0u) << c.box;
    }
}

// Asking for no more than the line needs lets a user with delegated rights
// on one service start or stop it without being an administrator.
TEST_F(ServiceControlTest, WithoutTheRightsNothingHappensAndNothingIsShown) {
    const struct {
        const char* what;
        bool manager, administrator;
        std::uint32_t delegated;
        bool done;
    } cases[] = {
        {"no manager (the 95 family)", false, true, 0, false},
        {"no rights", true, false, 0, false},
        {"rights delegated on the service", true, false, 0x34, true},
        {"stop alone delegated", true, false, 0x24, false},
    };
    for (const auto& c : cases) {
        SetUp();
        Spooler(kStopped).delegated = c.delegated;
        desktop.services.opens = c.manager;
        desktop.services.administrator = c.administrator;
        EXPECT_EQ(ControlServiceAndWait("Spooler", true, true), c.done) << c.what;
        EXPECT_TRUE(desktop.boxes.empty()) << c.what;
        EXPECT_EQ(desktop.services.starts.size(), c.done ? 1u : 0u) << c.what;
        EXPECT_EQ(desktop.OpenHandleCount(), 0u) << c.what;
    }
    EXPECT_EQ(runState.StepText, "D\xE9marrage service Spooler");
}

TEST_F(ServiceControlTest, TheWaitStepFollowsTheRequestStep) {
    Texts seen;
    desktop.onSleep = [&] { seen = {runState.StepText, runState.PreviousStepText}; };
    Spooler(kStopped);
    skervo::ShowStep("Lancement NETSTOP");
    ControlServiceAndWait("Spooler", false, false);
    EXPECT_EQ(runState.StepText, "Arr\xEAt service Spooler");
    EXPECT_EQ(runState.PreviousStepText, "(Lancement NETSTOP)");
    ControlServiceAndWait("Spooler", true, false);
    EXPECT_EQ(seen, (Texts{"Attente arr\xEAt service Spooler", "(Arr\xEAt service Spooler)"}));
    ControlServiceAndWait("Spooler", true, true);
    EXPECT_EQ(seen,
              (Texts{"Attente d\xE9marrage service Spooler", "(D\xE9marrage service Spooler)"}));
}

TEST_F(ServiceControlTest, ClosingTheWindowEndsTheWaitAtItsNextPoll) {
    runState.UseStatusWindow = true;
    skervo::CreateStatusWindow();
    const std::size_t windowHandles = desktop.OpenHandleCount();
    Spooler(kStopped, 1000);
    desktop.CloseWindowAfter(1100, "Numrak");
    std::size_t handlesAtBox = 0;
    desktop.onMessageBox = [&](const sim::MessageBox&) {
        handlesAtBox = desktop.OpenHandleCount();
    };
    EXPECT_FALSE(ControlServiceAndWait("Spooler", true, true));
    EXPECT_EQ(desktop.elapsed, 1200u);
    EXPECT_TRUE(runState.StopRequested);
    EXPECT_EQ(BoxTexts(), Texts{"Erreur : Impossible de d\xE9marrer le service Spooler"});
    EXPECT_EQ(handlesAtBox, windowHandles) << "the box comes after both handles are closed";
    EXPECT_EQ(desktop.services.services["spooler"].state, kStartPending) << "the start goes on";
}

TEST_F(ServiceControlTest, AStartTheServiceGivesUpOnEndsTheWaitAsAFailure) {
    // Its status query sees the start pending twice, then the service stopped.
    for (const auto& [state, pendingQueries] : {std::pair{kStopped, 2}, {kStartPending, 3}}) {
        SetUp();
        Spooler(state, pendingQueries).failsToStart = true;
        desktop.onSleep = [] {
            if (desktop.elapsed >= 60000) {
                throw std::runtime_error("the wait never ends");
            }
        };
        EXPECT_FALSE(ControlServiceAndWait("Spooler", true, true)) << state;
        EXPECT_EQ(Sleeps(), 3u) << state;
        EXPECT_EQ(BoxTexts(), Texts{"Erreur : Impossible de d\xE9marrer le service Spooler"});
        EXPECT_EQ(desktop.OpenHandleCount(), 0u) << state;
    }
}
