// A selectable list item: the only kind of child a box lets take the selection.
#pragma once

#include "ui/core/box.h"

namespace ui {

class ListContainerElement : public Box {
 public:
  ListContainerElement();
  std::wstring GetType() const override;

  // Position in its list, -1 while it is in none.
  int GetIndex() const { return index_; }
  void SetIndex(int index) { index_ = index; }

 private:
  int index_ = -1;
};

}  // namespace ui
