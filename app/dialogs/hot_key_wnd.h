// The hot-key overview: a read-only window listing every link that has a chord,
// in the hot-key table's order; a chord the system refused is shown in red. Run
// modally and deleted by its opener.
#pragma once

#include <string>

#include "ui/core/window_impl_base.h"

namespace ui {
class ListBox;
}

class CHotKeyWnd : public ui::WindowImplBase {
 public:
  CHotKeyWnd() = default;

  std::wstring GetWindowClassName() const override { return L"HotKeyWnd"; }
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"hotkey.xml"; }
  void InitWindow() override;
  // The opener deletes the window.
  void OnFinalMessage(HWND hwnd) override;

  ui::ListBox* GetHotKeyBox() const { return hotKeyBox_; }

 private:
  ui::ListBox* hotKeyBox_ = nullptr;
};
