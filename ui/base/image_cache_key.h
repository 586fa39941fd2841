// Order of the image cache's keys: shorter keys first; keys of equal length compared
// from their last character backward, so paths with a long common beginning are
// told apart in a few steps.
#pragma once

#include <string>

namespace ui {

struct ImageCacheKeyLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    if (a.size() != b.size()) return a.size() < b.size();
    for (size_t i = a.size(); i-- > 0;) {
      const auto ca = static_cast<unsigned short>(a[i]);
      const auto cb = static_cast<unsigned short>(b[i]);
      if (ca != cb) return ca < cb;
    }
    return false;
  }
};

}  // namespace ui
