// One row of the "Groups" table held in memory: a top-level group or a tag.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/link.h"

// Groups.TYPE values of tags. A tag that is not ordinary takes no links.
enum GroupType : int32_t {
  kGroupOrdinary = 0,
  kGroupAllLinks = 1,  // shows every link of its group ("全部")
  kGroupNote = 2,      // holds text in Content ("便签")
};

// ICONSIZE values.
enum IconSizeCode : int32_t { kIconSize32 = 0, kIconSize16 = 1, kIconSize48 = 2 };
// LAYOUT values.
enum LayoutCode : int32_t { kLayoutTiles = 0, kLayoutList = 1 };
// SORT values of a tag.
enum SortCode : int32_t { kSortByPosition = 0, kSortByRunCount = 1, kSortByInitials = 2 };

// Field names follow the table's column names. A top-level group owns its tags, a tag
// owns its links; shownLinks only refers to the tag's links as last listed.
struct Group {
  int32_t ID = 0;
  int32_t POS = 0;
  int32_t TYPE = 0;         // GroupType (tags only)
  int32_t SORT = 0;         // SortCode
  int32_t ParentGroup = 0;  // 0 for a top-level group
  std::wstring NAME;
  std::wstring ICON;
  std::wstring Content;     // text of a note tag
  int32_t LAYOUT = 0;       // LayoutCode
  int32_t ICONSIZE = 0;     // IconSizeCode
  int32_t currentTag = 0;   // index of the tag last shown; memory only
  int32_t FLAG = 0;         // stored and loaded, no meaning here
  std::vector<std::shared_ptr<Group>> tags;
  std::vector<std::shared_ptr<Link>> links;
  std::vector<std::weak_ptr<Link>> shownLinks;

  bool IsTopLevel() const { return ParentGroup == 0; }
  bool IsSpecialTag() const { return TYPE != kGroupOrdinary; }
};
