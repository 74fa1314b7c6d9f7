// The shell namespace of the simulated desktop.
#include <stdexcept>
#include <type_traits>

#include "platform/shell_namespace.h"
#include "tests/sim/desktop.h"

namespace skervo::platform {
namespace {

using sim::desktop;

sim::ShellNamespace& Shell() {
    return desktop.shell;
}

template <typename Ref, typename Value>
Ref Open(std::map<std::uintptr_t, Value>& live, std::type_identity_t<Value> value) {
    const std::uintptr_t handle = desktop.nextHandle++;
    live.emplace(handle, std::move(value));
    return Ref{handle};
}

// A reference the caller does not hold is a fault of the logic.
template <typename Ref, typename Value>
Value& Held(std::map<std::uintptr_t, Value>& live, Ref ref) {
    const auto found = live.find(static_cast<std::uintptr_t>(ref));
    if (found == live.end()) {
        throw std::logic_error("shell reference not held");
    }
    return found->second;
}

template <typename Ref, typename Value>
void Close(std::map<std::uintptr_t, Value>& live, Ref ref) {
    Held(live, ref);
    live.erase(static_cast<std::uintptr_t>(ref));
}

// The list must be relative to the folder it is given to.
const sim::ShellItem& ItemOf(ShellFolderRef folder, ItemIdList list) {
    const sim::ShellItem& item = Held(Shell().liveLists, list);
    if (item.folder != Held(Shell().liveFolders, folder)) {
        throw std::logic_error("item list of another folder");
    }
    return item;
}

sim::ShellMenu* MenuOf(const sim::ShellItem& item) {
    const auto folder = Shell().folders.find(item.folder);
    if (folder == Shell().folders.end()) {
        return nullptr;
    }
    const auto found = folder->second.find(item.name);
    return found == folder->second.end() ? nullptr : &found->second;
}

}  // namespace

HResult SHGetDesktopFolder(ShellFolderRef& desktopFolder) {
    if (!Shell().desktopAvailable) {
        return kEFail;
    }
    desktopFolder = Open<ShellFolderRef>(Shell().liveFolders, std::string(Shell().kDesktop));
    return kSOk;
}

// The desktop parses folder paths; any other folder, its items' names.
HResult ParseDisplayName(ShellFolderRef folder, WindowHandle owner, const std::string& name,
                         ItemIdList& item) {
    Shell().owners.push_back(static_cast<std::uintptr_t>(owner));
    const std::string& folderName = Held(Shell().liveFolders, folder);
    const sim::ShellItem parsed{folderName, name};
    const bool known =
        folderName == Shell().kDesktop ? Shell().folders.contains(name) : MenuOf(parsed) != nullptr;
    if (!known) {
        return kEFail;
    }
    item = Open<ItemIdList>(Shell().liveLists, parsed);
    return kSOk;
}

HResult BindToFolder(ShellFolderRef folder, ItemIdList item, ShellFolderRef& bound) {
    const sim::ShellItem& child = ItemOf(folder, item);
    if (Shell().bindRefused || !Shell().folders.contains(child.name)) {
        return kEFail;
    }
    bound = Open<ShellFolderRef>(Shell().liveFolders, child.name);
    return kSOk;
}

// Only the desktop has folder children here.
HResult EnumObjects(ShellFolderRef folder, WindowHandle owner, std::uint32_t flags,
                    EnumIdListRef& enumerator) {
    Shell().owners.push_back(static_cast<std::uintptr_t>(owner));
    std::deque<std::string> children;
    if (Held(Shell().liveFolders, folder) == Shell().kDesktop && (flags & kShcontfFolders)) {
        children.assign(Shell().desktopFolders.begin(), Shell().desktopFolders.end());
    }
    enumerator = Open<EnumIdListRef>(Shell().liveEnumerators, std::move(children));
    return kSOk;
}

HResult EnumNext(EnumIdListRef enumerator, ItemIdList& item) {
    std::deque<std::string>& left = Held(Shell().liveEnumerators, enumerator);
    if (left.empty()) {
        return kSFalse;
    }
    item = Open<ItemIdList>(Shell().liveLists, sim::ShellItem{Shell().kDesktop, left.front()});
    left.pop_front();
    return kSOk;
}

HResult GetContextMenu(ShellFolderRef folder, WindowHandle owner, ItemIdList item,
                       ContextMenuRef& menu) {
    Shell().owners.push_back(static_cast<std::uintptr_t>(owner));
    const sim::ShellItem& target = ItemOf(folder, item);
    const sim::ShellMenu* arranged = MenuOf(target);
    if (!arranged || !Succeeded(arranged->handlerAnswer)) {
        return kEFail;
    }
    menu = Open<ContextMenuRef>(Shell().liveHandlers, target);
    return kSOk;
}

HResult QueryContextMenu(ContextMenuRef handler, MenuHandle menu, std::uint32_t index,
                         std::uint32_t firstId, std::uint32_t lastId, std::uint32_t flags) {
    Shell().queries.push_back({index, firstId, lastId, flags});
    const sim::ShellMenu& arranged = *MenuOf(Held(Shell().liveHandlers, handler));
    if (Succeeded(arranged.queryAnswer)) {
        Held(Shell().liveMenus, menu) = arranged.defaultItem;
    }
    return arranged.queryAnswer;
}

HResult InvokeCommand(ContextMenuRef handler, const InvokeCommandRecord& record) {
    const sim::ShellItem& item = Held(Shell().liveHandlers, handler);
    Shell().invocations.push_back({item, record.verbOffset,
                                   static_cast<std::uintptr_t>(record.owner), record.show,
                                   record.directory, record.mask});
    return MenuOf(item)->invokeAnswer;
}

void Release(ShellFolderRef folder) {
    Close(Shell().liveFolders, folder);
}

void Release(EnumIdListRef enumerator) {
    Close(Shell().liveEnumerators, enumerator);
}

void Release(ContextMenuRef handler) {
    Close(Shell().liveHandlers, handler);
}

void FreeIdList(ItemIdList item) {
    Close(Shell().liveLists, item);
}

MenuHandle CreatePopupMenu() {
    return Open<MenuHandle>(Shell().liveMenus, kNoDefaultItem);
}

// The menus here are looked up by command id only.
std::uint32_t GetMenuDefaultItem(MenuHandle menu, bool byPosition, std::uint32_t flags) {
    const std::uint32_t item = Held(Shell().liveMenus, menu);
    return byPosition || flags != 0 ? kNoDefaultItem : item;
}

bool DestroyMenu(MenuHandle menu) {
    Close(Shell().liveMenus, menu);
    return true;
}

}  // namespace skervo::platform
