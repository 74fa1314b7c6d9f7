#pragma once
// The shell's namespace: folders, item identifier lists and context menus.
// Interfaces are opaque references that the caller releases.
#include <cstdint>
#include <string>

#include "platform/owned.h"
#include "platform/types.h"

namespace skervo::platform {

enum class ShellFolderRef : std::uintptr_t {};  // IShellFolder
enum class EnumIdListRef : std::uintptr_t {};   // IEnumIDList
enum class ContextMenuRef : std::uintptr_t {};  // IContextMenu
enum class ItemIdList : std::uintptr_t {};      // PIDLIST, freed with FreeIdList
enum class MenuHandle : std::uintptr_t {};

using HResult = std::int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005);
constexpr bool Succeeded(HResult result) {
    return result >= 0;
}

inline constexpr std::uint32_t kShcontfFolders = 0x20;
inline constexpr std::uint32_t kCmfDefaultOnly = 0x1;
inline constexpr int kSwShowNormal = 1;
inline constexpr std::uint32_t kNoDefaultItem = 0xFFFFFFFF;  // GetMenuDefaultItem's -1

// CMIC_MASK_FLAG_NO_UI: the handler shows no box of its own (« Ouvrir
// avec », an error, a security warning) and refuses what would need one.
inline constexpr std::uint32_t kCmicMaskFlagNoUi = 0x400;

// CMINVOKECOMMANDINFO as the program fills it; every other field is zero.
struct InvokeCommandRecord {
    WindowHandle owner{};
    std::uint32_t verbOffset = 0;  // given as an integer verb
    int show = 0;
    std::string directory{};  // the command's current directory; none when empty
    std::uint32_t mask = 0;
};

HResult SHGetDesktopFolder(ShellFolderRef& desktop);
// The name is ANSI text; it reaches the shell converted to UTF-16.
HResult ParseDisplayName(ShellFolderRef folder, WindowHandle owner, const std::string& name,
                         ItemIdList& item);
HResult BindToFolder(ShellFolderRef folder, ItemIdList item, ShellFolderRef& bound);
HResult EnumObjects(ShellFolderRef folder, WindowHandle owner, std::uint32_t flags,
                    EnumIdListRef& enumerator);
// Fetches one element: kSOk when fetched, kSFalse when there are no more.
HResult EnumNext(EnumIdListRef enumerator, ItemIdList& item);
HResult GetContextMenu(ShellFolderRef folder, WindowHandle owner, ItemIdList item,
                       ContextMenuRef& menu);
HResult QueryContextMenu(ContextMenuRef handler, MenuHandle menu, std::uint32_t index,
                         std::uint32_t firstId, std::uint32_t lastId, std::uint32_t flags);
HResult InvokeCommand(ContextMenuRef handler, const InvokeCommandRecord& record);
void Release(ShellFolderRef folder);
void Release(EnumIdListRef enumerator);
void Release(ContextMenuRef handler);
// Frees a list with the shell's allocator.
void FreeIdList(ItemIdList item);

MenuHandle CreatePopupMenu();
std::uint32_t GetMenuDefaultItem(MenuHandle menu, bool byPosition, std::uint32_t flags);
bool DestroyMenu(MenuHandle menu);

using OwnedShellFolder = Owned<ShellFolderRef, static_cast<void (*)(ShellFolderRef)>(Release)>;
using OwnedEnumIdList = Owned<EnumIdListRef, static_cast<void (*)(EnumIdListRef)>(Release)>;
using OwnedContextMenu = Owned<ContextMenuRef, static_cast<void (*)(ContextMenuRef)>(Release)>;
using OwnedIdList = Owned<ItemIdList, FreeIdList>;
using OwnedMenu = Owned<MenuHandle, DestroyMenu>;

}  // namespace skervo::platform
