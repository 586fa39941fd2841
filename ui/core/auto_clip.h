// A scoped clip on a render context: clips on construction, restores on destruction.
#pragma once

#include <windows.h>

#include "ui/base/weak_callback.h"

namespace ui {

class IRenderContext;

class AutoClip : public nbase::SupportWeakCallback {
 public:
  // Clips `context` to `rect` when `clip` is set; otherwise does nothing.
  AutoClip(IRenderContext* context, const RECT& rect, bool clip = true);
  // Clips to a rounded rectangle with corner ellipse `round`.
  AutoClip(IRenderContext* context, const RECT& rect, SIZE round, bool clip = true);
  ~AutoClip() override;
  AutoClip(const AutoClip&) = delete;
  AutoClip& operator=(const AutoClip&) = delete;

 private:
  IRenderContext* context_;
  RECT rect_;
  bool clipped_;
};

}  // namespace ui
