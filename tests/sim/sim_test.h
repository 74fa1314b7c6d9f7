#pragma once
// Base of the behaviour tests: a fresh simulated desktop and run state for
// every test, and a way to run the whole program on it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/entry.h"
#include "common/run_state.h"
#include "tests/sim/desktop.h"

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetRunState();
        sim::desktop = sim::Desktop{};
    }

    // No dial may still be notifying when the next test resets the desktop,
    // and nothing the run state owns may outlive the desktop it came from.
    void TearDown() override {
        sim::FinishDials();
        ResetRunState();
    }

    // Rebuilt rather than assigned: it holds an atomic flag and owners, which
    // give what they hold back to the desktop it came from.
    static void ResetRunState() {
        std::destroy_at(&skervo::runState);
        std::construct_at(&skervo::runState);
    }

    // Runs skervo.exe with these parameters; answers the exit code, which
    // only ExitProcess gives.
    static std::uint32_t RunProgram(const std::string& parameters) {
        sim::desktop.commandLine = "skervo.exe " + parameters;
        try {
            skervo::RunProgram();
        } catch (const sim::ProcessExit& exit) {
            return exit.code;
        }
    }

    // Runs a script silently; answers the texts of the boxes it showed.
    static std::vector<std::string> RunSilently(const std::string& script) {
        sim::desktop.files["C:\\s.skervo"] = script;
        RunProgram("C:\\s.skervo /Silent");
        return BoxTexts();
    }

    static std::vector<std::string> BoxTexts() {
        std::vector<std::string> texts;
        for (const auto& box : sim::desktop.boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }

    static sim::Window& StatusWindow() {
        return sim::desktop.windows.at(
            static_cast<std::uintptr_t>(skervo::runState.StatusWindowHandle));
    }
};
