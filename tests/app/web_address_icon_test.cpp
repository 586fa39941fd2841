// The web-address name scanner: the same host and domain names as the
// equivalent regular expressions, and linear on very long addresses.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>

#include "app/web_address_icon.h"
#include "tests/support/test_support.h"

namespace {

const wchar_t kHostPattern[] =
    LR"(([a-z0-9][a-z0-9\-]*?\.[a-z0-9][a-z0-9\-]*?\.(?:com|cn|net|org|gov|info|la|cc|co)(?:\.(?:cn|jp))?)(?:$|/|\?|\:|\\))";
const wchar_t kDomainPattern[] =
    LR"(([a-z0-9][a-z0-9\-]*?\.(?:com|cn|net|org|gov|info|io|la|cc|co|ren)(?:\.(?:cn|jp))?)(?:$|/|\?|\:|\\))";

std::wstring RegexFirst(const wchar_t* pattern, const std::wstring& text) {
  std::wsmatch match;
  return std::regex_search(text, match, std::wregex(pattern)) ? match[1].str() : L"<none>";
}

TEST(WebAddressIcon, ScannerYieldsWhatTheRegularExpressionsYield) {
  const wchar_t* addresses[] = {
      L"https://www.example.com/",      L"http://news.example.com.cn/a?b", L"https://example.com",
      L"example.co",                    L"https://a.b.community/x",        L"https://mail.example.co.jp:8080/",
      L"ftp://x-y.z-1.net\\share",      L"https://-bad.example.org/",      L"https://sub.example.io/page",
      L"https://a.b.c.example.gov/",    L"https://example.cn.com/",        L"https://site.ren?",
      L"no address at all",             L"https://www.example.comx/",      L"https://my.site.info.cn",
      L"https://a..b.com/",             L"https://x.la/", L"https://deep.x.y.cc.jp/"};
  for (const wchar_t* address : addresses) {
    const std::wstring text = LowerAsciiLetters(address);
    EXPECT_EQ(FindHostName(text).value_or(L"<none>"), RegexFirst(kHostPattern, text)) << text;
    EXPECT_EQ(FindDomainName(text).value_or(L"<none>"), RegexFirst(kDomainPattern, text)) << text;
  }
}

TEST(WebAddressIcon, OnlyAsciiLettersAreLowered) {
  EXPECT_EQ(LowerAsciiLetters(L"HTTPS://Www.ÄB.Com/"), L"https://www.Äb.com/");
}

TEST(WebAddressIcon, AVeryLongAddressNeitherCrashesNorHangs) {
  std::wstring address = L"https://";
  address.append(20000, L'a');
  address += L".b";
  const DWORD start = GetTickCount();
  EXPECT_FALSE(FindHostName(address).has_value());
  EXPECT_EQ(FindDomainName(address + L".com/").value_or(L""), L"b.com");
  std::wstring dotted = L"https://";
  for (int i = 0; i < 5000; ++i) dotted += L"ab.";
  EXPECT_FALSE(FindDomainName(dotted).has_value());
  EXPECT_LT(GetTickCount() - start, 5000u);
}

TEST(WebAddressIcon, TheHostFileComesBeforeTheDomainFile) {
  pexo_test::TempDir dir;
  const std::wstring folder = dir.path() + L"\\";
  CreateDirectoryW((folder + L"icons").c_str(), nullptr);
  CreateDirectoryW((folder + L"icons\\url").c_str(), nullptr);
  EXPECT_FALSE(FindWebAddressIcon(L"https://news.example.com/", folder).has_value());
  ASSERT_TRUE(pexo_test::WriteFileBytes(folder + L"icons\\url\\example.com.png", "png"));
  EXPECT_EQ(FindWebAddressIcon(L"https://NEWS.Example.com/x", folder).value_or(L""),
            L".\\icons\\url\\example.com.png");
  ASSERT_TRUE(pexo_test::WriteFileBytes(folder + L"icons\\url\\news.example.com.svg", "svg"));
  EXPECT_EQ(FindWebAddressIcon(L"https://news.example.com/x", folder).value_or(L""),
            L".\\icons\\url\\news.example.com.svg");
  ASSERT_TRUE(pexo_test::WriteFileBytes(folder + L"icons\\url\\news.example.com.ico", "ico"));
  EXPECT_EQ(FindWebAddressIcon(L"https://news.example.com/x", folder).value_or(L""),
            L".\\icons\\url\\news.example.com.ico");
}

}  // namespace
