#include "data/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/ini_file_encoding.h"
#include "data/ini_file_update.h"
#include "tests/support/test_support.h"
#include "ui/base/string_util.h"

namespace {

using pexo_test::ReadFileBytes;
using pexo_test::WriteFileBytes;

// The keys of a saved file, in the order they must be written.
const std::vector<std::wstring> kSavedKeyOrder = {
    L"bAutoRun", L"bShowTitle", L"bShowGroup", L"bShowTag", L"bLnkNameSingleline", L"bShowTooltip",
    L"bAutoDock", L"bDockCorner", L"nDockDelay", L"bHideOnStart", L"bTopMost", L"bHideAfterLink",
    L"bHideUnhot", L"bMButtonMain", L"bDoubleDeskMain", L"bDoubleTaskMain", L"bFollowMouse",
    L"bDoubleClick", L"bFullScreenMode", L"bDelConfirm", L"bSaveRunCount", L"bRunCount", L"bHideNotify",
    L"bShowDate", L"bShowBtnSearch", L"bShowBtnMenu", L"bShowBtnSkin", L"bShowCombineMode",
    L"bMouseEnterActiveGroup", L"bMouseEnterActiveTag", L"nActiveGroupDelay", L"nActiveTagDelay",
    L"nCurGroup", L"nCurTag", L"nMainHotKey", L"nWidth", L"nHeight", L"nPosX", L"nPosY", L"nGroupWidth",
    L"bAutoGroupWidth", L"nTagWidth", L"bAutoTagHeight", L"nAttrWidth", L"nAttrHeight", L"nVersion",
    L"nSearchX", L"nSearchY", L"nSearchHotKey", L"nSearchCount", L"bOpenFileSearch", L"bFocusSearch",
    L"nAlpha", L"bGroupRight", L"bTagRight", L"TagAlign", L"Theme", L"OpenDirCmd"};

std::string Utf16File(const std::wstring& text) {
  std::string bytes("\xFF\xFE", 2);
  for (wchar_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// Text of a UTF-16 little-endian file without its mark; empty for any other file.
std::wstring Utf16Text(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE", 2) != 0) return {};
  std::wstring text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                        (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return text;
}

// Field values of every stored key, to compare two objects key by key.
std::vector<std::wstring> StoredValues(const Settings& s) {
  std::vector<int> numbers = {
      s.bAutoRun, s.bShowTitle, s.bShowGroup, s.bShowTag, s.bLnkNameSingleline, s.bShowTooltip, s.bAutoDock,
      s.bDockCorner, s.nDockDelay, s.bHideOnStart, s.bTopMost, s.bHideAfterLink, s.bHideUnhot, s.bMButtonMain,
      s.bDoubleDeskMain, s.bDoubleTaskMain, s.bFollowMouse, s.bDoubleClick, s.bFullScreenMode, s.bDelConfirm,
      s.bSaveRunCount, s.bRunCount, s.bHideNotify, s.bShowDate, s.bShowBtnSearch, s.bShowBtnMenu,
      s.bShowBtnSkin, s.bShowCombineMode, s.bMouseEnterActiveGroup, s.bMouseEnterActiveTag,
      s.nActiveGroupDelay, s.nActiveTagDelay, s.nCurGroup, s.nCurTag, s.nMainHotKey, s.nWidth, s.nHeight,
      s.nPosX, s.nPosY, s.nGroupWidth, s.bAutoGroupWidth, s.nTagWidth, s.bAutoTagHeight, s.nAttrWidth,
      s.nAttrHeight, s.nVersion, s.nSearchX, s.nSearchY, s.nSearchHotKey, s.nSearchCount, s.bOpenFileSearch,
      s.bFocusSearch, s.nAlpha, s.bGroupRight, s.bTagRight};
  std::vector<std::wstring> values;
  for (int n : numbers) values.push_back(std::to_wstring(n));
  values.push_back(s.TagAlign);
  values.push_back(s.Theme);
  values.push_back(s.OpenDirCmd);
  return values;
}

// The file default of every key, in saved order.
const std::vector<std::wstring> kFileDefaults = {
    L"0", L"1", L"1", L"1", L"0", L"1", L"1", L"0", L"0", L"0", L"1", L"0", L"0", L"0", L"0", L"0",
    L"0", L"0", L"0", L"1", L"1", L"1", L"0", L"1", L"1", L"1", L"0", L"0", L"0", L"0", L"0", L"0",
    L"0", L"0", L"0", L"388", L"640", L"2", L"0", L"72", L"0", L"72", L"0", L"0", L"0", L"0", L"-1",
    L"-1", L"0", L"0", L"0", L"0", L"255", L"0", L"0", L"center", L"gray", L""};

class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    savedDirectory_ = cwd;
    ASSERT_FALSE(dir_.path().empty());
  }
  // Loading and saving make the settings folder current; give the folder back so
  // that it can be removed.
  void TearDown() override { SetCurrentDirectoryW(savedDirectory_.c_str()); }

  std::wstring File() const { return dir_.File(L"conf.ini"); }

  Settings Loaded() {
    Settings settings(dir_.path());
    settings.Load();
    return settings;
  }

  std::wstring ReadKey(const wchar_t* section, const wchar_t* key) {
    wchar_t buffer[256] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, File().c_str());
    return buffer;
  }

  // Keys of section "main" in file order.
  std::vector<std::wstring> FileKeys() {
    std::vector<std::wstring> keys;
    bool inMain = false;
    for (const std::wstring& line : SplitString(Utf16Text(ReadFileBytes(File())), L"\r\n")) {
      if (line.starts_with(L"[")) {
        inMain = line == L"[main]";
      } else if (inMain) {
        keys.push_back(line.substr(0, line.find(L'=')));
      }
    }
    return keys;
  }

  // Every stored key once, after any keys the file held before (which keep their places).
  void ExpectEveryKeyOnce(const std::vector<std::wstring>& leadingKeys) {
    std::vector<std::wstring> expected = leadingKeys;
    for (const std::wstring& key : kSavedKeyOrder) {
      if (std::find(leadingKeys.begin(), leadingKeys.end(), key) == leadingKeys.end()) expected.push_back(key);
    }
    EXPECT_EQ(FileKeys(), expected);
  }

  void ExpectFileDefaults(const Settings& settings) { EXPECT_EQ(StoredValues(settings), kFileDefaults); }

  pexo_test::TempDir dir_;
  std::wstring savedDirectory_;
};

TEST_F(SettingsTest, PresetsBeforeTheFirstLoad) {
  Settings settings(dir_.path());
  std::vector<std::wstring> expected = kFileDefaults;
  expected[35] = L"0";  // nWidth
  expected[36] = L"0";  // nHeight
  expected[37] = L"0";  // nPosX
  expected[56] = L"gray.xml";
  EXPECT_EQ(StoredValues(settings), expected);
  EXPECT_FALSE(settings.mouseButtonHotKeyInUse);
  EXPECT_EQ(settings.hMouseHook, nullptr);
  EXPECT_EQ(settings.hMainWnd, nullptr);
  EXPECT_EQ(settings.hTrayNotifyWnd, nullptr);
}

TEST_F(SettingsTest, MissingFileGivesDefaultsAndCreatesNothing) {
  Settings settings = Loaded();
  ExpectFileDefaults(settings);
  EXPECT_EQ(GetFileAttributesW(File().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsTest, EmptyFileGivesDefaultsAndSaveWritesEveryKeyInOrder) {
  ASSERT_TRUE(WriteFileBytes(File(), ""));
  Settings settings = Loaded();
  ExpectFileDefaults(settings);
  EXPECT_TRUE(settings.Save());
  EXPECT_EQ(settings.nVersion, 10805);
  EXPECT_EQ(FileKeys(), kSavedKeyOrder);
  EXPECT_EQ(kSavedKeyOrder.size(), 58u);
  EXPECT_EQ(ReadKey(L"main", L"nVersion"), L"10805");
  EXPECT_EQ(ReadKey(L"main", L"nSearchX"), L"-1");
  EXPECT_EQ(ReadKey(L"main", L"Theme"), L"gray");
  EXPECT_EQ(ReadKey(L"main", L"OpenDirCmd"), L"");
}

TEST_F(SettingsTest, HandlesAndHookFlagAreNotTouchedByLoad) {
  Settings settings(dir_.path());
  settings.hMainWnd = reinterpret_cast<HWND>(0x1234);
  settings.mouseButtonHotKeyInUse = true;
  settings.Load();
  EXPECT_EQ(settings.hMainWnd, reinterpret_cast<HWND>(0x1234));
  EXPECT_TRUE(settings.mouseButtonHotKeyInUse);
}

TEST_F(SettingsTest, EveryKeyRoundTripsIncludingChineseText) {
  Settings settings(dir_.path());
  // Every flag flipped from its default and every number made distinct.
  bool* flags[] = {&settings.bAutoRun, &settings.bShowTitle, &settings.bShowGroup, &settings.bShowTag,
                   &settings.bLnkNameSingleline, &settings.bShowTooltip, &settings.bTopMost,
                   &settings.bHideOnStart, &settings.bAutoDock, &settings.bDockCorner, &settings.bHideAfterLink,
                   &settings.bHideUnhot, &settings.bMButtonMain, &settings.bDoubleDeskMain,
                   &settings.bDoubleTaskMain, &settings.bFollowMouse, &settings.bDoubleClick,
                   &settings.bFullScreenMode, &settings.bDelConfirm, &settings.bSaveRunCount,
                   &settings.bRunCount, &settings.bHideNotify, &settings.bShowDate, &settings.bShowBtnSearch,
                   &settings.bShowBtnMenu, &settings.bShowBtnSkin, &settings.bShowCombineMode,
                   &settings.bMouseEnterActiveGroup, &settings.bMouseEnterActiveTag, &settings.bAutoGroupWidth,
                   &settings.bAutoTagHeight, &settings.bGroupRight, &settings.bTagRight,
                   &settings.bOpenFileSearch, &settings.bFocusSearch};
  for (bool* flag : flags) *flag = !*flag;
  int* numbers[] = {&settings.nDockDelay, &settings.nActiveGroupDelay, &settings.nActiveTagDelay,
                    &settings.nCurGroup, &settings.nCurTag, &settings.nMainHotKey, &settings.nWidth,
                    &settings.nHeight, &settings.nPosX, &settings.nPosY, &settings.nGroupWidth,
                    &settings.nTagWidth, &settings.nAttrWidth, &settings.nAttrHeight, &settings.nSearchX,
                    &settings.nSearchY, &settings.nSearchHotKey, &settings.nSearchCount, &settings.nAlpha};
  int next = -3000;
  for (int* number : numbers) *number = (next += 1111);
  settings.nMainHotKey = 0x0341;  // stays below the old hot-key form
  settings.nPosX = -1920;         // a window on a monitor left of the primary one
  settings.TagAlign = L"左对齐";
  settings.Theme = L"深色主题.xml";
  settings.OpenDirCmd = L"D:\\工具\\资源管理器.exe \"%s\" \U0001F4C1";
  settings.Save();

  Settings reloaded = Loaded();
  EXPECT_EQ(StoredValues(reloaded), StoredValues(settings));
  EXPECT_EQ(reloaded.nVersion, 10805);
  EXPECT_EQ(reloaded.OpenDirCmd, settings.OpenDirCmd);

  // A second save over the same file changes nothing.
  std::string first = ReadFileBytes(File());
  reloaded.Save();
  EXPECT_EQ(ReadFileBytes(File()), first);
}

TEST_F(SettingsTest, ChineseSurvivesInAFileStartedByAnOlderVersion) {
  // An 8-bit file with the old key names and other sections.
  ASSERT_TRUE(WriteFileBytes(File(), "; kept comment\r\n[main]\r\nbAutoDick=0\r\nbDickCorner=1\r\n"
                                     "nWidth=500\r\nTheme=blue\r\nExtraKey=extra\r\n[other]\r\nname=value\r\n"));
  Settings settings = Loaded();
  EXPECT_TRUE(settings.bAutoDock);     // the old names never win
  EXPECT_FALSE(settings.bDockCorner);
  EXPECT_EQ(settings.nWidth, 500);
  EXPECT_EQ(settings.Theme, L"blue");
  settings.Theme = L"蓝色";
  settings.Save();

  EXPECT_EQ(Loaded().Theme, L"蓝色");
  EXPECT_EQ(ReadKey(L"main", L"bAutoDick"), L"<missing>");
  EXPECT_EQ(ReadKey(L"main", L"bDickCorner"), L"<missing>");
  EXPECT_EQ(ReadKey(L"main", L"ExtraKey"), L"extra");
  EXPECT_EQ(ReadKey(L"other", L"name"), L"value");
  EXPECT_NE(Utf16Text(ReadFileBytes(File())).find(L"; kept comment"), std::wstring::npos);
}

TEST_F(SettingsTest, OldKeysAloneStillGiveTheDockingDefaults) {
  ASSERT_TRUE(WriteFileBytes(File(), "[main]\r\nbAutoDick=0\r\n"));
  Settings settings = Loaded();
  EXPECT_TRUE(settings.bAutoDock);
  settings.Save();
  EXPECT_EQ(ReadKey(L"main", L"bAutoDick"), L"<missing>");
  EXPECT_EQ(ReadKey(L"main", L"bAutoDock"), L"1");
  EXPECT_EQ(FileKeys(), kSavedKeyOrder);  // the old key's place is gone
}

TEST_F(SettingsTest, OldHotKeyFormIsMigratedAndWrittenBackDuringLoad) {
  ASSERT_TRUE(WriteFileBytes(File(), Utf16File(L"[main]\r\nnMainHotKey=196673\r\nnSearchHotKey=196673\r\n")));
  Settings settings = Loaded();
  EXPECT_EQ(settings.nMainHotKey, 833);  // Ctrl+Alt (3) and virtual key 65
  EXPECT_EQ(ReadKey(L"main", L"nMainHotKey"), L"833");
  EXPECT_EQ(settings.nSearchHotKey, 196673);  // only the main hot key had the old form
  EXPECT_EQ(ReadKey(L"main", L"nVersion"), L"<missing>");  // nothing else is written

  ASSERT_TRUE(WriteFileBytes(File(), Utf16File(L"[main]\r\nnMainHotKey=65535\r\n")));
  EXPECT_EQ(Loaded().nMainHotKey, 65535);
}

TEST_F(SettingsTest, NumbersFlagsAndStringsAreReadLikeTheProfileFunctions) {
  std::wstring seventy(70, L'x');
  ASSERT_TRUE(WriteFileBytes(File(), Utf16File(L"[main]\r\nnSearchX=-1\r\nnPosY=-20\r\nnWidth=12px\r\n"
                                               L"bTopMost=0\r\nbAutoRun=5\r\nnAlpha=300\r\nTheme=" +
                                               seventy + L"\r\nTagAlign=右\r\n")));
  Settings settings = Loaded();
  EXPECT_EQ(settings.nSearchX, -1);
  EXPECT_EQ(settings.nPosY, -20);
  EXPECT_EQ(settings.nWidth, 12);  // anything after the digits is ignored
  EXPECT_FALSE(settings.bTopMost);
  EXPECT_TRUE(settings.bAutoRun);  // any non-zero number is true
  EXPECT_EQ(settings.nAlpha, 300); // taken as it is
  EXPECT_EQ(settings.Theme, seventy);
  EXPECT_EQ(settings.TagAlign, L"右");
}

// Values of every length come back whole, around the lengths where the read
// needs a larger buffer as well, also a value in quotes whose closing quote is the
// first character past a buffer; a file written by hand reads the same.
TEST_F(SettingsTest, TextValuesOfAnyLengthSurviveSaveAndLoadWhole) {
  for (size_t length : {63u, 64u, 254u, 255u, 256u, 257u, 511u, 512u, 1023u, 5000u}) {
    SCOPED_TRACE(length);
    std::wstring command = L"\"C:\\Program Files\\";
    while (command.size() + 6 < length) command += static_cast<wchar_t>(L'a' + command.size() % 26);
    command += L"\" \"%1\"";
    ASSERT_EQ(command.size(), length);
    Settings settings(dir_.path());
    settings.OpenDirCmd = command;
    settings.Theme = std::wstring(length, L'主');
    ASSERT_TRUE(settings.Save());
    Settings reloaded = Loaded();
    EXPECT_EQ(reloaded.OpenDirCmd, command);
    EXPECT_EQ(reloaded.Theme, settings.Theme);

    // Written by hand the way the program writes it (in an extra pair of quotes),
    // and without them: the read takes off the one pair that encloses the value.
    ASSERT_TRUE(WriteFileBytes(File(), Utf16File(L"[main]\r\nOpenDirCmd=" + IniValueText(command) + L"\r\n")));
    EXPECT_EQ(Loaded().OpenDirCmd, command);
    ASSERT_TRUE(WriteFileBytes(File(), Utf16File(L"[main]\r\nOpenDirCmd=" + command + L"\r\n")));
    EXPECT_EQ(Loaded().OpenDirCmd, command.substr(1, command.size() - 2));
  }
}

TEST_F(SettingsTest, LineBreaksInTextValuesCannotAddKeys) {
  Settings settings(dir_.path());
  settings.OpenDirCmd = L"explorer.exe\r\nbAutoRun=1";
  settings.Save();
  Settings reloaded = Loaded();
  EXPECT_EQ(reloaded.OpenDirCmd, L"explorer.exe  bAutoRun=1");
  EXPECT_FALSE(reloaded.bAutoRun);
  EXPECT_EQ(FileKeys(), kSavedKeyOrder);
}

TEST_F(SettingsTest, TextValuesWithQuotesAndBlanksSurviveSaveAndLoadExactly) {
  const std::wstring values[] = {
      L"\"C:\\Program Files\\X\\x.exe\" /open \"%s\"",  // quotes enclose the whole value
      L"\"quoted\"",
      L"'single'",
      L"\"leading only",
      L"trailing only\"",
      L"in \"the\" middle",
      L"\"\"",
      L"\"",
      L"  padded  ",
      L"plain",
      L"",
  };
  for (const std::wstring& value : values) {
    Settings settings(dir_.path());
    settings.OpenDirCmd = value;
    settings.TagAlign = value;
    settings.Save();
    Settings once = Loaded();
    EXPECT_EQ(once.OpenDirCmd, value);
    EXPECT_EQ(once.TagAlign, value);
    once.Save();  // a second round must not add or lose anything either
    EXPECT_EQ(Loaded().OpenDirCmd, value);
  }
}

TEST_F(SettingsTest, TruncatedFileKeepsWhatItHolds) {
  const std::string whole = Utf16File(L"[main]\r\nnCurGroup=7\r\nnCurTag=123\r\nnAlpha=99\r\n");
  // Cut inside the value of nCurTag.
  ASSERT_TRUE(WriteFileBytes(File(), whole.substr(0, 2 + 2 * 31)));
  Settings settings = Loaded();
  EXPECT_EQ(settings.nCurGroup, 7);
  EXPECT_EQ(settings.nCurTag, 12);
  EXPECT_EQ(settings.nAlpha, 255);
  settings.nAlpha = 128;
  settings.Save();
  Settings reloaded = Loaded();
  EXPECT_EQ(StoredValues(reloaded), StoredValues(settings));
  ExpectEveryKeyOnce({L"nCurGroup", L"nCurTag"});
}

TEST_F(SettingsTest, FileCutInsideACharacterLosesOnlyThatCharacter) {
  const std::string whole = Utf16File(L"[main]\r\nnCurGroup=7\r\nnAlpha=99\r\n");
  // The last line's "n" and one byte of the "A" after it.
  ASSERT_TRUE(WriteFileBytes(File(), whole.substr(0, 2 + 2 * 22 + 1)));
  Settings settings = Loaded();
  EXPECT_EQ(settings.nCurGroup, 7);
  settings.Save();
  ExpectEveryKeyOnce({L"nCurGroup", L"n"});  // the cut line stays as the platform keeps it
  EXPECT_EQ(Loaded().nCurGroup, 7);
}

TEST_F(SettingsTest, BinaryFileGivesDefaultsAndIsKeptAside) {
  std::string binary("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 131) & 0xFF));
  ASSERT_TRUE(WriteFileBytes(File(), binary));
  Settings settings = Loaded();
  ExpectFileDefaults(settings);
  settings.Theme = L"绿色";
  settings.Save();
  EXPECT_EQ(ReadFileBytes(File() + L".bak"), binary);
  EXPECT_EQ(FileKeys(), kSavedKeyOrder);
  EXPECT_EQ(Loaded().Theme, L"绿色");
}

TEST_F(SettingsTest, EntriesTheProgramDoesNotKnowKeepTheirPlacesAndText) {
  const std::wstring before =
      L"; written by hand\r\n"
      L"[Plugins]\r\nfirst=\"quoted value\"\r\n\r\n"
      L"[MAIN]\r\n"
      L"  NWIDTH = 480\r\n"
      L"; a note about the theme\r\n"
      L"MyOwnKey=keep me\r\n"
      L"bAutoDick=0\r\n"
      L"\r\n"
      L"[other]\r\nname=值\r\n"
      L"[main]\r\nnWidth=999\r\n";  // a second section of the name is never read
  ASSERT_TRUE(WriteFileBytes(File(), Utf16File(before)));
  Settings settings = Loaded();
  EXPECT_EQ(settings.nWidth, 480);
  settings.nHeight = 700;
  ASSERT_TRUE(settings.Save());

  // The first section took every key: nWidth in place of the old line, the
  // misspelled key gone, the rest added after the section's last line.
  std::wstring expected = L"; written by hand\r\n[Plugins]\r\nfirst=\"quoted value\"\r\n\r\n[MAIN]\r\nnWidth=480\r\n"
                          L"; a note about the theme\r\nMyOwnKey=keep me\r\n";
  for (const std::wstring& key : kSavedKeyOrder) {
    if (key == L"nWidth") continue;
    expected += key + L"=" + ReadKey(L"main", key.c_str()) + L"\r\n";
  }
  expected += L"\r\n[other]\r\nname=值\r\n[main]\r\nnWidth=999\r\n";
  EXPECT_EQ(Utf16Text(ReadFileBytes(File())), expected);
  EXPECT_EQ(ReadKey(L"main", L"nHeight"), L"700");
  EXPECT_EQ(ReadKey(L"Plugins", L"first"), L"quoted value");
  EXPECT_EQ(ReadKey(L"main", L"MyOwnKey"), L"keep me");
  EXPECT_EQ(StoredValues(Loaded()), StoredValues(settings));
}

TEST_F(SettingsTest, ASideFileLeftByAKilledSaveIsIgnoredAndReplaced) {
  ASSERT_TRUE(WriteFileBytes(File(), Utf16File(L"[main]\r\nnAlpha=200\r\n")));
  // Half of a new file, as a save killed while writing it leaves it, made read-only.
  const std::wstring side = File() + L".tmp";
  ASSERT_TRUE(WriteFileBytes(side, Utf16File(L"[main]\r\nnAlpha=1\r\nbAutoR")));
  ASSERT_TRUE(SetFileAttributesW(side.c_str(), FILE_ATTRIBUTE_READONLY));
  Settings settings = Loaded();
  EXPECT_EQ(settings.nAlpha, 200);
  settings.nCurTag = 4;
  EXPECT_TRUE(settings.Save());
  EXPECT_EQ(GetFileAttributesW(side.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(Loaded().nCurTag, 4);
  ExpectEveryKeyOnce({L"nAlpha"});
}

TEST_F(SettingsTest, AFileThatCannotBeReplacedReportsFailureAndStaysWhole) {
  const std::string old = Utf16File(L"[main]\r\nnAlpha=200\r\nTheme=blue\r\n");
  Settings settings(dir_.path());
  settings.nAlpha = 90;
  settings.Theme = L"新主题";

  ASSERT_TRUE(WriteFileBytes(File(), old));
  ASSERT_TRUE(SetFileAttributesW(File().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(settings.Save()) << "read-only";
  EXPECT_EQ(ReadFileBytes(File()), old);
  EXPECT_EQ(GetFileAttributesW((File() + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(SetFileAttributesW(File().c_str(), FILE_ATTRIBUTE_NORMAL));

  {
    // Another program holds the file open and shares nothing.
    HANDLE locked = CreateFileW(File().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(settings.Save()) << "locked";
    CloseHandle(locked);
  }
  EXPECT_EQ(ReadFileBytes(File()), old);
  {
    // Open for reading only: the save can read the file but must not replace it.
    HANDLE reading = CreateFileW(File().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reading, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(settings.Save()) << "open without delete sharing";
    CloseHandle(reading);
  }
  EXPECT_EQ(ReadFileBytes(File()), old);
  EXPECT_EQ(GetFileAttributesW((File() + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);

  EXPECT_TRUE(settings.Save());  // once free the same save goes through
  EXPECT_EQ(Loaded().Theme, L"新主题");
}

TEST(IniSectionUpdate, ChangesOnlyTheKeysOfTheFirstSectionOfTheName) {
  struct Case {
    const wchar_t* before;
    const wchar_t* after;
  };
  const std::vector<IniEntry> entries = {{L"a", L"1"}, {L"b", L"2"}};
  const Case cases[] = {
      {L"", L"[s]\r\na=1\r\nb=2\r\n"},
      {L"[t]\r\nx=y", L"[t]\r\nx=y\r\n[s]\r\na=1\r\nb=2\r\n"},
      {L"[S]\nB=old\nold=gone\nc=3\n", L"[S]\r\nb=2\r\nc=3\r\na=1\r\n"},
      {L"[s]\r\na\r\n\r\n\r\n[t]\r\n", L"[s]\r\na=1\r\nb=2\r\n\r\n\r\n[t]\r\n"},
      {L"[s]\r\n;a=comment\r\n[s]\r\na=9\r\n", L"[s]\r\n;a=comment\r\na=1\r\nb=2\r\n[s]\r\na=9\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UpdateIniSection(c.before, L"s", entries, {L"OLD"}), c.after) << c.before;
  }
}

TEST(IniFileEncoding, TextFilesAreReadAsTheProfileFunctionsReadThem) {
  pexo_test::TempDir dir;
  const std::wstring path = dir.File(L"a.ini");

  ASSERT_TRUE(WriteFileBytes(path, "\xEF\xBB\xBF[s]\r\nk=\xE4\xB8\xAD\r\n"));  // UTF-8 with its mark
  EXPECT_EQ(ReadIniFileText(path), L"[s]\r\nk=中\r\n");

  ASSERT_TRUE(WriteFileBytes(path, std::string("\xFE\xFF\0[\0s\0]", 8)));  // big-endian
  EXPECT_EQ(ReadIniFileText(path), L"[s]");

  ASSERT_TRUE(WriteFileBytes(path, Utf16File(L"[s]\r\nk=v\r\n") + "\x41"));  // cut inside a character
  EXPECT_EQ(ReadIniFileText(path), L"[s]\r\nk=v\r\n");

  EXPECT_EQ(ReadIniFileText(dir.File(L"new.ini")), L"");
  ASSERT_TRUE(WriteIniFileText(dir.File(L"new.ini"), L"[s]\r\nk=中\r\n"));
  EXPECT_EQ(ReadFileBytes(dir.File(L"new.ini")), Utf16File(L"[s]\r\nk=中\r\n"));
  EXPECT_EQ(GetFileAttributesW(dir.File(L"new.ini.tmp").c_str()), INVALID_FILE_ATTRIBUTES);

  EXPECT_FALSE(WriteIniFileText(dir.File(L"no such folder\\x.ini"), L"[s]"));
}

}  // namespace
