// The application's two global chords (show or hide the main window, open the
// search window), registered on the main window under ids made from global atoms.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class Settings;

enum class AppChord { kMain, kSearch };

enum class ChordRegistration {
  kNone,        // no chord: code 0, no key, no modifier or no usable id; nothing to report
  kRegistered,
  kFailed,      // the system refused (another program holds the chord)
};

// The registration id of an application chord: its atom ("PexoHotKey",
// "PexoSearchHotKey") less 0xC000. The atom is added once per process and
// deleted when the process ends; 0 when no atom could be had.
int32_t AppChordId(AppChord chord);

// The message shown when an application chord cannot be registered.
std::wstring HotKeyFailureMessage(uint32_t code);

class AppHotKeys {
 public:
  AppHotKeys() = default;
  ~AppHotKeys() { UnregisterAll(); }
  AppHotKeys(const AppHotKeys&) = delete;
  AppHotKeys& operator=(const AppHotKeys&) = delete;

  void SetOwnerWindow(HWND owner) { owner_ = owner; }

  // Drops the chord's former registration, then registers the code. A mouse side
  // button (key 5 or 6) turns on the settings' side-button flag before the
  // registration is tried, so that the mouse hook reports those buttons.
  ChordRegistration Register(AppChord chord, uint32_t code, Settings& settings);
  // True when the chord was registered and is now undone.
  bool Unregister(AppChord chord);
  void UnregisterAll();

  // The id the chord is registered under, 0 when it is not registered.
  int32_t RegisteredId(AppChord chord) const { return ids_[Index(chord)]; }

 private:
  static int Index(AppChord chord) { return chord == AppChord::kMain ? 0 : 1; }

  HWND owner_ = nullptr;
  int32_t ids_[2] = {0, 0};
};
