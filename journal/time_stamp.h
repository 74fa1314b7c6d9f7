#pragma once
#include <string>

namespace skervo {

// Now, in ISO 8601 local time with its offset from universal time:
// 2026-10-25T02:30:01.263+01:00. The offset is the one in force at that
// moment, so that the hour the clocks go back, which happens twice, reads
// as two different hours; and the text sorts and reads the same in every
// language.
std::string TimeStamp();

}  // namespace skervo
