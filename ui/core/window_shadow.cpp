#include "ui/core/window_shadow.h"

#include "ui/base/dpi_scaler.h"
#include "ui/core/control.h"
#include "ui/core/layout_access.h"
#include "ui/core/shadow_box.h"

namespace ui {

namespace {

constexpr wchar_t kDefaultShadowImage[] = L"file='public/bk/bk_shadow.png' corner='30,30,30,30'";
constexpr int kDefaultShadowPadding = 14;
constexpr int kContentCornerRound = 3;

// Grows a fixed size by the padding; stretch (-1), auto (-2) and 0 stay as they are.
int WrappedSize(int size, int before, int after) { return size > 0 ? size + before + after : size; }

}  // namespace

WindowShadow::WindowShadow() : image_(kDefaultShadowImage) {
  padding_ = {kDefaultShadowPadding, kDefaultShadowPadding, kDefaultShadowPadding,
              kDefaultShadowPadding};
  DpiScaler::Instance().ScaleRect(padding_);
  configuredPadding_ = padding_;
}

void WindowShadow::SetShadowImage(const std::wstring& image) {
  image_ = image;
  defaultImage_ = false;
}

void WindowShadow::SetShadowCorner(const RECT& padding, bool dpiScale) {
  RECT scaled = padding;
  if (dpiScale) DpiScaler::Instance().ScaleRect(scaled);
  padding_ = scaled;
  configuredPadding_ = scaled;
}

Control* WindowShadow::WrapRoot(Control* root) {
  if (!attached_) return root;
  shadowBox_ = new ShadowBox();
  layout_access::SetPadding(shadowBox_->GetLayout(), padding_, false);
  shadowBox_->SetFixedWidth(WrappedSize(root->GetFixedWidth(), padding_.left, padding_.right),
                            true, false);
  shadowBox_->SetFixedHeight(WrappedSize(root->GetFixedHeight(), padding_.top, padding_.bottom),
                             false);
  if (defaultImage_) root->SetBorderRound({kContentCornerRound, kContentCornerRound});
  shadowBox_->Add(root);
  shadowBox_->SetBkImage(image_);
  return shadowBox_;
}

void WindowShadow::MaximizedOrRestored(bool maximized) {
  if (!attached_ || !shadowBox_) return;
  padding_ = maximized ? RECT{0, 0, 0, 0} : configuredPadding_;
  layout_access::SetPadding(shadowBox_->GetLayout(), padding_, false);
  if (!defaultImage_) return;
  if (Control* content = shadowBox_->GetItemAt(0)) {
    const int round = maximized ? 0 : kContentCornerRound;
    content->SetBorderRound({round, round});
  }
}

}  // namespace ui
