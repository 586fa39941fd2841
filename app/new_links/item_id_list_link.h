// A new link to a shell item that has no file-system path (a library, the
// computer, the control panel, a phone): it keeps the item's ID list and opens
// it through the shell. Used by drops of shell items and by the folder picker.
#pragma once

#include <windows.h>
#include <shtypes.h>

#include <memory>

#include "data/link.h"

struct ItemIdListLink {
  std::shared_ptr<Link> link;  // null when no link can be made
  int iconIndex = 0;           // the item's place in the system image list
};

// The link (TYPE 7, NAME the shell's display name, the list's bytes as its
// item-ID list), not stored. None when the shell cannot describe the item (no
// answer or no icon) or, with `linkableOnly`, when the item says that links to
// it cannot be made.
ItemIdListLink MakeItemIdListLink(const ITEMIDLIST* item, bool linkableOnly);
