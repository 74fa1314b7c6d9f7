#include "ui/unhandled_error.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "common/text_rules.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "ui/texts.h"

namespace skervo {
namespace {

constexpr std::uint32_t kUnhandledExitCode = 1;

// As the platform writes a pointer: upper-case hex digits, as many as the pointer holds.
std::string FormatCodeAddress(const void* address) {
    char digits[2 * sizeof(void*) + 1];
    std::snprintf(digits, sizeof digits, "%0*" PRIXPTR, static_cast<int>(2 * sizeof(void*)),
                  reinterpret_cast<std::uintptr_t>(address));
    return digits;
}

std::string UnhandledErrorText(const ProgramError& error) {
    const std::string message = error.what();
    const bool endsWithStop = !message.empty() && message.back() == '.';
    return std::string(texts::kUnhandledException) + std::string(ProgramError::kTypeName) +
           std::string(texts::kUnhandledInModule) +
           std::string(FileNameOf(platform::GetModuleFileNameA())) +
           std::string(texts::kUnhandledAt) + FormatCodeAddress(error.CodeAddress()) + ".\r\n" +
           message + (endsWithStop ? "" : ".") + "\r\n";
}

}  // namespace

void EndWithUnhandledError(const ProgramError& error) {
    platform::MessageBoxA(platform::WindowHandle{}, UnhandledErrorText(error),
                          std::string(texts::kUnhandledCaption),
                          platform::kMbTaskModal | platform::kMbIconError);
    platform::ExitProcess(kUnhandledExitCode);
}

}  // namespace skervo
