#include "app/new_links/link_record.h"

#include <windows.h>

#include "data/initials.h"

std::shared_ptr<Link> MakeLinkRecord(int32_t type, const std::wstring& name, const std::wstring& path,
                                     const std::wstring& icon, const std::wstring& parameter,
                                     const std::wstring& workDir, bool isAdmin, const std::wstring& customColor,
                                     const std::wstring& remark) {
  auto link = std::make_shared<Link>();
  link->TYPE = type;
  link->NAME = name;
  link->nameInitials = MakeInitialsKey(name);
  link->PATH = path;
  link->ICON = icon;
  link->Parameter = parameter;
  link->WorkDir = workDir;
  link->IsAdmin = isAdmin;
  link->CustomColor = customColor;
  link->Remark = remark;
  link->remarkInitials = MakeInitialsKey(remark);
  return link;
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
