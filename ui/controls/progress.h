// A progress bar: a label that fills the part of its area proportional to a
// value between a minimum and a maximum, with a colour and/or an image, from
// either end; or, in marquee mode, runs a band across itself on a timer.
#pragma once

#include <string>

#include "ui/base/skin_image.h"
#include "ui/base/weak_callback.h"
#include "ui/controls/label.h"

namespace ui {

class Progress : public LabelTemplate<Control> {
 public:
  Progress();
  ~Progress() override;

  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void ClearImageCache() override;
  void PaintStatusImage(IRenderContext* context) override;

  // The filled part, relative to the control's top-left corner.
  virtual RECT GetProgressPos();
  // One step of the marquee band.
  virtual void PlayMarquee();

  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  int GetMinValue() const { return min_; }
  void SetMinValue(int min);
  int GetMaxValue() const { return max_; }
  void SetMaxValue(int max);
  double GetValue() const { return value_; }
  // Stored as given: the range is enforced when the bar is painted.
  void SetValue(double value);
  bool IsMarquee() const { return marquee_; }
  void SetMarquee(bool marquee);
  int GetMarqueePosition() const { return marqueePosition_; }
  bool IsReverse() const { return reverse_; }
  const std::wstring& GetProgressColor() const { return progressColor_; }
  SkinImage& GetProgressImage() { return progressImage_; }

 protected:
  // The maximum used for the geometry: never at or below the minimum, so the
  // divisions stay defined before the first paint repairs the stored values.
  int EffectiveMax() const { return max_ > min_ ? max_ : min_ + 1; }
  void PaintMarquee(IRenderContext* context);

  bool horizontal_ = true;
  bool stretchForeImage_ = true;
  int max_ = 100;
  int min_ = 0;
  double value_ = 0;
  SkinImage progressImage_;
  std::wstring progressColor_;
  std::wstring imageModify_;
  bool marquee_ = false;
  int marqueeWidth_ = 10;
  int marqueeStep_ = 4;
  int marqueeInterval_ = 50;
  int marqueePosition_ = 0;
  bool reverse_ = false;
  nbase::WeakCallbackFlag marqueeFlag_;
};

}  // namespace ui
