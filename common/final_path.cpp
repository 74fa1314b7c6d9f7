#include "common/final_path.h"

#include "platform/kernel.h"

namespace skervo {

std::wstring FinalPathOf(platform::KernelHandle file) {
    const platform::ProcAddress finalPath = platform::GetProcAddress(
        platform::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW");
    if (platform::IsNull(finalPath)) {
        return {};
    }
    return WithoutLongPathPrefix(
        platform::InvokeGetFinalPathNameByHandleW(finalPath, file).value_or(std::wstring()));
}

std::wstring WithoutLongPathPrefix(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\" + path.substr(7);
    }
    return path.starts_with(L"\\\\?\\") ? path.substr(4) : path;
}

std::wstring FullPathInUtf16(const std::string& path) {
    return platform::MultiByteToWideChar(platform::kCpAcp, 0, platform::GetFullPathNameA(path))
        .value_or(std::wstring());
}

}  // namespace skervo
