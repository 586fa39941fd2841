#include "ui/base/markup_parser.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "ui/base/ui_globals.h"

using ui::MarkupDocument;
using ui::MarkupNode;

namespace {

struct Failure {
  std::wstring message;
  std::wstring location;
};

Failure ParseFailure(const std::wstring& xml) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.Load(xml.c_str())) << "should fail: " << std::string(xml.begin(), xml.end());
  EXPECT_FALSE(doc.GetRoot().IsValid());
  return {doc.GetLastErrorMessage(), doc.GetLastErrorLocation()};
}

std::vector<std::wstring> ChildNames(MarkupNode node) {
  std::vector<std::wstring> names;
  for (MarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
    names.push_back(child.GetName());
  }
  return names;
}

TEST(MarkupParserTest, TreeNamesAttributesChildrenAndSiblings) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.Load(
      L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- skin -->\n"
      L"<Window size=\"300,200\" caption = \"0,0,0,30\">\n"
      L"  <VBox><Label name=\"title\" text=\"Hi\"/><Button name=\"ok\" /></VBox>\n"
      L"  <ns:Item a_b=\"\">text</ns:Item>\n"
      L"</Window>\n"));
  MarkupNode root = doc.GetRoot();
  ASSERT_TRUE(root.IsValid());
  EXPECT_STREQ(root.GetName(), L"Window");
  ASSERT_EQ(root.GetAttributeCount(), 2);
  EXPECT_STREQ(root.GetAttributeName(0), L"size");
  EXPECT_STREQ(root.GetAttributeValue(0), L"300,200");
  EXPECT_STREQ(root.GetAttributeName(1), L"caption");
  EXPECT_STREQ(root.GetAttributeValue(1), L"0,0,0,30");
  EXPECT_STREQ(root.GetAttributeValue(2), L"");
  EXPECT_STREQ(root.GetAttributeName(-1), L"");

  EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{L"VBox", L"ns:Item"}));
  MarkupNode vbox = root.GetChild();
  EXPECT_EQ(vbox.GetAttributeCount(), 0);
  EXPECT_EQ(ChildNames(vbox), (std::vector<std::wstring>{L"Label", L"Button"}));
  MarkupNode label = vbox.GetChild();
  ASSERT_EQ(label.GetAttributeCount(), 2);
  EXPECT_STREQ(label.GetAttributeValue(0), L"title");
  EXPECT_STREQ(label.GetAttributeName(1), L"text");
  EXPECT_STREQ(label.GetAttributeValue(1), L"Hi");
  MarkupNode button = label.GetSibling();
  ASSERT_EQ(button.GetAttributeCount(), 1);
  EXPECT_STREQ(button.GetAttributeValue(0), L"ok");
  EXPECT_FALSE(button.GetChild().IsValid());
  EXPECT_FALSE(button.GetSibling().IsValid());

  MarkupNode item = vbox.GetSibling();
  ASSERT_EQ(item.GetAttributeCount(), 1);
  EXPECT_STREQ(item.GetAttributeName(0), L"a_b");
  EXPECT_STREQ(item.GetAttributeValue(0), L"");
}

TEST(MarkupParserTest, InvalidNodesAnswerSafely) {
  MarkupNode node;
  EXPECT_FALSE(node.IsValid());
  EXPECT_EQ(node.GetName(), nullptr);
  EXPECT_EQ(node.GetAttributeCount(), 0);
  EXPECT_EQ(node.GetAttributeName(0), nullptr);
  EXPECT_EQ(node.GetAttributeValue(0), nullptr);
  EXPECT_FALSE(node.GetChild().IsValid());
  EXPECT_FALSE(node.GetSibling().IsValid());

  MarkupDocument empty;
  EXPECT_FALSE(empty.GetRoot().IsValid());
}

TEST(MarkupParserTest, WhitespaceOrCommentOnlyDocumentsHaveNoRoot) {
  for (const wchar_t* text : {L"", L"  \r\n\t ", L"<!-- nothing here -->", L"<?xml version=\"1.0\"?>  "}) {
    MarkupDocument doc;
    EXPECT_TRUE(doc.Load(text));
    EXPECT_FALSE(doc.GetRoot().IsValid());
  }
}

TEST(MarkupParserTest, EmptyElementsWithAndWithoutSpace) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.Load(L"<a><b/><c /><d x=\"1\"/><e x=\"2\" /></a>"));
  MarkupNode root = doc.GetRoot();
  EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{L"b", L"c", L"d", L"e"}));
  MarkupNode d = root.GetChild().GetSibling().GetSibling();
  ASSERT_EQ(d.GetAttributeCount(), 1);
  EXPECT_STREQ(d.GetAttributeValue(0), L"1");
  MarkupNode e = d.GetSibling();
  ASSERT_EQ(e.GetAttributeCount(), 1);
  EXPECT_STREQ(e.GetAttributeValue(0), L"2");
  for (MarkupNode n = root.GetChild(); n.IsValid(); n = n.GetSibling()) EXPECT_FALSE(n.GetChild().IsValid());
}

TEST(MarkupParserTest, EntitiesDecodeOnceAndNumericReferencesStay) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.Load(
      L"<a v=\"&amp;lt;\" w=\"&lt;&gt;&quot;&apos;&amp;\" x=\"&#65; &unknown; &\" y=\"after\"/>"));
  MarkupNode root = doc.GetRoot();
  ASSERT_EQ(root.GetAttributeCount(), 4);
  EXPECT_STREQ(root.GetAttributeValue(0), L"&lt;");
  EXPECT_STREQ(root.GetAttributeValue(1), L"<>\"'&");
  EXPECT_STREQ(root.GetAttributeValue(2), L"&#65; &unknown; &");
  EXPECT_STREQ(root.GetAttributeName(3), L"y");
  EXPECT_STREQ(root.GetAttributeValue(3), L"after");
}

TEST(MarkupParserTest, OnlyTheFirst64AttributesAreExposed) {
  std::wstring xml = L"<a";
  for (int i = 0; i < 70; ++i) xml += L" k" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
  xml += L"/>";
  MarkupDocument doc;
  ASSERT_TRUE(doc.Load(xml.c_str()));
  MarkupNode root = doc.GetRoot();
  ASSERT_EQ(root.GetAttributeCount(), 64);
  EXPECT_STREQ(root.GetAttributeName(63), L"k63");
  EXPECT_STREQ(root.GetAttributeValue(63), L"v63");
  EXPECT_STREQ(root.GetAttributeValue(64), L"");
}

TEST(MarkupParserTest, UnclosedRootAndDirectChildrenAreAccepted) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.Load(L"<root a=\"1\"><child b=\"2\">text"));
  MarkupNode root = doc.GetRoot();
  EXPECT_STREQ(root.GetName(), L"root");
  ASSERT_EQ(root.GetAttributeCount(), 1);
  EXPECT_STREQ(root.GetAttributeValue(0), L"1");
  MarkupNode child = root.GetChild();
  EXPECT_STREQ(child.GetName(), L"child");
  ASSERT_EQ(child.GetAttributeCount(), 1);
  EXPECT_STREQ(child.GetAttributeValue(0), L"2");

  ASSERT_TRUE(doc.Load(L"<root>"));
  EXPECT_STREQ(doc.GetRoot().GetName(), L"root");

  // Further top-level elements follow the root as its siblings.
  ASSERT_TRUE(doc.Load(L"<a/><b></b>"));
  EXPECT_STREQ(doc.GetRoot().GetSibling().GetName(), L"b");
}

TEST(MarkupParserTest, EveryParseErrorHasItsMessageAndLocation) {
  struct Case {
    const wchar_t* xml;
    const wchar_t* message;
    const wchar_t* location;
  };
  const Case cases[] = {
      {L"text<a/>", L"Expected start tag", L"text<a/>"},
      {L"<a><b/>tail</a>", L"Expected start tag", L"tail</a>"},
      {L"<abc", L"Error parsing element name", L""},
      {L"<a b c=\"1\"/>", L"Error while parsing attributes", L"c=\"1\"/>"},
      {L"<a b='1'/>", L"Expected attribute value", L"1'/>"},
      {L"<a b=", L"Expected attribute value", L""},
      {L"<a b=\"1", L"Error while parsing attribute string", L""},
      {L"<a b=\"1\" c", L"Error while parsing attributes", L""},
      {L"<a b=\"1\" /x>", L"Expected start-tag closing", L"/x>"},
      {L"<a b=\"1\"", L"Expected start-tag closing", L""},
      {L"<a><b></c></a>", L"Unmatched closing tag", L"c></a>"},
      {L"<a><bc></b></a>", L"Unmatched closing tag", L"b></a>"},
      {L"<a><b></bc></a>", L"Unmatched closing tag", L"bc></a>"},
      {L"<a><b><c>text", L"Expected end-tag start", L""},
      {L"<a><b><c/>", L"Expected end-tag start", L""},
  };
  for (const Case& c : cases) {
    Failure failure = ParseFailure(c.xml);
    EXPECT_EQ(failure.message, c.message) << std::string(c.xml, c.xml + wcslen(c.xml));
    EXPECT_EQ(failure.location, c.location) << std::string(c.xml, c.xml + wcslen(c.xml));
  }
}

TEST(MarkupParserTest, ErrorLocationIsCutTo49Characters) {
  Failure failure = ParseFailure(L"x" + std::wstring(200, L'y'));
  EXPECT_EQ(failure.message, L"Expected start tag");
  EXPECT_EQ(failure.location, L"x" + std::wstring(48, L'y'));
}

TEST(MarkupParserTest, ReloadDiscardsThePreviousDocument) {
  MarkupDocument doc(L"<first/>");
  EXPECT_STREQ(doc.GetRoot().GetName(), L"first");
  EXPECT_FALSE(doc.Load(L"<a b='x'/>"));
  EXPECT_FALSE(doc.GetRoot().IsValid());
  ASSERT_TRUE(doc.Load(L"<second/>"));
  EXPECT_STREQ(doc.GetRoot().GetName(), L"second");
  EXPECT_STREQ(doc.GetLastErrorMessage(), L"");
  doc.Release();
  EXPECT_FALSE(doc.GetRoot().IsValid());
}

TEST(MarkupParserTest, EncodingsDecode) {
  const std::string utf8 = "\xEF\xBB\xBF<a t=\"\xE4\xB8\xAD\xE6\x96\x87\"/>";
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFromMemory(utf8.data(), utf8.size(), MarkupDocument::kUtf8));
  MarkupNode root = doc.GetRoot();
  EXPECT_STREQ(root.GetName(), L"a");
  EXPECT_STREQ(root.GetAttributeValue(0), L"\u4e2d\u6587");

  const std::string ansi = "<b x=\"y\"/>";
  ASSERT_TRUE(doc.LoadFromMemory(ansi.data(), ansi.size(), MarkupDocument::kAnsi));
  EXPECT_STREQ(doc.GetRoot().GetName(), L"b");

  std::string le("\xFF\xFE", 2), be("\xFE\xFF", 2), bare;
  for (char ch : std::string("<c d=\"e\"/>")) {
    le += ch;
    le += '\0';
    be += '\0';
    be += ch;
    bare += ch;
    bare += '\0';
  }
  ASSERT_TRUE(doc.LoadFromMemory(le.data(), le.size() + 1, MarkupDocument::kUtf16));  // odd byte ignored
  EXPECT_STREQ(doc.GetRoot().GetName(), L"c");
  ASSERT_TRUE(doc.LoadFromMemory(be.data(), be.size(), 7));
  EXPECT_STREQ(doc.GetRoot().GetName(), L"c");
  EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), L"e");
  EXPECT_FALSE(doc.LoadFromMemory(bare.data(), bare.size(), MarkupDocument::kUtf16));
  EXPECT_FALSE(doc.GetRoot().IsValid());
  EXPECT_FALSE(doc.LoadFromMemory("\xFF", 1, MarkupDocument::kUtf16));
}

TEST(MarkupParserTest, BadBytesNeverCrash) {
  // Invalid UTF-8 sequences are replaced while decoding.
  const std::string bad = "<a v=\"\xC3\x28\xFF\xFE\"/>";
  MarkupDocument doc;
  ASSERT_TRUE(doc.LoadFromMemory(bad.data(), bad.size(), MarkupDocument::kUtf8));
  EXPECT_EQ(doc.GetRoot().GetAttributeCount(), 1);
  // An embedded NUL ends the text.
  const std::string nul("<a>\0<b>", 7);
  EXPECT_TRUE(doc.LoadFromMemory(nul.data(), nul.size(), MarkupDocument::kUtf8));
  EXPECT_FALSE(doc.LoadFromMemory(nullptr, 0, MarkupDocument::kUtf16));
  EXPECT_TRUE(doc.LoadFromMemory(nullptr, 0, MarkupDocument::kUtf8));
  EXPECT_FALSE(doc.GetRoot().IsValid());
}

TEST(MarkupParserTest, TruncationsOfADocumentFailOrParseCleanly) {
  const std::wstring full =
      L"<Window a=\"1&amp;2\"><VBox><Label text=\"x\"/><!-- c --><Box b=\"2\">t</Box></VBox></Window>";
  for (size_t n = 0; n <= full.size(); ++n) {
    MarkupDocument doc;
    std::wstring part = full.substr(0, n);
    if (doc.Load(part.c_str())) {
      // Whatever parsed must be walkable.
      for (MarkupNode node = doc.GetRoot(); node.IsValid(); node = node.GetChild()) {
        for (int i = 0; i < node.GetAttributeCount(); ++i) ASSERT_NE(node.GetAttributeValue(i), nullptr);
      }
    } else {
      EXPECT_STRNE(doc.GetLastErrorMessage(), L"");
    }
  }
}

TEST(MarkupParserTest, DeepNestingParsesWithoutExhaustingTheStack) {
  const int depth = 100000;
  std::wstring xml;
  xml.reserve(depth * 8);
  for (int i = 0; i < depth; ++i) xml += L"<n>";
  for (int i = 0; i < depth; ++i) xml += L"</n>";
  MarkupDocument doc;
  ASSERT_TRUE(doc.Load(xml.c_str()));
  int levels = 0;
  for (MarkupNode node = doc.GetRoot(); node.IsValid(); node = node.GetChild()) ++levels;
  EXPECT_EQ(levels, depth);

  // The same nesting left open fails with the parser's error.
  std::wstring open(xml, 0, depth * 3);
  EXPECT_FALSE(doc.Load(open.c_str()));
  EXPECT_STREQ(doc.GetLastErrorMessage(), L"Expected end-tag start");
}

TEST(MarkupParserTest, HugeAttributeValues) {
  std::wstring value(10 * 1024 * 1024, L'v');
  MarkupDocument doc;
  ASSERT_TRUE(doc.Load((L"<a big=\"" + value + L"\"/>").c_str()));
  EXPECT_EQ(wcslen(doc.GetRoot().GetAttributeValue(0)), value.size());
  EXPECT_FALSE(doc.Load((L"<a big=\"" + value).c_str()));
  EXPECT_STREQ(doc.GetLastErrorMessage(), L"Error while parsing attribute string");
}

class MarkupFileTest : public ::testing::Test {
 protected:
  pexo_test::TempDir dir_;
};

TEST_F(MarkupFileTest, FileErrorsAndSizeLimit) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.LoadFromFile(dir_.File(L"missing.xml"), MarkupDocument::kUtf8));
  EXPECT_STREQ(doc.GetLastErrorMessage(), L"Error opening file");
  EXPECT_STREQ(doc.GetLastErrorLocation(), L"");

  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"empty.xml"), ""));
  EXPECT_FALSE(doc.LoadFromFile(dir_.File(L"empty.xml"), MarkupDocument::kUtf8));
  EXPECT_STREQ(doc.GetLastErrorMessage(), L"File is empty");

  std::string exact = "<a/>";
  exact.resize(MarkupDocument::kMaxFileSize, ' ');
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"exact.xml"), exact));
  EXPECT_TRUE(doc.LoadFromFile(dir_.File(L"exact.xml"), MarkupDocument::kUtf8));
  EXPECT_STREQ(doc.GetRoot().GetName(), L"a");

  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"large.xml"), exact + " "));
  EXPECT_FALSE(doc.LoadFromFile(dir_.File(L"large.xml"), MarkupDocument::kUtf8));
  EXPECT_STREQ(doc.GetLastErrorMessage(), L"File too large");
  EXPECT_FALSE(doc.GetRoot().IsValid());
}

TEST_F(MarkupFileTest, UnreadableFileReportsReadFailure) {
  const std::wstring path = dir_.File(L"locked.xml");
  ASSERT_TRUE(pexo_test::WriteFileBytes(path, "<a/>"));
  HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(LockFile(holder, 0, 0, 4, 0));
  MarkupDocument doc;
  const bool loaded = doc.LoadFromFile(path, MarkupDocument::kUtf8);
  UnlockFile(holder, 0, 0, 4, 0);
  CloseHandle(holder);
  if (loaded && pexo_test::RunningUnderWine()) GTEST_SKIP() << "Wine 8 does not enforce byte-range locks on reads";
  EXPECT_FALSE(loaded);
  EXPECT_STREQ(doc.GetLastErrorMessage(), L"Could not read file");
}

TEST_F(MarkupFileTest, RelativePathsResolveAgainstTheResourcePath) {
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir_.File(L"skin.xml"), "<Window/>"));
  ui::UiGlobals::SetResourcePath(dir_.path());
  MarkupDocument doc;
  EXPECT_TRUE(doc.LoadFromFile(L"skin.xml", MarkupDocument::kUtf8));
  EXPECT_STREQ(doc.GetRoot().GetName(), L"Window");
  ui::UiGlobals::SetResourcePath(L"");
}

}  // namespace
