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

#include "app/main_window/main_wnd.h"
#include "data/hot_key_table.h"
#include "data/icon_cache.h"
#include "data/link_store.h"
#include "data/settings.h"
#include "tests/app/support/dialog_test_support.h"
#include "tests/app/support/launcher_test_support.h"
#include "tests/app/support/menu_driver.h"
#include "tests/support/test_support.h"
#include "tests/ui/core/window_test_support.h"
#include "ui/base/scoped_handles.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"

namespace {

using launcher_test::NewLink;
using launcher_test::NewTag;
using window_test::PumpFor;
using Names = std::vector<std::wstring>;
using Steps = std::deque<std::function<void(CDialogWnd&)>>;

::testing::Environment* const skin = ::testing::AddGlobalTestEnvironment(new dialog_test::SkinEnvironment);

constexpr wchar_t kSaveFailed[] = L"保存失败，请检查数据库文件";
const uint16_t kChord = MakeHotKeyCode(kHotKeyCtrl | kHotKeyAlt, VK_F7);

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

class GroupMenuDialogsTest : public launcher_test::MainWindowFixture {
 protected:
  GroupMenuDialogsTest() : MainWindowFixture(/*inFront=*/true) {}
  // The dialog tests' skin environment has started the skin for the whole run.
  static void SetUpTestSuite() {}
  static void TearDownTestSuite() {}

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(MainWindowFixture::SetUp());
    GetSettings().bDelConfirm = false;
    // Group "一组" with the tags "甲" (a link with a chord) and "乙"; group "二组" with "丙".
    LinkStore& store = GetLinkStore();
    ASSERT_TRUE(store.Open());
    auto group = store.topGroups.at(0);
    group->NAME = L"一组";
    ASSERT_TRUE(store.SaveGroup(group));
    group->tags.at(0)->NAME = L"甲";
    ASSERT_TRUE(store.SaveGroup(group->tags.at(0)));
    auto link = NewLink(L"记事本", L"C:\\windows\\notepad.exe");
    link->HotKey = kChord;
    ASSERT_TRUE(store.AddLink(group->tags.at(0), link));
    ASSERT_TRUE(store.AddTag(group, NewTag(L"乙")));
    auto second = NewTag(L"二组");
    ASSERT_TRUE(store.AddGroup(second));
    ASSERT_TRUE(store.AddTag(second, NewTag(L"丙")));
    OpenWindowOverStore();
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
  POINT OnGroup(int index) { return ItemPoint(window_->GroupList(), index); }
  POINT OnTag(int index) { return ItemPoint(window_->TagList(), index); }
  // The group list's empty part, right of its items.
  POINT EmptyGroupListPoint() {
    const RECT rc = window_->GroupList()->GetPos();
    return POINT{rc.right - 8, (rc.top + rc.bottom) / 2};
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

TEST_F(GroupMenuDialogsTest, ANameLongerThanTheNameFieldHoldsIsProposedWholeAndKeptByEnter) {
  std::wstring name;
  while (name.size() < 100000) name += L"快速启动记事本计算器和画图";
  name.resize(100000);
  auto group = GetLinkStore().topGroups.at(0);
  group->NAME = name;
  ASSERT_TRUE(GetLinkStore().SaveGroup(group));
  group->tags.at(0)->NAME = name + L"甲";
  ASSERT_TRUE(GetLinkStore().SaveGroup(group->tags.at(0)));
  Restart();
  Choose(OnGroup(0), {L"rename_group"}, AnswerName(nullptr, L""));
  Choose(OnTag(0), {L"rename_tag"}, AnswerName(nullptr, L""));
  Restart();
  EXPECT_TRUE(GetLinkStore().topGroups.at(0)->NAME == name) << GetLinkStore().topGroups.at(0)->NAME.size();
  EXPECT_TRUE(TagNames(0).at(0) == name + L"甲") << TagNames(0).at(0).size();
}

TEST_F(GroupMenuDialogsTest, TheNameDialogClosedWithItsCaptionButtonIsGoneAndNamesNothing) {
  std::weak_ptr<nbase::WeakFlag> alive;
  bool seen = false;
  Choose(EmptyGroupListPoint(), {L"new_group"},
         Steps{[&](CDialogWnd& d) {
           seen = true;
           alive = d.GetWeakFlag();
           dialog_test::Type(d, L"不要");
         },
               [](CDialogWnd& d) { dialog_test::Click(d, L"closebtn"); }});
  ASSERT_TRUE(seen) << "the name dialog opened";
  EXPECT_TRUE(alive.expired()) << "the closed dialog was deleted";
  EXPECT_EQ(GroupNames(), (Names{L"一组", L"二组"}));
  EXPECT_EQ(window_->GroupList()->GetCount(), 2);
  EXPECT_EQ(window_->LastNotice(), L"");
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
