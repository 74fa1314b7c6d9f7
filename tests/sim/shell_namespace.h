#pragma once
// The simulated shell namespace: folders, items and their context menus.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/shell_namespace.h"

namespace sim {

using skervo::platform::HResult;

// What an item's context-menu handler answers.
struct ShellMenu {
    HResult handlerAnswer = skervo::platform::kSOk;  // GetUIObjectOf
    HResult queryAnswer = 1;                         // success: the count of ids used
    std::uint32_t defaultItem = 1;                   // once the menu is filled
    HResult invokeAnswer = skervo::platform::kSOk;
};

// An item identifier list: the entry `name` of the folder `folder`.
struct ShellItem {
    std::string folder;
    std::string name;
    bool operator==(const ShellItem&) const = default;
};

struct MenuQuery {
    std::uint32_t index, firstId, lastId, flags;
    bool operator==(const MenuQuery&) const = default;
};

struct Invocation {
    ShellItem item;
    std::uint32_t verbOffset;
    std::uintptr_t owner;
    int show;
    std::string directory;
    std::uint32_t mask = 0;
    bool operator==(const Invocation&) const = default;
};

struct ShellNamespace {
    static constexpr const char* kDesktop = "::bureau";

    bool desktopAvailable = true;
    bool bindRefused = false;
    // The folders the desktop parses by display name, with the items each
    // parses and their menus.
    std::map<std::string, std::map<std::string, ShellMenu>> folders;
    std::vector<std::string> desktopFolders;  // its folder children, in order

    std::vector<std::uintptr_t> owners;  // given to every call that takes one
    std::vector<MenuQuery> queries;
    std::vector<Invocation> invocations;

    // Live references, lists and menus, to find leaks.
    std::map<std::uintptr_t, std::string> liveFolders;
    std::map<std::uintptr_t, ShellItem> liveLists;
    std::map<std::uintptr_t, std::deque<std::string>> liveEnumerators;  // what is left to list
    std::map<std::uintptr_t, ShellItem> liveHandlers;
    std::map<std::uintptr_t, std::uint32_t> liveMenus;  // their default item

    std::size_t OpenCount() const {
        return liveFolders.size() + liveLists.size() + liveEnumerators.size() +
               liveHandlers.size() + liveMenus.size();
    }
};

}  // namespace sim
