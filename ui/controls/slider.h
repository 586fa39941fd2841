// A slider: a progress bar with a thumb. Dragging the thumb, clicking on the
// track or turning the wheel changes the value and raises valuechange (53).
#pragma once

#include <string>

#include "ui/controls/progress.h"
#include "ui/core/state_image_set.h"

namespace ui {

class Slider : public Progress {
 public:
  Slider();
  ~Slider() override;

  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void ClearImageCache() override;
  void HandleEvent(EventArgs& event) override;
  void PaintBkColor(IRenderContext* context) override;
  void PaintStatusImage(IRenderContext* context) override;
  RECT GetProgressPos() override;

  // The thumb in window coordinates.
  RECT GetThumbRect() const;
  int GetChangeStep() const { return step_; }
  void SetChangeStep(int step) { step_ = step; }
  SIZE GetThumbSize() const { return thumbSize_; }
  RECT GetProgressBarPadding() const { return barPadding_; }
  // The thumb image of a state: normal 0, hot 1, pushed 2, disabled 4.
  SkinImage& GetThumbImage(ControlState state);

 private:
  // The value under a pointer position (window coordinates plus the scroll
  // offsets of the scrolled ancestors).
  double ValueAtPoint(POINT point) const;
  void RaiseValueChange();

  int step_ = 1;
  SIZE thumbSize_ = {10, 10};
  SkinImage thumbNormal_;
  SkinImage thumbHot_;
  SkinImage thumbPushed_;
  SkinImage thumbDisabled_;
  RECT barPadding_ = {0, 0, 0, 0};
  std::wstring thumbModify_;
};

}  // namespace ui
