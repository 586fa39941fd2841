#include "app/new_links/shortcut_links.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <intshcut.h>
#include <propkey.h>

#include "app/new_links/link_from_path.h"
#include "app/new_links/link_record.h"
#include "data/initials.h"
#include "data/profile_text.h"
#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"
#include "ui/base/windows_version.h"

namespace {

// {9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}, 5: the application user model id.
const PROPERTYKEY kAppUserModelIdKey = {
    {0x9F4C2855, 0x9F79, 0x4B39, {0xA8, 0xD0, 0xE1, 0xD4, 0x2D, 0xE1, 0xD5, 0xF3}}, 5};

constexpr int kTextChars = MAX_PATH;

// A text the shell hands back in memory of the COM allocator.
std::wstring TakeCoTaskText(wchar_t* text) {
  std::wstring result = text ? text : L"";
  CoTaskMemFree(text);
  return result;
}

// The name the shell shows for a file ("Notes" for "Notes.lnk" where extensions
// are hidden); empty when the shell cannot name it.
std::wstring ShellDisplayName(const std::wstring& path) {
  ui::ComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.put())) || !desktop) return {};
  std::wstring parseable = path;  // ParseDisplayName takes a writable text
  ITEMIDLIST* raw = nullptr;
  if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, parseable.data(), nullptr, &raw, nullptr)) || !raw) {
    return {};
  }
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::TakeOwnership(raw);
  wchar_t* name = nullptr;
  if (FAILED(SHGetNameFromIDList(list.get(), SIGDN_NORMALDISPLAY, &name))) return {};
  return TakeCoTaskText(name);
}

ui::ComPtr<IShellLinkW> LoadShortcut(const CLSID& classId, const std::wstring& file) {
  ui::ComPtr<IShellLinkW> shortcut;
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shortcut.put_void())) ||
      !shortcut) {
    return {};
  }
  ui::ComPtr<IPersistFile> persist = shortcut.As<IPersistFile>();
  if (!persist || FAILED(persist->Load(file.c_str(), STGM_READ))) return {};
  return shortcut;
}

// A store-app shortcut names no file; its item is the app, known by its user model id.
std::shared_ptr<Link> StoreAppLink(IShellLinkW& shortcut) {
  if (!IsWindowsVersionAtLeast(10, 0, 0)) return nullptr;
  ITEMIDLIST* raw = nullptr;
  if (FAILED(shortcut.GetIDList(&raw)) || !raw) return nullptr;
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::TakeOwnership(raw);
  ui::ComPtr<IShellItem2> item;
  if (FAILED(SHCreateItemFromIDList(list.get(), IID_IShellItem2, item.put_void())) || !item) return nullptr;
  wchar_t* name = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_NORMALDISPLAY, &name))) return nullptr;
  std::wstring displayName = TakeCoTaskText(name);
  wchar_t* id = nullptr;
  if (FAILED(item->GetString(kAppUserModelIdKey, &id))) return nullptr;
  std::wstring appId = TakeCoTaskText(id);
  return MakeLinkRecord(kLinkShellItem, displayName, L"shell:AppsFolder\\" + appId, {}, {}, {}, false, {}, {});
}

std::wstring IniText(const std::wstring& file, const wchar_t* key) {
  return ReadProfileText(file, L"InternetShortcut", key);
}

// The web shortcut's own file: an INI file whose "InternetShortcut" section holds
// URL, IconFile, HotKey and ShowCommand.
std::shared_ptr<Link> InternetShortcutFromFile(const std::wstring& path, const std::wstring& resolved) {
  std::wstring address = IniText(resolved, L"URL");
  if (address.empty()) return nullptr;
  auto link = MakeLinkRecord(kLinkWebAddress, WithoutExtension(FileNameOf(path)), address, L"#url", {}, {}, false,
                             {}, {});
  int hotKey = GetPrivateProfileIntW(L"InternetShortcut", L"HotKey", 0, resolved.c_str());
  if (hotKey > 0 && hotKey <= 0xFFFF) link->HotKey = HotKeyFromShortcutHotKey(static_cast<uint16_t>(hotKey));
  int showCmd = GetPrivateProfileIntW(L"InternetShortcut", L"ShowCommand", 0, resolved.c_str());
  if (showCmd > 0) link->ShowCmd = showCmd;
  std::wstring iconFile = IniText(resolved, L"IconFile");
  if (!iconFile.empty()) link->ICON = WebShortcutIconPath(iconFile);
  return link;
}

}  // namespace

std::wstring WebShortcutIconPath(const std::wstring& iconLocation) {
  std::wstring icon = iconLocation;
  if (icon.starts_with(L"file:///")) icon.erase(0, 8);
  for (wchar_t& c : icon) {
    if (c == L'/') c = L'\\';
  }
  return icon;
}

std::shared_ptr<Link> LinkFromShellShortcut(const std::wstring& path, const std::wstring& resolved, int depth) {
  if (depth >= kMaxShortcutDepth) return nullptr;
  ui::ComPtr<IShellLinkW> shortcut = LoadShortcut(CLSID_ShellLink, resolved);
  if (!shortcut) return nullptr;
  wchar_t text[kTextChars] = {};
  if (shortcut->GetPath(text, kTextChars, nullptr, SLGP_RAWPATH) != S_OK || !text[0]) return StoreAppLink(*shortcut.get());

  std::shared_ptr<Link> link = MakeLinkFromPathAtDepth(text, depth + 1);
  if (!link) return nullptr;
  std::wstring displayName = ShellDisplayName(resolved);
  if (!displayName.empty()) link->NAME = displayName;
  if (link->NAME.empty()) link->NAME = WithoutExtension(FileNameOf(path));

  if (shortcut->GetWorkingDirectory(text, kTextChars) == S_OK) link->WorkDir = text;
  if (shortcut->GetArguments(text, kTextChars) == S_OK) link->Parameter = text;
  if (shortcut->GetDescription(text, kTextChars) == S_OK) link->Remark = text;
  int iconIndex = 0;
  if (shortcut->GetIconLocation(text, kTextChars, &iconIndex) == S_OK) {
    link->ICON = iconIndex != 0 ? FormatText(L"%s,%d", text, iconIndex) : std::wstring(text);
    if (link->ICON == link->PATH) link->ICON.clear();
  }
  int showCmd = 0;
  if (shortcut->GetShowCmd(&showCmd) == S_OK) link->ShowCmd = showCmd;
  link->nameInitials = MakeInitialsKey(link->NAME);
  link->remarkInitials = MakeInitialsKey(link->Remark);
  return link;
}

std::shared_ptr<Link> LinkFromInternetShortcut(const std::wstring& path, const std::wstring& resolved) {
  ui::ComPtr<IShellLinkW> shortcut = LoadShortcut(CLSID_InternetShortcut, resolved);
  if (!shortcut) return InternetShortcutFromFile(path, resolved);
  wchar_t text[kTextChars] = {};
  if (shortcut->GetPath(text, kTextChars, nullptr, SLGP_RAWPATH) != S_OK) return nullptr;
  auto link = MakeLinkRecord(kLinkWebAddress, WithoutExtension(FileNameOf(path)), text, L"#url", {}, {}, false, {},
                             {});
  WORD hotKey = 0;
  if (shortcut->GetHotkey(&hotKey) == S_OK) link->HotKey = HotKeyFromShortcutHotKey(hotKey);
  int showCmd = 0;
  if (shortcut->GetShowCmd(&showCmd) == S_OK) link->ShowCmd = showCmd;
  int iconIndex = 0;
  if (shortcut->GetIconLocation(text, kTextChars, &iconIndex) == S_OK) link->ICON = WebShortcutIconPath(text);
  if (shortcut->GetDescription(text, kTextChars) == S_OK) {
    link->Remark = text;
    link->remarkInitials = MakeInitialsKey(link->Remark);
  }
  if (shortcut->GetArguments(text, kTextChars) == S_OK) link->Parameter = text;
  return link;
}
