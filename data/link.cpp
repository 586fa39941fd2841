#include "data/link.h"

#include "data/link_path.h"
#include "ui/base/string_util.h"

std::wstring Link::GetIconKey() {
  if (TYPE == kLinkWebAddress && ICON.empty()) ICON = L"#url";
  if (TYPE == kLinkItemIdList && ICON.empty()) return L"lnk" + std::to_wstring(ID);

  std::wstring source = !ICON.empty() ? ICON : !PATH.empty() ? PATH : L"#err";
  // Shared built-in ("#...") and file-type ("*.ext") icons are keyed by their name;
  // a link's own icon is keyed by the link once it is stored.
  if (source[0] == L'#' || source[0] == L'*') return ToLowerAscii(source);
  if (ID != 0) return L"lnk" + std::to_wstring(ID);
  return ToLowerAscii(source);
}

std::wstring Link::GetIconSource() const {
  if (TYPE == kLinkWebAddress || TYPE == kLinkBuiltinFunction || !ICON.empty()) return ResolveLinkPath(ICON);
  if (TYPE == kLinkItemIdList) return std::wstring();
  return ResolveLinkPath(PATH);
}

std::wstring Link::GetResolvedPath() const {
  if (TYPE == kLinkItemIdList) return std::wstring();
  return ResolveLinkPath(PATH);
}
