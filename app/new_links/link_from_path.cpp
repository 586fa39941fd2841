#include "app/new_links/link_from_path.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "app/new_links/link_record.h"
#include "app/new_links/shortcut_links.h"
#include "data/link_path.h"
#include "data/shell_icons.h"
#include "ui/base/string_util.h"

namespace {

std::shared_ptr<Link> FolderLink(const std::wstring& path, const std::wstring& full) {
  SHFILEINFOW info = {};
  // With SHGFI_SYSICONINDEX the result is the shared system image list, which is
  // not ours to free.
  SHGetFileInfoW(full.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME);
  // A folder with an icon of its own keeps it through its path; ordinary folders
  // share the stock folder icon.
  std::wstring icon = info.iIcon == GetStockFolderIconIndex() ? L"#dir" : L"";
  return MakeLinkRecord(kLinkFolder, info.szDisplayName, path, icon, {}, {}, false, {}, {});
}

}  // namespace

std::wstring FileNameExtension(const std::wstring& path) {
  std::wstring fileName = FileNameOf(path);
  size_t dot = fileName.rfind(L'.');
  return dot == std::wstring::npos ? std::wstring() : fileName.substr(dot);
}

uint16_t HotKeyFromShortcutHotKey(uint16_t shortcutHotKey) {
  const uint8_t shellModifiers = static_cast<uint8_t>(shortcutHotKey >> 8);
  uint8_t modifiers = 0;
  if (shellModifiers & HOTKEYF_SHIFT) modifiers |= kHotKeyShift;
  if (shellModifiers & HOTKEYF_CONTROL) modifiers |= kHotKeyCtrl;
  if (shellModifiers & HOTKEYF_ALT) modifiers |= kHotKeyAlt;
  return MakeHotKeyCode(modifiers, static_cast<uint8_t>(shortcutHotKey & 0xFF));
}

std::shared_ptr<Link> MakeLinkFromPath(const std::wstring& path) { return MakeLinkFromPathAtDepth(path, 0); }

std::shared_ptr<Link> MakeLinkFromPathAtDepth(const std::wstring& path, int depth) {
  if (path.size() < 3) return nullptr;
  if (path.size() > 3 && path.back() == L'\\') return nullptr;
  const std::wstring resolved = ResolveLinkPath(path);
  const std::wstring full = ToLowerAscii(resolved);

  if (full.size() == 3) {
    if (full[1] != L':' || full[2] != L'\\') return nullptr;
    return MakeLinkRecord(kLinkDriveRoot, path, path, {}, {}, {}, false, {}, {});
  }
  DWORD attributes = GetFileAttributesW(full.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return FolderLink(path, full);
  if (!FileExists(full)) return nullptr;

  const std::wstring fileName = FileNameOf(path);
  // Only the file name's own dot counts: "C:\my.dir\readme" has no extension.
  const std::wstring ext = FileNameExtension(full);
  if (ext.empty()) return MakeLinkRecord(kLinkFile, fileName, path, L"#unknown", {}, {}, false, {}, {});
  if (ext == L".exe") {
    std::wstring name = fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : fileName;
    return MakeLinkRecord(kLinkProgram, name, path, {}, {}, {}, false, {}, {});
  }
  if (ext == L".lnk") return LinkFromShellShortcut(path, resolved, depth);
  if (ext == L".url") return LinkFromInternetShortcut(path, resolved);
  if (ext == L".ico" || ext == L".png" || ext == L".webp") {
    return MakeLinkRecord(kLinkFile, WithoutExtension(fileName), path, {}, {}, {}, false, {}, {});
  }
  return MakeLinkRecord(kLinkFile, WithoutExtension(fileName), path, L"*" + ext, {}, {}, false, {}, {});
}

std::wstring FileNameOf(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring WithoutExtension(const std::wstring& fileName) {
  size_t dot = fileName.rfind(L'.');
  return dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
}
