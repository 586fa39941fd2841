#include "ui/base/ui_globals.h"

namespace ui {

namespace {

std::wstring& ResourcePath() {
  static std::wstring path;
  return path;
}

}  // namespace

void UiGlobals::SetResourcePath(const std::wstring& path) {
  std::wstring stored = path;
  if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') stored += L'\\';
  ResourcePath() = stored;
}

const std::wstring& UiGlobals::GetResourcePath() { return ResourcePath(); }

}  // namespace ui
