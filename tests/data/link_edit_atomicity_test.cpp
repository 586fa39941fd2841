// Every change of the link store that writes several rows is one transaction: when a
// statement fails in the middle (a trigger refuses a row, another connection holds
// the file) or the process dies in the middle, the file holds the old tree, and
// memory still matches the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "data/link_store.h"
#include "tests/data/link_db_fixture.h"
#include "tests/support/test_support.h"

namespace {

using pexo_test::CreateLinkDb;
using pexo_test::DumpFile;
using pexo_test::DumpTree;
using pexo_test::RawLinkDb;
using pexo_test::SampleLinkId;
using pexo_test::SampleTagId;
using pexo_test::SampleTreeSql;
using pexo_test::TempDir;

// An edit and the trigger that makes one of its statements fail part-way through.
struct FailingEdit {
  const char* name;
  const char* trigger;
  std::function<bool(LinkStore&)> edit;
  // The all-rows view edits leave top-level groups' values in memory until reload.
  bool memoryHoldsEveryRow = true;
};

std::string Refuse(const std::string& when, const char* action = "ABORT") {
  return "CREATE TRIGGER refuse " + when + " BEGIN SELECT RAISE(" + action + ", 'refused by test'); END;";
}

const int32_t kTag11 = SampleTagId(1, 1);
const int32_t kTag12 = SampleTagId(1, 2);
const int32_t kTag21 = SampleTagId(2, 1);

const FailingEdit kFailingEdits[] = {
    {"MoveLinkWithinTag", "BEFORE UPDATE OF POS ON Links WHEN NEW.ID = 111004",
     [](LinkStore& s) { return s.MoveLink(s.FindGroup(kTag11), 0, 5); }},
    {"MoveLinkToTagFailingInTheTarget", "BEFORE UPDATE ON Links WHEN NEW.ParentGroup = 112",
     [](LinkStore& s) { return s.MoveLinkToTag(s.FindGroup(kTag11), s.FindGroup(kTag11)->links[0], kTag12); }},
    {"DeleteLinkFailingInTheRenumbering", "BEFORE UPDATE OF POS ON Links WHEN NEW.ID = 111005",
     [](LinkStore& s) { return s.DeleteLink(s.FindGroup(kTag11), s.FindGroup(kTag11)->links[2]); }},
    {"MoveGroupDown", "BEFORE UPDATE OF POS ON Groups WHEN NEW.ID = 1",
     [](LinkStore& s) { return s.MoveGroupDown(0); }},
    {"MoveTagUp", "BEFORE UPDATE OF POS ON Groups WHEN NEW.ID = 112",
     [](LinkStore& s) { return s.MoveTagUp(s.FindGroup(1), 2); }},
    {"MoveTagToGroupFailingInTheTarget", "BEFORE UPDATE OF POS ON Groups WHEN NEW.ID = 111 AND NEW.POS = 3",
     [](LinkStore& s) { return s.MoveTagToGroup(s.FindGroup(1), 0, 2); }},
    {"MoveTagToGroupFailingInTheSource", "BEFORE UPDATE OF POS ON Groups WHEN NEW.ID = 113",
     [](LinkStore& s) { return s.MoveTagToGroup(s.FindGroup(1), 0, 2); }},
    {"ClearTag", "BEFORE DELETE ON Links WHEN OLD.ID = 111003",
     [](LinkStore& s) { return s.ClearTag(s.FindGroup(kTag11)); }},
    {"DeleteTagFailingOnItsRow", "BEFORE DELETE ON Groups WHEN OLD.ID = 111",
     [](LinkStore& s) { return s.DeleteTag(s.FindGroup(1), 0); }},
    {"DeleteTagFailingInTheRenumbering", "BEFORE UPDATE OF POS ON Groups WHEN NEW.ID = 113",
     [](LinkStore& s) { return s.DeleteTag(s.FindGroup(1), 0); }},
    {"DeleteGroupFailingInItsSecondTag", "BEFORE DELETE ON Links WHEN OLD.ParentGroup = 112",
     [](LinkStore& s) { return s.DeleteGroup(0); }},
    {"DeleteGroupFailingOnItsRow", "BEFORE DELETE ON Groups WHEN OLD.ID = 1",
     [](LinkStore& s) { return s.DeleteGroup(0); }},
    {"DeleteGroupFailingInTheRenumbering", "BEFORE UPDATE OF POS ON Groups WHEN NEW.ID = 3",
     [](LinkStore& s) { return s.DeleteGroup(0); }},
    {"SetAllIconSize", "BEFORE UPDATE OF ICONSIZE ON Groups WHEN NEW.ID = 113",
     [](LinkStore& s) { return s.SetAllIconSize(kIconSize48); }, false},
    {"SetAllLayout", "BEFORE UPDATE OF LAYOUT ON Groups WHEN NEW.ID = 122",
     [](LinkStore& s) { return s.SetAllLayout(kLayoutList); }, false},
};

class LinkEditAtomicityTest : public ::testing::TestWithParam<FailingEdit> {
 protected:
  // Three groups of three tags of six links.
  void SetUp() override {
    ASSERT_TRUE(CreateLinkDb(path_, SampleTreeSql(3, 3, 6)));
    ASSERT_TRUE(store_.Open(path_));
    before_ = DumpTree(store_);
    ASSERT_EQ(before_, DumpFile(path_));
  }

  // Runs the edit, which must fail; then memory and the file must both hold the tree
  // as it was before.
  void ExpectFailureChangesNothing(const FailingEdit& failing) {
    ::testing::internal::CaptureStderr();
    const bool result = failing.edit(store_);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(result);
    EXPECT_NE(errors.find("SQL error: "), std::string::npos) << errors;
    EXPECT_EQ(DumpTree(store_), before_);
    EXPECT_EQ(DumpFile(path_), before_);
  }

  TempDir dir_;
  std::wstring path_ = dir_.File(L"link.db");
  LinkStore store_;
  std::string before_;
};

TEST_P(LinkEditAtomicityTest, AStatementRefusedHalfwayLeavesTheOldTreeInTheFileAndInMemory) {
  const FailingEdit& failing = GetParam();
  {
    RawLinkDb raw(path_);
    ASSERT_TRUE(raw.Exec(Refuse(failing.trigger)));
  }
  ExpectFailureChangesNothing(failing);

  // Once the file accepts it again, the same edit goes through and memory still
  // matches the file: nothing was left half-done in either.
  {
    RawLinkDb raw(path_);
    ASSERT_TRUE(raw.Exec("DROP TRIGGER refuse"));
  }
  EXPECT_TRUE(failing.edit(store_));
  EXPECT_NE(DumpTree(store_), before_);
  if (failing.memoryHoldsEveryRow) {
    EXPECT_EQ(DumpTree(store_), DumpFile(path_));
  }
}

TEST_P(LinkEditAtomicityTest, ATriggerThatRollsBackItselfLeavesNoTransactionOpen) {
  const FailingEdit& failing = GetParam();
  {
    RawLinkDb raw(path_);
    ASSERT_TRUE(raw.Exec(Refuse(failing.trigger, "ROLLBACK")));
  }
  ExpectFailureChangesNothing(failing);
  EXPECT_TRUE(sqlite3_get_autocommit(store_.connection)) << "a transaction was left open";
}

TEST_P(LinkEditAtomicityTest, AFileLockedByAnotherProgramIsLeftAlone) {
  RawLinkDb other(path_);
  ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE"));
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(GetParam().edit(store_));
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(DumpTree(store_), before_);
  ASSERT_TRUE(other.Exec("ROLLBACK"));
  EXPECT_EQ(DumpFile(path_), before_);
  EXPECT_TRUE(sqlite3_get_autocommit(store_.connection));
}

INSTANTIATE_TEST_SUITE_P(Edits, LinkEditAtomicityTest, ::testing::ValuesIn(kFailingEdits),
                         [](const ::testing::TestParamInfo<FailingEdit>& info) { return info.param.name; });

// A refused row statement of a single-row operation only reports false.
TEST(LinkEditSingleRowTest, RefusedSingleRowWritesFailQuietly) {
  TempDir dir;
  const std::wstring path = dir.File(L"link.db");
  ASSERT_TRUE(CreateLinkDb(path, SampleTreeSql(1, 1, 2)));
  LinkStore store;
  ASSERT_TRUE(store.Open(path));
  {
    RawLinkDb raw(path);
    ASSERT_TRUE(raw.Exec(Refuse("BEFORE UPDATE ON Links")));
    ASSERT_TRUE(raw.Exec("CREATE TRIGGER refuse_groups BEFORE UPDATE ON Groups BEGIN SELECT RAISE(ABORT, 'no'); END;"));
  }
  auto link = store.FindLink(SampleLinkId(kTag11, 0));
  ::testing::internal::CaptureStderr();
  ++link->RunCount;
  EXPECT_FALSE(store.SaveRunCount(link));
  EXPECT_FALSE(store.SaveLink(link));
  EXPECT_FALSE(store.SaveLinkIcon(link));
  EXPECT_FALSE(store.SaveGroup(store.FindGroup(1)));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// A single-row write refused while another program held the file leaves no
// statement of its own running: once the file is free, every edit works again,
// those in a transaction of their own first of all.
TEST(LinkEditSingleRowTest, WritesRefusedWhileTheFileWasHeldLeaveLaterTransactionsFree) {
  TempDir dir;
  const std::wstring path = dir.File(L"link.db");
  ASSERT_TRUE(CreateLinkDb(path, SampleTreeSql(1, 2, 2)));
  LinkStore store;
  ASSERT_TRUE(store.Open(path));
  auto link = store.FindLink(SampleLinkId(kTag11, 0));
  auto tag = store.FindGroup(kTag11);
  ASSERT_TRUE(link && tag);
  {
    RawLinkDb other(path);
    ASSERT_TRUE(other.Exec("BEGIN EXCLUSIVE"));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(store.SaveRunCount(link));
    EXPECT_FALSE(store.SaveLink(link));
    EXPECT_FALSE(store.SaveLinkIcon(link));
    EXPECT_FALSE(store.SaveGroup(tag));
    ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(other.Exec("ROLLBACK"));
  }
  const auto group = store.topGroups.at(0);
  EXPECT_TRUE(store.MoveTagDown(group, 0)) << "a transaction after the refused writes";
  EXPECT_TRUE(store.DeleteTag(group, 1));
  EXPECT_TRUE(sqlite3_get_autocommit(store.connection));
  EXPECT_EQ(DumpTree(store), DumpFile(path));
}

// A reader that holds the file for a moment (a backup, a sync client) does not
// make a write fail: the write waits for it to let go.
TEST(LinkEditSingleRowTest, AWriteWaitsForAReaderThatLetsGoSoon) {
  TempDir dir;
  const std::wstring path = dir.File(L"link.db");
  ASSERT_TRUE(CreateLinkDb(path, SampleTreeSql(1, 2, 2)));
  LinkStore store;
  ASSERT_TRUE(store.Open(path));
  auto tag = store.FindGroup(kTag11);
  ASSERT_TRUE(tag);
  tag->Content = L"kept while another reads";
  RawLinkDb other(path);
  ASSERT_TRUE(other.Exec("BEGIN"));
  ASSERT_TRUE(other.Exec("SELECT count(*) FROM Groups"));  // a shared lock, as a reader holds it
  std::thread reader([&] {
    Sleep(60);
    other.Exec("COMMIT");
  });
  EXPECT_TRUE(store.SaveGroup(tag)) << "a write was refused while a reader held the file for 60 ms";
  reader.join();
  EXPECT_EQ(DumpTree(store), DumpFile(path));
}

// ---- a process killed in the middle of a transaction ----

std::wstring HelperPath() { return pexo_test::ExeFolder() + L"\\link_store_crash_helper.exe"; }

// Starts the helper on the file, waits until it stops inside the transaction, kills it.
void KillHelperHalfway(const std::wstring& path, const std::wstring& edit) {
  const std::wstring eventName = L"PexoCrashTest_" + std::to_wstring(GetCurrentProcessId()) + L"_" + edit;
  HANDLE reached = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
  ASSERT_NE(reached, nullptr);
  std::wstring command = L"\"" + HelperPath() + L"\" \"" + path + L"\" " + eventName + L" " + edit;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      << GetLastError();
  HANDLE waits[] = {reached, process.hProcess};
  const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, 60000);
  EXPECT_EQ(woke, WAIT_OBJECT_0) << "the helper did not reach the middle of its transaction";
  TerminateProcess(process.hProcess, 9);
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CloseHandle(reached);
}

class LinkEditCrashTest : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(LinkEditCrashTest, AKilledProcessLeavesTheOldTree) {
  if (GetFileAttributesW(HelperPath().c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "helper not built";
  TempDir dir;
  const std::wstring path = dir.File(L"link.db");
  // Many links per tag, so that the transaction outgrows the helper's small page cache
  // and changed pages reach the file before the process dies.
  ASSERT_TRUE(CreateLinkDb(path, SampleTreeSql(3, 3, 400)));
  const std::string before = DumpFile(path);
  ASSERT_FALSE(before.empty());

  KillHelperHalfway(path, GetParam());
  // The helper died with its changes begun: the rollback journal is still there.
  EXPECT_NE(GetFileAttributesW((path + L"-journal").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(DumpFile(path), before);
  RawLinkDb raw(path);
  EXPECT_EQ(raw.Value("pragma integrity_check"), "ok");
}

INSTANTIATE_TEST_SUITE_P(Edits, LinkEditCrashTest,
                         ::testing::Values(L"move-link", L"move-link-to-tag", L"delete-group", L"move-group"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           std::string name;
                           for (const wchar_t* c = info.param; *c; ++c) {
                             if (*c != L'-') name += static_cast<char>(*c);
                           }
                           return name;
                         });

}  // namespace
