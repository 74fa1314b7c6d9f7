#include "journal/time_stamp.h"

#include <cstdint>
#include <optional>

#include "platform/kernel.h"

namespace skervo {
namespace {

using platform::SystemTime;

// Writes the value's last digits over the zeros at the end of the place.
void PutDigits(char* end, std::uint32_t value, int count) {
    for (; count > 0; --count, value /= 10) {
        *--end = static_cast<char>('0' + value % 10);
    }
}

std::int64_t MillisecondsOfDay(const SystemTime& time) {
    return ((time.hour * 60 + time.minute) * 60 + time.second) * std::int64_t{1000} +
           time.milliseconds;
}

// No offset reaches a day: the two times are on the same day or on days side by side.
int DaysApart(const SystemTime& local, const SystemTime& universal) {
    const auto date = [](const SystemTime& time) {
        return (time.year * 13 + time.month) * 32 + time.day;
    };
    return date(local) == date(universal) ? 0 : date(local) > date(universal) ? 1 : -1;
}

// Rounded to the minute: read one after the other, the two may be a
// moment apart.
std::int64_t OffsetMinutes(const SystemTime& local, const SystemTime& universal) {
    const std::int64_t apart = DaysApart(local, universal) * std::int64_t{86400000} +
                               MillisecondsOfDay(local) - MillisecondsOfDay(universal);
    return (apart + (apart < 0 ? -30000 : 30000)) / 60000;
}

}  // namespace

// Without the conversion (the 95 family), the local time and the offset
// the system applies now.
std::string TimeStamp() {
    const SystemTime universal = platform::GetSystemTime();
    const platform::ProcAddress convert = platform::GetProcAddress(
        platform::GetModuleHandleA("kernel32.dll"), "SystemTimeToTzSpecificLocalTime");
    const std::optional<SystemTime> converted =
        platform::IsNull(convert)
            ? std::nullopt
            : platform::InvokeSystemTimeToTzSpecificLocalTime(convert, universal);
    const SystemTime local = converted ? *converted : platform::GetLocalTime();
    const std::int64_t offset = OffsetMinutes(local, universal);
    const auto offsetSize = static_cast<std::uint32_t>(offset < 0 ? -offset : offset);
    char text[] = "0000-00-00T00:00:00.000+00:00";
    PutDigits(text + 4, local.year, 4);
    PutDigits(text + 7, local.month, 2);
    PutDigits(text + 10, local.day, 2);
    PutDigits(text + 13, local.hour, 2);
    PutDigits(text + 16, local.minute, 2);
    PutDigits(text + 19, local.second, 2);
    PutDigits(text + 23, local.milliseconds, 3);
    text[23] = offset < 0 ? '-' : '+';
    PutDigits(text + 26, offsetSize / 60, 2);
    PutDigits(text + 29, offsetSize % 60, 2);
    return text;
}

}  // namespace skervo
