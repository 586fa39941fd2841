#include "ui/base/private_font_list.h"

#include "ui/base/scoped_handles.h"
#include "ui/base/ui_globals.h"

namespace ui {

PrivateFontList& PrivateFontList::Instance() {
  static PrivateFontList list;
  return list;
}

bool PrivateFontList::AddFont(const std::wstring& file, const std::wstring& name) {
  const std::wstring path = UiGlobals::GetResourceFullPath(L"font\\" + file, L"");
  bool registered = false;
  if (UiGlobals::GetSkinZip()) {
    UniqueGlobal block = UiGlobals::ReadZipEntry(path);
    if (!block) return false;
    GlobalLockGuard lock(static_cast<HGLOBAL>(block.get()));
    if (!lock.data()) return false;
    DWORD count = 0;
    HANDLE font = AddFontMemResourceEx(lock.data(), static_cast<DWORD>(lock.size()), nullptr, &count);
    if (font) memory_fonts_.push_back(font);
    registered = font != nullptr;
  } else {
    registered = AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr) > 0;
  }
  if (registered) {
    paths_.push_back(path);
    names_.push_back(name);
  }
  return registered;
}

void PrivateFontList::Clear() {
  paths_.clear();
  names_.clear();
  memory_fonts_.clear();
}

}  // namespace ui
