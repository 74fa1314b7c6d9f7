#pragma once
// Portable types of the operating-system seam. Handles are opaque numbers;
// texts are std::string holding Windows-1252 bytes.
#include <cstdint>

namespace skervo::platform {

enum class KernelHandle : std::uintptr_t {};  // files, processes, threads
enum class ModuleHandle : std::uintptr_t {};
enum class WindowHandle : std::uintptr_t {};
enum class IconHandle : std::uintptr_t {};
enum class CursorHandle : std::uintptr_t {};
enum class ProcAddress : std::uintptr_t {};  // a function looked up by name
enum class DeviceContext : std::uintptr_t {};
enum class BitmapHandle : std::uintptr_t {};
enum class FontHandle : std::uintptr_t {};
enum class RegistryKey : std::uintptr_t {};

inline constexpr KernelHandle kInvalidHandle{~std::uintptr_t{0}};

template <typename Handle>
constexpr bool IsNull(Handle handle) {
    return handle == Handle{};
}

// Whether a handle stands for something the program holds: kernel calls
// answer either value for "none".
template <typename Handle>
constexpr bool IsHeld(Handle handle) {
    return !IsNull(handle);
}
constexpr bool IsHeld(KernelHandle handle) {
    return !IsNull(handle) && handle != kInvalidHandle;
}

}  // namespace skervo::platform
