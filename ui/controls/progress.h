// A progress bar: a label with a value between a minimum and a maximum.
#pragma once

#include <string>

#include "ui/controls/label.h"

namespace ui {

class Progress : public LabelTemplate<Control> {
 public:
  Progress();

  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;

  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal);
  int GetMinValue() const { return min_; }
  void SetMinValue(int min);
  int GetMaxValue() const { return max_; }
  void SetMaxValue(int max);
  double GetValue() const { return value_; }
  // Stored within the minimum and the maximum.
  void SetValue(double value);

 protected:
  bool horizontal_ = true;
  int max_ = 100;
  int min_ = 0;
  double value_ = 0;
};

}  // namespace ui
