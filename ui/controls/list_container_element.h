// A list item: an option box that can hold any children and that its list box
// selects. A click, Space, a context-menu request or Return on it become events
// on the item and selection requests to the owning list.
#pragma once

#include <string>

#include "ui/controls/option.h"
#include "ui/core/box.h"
#include "ui/core/list_interfaces.h"

namespace ui {

namespace list_item_detail {

// The item has two selection operations with one signature: the option's,
// which a click ends in, and the list's way to set the flag. These two faces
// give each its own name in the item.
class OptionFace : public OptionTemplate<Box> {
 public:
  void Selected(bool select, bool trigger) final { OnOptionSelected(select, trigger); }

 protected:
  virtual void OnOptionSelected(bool select, bool trigger) = 0;
};

class ItemFace : public IListItem {
 public:
  bool Selected(bool select, bool trigger) final { return SetItemSelected(select, trigger); }
  virtual bool SetItemSelected(bool select, bool trigger) = 0;
};

}  // namespace list_item_detail

class ListContainerElement : public list_item_detail::OptionFace, public list_item_detail::ItemFace {
 public:
  ListContainerElement();

  std::wstring GetType() const override;
  // Hiding a selected item clears the list's whole selection.
  void SetFadeVisible(bool visible) override;
  void HandleEvent(EventArgs& event) override;

  int GetItemId() const override { return itemId_; }
  void SetItemId(int id) override { itemId_ = id; }
  int GetIndex() const override { return index_; }
  void SetIndex(int index) override { index_ = index; }
  IListOwner* GetOwner() const override { return owner_; }
  void SetOwner(IListOwner* owner) override { owner_ = owner; }
  bool IsSelected() const override { return selected_; }
  // Sets the flag (hot while selected); false for a disabled item.
  bool SetItemSelected(bool select, bool trigger) override;

 protected:
  // A click's selection: asks the owner to select by click; nothing else.
  void OnOptionSelected(bool select, bool trigger) override;

 private:
  int itemId_ = 0;
  int index_ = -1;
  IListOwner* owner_ = nullptr;
};

}  // namespace ui
