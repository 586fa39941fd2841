// A box whose content may be larger than itself. Its children keep their
// unscrolled positions; the scroll position shifts painting and hit testing
// instead. Scrolls by bars, keys, wheel and touch, line steps animated.
#pragma once

#include <memory>

#include "ui/core/box.h"

namespace ui {

class AnimationPlayer;
class ScrollBar;

class ScrollableBox : public Box {
 public:
  static constexpr int kDefaultScrollUnit = 30;
  // A scroll unit of 0 scrolls by this many pixels.
  static constexpr int kZeroUnitStep = 20;

  explicit ScrollableBox(Layout* layout);
  ~ScrollableBox() override;

  // Overrides.
  void SetWindowAndParent(Window* window, Box* parent, bool init = true) override;
  void SetPos(RECT rc) override;
  std::wstring GetType() const override;
  void SetMouseEnabled(bool enabled) override;
  Control* FindControl(const FindControlCallback& test, void* data, UINT flags,
                       POINT offset = {0, 0}) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintChildren(IRenderContext* context, const RECT& dirty) override;
  void ClearImageCache() override;
  void HandleEvent(EventArgs& event) override;
  bool MouseEnter(EventArgs& event) override;
  bool MouseLeave(EventArgs& event) override;

  // Virtual operations added by the scrollable box, in slot order.
  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE pos);
  virtual void SetScrollPosY(int y);
  virtual void SetScrollPosX(int x);
  virtual void LineUp(int delta = -1, bool animated = true);
  virtual void LineDown(int delta = -1, bool animated = true);
  virtual void LineLeft(int delta = -1);
  virtual void LineRight(int delta = -1);
  virtual void PageUp();
  virtual void PageDown();
  virtual void HomeUp();
  virtual void EndDown(bool arrange = true, bool animated = true);
  virtual void PageLeft();
  virtual void PageRight();
  virtual void HomeLeft();
  virtual void EndRight();
  virtual void TouchUp(int delta);
  virtual void TouchDown(int delta);
  virtual void EnableScrollBar(bool vertical = true, bool horizontal = false);
  virtual ScrollBar* GetVerticalScrollBar() const;
  virtual ScrollBar* GetHorizontalScrollBar() const;
  virtual void ProcessVScrollBar(RECT rc, int requiredHeight);
  virtual void ProcessHScrollBar(RECT rc, int requiredWidth);
  virtual SIZE CalcRequiredSize(const RECT& rc);
  virtual void LoadImageCache(bool downward);

  int GetVerticalScrollUnit() const { return vScrollUnit_; }
  void SetVerticalScrollUnit(int unit) { vScrollUnit_ = unit; }
  int GetHorizontalScrollUnit() const { return hScrollUnit_; }
  void SetHorizontalScrollUnit(int unit) { hScrollUnit_ = unit; }
  bool IsHoldEnd() const { return holdEnd_; }
  void SetHoldEnd(bool hold) { holdEnd_ = hold; }
  bool IsScrollBarFloat() const { return scrollBarFloat_; }
  void SetScrollBarFloat(bool floating) { scrollBarFloat_ = floating; }
  bool IsVScrollBarAtLeft() const { return vScrollBarLeft_; }
  void SetVScrollBarAtLeft(bool left) { vScrollBarLeft_ = left; }
  RECT GetScrollBarPadding() const { return scrollBarPadding_; }
  void SetScrollBarPadding(const RECT& padding) { scrollBarPadding_ = padding; }
  // The page a page step moves: the box less its padding (and less a horizontal
  // bar that has a range, for the height).
  int GetPageHeight() const;
  int GetPageWidth() const;
  // The players of line scrolling and of the jump to the end (tests watch them).
  AnimationPlayer* GetScrollAnimation() const { return scrollAnimation_.get(); }
  AnimationPlayer* GetEndAnimation() const { return endAnimation_.get(); }

 protected:
  // What the children are arranged in within `rc` (the box less its padding):
  // less a bar in use that does not float over the content.
  RECT ItemArea(const RECT& rc) const;

 private:
  // A bar with a range; null for a missing bar or one with nothing to scroll.
  ScrollBar* ActiveVerticalBar() const;
  ScrollBar* ActiveHorizontalBar() const;
  // The step of a line scroll for a delta (-1 for one unit).
  int LineStep(int delta, int unit) const;
  void AnimateVertical(int target);
  // Lays the content out for the current position (SetPos without hold end).
  void LayoutContent(const RECT& rc);
  void RelayoutAfterRangeChange();
  // Gives a bar the overflow of the content as its range (laying the box out again
  // when that changes what fits) and its place, or hides it when all fits.
  void UpdateScrollBar(ScrollBar* bar, int required, int visible, const RECT& place);
  bool HandleVerticalScrollEvent(EventArgs& event);
  bool HandleHorizontalScrollEvent(EventArgs& event);

  std::unique_ptr<ScrollBar> vScrollBar_;
  std::unique_ptr<ScrollBar> hScrollBar_;
  int vScrollUnit_ = kDefaultScrollUnit;
  int hScrollUnit_ = kDefaultScrollUnit;
  bool relayoutPass_ = false;
  bool holdEnd_ = false;
  bool scrollBarFloat_ = true;
  bool vScrollBarLeft_ = false;
  RECT scrollBarPadding_ = {0, 0, 0, 0};
  POINT lastTouchPoint_ = {0, 0};
  std::unique_ptr<AnimationPlayer> scrollAnimation_;
  std::unique_ptr<AnimationPlayer> endAnimation_;
};

}  // namespace ui
