// The two root elements of a skin document: "Global" fills the framework's
// process-wide tables, "Window" sets the attributes and private tables of the
// window being created.
#include <cwchar>
#include <string>

#include "ui/base/dpi_scaler.h"
#include "ui/base/language_table.h"
#include "ui/base/private_font_list.h"
#include "ui/core/attribute_numbers.h"
#include "ui/core/skin_builder.h"
#include "ui/core/window.h"

namespace ui {

namespace {

// The text of an attribute, empty when the element lacks it.
std::wstring Attribute(MarkupNode node, const wchar_t* name) {
  std::wstring value;
  int count = node.GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    if (std::wcscmp(node.GetAttributeName(i), name) == 0) value = node.GetAttributeValue(i);
  }
  return value;
}

bool IsTrue(const std::wstring& text) { return text == L"true"; }

// The attribute text a "Class" element stores: "value" is taken as it stands,
// every other attribute (and "_value", as value) becomes name="value".
std::wstring ClassText(MarkupNode node, std::wstring* className) {
  std::wstring text;
  int count = node.GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    std::wstring name = node.GetAttributeName(i);
    std::wstring value = node.GetAttributeValue(i);
    if (name == L"name") {
      *className = value;
    } else if (name == L"value") {
      text += value;
    } else {
      text += L' ';
      text += name == L"_value" ? L"value" : name;
      text += L"=\"" + value + L"\"";
    }
  }
  size_t start = 0;
  while (start < text.size() && (text[start] == L' ' || text[start] < 30)) ++start;
  return text.substr(start);
}

void AddGlobalFont(MarkupNode node) {
  std::wstring id, face;
  int size = 12, weight = 0;
  bool bold = false, underline = false, strikeout = false, italic = false, isDefault = false;
  int count = node.GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    std::wstring name = node.GetAttributeName(i);
    std::wstring value = node.GetAttributeValue(i);
    if (name == L"id") {
      id = value;
    } else if (name == L"name") {
      face = value;
    } else if (name == L"size") {
      size = _wtoi(value.c_str());
    } else if (name == L"bold") {
      bold = IsTrue(value);
    } else if (name == L"underline") {
      underline = IsTrue(value);
    } else if (name == L"strikeout") {
      strikeout = IsTrue(value);
    } else if (name == L"italic") {
      italic = IsTrue(value);
    } else if (name == L"default") {
      isDefault = IsTrue(value);
    } else if (name == L"weight") {
      weight = _wtoi(value.c_str());
    }
  }
  if (!face.empty()) UiGlobals::AddFont(id, face, size, bold, underline, strikeout, italic, isDefault, weight);
}

// The shadow's padding while it is attached, else none.
RECT AttachedShadowPadding(const Window* window) {
  return window->IsShadowAttached() ? window->GetShadowPadding() : RECT{0, 0, 0, 0};
}

// "mininfo" and "maxinfo": scaled, and grown by the shadow's padding while it
// is attached (a 0, meaning no limit, stays 0).
SIZE ScaledLimit(SIZE size, const Window* window) {
  const DpiScaler& scaler = DpiScaler::Instance();
  size.cx = scaler.ScaleInt(size.cx);
  size.cy = scaler.ScaleInt(size.cy);
  RECT padding = AttachedShadowPadding(window);
  if (size.cx != 0) size.cx += padding.left + padding.right;
  if (size.cy != 0) size.cy += padding.top + padding.bottom;
  return size;
}

// "heightpercent": the height is a share of the monitor's work area, kept within
// the window's limits; the width stays the initial one.
void ApplyHeightPercent(Window* window, double fraction) {
  window->SetHeightPercent(fraction);
  MONITORINFO monitor = {sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(window->GetHWND(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT padding = AttachedShadowPadding(window);
  const int paddingWidth = padding.left + padding.right;
  const int paddingHeight = padding.top + padding.bottom;
  int height = static_cast<int>((monitor.rcWork.bottom - monitor.rcWork.top) * fraction);
  SIZE minInfo = window->GetMinInfo();
  SIZE maxInfo = window->GetMaxInfo();
  if (minInfo.cy != 0 && minInfo.cy - paddingHeight > height) height = minInfo.cy - paddingHeight;
  if (maxInfo.cy != 0 && maxInfo.cy - paddingHeight < height) height = maxInfo.cy - paddingHeight;
  int width = window->GetInitialSize().cx;
  if (width != 0) width -= paddingWidth;
  window->SetInitialSize(width, height, false);
}

void ApplyWindowAttribute(Window* window, const std::wstring& name, const std::wstring& value) {
  const DpiScaler& scaler = DpiScaler::Instance();
  RECT rc;
  SIZE size;
  if (name == L"size") {
    if (ParseSize(value, &size)) window->SetInitialSize(size.cx, size.cy, true);
  } else if (name == L"heightpercent") {
    ApplyHeightPercent(window, _wtof(value.c_str()));
  } else if (name == L"sizebox") {
    if (ParseRect(value, &rc)) window->SetSizeBox(rc);
  } else if (name == L"caption") {
    if (ParseRect(value, &rc)) {
      scaler.ScaleRect(rc);
      window->SetCaptionRect(rc);
    }
  } else if (name == L"textid") {
    SetWindowTextW(window->GetHWND(), LanguageTable::Instance().GetText(value).c_str());
  } else if (name == L"roundcorner") {
    if (ParseSize(value, &size)) window->SetRoundCorner(scaler.ScaleInt(size.cx), scaler.ScaleInt(size.cy));
  } else if (name == L"mininfo") {
    if (ParseSize(value, &size)) {
      size = ScaledLimit(size, window);
      window->SetMinInfo(size.cx, size.cy);
    }
  } else if (name == L"maxinfo") {
    if (ParseSize(value, &size)) {
      size = ScaledLimit(size, window);
      window->SetMaxInfo(size.cx, size.cy);
    }
  } else if (name == L"shadowattached") {
    window->SetShadowAttached(IsTrue(value));
  } else if (name == L"shadowimage") {
    window->GetShadow().SetShadowImage(value);
  } else if (name == L"shadowcorner") {
    if (ParseRect(value, &rc)) window->GetShadow().SetShadowCorner(rc, true);
  } else if (name == L"alphafixcorner" || name == L"custom_shadow") {
    if (ParseRect(value, &rc)) {
      scaler.ScaleRect(rc);
      window->SetAlphaFixCorner(rc);
    }
  } else if (name == L"renderalpha") {
    window->SetRenderTransparent(IsTrue(value));
  }
}

}  // namespace

void SkinBuilder::ApplyGlobalRoot(MarkupNode root) {
  int count = root.GetAttributeCount();
  for (int i = 0; i < count; ++i) {
    std::wstring name = root.GetAttributeName(i);
    std::wstring value = root.GetAttributeValue(i);
    if (name == L"disabledfontcolor") {
      UiGlobals::SetDefaultDisabledTextColorName(value);
    } else if (name == L"defaultfontcolor") {
      UiGlobals::SetDefaultTextColorName(value);
    }
  }
  for (MarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
    const std::wstring element = node.GetName();
    if (element == L"FontResource") {
      std::wstring file = Attribute(node, L"file");
      if (!file.empty()) PrivateFontList::Instance().AddFont(file, Attribute(node, L"name"));
    } else if (element == L"Font") {
      AddGlobalFont(node);
    } else if (element == L"Class") {
      std::wstring className;
      std::wstring text = ClassText(node, &className);
      if (!className.empty()) UiGlobals::AddClass(className, text);
    } else if (element == L"TextColor") {
      std::wstring colorName = Attribute(node, L"name");
      if (!colorName.empty()) UiGlobals::AddColor(colorName, Attribute(node, L"value"));
    }
  }
}

void SkinBuilder::ApplyWindowRootAttributes(MarkupNode root, Window* window) {
  int count = root.GetAttributeCount();
  for (int i = 0; i < count; ++i) ApplyWindowAttribute(window, root.GetAttributeName(i), root.GetAttributeValue(i));
}

void SkinBuilder::ApplyWindowRootTables(MarkupNode root, Window* window) {
  for (MarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
    const std::wstring element = node.GetName();
    if (element == L"Class") {
      std::wstring className;
      std::wstring text = ClassText(node, &className);
      if (!className.empty()) window->AddClass(className, text);
    } else if (element == L"TextColor") {
      std::wstring colorName = Attribute(node, L"name");
      std::wstring value = Attribute(node, L"value");
      // Only "#" and hexadecimal digits name a window colour; anything else
      // stores nothing.
      if (colorName.empty() || value.size() < 2 || value[0] != L'#') continue;
      window->AddColor(colorName, static_cast<DWORD>(std::wcstoul(value.c_str() + 1, nullptr, 16)));
    }
  }
}

}  // namespace ui
