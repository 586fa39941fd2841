// Turning a path into a new link without asking anything: its kind, name, target,
// icon and the other fields come from the path alone, looking into shortcut files
// (".lnk", ".url") and store-app shortcuts on the way.
#pragma once

#include <memory>
#include <string>

#include "data/link.h"

// The new link for a path (a drive root, folder, program, file, shortcut or web
// shortcut), or null when none can be made: too short, ending in a backslash,
// missing, or a shortcut that cannot be read or that leads through more than
// eight shortcuts. Nothing is stored. Needs COM on the calling thread.
std::shared_ptr<Link> MakeLinkFromPath(const std::wstring& path);

// The extension of a path's file name, from its last "." ("" when the file name
// has none); dots in folder names do not count.
std::wstring FileNameExtension(const std::wstring& path);

// A web shortcut's hot-key word (virtual key in the low byte; Shift 1, Ctrl 2,
// Alt 4 in the high byte) as the launcher's hot-key code (Alt 1, Ctrl 2, Shift 4).
uint16_t HotKeyFromShortcutHotKey(uint16_t shortcutHotKey);

// The recursive form of MakeLinkFromPath that the shortcut reader uses to make the
// link of a shortcut's target; `depth` counts the shortcuts followed so far.
std::shared_ptr<Link> MakeLinkFromPathAtDepth(const std::wstring& path, int depth);

// The file name of a path: what follows its last backslash (the whole path when
// it has none).
std::wstring FileNameOf(const std::wstring& path);
// A file name up to its last "." (the whole name when it has none).
std::wstring WithoutExtension(const std::wstring& fileName);
