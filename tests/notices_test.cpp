// Message boxes and the notification icon's tip.
#include "ui/notices.h"

#include "platform/user.h"
#include "tests/sim/sim_test.h"
#include "ui/status_window.h"

using sim::desktop;
using skervo::runState;

class NoticesTest : public SimTest {};

TEST_F(NoticesTest, BoxesAreOwnerlessWithTheProgramsCaption) {
    skervo::ShowError("");
    skervo::ShowError(
        "Impossible d'ex\xE9"
        "cuter : C:\\a.exe /x");
    skervo::ShowNotice("Bonjour");
    ASSERT_EQ(desktop.boxes.size(), 3u);
    EXPECT_EQ(desktop.boxes[0].text, "Erreur : ");
    EXPECT_EQ(desktop.boxes[1].text,
              "Erreur : Impossible d'ex\xE9"
              "cuter : C:\\a.exe /x");
    EXPECT_EQ(desktop.boxes[2].text, "Bonjour");
    for (const auto& box : desktop.boxes) {
        EXPECT_EQ(box.caption, "Skervo 2.0");
        EXPECT_EQ(box.owner, 0u);
    }
    EXPECT_EQ(desktop.boxes[0].style, 0x10u);
    EXPECT_EQ(desktop.boxes[2].style, 0x40u);
}

TEST_F(NoticesTest, TheTipNeedsTheIcon) {
    skervo::SetTrayTip("Skervo' - a");
    EXPECT_EQ(desktop.trayModifications, 0);
    runState.UseStatusWindow = true;
    desktop.trayAddSucceeds = false;
    skervo::CreateStatusWindow();
    skervo::SetTrayTip("Skervo' - a");
    EXPECT_EQ(desktop.trayModifications, 0);
}

TEST_F(NoticesTest, ALongTipIsCutToItsField) {
    runState.UseStatusWindow = true;
    skervo::CreateStatusWindow();
    const std::string prefix = "Skervo' - ";
    const std::string fits = prefix + std::string(117, 'a');
    skervo::SetTrayTip(fits);
    EXPECT_EQ(std::string(desktop.trayIcon->tip.data()), fits);

    const std::string tooLong = prefix + std::string(300, 'b');
    skervo::SetTrayTip(tooLong);
    EXPECT_EQ(std::string(desktop.trayIcon->tip.data()), tooLong.substr(0, 127));
    EXPECT_EQ(desktop.trayIcon->window, runState.StatusWindowHandle);
    EXPECT_EQ(runState.TrayIconData.flags, skervo::platform::kNifTip);
}

TEST_F(NoticesTest, ABoxTextIsCutToWhatTheSystemCanShow) {
    const std::string line(50000, 'x');
    skervo::ShowError(line);
    skervo::ShowNotice(line);
    ASSERT_EQ(desktop.boxes.size(), 2u);
    EXPECT_EQ(desktop.boxes[0].text, ("Erreur : " + line).substr(0, 32766));
    EXPECT_EQ(desktop.boxes[1].text, line.substr(0, 32766));
}
