// Times loading 200 PNG and 200 SVG icons through the framework's image cache:
// cold (decoded from disk), from the cache while they are alive, and cold again
// after every holder has let go. The icons are generated in a temporary folder.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/image_info.h"
#include "ui/base/ui_globals.h"

namespace {

namespace gp = Gdiplus::DllExports;
using Clock = std::chrono::steady_clock;

constexpr int kIcons = 200;
constexpr int kIconSize = 32;
// {557CF406-1A04-11D3-9A73-0000F81EF32E}
constexpr CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3,
                               {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

std::wstring MakeFolder() {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"pexo_image_bench_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool WritePngIcon(const std::wstring& path, int seed) {
  Gdiplus::GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromScan0(kIconSize, kIconSize, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  if (!bitmap) return false;
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const int dx = x - kIconSize / 2;
      const int dy = y - kIconSize / 2;
      const bool inside = dx * dx + dy * dy < (kIconSize / 2 - 1) * (kIconSize / 2 - 1);
      const DWORD color = inside ? 0xFF000000 | ((seed * 2654435761u) & 0xFFFFFF) : 0;
      gp::GdipBitmapSetPixel(bitmap, x, y, color);
    }
  }
  bool saved = gp::GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
  gp::GdipDisposeImage(bitmap);
  return saved;
}

bool WriteSvgIcon(const std::wstring& path, int seed) {
  char svg[512];
  snprintf(svg, sizeof(svg),
           "<svg xmlns='http://www.w3.org/2000/svg' width='32' height='32'>"
           "<rect x='2' y='2' width='28' height='28' rx='6' fill='#%06X'/>"
           "<circle cx='16' cy='16' r='%d' fill='#FFFFFF' fill-opacity='0.8'/>"
           "<path d='M8 24 L16 %d L24 24 Z' fill='#202020'/></svg>",
           (seed * 40503u) & 0xFFFFFF, 4 + seed % 8, 6 + seed % 10);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const DWORD length = static_cast<DWORD>(strlen(svg));
  const bool done = WriteFile(file, svg, length, &written, nullptr) && written == length;
  CloseHandle(file);
  return done;
}

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Loads every path; returns the time and keeps the images in `held`.
double LoadAll(const std::vector<std::wstring>& paths,
               std::vector<std::shared_ptr<ui::ImageInfo>>& held, int& failures) {
  held.clear();
  failures = 0;
  const auto start = Clock::now();
  for (const auto& path : paths) {
    auto image = ui::UiGlobals::GetImage(path);
    if (!image) ++failures;
    held.push_back(std::move(image));
  }
  return Milliseconds(start);
}

void RemoveFolder(const std::wstring& folder, const std::vector<std::wstring>& files) {
  for (const auto& file : files) DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

int main() {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);

  const std::wstring folder = MakeFolder();
  std::vector<std::wstring> pngs, svgs;
  for (int i = 0; i < kIcons; ++i) {
    pngs.push_back(folder + L"\\icon" + std::to_wstring(i) + L".png");
    svgs.push_back(folder + L"\\icon" + std::to_wstring(i) + L".svg");
    if (!WritePngIcon(pngs.back(), i) || !WriteSvgIcon(svgs.back(), i)) {
      std::printf("could not write the icons into the temporary folder\n");
      return 1;
    }
  }

  struct Set {
    const char* name;
    const std::vector<std::wstring>* paths;
  } sets[] = {{"PNG", &pngs}, {"SVG", &svgs}};
  std::printf("image cache: %d icons of %d x %d pixels per format\n", kIcons, kIconSize, kIconSize);
  for (const Set& set : sets) {
    std::vector<std::shared_ptr<ui::ImageInfo>> held;
    int failures = 0;
    const double cold = LoadAll(*set.paths, held, failures);
    const int cold_failures = failures;
    std::vector<std::shared_ptr<ui::ImageInfo>> again;
    const double cached = LoadAll(*set.paths, again, failures);
    again.clear();
    held.clear();  // every holder lets go: the cache forgets them
    const double reload = LoadAll(*set.paths, held, failures);
    std::printf("%s  cold %8.2f ms (%6.1f us/icon)  cached %7.3f ms (%5.2f us/icon)  "
                "after release %8.2f ms  failures %d\n",
                set.name, cold, cold * 1000 / kIcons, cached, cached * 1000 / kIcons, reload,
                cold_failures + failures);
  }

  RemoveFolder(folder, pngs);
  RemoveFolder(folder, svgs);
  Gdiplus::GdiplusShutdown(token);
  return 0;
}
