// The base of every skin element: state, colours and images per state, border,
// cursor, tooltip, menu, user data, focus and enabling, visibility, the event
// listener lists and painting.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/base/skin_image.h"
#include "ui/base/weak_callback.h"
#include "ui/core/box_shadow.h"
#include "ui/core/control_animations.h"
#include "ui/core/event_args.h"
#include "ui/core/placeholder.h"

namespace ui {

class IRenderContext;
class StateColorSet;
class StateImageMap;
class UIAControlProvider;

enum ControlState : int32_t {
  kControlStateNormal = 0,
  kControlStateHot = 1,
  kControlStatePushed = 2,
  kControlStateDisabled = 4,
};

enum CursorType : int32_t {
  kCursorArrow = 0,
  kCursorHand = 1,
  kCursorIbeam = 2,
};

// Flags of the tree walk (FindControl).
inline constexpr UINT kFindVisible = 0x00000001;
inline constexpr UINT kFindEnabled = 0x00000002;
inline constexpr UINT kFindHitTest = 0x00000004;
inline constexpr UINT kFindTopFirst = 0x00000008;
inline constexpr UINT kFindMeFirst = 0x80000000;

// The test of a tree walk: returns the control found, or null to go on.
using FindControlCallback = std::function<Control*(Control*, void*)>;

// Base of any object an application hangs on a control; the control owns it.
class UserDataBase {
 public:
  virtual ~UserDataBase() = default;
};

// Kinds of the state image map: background and fore images.
inline constexpr int kStateImageBk = 0;
inline constexpr int kStateImageFore = 1;

class Control : public PlaceHolder {
 public:
  Control();
  ~Control() override;

  // PlaceHolder overrides.
  SIZE EstimateSize(SIZE available) override;
  RECT GetPos(bool containerCoordinates = true) const override;
  void SetPos(RECT rc) override;

  // Virtual operations, in slot order; Box continues the list.
  virtual std::wstring GetType() const;
  virtual SkinImage* GetSizingImage();
  virtual int GetCursorType() const;
  virtual std::wstring GetToolTipText() const;
  virtual std::string GetUTF8ToolTipText() const;
  virtual void SetToolTipText(const std::wstring& text);
  virtual void SetUTF8ToolTipText(const std::string& text);
  virtual void SetToolTipTextId(const std::wstring& id);
  virtual void SetUTF8ToolTipTextId(const std::string& id);
  virtual void SetToolTipWidth(int width);
  virtual int GetToolTipWidth() const;
  virtual bool IsContextMenuUsed() const;
  virtual void SetContextMenuUsed(bool used);
  virtual std::wstring GetMenuPopup() const;
  virtual void SetMenuPopup(const std::wstring& popup);
  virtual std::wstring GetMenuAlign() const;
  virtual void SetMenuAlign(const std::wstring& align);
  virtual std::wstring GetDataId() const;
  virtual std::string GetUTF8DataId() const;
  virtual void SetDataId(const std::wstring& id);
  virtual void SetUTF8DataId(const std::string& id);
  virtual UserDataBase* GetUserData() const;
  // Takes ownership; the previous object is deleted (setting the same object
  // again changes nothing).
  virtual void SetUserData(UserDataBase* data);
  // An integer the application keeps on the control (a list item's row, a menu
  // item's command); 0 until set, never read by the framework.
  virtual int GetItemId() const { return itemId_; }
  virtual void SetItemId(int id) { itemId_ = id; }
  virtual void SetFadeVisible(bool visible);
  virtual void SetInternVisible(bool visible);
  virtual void SetVisible(bool visible);
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool enabled);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool enabled);
  virtual bool IsKeyboardEnabled() const;
  virtual void SetKeyboardEnabled(bool enabled);
  virtual bool IsFocused() const;
  virtual void SetFocus();
  virtual bool IsTabStop() const;
  virtual bool IsPressed() const;
  virtual void SetPressed(bool pressed);
  virtual bool IsFocusable() const;
  virtual void Activate();
  virtual void Deactivate();
  virtual bool IsActivated() const;
  virtual Control* FindControl(const FindControlCallback& test, void* data, UINT flags,
                               POINT offset = {0, 0});
  virtual RECT GetMargin() const;
  virtual void SetMargin(RECT margin, bool scale = true);
  virtual SIZE EstimateText(SIZE available, bool& reEstimateSize);
  virtual bool ContainsPoint(POINT pt) const;
  virtual UIAControlProvider* GetAccessibilityProvider();
  virtual void HandleEventTemplate(EventArgs& event);
  virtual bool HasHotState();
  virtual void SetReceivePointer(bool receive);
  virtual void SetAttribute(const std::wstring& name, const std::wstring& value);
  virtual void AlphaPaint(IRenderContext* context, const RECT& dirty);
  virtual void Paint(IRenderContext* context, const RECT& dirty);
  virtual void PaintChildren(IRenderContext* context, const RECT& dirty);
  virtual void ReloadBkImage();
  virtual void ReleaseBkImage();
  virtual void ClearImageCache();
  virtual void HandleEvent(EventArgs& event);
  virtual bool MouseEnter(EventArgs& event);
  virtual bool MouseLeave(EventArgs& event);
  virtual bool ButtonDown(EventArgs& event);
  virtual bool ButtonUp(EventArgs& event);
  virtual void PaintShadow(IRenderContext* context);
  virtual void PaintBkColor(IRenderContext* context);
  virtual void PaintBkImage(IRenderContext* context);
  virtual void PaintStatusColor(IRenderContext* context);
  virtual void PaintStatusImage(IRenderContext* context);
  virtual void PaintText(IRenderContext* context);
  virtual void PaintBorder(IRenderContext* context);
  virtual void PaintLoading(IRenderContext* context);

  // Colours.
  std::wstring GetBkColor() const { return bkColor_; }
  void SetBkColor(const std::wstring& color);
  void SetLoadingBkColor(const std::wstring& color);
  void SetStateColor(ControlState state, const std::wstring& color);
  std::wstring GetStateColor(ControlState state);
  void SetBorderColor(const std::wstring& color, ControlState state = kControlStateNormal);
  std::wstring GetBorderColor(ControlState state) const;
  // A colour name through the window's colour map (non-zero entries), then the
  // global table; 0 when unknown.
  DWORD GetColorValue(const std::wstring& name) const;

  // Images.
  void SetBkImage(const std::wstring& text);
  // SetBkImage for a paint in progress: an ancestor's Paint that settles the
  // image just before this control draws. A control of fixed size is not
  // invalidated again, so setting it costs no second paint.
  void SetBkImageWhilePainting(const std::wstring& text);
  void SetLoadingImage(const std::wstring& text);
  void SetStateImage(ControlState state, const std::wstring& text);
  void SetForeStateImage(ControlState state, const std::wstring& text);
  SkinImage& GetBkImage() { return bkImage_; }
  SkinImage& GetLoadingImage() { return loadingImage_; }
  StateImageMap& GetStateImages() { return *stateImages_; }
  StateColorSet& GetStateColors() { return *stateColors_; }

  // Border.
  int GetBorderSize() const { return borderSize_; }
  RECT GetSideBorderSizes() const { return sideBorderSizes_; }
  SIZE GetBorderRound() const { return borderRound_; }
  const BoxShadow& GetBoxShadow() const { return boxShadow_; }
  void SetBorderRound(SIZE round);

  // Skin attribute texts.
  void ApplyClassAttributes(const std::wstring& classes);
  void ApplyAttributeList(const std::wstring& list);
  // A skin "Event" listener of this control: applies the attribute list to the
  // receiver, a descendant of this control when written "./name" (or ".\\name"),
  // otherwise the control of that name in the window. A receiver that is not found
  // is skipped. Always true, so the event's other handling goes on.
  bool OnEventApplyAttribute(const std::wstring& receiver, const std::wstring& attributes, EventArgs* event);

  // Listeners. AttachEvent appends to the code listeners, AttachXmlEvent to the
  // skin's listeners.
  void AttachEvent(EventType type, const EventCallback& callback);
  void AttachXmlEvent(EventType type, const EventCallback& callback);
  void AttachClick(const EventCallback& callback) { AttachEvent(click, callback); }
  void AttachClickEvent(const EventCallback& callback) { AttachEvent(click, callback); }
  void AttachMenuEvent(const EventCallback& callback) { AttachEvent(menu, callback); }
  void AttachMouseEnterEvent(const EventCallback& callback) { AttachEvent(mouseenter, callback); }
  void AttachReturnEvent(const EventCallback& callback) { AttachEvent(return_, callback); }
  void AttachTextChangeEvent(const EventCallback& callback) { AttachEvent(textchange, callback); }
  void AttachSelectEvent(const EventCallback& callback) { AttachEvent(select, callback); }
  // Listens to every event type ("all").
  void AttachAllEvents(const EventCallback& callback) { AttachEvent(all, callback); }
  EventListenerMap& GetXmlListeners() { return xmlListeners_; }
  EventListenerMap& GetCodeListeners() { return codeListeners_; }
  EventListenerMap& GetImageAnimationListeners() { return imageAnimationListeners_; }
  // Builds a record with this control as sender and hands it to its own entry;
  // a point of (0, 0) is replaced by the window's last mouse position.
  void SendEvent(EventType type, WPARAM wParam = 0, LPARAM lParam = 0, wchar_t key = 0,
                 POINT mouse = {0, 0}, float pressure = 0.0f);

  // State.
  ControlState GetState() const { return state_; }
  void SetState(ControlState state);
  int GetAlpha() const { return alpha_; }
  void SetAlpha(int alpha);
  int GetHotAlpha() const { return hotAlpha_; }
  void SetHotAlpha(int alpha);
  POINT GetRenderOffset() const { return renderOffset_; }
  void SetRenderOffset(POINT offset);
  void SetRenderOffsetX(int x);
  void SetRenderOffsetY(int y);
  bool IsNoFocus() const { return noFocus_; }
  void SetNoFocus() { noFocus_ = true; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
  bool IsReceivePointer() const { return receivePointer_; }
  bool IsButtonUpOnFocusLoss() const { return buttonUpOnFocusLoss_; }
  void SetButtonUpOnFocusLoss(bool value) { buttonUpOnFocusLoss_ = value; }
  bool IsFocusedLook() const { return focusedLook_; }
  bool IsClip() const { return clip_; }
  bool IsLoading() const { return loading_; }
  void SetLoading(bool loading) { loading_ = loading; }
  int GetLoadingAngle() const { return loadingAngle_; }
  void SetLoadingAngle(int angle) { loadingAngle_ = angle; }
  bool IsBkAnimationAllowed() const { return bkAnimationAllowed_; }
  void SetBkAnimationAllowed(bool allowed) { bkAnimationAllowed_ = allowed; }
  const RECT& GetPaintRect() const { return paintRect_; }
  void SetPaintRect(const RECT& rc) { paintRect_ = rc; }
  ControlAnimations& GetAnimations() { return animations_; }

  // Makes sure the slot holds its decoded image.
  void LoadImage(SkinImage& image);
  // Where an image file of this control is found: cache keys ("?...") as they
  // stand, other names under the window's resource folder.
  std::wstring GetImageFullPath(const std::wstring& file) const;
  // Draws an image slot over the control (or its "dest" part), after a modify text
  // of attributes; a fade of -1 keeps the image's own. False when nothing can be
  // drawn. The first draw of a multi-frame background starts its animation.
  bool DrawImage(IRenderContext* context, SkinImage& image, const std::wstring& modify = L"",
                 int fade = -1);
  // One step of the background image's frame animation.
  void PlayBkImageAnimation();
  // The background animation has played its loops: the last frame stays.
  void OnBkImageAnimationEnd();
  // The control's off-screen layer, created when absent.
  IRenderContext* GetLayer();

  // Stops the background image's frame animation on a frame (0xFFFF the last,
  // -1 the current one).
  void StopImageAnimation(int frame = -1);

 protected:
  // How far a box shadow reaches beyond the control (0 without one); the layer
  // paths reserve twice the blur.
  int ShadowExtent(bool layered) const;
  // The state whose border colour is drawn: a state without its own colour falls
  // back to hot (pushed) or normal.
  ControlState BorderState() const;
  // Whether the background image may (go on) playing its frames.
  bool BkImageMayPlay() const;
  // Shows the next background frame after `delay` milliseconds, and so on.
  void ScheduleBkImageFrame(int delay);

  // Runs one listener list of a map when it has the key; absent keys leave the
  // result unchanged.
  static bool RunListeners(EventListenerMap& map, EventType key, EventArgs& event, bool result);
  // Runs `first` for the event's type and for "all", then, while the answer is
  // true, `second` likewise; the answer lands in `result`. False when a callback
  // destroyed the control, so the caller must stop at once.
  static bool RunListenerLists(EventListenerMap& first, EventListenerMap& second, EventArgs& event,
                               const std::weak_ptr<nbase::WeakFlag>& alive, bool& result);
  // Sends an event about this control to itself, with no point.
  void SendSelfEvent(EventType type);
  // Hands an event to the parent's entry (or does nothing without a parent).
  void PassToParent(EventArgs& event);
  // Clears the window's focus when this control holds it.
  void DropFocusIfFocused();

  EventListenerMap xmlListeners_;
  EventListenerMap codeListeners_;
  EventListenerMap imageAnimationListeners_;
  std::unique_ptr<UserDataBase> userData_;
  int itemId_ = 0;
  bool contextMenuUsed_ = false;
  bool enabled_ = true;
  bool mouseEnabled_ = true;
  bool keyboardEnabled_ = true;
  bool focusedLook_ = false;
  bool pressed_ = false;
  bool inResizeEvent_ = false;
  bool noFocus_ = false;
  bool clip_ = true;
  bool bkAnimationAllowed_ = true;
  bool receivePointer_ = true;
  bool buttonUpOnFocusLoss_ = false;
  bool tabStop_ = true;
  bool loading_ = false;
  int borderSize_ = 0;
  int toolTipWidth_ = 300;
  int alpha_ = 255;
  int hotAlpha_ = 0;
  int loadingAngle_ = 0;
  SIZE cachedEstimate_ = {0, 0};
  POINT renderOffset_ = {0, 0};
  SIZE borderRound_ = {0, 0};
  RECT margin_ = {0, 0, 0, 0};
  RECT paintRect_ = {0, 0, 0, 0};
  RECT sideBorderSizes_ = {0, 0, 0, 0};
  int cursorType_ = kCursorArrow;
  ControlState state_ = kControlStateNormal;
  std::wstring toolTipText_;
  std::wstring toolTipTextId_;
  std::wstring dataId_;
  std::wstring menuPopup_;
  std::wstring menuAlign_;
  std::wstring bkColor_;
  std::wstring loadingBkColor_;
  std::unique_ptr<StateColorSet> stateColors_;
  SkinImage bkImage_;
  SkinImage loadingImage_;
  std::unique_ptr<StateImageMap> stateImages_;
  std::map<ControlState, std::wstring> borderColors_;
  nbase::WeakCallbackFlag imageAnimationFlag_;
  ControlAnimations animations_;
  nbase::WeakCallbackFlag imageWorkFlag_;
  std::unique_ptr<UIAControlProvider> accessibilityProvider_;
  BoxShadow boxShadow_;
};

}  // namespace ui
