#include "ui/unhandled_error.h"

#include <cstdint>
#include <string>

#include "common/text_rules.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "ui/status_window.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr std::uint32_t kUnhandledExitCode = 1;

// As the platform writes a pointer: upper-case hex digits, as many as the pointer holds.
std::string FormatCodeAddress(const void* address) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits(2 * sizeof(void*), '0');
    auto value = reinterpret_cast<std::uintptr_t>(address);
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit, value >>= 4) {
        *digit = kDigits[value & 0xF];
    }
    return digits;
}

std::string UnhandledErrorText(const ProgramError& error) {
    const std::string& message = error.message;
    const bool endsWithStop = !message.empty() && message.back() == '.';
    return std::string(texts::kUnhandledException) + std::string(ProgramError::kTypeName) +
           std::string(texts::kUnhandledInModule) +
           std::string(FileNameOf(platform::GetModuleFileNameA())) +
           std::string(texts::kUnhandledAt) + FormatCodeAddress(error.codeAddress) + ".\r\n" +
           message + (endsWithStop ? "" : ".") + "\r\n";
}

}  // namespace

void EndWithUnhandledError(const ProgramError& error) {
    platform::MessageBoxA(platform::WindowHandle{}, UnhandledErrorText(error),
                          std::string(texts::kUnhandledCaption),
                          platform::kMbTaskModal | platform::kMbIconError);
    RemoveTrayIcon();
    platform::ExitProcess(kUnhandledExitCode);
}

}  // namespace skervo
