// Counting, dialling and hanging up connections.
#include "dialup/count_connections.h"
#include "dialup/dial_entry.h"
#include "dialup/hang_up_all.h"

#include "dialup/dials_under_way.h"

#include "tests/dialup_fixture.h"

using sim::desktop;
using sim::kRasCsAuthenticate;
using sim::kRasCsConnected;
using sim::kRasCsOpenPort;
using skervo::runState;
using skervo::platform::RasConnectionHandle;
using Texts = std::vector<std::string>;

namespace {

using DialupOperationsTest = DialupTest;

const std::string kTooLong(257, 'x');

std::vector<sim::Connection> Connected(int count) {
    return std::vector<sim::Connection>(count);
}

}  // namespace

TEST_F(DialupOperationsTest, OnlyConnectedConnectionsCountAndARefusedListingIsNoCount) {
    const struct {
        std::vector<sim::Connection> connections;
        std::uint32_t enumerationRefusal;
        std::optional<std::int32_t> count;  // nullopt: the listing was refused
        Texts boxes;
    } cases[] = {
        {{}, 0, 0, {}},
        {{{}, {.state = kRasCsAuthenticate}, {}}, 0, 2, {}},
        {{{.statusRefusal = 5}, {}, {.statusRefusal = 6}},
         0,
         1,
         {"Erreur : Status de connexion", "Erreur : Status de connexion"}},
        {Connected(10), 0, 10, {}},
        {Connected(11), 0, 11, {}},  // asked again with more room
        {Connected(300), 0, 300, {}},
        {{}, 610, std::nullopt, {"Erreur : Code d'erreur (si !)"}},  // no text for this code
    };
    for (const auto& c : cases) {
        SetUp();
        AddConnections(c.connections);
        desktop.dialup.enumerationRefusal = c.enumerationRefusal;
        desktop.dialup.errorTexts[603] = "Tampon trop petit";
        runState.ConnectionUp = true;
        EXPECT_EQ(skervo::CountConnections(), c.count);
        EXPECT_EQ(runState.ConnectionUp, c.count.value_or(0) > 0);
        EXPECT_EQ(BoxTexts(), c.boxes);
    }
}

TEST_F(DialupOperationsTest, HangUpAllHangsUpEveryConnectionWhateverItsState) {
    const struct {
        std::vector<sim::Connection> connections;
        std::vector<std::uintptr_t> hungUp;
        bool connectionUp;
        Texts boxes;
    } cases[] = {
        {{}, {}, false, {}},
        {{{.handle = 1}, {.handle = 2, .state = kRasCsAuthenticate}}, {1, 2}, false, {}},
        {{{.handle = 1, .hangUpRefusal = 9}, {.handle = 2}},
         {1, 2},
         true,
         {"Erreur : D\xE9"
          "connexion"}},
        {Connected(11),
         {0x5000, 0x5001, 0x5002, 0x5003, 0x5004, 0x5005, 0x5006, 0x5007, 0x5008, 0x5009, 0x500A},
         false,
         {}},
    };
    for (const auto& c : cases) {
        SetUp();
        AddConnections(c.connections);
        desktop.dialup.errorTexts[603] = "Tampon trop petit";
        skervo::HangUpAll();
        EXPECT_EQ(runState.StepText,
                  "D\xE9"
                  "connecter");
        EXPECT_EQ(desktop.dialup.hungUp, c.hungUp);
        EXPECT_EQ(runState.ConnectionUp, c.connectionUp);
        EXPECT_EQ(BoxTexts(), c.boxes);
    }
}

TEST_F(DialupOperationsTest, DialEntryLooksTheEntryUpThenDials) {
    const std::string longest(256, 'x');
    desktop.dialup.phoneBook = {{"Bureau", {.userName = "jean"}},
                                {"Refus", {.dialRefusal = 676}},
                                {"Occupe", {.dialRefusal = 676, .refusalHoldsPort = true}},
                                {longest, {}}};
    const std::string refused =
        "Erreur : Connexion impossible (n\xB0"
        "676)";
    const struct {
        std::string name;
        Texts dialled;
        Texts boxes;
        std::size_t hungUp = 0;
    } cases[] = {
        {"Bureau", {"Bureau"}, {}},
        {"Maison", {}, {"Erreur : Connexion inconnue"}},
        {"Refus", {}, {refused}},
        {"Occupe", {}, {refused}, 1},  // the port a refused dial holds is given back
        {longest, {longest}, {}},
        // Longer than the record holds: no entry can have that name, and cutting
        // it could dial another one.
        {kTooLong, {}, {"Erreur : Connexion inconnue"}},
    };
    for (const auto& c : cases) {
        desktop.boxes.clear();
        desktop.dialup.dials.clear();
        desktop.dialup.hungUp.clear();
        runState.ConnectionName = c.name;
        skervo::DialEntry();
        EXPECT_EQ(runState.StepText, "Connexion \xE0 " + c.name);
        EXPECT_EQ(DialledEntries(), c.dialled);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_EQ(desktop.dialup.hungUp.size(), c.hungUp) << c.name;
    }
    runState.ConnectionName = "Bureau";
    skervo::DialEntry();
    EXPECT_EQ(desktop.dialup.dials.at(0).userName, "jean") << "the lookup's record is dialled";
}

TEST_F(DialupOperationsTest, NotificationsCountOrReportTheDialsErrors) {
    const struct {
        std::vector<sim::DialStep> steps;
        bool connectionUp;
        Texts boxes;
        std::size_t hungUp = 0;  // a failed dial gives its port back, once
    } cases[] = {
        {{{kRasCsAuthenticate}, {kRasCsConnected}}, true, {}},
        {{{kRasCsConnected}, {kRasCsAuthenticate}}, false, {}},
        {{{kRasCsAuthenticate, 678}, {kRasCsAuthenticate, 679}},
         false,
         {"Erreur : Connexion (678) : Pas de r\xE9ponse", "Erreur : Code d'erreur"},
         1},
    };
    for (const auto& c : cases) {
        SetUp();
        desktop.dialup.phoneBook["Bureau"] = {.steps = c.steps};
        desktop.dialup.errorTexts[678] = "Pas de r\xE9ponse";
        runState.ConnectionName = "Bureau";
        skervo::DialEntry();
        sim::FinishDials();
        EXPECT_EQ(runState.ConnectionUp, c.connectionUp);
        EXPECT_EQ(BoxTexts(), c.boxes);
        EXPECT_EQ(desktop.dialup.hungUp.size(), c.hungUp);
    }
}

// A dial the platform accepted holds its port until it is hung up (RasDial:
// "the application must call RasHangUp"), also once disconnected without an
// error; a handle value that &< released may come back for another connection.
TEST_F(DialupOperationsTest, EveryAcceptedDialIsFollowedToItsEnd) {
    const auto dial = [](std::uintptr_t handle) {
        AddConnections({{.handle = handle, .state = kRasCsOpenPort}});
        skervo::FollowDial(RasConnectionHandle{handle});
        return &desktop.dialup.connections.back();
    };
    for (std::uintptr_t handle = 1; handle <= 16; ++handle) {
        dial(handle);
    }
    for (sim::Connection& connection : desktop.dialup.connections) {
        connection.state = kRasCsConnected;
    }
    dial(17)->error = 678;
    skervo::HangUpFailedDials();
    EXPECT_EQ(desktop.dialup.hungUp, std::vector<std::uintptr_t>{17}) << "the 17th is followed";

    SetUp();
    dial(1)->state = 0x2001;  // RASCS_Disconnected
    skervo::HangUpFailedDials();
    EXPECT_EQ(desktop.dialup.hungUp, std::vector<std::uintptr_t>{1});

    SetUp();
    dial(1);
    dial(2)->error = 678;
    skervo::HangUpFailedDials();
    EXPECT_EQ(desktop.dialup.hungUp, std::vector<std::uintptr_t>{2}) << "past one still dialling";

    // Still listed while it ends, a failed dial is not hung up again by &<,
    // until its handle value comes back for a connection that is up.
    SetUp();
    dial(1)->error = 678;
    skervo::HangUpFailedDials();
    AddConnections({{.handle = 1, .error = 678, .hangUpRefusal = 6}});
    skervo::HangUpAll();
    EXPECT_EQ(desktop.dialup.hungUp, std::vector<std::uintptr_t>{1});
    EXPECT_EQ(BoxTexts(), Texts{});
    desktop.dialup.connections = {{.handle = 1}};
    skervo::CountConnections();
    skervo::HangUpAll();
    EXPECT_EQ(desktop.dialup.hungUp, (std::vector<std::uintptr_t>{1, 1}));

    SetUp();
    dial(1);
    skervo::HangUpAll();
    AddConnections({{.handle = 1, .error = 678}});  // another program's failed dial
    skervo::HangUpFailedDials();
    EXPECT_EQ(desktop.dialup.hungUp, std::vector<std::uintptr_t>{1}) << "hung up once, by &<";
}

TEST_F(DialupOperationsTest, AFailedDialHungUpDuringACountIsNoStatusFault) {
    AddConnections({{.state = kRasCsOpenPort}});
    skervo::FollowDial(RasConnectionHandle{desktop.dialup.connections[0].handle});
    desktop.dialup.connections[0].error = 678;
    AddConnections({{}});
    // The notification thread hangs it up between the count's enumeration and its queries.
    desktop.dialup.onEnumeration = [] { skervo::HangUpFailedDials(); };
    EXPECT_EQ(skervo::CountConnections(), 1);
    EXPECT_EQ(desktop.dialup.hungUp.size(), 1u);
    EXPECT_EQ(BoxTexts(), Texts{});
}
