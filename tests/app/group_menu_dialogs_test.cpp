// The name dialogs of the group and tag menus on the real main window: a group
// and a tag created and renamed through the real name dialog, answered with
// typed keys, and kept after a restart; cancelled or unchanged names change
// nothing; and every group or tag change the store refuses leaves the lists and
// the loaded groups as they were, with the save-failure notice.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/dialog_test_support.h"
#include "tests/app/menu_driver.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/scoped_handles.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"

namespace {

using window_test::PumpFor;
using Names = std::vector<std::wstring>;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

::testing::Environment* const skin = ::testing::AddGlobalTestEnvironment(new dialog_test::SkinEnvironment);

constexpr wchar_t kSaveFailed[] = L"保存失败，请检查数据库文件";
const uint16_t kChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F7);

std::shared_ptr<Group> NewTag(const std::wstring& name) {
  auto tag = std::make_shared<Group>();
  tag->NAME = name;
  return tag;
}

// Answers the name dialog: the heading it shows is noted, `typed` replaces the
// proposed name (nothing typed keeps it), then Enter; or Esc when `cancel`.
Steps AnswerName(std::wstring* heading, const std::wstring& typed, bool cancel = false) {
  return Steps{
      [heading, typed](CDialogWnd& d) {
        auto* title = dynamic_cast<ui::LabelTemplate<ui::Control>*>(d.FindControlByName(L"title"));
        if (heading && title) *heading = title->GetText();
        if (!typed.empty()) dialog_test::Type(d, typed);
      },
      [cancel](CDialogWnd& d) {
        if (cancel) {
          dialog_test::Key(d, VK_ESCAPE);
        } else {
          dialog_test::Type(d, L"\r");
        }
      },
  };
}

class GroupMenuDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.succeeded());
    const std::wstring db = pexo_test::ExeFolder() + L"\\db\\";
    CreateDirectoryW(db.c_str(), nullptr);
    DeleteFileW((db + L"link.db").c_str());
    DeleteFileW((db + L"icon.db").c_str());
    Settings& settings = GetSettings();
    settings = Settings();
    settings.nWidth = 388;
    settings.nHeight = 560;
    settings.bShowDate = false;
    settings.bAutoDock = false;
    settings.bHideNotify = true;
    settings.bDelConfirm = false;
    // Group "一组" with the tags "甲" (a link with a chord) and "乙"; group "二组" with "丙".
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    group->NAME = L"一组";
    ASSERT_TRUE(store.SaveGroup(group));
    group->tags.at(0)->NAME = L"甲";
    ASSERT_TRUE(store.SaveGroup(group->tags.at(0)));
    auto link = std::make_shared<Link>();
    link->NAME = L"记事本";
    link->PATH = L"C:\\windows\\notepad.exe";
    link->TYPE = kLinkProgram;
    link->HotKey = kChord;
    ASSERT_TRUE(store.AddLink(group->tags.at(0), link));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"乙")));
    auto second = NewTag(L"二组");
    ASSERT_TRUE(store.AddGroup(second));
    ASSERT_TRUE(store.AddTag(second, NewTag(L"丙")));
    store.Close();
    GetHotKeyTable().UnregisterAll();
    Open();
  }

  void TearDown() override {
    Close();
    GetHotKeyTable().UnregisterAll();
  }

  void Open() {
    window_ = new CMainWnd(GetModuleHandleW(nullptr));
    hwnd_ = window_->Create(nullptr, L"Pexo", WS_POPUP, WS_EX_TOOLWINDOW, false);
    ASSERT_NE(hwnd_, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetForegroundWindow(hwnd_);
    PumpFor(200);
  }
  void Close() {
    if (window_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    window_ = nullptr;
    PumpFor(50);
    GetLinkStore().Close();
    GetIconCache().Close();
  }
  void Restart() {
    Close();
    Open();
  }

  // Right-clicks the point, chooses the item and, when the item opens the name
  // dialog, answers it with `steps`.
  void Choose(POINT at, const Names& path, Steps steps = {}) {
    PumpFor(300);  // the view settles from the last choice
    SetForegroundWindow(hwnd_);
    menu_driver::Visit visit;
    dialog_test::RunScriptedOpener([this] { return dynamic_cast<CDialogWnd*>(window_->OpenDialog()); },
                                   [&] { visit = menu_driver::ChooseFromMenu(hwnd_, at, path); }, std::move(steps));
    for (const std::wstring& name : visit.missing) {
      ADD_FAILURE() << "menu item: " << std::string(name.begin(), name.end()) << " at " << at.x << "," << at.y;
    }
    EXPECT_TRUE(visit.shown) << "a menu opens";
    EXPECT_EQ(window_->OpenDialog(), nullptr) << "no dialog is left open";
    PumpFor(100);
  }
  static POINT Middle(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }
  POINT ItemPoint(ui::ListBox* list, int index) {
    ui::Control* item = list->GetItemAt(static_cast<size_t>(index));
    return item ? Middle(item->GetPos()) : POINT{};
  }
  POINT OnGroup(int index) { return ItemPoint(window_->GroupList(), index); }
  POINT OnTag(int index) { return ItemPoint(window_->TagList(), index); }
  // The empty parts of the two lists: right of the groups, below the tags.
  POINT EmptyGroupListPoint() {
    const RECT rc = window_->GroupList()->GetPos();
    return POINT{rc.right - 8, (rc.top + rc.bottom) / 2};
  }
  POINT EmptyTagListPoint() {
    const RECT rc = window_->TagList()->GetPos();
    return POINT{(rc.left + rc.right) / 2, rc.bottom - 12};
  }

  static Names GroupNames() {
    Names names;
    for (const auto& group : GetLinkStore().topGroups) names.push_back(group->NAME);
    return names;
  }
  static Names TagNames(int group) {
    Names names;
    for (const auto& tag : GetLinkStore().topGroups.at(static_cast<size_t>(group))->tags) names.push_back(tag->NAME);
    return names;
  }
  std::wstring GroupItemText(int index) {
    auto* item = dynamic_cast<ui::ListContainerElement*>(window_->GroupList()->GetItemAt(static_cast<size_t>(index)));
    return item ? item->GetText() : L"(none)";
  }
  std::wstring TagItemText(int index) {
    auto* item = dynamic_cast<ui::Box*>(window_->TagList()->GetItemAt(static_cast<size_t>(index)));
    auto* label = item ? dynamic_cast<ui::LabelTemplate<ui::Control>*>(item->FindChildByName(L"tagname")) : nullptr;
    return label ? label->GetText() : L"(none)";
  }

  ui::ScopedOleInit ole_;
  CMainWnd* window_ = nullptr;
  HWND hwnd_ = nullptr;
};

TEST_F(GroupMenuDialogsTest, NamedGroupsAndTagsAreCreatedAndRenamedThroughTheNameDialogAndKept) {
  std::wstring heading;
  // A cancelled new group leaves everything as it was.
  Choose(EmptyGroupListPoint(), {L"new_group"}, AnswerName(&heading, L"不要", true));
  EXPECT_EQ(heading, L"新建分组");
  EXPECT_EQ(GroupNames(), (Names{L"一组", L"二组"}));
  EXPECT_EQ(window_->GroupList()->GetCount(), 2);

  Choose(EmptyGroupListPoint(), {L"new_group"}, AnswerName(nullptr, L"三组"));
  EXPECT_EQ(GroupNames(), (Names{L"一组", L"二组", L"三组"}));
  EXPECT_EQ(TagNames(2), (Names{L"新的标签"})) << "a new group comes with its first tag";
  EXPECT_EQ(window_->GroupList()->GetCount(), 3);
  EXPECT_EQ(window_->CurrentGroupIndex(), 2) << "the new group is shown";
  EXPECT_EQ(window_->TagList()->GetCount(), 1);

  // A named tag in the shown group, from the tag list's empty part; it becomes current.
  Choose(EmptyTagListPoint(), {L"new_tag"}, AnswerName(&heading, L"工具"));
  EXPECT_EQ(heading, L"新建标签");
  EXPECT_EQ(TagNames(2), (Names{L"新的标签", L"工具"}));
  EXPECT_EQ(window_->TagList()->GetCount(), 2);
  EXPECT_EQ(window_->CurrentTagIndex(), 1);

  // Renames propose the current name; the lists show the new one.
  Choose(OnTag(0), {L"rename_tag"}, AnswerName(&heading, L"常用"));
  EXPECT_EQ(heading, L"标签-重命名");
  EXPECT_EQ(TagNames(2), (Names{L"常用", L"工具"}));
  EXPECT_EQ(TagItemText(0), L"常用");
  Choose(OnTag(1), {L"rename_tag"}, AnswerName(nullptr, L"别的", true));
  EXPECT_EQ(TagNames(2), (Names{L"常用", L"工具"})) << "Esc renames nothing";
  // A right click on a group item shows that group as well.
  Choose(OnGroup(0), {L"rename_group"}, AnswerName(&heading, L"第一组"));
  EXPECT_EQ(heading, L"分组-重命名");
  EXPECT_EQ(GroupNames(), (Names{L"第一组", L"二组", L"三组"}));
  EXPECT_EQ(GroupItemText(0), L"第一组");

  // Enter on the proposed name renames nothing.
  Choose(OnGroup(1), {L"rename_group"}, AnswerName(nullptr, L""));
  EXPECT_EQ(GroupNames(), (Names{L"第一组", L"二组", L"三组"}));
  EXPECT_EQ(window_->LastNotice(), L"") << "nothing failed";

  Restart();
  EXPECT_EQ(GroupNames(), (Names{L"第一组", L"二组", L"三组"}));
  EXPECT_EQ(TagNames(0), (Names{L"甲", L"乙"}));
  EXPECT_EQ(TagNames(2), (Names{L"常用", L"工具"}));
}

TEST_F(GroupMenuDialogsTest, ChangesTheStoreRefusesLeaveTheListsAsTheyWereWithANotice) {
  ASSERT_EQ(sqlite3_exec(GetLinkStore().connection, "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  auto expectRefused = [this](const char* what) {
    EXPECT_EQ(window_->LastNotice(), kSaveFailed) << what;
    window_->ShowNotice(L"");
    EXPECT_EQ(GroupNames(), (Names{L"一组", L"二组"})) << what;
    EXPECT_EQ(TagNames(0), (Names{L"甲", L"乙"})) << what;
    EXPECT_EQ(window_->GroupList()->GetCount(), 2) << what;
    EXPECT_EQ(window_->TagList()->GetCount(), 2) << what;
    EXPECT_EQ(GroupItemText(0), L"一组") << what;
    EXPECT_EQ(TagItemText(0), L"甲") << what;
  };

  Choose(EmptyGroupListPoint(), {L"new_group"}, AnswerName(nullptr, L"三组"));
  expectRefused("new group");
  Choose(EmptyTagListPoint(), {L"new_tag"}, AnswerName(nullptr, L"丁"));
  expectRefused("new tag");
  Choose(EmptyTagListPoint(), {L"new_tag_todo"});
  expectRefused("new note tag");
  Choose(OnGroup(0), {L"rename_group"}, AnswerName(nullptr, L"改名"));
  expectRefused("group rename");
  Choose(OnTag(0), {L"rename_tag"}, AnswerName(nullptr, L"改名"));
  expectRefused("tag rename");
  Choose(OnGroup(0), {L"right_group"});
  expectRefused("group move");
  Choose(OnTag(0), {L"down_tag"});
  expectRefused("tag move");
  Choose(OnTag(0), {L"del_tag"});
  expectRefused("tag deletion");
  EXPECT_NE(GetHotKeyTable().FindLink(kChord), nullptr) << "the link that stays keeps its chord";
  Choose(OnGroup(0), {L"del_group"});
  expectRefused("group deletion");
  EXPECT_NE(GetHotKeyTable().FindLink(kChord), nullptr);

  // Nothing of it reached link.db either.
  Restart();
  EXPECT_EQ(GroupNames(), (Names{L"一组", L"二组"}));
  EXPECT_EQ(TagNames(0), (Names{L"甲", L"乙"}));
  EXPECT_EQ(TagNames(1), (Names{L"丙"}));
}

}  // namespace
