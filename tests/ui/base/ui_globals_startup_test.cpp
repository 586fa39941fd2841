// Start-up and shutdown of the framework from the skin embedded in this test
// executable and from the skin folder on disk.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "ui/base/dpi_scaler.h"
#include "ui/base/language_table.h"
#include "ui/base/markup_parser.h"
#include "ui/base/ui_globals.h"

using ui::UiGlobals;

namespace {

// Stands in for the skin builder: reads the file archive-first and applies its
// "TextColor" children, recording what it saw.
struct RecordingBuilder {
  std::vector<std::wstring> files;
  std::wstring root_name;

  void Build(const std::wstring& file) {
    files.push_back(file);
    const std::wstring path = UiGlobals::GetResourcePath() + file;
    ui::MarkupDocument doc;
    if (UiGlobals::GetSkinZip()) {
      ui::UniqueGlobal block = UiGlobals::ReadZipEntry(path);
      if (!block) return;
      ui::GlobalLockGuard lock(static_cast<HGLOBAL>(block.get()));
      if (!doc.LoadFromMemory(lock.data(), lock.size(), ui::MarkupDocument::kUtf8)) return;
    } else if (!doc.LoadFromFile(file, ui::MarkupDocument::kUtf8)) {
      return;
    }
    ui::MarkupNode root = doc.GetRoot();
    root_name = root.GetName();
    for (ui::MarkupNode child = root.GetChild(); child.IsValid(); child = child.GetSibling()) {
      if (std::wstring(child.GetName()) != L"TextColor") continue;
      UiGlobals::AddColor(child.GetAttributeValue(0), child.GetAttributeValue(1));
    }
  }
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UiGlobals::SetGlobalXmlBuilder([this](const std::wstring& file) { builder_.Build(file); });
  }
  void TearDown() override { UiGlobals::SetGlobalXmlBuilder(nullptr); }

  void ExpectStarted(const std::wstring& resource_path) {
    EXPECT_EQ(UiGlobals::GetResourcePath(), resource_path);
    EXPECT_NE(UiGlobals::GetRenderFactory(), nullptr);
    ASSERT_EQ(builder_.files, std::vector<std::wstring>{L"global.xml"});
    EXPECT_EQ(builder_.root_name, L"Global");
    EXPECT_EQ(UiGlobals::GetColor(L"white"), 0xFFFFFFFFu);
    EXPECT_EQ(UiGlobals::GetColor(L"link_hot"), 0xFF007ACCu);
    EXPECT_EQ(ui::LanguageTable::Instance().GetText(L"STRID_OK"), L"\u786e\u5b9a");
    EXPECT_EQ(ui::LanguageTable::Instance().GetText(L"STRID_TWO_LINES"), L"\u7b2c\u4e00\u884c\n\u7b2c\u4e8c\u884c");
    // GDI+ is running.
    Gdiplus::GpSolidFill* brush = nullptr;
    EXPECT_EQ(Gdiplus::DllExports::GdipCreateSolidFill(0xFF000000, &brush), Gdiplus::Ok);
    if (brush) Gdiplus::DllExports::GdipDeleteBrush(brush);
  }

  RecordingBuilder builder_;
};

TEST_F(StartupTest, EmbeddedSkinStartsAndShutsDownTwice) {
  for (int round = 0; round < 2; ++round) {
    builder_ = RecordingBuilder();
    ASSERT_TRUE(UiGlobals::OpenSkinZip(201, L"SKIN", PEXO_SKIN_PASSWORD));
    int created = 0;
    UiGlobals::Startup(L"skin\\", [&created](const std::wstring&) -> ui::Control* {
      ++created;
      return nullptr;
    }, false, L"gray", L"lang\\zh_CN");
    ExpectStarted(L"skin\\gray\\");
    EXPECT_EQ(UiGlobals::GetLanguagePath(), L"skin\\lang\\zh_CN");
    ASSERT_TRUE(UiGlobals::GetCreateControlCallback());
    EXPECT_EQ(UiGlobals::GetCreateControlCallback()(L"Anything"), nullptr);
    EXPECT_EQ(created, 1);
    UiGlobals::AddFont(L"round", L"Arial", 12, false, false, false, false, false, 0);

    UiGlobals::Shutdown();
    EXPECT_EQ(UiGlobals::GetSkinZip(), nullptr);
    EXPECT_EQ(UiGlobals::GetRenderFactory(), nullptr);
    EXPECT_EQ(UiGlobals::GetFont(L"round"), nullptr);
    // Colours stay until the process ends.
    EXPECT_EQ(UiGlobals::GetColor(L"white"), 0xFFFFFFFFu);
  }
}

TEST_F(StartupTest, SkinFolderOnDisk) {
  const std::wstring root = pexo_test::DataFile(L"..\\..\\skin\\");
  UiGlobals::Startup(root, nullptr, false, L"gray", L"lang\\zh_CN");
  ExpectStarted(root + L"gray\\");
  UiGlobals::Shutdown();
}

TEST_F(StartupTest, MissingSkinLeavesTablesEmpty) {
  pexo_test::TempDir empty;
  UiGlobals::Startup(empty.path() + L"\\", nullptr, false, L"gray", L"lang\\zh_CN");
  EXPECT_EQ(builder_.files.size(), 1u);
  EXPECT_EQ(builder_.root_name, L"");
  EXPECT_EQ(ui::LanguageTable::Instance().GetText(L"STRID_OK"), L"");
  EXPECT_NE(UiGlobals::GetRenderFactory(), nullptr);
  UiGlobals::Shutdown();
  UiGlobals::Shutdown();  // a second shutdown finds nothing to do
}

TEST_F(StartupTest, DpiAdaptationRespectsTheLimit) {
  DpiScaler& scaler = DpiScaler::Instance();
  scaler.SetLimit(90);
  UiGlobals::Startup(L"skin\\", nullptr, true, L"gray", L"lang\\zh_CN");
  if (!scaler.IsAdapted()) {
    UiGlobals::Shutdown();
    GTEST_SKIP() << "the platform refused DPI awareness";
  }
  EXPECT_LE(scaler.Scale(), 90);
  UiGlobals::Shutdown();
  scaler.SetAdapted(false);
  scaler.SetLimit(-1);
  scaler.SetScale(100);
}

}  // namespace
