// What the status window shows, in what order, and that its paints leak nothing.
#include <algorithm>
#include <ostream>

#include "platform/gdi.h"
#include "tests/sim/sim_test.h"
#include "ui/message_pump.h"
#include "ui/status_window.h"

using sim::desktop;
using sim::Drawing;
using skervo::runState;
namespace platform = skervo::platform;

namespace sim {
void PrintTo(const Drawing& d, std::ostream* out) {
    *out << d.target << " <- '" << d.source << "' (" << d.place.left << "," << d.place.top << ","
         << d.place.right << "," << d.place.bottom << ") op " << std::hex << d.operation
         << " colour " << d.textColor << (d.transparentText ? " transparent " : " opaque ")
         << d.font;
}
}  // namespace sim

namespace {

constexpr std::uint32_t kBlue = 0xEE6A16;  // RGB(22, 106, 238)
constexpr std::uint32_t kScriptFormat = 0x4822;
constexpr std::uint32_t kPreviousFormat = 0x4820;
constexpr std::uint32_t kStepFormat = 0x4810;

Drawing Text(const std::string& text, platform::Rect place, std::uint32_t format,
             std::uint32_t color) {
    return {"window", text, place, format, color, true, "Tahoma"};
}

Drawing Copy(const std::string& bitmap, int x, int y, int size, std::uint32_t operation) {
    return {"window", bitmap, {x, y, x + size, y + size}, operation};
}

}  // namespace

class StatusPaintTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        runState.Parameters = {"C:\\Outils\\skervo.exe", "C:\\Scripts\\jour.skervo"};
        runState.UseStatusWindow = true;
        skervo::CreateStatusWindow();
    }

    // What the next paint draws onto the window.
    static std::vector<Drawing> Paint() {
        desktop.drawings.clear();
        platform::InvalidateRect(runState.StatusWindowHandle, false);
        skervo::PollMessages();
        std::vector<Drawing> onWindow;
        for (const Drawing& drawing : desktop.drawings) {
            if (drawing.target == "window") {
                onWindow.push_back(drawing);
            }
        }
        return onWindow;
    }
};

TEST_F(StatusPaintTest, ThePictureComesFirstThenTheScriptAndBothSteps) {
    EXPECT_TRUE(desktop.drawings.empty()) << "painted at the first poll, not before";
    runState.PreviousStepText = "(Attente fin a.exe & b)";
    runState.StepText = "Lancement rapport.exe";
    const std::vector<Drawing> expected = {
        {"window", "FOND", {0, 0, 200, 100}, platform::kSrcCopy},
        Text("Script : C:\\Scripts\\jour.skervo", {5, 84, 165, 96}, kScriptFormat, kBlue),
        Text("(Attente fin a.exe & b)", {5, 72, 162, 84}, kPreviousFormat, kBlue),
        Text("Lancement rapport.exe", {5, 40, 196, 72}, kStepFormat, 0),
    };
    EXPECT_EQ(Paint(), expected);
}

TEST_F(StatusPaintTest, EachOptionalElementNeedsItsReason) {
    const struct {
        std::string previous, step, connectionName;
        bool connectionUp;
        std::vector<std::string> drawn;
    } cases[] = {
        {"", "", "", false, {"FOND", "Script : C:\\Scripts\\jour.skervo"}},
        {"(A)", "", "", false, {"FOND", "Script : C:\\Scripts\\jour.skervo", "(A)"}},
        {"", "B", "", false, {"FOND", "Script : C:\\Scripts\\jour.skervo", "B"}},
        {"",
         "",
         "Bureau",
         false,
         {"FOND", "CNX", "CNX mask FF00FF", "CNX", "Script : C:\\Scripts\\jour.skervo"}},
        {"",
         "",
         "",
         true,
         {"FOND", "CNX", "CNX mask FF00FF", "CNX", "Script : C:\\Scripts\\jour.skervo"}},
    };
    for (const auto& c : cases) {
        runState.PreviousStepText = c.previous;
        runState.StepText = c.step;
        runState.ConnectionName = c.connectionName;
        runState.ConnectionUp = c.connectionUp;
        std::vector<std::string> drawn;
        for (const Drawing& drawing : Paint()) {
            drawn.push_back(drawing.source);
        }
        EXPECT_EQ(drawn, c.drawn) << c.previous << c.step << c.connectionName << c.connectionUp;
    }
}

// Exclusive or, the mask keyed on magenta by and, exclusive or: the magenta
// places keep the background. The mask only works through the window's
// default black and white, so the texts' colours must come after it.
TEST_F(StatusPaintTest, ThePlugIsDrawnMaskedOverTheBackground) {
    runState.ConnectionName = "Bureau";
    const std::vector<Drawing> drawn = Paint();
    ASSERT_GE(drawn.size(), 4u);
    const std::vector<Drawing> plug(drawn.begin() + 1, drawn.begin() + 4);
    const std::vector<Drawing> expected = {
        Copy("CNX", 149, 4, 16, platform::kSrcInvert),
        Copy("CNX mask FF00FF", 149, 4, 16, platform::kSrcAnd),
        Copy("CNX", 149, 4, 16, platform::kSrcInvert),
    };
    EXPECT_EQ(plug, expected);
}

TEST_F(StatusPaintTest, TheStepBlockIsCentredAndALongOneCutAtTheBand) {
    // The simulated measure: 31 characters of 6 pixels to a line of 12.
    const struct {
        std::size_t length;
        int top;
    } cases[] = {{1, 40}, {31, 40}, {32, 34}, {124, 22}, {140, 17}};
    for (const auto& c : cases) {
        runState.StepText = std::string(c.length, 'x');
        const Drawing step = Paint().back();
        EXPECT_EQ(step.place, (platform::Rect{5, c.top, 196, 72})) << c.length;
    }
}

TEST_F(StatusPaintTest, TheWindowTakesTheSizeOfItsPicture) {
    SimTest::SetUp();
    desktop.bitmapResources["FOND"] = {220, 90};
    skervo::CreateStatusWindow();
    EXPECT_EQ(StatusWindow().place, (platform::Rect{804, 650, 1024, 740}));
}

TEST_F(StatusPaintTest, ARunLeavesNoDrawingObjectBehind) {
    SimTest::SetUp();
    desktop.files["C:\\s.skervo"] = "@3\n#\n";
    desktop.onSleep = [] { runState.ConnectionUp = true; };
    RunProgram("C:\\s.skervo");
    EXPECT_TRUE(std::ranges::any_of(desktop.drawings, [](const Drawing& drawing) {
        return drawing.source == "CNX mask FF00FF";
    })) << "the run painted, the plug too";
    EXPECT_TRUE(desktop.gdiObjects.empty());
    EXPECT_TRUE(desktop.deviceContexts.empty());
}
