#include "app/launching/shell_actions.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string_view>

#include "app/launching/stored_item_id_list.h"
#include "data/link.h"
#include "data/link_path.h"
#include "data/program_dir.h"
#include "ui/base/scoped_handles.h"

namespace {

// Command ids start at 1: TrackPopupMenuEx with TPM_RETURNCMD returns 0 for "no
// choice", so a first id of 0 would make the first command (usually Open)
// impossible to run.
constexpr UINT kFirstCommandId = 1;
constexpr UINT kLastCommandId = 0x7FFF;

// Sets a flag for the life of the object.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = false; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
};

struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};

// While the shell's menu is up its owner window passes the messages that fill
// and draw the menu's own items to the menu: without them the sub-menus the
// shell fills when they open ("Send to", "Open with") stay empty and its
// owner-drawn items are blank. The owner is subclassed for that time only.
class ContextMenuRelay {
 public:
  ContextMenuRelay(HWND owner, IContextMenu* menu) : owner_(owner) {
    if (!menu) return;
    menu->QueryInterface(IID_IContextMenu3, menu3_.put_void());
    if (!menu3_) menu->QueryInterface(IID_IContextMenu2, menu2_.put_void());
    if ((menu3_ || menu2_) && owner_) installed_ = SetWindowSubclass(owner_, &Relay, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  }
  ~ContextMenuRelay() {
    if (installed_) RemoveWindowSubclass(owner_, &Relay, kSubclassId);
  }
  ContextMenuRelay(const ContextMenuRelay&) = delete;
  ContextMenuRelay& operator=(const ContextMenuRelay&) = delete;

 private:
  static constexpr UINT_PTR kSubclassId = 0x5045584F;  // "PEXO"

  static LRESULT CALLBACK Relay(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* relay = reinterpret_cast<ContextMenuRelay*>(data);
    switch (message) {
      case WM_INITMENUPOPUP:
      case WM_MEASUREITEM:
      case WM_DRAWITEM:
      case WM_MENUCHAR:
        if (relay->menu3_) {
          LRESULT result = 0;
          if (SUCCEEDED(relay->menu3_->HandleMenuMsg2(message, wParam, lParam, &result))) return result;
        } else if (relay->menu2_ && message != WM_MENUCHAR) {
          if (SUCCEEDED(relay->menu2_->HandleMenuMsg(message, wParam, lParam))) return message == WM_INITMENUPOPUP ? 0 : TRUE;
        }
        break;
      default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }

  HWND owner_;
  ui::ComPtr<IContextMenu3> menu3_;
  ui::ComPtr<IContextMenu2> menu2_;
  bool installed_ = false;
};

bool IsFileNameCharacter(wchar_t c) {
  if (c < 0x20) return false;
  return std::wstring_view(L"\\/:*?\"<>|").find(c) == std::wstring_view::npos;
}

std::wstring DesktopFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_DESKTOP, FALSE)) return {};
  return folder;
}

}  // namespace

int ShowShellContextMenu(HWND owner, PCIDLIST_ABSOLUTE list, POINT screenPoint, bool& menuOpen) {
  if (!list) return 0;
  ui::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD child = nullptr;
  if (FAILED(SHBindToParent(list, IID_IShellFolder, parent.put_void(), &child)) || !parent) return 0;
  ui::ComPtr<IContextMenu> contextMenu;
  if (FAILED(parent->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, contextMenu.put_void())) ||
      !contextMenu) {
    return 0;
  }
  return TrackShellContextMenu(owner, contextMenu.get(), screenPoint, menuOpen);
}

int TrackShellContextMenu(HWND owner, IContextMenu* contextMenu, POINT screenPoint, bool& menuOpen) {
  if (!contextMenu) return 0;
  std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer> menu(CreatePopupMenu());
  if (!menu || FAILED(contextMenu->QueryContextMenu(menu.get(), 0, kFirstCommandId, kLastCommandId, CMF_NORMAL))) {
    return 0;
  }
  int command = 0;
  {
    FlagGuard open(menuOpen);
    {
      ContextMenuRelay relay(owner, contextMenu);
      command = static_cast<int>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD, screenPoint.x, screenPoint.y, owner,
                                                  nullptr));
    }
    if (command >= static_cast<int>(kFirstCommandId)) {
      CMINVOKECOMMANDINFOEX invoke = {};
      invoke.cbSize = sizeof(invoke);
      // The verb is the command's offset from the first id.
      invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommandId);
      invoke.lpVerbW = MAKEINTRESOURCEW(command - kFirstCommandId);
      invoke.nShow = SW_SHOWNORMAL;
      invoke.ptInvoke = screenPoint;
      contextMenu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&invoke));
    }
  }
  return command;
}

int ParseShellPath(HWND owner, const std::wstring& path, POINT screenPoint, bool& menuOpen) {
  PIDLIST_ABSOLUTE raw = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &raw, 0, nullptr)) || !raw) return 0;
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::TakeOwnership(raw);
  return ShowShellContextMenu(owner, list.get(), screenPoint, menuOpen);
}

int ShowLinkShellMenu(HWND owner, const Link& link, POINT screenPoint, bool& menuOpen) {
  if (link.TYPE == kLinkBuiltinFunction) return 0;
  if (link.TYPE == kLinkItemIdList) {
    ui::AbsoluteItemIdList list = StoredItemIdList(link.Pidl);
    return ShowShellContextMenu(owner, list.get(), screenPoint, menuOpen);
  }
  return ParseShellPath(owner, ResolveLinkPath(link.PATH), screenPoint, menuOpen);
}

std::wstring ShortcutFileName(const std::wstring& linkName) {
  std::wstring name = linkName;
  for (wchar_t& c : name) {
    if (!IsFileNameCharacter(c)) c = L'_';
  }
  // The file system drops trailing dots and blanks itself, so "..." would name
  // the folder's own entry and "a. " another file than asked for.
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  return name.empty() ? std::wstring() : name + L".lnk";
}

bool CreateShortcutFile(const Link& link, const std::wstring& folder) {
  ui::ComPtr<IShellLinkW> shortcut;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shortcut.put_void())) ||
      !shortcut) {
    return false;
  }
  if (link.TYPE == kLinkItemIdList) {
    // An item-ID-list link has no path; its target is the stored list.
    ui::AbsoluteItemIdList list = StoredItemIdList(link.Pidl);
    if (list) shortcut->SetIDList(list.get());
  } else {
    shortcut->SetPath(ResolveLinkPath(link.PATH).c_str());
  }
  if (!link.WorkDir.empty()) shortcut->SetWorkingDirectory(ResolveLinkPath(link.WorkDir).c_str());
  if (!link.Parameter.empty()) shortcut->SetArguments(link.Parameter.c_str());
  if (!link.Remark.empty()) shortcut->SetDescription(link.Remark.c_str());

  ui::ComPtr<IPersistFile> persist = shortcut.As<IPersistFile>();
  if (!persist) return false;
  std::wstring directory = folder.empty() ? DesktopFolder() : folder;
  std::wstring fileName = ShortcutFileName(link.NAME);
  if (directory.empty() || fileName.empty()) return false;
  std::wstring file = directory + L"\\" + fileName;
  if (file.size() >= MAX_PATH) return false;
  return SUCCEEDED(persist->Save(file.c_str(), FALSE));
}

bool ShowPropertiesSheet(const std::wstring& path) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.lpVerb = L"properties";
  info.lpFile = path.c_str();
  info.nShow = SW_SHOW;
  return ShellExecuteExW(&info) != FALSE;
}

bool ShellOpen(const wchar_t* verb, const std::wstring& file, const std::wstring* parameters,
               const std::wstring* directory) {
  HINSTANCE result = ShellExecuteW(nullptr, verb, file.c_str(), parameters ? parameters->c_str() : nullptr,
                                   directory ? directory->c_str() : nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

std::wstring OpenShippedDocument(ShippedDocument document) {
  const bool help = document == ShippedDocument::kHelp;
  const std::wstring file = GetProgramDir() + (help ? L"README.txt" : L"CHANGES.txt");
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return help ? L"找不到帮助文件 README.txt" : L"找不到更新记录 CHANGES.txt";
  }
  const std::wstring none;
  if (ShellOpen(L"open", file, &none, &none)) return {};
  return help ? L"无法打开帮助文件 README.txt" : L"无法打开更新记录 CHANGES.txt";
}
