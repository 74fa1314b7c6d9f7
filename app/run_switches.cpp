#include "app/run_switches.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "app/switches.h"

namespace skervo {
namespace {

constexpr std::string_view kSilent = "SILENT";
constexpr std::string_view kJournal = "JOURNAL";
constexpr std::string_view kTimeLimit = "DELAI";
constexpr std::string_view kStopAtFailure = "ARRET";

// A whole number of seconds from 1 to a day, in decimal digits alone.
std::optional<std::uint32_t> TimeLimitSeconds(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::uint32_t seconds = 0;
    for (const char digit : text) {
        seconds = seconds * 10 + static_cast<std::uint32_t>(digit - '0');
    }
    if (seconds < 1 || seconds > kLongestTimeLimitSeconds) {
        return std::nullopt;
    }
    return seconds;
}

// The rule the program has always had: the script, alone or with /Silent.
bool IsPlainRun(int parameterCount, bool silent) {
    return (parameterCount == 1 && !silent) || (parameterCount == 2 && silent);
}

// Reads the switches after the script one by one; a switch that is none of
// the run's, or one given twice, makes the command line no run. The first
// journal named is kept even then, for the usage text to go to.
class SwitchReader {
  public:
    explicit SwitchReader(RunSwitches& switches) : switches_(switches) {}

    bool Take(std::string_view parameter) {
        if (IsSwitch(parameter, kSilent)) {
            return Once(silentSeen_);
        }
        if (IsSwitch(parameter, kStopAtFailure)) {
            switches_.stopAtFailure = true;
            return Once(stopSeen_);
        }
        if (const auto path = SwitchValue(parameter, kJournal)) {
            if (!journalSeen_) {
                switches_.journalPath = *path;
            }
            return Once(journalSeen_) && !path->empty();
        }
        if (const auto value = SwitchValue(parameter, kTimeLimit)) {
            const std::optional<std::uint32_t> seconds = TimeLimitSeconds(*value);
            switches_.timeLimitSeconds = seconds.value_or(0);
            return Once(timeLimitSeen_) && seconds;
        }
        return false;
    }

  private:
    static bool Once(bool& seen) { return !std::exchange(seen, true); }

    RunSwitches& switches_;
    bool silentSeen_ = false;
    bool journalSeen_ = false;
    bool timeLimitSeen_ = false;
    bool stopSeen_ = false;
};

}  // namespace

RunSwitches ReadRunSwitches(const std::vector<std::string>& parameters) {
    RunSwitches switches;
    const int count = static_cast<int>(parameters.size()) - 1;
    switches.silent = std::any_of(parameters.begin() + std::min(1, count + 1), parameters.end(),
                                  [](const std::string& p) { return IsSwitch(p, kSilent); });
    switches.unattended = std::any_of(
        parameters.begin() + std::min(2, count + 1), parameters.end(), [](const std::string& p) {
            return SwitchValue(p, kJournal) || SwitchValue(p, kTimeLimit) ||
                   IsSwitch(p, kStopAtFailure);
        });
    if (!switches.unattended) {
        switches.run = IsPlainRun(count, switches.silent);
        return switches;
    }
    SwitchReader reader(switches);
    for (std::size_t index = 2; index < parameters.size(); ++index) {
        if (!reader.Take(parameters[index]) && switches.wrongSwitch.empty()) {
            switches.wrongSwitch = parameters[index];
        }
    }
    switches.run = switches.wrongSwitch.empty();
    return switches;
}

}  // namespace skervo
