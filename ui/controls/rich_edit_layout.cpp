// Geometry of the rich edit: where the text area and the scroll bars go, how the
// field measures itself for auto sizing, how scrolling of the box reaches the
// text services, and how text, caret, prompt and focused image are painted.
#include <algorithm>
#include <vector>

#include "ui/base/font_info.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/rich_edit.h"
#include "ui/controls/txt_win_host.h"
#include "ui/core/auto_clip.h"
#include "ui/core/layout.h"
#include "ui/core/scroll_bar.h"
#include "ui/core/window.h"
#include "ui/render/render_context.h"

namespace ui {

namespace {

bool HasRange(const ScrollBar* bar) { return bar && bar->GetScrollRange() != 0; }

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

}  // namespace

RECT RichEdit::InnerRect(bool* verticalShown) const {
  RECT inner = GetPos();
  const RECT padding = GetLayout()->GetPadding();
  inner.left += padding.left;
  inner.top += padding.top;
  inner.right -= padding.right;
  inner.bottom -= padding.bottom;
  const ScrollBar* vertical = GetVerticalScrollBar();
  const ScrollBar* horizontal = GetHorizontalScrollBar();
  const bool vShown = HasRange(vertical);
  if (vShown) inner.right -= vertical->GetFixedWidth();
  if (HasRange(horizontal)) inner.bottom -= horizontal->GetFixedHeight();
  if (verticalShown) *verticalShown = vShown;
  return inner;
}

LONG RichEdit::NaturalHeight(LONG width) {
  LONG height = 0;
  if (!host_ || !host_->MeasureNaturalSize(width, height)) return -1;
  return height;
}

SIZE RichEdit::MeasureTextWithFont(const std::wstring& text) const {
  SIZE size = {0, 0};
  HDC dc = host_ ? host_->GetWindowDC() : nullptr;
  const FontInfo* font = UiGlobals::GetFont(fontId_);
  if (!dc || !font || !font->handle) return size;
  const std::wstring shown = IsPassword() ? std::wstring(text.size(), L'*') : text;
  HGDIOBJ old = SelectObject(dc, font->handle);
  RECT rc = {0, 0, 0, 0};
  // An empty text still takes one line.
  const std::wstring measured = shown.empty() ? std::wstring(L" ") : shown;
  ::DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &rc,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (IsMultiLine() ? 0 : DT_SINGLELINE));
  SelectObject(dc, old);
  size.cx = shown.empty() ? 0 : Width(rc);
  size.cy = Height(rc);
  return size;
}

void RichEdit::SetPos(RECT rc) {
  Control::SetPos(rc);
  bool verticalShown = false;
  const RECT inner = InnerRect(&verticalShown);
  ScrollBar* vertical = GetVerticalScrollBar();
  ScrollBar* horizontal = GetHorizontalScrollBar();
  if (host_) {
    host_->SetClientRect(inner);
    if (verticalShown && vertical && (vertical->GetScrollRange() == 0 || verticalBarForced_)) {
      // Would the text still overflow if the bar gave its width back?
      const LONG height = NaturalHeight(Width(inner) + vertical->GetFixedWidth());
      if (height > Height(inner)) {
        vertical->SetScrollPos(0);
        verticalBarForced_ = true;
      } else if (verticalBarForced_) {
        vertical->SetScrollRange(0);
        verticalBarForced_ = false;
      }
    }
  }
  if (HasRange(vertical)) {
    vertical->SetPos(RECT{inner.right, inner.top, inner.right + vertical->GetFixedWidth(), inner.bottom});
  }
  if (HasRange(horizontal)) {
    horizontal->SetPos(
        RECT{inner.left, inner.bottom, inner.right, inner.bottom + horizontal->GetFixedHeight()});
  }
  for (Control* child : GetItems()) {
    if (!child->IsVisible()) continue;
    if (child->IsFloat()) {
      Layout::PlaceFloatChild(child, GetPos());
    } else {
      child->SetPos(inner);
    }
  }
}

SIZE RichEdit::EstimateSize(SIZE available) {
  const int fixedWidth = GetFixedWidth();
  const int fixedHeight = GetFixedHeight();
  if (fixedWidth != kSizeAuto && fixedHeight != kSizeAuto) return SIZE{fixedWidth, fixedHeight};
  const RECT padding = GetLayout()->GetPadding();
  SIZE result = {fixedWidth, fixedHeight};
  if (fixedWidth == kSizeAuto) {
    SIZE natural = {0, 0};
    SIZE request = {0, fixedHeight > 0 ? fixedHeight : 0};
    if (!GetNaturalSize(natural, request)) natural = SIZE{0, 0};
    // Some text services answer with the width they were given rather than the
    // text's own; a width well short of the text's measured extent is such an
    // answer, and the font's measurement stands in for it.
    const SIZE measured = MeasureTextWithFont(GetText());
    if (natural.cx * 2 < measured.cx) natural.cx = measured.cx;
    result.cx = natural.cx + padding.left + padding.right;
    return result;
  }
  // Only the height is auto: measure at the width the text area will have.
  int width = fixedWidth;
  if (width == kSizeStretch) width = available.cx;
  width -= padding.left + padding.right;
  SIZE natural = {0, 0};
  SIZE request = {std::max(width, 0), 0};
  if (!GetNaturalSize(natural, request)) natural.cy = MeasureTextWithFont(GetText()).cy;
  result.cy = natural.cy + padding.top + padding.bottom;
  return result;
}

void RichEdit::SetScrollPos(SIZE pos) {
  ScrollBar* vertical = GetVerticalScrollBar();
  ScrollBar* horizontal = GetHorizontalScrollBar();
  int64_t dy = 0;
  int64_t dx = 0;
  if (HasRange(vertical)) {
    const int64_t old = vertical->GetScrollPos();
    vertical->SetScrollPos(pos.cy);
    dy = vertical->GetScrollPos() - old;
  }
  if (HasRange(horizontal)) {
    const int64_t old = horizontal->GetScrollPos();
    horizontal->SetScrollPos(pos.cx);
    dx = horizontal->GetScrollPos() - old;
  }
  if (dy != 0) {
    // Plain text scrolls by whole lines: the text services may settle on a line
    // above the asked position. Keep the bar where the box asked for it.
    const bool keep = host_ && !IsRich() && HasRange(vertical);
    const int64_t asked = keep ? vertical->GetScrollPos() : 0;
    const WPARAM wParam = (static_cast<WPARAM>(vertical->GetScrollPos() & 0xFFFF) << 16) | SB_THUMBPOSITION;
    TxSendMessage(WM_VSCROLL, wParam, 0, nullptr);
    if (keep && dy > 0 && vertical->GetScrollPos() <= asked) vertical->SetScrollPos(asked);
  }
  if (dx != 0) {
    const WPARAM wParam = (static_cast<WPARAM>(horizontal->GetScrollPos() & 0xFFFF) << 16) | SB_THUMBPOSITION;
    TxSendMessage(WM_HSCROLL, wParam, 0, nullptr);
  }
}

void RichEdit::PageUp() { TxSendMessage(WM_VSCROLL, SB_PAGEUP, 0, nullptr); }
void RichEdit::PageDown() { TxSendMessage(WM_VSCROLL, SB_PAGEDOWN, 0, nullptr); }
void RichEdit::HomeUp() { TxSendMessage(WM_VSCROLL, SB_TOP, 0, nullptr); }
void RichEdit::PageLeft() { TxSendMessage(WM_HSCROLL, SB_PAGELEFT, 0, nullptr); }
void RichEdit::PageRight() { TxSendMessage(WM_HSCROLL, SB_PAGERIGHT, 0, nullptr); }
void RichEdit::HomeLeft() { TxSendMessage(WM_HSCROLL, SB_LEFT, 0, nullptr); }
void RichEdit::EndRight() { TxSendMessage(WM_HSCROLL, SB_RIGHT, 0, nullptr); }

void RichEdit::Paint(IRenderContext* context, const RECT& dirty) {
  RECT overlap = {};
  const RECT pos = GetPos();
  if (!IntersectRect(&overlap, &dirty, &pos)) return;
  Control::Paint(context, dirty);
  if (!host_) return;
  const RECT aligned = host_->GetAlignedClientRect();
  const RECTL bounds = {aligned.left, aligned.top, aligned.right, aligned.bottom};
  RECT update = dirty;
  HDC dc = context->GetDC();
  // The text services draw straight into the device context: keep them inside
  // the field and the dirty area.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, overlap.left, overlap.top, overlap.right, overlap.bottom);
  host_->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds,
                                   nullptr, &update, nullptr, 0, TXTVIEW_ACTIVE);
  RestoreDC(dc, saved);
  if (!IsMultiLine() && Width(aligned) != drawnLineWidth_) {
    drawnLineWidth_ = Width(aligned);
    // The text services take the line's width from its drawing: a line scrolled
    // before (a proposal selected before the field had its width is scrolled out
    // to the left) starts over from its left end, with the caret kept in view.
    POINT before = {};
    TxSendMessage(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&before), nullptr);
    if (before.x != 0) {
      HomeLeft();
      TxSendMessage(EM_SCROLLCARET, 0, 0, nullptr);
      Invalidate();
    }
  }
  if (verticalBarForced_) {
    const ScrollBar* vertical = GetVerticalScrollBar();
    const int barWidth = vertical ? vertical->GetFixedWidth() : 0;
    if (NaturalHeight(Width(aligned) + barWidth) <= Height(aligned)) Arrange();
  }
}

void RichEdit::PaintChildren(IRenderContext* context, const RECT& dirty) {
  RECT overlap = {};
  const RECT pos = GetPos();
  if (!IntersectRect(&overlap, &dirty, &pos)) return;
  if (caretVisible_ && !imeComposing_) {
    const DWORD color = caretColor_.empty() ? 0xFF000000 : ResolveColor(caretColor_);
    context->DrawLine(RECT{caretX_, caretY_, caretX_, caretY_ + caretHeight_}, std::max(caretWidth_, 1),
                      color);
  }
  if (!GetItems().empty()) {
    const RECT inner = InnerRect();
    RECT clipRect = {};
    if (IntersectRect(&clipRect, &dirty, &inner)) {
      AutoClip clip(context, clipRect);
      for (Control* child : std::vector<Control*>(GetItems())) {
        if (!child->IsVisible()) continue;
        RECT childPos = child->GetPos();
        RECT scratch = {};
        const RECT& area = child->IsFloat() ? pos : inner;
        if (!IntersectRect(&scratch, &dirty, &childPos) || !IntersectRect(&scratch, &area, &childPos)) {
          continue;
        }
        child->AlphaPaint(context, dirty);
      }
    } else {
      for (Control* child : std::vector<Control*>(GetItems())) {
        if (!child->IsVisible() || !child->IsFloat()) continue;
        RECT childPos = child->GetPos();
        RECT scratch = {};
        if (!IntersectRect(&scratch, &dirty, &childPos) || !IntersectRect(&scratch, &pos, &childPos)) {
          continue;
        }
        child->AlphaPaint(context, dirty);
      }
    }
  }
  for (ScrollBar* bar : {GetVerticalScrollBar(), GetHorizontalScrollBar()}) {
    if (!bar || !bar->IsVisible()) continue;
    RECT barPos = bar->GetPos();
    RECT scratch = {};
    if (IntersectRect(&scratch, &dirty, &barPos)) bar->AlphaPaint(context, dirty);
  }
}

void RichEdit::PaintStatusImage(IRenderContext* context) {
  if (readOnly_) return;
  if (IsFocused()) {
    DrawImage(context, focusedImage_);
  } else {
    Control::PaintStatusImage(context);
  }
  if (!host_ || GetTextLength() != 0 || promptColor_.empty()) return;
  const std::wstring prompt = GetPromptText();
  if (prompt.empty()) return;
  context->DrawText(host_->GetAlignedClientRect(), prompt, ResolveColor(promptColor_), fontId_,
                    DT_NOCLIP, 255, false, false);
}

void RichEdit::ClearImageCache() {
  ScrollableBox::ClearImageCache();
  focusedImage_.ReleaseImage();
}

}  // namespace ui
