// Accessibility provider of a control: a reference count and the control it
// describes; created on first request and owned by the control.
#pragma once

namespace ui {

class Control;

class UIAControlProvider {
 public:
  explicit UIAControlProvider(Control* control) : control_(control) {}

  Control* GetControl() const { return control_; }
  long AddRef() { return ++refCount_; }
  long Release() { return refCount_ > 0 ? --refCount_ : 0; }
  long RefCount() const { return refCount_; }

 private:
  long refCount_ = 1;
  Control* control_;
};

}  // namespace ui
