// The one constructor of new links, used wherever the launcher makes a link from
// a path, a dialog or the system-function table.
#pragma once

#include <memory>
#include <string>

#include "data/link.h"

// A link that is not stored yet: ID, tag, position, run count, hot key and show
// command 0, no item-ID list; the initials keys are made from NAME and Remark.
std::shared_ptr<Link> MakeLinkRecord(int32_t type, const std::wstring& name, const std::wstring& path,
                                     const std::wstring& icon, const std::wstring& parameter,
                                     const std::wstring& workDir, bool isAdmin, const std::wstring& customColor,
                                     const std::wstring& remark);

// True when the path names an existing file (not a folder).
bool FileExists(const std::wstring& path);
