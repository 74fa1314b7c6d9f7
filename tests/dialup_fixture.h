#pragma once
// Base of the dial-up tests: a desktop whose rasapi32.dll has the six functions.
#include <string>
#include <vector>

#include "tests/sim/sim_test.h"

class DialupTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        sim::desktop.libraries["rasapi32.dll"] = sim::RasExports("A");
    }

    static void AddConnections(std::vector<sim::Connection> connections) {
        for (sim::Connection& connection : connections) {
            if (connection.handle == 0) {
                connection.handle = sim::desktop.dialup.nextConnection++;
            }
            sim::desktop.dialup.connections.push_back(connection);
        }
    }

    // Runs a script silently and lets its dials send every notification; answers the boxes.
    static std::vector<std::string> RunDialling(const std::string& script) {
        sim::desktop.files["C:\\s.skervo"] = script;
        RunProgram("C:\\s.skervo /Silent");
        sim::FinishDials();
        return BoxTexts();
    }

    static std::vector<std::string> DialledEntries() {
        std::vector<std::string> entries;
        for (const auto& dial : sim::desktop.dialup.dials) {
            entries.push_back(dial.entryName);
        }
        return entries;
    }
};
