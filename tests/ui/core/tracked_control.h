// A control that counts live instances, so ownership mistakes in a test show up
// as leaks (count too high) or double deletes (count too low).
#pragma once

#include "ui/core/control.h"

namespace core_test {

class Tracked : public ui::Control {
 public:
  explicit Tracked(int* live) : live_(live) { ++*live_; }
  ~Tracked() override { --*live_; }

 private:
  int* live_;
};

}  // namespace core_test
