#pragma once
// Conversions between the seam's opaque values and the platform's own
// handles, pointers and functions: one table of which native type stands
// for which opaque one, and conversions both ways that follow it.
#include <windows.h>
// These need windows.h first.
#include <ras.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdint>

#include "platform/dialup.h"
#include "platform/event_log.h"
#include "platform/services.h"
#include "platform/shell_namespace.h"
#include "platform/types.h"

namespace skervo::platform {

template <typename Opaque>
struct NativeOf;
template <>
struct NativeOf<KernelHandle> {
    using Type = HANDLE;
};
template <>
struct NativeOf<EventSourceHandle> {
    using Type = HANDLE;
};
template <>
struct NativeOf<ModuleHandle> {
    using Type = HMODULE;
};
template <>
struct NativeOf<WindowHandle> {
    using Type = HWND;
};
template <>
struct NativeOf<IconHandle> {
    using Type = HICON;
};
template <>
struct NativeOf<CursorHandle> {
    using Type = HCURSOR;
};
template <>
struct NativeOf<DeviceContext> {
    using Type = HDC;
};
template <>
struct NativeOf<BitmapHandle> {
    using Type = HBITMAP;
};
template <>
struct NativeOf<FontHandle> {
    using Type = HFONT;
};
template <>
struct NativeOf<RegistryKey> {
    using Type = HKEY;
};
template <>
struct NativeOf<ServiceHandle> {
    using Type = SC_HANDLE;
};
template <>
struct NativeOf<RasConnectionHandle> {
    using Type = HRASCONN;
};
template <>
struct NativeOf<MenuHandle> {
    using Type = HMENU;
};
template <>
struct NativeOf<ShellFolderRef> {
    using Type = IShellFolder*;
};
template <>
struct NativeOf<EnumIdListRef> {
    using Type = IEnumIDList*;
};
template <>
struct NativeOf<ContextMenuRef> {
    using Type = IContextMenu*;
};
template <>
struct NativeOf<ItemIdList> {
    using Type = ITEMIDLIST*;
};

template <typename Opaque>
typename NativeOf<Opaque>::Type ToNative(Opaque value) {
    return reinterpret_cast<typename NativeOf<Opaque>::Type>(static_cast<std::uintptr_t>(value));
}

// The opaque type is named: some native types stand for two (HCURSOR is HICON).
template <typename Opaque>
Opaque FromNative(typename NativeOf<Opaque>::Type native) {
    return Opaque{reinterpret_cast<std::uintptr_t>(native)};
}

// A function found by name, as the type it is called through.
template <typename Function>
Function As(ProcAddress address) {
    return reinterpret_cast<Function>(static_cast<std::uintptr_t>(address));
}

}  // namespace skervo::platform
