// One image slot of a control: its attributes, the decoded image once loaded, and
// the counters of its frame animation.
#pragma once

#include <memory>
#include <string>

#include "ui/base/image_draw_attributes.h"
#include "ui/base/image_info.h"

namespace ui {

struct SkinImage {
  // Drops the image and resets the attributes, then takes the text: a bare file
  // name sets only the file; a text of pairs sets what its pairs say.
  void SetImageString(const std::wstring& text);
  // Forgets the decoded image and the animation counters.
  void ReleaseImage();
  // Milliseconds to show the current frame: 0 without delays; delays under 30 ms play
  // at 100 ms, others at no less than 50 ms.
  int GetFrameDelay() const;

  ImageDrawAttributes attributes;
  std::shared_ptr<ImageInfo> image;
  int currentFrame = 0;
  bool playing = false;
  int loopsPlayed = 0;
};

}  // namespace ui
