// The launcher's search popup: an edit band above a result list. Every change of
// the text lists the link store's matches, the most-run first, and then, when the
// settings allow it, the files and folders the external file-search service finds
// for the same text. The service is asked without waiting: its reply is sent to
// this window and carries the id of the query it answers, so a late reply to an
// older text is told apart and dropped, and a silent service never holds up the
// user-interface thread (whose low-level mouse hooks Windows removes when it stalls).
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/icon_cache.h"
#include "data/shell_icons.h"
#include "ui/base/image_info.h"
#include "ui/core/window_impl_base.h"

struct Link;
class CNoticeWnd;

namespace ui {
class CMenuMgr;
class Control;
class SearchListBox;
class RichEdit;
class EventArgs;
}  // namespace ui

class CSearchWnd : public ui::WindowImplBase {
 public:
  // Sent by the search window's mouse hook for a button pressed anywhere.
  static constexpr UINT kHookButtonMessage = 2026;
  // Posted to itself once a service reply is stored (wParam the reply id).
  static constexpr UINT kServiceReplyMessage = WM_APP + 0x140;
  // Posted to itself when shown: rows are made ahead of the first letter.
  static constexpr UINT kPrepareRowsMessage = WM_APP + 0x141;
  static constexpr UINT_PTR kTimerSavePosition = 0;
  static constexpr int kEditBand = 40;
  static constexpr int kRowHeight = 30;
  static constexpr int kMaxVisibleRows = 24;
  // How long the service may take to answer a liveness probe before a query.
  static constexpr UINT kServiceProbeMs = 100;
  static constexpr const wchar_t* kServiceColor = L"#ffff8000";

  CSearchWnd();
  ~CSearchWnd() override;

  // ---- ui::WindowImplBase ----
  std::wstring GetWindowClassName() const override { return L"SearchWnd"; }
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"search.xml"; }
  void InitWindow() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // True while one of its handlers runs a modal loop (its result menu, the shell's
  // menu of a result): the main window's close, which destroys this window, waits.
  bool InModalLoop() const { return handlerDepth_ > 1; }
  // Ends its open result menu as a dismissal.
  void EndOpenMenus();
  LRESULT OnWindowPosChanging(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // ---- event handlers ----
  bool OnSearchTextChange(ui::EventArgs* event);
  bool OnSearchReturn(ui::EventArgs* event);
  bool OnResultClick(ui::EventArgs* event);
  bool OnResultMenu(ui::EventArgs* event);
  // Runs a result menu command by its item name ("use_admin", "open_path",
  // "winshell") on the result's link; `cursor` is where the shell's menu shows.
  // False without a link, for an unknown command or when it failed.
  bool RunResultCommand(const std::wstring& command, const std::shared_ptr<Link>& link, POINT cursor);
  ui::CMenuMgr* Menus() const { return menuMgr.get(); }
  // Empties the text and shrinks the window to its edit band.
  void ResetSearch();

  // Raises, shows and activates the window with the edit focused (the search hot
  // key, the main window's search button and typing in the main window).
  void BringUp();

  // Tells the user something in the notice window, over the place of this
  // window's edit band, whether this window is shown or hidden: its launches
  // hide it before the system answers, and the main window sends here what it
  // cannot show while it is hidden itself.
  void ShowNotice(const std::wstring& text);
  const std::wstring& LastNotice() const { return lastNotice_; }
  // The notice window once one was shown; null before and after it is gone.
  CNoticeWnd* Notice() const;

  // The number of items the service is asked for when `localCount` links matched.
  static int ServiceMaximum(size_t localCount);

  // ---- state the main window and tests read ----
  ui::RichEdit* SearchEdit() const { return searchEdit; }
  ui::SearchListBox* ResultList() const { return resultList; }
  size_t ResultCount() const { return results.size(); }
  std::shared_ptr<Link> Result(size_t index) const;
  bool IsServiceQueryPending() const { return queryPending_; }
  bool* ShellMenuOpenFlag() { return &shellMenuOpen; }

 private:
  void AskService(const std::wstring& text, size_t localCount);
  void TakeServiceResults();
  void ForgetServiceResults();
  std::shared_ptr<Link> MakeServiceLink(const std::wstring& name, const std::wstring& path);
  void PrepareServiceIcon(Link& link);
  void AddRows(size_t from);
  // A row from the template with its handlers, empty.
  ui::Control* NewRow();
  // The row of result `index`, a spared one when there is one; a result whose
  // link is gone gets an empty row.
  ui::Control* MakeRow(size_t index);
  // Gives a row the content of result `index`; false when that result is gone.
  bool FillRow(ui::Control* row, size_t index);
  // Empties the list, keeping a view's worth of its rows for the next search.
  void SpareRows();
  // Makes spare rows up to a view's worth and decodes the template's icon, so
  // that the first letter after the window shows builds nothing from the template.
  void PrepareRows();
  void FitHeight(size_t rows);
  bool LaunchResult(int index, bool elevated);
  bool LaunchLink(const std::shared_ptr<Link>& link, bool elevated);
  // The notice for a launch thread's kLaunchFailedMessage.
  void ShowLaunchFailedNotice(int32_t linkId, LPARAM mark);
  bool HandleKey(WPARAM key);
  void SelectAndShow(int index);
  bool ShouldHideOnOutsideClick() const;
  LRESULT HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<ui::CMenuMgr> menuMgr;
  int inSizeMove = 0;
  int handlerDepth_ = 0;
  bool shellMenuOpen = false;
  ui::RichEdit* searchEdit = nullptr;
  ui::SearchListBox* resultList = nullptr;
  std::deque<std::weak_ptr<Link>> results;
  std::deque<std::shared_ptr<Link>> serviceResults;
  std::map<std::wstring, IconCacheEntry> resultIcons;
  SystemImageLists sysImageList;
  // The notice window, owned as a window: destroyed with this one, its object
  // then deletes itself.
  CNoticeWnd* notice_ = nullptr;
  std::weak_ptr<nbase::WeakFlag> noticeAlive_;
  std::wstring lastNotice_;
  // The names of the latest launches by their marks: a refusal comes back after
  // the results changed, and a file result has no ID to look it up by.
  std::deque<std::pair<LPARAM, std::wstring>> launchNames_;
  LPARAM lastLaunchMark_ = 0;
  size_t localCount_ = 0;
  DWORD replyId_ = 0;
  bool queryPending_ = false;
  bool programMove_ = false;
  // The row template's own icon, name colour and remark width, which a refilled
  // row returns to; its icon is kept decoded while the window lives.
  struct RowTemplate {
    bool known = false;
    std::wstring icon;
    std::wstring iconFile;
    std::wstring textColor;
    int descWidth = 0;
    std::shared_ptr<ui::ImageInfo> iconImage;
  } rowTemplate_;
  // Rows the list let go when its text was emptied, or made ahead while the
  // window waits for the first letter: a new search refills them.
  std::vector<std::unique_ptr<ui::Control>> sparedRows_;
};

// The search window's low-level mouse hook: passes every button press to the
// search window as message 2026, so that a press outside it hides it.
LRESULT CALLBACK SearchMouseHookProc(int code, WPARAM wParam, LPARAM lParam);
// Installs the hook for `searchWindow`, removing one installed before; true when
// a hook is in place afterwards.
bool InstallSearchMouseHook(HWND searchWindow);
void RemoveSearchMouseHook();
