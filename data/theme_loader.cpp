#include "data/theme_loader.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "data/program_dir.h"
#include "ui/base/markup_parser.h"
#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"

namespace {

// The "name" and "value" attributes of a "Color" element; the last occurrence wins.
std::pair<std::wstring, std::wstring> ColorEntry(ui::MarkupNode node) {
  std::pair<std::wstring, std::wstring> entry;
  for (int i = 0; i < node.GetAttributeCount(); ++i) {
    const std::wstring attribute = node.GetAttributeName(i);
    if (attribute == L"name") entry.first = node.GetAttributeValue(i);
    if (attribute == L"value") entry.second = node.GetAttributeValue(i);
  }
  return entry;
}

// The colour each name held before any theme changed it (the skin's own value,
// or 0 when the skin has no such colour), for every name a theme has changed.
// A theme replaces only the names it lists; without these the colours of the
// theme shown before would stay wherever the next theme is silent.
std::map<std::wstring, DWORD>& SkinColors() {
  static std::map<std::wstring, DWORD> colors;
  return colors;
}

std::wstring ColorText(DWORD value) {
  wchar_t text[16] = {};
  std::swprintf(text, 16, L"#%08X", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::wstring ThemeFilePath(const std::wstring& theme_name) {
  std::wstring path = GetProgramDir() + L"theme\\" + theme_name;
  if (path.size() < 4 || path[path.size() - 4] != L'.') path += L".xml";
  return path;
}

bool LoadTheme(const std::wstring& theme_name) {
  if (theme_name.empty()) return false;
  const std::wstring path = ThemeFilePath(theme_name);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;

  ui::MarkupDocument document;
  if (!document.LoadFromFile(path, ui::MarkupDocument::kUtf8)) return false;
  ui::MarkupNode root = document.GetRoot();
  if (!root.IsValid()) return false;
  std::string narrow_name;
  NarrowString(theme_name.c_str(), narrow_name, kCodePageUtf8);
  std::printf("LoadTheme:%s\n", narrow_name.c_str());
  if (std::wstring(root.GetName()) != L"Global") return false;

  std::vector<std::pair<std::wstring, std::wstring>> colors;
  for (ui::MarkupNode child = root.GetChild(); child.IsValid(); child = child.GetSibling()) {
    if (std::wstring(child.GetName()) != L"Color") continue;
    auto entry = ColorEntry(child);
    if (entry.first.empty()) continue;
    // A value that is written but unreadable refuses the whole theme, so a typo
    // cannot turn a colour transparent; a missing value means 0.
    DWORD value = 0;
    if (!entry.second.empty() && !ui::UiGlobals::ParseColor(entry.second, value)) return false;
    colors.push_back(std::move(entry));
  }
  // Every colour an earlier theme changed goes back to the skin's before this
  // theme applies its own: each theme shows over the skin, never over another theme.
  auto& skin = SkinColors();
  for (const auto& [name, value] : skin) ui::UiGlobals::AddColor(name, ColorText(value));
  for (const auto& [name, value] : colors) {
    skin.try_emplace(name, ui::UiGlobals::GetColor(name));
    ui::UiGlobals::AddColor(name, value);
  }
  return true;
}

std::wstring ThemeLoadWarningText(const std::wstring& theme_name) {
  return FormatText(kThemeLoadWarningFormat, theme_name.c_str());
}

void ShowThemeLoadWarning(HWND owner, const std::wstring& theme_name) {
  MessageBoxW(owner, ThemeLoadWarningText(theme_name).c_str(), kThemeLoadWarningCaption,
              MB_OK | MB_ICONWARNING | MB_TOPMOST);
}
