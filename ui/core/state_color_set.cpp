#include "ui/core/state_color_set.h"

#include "ui/base/ui_globals.h"
#include "ui/core/control_animations.h"
#include "ui/render/render_context.h"

namespace ui {

bool StateColorSet::HasColor() {
  for (ControlState state :
       {kControlStateNormal, kControlStateHot, kControlStatePushed, kControlStateDisabled}) {
    if (!colors_[state].empty()) return true;
  }
  return false;
}

DWORD StateColorSet::Resolve(const std::wstring& name) const {
  return owner_ ? owner_->GetColorValue(name) : UiGlobals::GetColor(name);
}

void StateColorSet::Paint(IRenderContext* context, const RECT& rect, ControlState state) {
  if (!context) return;
  const bool fading = owner_ && owner_->GetAnimations().GetPlayer(kAnimationHot) != nullptr;
  if (fading && (state == kControlStateNormal || state == kControlStateHot) && HasHotColor()) {
    const std::wstring& normal = colors_[kControlStateNormal];
    if (!normal.empty()) context->DrawColor(rect, Resolve(normal), 255);
    const int hot_alpha = owner_->GetHotAlpha();
    if (hot_alpha > 0)
      context->DrawColor(rect, Resolve(colors_[kControlStateHot]), static_cast<BYTE>(hot_alpha));
    return;
  }
  if (state == kControlStatePushed && colors_[kControlStatePushed].empty()) state = kControlStateHot;
  if (state == kControlStateHot && colors_[kControlStateHot].empty()) state = kControlStateNormal;
  if (state == kControlStateDisabled && colors_[kControlStateDisabled].empty())
    state = kControlStateNormal;
  const std::wstring& name = colors_[state];
  if (!name.empty()) context->DrawColor(rect, Resolve(name), 255);
}

}  // namespace ui
