// The popup window of one menu level: layered, a tool window, top-most, and
// never activated, so the owner keeps the foreground and the keyboard.
#pragma once

#include <windows.h>

#include <string>

#include "ui/core/window.h"

namespace ui {

class CMenuUI;

class CMenuWnd : public Window {
 public:
  explicit CMenuWnd(CMenuUI* level);

  std::wstring GetWindowClassName() const override { return L"MenuWnd"; }
  UINT GetClassStyle() const override { return 0; }
  // The window deletes itself once destroyed.
  void OnFinalMessage(HWND hwnd) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  virtual LRESULT OnCreate(WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam, bool& handled);

  CMenuUI* GetLevel() const { return level_; }
  // The level is going away first: forget it.
  void DetachLevel();

 private:
  CMenuUI* level_;
};

}  // namespace ui
