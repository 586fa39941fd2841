// The colour, font and class tables of the framework's global state.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>

#include "ui/base/dpi_scaler.h"
#include "ui/base/text_constants.h"
#include "ui/base/ui_globals.h"
#include "ui/base/windows_version.h"

namespace ui {

namespace {

struct Tables {
  std::map<std::wstring, DWORD> colors;
  std::map<std::wstring, std::unique_ptr<FontInfo>> fonts;
  std::wstring default_font_id;
  std::map<std::wstring, std::wstring> classes;
  std::wstring default_text_color = kDefaultTextColorName;
  std::wstring default_disabled_text_color = kDefaultDisabledTextColorName;
};

Tables& GetTables() {
  static Tables tables;
  return tables;
}

// "argb(%d,%d,%d,%d)" or "rgb(%d,%d,%d)" including the closing parenthesis.
bool ScanNumbers(const wchar_t* text, const wchar_t* format, int expected, int (&numbers)[4]) {
  int end = -1;
  int scanned;
  if (expected == 4) {
    scanned = swscanf(text, format, &numbers[0], &numbers[1], &numbers[2], &numbers[3], &end);
  } else {
    scanned = swscanf(text, format, &numbers[0], &numbers[1], &numbers[2], &end);
  }
  return scanned == expected && end > 0;
}

// The platform's face for "system": the Vista-and-later UI font or the older one.
const wchar_t* SystemFaceName() {
  static const bool vista_or_later = IsWindowsVersionAtLeast(6, 0, 0);
  return vista_or_later ? L"\u5fae\u8f6f\u96c5\u9ed1" : L"\u65b0\u5b8b\u4f53";
}

}  // namespace

bool UiGlobals::ParseColor(const std::wstring& text, DWORD& value) {
  value = 0;
  if (text.empty()) return false;
  const wchar_t* rest = text.c_str() + 1;
  switch (text[0]) {
    case L'#': {
      wchar_t* end = nullptr;
      value = static_cast<DWORD>(wcstoul(rest, &end, 16));
      return end != rest;
    }
    case L'@':
      value = GetColor(rest);
      return true;
    case L'a': {
      int n[4] = {};
      if (!ScanNumbers(text.c_str(), L"argb(%d,%d,%d,%d)%n", 4, n)) return false;
      value = (static_cast<DWORD>(n[0] & 0xFF) << 24) | (static_cast<DWORD>(n[1] & 0xFF) << 16) |
              (static_cast<DWORD>(n[2] & 0xFF) << 8) | static_cast<DWORD>(n[3] & 0xFF);
      return true;
    }
    case L'r': {
      int n[4] = {};
      if (!ScanNumbers(text.c_str(), L"rgb(%d,%d,%d)%n", 3, n)) return false;
      value = 0xFF000000u | (static_cast<DWORD>(n[0] & 0xFF) << 16) | (static_cast<DWORD>(n[1] & 0xFF) << 8) |
              static_cast<DWORD>(n[2] & 0xFF);
      return true;
    }
    default:
      return false;
  }
}

void UiGlobals::AddColor(const std::wstring& name, const std::wstring& value_text) {
  DWORD value = 0;
  ParseColor(value_text, value);
  GetTables().colors[name] = value;
}

DWORD UiGlobals::GetColor(const std::wstring& name) {
  const auto& colors = GetTables().colors;
  auto it = colors.find(name);
  return it == colors.end() ? 0 : it->second;
}

HFONT UiGlobals::AddFont(const std::wstring& id, const std::wstring& face_name, int size, bool bold, bool underline,
                         bool strikeout, bool italic, bool is_default, int weight) {
  Tables& tables = GetTables();
  const std::wstring font_id = id.empty() ? std::to_wstring(tables.fonts.size()) : id;
  const std::wstring face = face_name == L"system" ? SystemFaceName() : face_name;

  LOGFONTW logfont{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logfont), &logfont);
  // The face-name field holds 31 characters and its terminator.
  lstrcpynW(logfont.lfFaceName, face.c_str(), LF_FACESIZE);
  logfont.lfCharSet = DEFAULT_CHARSET;
  const DpiScaler& scaler = DpiScaler::Instance();
  if (scaler.IsAdapted() && scaler.Scale() != 100) size = MulDiv(size, scaler.Scale(), 100);
  logfont.lfHeight = -size;
  if (underline) logfont.lfUnderline = TRUE;
  if (strikeout) logfont.lfStrikeOut = TRUE;
  if (italic) logfont.lfItalic = TRUE;
  // Bold adds 700 to the default weight; a weight never leaves the range 0 to 1000.
  if (weight != 0) {
    logfont.lfWeight = weight;
  } else if (bold) {
    logfont.lfWeight += FW_BOLD;
  }
  logfont.lfWeight = std::clamp<LONG>(logfont.lfWeight, 0, 1000);

  HFONT handle = CreateFontIndirectW(&logfont);
  if (!handle) return nullptr;

  auto existing = tables.fonts.find(font_id);
  if (existing != tables.fonts.end()) {
    // The table keeps its first font under an id; the new one is not needed.
    DeleteObject(handle);
    handle = existing->second->handle;
  } else {
    auto info = std::make_unique<FontInfo>();
    info->handle = handle;
    info->faceName = face;
    info->size = size;
    info->weight = logfont.lfWeight;
    info->bold = bold;
    info->underline = underline;
    info->strikeout = strikeout;
    info->italic = italic;
    tables.fonts.emplace(font_id, std::move(info));
  }
  if (is_default) tables.default_font_id = font_id;
  return handle;
}

const FontInfo* UiGlobals::GetFont(const std::wstring& id) {
  const Tables& tables = GetTables();
  auto it = tables.fonts.find(id.empty() ? tables.default_font_id : id);
  return it == tables.fonts.end() ? nullptr : it->second.get();
}

const std::wstring& UiGlobals::GetDefaultFontId() { return GetTables().default_font_id; }

void UiGlobals::RemoveAllFonts() { GetTables().fonts.clear(); }

void UiGlobals::AddClass(const std::wstring& name, const std::wstring& attributes) {
  GetTables().classes[name] = attributes;
}

std::wstring UiGlobals::GetClassAttributes(const std::wstring& name) {
  const auto& classes = GetTables().classes;
  auto it = classes.find(name);
  return it == classes.end() ? std::wstring() : it->second;
}

void UiGlobals::SetDefaultTextColorName(const std::wstring& name) { GetTables().default_text_color = name; }

const std::wstring& UiGlobals::GetDefaultTextColorName() { return GetTables().default_text_color; }

void UiGlobals::SetDefaultDisabledTextColorName(const std::wstring& name) {
  GetTables().default_disabled_text_color = name;
}

const std::wstring& UiGlobals::GetDefaultDisabledTextColorName() { return GetTables().default_disabled_text_color; }

}  // namespace ui
