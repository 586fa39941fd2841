// A label: a control (or, as "LabelBox", a box) that shows one text: given
// directly or as a language-table id, in a font, aligned by DrawText style bits,
// in per-state colours with a hot cross-fade, measured for auto sizing, and with
// an optional tooltip that shows only while the text is cut off.
#pragma once

#include <windows.h>

#include <string>

#include "ui/core/attribute_numbers.h"
#include "ui/core/box.h"
#include "ui/core/control.h"
#include "ui/core/state_color_set.h"

namespace ui {

class IRenderContext;

// DrawText style bits the text controls use.
inline constexpr UINT kTextCenter = DT_CENTER;          // 0x1
inline constexpr UINT kTextRight = DT_RIGHT;            // 0x2
inline constexpr UINT kTextVCenter = DT_VCENTER;        // 0x4
inline constexpr UINT kTextBottom = DT_BOTTOM;          // 0x8
inline constexpr UINT kTextSingleLine = DT_SINGLELINE;  // 0x20
inline constexpr UINT kTextNoClip = DT_NOCLIP;          // 0x100
inline constexpr UINT kTextEndEllipsis = DT_END_ELLIPSIS;  // 0x8000

// Left, top, single line, no clip, end ellipsis.
inline constexpr UINT kLabelTextStyle = 0x8120;

namespace label_detail {

// Applies the words of an "align" value to a text style. The words are found
// by substring, so "vcenter" also counts as "center".
UINT ApplyAlignWords(UINT style, const std::wstring& value);
// Four numbers, DPI-scaled as a rectangle when the scaler adapts.
RECT ParseTextPadding(const std::wstring& value);
// The colour name of a state with the fallbacks pushed -> hot -> normal and
// disabled -> normal; `effective` receives the state whose name is returned.
std::wstring StateTextColor(StateColorSet& colors, ControlState state, ControlState* effective);
// The text's width and height measured with the window's render context;
// (0, 0) without a window.
SIZE MeasureText(Control* control, const std::wstring& text, const std::wstring& font, UINT style,
                 int widthLimit);
// Characters that give a single line's height as well as the whole text would.
inline constexpr size_t kLineSample = 64;
// The first start of a wrapped text that is measured alone.
inline constexpr size_t kFirstWrappedStart = 256;
// `text` cut to about `length` characters, never between the halves of a pair.
std::wstring TextStart(const std::wstring& text, size_t length);
// The size of `text` wrapped at `width`, exact while it is no taller than `room`;
// a taller text is measured only as far as a start taller than `room`, so that
// the cost follows the room, not the text.
SIZE MeasureWrappedUpTo(Control* control, const std::wstring& text, const std::wstring& font, UINT style,
                        int width, int room);
// Draws the text as the label does: once in `colorName`, or, while a hot fade
// plays over a normal or hot state, the base layer and the hot layer at the hot
// alpha. An empty base colour draws no base layer.
struct TextLayers {
  std::wstring single;  // the colour when no cross-fade applies
  ControlState effective = kControlStateNormal;
  std::wstring base;  // normal layer of the cross-fade
  std::wstring hot;   // hot layer of the cross-fade; empty: no cross-fade
};
void DrawTextLayers(Control* control, IRenderContext* context, const RECT& rect, const std::wstring& text,
                    const TextLayers& layers, const std::wstring& font, UINT style, bool lineLimit,
                    bool fillPath);

}  // namespace label_detail

template <typename InheritType = Control>
class LabelTemplate : public InheritType {
 public:
  LabelTemplate();

  // Control overrides.
  void SetPos(RECT rc) override;
  std::wstring GetType() const override { return L"Label"; }
  bool IsTabStop() const override { return false; }
  SIZE EstimateText(SIZE available, bool& reEstimateSize) override;
  // A label gives assistive tools no provider of its own.
  UIAControlProvider* GetAccessibilityProvider() override { return nullptr; }
  bool HasHotState() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintText(IRenderContext* context) override;

  // The text, or the language text of the text id while the text is empty
  // (looked up on every call, so a changed table shows at the next paint).
  virtual std::wstring GetText() const;
  virtual std::string GetUTF8Text() const;
  virtual void SetText(const std::wstring& text);
  virtual void SetUTF8Text(const std::string& text);
  virtual void SetTextId(const std::wstring& id);
  virtual void SetUTF8TextId(const std::string& id);

  std::wstring GetTextId() const { return textId_; }
  UINT GetTextStyle() const { return textStyle_; }
  void SetTextStyle(UINT style) {
    textStyle_ = style;
    this->Invalidate();
  }
  const std::wstring& GetFont() const { return font_; }
  void SetFont(const std::wstring& font) {
    font_ = font;
    this->Invalidate();
  }
  RECT GetTextPadding() const { return textPadding_; }
  bool IsSingleLine() const { return singleLine_; }
  bool IsLineLimit() const { return lineLimit_; }
  bool IsAutoToolTip() const { return autoToolTip_; }

  // The normal text colour's name.
  std::wstring GetTextColor() const { return textColors_.GetColorName(kControlStateNormal); }
  // Setting the hot colour switches the hot cross-fade on.
  void SetStateTextColor(ControlState state, const std::wstring& color);
  std::wstring GetStateTextColor(ControlState state, ControlState* effective = nullptr) {
    return label_detail::StateTextColor(textColors_, state, effective);
  }
  // With "autotooltip": the tooltip shows only while the text does not fit.
  void UpdateAutoToolTip();

 protected:
  // Re-arranges the nearest fixed ancestor when auto-sized, else repaints.
  void ArrangeOrInvalidate();
  // Writes the single-line switch into the stored style's single-line bit and
  // returns the style; every measurement and paint goes through it, so the
  // style read back matches what was drawn.
  UINT ApplySingleLine() {
    textStyle_ = singleLine_ ? (textStyle_ | kTextSingleLine) : (textStyle_ & ~kTextSingleLine);
    return textStyle_;
  }
  RECT TextRect() const;

  std::wstring font_;
  std::wstring rememberedToolTip_;
  UINT textStyle_ = kLabelTextStyle;
  bool singleLine_ = true;
  bool lineLimit_ = false;
  bool autoToolTip_ = false;
  bool drawTextFillPath_ = false;
  RECT textPadding_ = {0, 0, 0, 0};
  std::wstring text_;
  std::wstring textId_;
  StateColorSet textColors_;
};

// Both forms are compiled once, in the source file.
extern template class LabelTemplate<Control>;
extern template class LabelTemplate<Box>;

}  // namespace ui
