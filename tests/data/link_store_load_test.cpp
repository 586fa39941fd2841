// What the link store loads is exactly what the file holds: every field of every
// row, whatever its text, in the order the lists keep.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/initials.h"
#include "data/link_store.h"
#include "data/sqlite_support.h"
#include "sqlite3.h"
#include "tests/data/link_db_fixture.h"
#include "tests/support/test_support.h"
#include "ui/base/string_util.h"

namespace {

using pexo_test::RawLinkDb;
using pexo_test::TempDir;

// One stored value: NULL, an integer, a real, UTF-8 text (any bytes, zeros
// included) or a blob.
struct Value {
  enum Kind { kNull, kInteger, kReal, kText, kBlob } kind = kNull;
  sqlite3_int64 integer = 0;
  double real = 0;
  std::string bytes;
};
Value Null() { return {}; }
Value Int(sqlite3_int64 value) { return {Value::kInteger, value, 0, {}}; }
Value Real(double value) { return {Value::kReal, 0, value, {}}; }
Value Text(const std::string& bytes) { return {Value::kText, 0, 0, bytes}; }
Value Text(const std::wstring& text) { return Text(ToUtf8(text)); }
Value Blob(const std::string& bytes) { return {Value::kBlob, 0, 0, bytes}; }

// Inserts one row with every value bound, so that any bytes reach the file as they are.
bool InsertRow(sqlite3* db, const std::string& sql, const std::vector<Value>& values) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) return false;
  for (int i = 0; i < static_cast<int>(values.size()); ++i) {
    const Value& v = values[static_cast<size_t>(i)];
    const int size = static_cast<int>(v.bytes.size());
    switch (v.kind) {
      case Value::kNull: sqlite3_bind_null(statement, i + 1); break;
      case Value::kInteger: sqlite3_bind_int64(statement, i + 1, v.integer); break;
      case Value::kReal: sqlite3_bind_double(statement, i + 1, v.real); break;
      case Value::kText: sqlite3_bind_text(statement, i + 1, v.bytes.data(), size, SQLITE_TRANSIENT); break;
      case Value::kBlob: sqlite3_bind_blob(statement, i + 1, v.bytes.data(), size, SQLITE_TRANSIENT); break;
    }
  }
  const bool done = sqlite3_step(statement) == SQLITE_DONE;
  sqlite3_finalize(statement);
  return done;
}

const char kInsertGroup[] =
    "INSERT INTO Groups(ID,NAME,TYPE,SORT,POS,ParentGroup,ICON,LAYOUT,ICONSIZE,FLAG,Content) "
    "VALUES (?,?,?,?,?,?,?,?,?,?,?)";
const char kInsertLink[] =
    "INSERT INTO Links(ID,NAME,POS,RunCount,ParentGroup,TYPE,ICON,PATH,Parameter,WorkDir,HotKey,ShowCmd,"
    "IsAdmin,IsCustomColor,CustomColor,Remark,Pidl) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";

// The platform's reading of damaged UTF-8: what a load must give for it.
std::wstring PlatformWiden(const std::string& bytes) {
  std::wstring out;
  WidenStringCounted(bytes, out, kCodePageUtf8);
  return out;
}

class LinkStoreLoadTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pexo_test::CreateLinkDb(path_, "")); }

  bool Open() {
    ::testing::internal::CaptureStderr();
    const bool opened = store_.Open(path_);
    errors_ = ::testing::internal::GetCapturedStderr();
    return opened;
  }

  TempDir dir_;
  std::wstring path_ = dir_.File(L"link.db");
  LinkStore store_;
  std::string errors_;
};

TEST_F(LinkStoreLoadTest, EveryFieldOfEveryKindOfTextLoadsAsStored) {
  const std::wstring longText = [] {
    std::wstring text;
    for (int i = 0; i < 100000; ++i) text += L"a中😀 "[i % 5];  // the emoji takes two units
    return text;
  }();
  const std::string damaged = "bad \xE5\xBE \xC0\x80 \xED\xA0\x80 end";
  const std::string pidl(300, '\x07');
  {
    RawLinkDb raw(path_);
    sqlite3* db = raw.get();
    // Numbers of the Groups table stored as text, reals and beyond 32 bits are read as
    // their text spells them, cut to 32 bits.
    ASSERT_TRUE(InsertRow(db, kInsertGroup,
                          {Int(1), Text(L"分组 😀"), Int(0), Int(0), Int(0), Int(0), Text(L"#group"), Text("1"),
                           Real(2.9), Int(4294967297LL), Null()}));
    ASSERT_TRUE(InsertRow(db, kInsertGroup,
                          {Int(2), Text(std::string("标签\0after", 12)), Int(0), Text(" 2"), Int(1), Int(1),
                           Null(), Null(), Text("12abc"), Int(-5), Text(longText)}));
    ASSERT_TRUE(InsertRow(db, kInsertGroup,
                          {Int(3), Text(damaged), Int(0), Int(0), Int(0), Int(1), Text(L""), Int(1), Int(1),
                           Int(0), Text(L"")}));
    // Rows of the two tags follow each other in ID order, with left-out rows between:
    // each row is attached to its own tag.
    const std::vector<std::vector<Value>> links = {
        {Int(10), Text(L"微信 Pro 😀"), Int(2), Int(42), Int(2), Int(7), Text(L"#.txt"), Text(longText),
         Text(L"--flag \"é\""), Text(L"D:\\工作"), Int(0x0341), Int(3), Int(1), Int(1), Text(L"#ff112233"),
         Text(L"常用软件"), Blob(pidl)},
        {Int(11), Text(L""), Int(0), Int(0), Int(3), Int(0), Text(L""), Text(L""), Text(L""), Text(L""), Int(0),
         Int(0), Int(0), Int(0), Null(), Null(), Null()},
        {Int(12), Text(damaged), Int(0), Int(1), Int(2), Int(0), Text(L"*.pdf"),
         Text(std::string("C:\\a\0b.exe", 10)), Text(L""), Text(L""), Int(0), Int(0), Int(0), Int(0), Text(L""),
         Text(damaged), Null()},
        {Int(13), Text(L"dangling"), Int(0), Int(0), Int(99), Int(0), Text(L""), Text(L""), Text(L""), Text(L""),
         Int(0), Int(0), Int(0), Int(0), Null(), Null(), Null()},
        {Int(14), Text(L"in a group"), Int(0), Int(0), Int(1), Int(0), Text(L""), Text(L""), Text(L""),
         Text(L""), Int(0), Int(0), Int(0), Int(0), Null(), Null(), Null()},
        {Int(15), Text(L"记事本"), Int(1), Int(7), Int(2), Int(3), Text(L""), Text(L"notepad.exe"), Text(L""),
         Text(L""), Int(0), Int(0), Int(0), Int(0), Null(), Text(std::wstring(3000, L'长')), Null()},
        {Int(16), Text(L"second"), Int(1), Int(0), Int(3), Int(0), Text(L"#."), Text(L"x"), Text(L""), Text(L""),
         Int(0), Int(0), Int(2), Int(0), Null(), Null(), Blob("")},
    };
    for (const auto& row : links) ASSERT_TRUE(InsertRow(db, kInsertLink, row));
  }
  ASSERT_TRUE(Open()) << errors_;
  EXPECT_EQ(errors_, "");

  // Groups and tags.
  ASSERT_EQ(store_.topGroups.size(), 1u);
  const auto group = store_.topGroups[0];
  EXPECT_EQ(group->NAME, L"分组 😀");
  EXPECT_EQ(group->ICON, L"#group");
  EXPECT_EQ(group->LAYOUT, 1);
  EXPECT_EQ(group->ICONSIZE, 2);
  EXPECT_EQ(group->FLAG, 1);
  EXPECT_EQ(group->Content, L"");
  ASSERT_EQ(group->tags.size(), 2u);
  const auto tag = group->tags[0];  // POS 0
  const auto note = group->tags[1];
  EXPECT_EQ(tag->ID, 3);
  EXPECT_EQ(tag->NAME, PlatformWiden(damaged));
  EXPECT_EQ(note->ID, 2);
  EXPECT_EQ(note->NAME, L"标签");  // a group's text ends at a zero inside it
  EXPECT_EQ(note->SORT, 2);
  EXPECT_EQ(note->LAYOUT, 0);
  EXPECT_EQ(note->ICONSIZE, 12);
  EXPECT_EQ(note->FLAG, -5);
  EXPECT_EQ(note->Content, longText);
  EXPECT_EQ(store_.maxGroupId, 3);

  // Links, each tag's in (POS, ID) order.
  ASSERT_EQ(note->links.size(), 3u);
  ASSERT_EQ(tag->links.size(), 2u);
  EXPECT_EQ(note->links[0]->ID, 12);
  EXPECT_EQ(note->links[1]->ID, 15);
  EXPECT_EQ(note->links[2]->ID, 10);
  EXPECT_EQ(tag->links[0]->ID, 11);
  EXPECT_EQ(tag->links[1]->ID, 16);
  for (const auto& link : note->links) EXPECT_EQ(link->group.lock(), note) << link->ID;
  for (const auto& link : tag->links) EXPECT_EQ(link->group.lock(), tag) << link->ID;

  const auto& full = *note->links[2];
  EXPECT_EQ(full.NAME, L"微信 Pro 😀");
  EXPECT_EQ(full.nameInitials, L"wx pro 😀");
  EXPECT_EQ(full.POS, 2);
  EXPECT_EQ(full.RunCount, 42);
  EXPECT_EQ(full.ParentGroup, 2);
  EXPECT_EQ(full.TYPE, 7);
  EXPECT_EQ(full.ICON, L"*.txt");  // old file-type icon names are read in today's form
  EXPECT_EQ(full.PATH, longText);
  EXPECT_EQ(full.Parameter, L"--flag \"é\"");
  EXPECT_EQ(full.WorkDir, L"D:\\工作");
  EXPECT_EQ(full.HotKey, 0x0341);
  EXPECT_EQ(full.ShowCmd, 0);  // written on insert only
  EXPECT_TRUE(full.IsAdmin);
  EXPECT_EQ(full.CustomColor, L"#ff112233");
  EXPECT_EQ(full.Remark, L"常用软件");
  EXPECT_EQ(full.remarkInitials, L"cyrj");
  EXPECT_EQ(full.Pidl, std::vector<uint8_t>(pidl.begin(), pidl.end()));

  const auto& bad = *note->links[0];
  EXPECT_EQ(bad.NAME, PlatformWiden(damaged));
  EXPECT_EQ(bad.Remark, PlatformWiden(damaged));
  EXPECT_EQ(bad.nameInitials, MakeInitialsKey(bad.NAME));
  EXPECT_EQ(bad.ICON, L"*.pdf");
  EXPECT_EQ(bad.PATH, std::wstring(L"C:\\a\0b.exe", 10));  // a link's text keeps a zero inside it

  const auto& empty = *tag->links[0];
  for (const std::wstring* text : {&empty.NAME, &empty.ICON, &empty.PATH, &empty.Parameter, &empty.WorkDir,
                                   &empty.CustomColor, &empty.Remark}) {
    EXPECT_EQ(*text, L"");
  }
  EXPECT_TRUE(empty.nameInitials.empty());
  EXPECT_TRUE(empty.remarkInitials.empty());
  EXPECT_TRUE(empty.Pidl.empty());
  EXPECT_EQ(tag->links[1]->ICON, L"#.");  // too short to be a file-type name
  EXPECT_TRUE(tag->links[1]->IsAdmin);
  EXPECT_EQ(note->links[1]->Remark, std::wstring(3000, L'长'));
  EXPECT_EQ(note->links[1]->remarkInitials, std::wstring(3000, L'c'));

  // The ID index holds exactly the attached links, in ID order; left-out rows still
  // count for the next ID.
  std::vector<int32_t> ids;
  for (const auto& [id, link] : store_.linksById) {
    ASSERT_FALSE(link.expired()) << id;
    EXPECT_EQ(link.lock()->ID, id);
    ids.push_back(id);
  }
  EXPECT_EQ(ids, (std::vector<int32_t>{10, 11, 12, 15, 16}));
  EXPECT_EQ(store_.FindLink(13), nullptr);
  EXPECT_EQ(store_.FindLink(14), nullptr);
  EXPECT_EQ(store_.maxLinkId, 16);

  // A second load of the same file gives the same tree.
  const std::string first = pexo_test::DumpTree(store_);
  store_.Close();
  ASSERT_TRUE(Open()) << errors_;
  EXPECT_EQ(pexo_test::DumpTree(store_), first);
}

// What the store writes through its own edits comes back whole from the file.
TEST_F(LinkStoreLoadTest, LinksAddedAndEditedByTheStoreLoadBackWhole) {
  ASSERT_TRUE(InsertRow(RawLinkDb(path_).get(), kInsertGroup,
                        {Int(1), Text(L"g"), Int(0), Int(0), Int(0), Int(0), Null(), Int(0), Int(0), Int(0), Null()}));
  {
    RawLinkDb raw(path_);
    ASSERT_TRUE(InsertRow(raw.get(), kInsertGroup,
                          {Int(2), Text(L"t"), Int(0), Int(0), Int(0), Int(1), Null(), Int(0), Int(0), Int(0),
                           Null()}));
  }
  ASSERT_TRUE(Open()) << errors_;
  const auto tag = store_.topGroups[0]->tags[0];
  for (int i = 0; i < 300; ++i) {
    auto link = std::make_shared<Link>();
    link->NAME = L"链接 " + std::to_wstring(i) + (i % 7 ? L"" : L" 😀");
    link->PATH = L"D:\\程序\\" + std::wstring(static_cast<size_t>(i * 13), L'p') + L".exe";
    link->Parameter = i % 3 ? L"" : L"/x \"y\"";
    link->WorkDir = i % 5 ? L"" : L"D:\\工作";
    link->ICON = i % 4 ? L"" : L"*.exe";
    link->Remark = i % 2 ? std::wstring(static_cast<size_t>(i * 7), L'备') : L"";
    link->CustomColor = i % 6 ? L"" : L"#ff00ff00";
    link->IsAdmin = i % 9 == 0;
    ASSERT_TRUE(store_.AddLink(tag, link)) << i;
    if (i % 10 == 0) {
      link->RunCount = i;
      link->NAME += L" 改";
      ASSERT_TRUE(store_.SaveLink(link)) << i;
    }
  }
  const std::string written = pexo_test::DumpTree(store_);
  store_.Close();
  ASSERT_TRUE(Open()) << errors_;
  EXPECT_EQ(pexo_test::DumpTree(store_), written);
  ASSERT_EQ(store_.linksById.size(), 300u);
  for (const auto& link : store_.topGroups[0]->tags[0]->links) {
    EXPECT_EQ(link->nameInitials, MakeInitialsKey(link->NAME)) << link->ID;
    EXPECT_EQ(link->remarkInitials, MakeInitialsKey(link->Remark)) << link->ID;
  }
}

}  // namespace
