// A control's colour names per state, painted as fills of the control.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "ui/core/control.h"

namespace ui {

class IRenderContext;

class StateColorSet {
 public:
  // The control whose window's colour table is asked first; not owned.
  void SetOwner(Control* owner) { owner_ = owner; }

  // The colour name of a state, created empty when absent.
  std::wstring& GetColor(ControlState state) { return colors_[state]; }
  void SetColor(ControlState state, const std::wstring& name) { colors_[state] = name; }
  // The colour name of a state, empty when absent (nothing is created).
  std::wstring GetColorName(ControlState state) const {
    auto found = colors_.find(state);
    return found == colors_.end() ? std::wstring() : found->second;
  }
  bool HasHotColor() { return !colors_[kControlStateHot].empty(); }
  // Any of normal, hot, pushed and disabled has a colour name.
  bool HasColor();
  // Fills the rectangle with the state's colour; while the owner's hot fade plays,
  // the hot colour is laid over the normal one at the owner's hot alpha. States
  // without a colour fall back (pushed to hot, hot and disabled to normal).
  void Paint(IRenderContext* context, const RECT& rect, ControlState state);

 private:
  DWORD Resolve(const std::wstring& name) const;

  Control* owner_ = nullptr;
  std::map<ControlState, std::wstring> colors_;
};

}  // namespace ui
