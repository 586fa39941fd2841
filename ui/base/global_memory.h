// Ownership of movable global memory blocks (skin archive entries are handed
// out in them) and a scoped lock over one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

namespace ui {

struct GlobalFreeDeleter {
  void operator()(void* block) const { GlobalFree(static_cast<HGLOBAL>(block)); }
};
// Frees the block with GlobalFree when it goes out of scope.
using UniqueGlobal = std::unique_ptr<void, GlobalFreeDeleter>;

// Locks a block for the life of the object; data() is null when locking failed.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block)
      : block_(block), data_(block ? GlobalLock(block) : nullptr), size_(data_ ? GlobalSize(block) : 0) {}
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  void* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  HGLOBAL block_;
  void* data_;
  size_t size_;
};

}  // namespace ui
