// What the window needs to know about text-entry controls, which live above the
// core: whether a control is one, whether it keeps Tab for itself, and how to set
// its selection when Tab moves the focus. The text-entry control registers these
// when its library is used; until then no control counts as text entry.
#pragma once

namespace ui {

class Control;

struct TextEntryTraits {
  // Non-null for a text-entry control (of that class or derived from it).
  bool (*isTextEntry)(Control* control) = nullptr;
  bool (*wantsTab)(Control* control) = nullptr;
  void (*setSelection)(Control* control, long start, long end) = nullptr;
};

void SetTextEntryTraits(const TextEntryTraits& traits);

bool IsTextEntry(Control* control);
// A text-entry control that keeps Tab for itself.
bool TextEntryWantsTab(Control* control);
void SetTextEntrySelection(Control* control, long start, long end);

}  // namespace ui
