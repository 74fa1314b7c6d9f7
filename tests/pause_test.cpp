// @ counts, the countdown steps and the length of a pause on the virtual clock.
#include "script/count.h"

#include "tests/sim/sim_test.h"

using sim::desktop;
using skervo::ParseCount;
using skervo::runState;
using Texts = std::vector<std::string>;

TEST(ParseCount, IsTheStandard32BitConversion) {
    const struct {
        std::string text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"5", 5},
        {"+5", 5},
        {"-3", -3},
        {"007", 7},
        {"$10", 16},
        {"0x1f", 31},
        {"0X1F", 31},
        {"x10", 16},
        {"X10", 16},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"$7FFFFFFF", INT32_MAX},
        {"$9aA", 2474},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"$100000000", {}},
        {"99999999999", {}},
        {"", {}},
        {"-", {}},
        {"$", {}},
        {"0x", {}},
        {"5s", {}},
        {" 5", {}},
        {"5 ", {}},
        {"1.5", {}},
        {"$G", {}},
        {"5a", {}},
        {"C:\\a.exe", {}},
        {"--5", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCount(c.text), c.value) << c.text;
    }
}

class PauseTest : public SimTest {
  protected:
    struct Pass {
        std::uint64_t at;
        std::string step;
        std::string previous;
    };
    std::vector<Pass> passes;

    // Runs the script silently and notes the step shown at every sleep.
    void Run(const std::string& script, const std::string& parameters = "C:\\s.skervo /Silent") {
        desktop.files["C:\\s.skervo"] = script;
        desktop.onSleep = [this] {
            passes.push_back({desktop.elapsed, runState.StepText, runState.PreviousStepText});
        };
        RunProgram(parameters);
        passes.pop_back();  // the half second at the end of every run
    }
    Texts Steps() const {
        Texts steps;
        for (const auto& pass : passes) {
            steps.push_back(pass.step);
        }
        return steps;
    }
};

TEST_F(PauseTest, CountsDownTheSecondsLeftEvery200Milliseconds) {
    Run("@2\n#\n");
    Texts expected;
    for (const char* seconds : {"3", "2", "2", "2", "2", "2", "1", "1", "1", "1", "1"}) {
        expected.push_back(std::string("Pause : ") + seconds + " secondes restantes");
    }
    EXPECT_EQ(Steps(), expected);
    EXPECT_EQ(passes.back().at, 2000u) << "the last pass starts at the deadline";
    EXPECT_EQ(runState.StepText, "                   Termin\xE9 !");
}

TEST_F(PauseTest, KeepsItsLengthAcrossTheTickCounterWrapAround) {
    for (std::uint32_t start : {0xFFFFFFFFu - 900, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
        SetUp();
        passes.clear();
        desktop.tick = start;
        Run("@5\n#\n");
        EXPECT_EQ(passes.size(), 26u) << start;
        EXPECT_EQ(passes.front().step, "Pause : 6 secondes restantes") << start;
    }
}

TEST_F(PauseTest, ItsSummaryBecomesThePreviousStepOfTheNextStep) {
    Run("@1\n@0\n#\n");
    EXPECT_EQ(passes.front().previous, "") << "countdown refreshes move no step";
    EXPECT_EQ(passes.back().step, "Pause : 1 secondes restantes");
    EXPECT_EQ(passes.back().previous, "(Pause 1 secondes)");
}

TEST_F(PauseTest, ItsFirstStepKeepsTheTextAfterTheAtSignAsWritten) {
    desktop.files["C:\\s.skervo"] = "@  0\n#\n";
    Texts painted;
    desktop.onInvalidate = [&] { painted.push_back(runState.StepText); };
    RunProgram("C:\\s.skervo");
    EXPECT_EQ(painted, (Texts{"Pause :   0", "Pause : 1 secondes restantes",
                              "                   Termin\xE9 !"}));
}

TEST_F(PauseTest, ZeroGivesOnePassAndANegativeCountNone) {
    Run("@0\n#\n");
    EXPECT_EQ(Steps(), Texts{"Pause : 1 secondes restantes"});
    SetUp();
    passes.clear();
    Run("@-3\n#\n");
    EXPECT_TRUE(passes.empty());
    EXPECT_EQ(runState.PauseMilliseconds, -3000);
}

TEST_F(PauseTest, APauseOnTheLastLineIsSkipped) {
    for (const char* script : {"@5", "@5\n", "@5\r\n",
                               "@5\n\x1A"
                               "more"}) {
        SetUp();
        passes.clear();
        Run(script);
        EXPECT_TRUE(passes.empty()) << script;
    }
    Run("@1\n\n");  // an empty line after it still counts
    EXPECT_EQ(passes.size(), 6u);
}

TEST_F(PauseTest, CountsBeyond32BitMillisecondsLastTheirFullLength) {
    desktop.CloseWindowAfter(1000, "Numrak");
    Run("@3000000\n#\n", "C:\\s.skervo");
    EXPECT_EQ(Steps().front(), "Pause : 3000001 secondes restantes");
    EXPECT_EQ(runState.PauseMilliseconds, 3000000000);
    SetUp();
    passes.clear();
    desktop.CloseWindowAfter(1000, "Numrak");
    Run("@-2147483648\n#\n", "C:\\s.skervo");
    EXPECT_TRUE(passes.empty());
}

TEST_F(PauseTest, ClosingTheWindowEndsThePauseAtItsNextPoll) {
    desktop.CloseWindowAfter(1100, "Numrak");
    Run("@30\ninconnu\n", "C:\\s.skervo");
    EXPECT_EQ(passes.back().at, 1000u);
    EXPECT_EQ(passes.size(), 6u) << "the pass after the close polls and stops";
    EXPECT_TRUE(desktop.boxes.empty());
}
