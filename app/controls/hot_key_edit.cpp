#include "app/controls/hot_key_edit.h"

#include <windows.h>

#include "app/hot_keys/hot_key_text.h"

namespace ui {

namespace {

constexpr wchar_t kNoChord[] = L"无";
constexpr EventType kSideButtonDown = static_cast<EventType>(60);
constexpr EventType kSideButtonUp = static_cast<EventType>(61);

bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

bool WinDown() { return KeyDown(VK_LWIN) || KeyDown(VK_RWIN); }

bool IsModifierKey(uint32_t vk) {
  return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_LWIN || vk == VK_RWIN;
}

// Whether any modifier key other than `vk` is held (Ctrl, Shift, Alt, either Win).
bool OtherModifierHeld(uint32_t vk) {
  for (int other : {VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN, VK_RWIN}) {
    if (static_cast<uint32_t>(other) != vk && KeyDown(other)) return true;
  }
  return false;
}

}  // namespace

HotKeyEdit::HotKeyEdit() {
  // A listener of the edit itself: it goes when the edit does.
  AttachEvent(all, [this](EventArgs* event) { return OnKeyEvent(*event); });
  SetText(kNoChord);
}

bool HotKeyEdit::OnTextChange() {
  if (!showingStored_) ShowChord();
  return true;
}

void HotKeyEdit::ShowChord() {
  const std::wstring text = HotKeyToText(modifiers_, virtualKey_);
  const std::wstring shown = text.empty() ? kNoChord : text;
  // Replacing the text raises the change notice again; only replace what differs.
  if (GetText() != shown) SetText(shown);
}

bool HotKeyEdit::OnKeyEvent(EventArgs& event) {
  switch (static_cast<int>(event.Type)) {
    case keydown:
    case hotkeydown:
      OnKeyDown(static_cast<uint32_t>(event.wParam));
      break;
    case keyup:
    case hotkeyup:
    case kSideButtonUp:
      if (virtualKey_ == 0) UpdateModifiers();
      break;
    case setfocus:
      SetImmStatus(false);
      break;
    case kSideButtonDown:
      if (IsSideButtonsAllowed()) {
        if (event.wParam & MK_XBUTTON1) {
          virtualKey_ = VK_XBUTTON1;
        } else if (event.wParam & MK_XBUTTON2) {
          virtualKey_ = VK_XBUTTON2;
        }
      }
      UpdateModifiers();
      break;
    default:
      break;
  }
  return true;
}

void HotKeyEdit::OnKeyDown(uint32_t key) {
  if (key == VK_BACK) {
    virtualKey_ = 0;
  } else if (IsModifierKey(key)) {
    // A modifier pressed alone after a finished chord starts a new one.
    if (!OtherModifierHeld(key) && virtualKey_ != 0 && !KeyDown(static_cast<int>(virtualKey_))) virtualKey_ = 0;
  } else {
    virtualKey_ = key;
  }
  UpdateModifiers();
}

void HotKeyEdit::UpdateModifiers() {
  modifiers_ = 0;
  const bool ctrl = KeyDown(VK_CONTROL);
  const bool shift = KeyDown(VK_SHIFT);
  const bool alt = KeyDown(VK_MENU);
  if (virtualKey_ != 0 && !ctrl && !shift && !alt) {
    // A chord always carries a modifier (Win alone does not count).
    modifiers_ = MOD_CONTROL | MOD_ALT;
  } else {
    if (ctrl) modifiers_ |= MOD_CONTROL;
    if (shift) modifiers_ |= MOD_SHIFT;
    if (alt) modifiers_ |= MOD_ALT;
  }
  if (WinDown()) {
    modifiers_ |= MOD_WIN;
    if (virtualKey_ == 0) virtualKey_ = VK_LWIN;
  }
  ShowChord();
}

void HotKeyEdit::ShowStoredChord(uint32_t modifiers, uint32_t virtualKey) {
  modifiers_ = modifiers;
  virtualKey_ = virtualKey;
  showingStored_ = true;
  SetText(virtualKey != 0 ? HotKeyToText(modifiers, virtualKey) : std::wstring(kNoChord));
  showingStored_ = false;
}

void SetHotKeyEditCode(HotKeyEdit* edit, uint32_t code) {
  if (edit) edit->ShowStoredChord((code >> 8) & 0xFF, code & 0xFF);
}

}  // namespace ui
