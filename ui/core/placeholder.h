// Geometric base of every control: window and parent, name, sizes, position,
// floating alignment, visibility, and the deferred-layout marks.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/base/weak_callback.h"

namespace ui {

class Box;
class IRenderContext;
class Window;

// Size sentinels of fixed widths and heights.
inline constexpr int kSizeStretch = -1;
inline constexpr int kSizeAuto = -2;
inline constexpr int kDefaultMaxSize = 9999999;

class PlaceHolder : public virtual nbase::SupportWeakCallback {
 public:
  PlaceHolder();
  ~PlaceHolder() override;
  PlaceHolder(const PlaceHolder&) = delete;
  PlaceHolder& operator=(const PlaceHolder&) = delete;

  // Virtual operations, in slot order; Control continues the list.
  virtual Window* GetWindow() const;
  virtual void SetWindow(Window* window);
  // Stores both; with init and a parent, runs Init.
  virtual void SetWindowAndParent(Window* window, Box* parent, bool init = true);
  virtual void Init();
  virtual void DoInit();
  virtual bool IsVisible() const;
  virtual SIZE EstimateSize(SIZE available);
  virtual RECT GetPos(bool containerCoordinates = true) const;
  virtual void SetPos(RECT rc);
  // ArrangeAncestor for an auto-sized control, else ArrangeSelf.
  virtual void Arrange();
  virtual void ArrangeAncestor();
  virtual void Invalidate();
  virtual void ArrangeSelf();

  Box* GetParent() const { return parent_; }

  const std::wstring& GetName() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }

  int GetFixedWidth() const { return fixedWidth_; }
  int GetFixedHeight() const { return fixedHeight_; }
  int GetMinWidth() const { return minWidth_; }
  int GetMaxWidth() const { return maxWidth_; }
  int GetMinHeight() const { return minHeight_; }
  int GetMaxHeight() const { return maxHeight_; }
  int GetWidth() const { return rect_.right - rect_.left; }
  int GetHeight() const { return rect_.bottom - rect_.top; }

  // Ignored below -2 or when unchanged; positive widths are DPI-scaled when asked.
  // With arrange false only the estimate is marked stale.
  void SetFixedWidth(int width, bool arrange = true, bool scale = true);
  void SetFixedHeight(int height, bool scale = true);
  void SetMinWidth(int width);
  void SetMinHeight(int height);
  void SetMaxWidth(int width);
  void SetMaxHeight(int height);

  int GetHorizontalAlignment() const { return horAlign_; }
  int GetVerticalAlignment() const { return verAlign_; }
  void SetHorizontalAlignment(int align) { horAlign_ = align; }
  void SetVerticalAlignment(int align) { verAlign_ = align; }

  bool IsFloat() const { return float_; }
  void SetFloat(bool value) { float_ = value; }

  bool IsReEstimateNeeded() const { return reEstimateSize_; }
  void SetReEstimateNeeded(bool value) { reEstimateSize_ = value; }
  // The control must be laid out again before the next paint.
  bool IsArrangeNeeded() const { return arrangeNeeded_; }
  void SetArrangeNeeded(bool value) { arrangeNeeded_ = value; }

  bool IsCached() const { return cache_; }
  void SetCached(bool value) { cache_ = value; }
  bool IsLayerDirty() const { return layerDirty_; }
  void SetLayerDirty(bool value) { layerDirty_ = value; }
  // The off-screen layer of a cached or translucent control; null until painting
  // needs it.
  IRenderContext* GetLayerContext() const { return layer_.get(); }

  // Summed scroll positions of the scrolling ancestors (none for a floating
  // child of a scrolled box).
  POINT GetScrollOffsetInParents() const;

 protected:
  // The size-change rule of the minimum and maximum setters.
  void ArrangeAfterLimitChange();
  // Marks the area dirty in the window (with a paint request for layered windows).
  void InvalidateWindowRect(const RECT& rc) const;

  // Stored values that derived classes adjust directly.
  std::wstring name_;
  Window* window_ = nullptr;
  Box* parent_ = nullptr;
  int fixedWidth_ = kSizeStretch;
  int fixedHeight_ = kSizeStretch;
  int minWidth_ = -1;
  int minHeight_ = -1;
  int maxWidth_ = kDefaultMaxSize;
  int maxHeight_ = kDefaultMaxSize;
  RECT rect_ = {0, 0, 0, 0};
  int horAlign_ = 0;
  int verAlign_ = 0;
  bool float_ = false;
  bool reEstimateSize_ = true;
  bool visible_ = true;
  bool internVisible_ = true;
  bool arrangeNeeded_ = true;
  bool cache_ = false;
  bool layerDirty_ = false;
  std::unique_ptr<IRenderContext> layer_;
};

}  // namespace ui
