#include "app/new_links/item_id_list_link.h"

#include <shellapi.h>
#include <shlobj.h>

#include "app/new_links/link_record.h"

ItemIdListLink MakeItemIdListLink(const ITEMIDLIST* item, bool linkableOnly) {
  if (!item) return {};
  SHFILEINFOW info = {};
  if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof(info),
                      SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES)) {
    return {};
  }
  if (info.iIcon == 0 || info.szDisplayName[0] == L'\0') return {};
  if (linkableOnly && !(info.dwAttributes & SFGAO_CANLINK)) return {};
  ItemIdListLink made;
  made.link = MakeLinkRecord(kLinkItemIdList, info.szDisplayName, {}, {}, {}, {}, false, {}, {});
  const auto* bytes = reinterpret_cast<const uint8_t*>(item);
  made.link->Pidl.assign(bytes, bytes + ILGetSize(item));
  made.iconIndex = info.iIcon;
  return made;
}
