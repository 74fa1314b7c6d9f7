#include "programs/default_action.h"

#include <cstdint>
#include <string>

#include "common/text_rules.h"
#include "platform/shell_namespace.h"

namespace skervo {

using namespace platform;

namespace {

// The menu's commands start at 1, so that 0 never names one; a command's
// offset within its handler is then its id minus this first id.
constexpr std::uint32_t kFirstCommandId = 1;
constexpr std::uint32_t kLastCommandId = 0x7FFF;

// What the default entry of the item's context menu would do, from the
// item's own folder as a double-click does. The menu is never shown: it only
// lets the handler name its default command.
bool InvokeDefaultCommand(WindowHandle owner, ShellFolderRef folder, ItemIdList item,
                          const std::string& directory, ShellBoxes boxes) {
    OwnedContextMenu handler;
    if (!Succeeded(GetContextMenu(folder, owner, item, handler.Receive()))) {
        return false;
    }
    const OwnedMenu menu(CreatePopupMenu());
    if (!Succeeded(QueryContextMenu(handler.Get(), menu.Get(), 0, kFirstCommandId, kLastCommandId,
                                    kCmfDefaultOnly))) {
        return false;
    }
    const std::uint32_t id = GetMenuDefaultItem(menu.Get(), false, 0);
    if (id == 0 || id == kNoDefaultItem) {
        return false;
    }
    const InvokeCommandRecord record{owner, id - kFirstCommandId, kSwShowNormal, directory,
                                     boxes == ShellBoxes::None ? kCmicMaskFlagNoUi : 0};
    return Succeeded(InvokeCommand(handler.Get(), record));
}

// A path that its own folder cannot name (a drive's root leaves an empty
// name) is parsed whole by the desktop's first folder, the computer.
bool InvokeThroughFirstDesktopFolder(WindowHandle owner, ShellFolderRef desktop,
                                     const std::string& path, const std::string& directory,
                                     ShellBoxes boxes) {
    OwnedEnumIdList children;
    if (!Succeeded(EnumObjects(desktop, owner, kShcontfFolders, children.Receive()))) {
        return false;
    }
    OwnedIdList first;
    // Only an element actually fetched will do; "no more" succeeds too.
    if (EnumNext(children.Get(), first.Receive()) != kSOk) {
        return false;
    }
    OwnedShellFolder folder;
    if (!Succeeded(BindToFolder(desktop, first.Get(), folder.Receive()))) {
        return false;
    }
    OwnedIdList item;
    return Succeeded(ParseDisplayName(folder.Get(), owner, path, item.Receive())) &&
           InvokeDefaultCommand(owner, folder.Get(), item.Get(), directory, boxes);
}

}  // namespace

// The path is taken exactly as the line gives it: quotes stay and only
// backslashes and colons separate.
bool RunDefaultAction(std::string_view path, WindowHandle owner, ShellBoxes boxes) {
    const std::string folderPart(FolderOf(path));
    const std::string namePart(FileNameOf(path));
    const std::string directory(folderPart.starts_with('"') ? folderPart.substr(1) : folderPart);
    OwnedShellFolder desktop;
    OwnedIdList folderList;
    OwnedShellFolder folder;
    if (!Succeeded(SHGetDesktopFolder(desktop.Receive())) ||
        !Succeeded(ParseDisplayName(desktop.Get(), owner, folderPart, folderList.Receive())) ||
        !Succeeded(BindToFolder(desktop.Get(), folderList.Get(), folder.Receive()))) {
        return false;
    }
    OwnedIdList item;
    if (Succeeded(ParseDisplayName(folder.Get(), owner, namePart, item.Receive()))) {
        return InvokeDefaultCommand(owner, folder.Get(), item.Get(), directory, boxes);
    }
    return InvokeThroughFirstDesktopFolder(owner, desktop.Get(), std::string(path), directory,
                                           boxes);
}

}  // namespace skervo
