#include "data/shell_icons.h"

#include <shellapi.h>
#include <shlobj.h>
#include <commoncontrols.h>

#include "ui/base/windows_version.h"

namespace {

// {46EB5926-582E-4017-9FDF-E8998DAA0950}
constexpr IID kImageListId = {0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};
// The shell's list numbers for 32-, 16- and 48-pixel icons, in size-index order.
constexpr int kListNumbers[3] = {0 /* large */, 1 /* small */, 2 /* extra large */};

// shell32 exports these by ordinal only.
constexpr WORD kGetImageListOrdinal = 727;
constexpr WORD kCreateItemIdListOrdinal = 190;
constexpr WORD kFreeItemIdListOrdinal = 155;

constexpr int kStockFolder = 3;
constexpr UINT kStockSystemIndex = 0x4000;
constexpr DWORD kStockInfoSize = 544;
constexpr int kSystemFolderCsidl = 37;

FARPROC Shell32Ordinal(WORD ordinal) {
  HMODULE shell32 = GetModuleHandleW(L"shell32.dll");
  if (!shell32) shell32 = LoadLibraryW(L"shell32.dll");
  return shell32 ? GetProcAddress(shell32, MAKEINTRESOURCEA(ordinal)) : nullptr;
}

int IndexOfItem(LPCITEMIDLIST items) {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(items), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_SYSICONINDEX))
    return 0;
  return info.iIcon;
}

void FreeItems(LPITEMIDLIST items) {
  using FreeFunction = void(WINAPI*)(LPITEMIDLIST);
  if (auto free = reinterpret_cast<FreeFunction>(Shell32Ordinal(kFreeItemIdListOrdinal))) free(items);
  else CoTaskMemFree(items);
}

int StockFolderIndex() {
  if (IsWindowsVersionAtLeast(6, 0, 0)) {
    using StockFunction = HRESULT(WINAPI*)(int, UINT, SHSTOCKICONINFO*);
    static const auto stock = reinterpret_cast<StockFunction>(
        GetProcAddress(GetModuleHandleW(L"shell32.dll"), "SHGetStockIconInfo"));
    if (stock) {
      SHSTOCKICONINFO info{};
      info.cbSize = kStockInfoSize;
      // A "successful" answer with no usable index (as some shells give) falls back too.
      if (SUCCEEDED(stock(kStockFolder, kStockSystemIndex, &info)) && info.iSysImageIndex > 0)
        return info.iSysImageIndex;
    }
  }
  return GetFolderIconIndex(kSystemFolderCsidl);
}

}  // namespace

SystemImageLists::SystemImageLists() = default;

void SystemImageLists::LoadLists() const {
  if (loaded_) return;
  loaded_ = true;
  using GetListFunction = HRESULT(WINAPI*)(int, REFIID, void**);
  auto getList = reinterpret_cast<GetListFunction>(Shell32Ordinal(kGetImageListOrdinal));
  if (!getList) return;
  for (int size = 0; size < 3; ++size) {
    void* list = nullptr;
    if (SUCCEEDED(getList(kListNumbers[size], kImageListId, &list))) lists_[size] = static_cast<IImageList*>(list);
  }
}

SystemImageLists::~SystemImageLists() {
  for (IImageList* list : lists_) {
    if (list) list->Release();
  }
}

HICON SystemImageLists::GetIcon(int sizeIndex, int index) const {
  if (sizeIndex < 0 || sizeIndex > 2 || index < 0) return nullptr;
  LoadLists();
  if (!lists_[sizeIndex]) return nullptr;
  HICON icon = nullptr;
  if (FAILED(lists_[sizeIndex]->GetIcon(index, ILD_TRANSPARENT, &icon))) return nullptr;
  return icon;
}

int GetFileTypeIconIndex(const std::wstring& pattern) {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(pattern.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES))
    return -1;
  return info.iIcon;
}

int GetPathIconIndex(const std::wstring& path) {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX)) return 0;
  return info.iIcon;
}

bool GetItemIconIndex(const std::wstring& path, int& index) {
  using CreateFunction = LPITEMIDLIST(WINAPI*)(LPCWSTR);
  auto create = reinterpret_cast<CreateFunction>(Shell32Ordinal(kCreateItemIdListOrdinal));
  LPITEMIDLIST items = create ? create(path.c_str()) : nullptr;
  if (!items) return false;
  index = IndexOfItem(items);
  FreeItems(items);
  return true;
}

int GetFolderIconIndex(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items) return 0;
  int index = IndexOfItem(items);
  FreeItems(items);
  return index > 0 ? index : 0;
}

int GetStockFolderIconIndex() {
  static const int index = StockFolderIndex();
  return index;
}
