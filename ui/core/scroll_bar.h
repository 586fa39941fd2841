// A scroll bar: background, two arrow buttons and a draggable thumb with a rail
// image on it, horizontal or vertical. The bars of a scrollable box scroll it
// through its scroll operations and pass on every event they do not consume;
// a bar without an owner ("ScrollBar" in a skin) only moves its own position.
// Arrow buttons and the track repeat while held (50 ms ticks, from the sixth).
#pragma once

#include <cstdint>
#include <string>

#include "ui/base/weak_callback.h"
#include "ui/core/control.h"
#include "ui/core/state_image_set.h"

namespace ui {

class ScrollableBox;

class ScrollBar : public Control {
 public:
  // Milliseconds between two repeat ticks while a part is held.
  static constexpr uint32_t kRepeatMilliseconds = 50;
  // Ticks an arrow button or the track waits before repeating.
  static constexpr int kRepeatDelayTicks = 5;

  ScrollBar();
  ~ScrollBar() override;

  void SetPos(RECT rc) override;
  std::wstring GetType() const override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  void SetFocus() override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void Paint(IRenderContext* context, const RECT& dirty) override;
  void ClearImageCache() override;
  void HandleEvent(EventArgs& event) override;
  bool MouseEnter(EventArgs& event) override;
  bool MouseLeave(EventArgs& event) override;
  bool ButtonUp(EventArgs& event) override;

  // The box the bar belongs to (not owned).
  ScrollableBox* GetOwner() const { return owner_; }
  void SetOwner(ScrollableBox* owner) { owner_ = owner; }

  // A negative range becomes 0, which hides the bar; the position is lowered
  // into the range. No event is sent.
  void SetScrollRange(int64_t range);
  int64_t GetScrollRange() const { return range_; }
  // Clamped to 0 .. range. No event is sent.
  void SetScrollPos(int64_t pos);
  int64_t GetScrollPos() const { return pos_; }

  bool IsHorizontal() const { return horizontal_; }
  // Swaps a size-less bar's thickness to the new direction and re-arranges.
  void SetHorizontal(bool horizontal);

  bool IsAutoHideScroll() const { return autoHide_; }
  void SetAutoHideScroll(bool autoHide) { autoHide_ = autoHide; }
  bool IsShowButton1() const { return showButton1_; }
  void SetShowButton1(bool show);
  bool IsShowButton2() const { return showButton2_; }
  void SetShowButton2(bool show);
  int GetLineSize() const { return lineSize_; }
  void SetLineSize(int size) { lineSize_ = size; }
  int GetThumbMinLength() const { return thumbMinLength_; }
  void SetThumbMinLength(int length) { thumbMinLength_ = length; }

  // Part rectangles in window client coordinates, laid out by SetPos.
  RECT GetButton1Rect() const { return button1_; }
  RECT GetButton2Rect() const { return button2_; }
  RECT GetThumbRect() const { return thumb_; }
  ControlState GetButton1State() const { return button1State_; }
  ControlState GetButton2State() const { return button2State_; }
  ControlState GetThumbState() const { return thumbState_; }
  void SetThumbState(ControlState state) { thumbState_ = state; }

  // One tick of the held part (normally run by the repeat timer).
  void OnRepeatTimer();

 private:
  enum class Step { kLineBack, kLineForward, kPageBack, kPageForward };
  void Scroll(Step step);
  void LayoutParts();
  void PassToOwner(EventArgs& event);
  void OnPress(EventArgs& event);
  void OnRelease(EventArgs& event);
  void PaintPart(IRenderContext* context, StateImageSet& set, ControlState state, const RECT& part);
  std::wstring DestModifier(const RECT& part) const;
  int Thickness() const { return horizontal_ ? fixedHeight_ : fixedWidth_; }

  bool horizontal_ = false;
  bool showButton1_ = true;
  bool showButton2_ = true;
  bool autoHide_ = true;
  int64_t range_ = 100;
  int64_t pos_ = 0;
  int lineSize_ = 8;
  int thumbMinLength_ = 30;
  int dragStartPos_ = 0;
  int dragDelta_ = 0;
  int repeatTicks_ = 0;
  ScrollableBox* owner_ = nullptr;
  POINT dragStartPoint_ = {0, 0};
  RECT button1_ = {0, 0, 0, 0};
  RECT button2_ = {0, 0, 0, 0};
  RECT thumb_ = {0, 0, 0, 0};
  ControlState button1State_ = kControlStateNormal;
  ControlState button2State_ = kControlStateNormal;
  ControlState thumbState_ = kControlStateNormal;
  StateImageSet bkImages_;
  StateImageSet button1Images_;
  StateImageSet button2Images_;
  StateImageSet thumbImages_;
  StateImageSet railImages_;
  nbase::WeakCallbackFlag repeatFlag_;
};

}  // namespace ui
