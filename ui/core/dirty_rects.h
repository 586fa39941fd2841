// The dirty parts of a window, kept apart: a tag item and the card area beside it
// are two small repaints, not one of everything between them. Pieces that
// overlap, or that make a rectangle together, are merged into one, so the pieces
// never overlap and no pixel is painted twice.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

namespace ui {

class DirtyRects {
 public:
  // More pieces than this become their bounding box: many small repaints cost
  // more in walking the tree than they save.
  static constexpr size_t kMaxPieces = 4;

  void Add(const RECT& rect);
  void Clear() { count_ = 0; }
  bool Empty() const { return count_ == 0; }
  size_t Count() const { return count_; }
  const RECT* begin() const { return pieces_.data(); }
  const RECT* end() const { return pieces_.data() + count_; }

 private:
  void RemoveAt(size_t index);

  std::array<RECT, kMaxPieces + 1> pieces_ = {};
  size_t count_ = 0;
};

}  // namespace ui
