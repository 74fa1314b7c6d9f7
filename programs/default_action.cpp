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

void GiveBack(ShellFolderRef folder) {
    Release(folder);
}
void GiveBack(EnumIdListRef enumerator) {
    Release(enumerator);
}
void GiveBack(ContextMenuRef handler) {
    Release(handler);
}
void GiveBack(ItemIdList item) {
    FreeIdList(item);
}
void GiveBack(MenuHandle menu) {
    DestroyMenu(menu);
}

// A shell object or list that this call obtained, given back however the
// call ends.
template <typename Ref>
class Held {
  public:
    Held() = default;
    explicit Held(Ref ref) : ref_(ref) {}
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (!IsNull(ref_)) {
            GiveBack(ref_);
        }
    }

    Ref get() const { return ref_; }
    Ref& Receive() { return ref_; }  // for the call that hands it out

  private:
    Ref ref_{};
};

// What the default entry of the item's context menu would do. The menu is
// never shown: it only lets the handler name its default command.
bool InvokeDefaultCommand(WindowHandle owner, ShellFolderRef folder, ItemIdList item) {
    Held<ContextMenuRef> handler;
    if (!Succeeded(GetContextMenu(folder, owner, item, handler.Receive()))) {
        return false;
    }
    const Held<MenuHandle> menu(CreatePopupMenu());
    if (!Succeeded(QueryContextMenu(handler.get(), menu.get(), 0, kFirstCommandId, kLastCommandId,
                                    kCmfDefaultOnly))) {
        return false;
    }
    const std::uint32_t id = GetMenuDefaultItem(menu.get(), false, 0);
    if (id == 0 || id == kNoDefaultItem) {
        return false;
    }
    const InvokeCommandRecord record{owner, id - kFirstCommandId, kSwShowNormal};
    return Succeeded(InvokeCommand(handler.get(), record));
}

// A path that its own folder cannot name (a drive's root leaves an empty
// name) is parsed whole by the desktop's first folder, the computer.
bool InvokeThroughFirstDesktopFolder(WindowHandle owner, ShellFolderRef desktop,
                                     const std::string& path) {
    Held<EnumIdListRef> children;
    if (!Succeeded(EnumObjects(desktop, owner, kShcontfFolders, children.Receive()))) {
        return false;
    }
    Held<ItemIdList> first;
    // Only an element actually fetched will do; "no more" succeeds too.
    if (EnumNext(children.get(), first.Receive()) != kSOk) {
        return false;
    }
    Held<ShellFolderRef> folder;
    if (!Succeeded(BindToFolder(desktop, first.get(), folder.Receive()))) {
        return false;
    }
    Held<ItemIdList> item;
    return Succeeded(ParseDisplayName(folder.get(), owner, path, item.Receive())) &&
           InvokeDefaultCommand(owner, folder.get(), item.get());
}

}  // namespace

// The path is taken exactly as the line gives it: quotes stay and only
// backslashes and colons separate.
bool RunDefaultAction(std::string_view path, WindowHandle owner) {
    const std::string folderPart(FolderOf(path));
    const std::string namePart(FileNameOf(path));
    Held<ShellFolderRef> desktop;
    Held<ItemIdList> folderList;
    Held<ShellFolderRef> folder;
    if (!Succeeded(SHGetDesktopFolder(desktop.Receive())) ||
        !Succeeded(ParseDisplayName(desktop.get(), owner, folderPart, folderList.Receive())) ||
        !Succeeded(BindToFolder(desktop.get(), folderList.get(), folder.Receive()))) {
        return false;
    }
    Held<ItemIdList> item;
    if (Succeeded(ParseDisplayName(folder.get(), owner, namePart, item.Receive()))) {
        return InvokeDefaultCommand(owner, folder.get(), item.get());
    }
    return InvokeThroughFirstDesktopFolder(owner, desktop.get(), std::string(path));
}

}  // namespace skervo
