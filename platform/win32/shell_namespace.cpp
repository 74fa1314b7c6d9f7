// The shell's namespace through its COM interfaces.
#include "platform/shell_namespace.h"

#include <windows.h>
// The shell's interfaces need windows.h first.
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "platform/kernel.h"
#include "platform/win32/native.h"

namespace p = skervo::platform;
static_assert(p::kSOk == S_OK && p::kSFalse == S_FALSE && p::kEFail == E_FAIL);
static_assert(p::kShcontfFolders == SHCONTF_FOLDERS && p::kCmfDefaultOnly == CMF_DEFAULTONLY);
static_assert(p::kSwShowNormal == SW_SHOWNORMAL);
static_assert(p::kNoDefaultItem == static_cast<UINT>(-1));
#ifndef _WIN64
static_assert(sizeof(CMINVOKECOMMANDINFO) == 36);  // the only size the first shells accept
#endif

static_assert(skervo::platform::kCmicMaskFlagNoUi == CMIC_MASK_FLAG_NO_UI);

namespace skervo::platform {
namespace {

// An interface or list handed out only when the call succeeded, so that the
// caller never releases what it did not receive. The call must have returned
// before `native` is read.
template <typename Ref, typename Native>
HRESULT Hand(HRESULT result, Native* native, Ref& ref) {
    ref = SUCCEEDED(result) ? Ref{reinterpret_cast<std::uintptr_t>(native)} : Ref{};
    return result;
}

// Context-menu handlers are shell extensions that expect COM on the calling
// thread. The program asks the shell from its main thread only and keeps COM
// until the process ends, so one initialisation before the first call does.
bool comInitialised = false;

void InitialiseComOnce() {
    if (!comInitialised) {
        CoInitialize(nullptr);  // apartment-threaded; every Windows has it
        comInitialised = true;
    }
}

}  // namespace

HResult SHGetDesktopFolder(ShellFolderRef& desktop) {
    InitialiseComOnce();
    IShellFolder* folder = nullptr;
    const HRESULT result = ::SHGetDesktopFolder(&folder);
    return Hand(result, folder, desktop);
}

HResult ParseDisplayName(ShellFolderRef folder, WindowHandle owner, const std::string& name,
                         ItemIdList& item) {
    std::wstring wide = MultiByteToWideChar(kCpAcp, 0, name).value_or(std::wstring());
    PIDLIST_RELATIVE list = nullptr;
    const HRESULT result = ToNative(folder)->ParseDisplayName(ToNative(owner), nullptr, wide.data(),
                                                              nullptr, &list, nullptr);
    return Hand(result, list, item);
}

HResult BindToFolder(ShellFolderRef folder, ItemIdList item, ShellFolderRef& bound) {
    IShellFolder* child = nullptr;
    const HRESULT result = ToNative(folder)->BindToObject(
        ToNative(item), nullptr, __uuidof(IShellFolder), reinterpret_cast<void**>(&child));
    return Hand(result, child, bound);
}

HResult EnumObjects(ShellFolderRef folder, WindowHandle owner, std::uint32_t flags,
                    EnumIdListRef& enumerator) {
    IEnumIDList* list = nullptr;
    const HRESULT result = ToNative(folder)->EnumObjects(ToNative(owner), flags, &list);
    return Hand(result, list, enumerator);
}

HResult EnumNext(EnumIdListRef enumerator, ItemIdList& item) {
    PITEMID_CHILD child = nullptr;
    ULONG fetched = 0;
    const HRESULT result = ToNative(enumerator)->Next(1, &child, &fetched);
    // S_FALSE fetched nothing: only an S_OK element is the caller's to free.
    return Hand(result, result == S_OK ? child : nullptr, item);
}

HResult GetContextMenu(ShellFolderRef folder, WindowHandle owner, ItemIdList item,
                       ContextMenuRef& menu) {
    PCUITEMID_CHILD child = ToNative(item);
    IContextMenu* handler = nullptr;
    const HRESULT result =
        ToNative(folder)->GetUIObjectOf(ToNative(owner), 1, &child, __uuidof(IContextMenu), nullptr,
                                        reinterpret_cast<void**>(&handler));
    return Hand(result, handler, menu);
}

HResult QueryContextMenu(ContextMenuRef handler, MenuHandle menu, std::uint32_t index,
                         std::uint32_t firstId, std::uint32_t lastId, std::uint32_t flags) {
    return ToNative(handler)->QueryContextMenu(ToNative(menu), index, firstId, lastId, flags);
}

HResult InvokeCommand(ContextMenuRef handler, const InvokeCommandRecord& record) {
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = record.mask;
    info.hwnd = ToNative(record.owner);
    info.lpVerb = MAKEINTRESOURCEA(record.verbOffset);
    info.nShow = record.show;
    info.lpDirectory = record.directory.empty() ? nullptr : record.directory.c_str();
    return ToNative(handler)->InvokeCommand(&info);
}

void Release(ShellFolderRef folder) {
    ToNative(folder)->Release();
}

void Release(EnumIdListRef enumerator) {
    ToNative(enumerator)->Release();
}

void Release(ContextMenuRef handler) {
    ToNative(handler)->Release();
}

void FreeIdList(ItemIdList item) {
    CoTaskMemFree(ToNative(item));
}

MenuHandle CreatePopupMenu() {
    return FromNative<MenuHandle>(::CreatePopupMenu());
}

std::uint32_t GetMenuDefaultItem(MenuHandle menu, bool byPosition, std::uint32_t flags) {
    return ::GetMenuDefaultItem(ToNative(menu), byPosition, flags);
}

bool DestroyMenu(MenuHandle menu) {
    return ::DestroyMenu(ToNative(menu)) != FALSE;
}

}  // namespace skervo::platform
