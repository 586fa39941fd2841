// What the main window does with WM_HOTKEY: the chord is matched by its content,
// never by its id, first against the main chord, then the search chord, then the
// links' chords.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

class HotKeyTable;
class Settings;
struct Link;

// The main window's side of the dispatch; every member may be left empty.
struct HotKeyActions {
  std::function<void()> toggleMain;
  // Brings the search window up; false when there is no search window.
  std::function<bool()> showSearch;
  // Starts the link on a launch thread of its own.
  std::function<void(const std::shared_ptr<Link>&)> launchLink;
  // Stores the link's increased run count.
  std::function<void(const std::shared_ptr<Link>&)> saveRunCount;
  // Rebuilds the current tag view (the link's tag sorts by run count).
  std::function<void()> rebuildTagView;
};

enum class HotKeyTarget { kNone, kMain, kSearch, kLink };

// Acts on one WM_HOTKEY (lParam: modifiers in the low word, key in the high word).
// A link found is launched; with "bSaveRunCount" its run count goes up and is
// saved, and a tag sorted by run count is rebuilt. The main window is not shown
// for a link.
HotKeyTarget DispatchHotKey(LPARAM lParam, const Settings& settings, const HotKeyTable& table,
                            const HotKeyActions& actions);
