#include "ui/core/text_entry_traits.h"

namespace ui {

namespace {

TextEntryTraits& Traits() {
  static TextEntryTraits traits;
  return traits;
}

}  // namespace

void SetTextEntryTraits(const TextEntryTraits& traits) { Traits() = traits; }

bool IsTextEntry(Control* control) {
  return control && Traits().isTextEntry && Traits().isTextEntry(control);
}

bool TextEntryWantsTab(Control* control) {
  return IsTextEntry(control) && Traits().wantsTab && Traits().wantsTab(control);
}

void SetTextEntrySelection(Control* control, long start, long end) {
  if (IsTextEntry(control) && Traits().setSelection) Traits().setSelection(control, start, end);
}

}  // namespace ui
