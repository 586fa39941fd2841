// The field in which the user sets a key chord: it shows the keys held while it
// has the focus as a chord ("Ctrl + Alt + S"), or "无" for none, and never holds
// typed text. The owner reads the modifiers and the key when the dialog is
// confirmed.
#pragma once

#include <cstdint>

#include "app/controls/rich_edit_x.h"

namespace ui {

class HotKeyEdit : public RichEditX {
 public:
  HotKeyEdit();

  // Shows the chord instead of raising the text-change event.
  bool OnTextChange() override;

  // Events 8/58 key down, 9/59 key up, 60/61 side button down/up, 36 focus.
  bool OnKeyEvent(EventArgs& event);
  // Reads the modifier keys, completes the chord and shows it.
  void UpdateModifiers();

  bool IsSideButtonsAllowed() const { return sideButtons_ != 0; }
  void SetSideButtonsAllowed(bool allowed) { sideButtons_ = allowed ? 1 : 0; }
  uint32_t GetVirtualKey() const { return virtualKey_; }
  uint32_t GetModifiers() const { return modifiers_; }
  // Modifiers in bits 8 to 15, the key in bits 0 to 7.
  uint32_t GetCode() const { return (modifiers_ << 8) | virtualKey_; }

  // Takes a stored chord and shows it: "无" when its key is 0.
  void ShowStoredChord(uint32_t modifiers, uint32_t virtualKey);

 private:
  void ShowChord();
  void OnKeyDown(uint32_t key);

  uint32_t sideButtons_ = 0;
  uint32_t virtualKey_ = 0;
  uint32_t modifiers_ = 0;
  // Set while a stored chord's text goes in: the text services report that as a
  // change, which must not replace "无" with the bare modifiers.
  bool showingStored_ = false;
};

// Shows a stored chord code in the field: "无" when its key is 0.
void SetHotKeyEditCode(HotKeyEdit* edit, uint32_t code);

}  // namespace ui
