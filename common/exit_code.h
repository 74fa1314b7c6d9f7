#pragma once
// The exit code a run ends with: the one place that decides it.
#include <cstdint>

namespace skervo {

inline constexpr std::uint32_t kExitSuccess = 0;
inline constexpr std::uint32_t kExitUnhandledError = 1;
inline constexpr std::uint32_t kExitSomethingFailed = 2;
inline constexpr std::uint32_t kExitCouldNotStart = 3;

// The lines that failed, the one under way included.
int FailedLineCount();

// Without /Journal or /Delai, 0 as it always was; with either: 0 when every
// line did what it says, 2 when one failed or a time limit was reached, 3
// when the run could not start.
std::uint32_t RunExitCode();

}  // namespace skervo
