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
        sim::desktop = sim::Desktop{};
        // The run state holds an atomic flag, so it is rebuilt rather than assigned.
        std::destroy_at(&skervo::runState);
        std::construct_at(&skervo::runState);
    }

    // No dial may still be notifying when the next test resets the desktop.
    void TearDown() override { sim::FinishDials(); }

    // Runs skervo.exe with these parameters; answers the exit code.
    static std::uint32_t RunProgram(const std::string& parameters) {
        sim::desktop.commandLine = "skervo.exe " + parameters;
        try {
            return static_cast<std::uint32_t>(skervo::RunProgram());
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
