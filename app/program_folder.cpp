#include "app/program_folder.h"

#include "common/windows_family.h"
#include "platform/kernel.h"

namespace skervo {

TrustVerdict TrustOfProgram(const std::string& programPath) {
    if (!IsWindowsNT()) {
        return {};
    }
    return TrustOfFile(
        platform::MultiByteToWideChar(platform::kCpAcp, 0, programPath).value_or(std::wstring()));
}

}  // namespace skervo
