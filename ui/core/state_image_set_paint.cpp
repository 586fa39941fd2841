// Painting of a control's state images through the control's image drawing.
#include "ui/core/control_animations.h"
#include "ui/core/state_image_set.h"

namespace ui {

namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

bool StateImageSet::Paint(IRenderContext* context, ControlState state, const std::wstring& modify) {
  if (!owner_) return false;
  const bool fading = owner_->GetAnimations().GetPlayer(kAnimationHot) != nullptr;
  if (fading && (state == kControlStateNormal || state == kControlStateHot)) {
    SkinImage& normal = images_[kControlStateNormal];
    SkinImage& hot = images_[kControlStateHot];
    const int t = owner_->GetHotAlpha();
    if (!normal.attributes.file.empty() && normal.attributes.file == hot.attributes.file &&
        SameRect(normal.attributes.source, hot.attributes.source)) {
      // One image in both states: draw it once, its fade moving between the two.
      const int fade = static_cast<int>((1 - t / 255.0) * normal.attributes.fade +
                                        hot.attributes.fade * t / 255.0);
      return owner_->DrawImage(context, hot, modify, fade);
    }
    owner_->DrawImage(context, normal, modify, -1);
    return owner_->DrawImage(context, hot, modify, static_cast<int>(hot.attributes.fade * t / 255.0));
  }
  if (state == kControlStatePushed && images_[kControlStatePushed].attributes.wholeText.empty()) {
    state = kControlStateHot;
    images_[kControlStateHot].attributes.fade = 255;
  }
  if (state == kControlStateHot && images_[kControlStateHot].attributes.wholeText.empty())
    state = kControlStateNormal;
  if (state == kControlStateDisabled && images_[kControlStateDisabled].attributes.wholeText.empty())
    state = kControlStateNormal;
  return owner_->DrawImage(context, images_[state], modify, -1);
}

}  // namespace ui
