#include "app/hot_keys/app_hot_keys.h"

#include <cwchar>

#include "app/hot_keys/hot_key_text.h"
#include "data/link.h"
#include "data/settings.h"

namespace {

constexpr ATOM kFirstStringAtom = 0xC000;

// One global atom for the life of the process. Global atoms outlive the process
// that adds them, so each is added once and deleted at exit.
class ProcessAtom {
 public:
  explicit ProcessAtom(const wchar_t* name) : atom_(GlobalAddAtomW(name)) {}
  ~ProcessAtom() {
    if (atom_ != 0) GlobalDeleteAtom(atom_);
  }
  ProcessAtom(const ProcessAtom&) = delete;
  ProcessAtom& operator=(const ProcessAtom&) = delete;
  ATOM atom() const { return atom_; }

 private:
  ATOM atom_;
};

}  // namespace

int32_t AppChordId(AppChord chord) {
  static const ProcessAtom main_atom(L"PexoHotKey");
  static const ProcessAtom search_atom(L"PexoSearchHotKey");
  const ATOM atom = chord == AppChord::kMain ? main_atom.atom() : search_atom.atom();
  return atom > kFirstStringAtom ? atom - kFirstStringAtom : 0;
}

std::wstring HotKeyFailureMessage(uint32_t code) {
  wchar_t text[160];
  swprintf(text, 160, L"注册快捷键 %ls 失败!", HotKeyCodeToText(code).c_str());
  return text;
}

ChordRegistration AppHotKeys::Register(AppChord chord, uint32_t code, Settings& settings) {
  Unregister(chord);
  const uint16_t chord_code = static_cast<uint16_t>(code);
  const uint8_t modifiers = HotKeyModifiers(chord_code);
  const uint8_t key = HotKeyVirtualKey(chord_code);
  const int32_t id = AppChordId(chord);
  if (id == 0 || key == 0 || modifiers == 0) return ChordRegistration::kNone;
  if (IsMouseButtonHotKey(chord_code)) settings.mouseButtonHotKeyInUse = true;
  if (!RegisterHotKey(owner_, id, modifiers, key)) return ChordRegistration::kFailed;
  ids_[Index(chord)] = id;
  return ChordRegistration::kRegistered;
}

bool AppHotKeys::Unregister(AppChord chord) {
  int32_t& id = ids_[Index(chord)];
  if (id == 0) return false;
  const bool undone = UnregisterHotKey(owner_, id) != FALSE;
  id = 0;
  return undone;
}

void AppHotKeys::UnregisterAll() {
  Unregister(AppChord::kMain);
  Unregister(AppChord::kSearch);
}
