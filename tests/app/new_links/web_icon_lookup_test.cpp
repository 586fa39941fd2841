#include "app/new_links/web_icon_lookup.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "tests/support/test_support.h"

namespace {

// The names as a regular-expression search defines them; only fit for short texts
// (the regex engine recurses per character), so only the tests use it.
const wchar_t kHostPattern[] =
    L"([a-z0-9][a-z0-9\\-]*?\\.[a-z0-9][a-z0-9\\-]*?\\.(?:com|cn|net|org|gov|info|la|cc|co)(?:\\.(?:cn|jp))?)"
    L"(?:$|/|\\?|\\:|\\\\)";
const wchar_t kCardDomainPattern[] =
    L"([a-z0-9][a-z0-9\\-]*?\\.(?:com|cn|net|org|gov|info|io|la|cc|co|ren)(?:\\.(?:cn|jp))?)(?:$|/|\\?|\\:|\\\\)";
const wchar_t kDropDomainPattern[] =
    L"([a-z0-9][a-z0-9\\-]*?\\.(?:com|cn|net|org|gov|info|la|cc|co)(?:\\.(?:cn|jp))?)(?:$|/|\\?|\\:|\\\\)";

std::wstring RegexName(const std::wregex& pattern, const std::wstring& text) {
  std::wsmatch match;
  return std::regex_search(text, match, pattern) ? match[1].str() : std::wstring();
}

TEST(WebIconLookupTest, FindsHostAndDomainOfTypicalAddresses) {
  struct Case {
    const wchar_t* address;
    const wchar_t* host;
    const wchar_t* domain;
  } cases[] = {
      {L"https://www.example.com/page", L"www.example.com", L"example.com"},
      {L"http://news.site.com.cn?q=1", L"news.site.com.cn", L"site.com.cn"},
      {L"http://a.b.co.jp:8080/", L"a.b.co.jp", L"b.co.jp"},
      {L"https://example.com/", L"", L"example.com"},
      {L"https://tool.io/x", L"", L"tool.io"},
      {L"https://x.community/", L"", L""},
      {L"file:\\\\host.org\\share", L"", L"host.org"},
      {L"https://-bad.x.com", L"bad.x.com", L"x.com"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindWebHostName(c.address), c.host) << c.address;
    EXPECT_EQ(FindWebDomainName(c.address, WebIconLookup::kCard), c.domain) << c.address;
  }
  // A drop knows neither ".io" nor ".ren".
  EXPECT_EQ(FindWebDomainName(L"https://tool.io/x", WebIconLookup::kDrop), L"");
  EXPECT_EQ(FindWebDomainName(L"https://renren.ren", WebIconLookup::kCard), L"renren.ren");
}

// Random short texts over the characters that matter to the names: the scanner
// must give exactly what the regular-expression search gives.
TEST(WebIconLookupTest, AgreesWithTheRegularExpressionsOnRandomTexts) {
  const std::wregex host(kHostPattern), cardDomain(kCardDomainPattern), dropDomain(kDropDomainPattern);
  const std::wstring alphabet = L"abcomnjpirex0-./?:\\A";
  std::mt19937 random(20261209);
  for (int round = 0; round < 20000; ++round) {
    std::wstring text(random() % 16, L' ');
    for (wchar_t& c : text) c = alphabet[random() % alphabet.size()];
    ASSERT_EQ(FindWebHostName(text), RegexName(host, text)) << text;
    ASSERT_EQ(FindWebDomainName(text, WebIconLookup::kCard), RegexName(cardDomain, text)) << text;
    ASSERT_EQ(FindWebDomainName(text, WebIconLookup::kDrop), RegexName(dropDomain, text)) << text;
  }
}

TEST(WebIconLookupTest, VeryLongAddressesNeitherCrashNorHang) {
  std::wstring labels(20000, L'a');
  EXPECT_EQ(FindWebHostName(labels), L"");
  std::wstring dotted;
  for (int i = 0; i < 10000; ++i) dotted += L"a.";
  EXPECT_EQ(FindWebHostName(dotted), L"");
  EXPECT_EQ(FindWebDomainName(L"https://" + labels + L".com/", WebIconLookup::kCard), labels + L".com");
  EXPECT_EQ(WebIconCandidates(L"http://" + dotted + L"com", WebIconLookup::kCard).size(), 6u);
}

TEST(WebIconLookupTest, CandidatesFollowTheLookupsOrderAndExtensions) {
  EXPECT_EQ(WebIconCandidates(L"HTTPS://WWW.Example.COM/", WebIconLookup::kCard),
            (std::vector<std::wstring>{L".\\icons\\url\\www.example.com.ico", L".\\icons\\url\\www.example.com.png",
                                       L".\\icons\\url\\www.example.com.svg", L".\\icons\\url\\example.com.ico",
                                       L".\\icons\\url\\example.com.png", L".\\icons\\url\\example.com.svg"}));
  // A drop tries the domain only when the address has no host name.
  EXPECT_EQ(WebIconCandidates(L"https://www.example.com/", WebIconLookup::kDrop),
            (std::vector<std::wstring>{L".\\icons\\url\\www.example.com.ico", L".\\icons\\url\\www.example.com.png"}));
  EXPECT_EQ(WebIconCandidates(L"https://example.com/", WebIconLookup::kDrop),
            (std::vector<std::wstring>{L".\\icons\\url\\example.com.ico", L".\\icons\\url\\example.com.png"}));
  EXPECT_TRUE(WebIconCandidates(L"about:blank", WebIconLookup::kCard).empty());
}

TEST(WebIconLookupTest, PicksTheFirstExistingFileRelativeToTheCurrentFolder) {
  pexo_test::TempDir dir;
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
  CreateDirectoryW(L"icons", nullptr);
  CreateDirectoryW(L"icons\\url", nullptr);
  // Only the domain's PNG exists: the host's three names are passed over.
  ASSERT_TRUE(pexo_test::WriteFileBytes(dir.File(L"icons\\url\\example.com.png"), "png"));
  EXPECT_EQ(FindWebIconFile(L"https://mail.example.com/inbox", WebIconLookup::kCard),
            L".\\icons\\url\\example.com.png");
  EXPECT_EQ(FindWebIconFile(L"https://mail.example.com/inbox", WebIconLookup::kDrop), L"");
  EXPECT_EQ(FindWebIconFile(L"https://example.com", WebIconLookup::kDrop), L".\\icons\\url\\example.com.png");
  // A folder of that name is no icon file.
  CreateDirectoryW(L"icons\\url\\mail.example.com.ico", nullptr);
  EXPECT_EQ(FindWebIconFile(L"https://mail.example.com/inbox", WebIconLookup::kCard),
            L".\\icons\\url\\example.com.png");
  SetCurrentDirectoryW(previous);
}

}  // namespace
