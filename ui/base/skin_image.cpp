#include "ui/base/skin_image.h"

#include <algorithm>

namespace ui {

void SkinImage::SetImageString(const std::wstring& text) {
  ReleaseImage();
  attributes.Reset();
  attributes.wholeText = text;
  attributes.file = text;
  attributes.Parse(text);
}

void SkinImage::ReleaseImage() {
  currentFrame = 0;
  playing = false;
  loopsPlayed = 0;
  image.reset();
}

int SkinImage::GetFrameDelay() const {
  if (!image) return 0;
  const auto& delays = image->GetFrameDelays();
  if (delays.empty() || currentFrame < 0 ||
      static_cast<size_t>(currentFrame) >= image->GetFrameCount() ||
      static_cast<size_t>(currentFrame) >= delays.size())
    return 0;
  const int delay = static_cast<int>(delays[currentFrame]) * 10;
  if (delay < 30) return 100;
  return std::max(delay, 50);
}

}  // namespace ui
