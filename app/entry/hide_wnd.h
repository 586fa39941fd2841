// The hidden owner of the main window. An owned window gets no taskbar button of
// its own, and top-most changes can be applied to the pair. It is created first,
// never shown, and destroyed by the program entry after the message loop.
#pragma once

#include <string>

#include "ui/core/window_impl_base.h"

class CHideWnd : public ui::WindowImplBase {
 public:
  CHideWnd() = default;

  std::wstring GetWindowClassName() const override { return L"PexoTopWnd"; }
  // Only the framework's final steps: the program entry owns and deletes the object.
  void OnFinalMessage(HWND hwnd) override;
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"topwnd.xml"; }

  // A root without a skin file: a hidden plain box on the "main_bk" colour. Not
  // used by the program; the skin's tree is the root.
  void CreateRootBox();

  // Creates the hidden native window as the program entry does; false when the
  // window could not be made (the object is then gone, see WindowImplBase::Create).
  static CHideWnd* CreateHidden();
  // Forgets the root, destroys the native window (so no message can reach a freed
  // object through the window procedure) and deletes the object.
  static void Destroy(CHideWnd* window);
};
