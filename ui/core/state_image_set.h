// A control's images per state, and the map of such sets by image kind.
#pragma once

#include <map>
#include <string>

#include "ui/base/skin_image.h"
#include "ui/core/control.h"

namespace ui {

class IRenderContext;

// Image kinds of a StateImageMap beyond the background (kStateImageBk) and fore
// (kStateImageFore) kinds: the selected images of check boxes and options.
inline constexpr int kStateImageSelectedBk = 2;
inline constexpr int kStateImageSelectedFore = 3;

class StateImageSet {
 public:
  // The control that draws the images; not owned.
  void SetOwner(Control* owner) { owner_ = owner; }
  Control* GetOwner() const { return owner_; }

  // Any of the normal, hot, pushed and disabled images has a text.
  bool HasImage();
  // The first of normal, hot, pushed, disabled with a file; null when none has one.
  SkinImage* GetFirstSetImage();
  void ReleaseImages();
  // Draws the image of the state through the owner, fading between the normal and
  // hot images while the owner's hot fade plays; states without an image fall back
  // (pushed to hot, hot and disabled to normal). The result is that of the last draw.
  bool Paint(IRenderContext* context, ControlState state, const std::wstring& modify = L"");
  // The slot of the state, created when absent.
  SkinImage& GetImage(ControlState state) { return images_[state]; }

 private:
  Control* owner_ = nullptr;
  std::map<ControlState, SkinImage> images_;
};

class StateImageMap {
 public:
  // The control that owns the sets. A set is made when first asked for: most
  // controls use one kind or none, and a list of thousands of items would
  // otherwise carry four empty sets in each.
  void Init(Control* owner) { owner_ = owner; }
  // The set of a kind, created when absent.
  StateImageSet& GetSet(int kind) {
    auto [at, added] = sets_.try_emplace(kind);
    if (added) at->second.SetOwner(owner_);
    return at->second;
  }
  void SetImage(int kind, ControlState state, const std::wstring& text);
  void ReleaseAllImages();

 private:
  Control* owner_ = nullptr;
  std::map<int, StateImageSet> sets_;
};

}  // namespace ui
