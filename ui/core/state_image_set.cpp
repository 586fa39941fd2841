#include "ui/core/state_image_set.h"

namespace ui {

namespace {

constexpr ControlState kPaintedStates[] = {kControlStateNormal, kControlStateHot,
                                           kControlStatePushed, kControlStateDisabled};

}  // namespace

bool StateImageSet::HasImage() {
  for (ControlState state : kPaintedStates) {
    if (!images_[state].attributes.wholeText.empty()) return true;
  }
  return false;
}

SkinImage* StateImageSet::GetFirstSetImage() {
  for (ControlState state : kPaintedStates) {
    SkinImage& image = images_[state];
    if (!image.attributes.file.empty()) return &image;
  }
  return nullptr;
}

void StateImageSet::ReleaseImages() {
  for (auto& entry : images_) entry.second.ReleaseImage();
}

void StateImageMap::SetImage(int kind, ControlState state, const std::wstring& text) {
  GetSet(kind).GetImage(state).SetImageString(text);
}

void StateImageMap::ReleaseAllImages() {
  for (auto& [kind, set] : sets_) set.ReleaseImages();
}

}  // namespace ui
