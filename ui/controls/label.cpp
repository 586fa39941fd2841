#include "ui/controls/label.h"

#include <algorithm>
#include <type_traits>

#include "ui/base/dpi_scaler.h"
#include "ui/base/string_util.h"
#include "ui/base/ui_globals.h"
#include "ui/core/attribute_numbers.h"
#include "ui/core/control_animations.h"
#include "ui/core/framework_access.h"
#include "ui/core/scrollable_box.h"
#include "ui/core/window.h"
#include "ui/render/render_context.h"

namespace ui {

namespace label_detail {

UINT ApplyAlignWords(UINT style, const std::wstring& value) {
  auto has = [&value](const wchar_t* word) { return value.find(word) != std::wstring::npos; };
  if (has(L"left")) style &= ~(kTextCenter | kTextRight);
  if (has(L"center")) style = (style & ~kTextRight) | kTextCenter;
  if (has(L"right")) style = (style & ~kTextCenter) | kTextRight;
  if (has(L"top")) style &= ~(kTextVCenter | kTextBottom);
  if (has(L"vcenter")) style = (style & ~kTextBottom) | kTextVCenter;
  if (has(L"bottom")) style = (style & ~kTextVCenter) | kTextBottom;
  return style;
}

RECT ParseTextPadding(const std::wstring& value) {
  // Each number is read one character after the end of the previous one.
  RECT rc = {0, 0, 0, 0};
  LONG* fields[] = {&rc.left, &rc.top, &rc.right, &rc.bottom};
  const wchar_t* cursor = value.c_str();
  for (LONG* field : fields) {
    wchar_t* end = nullptr;
    *field = wcstol(cursor, &end, 10);
    if (!end || *end == L'\0') break;
    cursor = end + 1;
  }
  const DpiScaler& dpi = DpiScaler::Instance();
  if (dpi.IsAdapted() && dpi.Scale() != 100) dpi.ScaleRect(rc);
  return rc;
}

std::wstring StateTextColor(StateColorSet& colors, ControlState state, ControlState* effective) {
  if (state == kControlStatePushed && colors.GetColor(kControlStatePushed).empty()) state = kControlStateHot;
  if (state == kControlStateHot && colors.GetColor(kControlStateHot).empty()) state = kControlStateNormal;
  if (state == kControlStateDisabled && colors.GetColor(kControlStateDisabled).empty()) {
    state = kControlStateNormal;
  }
  if (effective) *effective = state;
  return colors.GetColor(state);
}

SIZE MeasureText(Control* control, const std::wstring& text, const std::wstring& font, UINT style,
                 int widthLimit) {
  Window* window = control->GetWindow();
  IRenderContext* context = window ? window->GetRenderContext() : nullptr;
  if (!context) return SIZE{0, 0};
  RECT rc = context->MeasureText(text, font, style, widthLimit);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

std::wstring TextStart(const std::wstring& text, size_t length) {
  if (length >= text.size()) return text;
  if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF) ++length;
  return text.substr(0, length);
}

SIZE MeasureWrappedUpTo(Control* control, const std::wstring& text, const std::wstring& font, UINT style,
                        int width, int room) {
  // Starts twice as long each time, until one is taller than the room (and so
  // is the whole text) or the whole text is measured.
  for (size_t length = kFirstWrappedStart; length < text.size(); length *= 2) {
    const SIZE measured = MeasureText(control, TextStart(text, length), font, style, width);
    if (measured.cy > room) return measured;
  }
  return MeasureText(control, text, font, style, width);
}

void DrawTextLayers(Control* control, IRenderContext* context, const RECT& rect, const std::wstring& text,
                    const TextLayers& layers, const std::wstring& font, UINT style, bool lineLimit,
                    bool fillPath) {
  const bool fading = control->GetAnimations().GetPlayer(kAnimationHot) != nullptr &&
                      (layers.effective == kControlStateNormal || layers.effective == kControlStateHot) &&
                      !layers.hot.empty();
  if (!fading) {
    context->DrawText(rect, text, control->GetColorValue(layers.single), font, style, 255, lineLimit, fillPath);
    return;
  }
  if (!layers.base.empty()) {
    context->DrawText(rect, text, control->GetColorValue(layers.base), font, style, 255, lineLimit, fillPath);
  }
  const int hotAlpha = control->GetHotAlpha();
  if (hotAlpha > 0) {
    context->DrawText(rect, text, control->GetColorValue(layers.hot), font, style,
                      static_cast<BYTE>(hotAlpha > 255 ? 255 : hotAlpha), lineLimit, fillPath);
  }
}

}  // namespace label_detail

template <typename InheritType>
LabelTemplate<InheritType>::LabelTemplate() {
  textColors_.SetOwner(this);
  textColors_.SetColor(kControlStateNormal, UiGlobals::GetDefaultTextColorName());
  textColors_.SetColor(kControlStateDisabled, UiGlobals::GetDefaultDisabledTextColorName());
  // A plain label sizes itself to its text; the box form stretches like a box.
  if constexpr (std::is_same_v<InheritType, Control>) {
    this->fixedWidth_ = kSizeAuto;
    this->fixedHeight_ = kSizeAuto;
  }
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetPos(RECT rc) {
  InheritType::SetPos(rc);
  UpdateAutoToolTip();
}

template <typename InheritType>
bool LabelTemplate<InheritType>::HasHotState() {
  return textColors_.HasHotColor() || InheritType::HasHotState();
}

template <typename InheritType>
std::wstring LabelTemplate<InheritType>::GetText() const {
  if (text_.empty() && !textId_.empty()) return framework_access::GetLanguageText(textId_);
  return text_;
}

template <typename InheritType>
std::string LabelTemplate<InheritType>::GetUTF8Text() const {
  std::string out;
  NarrowStringCounted(GetText(), out, kCodePageUtf8);
  return out;
}

template <typename InheritType>
void LabelTemplate<InheritType>::ArrangeOrInvalidate() {
  if (this->fixedWidth_ == kSizeAuto || this->fixedHeight_ == kSizeAuto) {
    this->ArrangeAncestor();
  } else {
    this->Invalidate();
  }
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  ArrangeOrInvalidate();
  UpdateAutoToolTip();
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetUTF8Text(const std::string& text) {
  std::wstring wide;
  WidenStringCounted(text, wide, kCodePageUtf8);
  SetText(wide);
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetTextId(const std::wstring& id) {
  if (id == textId_) return;
  textId_ = id;
  ArrangeOrInvalidate();
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetUTF8TextId(const std::string& id) {
  std::wstring wide;
  WidenStringCounted(id, wide, kCodePageUtf8);
  SetTextId(wide);
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetStateTextColor(ControlState state, const std::wstring& color) {
  if (state == kControlStateHot) this->GetAnimations().SetFadeHot(true);
  textColors_.SetColor(state, color);
  this->Invalidate();
}

template <typename InheritType>
void LabelTemplate<InheritType>::SetAttribute(const std::wstring& name, const std::wstring& value) {
  const bool on = value == L"true";
  if (name == L"align") {
    textStyle_ = label_detail::ApplyAlignWords(textStyle_, value);
  } else if (name == L"endellipsis") {
    textStyle_ = on ? (textStyle_ | kTextEndEllipsis) : (textStyle_ & ~kTextEndEllipsis);
  } else if (name == L"linelimit") {
    if (lineLimit_ != on) {
      lineLimit_ = on;
      this->Invalidate();
    }
  } else if (name == L"singleline") {
    if (singleLine_ != on) {
      singleLine_ = on;
      this->Invalidate();
    }
  } else if (name == L"text") {
    SetText(value);
  } else if (name == L"textid") {
    SetTextId(value);
  } else if (name == L"autotooltip") {
    autoToolTip_ = on;
    UpdateAutoToolTip();
  } else if (name == L"font") {
    SetFont(value);
  } else if (name == L"normaltextcolor") {
    SetStateTextColor(kControlStateNormal, value);
  } else if (name == L"hottextcolor") {
    SetStateTextColor(kControlStateHot, value);
  } else if (name == L"pushedtextcolor") {
    SetStateTextColor(kControlStatePushed, value);
  } else if (name == L"disabledtextcolor") {
    SetStateTextColor(kControlStateDisabled, value);
  } else if (name == L"textpadding") {
    textPadding_ = label_detail::ParseTextPadding(value);
    ArrangeOrInvalidate();
  } else if (name == L"drawtextfillpath") {
    drawTextFillPath_ = on;
  } else {
    InheritType::SetAttribute(name, value);
  }
}

template <typename InheritType>
RECT LabelTemplate<InheritType>::TextRect() const {
  RECT rc = this->rect_;
  rc.left += textPadding_.left;
  rc.top += textPadding_.top;
  rc.right -= textPadding_.right;
  rc.bottom -= textPadding_.bottom;
  return rc;
}

template <typename InheritType>
void LabelTemplate<InheritType>::PaintText(IRenderContext* context) {
  const std::wstring text = GetText();
  if (text.empty() || !context) return;
  label_detail::TextLayers layers;
  layers.single = GetStateTextColor(this->state_, &layers.effective);
  layers.base = textColors_.GetColor(kControlStateNormal);
  layers.hot = textColors_.GetColor(kControlStateHot);
  label_detail::DrawTextLayers(this, context, TextRect(), text, layers, font_, ApplySingleLine(), lineLimit_,
                               drawTextFillPath_);
}

template <typename InheritType>
SIZE LabelTemplate<InheritType>::EstimateText(SIZE available, bool& reEstimateSize) {
  const UINT style = ApplySingleLine();
  const std::wstring text = GetText();
  if (text.empty()) return SIZE{0, 0};
  const int fixedWidth = this->fixedWidth_;
  const int horizontal = textPadding_.left + textPadding_.right;
  const int vertical = textPadding_.top + textPadding_.bottom;
  const bool heightWanted = this->fixedHeight_ == kSizeAuto;
  // A text wrapped in a box that does not scroll shows no more than the room
  // its parent gives: a taller one is cut there, and is measured only that far.
  const int heightRoom =
      heightWanted && !dynamic_cast<ScrollableBox*>(this->GetParent()) ? available.cy - vertical : 0;
  SIZE measured = {};
  const int widthLimit = fixedWidth >= 0 ? fixedWidth : 0;
  if (singleLine_ && fixedWidth != kSizeAuto && text.find_first_of(L"\r\n") == std::wstring::npos) {
    // Only the line's height is wanted, which the text's start gives as well.
    measured = label_detail::MeasureText(this, label_detail::TextStart(text, label_detail::kLineSample), font_, style,
                                         widthLimit);
  } else if (singleLine_ && fixedWidth != kSizeAuto && heightRoom > 0) {
    // Lines of their own only: measured until they are taller than the room.
    measured = label_detail::MeasureWrappedUpTo(this, text, font_, style, widthLimit, heightRoom);
  } else if (!singleLine_ && fixedWidth >= 0 && heightRoom > 0) {
    measured = label_detail::MeasureWrappedUpTo(this, text, font_, style, fixedWidth, heightRoom);
    if (measured.cy > heightRoom) {
      measured.cy = heightRoom;
      reEstimateSize = true;  // cut to this room: another room shows more or less
    }
  } else {
    measured = label_detail::MeasureText(this, text, font_, style, widthLimit);
  }
  SIZE result = {0, 0};
  if (fixedWidth == kSizeAuto) result.cx = horizontal + measured.cx;
  if (!heightWanted) return result;
  if (!singleLine_ && fixedWidth == kSizeAuto && this->GetMaxWidth() == -1) {
    reEstimateSize = true;
    const int room = available.cx - horizontal;
    if (measured.cx > room) {
      measured.cy = label_detail::MeasureText(this, text, font_, style, room).cy;
      measured.cx = room;
    }
  }
  return SIZE{horizontal + measured.cx, vertical + measured.cy};
}

template <typename InheritType>
void LabelTemplate<InheritType>::UpdateAutoToolTip() {
  if (!autoToolTip_) return;
  if (rememberedToolTip_.empty()) rememberedToolTip_ = this->GetToolTipText();
  const std::wstring text = GetText();
  if (!text.empty()) {
    const int fixedWidth = this->fixedWidth_;
    const SIZE measured =
        label_detail::MeasureText(this, text, font_, ApplySingleLine(), fixedWidth >= 0 ? fixedWidth : 0);
    const RECT area = TextRect();
    if (area.right - area.left < measured.cx || area.bottom - area.top < measured.cy) {
      this->SetToolTipText(rememberedToolTip_);
      return;
    }
  }
  this->SetToolTipText(L"");
}

template class LabelTemplate<Control>;
template class LabelTemplate<Box>;

}  // namespace ui
