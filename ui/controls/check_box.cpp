#include "ui/controls/check_box.h"

#include <string_view>

#include "ui/core/state_image_set.h"
#include "ui/core/window.h"

namespace ui {

namespace {

struct StateWord {
  const wchar_t* word;
  ControlState state;
};
constexpr StateWord kStateWords[] = {{L"normal", kControlStateNormal},
                                     {L"hot", kControlStateHot},
                                     {L"pushed", kControlStatePushed},
                                     {L"disabled", kControlStateDisabled}};

// "selected" + state word + suffix, e.g. "selectedhotimage": the state, or false.
// Compared piece by piece: every attribute of every option and list item passes
// through here, and building the candidate names cost an allocation each.
bool MatchSelected(const std::wstring& name, const wchar_t* middle, const wchar_t* suffix, ControlState* state) {
  std::wstring_view rest(name);
  for (std::wstring_view piece : {std::wstring_view(L"selected"), std::wstring_view(middle)}) {
    if (rest.substr(0, piece.size()) != piece) return false;
    rest.remove_prefix(piece.size());
  }
  const std::wstring_view tail(suffix);
  if (rest.size() < tail.size() || rest.substr(rest.size() - tail.size()) != tail) return false;
  rest.remove_suffix(tail.size());
  for (const StateWord& entry : kStateWords) {
    if (rest == entry.word) {
      *state = entry.state;
      return true;
    }
  }
  return false;
}

}  // namespace

template <typename InheritType>
CheckBoxTemplate<InheritType>::CheckBoxTemplate() {
  selectedTextColors_.SetOwner(this);
  selectedColors_.SetOwner(this);
}

template <typename InheritType>
SkinImage* CheckBoxTemplate<InheritType>::GetSizingImage() {
  if (!this->GetBkImage().attributes.file.empty()) return &this->GetBkImage();
  if (SkinImage* image = this->GetStateImages().GetSet(kStateImageBk).GetFirstSetImage()) return image;
  return this->GetStateImages().GetSet(kStateImageSelectedBk).GetFirstSetImage();
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::Selected(bool selected, bool triggerEvent) {
  if (selected_ == selected) return;
  selected_ = selected;
  std::weak_ptr<nbase::WeakFlag> alive = this->GetWeakFlag();
  if (Window* window = this->GetWindow(); window && triggerEvent) {
    window->SendControlEvent(this, selected ? select : unselect, 0, 0);
  }
  if (!alive.expired()) this->Invalidate();
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::Activate() {
  if (!this->IsFocusable()) return;
  Selected(!selected_, true);
}

template <typename InheritType>
bool CheckBoxTemplate<InheritType>::HasHotState() {
  return selectedColors_.HasHotColor() || selectedTextColors_.HasHotColor() ||
         ButtonTemplate<InheritType>::HasHotState();
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::SetSelectedImage(int kind, ControlState state, const std::wstring& text) {
  this->GetStateImages().SetImage(kind, state, text);
  if (this->fixedWidth_ == kSizeAuto || this->fixedHeight_ == kSizeAuto) {
    this->ArrangeAncestor();
  } else {
    this->Invalidate();
  }
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::SetAttribute(const std::wstring& name, const std::wstring& value) {
  ControlState state = kControlStateNormal;
  if (name == L"selected") {
    Selected(value == L"true", true);
  } else if (name == L"normalfirst") {
    normalFirst_ = value == L"true";
  } else if (MatchSelected(name, L"", L"image", &state)) {
    SetSelectedImage(kStateImageSelectedBk, state, value);
  } else if (MatchSelected(name, L"fore", L"image", &state)) {
    SetSelectedImage(kStateImageSelectedFore, state, value);
  } else if (name == L"selectedtextcolor") {
    SetSelectedTextColor(value);
  } else if (MatchSelected(name, L"", L"textcolor", &state)) {
    SetSelectedStateTextColor(state, value);
  } else if (MatchSelected(name, L"", L"color", &state)) {
    SetSelectedStateColor(state, value);
  } else if (name == L"switchselect") {
    Selected(!selected_, false);
  } else {
    ButtonTemplate<InheritType>::SetAttribute(name, value);
  }
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::PaintStatusColor(IRenderContext* context) {
  if (!selected_ || (normalFirst_ && !selectedColors_.HasColor())) {
    ButtonTemplate<InheritType>::PaintStatusColor(context);
    return;
  }
  selectedColors_.Paint(context, this->GetPaintRect(), this->state_);
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::PaintStatusImage(IRenderContext* context) {
  if (!selected_) {
    ButtonTemplate<InheritType>::PaintStatusImage(context);
    return;
  }
  StateImageMap& images = this->GetStateImages();
  auto layer = [&](int selectedKind, int plainKind) {
    StateImageSet& set = images.GetSet(selectedKind);
    if (normalFirst_ && !set.HasImage()) {
      images.GetSet(plainKind).Paint(context, this->state_, L"");
    } else {
      set.Paint(context, this->state_, L"");
    }
  };
  layer(kStateImageSelectedBk, kStateImageBk);
  layer(kStateImageSelectedFore, kStateImageFore);
}

template <typename InheritType>
void CheckBoxTemplate<InheritType>::PaintText(IRenderContext* context) {
  if (!selected_) {
    ButtonTemplate<InheritType>::PaintText(context);
    return;
  }
  const std::wstring text = this->GetText();
  if (text.empty() || !context) return;
  label_detail::TextLayers layers;
  layers.single = label_detail::StateTextColor(selectedTextColors_, this->state_, &layers.effective);
  if (layers.single.empty()) layers.single = selectedTextColor_;
  if (layers.single.empty()) layers.single = this->GetStateTextColor(this->state_, &layers.effective);
  layers.hot = selectedTextColors_.GetColor(kControlStateHot);
  // The base layer of the cross-fade: the selected normal colour, else what the
  // selected text falls back to, so an unhovered box never loses its text.
  layers.base = selectedTextColors_.GetColor(kControlStateNormal);
  if (layers.base.empty()) layers.base = selectedTextColor_;
  if (layers.base.empty()) layers.base = this->GetStateTextColor(kControlStateNormal);
  label_detail::DrawTextLayers(this, context, this->TextRect(), text, layers, this->font_, this->ApplySingleLine(),
                               this->lineLimit_, false);
}

template class CheckBoxTemplate<Control>;
template class CheckBoxTemplate<Box>;

}  // namespace ui
