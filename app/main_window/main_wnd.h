// The launcher's main window: the group strip, the tag list and the cards of the
// current tag, built from "main.xml" in the skin folder "main". It opens the
// icon cache, the built-in function table and the link store when it starts, and
// owns the tray icon, the application hot keys and the window's timers.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shtypes.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controls/growing_list_box.h"
#include "app/desktop/dock_slider.h"
#include "app/hot_keys/app_hot_keys.h"
#include "app/main_window/date_line.h"
#include "ui/base/scoped_handles.h"
#include "app/main_window/note_filler.h"
#include "ui/controls/menu_mgr.h"
#include "ui/core/window_impl_base.h"

struct CardKind;
class CardItem;
struct Group;
struct Link;
template <typename T>
class CDropTargetEx;
class CSearchWnd;
enum class ShippedDocument;

namespace ui {
class CMenuMgr;
class CMenuItem;
class Box;
class Control;
class ListBox;
class TabBox;
class ScrollableBox;
template <typename T>
class LabelTemplate;
}  // namespace ui

class CMainWnd : public ui::WindowImplBase {
 public:
  // Timers of the main window.
  static constexpr UINT_PTR kTimerDockStart = 0;
  static constexpr UINT_PTR kTimerDockPoll = 1;
  static constexpr UINT_PTR kTimerSave = 3;         // deferred save of placement and indexes
  static constexpr UINT_PTR kTimerGroupHover = 4;   // delayed group activation
  static constexpr UINT_PTR kTimerTagHover = 5;     // delayed tag activation
  static constexpr UINT_PTR kTimerNotice = 6;       // hides the notice again
  static constexpr UINT_PTR kTimerDate = 7;
  static constexpr UINT_PTR kTimerClosePending = 8;  // ends the modal loops a close waits for
  static constexpr UINT_PTR kTimerNoteFill = 9;  // the next piece of a long note
  static constexpr UINT kNoticeMs = 3000;
  static constexpr UINT kSaveDelayMs = 5000;
  // The tray icon's callback message.
  static constexpr UINT kTrayMessage = 1124;
  // The window text and tray tip.
  static constexpr const wchar_t* kDisplayName = L"Pexo";

  explicit CMainWnd(HINSTANCE instance);
  ~CMainWnd() override;

  // ---- ui::WindowImplBase ----
  std::wstring GetWindowClassName() const override { return L"PexoWnd"; }
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"main.xml"; }
  void InitWindow() override;
  ui::Control* CreateControl(const std::wstring& className) override;
  LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Own message handlers.
  LRESULT OnTrayNotify(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  LRESULT OnHotKey(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  // ---- showing and notices ----
  void ShowMain();
  // The first appearance: shown where the set-up placed it, brought to the
  // foreground, the input method off.
  void ShowAtStart();
  void HideMain();
  // Hides the window at once, docked or not (no slide), and forgets a move or
  // size in progress and the start guard: Esc and the title bar's close button.
  void HideAtOnce();
  void ToggleMain();
  // A transient notice in the "tips" label.
  // While the window is hidden or slid out the search window's notice window
  // shows it instead.
  void ShowNotice(const std::wstring& text);
  // Visible and not slid out to its edge.
  bool IsOnScreen() const;
  // The notice for a launch thread's kLaunchFailedMessage: the link by its ID.
  void ShowLaunchFailedNotice(int32_t linkId);
  // The notice shown last (kept for the window's own checks).
  const std::wstring& LastNotice() const { return lastNotice_; }

  // ---- messages, docking, date line and dialogs (main_wnd_messages.cpp, main_wnd_dock.cpp) ----
  // Private messages: 1125 show (second start), 1126 date line, 1127 unselect the cards.
  static constexpr UINT kShowMessage = 1125;
  static constexpr UINT kRefreshDateMessage = 1126;
  static constexpr UINT kUnselectCardsMessage = 1127;
  // The hook's summons run after the hook has returned (see HandleMessage).
  static constexpr UINT kDeferredToggleMessage = WM_APP + 0x121;
  static constexpr UINT kDeferredHotKeyMessage = WM_APP + 0x122;
  // Posted by the set-up: drop registration and the tray icon follow once the
  // window is up, so that it is shown without waiting for them.
  static constexpr UINT kFinishSetUpMessage = WM_APP + 0x123;
  // Runs `step` at the end of the set-up's last steps: once the window is up and
  // answering, before any input reaches it.
  void AfterSetUp(std::function<void()> step) { afterSetUp_ = std::move(step); }
  LRESULT OnWindowPosChanging(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnMoving(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  LRESULT OnSizing(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Dock-edge flags from a window rectangle in screen coordinates.
  void ComputeDockEdges(const RECT& window);
  // Start-up placement when the window starts hidden: slid out at its edge, or hidden.
  void DockAtStart();
  // Starts the start guard, the dock poll and the slide timer ("bAutoDock").
  void StartDocking();
  // After a settings change: with "bAutoDock" the edges are computed again and the
  // dock poll and slide timer (re)started; without it both are stopped.
  void ApplyDockSettings();
  DockSlider& Docking() { return dock_; }
  // Rebuilds the "date" label when the day changed, or always when forced.
  void UpdateDateLabel(bool force);
  void SetImeOpen(bool open);
  // Held while a modal dialog of the window runs: the window then neither slides
  // nor hides on a click elsewhere, a tray click brings the dialog forward, and a
  // close ends the dialog with 2 first and closes the window once it is gone.
  // (Every other modal loop runs inside one of the window's handlers, which the
  // close waits for in the same way: see HandleMessage.)
  class DialogScope {
   public:
    DialogScope(CMainWnd& owner, ui::Window* dialog);
    ~DialogScope();
    DialogScope(const DialogScope&) = delete;
    DialogScope& operator=(const DialogScope&) = delete;

   private:
    CMainWnd& owner_;
    ui::Window* previous_;
    DockSlider::Block block_;
  };
  ui::Window* OpenDialog() const { return openDialog_; }
  // True while a modal loop runs over the window (a dialog, a message box, a file
  // picker, a popup menu of ours or of the shell): a close then has to wait.
  bool InModalLoop() const;
  bool IsClosePending() const { return closePending_; }

  // ---- group and tag lists ----
  bool OnGroupSelect(ui::EventArgs* event);
  bool OnGroupMouseEnter(ui::EventArgs* event);
  bool OnTagMouseEnter(ui::EventArgs* event);
  bool OnGroupItemKey(ui::EventArgs* event);
  bool OnTagItemKey(ui::EventArgs* event);
  bool OnTodoEditKey(ui::EventArgs* event);
  // Rebuilds the group strip from the link store and selects `preferred` (or the
  // first group when it is out of range).
  void RebuildGroups(int preferred);

  // ---- cards ----
  bool OnTagSelect(ui::EventArgs* event);
  // A card for the link in the card area (null for a link without a tag); the
  // first card of a tag gives the area its item size.
  CardItem* MakeCard(const std::shared_ptr<Link>& link, int layout, int iconSize);
  bool OnLinkClick(ui::EventArgs* event);
  bool OnLinkBoxDragEvent(ui::EventArgs* event);
  bool OnLinkTileMouseEnter(ui::EventArgs* event);
  bool OnLinkTileMouseLeave(ui::EventArgs* event);
  // The card text shown as a card's tooltip.
  static std::wstring CardTooltip(const Link& link);
  // What every card of a tag shown in this layout and icon size shares.
  std::shared_ptr<const CardKind> MakeCardKind(int layout, int iconSize);

  // ---- links from paths ----
  // A new link made from a path (drive root, folder, program, file, shortcut, web
  // shortcut or store app); not stored. Null when the path makes no link.
  std::shared_ptr<Link> AddLinkFromPath(const std::wstring& path);

  // ---- drops on the window ----
  // Registers the window as an OLE drop target (at set-up; needs OLE on the
  // thread) and revokes it again (on close).
  bool RegisterDropTarget();
  void RevokeDropTarget();
  // At set-up: the OLE drop target, or shell file drops for an elevated window
  // under a non-elevated shell that cannot lower its integrity level.
  void SetUpDrops();
  // The set-up's last steps, run from kFinishSetUpMessage: drop registration, the
  // input method closed, the tray icon, then what the program's start asked to
  // follow once the window is up (AfterSetUp).
  void FinishSetUp();
  CDropTargetEx<CMainWnd>* DropTarget() const { return dropTarget_.get(); }
  // False while nothing can be dropped: a modal dialog is up or there is no tag.
  bool CanTakeDrops();
  // Each returns whether it took the drop (false also after a refusal notice).
  bool OnDropFileList(const std::vector<std::wstring>& paths);
  bool OnDropIdList(const ITEMIDLIST* item);
  // A browser's address for an ordinary tag is taken at once; its web-address
  // dialog opens from a posted message, after the drop has returned.
  bool OnDropText(const std::wstring& address, const std::wstring& title);
  static constexpr UINT kDroppedAddressMessage = WM_APP + 0x131;
  // Shell file drops that arrive as WM_DROPFILES.
  LRESULT OnDropFiles(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // ---- the card menu's commands ----
  // The commands take the right-clicked card's link by its ID, not by the card's
  // place: the view may be rebuilt while the menu or a question is up (a link's
  // hot key in a tag sorted by run count, a hovered tag), and another card then
  // sits at that place.
  // The link of the card at a link-box index; null when there is none.
  std::shared_ptr<Link> CardLink(int cardIndex) const;
  // The link-box index of the card that shows the link; -1 when none does.
  int CardIndexOfLink(int32_t linkId) const;
  // The link when a card of the current view still shows it; null otherwise.
  std::shared_ptr<Link> ShownLink(int32_t linkId) const;
  // The link when the tag with the ID (an all-links tag too) still holds it;
  // null otherwise. The card menu acts on the tag it was opened over, which a
  // hovered group or tag may have replaced on screen by the time an item is chosen.
  std::shared_ptr<Link> TagLink(int32_t tagId, int32_t linkId) const;
  // Runs a card menu command by its item name on the link of the tag (by ID):
  // "use_admin", "open_path", "winshell", "create_shortcut", "refresh_link_icon",
  // "edit_link", "del_link", "attr_link". `cursor` is where the shell's menu shows.
  // False when the tag no longer holds the link, the command is unknown, or it
  // refused or failed.
  bool RunCardLinkCommand(const std::wstring& command, int32_t tagId, int32_t linkId, POINT cursor);
  bool EditLink(const std::shared_ptr<Link>& link);  // the link editor; true after OK
  // Moves or copies the link of a tag to another tag (both by ID), with the
  // notices for tags that take no links, and rebuilds the view. True when the
  // store did it.
  bool MoveCardLinkToTag(int32_t tagId, int32_t linkId, int32_t targetTagId);
  bool CopyCardLinkToTag(int32_t tagId, int32_t linkId, int32_t targetTagId);
  // The card menu of the card that raised the event, from the menu manager's
  // "menu_linkbox_item" level, or the shell's menu with Shift; then the chosen
  // command. False when there is no card, link, current tag or a level is missing.
  bool ShowCardMenu(ui::EventArgs* event, ui::CMenuMgr& menus);
  // Rebuilds the move-to and copy-to group levels and sets the labels of the
  // card menu for the link. False when a level is missing.
  bool PrepareCardMenu(ui::CMenuMgr& menus, const Link& link);
  // A group item of the move-to or copy-to level was entered: its tag level is
  // filled with the group's ordinary tags.
  bool OnMoveMenuItemEnter(ui::EventArgs* event);
  // Set while the shell's menu or a confirmation is up over the window, so that
  // a docked window stays out while the mouse is on it.
  bool IsMessageBoxOpen() const { return messageBoxOpen_; }

  // ---- handlers the menus, tray and drop target fill in ----
  bool OnTitleBoxMenu(ui::EventArgs* event);
  bool OnTitleButtonClick(ui::EventArgs* event);
  bool OnGroupListMenu(ui::EventArgs* event);
  bool OnGroupItemMenu(ui::EventArgs* event);
  bool OnTagListMenu(ui::EventArgs* event);
  bool OnTagItemMenu(ui::EventArgs* event);
  // Ask for a name and store a new group (with its first tag) or a new tag of the
  // current group. True when stored or cancelled; false on an empty name, no
  // current group or a write the store refused.
  bool NewGroup(ui::CMenuItem* item);
  bool NewTag(ui::CMenuItem* item);
  // The same for the group with the ID, wherever it stands once the name was given.
  bool NewTagInGroup(int32_t groupId);
  // Group and tag edits by ID, in whichever group holds the tag: the store first,
  // the views after (the tag list only when it shows that group); a refused write
  // leaves the views and shows a notice. Deletions release the chords of the
  // links they remove. Each finds its group or tag again after its question or
  // dialog and does nothing when it is gone.
  bool DeleteGroupWithId(int32_t groupId);
  bool DeleteTagWithId(int32_t tagId);
  bool RenameGroupWithId(int32_t groupId);
  bool RenameTagWithId(int32_t tagId);
  bool MoveGroupWithId(int32_t groupId, bool left);
  bool MoveTagWithId(int32_t tagId, bool up);
  bool MoveTagToGroupWithId(int32_t tagId, int32_t targetGroupId);
  // After the tag at `index` left its group: in the shown group shows the tag
  // that was shown (or its neighbour) again, or nothing when the group has no
  // tags left; in another group only the tag that group opens on follows.
  void ShowTagsAfterRemoval(const std::shared_ptr<Group>& group, int index);
  // An all-links or note tag for the group with the ID.
  bool AddSpecialTag(int type, int32_t groupId);
  bool OnLinkBoxMenu(ui::EventArgs* event);
  bool OnLinkMenu(ui::EventArgs* event);

  // ---- the search window (main_wnd_search.cpp) ----
  // Creates, places and hooks the search window (at set-up).
  void CreateSearchWindow();
  // Raises, shows and focuses it; false when there is none.
  bool ShowSearch();
  // Removes its hook and destroys it (at close, before the framework shuts down).
  void DestroySearchWindow();
  CSearchWnd* SearchWindow() const { return searchWnd_; }

  // The window's menu manager, loaded from "menu\menu.xml" when first asked for
  // (no menu is shown before): the start does not pay for its 22 levels.
  ui::CMenuMgr* Menus();

  // ---- the link box menu and the tag commands (main_wnd_tag_menu.cpp) ----
  // The window's menu file, relative to the skin folder.
  static constexpr const wchar_t* kMenuFile = L"menu\\menu.xml";
  // Carries out a link box or tag item menu command on the current tag: "add_file",
  // "add_dir", the icon size, view and sort items, "refresh_group_icon",
  // "clear_group". False when there is no current tag or the folder dialog was
  // cancelled; refusals and failed writes show a notice and return true.
  bool OnTagMenuCommand(const std::wstring& command);
  // The same on the tag with the ID, wherever it stands: the menus name the tag
  // they were opened over, which a hovered group or tag may have replaced on
  // screen by the time an item is chosen. False when no tag has the ID.
  bool RunTagCommand(int32_t tagId, const std::wstring& command);
  // The current tag of the current group; null when there is none.
  std::shared_ptr<Group> CurrentTag() const;
  // Shows the marks of the tag's icon size, view and sort in the menu's levels
  // "icon_size", "view_type" and "view_sort", each name after `levelPrefix` (the
  // tag item menu's levels start with "minor_"). False, with no mark changed, when
  // one of them is missing.
  static bool MarkTagMenu(ui::CMenuMgr& menus, const Group& tag, const std::wstring& levelPrefix = L"");

  // ---- the main, tray and theme menus (main_wnd_main_menu.cpp) ----
  // Shows the named level at the screen point (top-most brings it to the
  // foreground) and carries out the item chosen. Always true.
  bool OnMenuCommand(int x, int y, const std::wstring& menuName, bool topMost);
  // Carries out a main, tray or theme menu item; false for an unknown or unusable one.
  bool RunMainMenuCommand(ui::CMenuItem* item);
  // Opens a document beside the program: the read-me ("help") or the change
  // record ("update"); a missing or unopenable file shows its notice and gives false.
  bool OpenDocument(ShippedDocument document);
  // The hot-key overview as a modal dialog over the window; false when it could not be made.
  bool ShowHotKeyOverview();
  // Starts the built-in function of the table's row on a thread; nothing is stored.
  bool RunSystemFunction(int row);
  // Loads the settings' theme and repaints the window, every menu level and the
  // search window with it, text fields included (main_wnd_theme.cpp); false
  // (colours unchanged) when the theme did not load.
  bool ApplyTheme();
  // A title bar button's level opened with its right edge at the cursor.
  void ShowTitleButtonMenu(const std::wstring& menuName);
  // ---- the settings dialog (main_wnd_settings_apply.cpp) ----
  // Runs the settings dialog over the window; after OK the new settings take
  // effect at once. True after OK.
  bool ShowSettings();
  // Puts the stored settings into effect on the running window; the tag list
  // changes sides only when "bTagRight" differs from `tagRightBefore`.
  void ApplySettings(bool tagRightBefore);

  // ---- state the other parts of the window read ----
  int CurrentGroupIndex() const { return curGroup_; }
  int CurrentTagIndex() const { return curTag_; }
  ui::ListBox* GroupList() const { return groupList_; }
  ui::ListBox* TagList() const { return tagList_; }
  ui::GrowingListBox* LinkBox() const { return linkBox_; }
  ui::TabBox* LinkTabBox() const { return linkTabBox_; }
  ui::ScrollableBox* NoteEditor() const { return todoEdit_; }
  int NoteTagId() const { return noteTagId_; }
  // The text of the note editor, whole, as the editor holds it: a long note still
  // going in gives what it shows followed by the rest, without waiting for it.
  std::wstring NoteText();
  // Sets the note editor's text, as not changed by the user (or, with
  // `changed`, as the user's own change still to be stored); a long one goes in
  // in time slices after this returns (kTimerNoteFill), so that the window shows
  // and answers meanwhile.
  void SetNoteText(const std::wstring& text, bool changed = false);
  // Whether a note text the store refused is waiting to be stored, for the tag
  // with the ID (kept apart while its tag is not shown; the editor holds it while it is).
  bool HasUnsavedNote(int32_t tagId) const { return unsavedNotes_.count(tagId) != 0; }
  bool IsNoteFilling() const { return noteFiller_.Pending(); }
  // Puts the rest of a note still going in into the editor at once.
  void FinishNoteFill();
  // Puts text after the end of the whole note (after the rest still going in),
  // as the user's own change.
  void AppendToNote(const std::wstring& text);
  // Where a window of the given size lands for a stored position on a screen of
  // the given size: pulled back so that it lies wholly on the screen.
  static POINT ClampedPosition(int x, int y, int width, int height, int screenWidth, int screenHeight);
  // The window size used for a stored one: a side too small to use (zero or
  // negative from a damaged file) takes the default, one larger than the screen
  // is cut to the screen.
  static SIZE UsableSize(int width, int height, int screenWidth, int screenHeight);

 private:
  // Set-up steps.
  void OpenDataOrExit();
  void BindTitleBar();
  void BindLists();
  void BuildGroupItems();
  void RegisterAppHotKeys();
  void PlaceFromSettings();
  void AddTrayIcon();
  // A new menu manager from "menu\menu.xml", with the built-in functions and
  // the theme files filled into their levels.
  void LoadMenus();
  void StartTimers();
  // Settings re-apply steps: the group item width (shared out with
  // "bAutoGroupWidth") with the tag list rebuilt, and the tag list's side.
  void ApplyGroupWidth();
  void PlaceTagList(bool right);
  // Launches the link on a worker thread; the thread holds its own reference.
  void LaunchLink(const std::shared_ptr<Link>& link);

  // Index from the list's selection while the list is visible, else the stored one.
  int EffectiveGroupIndex() const;
  int EffectiveTagIndex() const;
  // The stored indexes follow the lists' selections after a move or removal.
  void SyncIndexesFromLists();
  // Swaps two neighbouring items of a list, keeping the moved one selected.
  void SwapListItems(ui::ListBox* list, int from, int to);
  // Selects an index of a list, without focus and raising select.
  static void SelectWithEvent(ui::ListBox* list, int index);
  void RestartSaveTimer();
  // Stores the text as the note tag's Content; a refused write leaves Content
  // as the store holds it and gives false.
  static bool StoreNoteText(const std::shared_ptr<Group>& tag, const std::wstring& text);
  // Stores the note editor's text into the note tag it was filled from when the
  // user changed it since (typed or dropped), and every note text a refused save
  // kept: run whenever the note is left, so that a switch of tag or group, hiding
  // or closing loses nothing, while a note only looked at is never written. True
  // when nothing is left unsaved; a refused save says so and leaves the note
  // changed, for the next leave to try again. Texts of tags deleted meanwhile go.
  bool SaveChangedNote();
  // The editor is about to show something else: its note is stored, or, when the
  // store refuses it, kept with its tag's ID to be shown and stored again.
  void LeaveNote();
  // At exit: stores what is unsaved; while the store refuses, a box owned by
  // the window says so and offers to try again, or to end without the changes.
  void SaveNotesBeforeExit();

  // Messages of the window's own behaviour; true when the framework must not see it.
  bool HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void OnMainKeyDown(WPARAM key);
  void OnSlideNotice(WPARAM notice);
  void OnDockPoll();
  // Where a hidden window appears: at the cursor ("bFollowMouse") or its saved place.
  void PositionForShow();
  // The saved position pulled onto the screen as at start-up; moves the window when it changed.
  void ClampSavedPosition();
  // "nPosX", "nPosY", "nWidth" and "nHeight" from the window rectangle.
  void StorePlacement();
  void ShowAndActivate();
  void HideTooltip();

  // Closing while a modal loop runs (main_wnd_modal.cpp): the innermost loops
  // are ended and the close is carried out once no loop is left.
  void EndModalLoops();
  // Ends an open popup menu (ours or the shell's) as a dismissal; false when none was open.
  bool EndOpenMenus();
  // True while a message box or a picker runs over the window.
  bool InStandardDialog() const { return messageBoxOpen_ || (modalScopes_ > 0 && !openDialog_); }
  // The innermost message box or picker of the thread; null when none is up.
  static HWND FrontStandardDialog();
  void CarryOutPendingClose();
  // Keeps the window still (no sliding, no hiding on a click elsewhere) while a
  // popup menu of the menu manager is open.
  void WatchMenuLoops(ui::CMenuMgr& menus);

  DockSlider dock_;
  DateLineTracker dateLine_;
  ui::Window* openDialog_ = nullptr;
  bool closePending_ = false;
  // Nesting of the window's message handling: above 1, a handler further up the
  // stack runs a modal loop that dispatched this message.
  int handlerDepth_ = 0;
  // Dialogs run outside the window's handlers too (from a drop).
  int modalScopes_ = 0;
  std::optional<DockSlider::Block> menuBlock_;
  RECT lastPollRect_ = {};

  // The tag a drop goes to: the current tag of the current group; null when none.
  std::shared_ptr<Group> CurrentDropTag();
  struct DropTargetDeleter {
    void operator()(CDropTargetEx<CMainWnd>* target) const;
  };
  std::unique_ptr<CDropTargetEx<CMainWnd>, DropTargetDeleter> dropTarget_;
  std::unique_ptr<ui::CMenuMgr> menus_;
  // The last built-in function started from the menu.
  std::shared_ptr<Link> sysFuncLink_;
  std::shared_ptr<Group> CurrentCardTag() const;
  bool DeleteCardLink(int32_t tagId, int32_t linkId);
  // Deletes every link of the tag with their chords; the view follows the store.
  bool ClearTagLinks(const std::shared_ptr<Group>& tag);
  // Group and tag menu helpers.
  bool ShowNewTag(int groupIndex);
  // ShowTagsAfterRemoval for the group on screen.
  void ShowShownTagsAfterRemoval(const std::shared_ptr<Group>& group, int index);
  // The top-level group holding the tag, with the tag's index in it; null when
  // no group holds it.
  std::shared_ptr<Group> GroupOfTag(int32_t tagId, int& index) const;
  // Whether the tag list shows this group's tags.
  bool IsShownGroup(const std::shared_ptr<Group>& group) const;
  bool AskName(const std::wstring& heading, std::wstring& name, bool& cancelled);
  bool ConfirmDelete();
  void FitGroupBoxHeight();
  void ShowNothing();
  // The system file and folder dialogs; the program folder is current again after.
  bool PickFile(std::wstring& path);
  // The chosen folder's item-ID list; none when the picker was cancelled.
  ui::AbsoluteItemIdList PickFolder();
  // Stores a picked path as a link of the tag and shows it once its icon is made.
  bool AddPickedPath(const std::shared_ptr<Group>& tag, const std::wstring& path);
  // Stores the folder the picker gave: by its path when it has one, else (a
  // special folder such as a library or the computer) by its item-ID list. A
  // folder that makes no link, or that the store refuses, gets a notice.
  bool AddPickedFolder(const std::shared_ptr<Group>& tag, const ITEMIDLIST* folder);
  // The web-address dialog, headed "新增URL链接" and filled with the proposed name
  // and address (both empty from the menu; the page title and address from a
  // browser drop); on OK the link joins the tag. False only when the store
  // refuses the link.
  bool AddWebAddressLink(const std::shared_ptr<Group>& tag, const std::wstring& proposedName,
                         const std::wstring& proposedAddress);
  // The system-function dialog; on OK the link joins the tag.
  bool AddSystemFunctionLink(const std::shared_ptr<Group>& tag);
  bool messageBoxOpen_ = false;

  HINSTANCE instance_;
  CSearchWnd* searchWnd_ = nullptr;
  ui::Control* tips_ = nullptr;
  ui::Control* date_ = nullptr;
  ui::Box* titleBoxInside_ = nullptr;
  ui::Box* majorGroupBox_ = nullptr;
  ui::Control* minorGroupLine_ = nullptr;
  ui::ListBox* groupList_ = nullptr;
  ui::ListBox* tagList_ = nullptr;
  ui::GrowingListBox* linkBox_ = nullptr;
  // What the cards of the tag being shown share, for the layout and icon size it
  // was made for; made again for each tag shown.
  std::shared_ptr<const CardKind> cardKind_;
  int cardKindLayout_ = -1;
  int cardKindIconSize_ = -1;
  ui::TabBox* linkTabBox_ = nullptr;
  ui::ScrollableBox* todoEdit_ = nullptr;

  int curGroup_ = -1;
  int curTag_ = -1;
  int pendingGroup_ = -1;
  int pendingTag_ = -1;
  bool tagsShownOnce_ = false;
  // Set while two items trade places: the list's own selection events then say
  // nothing about what the user chose.
  bool swappingItems_ = false;
  int noteTagId_ = 0;
  // Note texts the store refused, by their tag's ID, while another tag is shown:
  // the text comes back into the editor when its tag is chosen, and is stored at
  // the next leave, Ctrl+S or close.
  std::map<int32_t, std::wstring> unsavedNotes_;
  // The tag whose cards the card area holds.
  int cardsTagId_ = 0;
  NoteFiller noteFiller_;

  // False until the set-up's last steps ran: the input method is left to them.
  bool setUpFinished_ = false;
  std::function<void()> afterSetUp_;
  NOTIFYICONDATAW trayData_ = {};
  bool trayAdded_ = false;
  HICON trayIcon_ = nullptr;
  bool trayIconOwned_ = false;
  AppHotKeys appHotKeys_;
  std::wstring lastNotice_;
  // A dropped address whose dialog is still to come: the tag by its ID.
  struct DroppedAddress {
    int32_t tagId = 0;
    std::wstring address;
    std::wstring title;
  };
  std::optional<DroppedAddress> droppedAddress_;
  void OpenDroppedAddress();
};
