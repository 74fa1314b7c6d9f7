// The notification icon's tip: the runner sets the same tip for every line,
// and the notification area is asked only when the tip changes.
#include "tests/sim/sim_test.h"
#include "ui/notices.h"
#include "ui/status_window.h"

using sim::desktop;
using skervo::runState;

class TrayTipTest : public SimTest {
  protected:
    void CreateIcon() {
        runState.UseStatusWindow = true;
        skervo::CreateStatusWindow();
    }
    static std::string Tip() { return desktop.trayIcon->tip.data(); }
};

TEST_F(TrayTipTest, AVisibleRunAsksForTheTipOnce) {
    std::string script = "inconnu.exe\n";
    for (int line = 0; line < 1000; ++line) {
        script += line % 2 ? "# commentaire\n" : "\n";
    }
    desktop.files["C:\\Scripts\\long.skervo"] = script;
    RunProgram("C:\\Scripts\\long.skervo");
    EXPECT_EQ(desktop.trayModifications, 1);
    EXPECT_EQ(Tip(), "Skervo' - C:\\Scripts\\long.skervo");
    EXPECT_EQ(desktop.boxes.size(), 1u) << "the lines themselves are still carried out";
}

TEST_F(TrayTipTest, OnlyAChangedTipReachesTheIcon) {
    CreateIcon();
    const std::string longTip = std::string("Skervo' - ").append(200, 'a');
    const std::vector<std::pair<std::string, int>> steps = {
        {"Skervo' - a", 1},
        {"Skervo' - a", 1},
        {"Skervo' - b", 2},
        // Tips that differ only beyond the field's 127 characters show the same.
        {longTip, 3},
        {longTip + "z", 3},
        {"Skervo' - a", 4},
    };
    for (const auto& [tip, modifications] : steps) {
        skervo::SetTrayTip(tip);
        EXPECT_EQ(Tip(), tip.substr(0, 127));
        EXPECT_EQ(desktop.trayModifications, modifications) << tip;
    }
}

TEST_F(TrayTipTest, ATipTheIconDidNotTakeIsAskedForAgain) {
    CreateIcon();
    const sim::NotifyIconRecord icon = *desktop.trayIcon;
    desktop.trayIcon.reset();  // the notification area lost the icon: modifying it fails
    skervo::SetTrayTip("Skervo' - a");
    desktop.trayIcon = icon;
    skervo::SetTrayTip("Skervo' - a");
    EXPECT_EQ(desktop.trayModifications, 1);
    EXPECT_EQ(Tip(), "Skervo' - a");
}
