#include "script/pause.h"

#include <string>

#include "common/run_state.h"
#include "platform/kernel.h"
#include "ui/message_pump.h"
#include "ui/texts.h"

namespace skervo {
namespace {

int DigitValue(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// The digits after a hexadecimal prefix, or the whole text when it has none.
std::string_view TakeHexPrefix(std::string_view text) {
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.substr(0, prefix.size()) == prefix) {
            return text.substr(prefix.size());
        }
    }
    return text;
}

// Milliseconds since it started, whatever the tick counter's wrap-arounds
// in between, as long as it is read at least every 49 days.
class Stopwatch {
  public:
    Stopwatch() : last_(platform::GetTickCount()) {}
    std::int64_t Elapsed() {
        const std::uint32_t now = platform::GetTickCount();
        elapsed_ += static_cast<std::uint32_t>(now - last_);
        last_ = now;
        return elapsed_;
    }

  private:
    std::uint32_t last_;
    std::int64_t elapsed_ = 0;
};

}  // namespace

std::optional<std::int32_t> ParseCount(std::string_view text) {
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        text.remove_prefix(1);
    }
    int base = 10;
    if (std::string_view digits = TakeHexPrefix(text); digits.size() < text.size()) {
        base = 16;
        text = digits;
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Hexadecimal counts are 32-bit patterns ($FFFFFFFF is -1); decimal
    // ones must lie in the signed range.
    const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : 0x7FFFFFFFull + (negative ? 1 : 0);
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit) {
            return std::nullopt;
        }
    }
    const auto pattern = static_cast<std::uint32_t>(negative ? 0 - value : value);
    return static_cast<std::int32_t>(pattern);
}

void RunPause(std::string_view countText) {
    ShowStep(std::string(texts::kPauseStart) + std::string(countText));
    // The time left is measured, not compared with a deadline tick, so that
    // a pause keeps its length across the tick counter's wrap-around.
    Stopwatch stopwatch;
    for (;;) {
        const std::int64_t left = runState.PauseMilliseconds - stopwatch.Elapsed();
        if (left < 0) {
            break;
        }
        ShowStep(std::string(texts::kPauseStart) + std::to_string(left / 1000 + 1) +
                     std::string(texts::kPauseSecondsLeft),
                 StepChange::SameStep);
        if (!PollMessages()) {
            break;
        }
        platform::Sleep(kPollIntervalMilliseconds);
    }
    // Set directly, without a repaint: the next step shows it as its predecessor.
    runState.StepText = std::string(texts::kPauseSummary) +
                        std::to_string(runState.PauseMilliseconds / 1000) +
                        std::string(texts::kPauseSummarySeconds);
    PollMessages();
}

}  // namespace skervo
