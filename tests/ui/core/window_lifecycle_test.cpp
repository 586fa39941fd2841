// The native window: class registration, creation, modal loop, closing, the root
// control and deferred deletion.
#include <gtest/gtest.h>

#include "tests/ui/core/window_test_support.h"
#include "ui/core/box.h"

namespace {

using window_test::PumpMessages;
using window_test::PumpUntil;
using window_test::TestWindow;

::testing::Environment* const gdiplus =
    ::testing::AddGlobalTestEnvironment(new window_test::GdiplusEnvironment);

class SuperclassWindow : public TestWindow {
 public:
  explicit SuperclassWindow(std::wstring super) : TestWindow(L"PexoSuperTest"), super_(super) {}
  std::wstring GetSuperClassName() const override { return super_; }

 private:
  std::wstring super_;
};

TEST(WindowLifecycleTest, TwoWindowsOfOneClassRegisterAndCreate) {
  TestWindow first;
  TestWindow second;
  HWND a = first.CreatePlain(100, 80);
  HWND b = second.CreatePlain(100, 80);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(first.GetHWND(), a);
  // The window object is found again from the handle by the procedure.
  EXPECT_NE(first.GetRenderContext(), nullptr);
  EXPECT_NE(first.GetPaintDC(), nullptr);
  DestroyWindow(a);
  DestroyWindow(b);
  EXPECT_EQ(first.finalMessages, 1);
  EXPECT_EQ(second.finalMessages, 1);
}

TEST(WindowLifecycleTest, UnknownSuperclassFailsWithoutAWindow) {
  SuperclassWindow window(L"NoSuchClassAnywhere_Pexo");
  EXPECT_EQ(window.Create(nullptr, L"x", WS_POPUP, 0, false, RECT{0, 0, 10, 10}), nullptr);
  EXPECT_EQ(window.GetHWND(), nullptr);
}

TEST(WindowLifecycleTest, SuperclassOfASystemClassKeepsItsProcedure) {
  SuperclassWindow window(L"STATIC");
  HWND hwnd = window.Create(nullptr, L"static text", WS_POPUP, 0, false, RECT{0, 0, 50, 20});
  ASSERT_NE(hwnd, nullptr);
  wchar_t text[32] = {};
  GetWindowTextW(hwnd, text, 32);  // answered by the static control's own procedure
  EXPECT_STREQ(text, L"static text");
  DestroyWindow(hwnd);
  EXPECT_EQ(window.GetHWND(), nullptr);
  EXPECT_EQ(window.finalMessages, 1);
}

TEST(WindowLifecycleTest, CaptionStyleIsRemoved) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, L"c", WS_OVERLAPPEDWINDOW, 0, false, RECT{0, 0, 200, 100});
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_NE(GetWindowLongW(hwnd, GWL_STYLE) & WS_THICKFRAME, 0);
  DestroyWindow(hwnd);
}

TEST(WindowLifecycleTest, LayeredWindowGetsTheExtendedStyle) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, L"l", WS_POPUP, 0, true, RECT{0, 0, 50, 50});
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(window.IsLayeredWindow());
  EXPECT_NE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  DestroyWindow(hwnd);
}

TEST(WindowLifecycleTest, ShowModalReturnsTheCloseCodeAndReenablesTheOwner) {
  TestWindow owner(L"PexoTestOwner");
  HWND ownerHwnd = owner.CreatePlain(300, 200);
  TestWindow dialog;
  dialog.CreatePlain(100, 80, 60, 60, ownerHwnd);
  bool ownerDisabledWhileModal = false;
  // A timer closes the dialog from inside its own loop.
  static TestWindow* current = nullptr;
  static bool* disabledFlag = nullptr;
  static HWND ownerWindow = nullptr;
  current = &dialog;
  disabledFlag = &ownerDisabledWhileModal;
  ownerWindow = ownerHwnd;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    *disabledFlag = !IsWindowEnabled(ownerWindow);
    current->Close(7);
  });
  ASSERT_NE(timer, 0u);
  EXPECT_EQ(dialog.ShowModal(), 7u);
  EXPECT_TRUE(ownerDisabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(ownerHwnd));
  EXPECT_TRUE(dialog.IsClosing());
  EXPECT_FALSE(IsWindow(dialog.GetHWND()));  // WM_CLOSE went on to DestroyWindow
  DestroyWindow(ownerHwnd);
}

// An owner a loop further out had disabled (a message box over it) stays disabled
// once the dialog is gone, or it would take input under that loop.
TEST(WindowLifecycleTest, ShowModalLeavesAnOwnerDisabledThatWasDisabledBefore) {
  TestWindow owner(L"PexoTestOwner");
  HWND ownerHwnd = owner.CreatePlain(300, 200);
  EnableWindow(ownerHwnd, FALSE);
  TestWindow dialog;
  dialog.CreatePlain(100, 80, 60, 60, ownerHwnd);
  static TestWindow* current = nullptr;
  current = &dialog;
  ASSERT_NE(SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
              KillTimer(nullptr, id);
              current->Close(3);
            }),
            0u);
  EXPECT_EQ(dialog.ShowModal(), 3u);
  EXPECT_FALSE(IsWindowEnabled(ownerHwnd));
  DestroyWindow(ownerHwnd);
}

TEST(WindowLifecycleTest, QuitDuringModalLoopReachesTheOuterLoop) {
  TestWindow dialog;
  HWND hwnd = dialog.CreatePlain(100, 80);
  PostQuitMessage(42);
  EXPECT_EQ(dialog.ShowModal(), 0u);
  EXPECT_TRUE(IsWindow(hwnd));
  MSG msg = {};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 42u);
  DestroyWindow(hwnd);
}

TEST(WindowLifecycleTest, CloseWithoutWindowReturnsZero) {
  TestWindow window;
  EXPECT_EQ(window.Close(1), 0u);
  EXPECT_FALSE(window.IsClosing());
}

TEST(WindowLifecycleTest, ResourcePathGetsOneTrailingSeparator) {
  TestWindow window;
  window.SetResourcePath(L"skin\\gray");
  EXPECT_EQ(window.GetResourcePath(), L"skin\\gray\\");
  window.SetResourcePath(L"skin/gray/");
  EXPECT_EQ(window.GetResourcePath(), L"skin/gray/");
  window.SetResourcePath(L"skin\\");
  EXPECT_EQ(window.GetResourcePath(), L"skin\\");
  window.SetResourcePath(L"");
  EXPECT_EQ(window.GetResourcePath(), L"");
}

TEST(WindowLifecycleTest, OptionGroupsKeepEachControlOnce) {
  TestWindow window;
  ui::Control a;
  ui::Control b;
  EXPECT_TRUE(window.AddOptionGroupMember(L"g", &a));
  EXPECT_FALSE(window.AddOptionGroupMember(L"g", &a));
  EXPECT_TRUE(window.AddOptionGroupMember(L"g", &b));
  ASSERT_NE(window.GetOptionGroup(L"g"), nullptr);
  EXPECT_EQ(window.GetOptionGroup(L"g")->size(), 2u);
  window.RemoveOptionGroupMember(L"g", &a);
  window.RemoveOptionGroupMember(L"g", &b);
  EXPECT_EQ(window.GetOptionGroup(L"g"), nullptr);  // an emptied group is erased
}

TEST(WindowLifecycleTest, NamedControlsAreRegisteredAndTheLastOfANameWins) {
  TestWindow window;
  window.CreatePlain(100, 100);
  auto* root = new ui::Box(nullptr);
  auto* first = new ui::Control;
  first->SetName(L"twin");
  auto* second = new ui::Control;
  second->SetName(L"twin");
  auto* other = new ui::Control;
  other->SetName(L"other");
  root->Add(first);
  root->Add(second);
  root->Add(other);
  ASSERT_TRUE(window.AttachRoot(root));
  EXPECT_EQ(window.FindControlByName(L"twin"), second);
  EXPECT_EQ(window.FindControlByName(L"other"), other);
  EXPECT_EQ(window.FindControlByName(L"missing"), nullptr);
  EXPECT_EQ(first->GetWindow(), &window);
  // A control that goes away leaves the name table.
  root->Remove(other);
  PumpMessages();
  EXPECT_EQ(window.FindControlByName(L"other"), nullptr);
  DestroyWindow(window.GetHWND());
}

TEST(WindowLifecycleTest, ReplacingTheRootDefersTheOldRootsDeletion) {
  TestWindow window;
  window.CreatePlain(100, 100);
  bool oldDeleted = false;
  auto* oldRoot = new window_test::ProbeControl(&oldDeleted);
  ASSERT_TRUE(window.AttachRoot(oldRoot));
  ASSERT_TRUE(window.AttachRoot(new ui::Control));
  EXPECT_FALSE(oldDeleted);  // still alive inside AttachRoot's caller
  EXPECT_EQ(oldRoot->GetWindow(), &window);
  PumpUntil([&] { return oldDeleted; });
  EXPECT_TRUE(oldDeleted);
  DestroyWindow(window.GetHWND());
}

TEST(WindowLifecycleTest, AttachingARootNeverDeletesAControlTheWindowDoesNotOwn) {
  bool callerRootDeleted = false;
  window_test::ProbeControl callerRoot(&callerRootDeleted);
  {
    TestWindow window;
    window.CreatePlain(100, 100);
    ASSERT_TRUE(window.AttachRoot(&callerRoot, false));
    // The same root attached again stays alive.
    ASSERT_TRUE(window.AttachRoot(&callerRoot, false));
    // Replacing it does not queue the caller's control for deletion.
    EXPECT_FALSE(window.AttachRoot(nullptr));
    PumpMessages();
    EXPECT_FALSE(callerRootDeleted);
    DestroyWindow(window.GetHWND());
  }
  EXPECT_FALSE(callerRootDeleted);
  callerRoot.SetWindowAndParent(nullptr, nullptr, false);
}

TEST(WindowLifecycleTest, AttachingTheOwnedRootAgainKeepsIt) {
  TestWindow window;
  window.CreatePlain(100, 100);
  bool deleted = false;
  auto* root = new window_test::ProbeControl(&deleted);
  ASSERT_TRUE(window.AttachRoot(root));
  ASSERT_TRUE(window.AttachRoot(root));
  PumpMessages();
  EXPECT_FALSE(deleted);
  EXPECT_EQ(window.GetRoot(), root);
  DestroyWindow(window.GetHWND());
}

TEST(WindowLifecycleTest, DestructionDeletesTheOwnedRootAndQueuedControls) {
  bool rootDeleted = false;
  bool queuedDeleted = false;
  {
    TestWindow window;
    window.AttachRoot(new window_test::ProbeControl(&rootDeleted));
    window.AddDelayedDelete(new window_test::ProbeControl(&queuedDeleted));
  }
  EXPECT_TRUE(rootDeleted);
  EXPECT_TRUE(queuedDeleted);
}

TEST(WindowLifecycleTest, WindowCloseListenersRunAfterTheNativeWindowIsGone) {
  TestWindow window;
  HWND hwnd = window.CreatePlain(100, 100);
  std::vector<ui::EventType> fired;
  window.AttachWindowEvent(ui::windowclose, [&](ui::EventArgs* args) {
    fired.push_back(args->Type);
    return true;
  });
  window.AttachWindowEvent(ui::all, [&](ui::EventArgs* args) {
    fired.push_back(ui::all);
    return true;
  });
  DestroyWindow(hwnd);
  ASSERT_EQ(fired.size(), 2u);
  EXPECT_EQ(fired[0], ui::windowclose);
  EXPECT_EQ(fired[1], ui::all);
}

TEST(WindowLifecycleTest, CenterWindowCentresOnTheOwner) {
  TestWindow owner(L"PexoTestOwner");
  HWND ownerHwnd = owner.CreatePlain(200, 150);
  TestWindow child;
  HWND hwnd = child.CreatePlain(100, 50, 0, 0, ownerHwnd);
  child.CenterWindow();
  RECT ownerRect = {};
  GetWindowRect(ownerHwnd, &ownerRect);
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, ownerRect.left + 100 - 50);
  EXPECT_EQ(rect.top, ownerRect.top + 75 - 25);
  DestroyWindow(hwnd);
  DestroyWindow(ownerHwnd);
}

TEST(WindowLifecycleTest, ResizeAddsTheShadowPaddingUnlessIncluded) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, L"r", WS_POPUP, 0, true, RECT{0, 0, 10, 10});
  ASSERT_TRUE(window.IsShadowAttached());
  const RECT padding = window.GetShadowPadding();
  window.Resize(200, 100, false, false);
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 200 + padding.left + padding.right);
  EXPECT_EQ(rect.bottom - rect.top, 100 + padding.top + padding.bottom);
  const RECT inner = window.GetWindowRectWithoutShadow(false);
  EXPECT_EQ(inner.right - inner.left, 200);
  window.Resize(200, 100, true, false);
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 200);
  window.SetShadowAttached(false);
  window.SetWindowPosition(RECT{10, 20, 110, 70}, false, SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.right - rect.left, 100);
  DestroyWindow(hwnd);
}

TEST(WindowLifecycleTest, InitialSizeIsIgnoredOnceARootIsAttached) {
  TestWindow window;
  window.SetShadowAttached(false);
  window.SetInitialSize(300, 200, false);
  EXPECT_EQ(window.GetInitialSize().cx, 300);
  window.AttachRoot(new ui::Control);
  window.SetInitialSize(10, 10, false);
  EXPECT_EQ(window.GetInitialSize().cx, 300);
}

TEST(WindowLifecycleTest, DefaultFontComesFromTheStockGuiFont) {
  TestWindow window;
  const ui::WindowFont& font = window.GetDefaultFont();
  EXPECT_NE(font.font, nullptr);
  EXPECT_FALSE(font.faceName.empty());
  EXPECT_EQ(font.weight, FW_NORMAL);
}

}  // namespace
