// The container control: owns an ordered list of children and the layout that
// places them; finds, paints and forwards subtree-wide state to its children.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/core/control.h"

namespace ui {

class Layout;

class Box : public Control {
 public:
  // A box with a base layout, which places every child freely.
  Box();
  // Takes ownership of the layout (which may be null for a box that places nothing).
  explicit Box(Layout* layout);
  ~Box() override;

  // PlaceHolder and Control overrides.
  void SetWindowAndParent(Window* window, Box* parent, bool init = true) override;
  SIZE EstimateSize(SIZE available) override;
  void SetPos(RECT rc) override;
  std::wstring GetType() const override;
  void SetInternVisible(bool visible) override;
  void SetVisible(bool visible) override;
  void SetEnabled(bool enabled) override;
  bool IsTabStop() const override;
  Control* FindControl(const FindControlCallback& test, void* data, UINT flags,
                       POINT offset = {0, 0}) override;
  UIAControlProvider* GetAccessibilityProvider() override;
  void HandleEventTemplate(EventArgs& event) override;
  void SetReceivePointer(bool receive) override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void PaintChildren(IRenderContext* context, const RECT& dirty) override;
  void ReloadBkImage() override;
  void ReleaseBkImage() override;
  void ClearImageCache() override;

  // Virtual operations added by the box, in slot order; ScrollableBox continues.
  // Index of the nearest visible, enabled list item from the index on (forward),
  // or from it downwards with a forward retry from 0; -1 when none.
  virtual int FindSelectable(int index, bool forward = true) const;
  virtual Control* GetItemAt(size_t index) const;
  virtual int GetItemIndex(Control* control) const;
  virtual bool SetItemIndex(Control* control, size_t index);
  virtual int GetCount() const;
  // Takes ownership on success. Refuses null, a child already in this box, the
  // box itself and its own ancestors.
  virtual bool Add(Control* control);
  virtual bool AddAt(Control* control, size_t index);
  virtual bool Remove(Control* control);
  virtual bool RemoveAt(size_t index);
  virtual void RemoveAll();
  virtual bool IsAutoDestroyChild() const;
  virtual void SetAutoDestroyChild(bool autoDestroy);
  virtual bool IsDelayedDestroy() const;
  virtual void SetDelayedDestroy(bool delayed);
  virtual bool IsMouseChildEnabled() const;
  virtual void SetMouseChildEnabled(bool enabled);
  virtual Layout* GetLayout() const;
  // Deletes the old layout and takes the new one; nothing is re-arranged.
  virtual void ReplaceLayout(Layout* layout);
  virtual RECT GetPaddingPos() const;

  // While a batch is open, adding a child neither arranges nor invalidates the
  // box; closing the last open batch arranges it once. Filling a box with
  // hundreds of children then costs one arrangement instead of one per child
  // (each one reaches the window system). Nothing may paint the box meanwhile.
  // A box adding children while it is being placed asks for no arrangement: the
  // placing lays them out.
  class AddBatch {
   public:
    enum class AtEnd { kArrange, kDrop };
    explicit AddBatch(Box* box, AtEnd atEnd = AtEnd::kArrange);
    ~AddBatch();
    AddBatch(const AddBatch&) = delete;
    AddBatch& operator=(const AddBatch&) = delete;

   private:
    Box* box_;
    std::weak_ptr<nbase::WeakFlag> alive_;
    AtEnd atEnd_;
  };
  bool IsAddBatchOpen() const { return openAddBatches_ > 0; }

  // The first control named so (ignoring case), children before the box itself.
  Control* FindChildByName(const std::wstring& name);

  const std::vector<Control*>& GetItems() const { return items_; }
  EventListenerMap& GetBubbledCodeListeners() { return bubbledCodeListeners_; }
  EventListenerMap& GetBubbledXmlListeners() { return bubbledXmlListeners_; }
  void AttachBubbledEvent(EventType type, const EventCallback& callback);
  void AttachXmlBubbledEvent(EventType type, const EventCallback& callback);

 protected:
  // Whether the control may join this box: not null, not already here, not the
  // box itself or one of its ancestors.
  bool CanAdopt(Control* control) const;
  // Deletes (or defers, or hands back) a child that has left the list.
  void DisposeChild(Control* control);

  std::vector<Control*> items_;
  Layout* layout_ = nullptr;
  bool autoDestroyChild_ = true;
  bool delayedDestroy_ = true;
  bool mouseChildEnabled_ = true;
  int openAddBatches_ = 0;
  bool arrangeDeferred_ = false;
  EventListenerMap bubbledCodeListeners_;
  EventListenerMap bubbledXmlListeners_;
};

}  // namespace ui
