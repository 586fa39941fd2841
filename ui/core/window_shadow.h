// The drop shadow a framework window draws itself: while attached, the skin's
// root is wrapped in a ShadowBox whose background is the shadow picture and
// whose padding leaves room for it around the real content.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class Control;
class ShadowBox;

class WindowShadow {
 public:
  WindowShadow();

  bool IsAttached() const { return attached_; }
  void SetAttached(bool attached) { attached_ = attached; }
  bool HasDefaultImage() const { return defaultImage_; }
  const std::wstring& GetShadowImage() const { return image_; }
  // The skin's "shadowimage": replaces the built-in picture.
  void SetShadowImage(const std::wstring& image);
  // The skin's "shadowcorner": both the current and the configured padding.
  void SetShadowCorner(const RECT& padding, bool dpiScale = true);
  // Current room for the shadow around the content (0 while maximized).
  RECT GetPadding() const { return padding_; }
  ShadowBox* GetShadowBox() const { return shadowBox_; }

  // The control to attach as the window's root: `root` itself when the shadow is
  // not attached, else a new ShadowBox (owned by the tree) holding it.
  Control* WrapRoot(Control* root);
  // Drops the padding while maximized and brings the configured one back.
  void MaximizedOrRestored(bool maximized);
  // The tree that held the shadow box is gone.
  void ForgetShadowBox() { shadowBox_ = nullptr; }

 private:
  bool attached_ = true;
  bool defaultImage_ = true;
  std::wstring image_;
  RECT padding_;
  RECT configuredPadding_;
  ShadowBox* shadowBox_ = nullptr;
};

}  // namespace ui
