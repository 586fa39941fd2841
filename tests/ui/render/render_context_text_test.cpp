// Text through the render context, and a composed scene saved as a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "tests/support/render_pixels.h"
#include "tests/support/gdiplus_test_env.h"
#include "tests/support/test_support.h"
#include "tests/ui/base/image_test_files.h"
#include "ui/base/image_info.h"
#include "ui/base/ui_globals.h"
#include "ui/render/render_context_gdiplus.h"
#include "ui/render/text_fit.h"

namespace {

using Context = ui::RenderContext_GdiPlus;
using ui::UiGlobals;

constexpr RECT kEverywhere{-1000, -1000, 1000, 1000};

using pexo_test::Pixel;
BYTE AlphaOf(DWORD pixel) { return static_cast<BYTE>(pixel >> 24); }

// Highest alpha and the first inked row inside a rectangle.
struct Ink {
  int max_alpha = 0;
  int top = -1;
  int count = 0;
};
Ink InkIn(ui::IRenderContext& context, const RECT& area) {
  Ink ink;
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, context.GetHeight()); ++y) {
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, context.GetWidth()); ++x) {
      const int alpha = AlphaOf(Pixel(context, x, y));
      if (alpha == 0) continue;
      ink.max_alpha = std::max(ink.max_alpha, alpha);
      if (ink.top < 0) ink.top = y;
      ++ink.count;
    }
  }
  return ink;
}

class RenderTextTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    UiGlobals::AddFont(L"body", L"Tahoma", 14, false, false, false, false, true, 0);
    UiGlobals::AddFont(L"bold", L"Tahoma", 24, true, false, false, false, false, 0);
    UiGlobals::AddFont(L"song", L"新宋体", 12, false, false, false, false, false, 0);
    UiGlobals::AddFont(L"plain12", L"Tahoma", 12, false, false, false, false, false, 0);
    UiGlobals::AddFont(L"title", L"微软雅黑", 22, true, false, false, false, false, 0);
    UiGlobals::AddColor(L"panel", L"#FF2D5A8C");
  }
};

TEST_F(RenderTextTest, TextAlphaFollowsTheFade) {
  Context context;
  ASSERT_TRUE(context.Resize(200, 40));
  const RECT area{0, 0, 200, 40};
  context.Clear();
  context.DrawText(area, L"Bold text 粗体", 0xFF000000, L"bold", DT_SINGLELINE | DT_VCENTER);
  EXPECT_EQ(InkIn(context, area).max_alpha, 254);  // opaque text is drawn at 254
  context.Clear();
  context.DrawText(area, L"Bold text 粗体", 0xFF000000, L"bold", DT_SINGLELINE | DT_VCENTER, 128);
  EXPECT_NEAR(InkIn(context, area).max_alpha, 128, 1);
  context.Clear();
  context.DrawText(area, L"Bold text", 0xFF000000, L"bold", DT_SINGLELINE, 255, false, true);
  EXPECT_GT(InkIn(context, area).count, 50);  // drawn as a filled path
  context.Clear();
  context.DrawText(area, L"", 0xFF000000, L"bold", DT_SINGLELINE);
  EXPECT_EQ(InkIn(context, area).count, 0);
}

// True when GDI finds a font of that exact face (Wine needs a replacement entry for
// the Chinese face names, which scripts/wine-prefix.sh adds).
bool FaceResolves(const std::wstring& face) {
  LOGFONTW logfont = {};
  logfont.lfHeight = -12;
  logfont.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(logfont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&logfont);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t got[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, got);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return face == got;
}

TEST_F(RenderTextTest, ChineseFaceNamesReachGdiplus) {
  if (!FaceResolves(L"微软雅黑"))
    GTEST_SKIP() << "this Wine prefix maps no font to 微软雅黑 (scripts/wine-prefix.sh adds it)";
  UiGlobals::AddFont(L"yahei", L"微软雅黑", 20, false, false, false, false, false, 0);
  UiGlobals::AddFont(L"wqy", L"WenQuanYi Micro Hei", 20, false, false, false, false, false, 0);
  UiGlobals::AddFont(L"other", L"Tahoma", 20, false, false, false, false, false, 0);
  auto draw = [](const std::wstring& font) {
    auto context = std::make_unique<Context>();
    context->Resize(160, 40);
    context->Clear();
    context->DrawText(RECT{0, 0, 160, 40}, L"中文字体 Ag", 0xFF000000, font, DT_SINGLELINE | DT_VCENTER);
    return context;
  };
  auto yahei = draw(L"yahei");
  auto wqy = draw(L"wqy");
  auto other = draw(L"other");
  const size_t bytes = 160 * 40 * 4;
  EXPECT_GT(InkIn(*yahei, RECT{0, 0, 160, 40}).count, 100);
  // The face that 微软雅黑 maps to draws exactly like that face named directly.
  EXPECT_EQ(memcmp(yahei->GetBits(), wqy->GetBits(), bytes), 0);
  EXPECT_NE(memcmp(yahei->GetBits(), other->GetBits(), bytes), 0);
}

TEST_F(RenderTextTest, TextStaysInsideTheClip) {
  Context context;
  ASSERT_TRUE(context.Resize(300, 40));
  context.Clear();
  const RECT clip{20, 0, 80, 40};
  context.SetClip(clip);
  context.DrawText(RECT{0, 0, 300, 40}, L"WWWWWWWWWWWWWWWWWWWWWWWW 中文中文中文", 0xFF000000, L"bold",
                   DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  context.ClearClip();
  EXPECT_GT(InkIn(context, clip).count, 20);
  EXPECT_EQ(InkIn(context, RECT{0, 0, 20, 40}).count, 0);
  EXPECT_EQ(InkIn(context, RECT{80, 0, 300, 40}).count, 0);
}

TEST_F(RenderTextTest, AlignmentFlagsPlaceTheText) {
  Context context;
  ASSERT_TRUE(context.Resize(300, 60));
  const RECT area{0, 0, 300, 60};
  auto ink_columns = [&](UINT format) {
    context.Clear();
    context.DrawText(area, L"abc", 0xFF000000, L"body", format | DT_SINGLELINE);
    int first = -1, last = -1;
    for (int x = 0; x < 300; ++x)
      for (int y = 0; y < 60; ++y)
        if (AlphaOf(Pixel(context, x, y))) {
          if (first < 0) first = x;
          last = x;
        }
    return std::pair{first, last};
  };
  EXPECT_LT(ink_columns(0).first, 10);
  auto centred = ink_columns(DT_CENTER);
  EXPECT_GT(centred.first, 120);
  EXPECT_LT(centred.second, 180);
  EXPECT_GT(ink_columns(DT_RIGHT).second, 290);

  context.Clear();
  context.DrawText(area, L"abc", 0xFF000000, L"body", DT_SINGLELINE | DT_BOTTOM);
  EXPECT_GT(InkIn(context, area).top, 35);
}

TEST_F(RenderTextTest, CentredSongTypeMovesDownWhereThereIsRoom) {
  // Heights 13 and 15 move the centre by one pixel; only the taller rectangle
  // (at least the 12-pixel size + 2) adds the extra pixel for 新宋体.
  auto top_row = [](const std::wstring& font, int height) {
    Context context;
    context.Resize(100, 40);
    context.Clear();
    context.DrawText(RECT{0, 10, 100, 10 + height}, L"HHH", 0xFF000000, font,
                     DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    return InkIn(context, RECT{0, 0, 100, 40}).top;
  };
  EXPECT_EQ(top_row(L"plain12", 15) - top_row(L"plain12", 13), 1);
  EXPECT_EQ(top_row(L"song", 15) - top_row(L"song", 13), 2);
}

TEST_F(RenderTextTest, MeasureAddsAPixelAndHonoursTheWidthLimit) {
  Context context;
  ASSERT_TRUE(context.Resize(10, 10));
  RECT abc = context.MeasureText(L"abc", L"body", DT_SINGLELINE);
  EXPECT_GT(abc.right - abc.left, 10);
  EXPECT_GT(abc.bottom - abc.top, 10);
  RECT longer = context.MeasureText(L"abcabc", L"body", DT_SINGLELINE);
  EXPECT_GT(longer.right, abc.right);

  const std::wstring words = L"one two three four five six seven eight nine ten";
  RECT single = context.MeasureText(words, L"body", DT_SINGLELINE, 60);
  RECT reference = context.MeasureText(L"测试", L"body", DT_SINGLELINE);
  EXPECT_LE(single.right, 62);
  EXPECT_EQ(single.bottom - single.top, reference.bottom - reference.top);  // one line high
  RECT wrapped = context.MeasureText(words, L"body", 0, 60);
  EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (reference.bottom - reference.top));
  RECT unknown_font = context.MeasureText(L"abc", L"no-such-font", 0);
  EXPECT_GT(unknown_font.right, 1);
}

// The cut keeps the longest start that fits with the ellipsis after it, drops
// blanks before the ellipsis and never splits a surrogate pair.
TEST(TextFitTest, CutsTheLongestStartThatFitsWithTheEllipsis) {
  auto atMost = [](size_t length) { return [length](const std::wstring& text) { return text.size() <= length; }; };
  EXPECT_EQ(ui::FitWithEllipsis(L"short", atMost(5)), L"short");
  EXPECT_EQ(ui::FitWithEllipsis(L"", atMost(0)), L"");
  EXPECT_EQ(ui::FitWithEllipsis(L"Windows 文件夹", atMost(7)), L"Window\u2026");
  EXPECT_EQ(ui::FitWithEllipsis(L"Windows 文件夹", atMost(9)), L"Windows\u2026");  // not "Windows \u2026"
  EXPECT_EQ(ui::FitWithEllipsis(L"Windows 文件夹", atMost(10)), L"Windows \u6587\u2026");
  EXPECT_EQ(ui::FitWithEllipsis(L"ab\U0001F600cd", atMost(4)), L"ab\u2026");  // the pair stays whole or goes
  EXPECT_EQ(ui::FitWithEllipsis(L"ab\U0001F600cd", atMost(5)), L"ab\U0001F600\u2026");
  EXPECT_EQ(ui::FitWithEllipsis(L"abc", atMost(0)), L"\u2026");
}

// A very long text is fitted by looking at starts about as long as what the box
// shows, never at the whole text, with the same cut as a search over all of it.
TEST(TextFitTest, AVeryLongTextIsFittedWithinWhatTheBoxShows) {
  std::wstring huge;
  for (int i = 0; huge.size() < 100000; ++i) huge += (i % 7 == 6) ? L"  " : (i % 5 == 0 ? L"\U0001F600" : L"名x");
  for (size_t limit : {0u, 1u, 30u, 31u, 33u, 64u, 200u, 5000u}) {
    size_t longest = 0;
    auto fits = [&](const std::wstring& candidate) {
      longest = std::max(longest, candidate.size());
      return candidate.size() <= limit;
    };
    const std::wstring shown = ui::FitWithEllipsis(huge, fits);
    // The longest start that fits with the ellipsis, found by walking back from the limit.
    std::wstring expected = L"\u2026";
    for (size_t length = std::min(limit, huge.size()); length > 0; --length) {
      size_t cut = length;
      if (cut > 0 && huge[cut - 1] >= 0xD800 && huge[cut - 1] <= 0xDBFF) --cut;
      while (cut > 0 && huge[cut - 1] == L' ') --cut;
      const std::wstring candidate = huge.substr(0, cut) + L"\u2026";
      if (candidate.size() <= limit) {
        expected = candidate;
        break;
      }
    }
    EXPECT_EQ(shown, expected) << limit;
    EXPECT_LE(longest, std::max<size_t>(2 * limit + 2, 66)) << "measured far more than the box shows: " << limit;
  }
  // A text that fits is kept whole, whatever its length.
  EXPECT_EQ(ui::FitWithEllipsis(huge, [&](const std::wstring& t) { return t.size() <= huge.size(); }), huge);
}

// A text that does not fit is drawn cut, with an ellipsis: on one line within the
// width, or in the whole lines the height holds; the picture is that of a start
// of the text with the ellipsis. A text that fits is drawn as it is.
TEST_F(RenderTextTest, TextThatDoesNotFitIsDrawnCutWithAnEllipsis) {
  struct Case {
    RECT area;
    UINT format;
    std::wstring text;
  };
  const Case cases[] = {
      {RECT{0, 0, 90, 24}, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, L"Windows 文件夹 and more"},
      {RECT{0, 0, 90, 34}, DT_CENTER | DT_END_ELLIPSIS, L"one two three four five six seven eight nine ten"},
  };
  auto draw = [](Context& context, const Case& c, const std::wstring& text, UINT format) {
    context.Clear();
    context.DrawText(c.area, text, 0xFF000000, L"body", format);
    return std::vector<BYTE>(context.GetBits(), context.GetBits() + context.GetWidth() * context.GetHeight() * 4);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    Context context;
    ASSERT_TRUE(context.Resize(c.area.right, c.area.bottom));
    const std::vector<BYTE> cut = draw(context, c, c.text, c.format);
    bool matched = false;
    for (size_t length = c.text.size() - 1; length > 0 && !matched; --length) {
      std::wstring start = c.text.substr(0, length);
      while (!start.empty() && start.back() == L' ') start.pop_back();
      // Only a candidate that fits counts: one cut by the line break looks the same.
      const std::wstring candidate = start + ui::kEllipsis;
      const int width = c.area.right - c.area.left;
      const RECT size = context.MeasureText(candidate, L"body", c.format, (c.format & DT_SINGLELINE) ? -1 : width);
      if (size.right - size.left > width + 1 || size.bottom - size.top > c.area.bottom - c.area.top + 1) continue;
      matched = draw(context, c, candidate, c.format & ~DT_END_ELLIPSIS) == cut;
    }
    EXPECT_TRUE(matched) << "not drawn as a start of the text with an ellipsis";
    const std::wstring fits = L"one two";
    EXPECT_EQ(draw(context, c, fits, c.format), draw(context, c, fits, c.format & ~DT_END_ELLIPSIS));
  }
}

TEST_F(RenderTextTest, NamedColoursComeFromTheTable) {
  Context context;
  ASSERT_TRUE(context.Resize(4, 4));
  context.Clear();
  context.DrawNamedColor(RECT{0, 0, 4, 4}, L"panel");
  EXPECT_EQ(Pixel(context, 2, 2), 0xFF2D5A8Cu);
  context.DrawNamedColor(RECT{0, 0, 4, 4}, L"", 255);  // nothing for an empty name
  EXPECT_EQ(Pixel(context, 2, 2), 0xFF2D5A8Cu);
  context.DrawNamedColor(RECT{0, 0, 4, 4}, L"unknown-colour");  // 0: transparent
  EXPECT_EQ(Pixel(context, 2, 2), 0xFF2D5A8Cu);
}

// Writes the context's pixels as an opaque PNG, as a window would show them
// (stretched opaque image pieces need not carry an alpha byte).
bool SavePng(ui::IRenderContext& context, const std::wstring& path) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::DllExports::GdipCreateBitmapFromScan0(context.GetWidth(), context.GetHeight(),
                                                 context.GetWidth() * 4, PixelFormat32bppRGB,
                                                 context.GetBits(), &bitmap);
  if (!bitmap) return false;
  bool saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(),
                                                        &pexo_test::kPngEncoder, nullptr) == Gdiplus::Ok;
  Gdiplus::DllExports::GdipDisposeImage(bitmap);
  return saved;
}

TEST_F(RenderTextTest, ComposedSceneWithChineseText) {
  pexo_test::TempDir dir;
  const std::wstring button_png = dir.File(L"button.png");
  // A 30 x 30 button face: dark 10-pixel border cells around a light centre.
  ASSERT_TRUE(pexo_test::WritePng(button_png, 30, 30, [](int x, int y) -> DWORD {
    bool border = x < 6 || y < 6 || x >= 24 || y >= 24;
    return border ? 0xFF1F6FD1 : 0xFF6FA8F0;
  }));
  const std::wstring dots_png = dir.File(L"dots.png");
  ASSERT_TRUE(pexo_test::WritePng(dots_png, 8, 8, [](int x, int y) -> DWORD {
    return (x < 3 && y < 3) ? 0xFFE0A030 : 0x00000000;
  }));
  const std::wstring icon_svg = dir.File(L"icon.svg");
  ASSERT_TRUE(pexo_test::WriteFileBytes(
      icon_svg,
      "<svg xmlns='http://www.w3.org/2000/svg' width='32' height='32'>"
      "<circle cx='16' cy='16' r='14' fill='#2E7D32' fill-opacity='0.85'/>"
      "<path d='M9 17 L14 22 L24 10' stroke='#FFFFFF' stroke-width='3' fill='none'/></svg>"));
  auto button = UiGlobals::GetImage(button_png);
  auto dots = UiGlobals::GetImage(dots_png);
  auto icon = UiGlobals::GetImage(icon_svg);
  ASSERT_NE(button, nullptr);
  ASSERT_NE(dots, nullptr);
  ASSERT_NE(icon, nullptr);

  Context context;
  ASSERT_TRUE(context.Resize(360, 240));
  context.Clear();
  context.DrawColor(RECT{0, 0, 360, 240}, 0xFFF3F5F8);
  context.DrawBoxShadow(RECT{20, 20, 340, 220}, SIZE{12, 12}, POINT{0, 2}, 6, 8, 2, 0x60000000, true);
  context.DrawColor(RECT{20, 20, 340, 220}, 0xFFFFFFFF);
  context.DrawRoundRect(RECT{20, 20, 339, 219}, SIZE{12, 12}, 1, 0xFFB0BEC5);
  context.DrawNamedColor(RECT{20, 20, 340, 60}, L"panel");
  context.DrawText(RECT{64, 20, 330, 60}, L"快速启动 · 常用链接", 0xFFFFFFFF, L"title",
                   DT_SINGLELINE | DT_VCENTER);
  RECT no_corners{};
  context.DrawImage(kEverywhere, icon->GetFrame(0), icon->alpha, RECT{28, 24, 60, 56},
                    RECT{0, 0, icon->width, icon->height}, no_corners, icon->dpiScaled);

  RECT corners{6, 6, 6, 6};
  const RECT button_rect{40, 80, 200, 124};
  context.DrawImage(kEverywhere, button->GetFrame(0), button->alpha, button_rect,
                    RECT{0, 0, 30, 30}, corners, button->dpiScaled);
  context.DrawText(button_rect, L"打开文件夹", 0xFFFFFFFF, L"body",
                   DT_SINGLELINE | DT_VCENTER | DT_CENTER);

  RECT tile_corners{};
  const RECT tiled_rect{220, 80, 320, 124};
  context.DrawImage(kEverywhere, dots->GetFrame(0), dots->alpha, tiled_rect, RECT{0, 0, 8, 8},
                    tile_corners, false, 255, true, true);

  context.FillEllipse(RECT{40, 140, 64, 164}, 0xFFE53935);
  context.SetClip(RECT{72, 140, 250, 164});
  context.DrawText(RECT{72, 140, 400, 164}, L"搜索：文件、文件夹和网址（裁剪到这里为止的很长的文字）",
                   0xFF263238, L"body", DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  context.ClearClip();
  context.DrawText(RECT{40, 176, 320, 210}, L"Pexo 快速启动器 — 按 Alt+Space 呼出", 0xFF546E7A,
                   L"body", DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, 200);

  // Probes: the title bar colour, the nine-grid button's border and centre, the
  // tiled dots, the clipped line and the shadow outside the panel.
  EXPECT_EQ(Pixel(context, 330, 25), 0xFF2D5A8Cu);
  EXPECT_EQ(Pixel(context, 42, 82) & 0xFFFFFF, 0x1F6FD1u);
  EXPECT_EQ(Pixel(context, 60, 90) & 0xFFFFFF, 0x6FA8F0u);
  EXPECT_EQ(Pixel(context, 45, 100) & 0xFFFFFF, 0x1F6FD1u);
  EXPECT_EQ(Pixel(context, 221, 81) & 0xFFFFFF, 0xE0A030u);
  EXPECT_EQ(Pixel(context, 229, 81) & 0xFFFFFF, 0xE0A030u);
  EXPECT_EQ(Pixel(context, 225, 81), 0xFFFFFFFFu);
  EXPECT_GT(InkIn(context, RECT{72, 140, 250, 164}).count, 0);
  EXPECT_EQ(Pixel(context, 300, 152), 0xFFFFFFFFu);  // beyond the clip: the panel only
  Ink title = InkIn(context, RECT{64, 20, 330, 60});
  EXPECT_GT(title.count, 0);
  EXPECT_NE(Pixel(context, 180, 222), 0xFFF3F5F8u);  // shadow below the panel

  const std::wstring picture = pexo_test::ExeFolder() + L"\\render_scene.png";
  ASSERT_TRUE(SavePng(context, picture));
  const std::wstring screens = L"Z:\\work\\tools\\screens";
  if (GetFileAttributesW(screens.c_str()) != INVALID_FILE_ATTRIBUTES)
    CopyFileW(picture.c_str(), (screens + L"\\render_scene.png").c_str(), FALSE);
}

}  // namespace
