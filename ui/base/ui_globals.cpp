// Start-up, shutdown and the paths of the framework's global state.
#include "ui/base/ui_globals.h"

#include <windows.h>
#include <commctrl.h>
// gdiplus.h needs PROPID and IStream, which WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include "ui/base/dpi_scaler.h"
#include "ui/base/language_table.h"
#include "ui/base/text_constants.h"
#include "ui/base/windows_version.h"
#include "ui/render/render_factory_gdiplus.h"

namespace ui {

namespace {

struct GlobalState {
  std::wstring resource_path;
  std::wstring language_path;
  std::unique_ptr<IRenderFactory> render_factory;
  CreateControlCallback create_control;
  GlobalXmlBuilder global_xml_builder;
  ULONG_PTR gdiplus_token = 0;
};

GlobalState& State() {
  static GlobalState state;
  return state;
}

template <typename Function>
Function LookUpUser32(const char* name) {
  return reinterpret_cast<Function>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name));
}

// Makes the process DPI aware once and returns whether it is.
bool MakeProcessDpiAware() {
  if (!IsWindowsVersionAtLeast(6, 0, 0)) return true;
  using SetAwarenessInternal = HRESULT(WINAPI*)(int);
  using SetAware = BOOL(WINAPI*)();
  static const auto set_awareness = LookUpUser32<SetAwarenessInternal>("SetProcessDpiAwarenessInternal");
  static const auto set_aware = LookUpUser32<SetAware>("SetProcessDPIAware");
  if (set_awareness && set_awareness(2 /* per monitor */) == S_OK) return true;
  return set_aware ? set_aware() != FALSE : false;
}

int ScreenDpi() {
  int dpi = 96;
  if (IsWindowsVersionAtLeast(6, 2, 0)) {
    using GetDpiForMonitorInternal = BOOL(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto get_dpi = LookUpUser32<GetDpiForMonitorInternal>("GetDpiForMonitorInternal");
    UINT x = 0, y = 0;
    const POINT point{1, 1};
    // Success is judged by the value written, not by the undocumented return type.
    if (get_dpi) get_dpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), 0 /* effective */, &x, &y);
    if (x > 0 && x < 10000) dpi = static_cast<int>(x);
  } else if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
  }
  return dpi;
}

void AdaptToDpi() {
  DpiScaler& scaler = DpiScaler::Instance();
  if (!scaler.IsAdapted()) scaler.SetAdapted(MakeProcessDpiAware());
  const int dpi = ScreenDpi();
  // SetScale applies the scaler's limit.
  if (scaler.IsAdapted()) scaler.SetScale(MulDiv(dpi, 100, 96));
}

}  // namespace

void UiGlobals::Startup(const std::wstring& root, CreateControlCallback create_control, bool adapt_dpi,
                        const std::wstring& theme, const std::wstring& language) {
  GlobalState& state = State();
  state.render_factory = std::make_unique<RenderFactory_GdiPlus>();
  SetResourcePath(root + theme);
  state.create_control = std::move(create_control);
  if (adapt_dpi) AdaptToDpi();
  LoadGlobalXml();

  state.language_path = root + language;
  const std::wstring language_file = state.language_path + L"\\" + kLanguageFileName;
  if (GetSkinZip()) {
    // The language file is read from the archive only.
    if (UniqueGlobal block = ReadZipEntry(language_file)) {
      LanguageTable::Instance().LoadFromMemory(static_cast<HGLOBAL>(block.get()));
    }
  } else {
    LanguageTable::Instance().LoadFromFile(language_file);
  }

  if (state.gdiplus_token == 0) {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&state.gdiplus_token, &input, nullptr) != Gdiplus::Ok) state.gdiplus_token = 0;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

void UiGlobals::Shutdown() {
  GlobalState& state = State();
  if (GetSkinZip()) CloseSkinZip();
  state.render_factory.reset();
  RemoveAllFonts();
  if (state.gdiplus_token != 0) {
    Gdiplus::GdiplusShutdown(state.gdiplus_token);
    state.gdiplus_token = 0;
  }
}

void UiGlobals::SetResourcePath(const std::wstring& path) {
  std::wstring stored = path;
  if (!stored.empty() && stored.back() != L'\\' && stored.back() != L'/') stored += L'\\';
  State().resource_path = stored;
}

const std::wstring& UiGlobals::GetResourcePath() { return State().resource_path; }

const std::wstring& UiGlobals::GetLanguagePath() { return State().language_path; }

IRenderFactory* UiGlobals::GetRenderFactory() { return State().render_factory.get(); }

const CreateControlCallback& UiGlobals::GetCreateControlCallback() { return State().create_control; }

void UiGlobals::SetGlobalXmlBuilder(GlobalXmlBuilder builder) { State().global_xml_builder = std::move(builder); }

void UiGlobals::LoadGlobalXml() {
  if (State().global_xml_builder) State().global_xml_builder(L"global.xml");
}

}  // namespace ui
