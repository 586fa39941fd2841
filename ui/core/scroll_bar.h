// A scroll bar as its scrolling box uses it: range and position, direction,
// auto-hide and thumb state. Created, owned and deleted by the scrolling box.
#pragma once

#include <cstdint>
#include <string>

#include "ui/core/control.h"

namespace ui {

class ScrollableBox;

class ScrollBar : public Control {
 public:
  ScrollBar();
  ~ScrollBar() override;

  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

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
  // Turning a vertical bar horizontal makes a height-less bar 16 high and re-arranges
  // its owner.
  void SetHorizontal(bool horizontal);

  bool IsAutoHideScroll() const { return autoHide_; }
  void SetAutoHideScroll(bool autoHide) { autoHide_ = autoHide; }
  bool IsShowButton1() const { return showButton1_; }
  void SetShowButton1(bool show) { showButton1_ = show; }
  bool IsShowButton2() const { return showButton2_; }
  void SetShowButton2(bool show) { showButton2_ = show; }
  int GetLineSize() const { return lineSize_; }
  void SetLineSize(int size) { lineSize_ = size; }
  int GetThumbMinLength() const { return thumbMinLength_; }
  void SetThumbMinLength(int length) { thumbMinLength_ = length; }

  // Normal 0, hot 1, pushed 2.
  ControlState GetThumbState() const { return thumbState_; }
  void SetThumbState(ControlState state) { thumbState_ = state; }

 private:
  ScrollableBox* owner_ = nullptr;
  int64_t range_ = 100;
  int64_t pos_ = 0;
  int lineSize_ = 8;
  int thumbMinLength_ = 30;
  bool horizontal_ = false;
  bool showButton1_ = true;
  bool showButton2_ = true;
  bool autoHide_ = true;
  ControlState thumbState_ = kControlStateNormal;
};

}  // namespace ui
