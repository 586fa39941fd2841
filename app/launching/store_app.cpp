#include "app/launching/store_app.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"
#include "ui/base/windows_version.h"

namespace {

constexpr size_t kMaxPartChars = 259;  // each part is read into 260 characters
constexpr UINT32 kInstallFolderChars = 1024;

using GetPackagesByPackageFamilyFn = LONG(WINAPI*)(PCWSTR, UINT32*, PWSTR*, UINT32*, WCHAR*);
using GetPackagePathByFullNameFn = LONG(WINAPI*)(PCWSTR, UINT32*, PWSTR);

struct PackageFunctions {
  GetPackagesByPackageFamilyFn packagesByFamily = nullptr;
  GetPackagePathByFullNameFn pathByFullName = nullptr;
};

// Looked up once: older systems do not have them.
const PackageFunctions& GetPackageFunctions() {
  static const PackageFunctions functions = [] {
    PackageFunctions found;
    if (HMODULE kernel = GetModuleHandleW(L"kernel32")) {
      found.packagesByFamily =
          reinterpret_cast<GetPackagesByPackageFamilyFn>(GetProcAddress(kernel, "GetPackagesByPackageFamily"));
      found.pathByFullName =
          reinterpret_cast<GetPackagePathByFullNameFn>(GetProcAddress(kernel, "GetPackagePathByFullName"));
    }
    return found;
  }();
  return functions;
}

}  // namespace

std::optional<std::wstring> StoreAppFamilyName(const std::wstring& appId) {
  size_t underscore = appId.find(L'_');
  if (underscore == 0 || underscore == std::wstring::npos || underscore > kMaxPartChars) return std::nullopt;
  size_t bang = appId.find(L'!', underscore + 1);
  size_t publisherEnd = bang == std::wstring::npos ? appId.size() : bang;
  size_t publisherChars = publisherEnd - underscore - 1;
  if (publisherChars == 0 || publisherChars > kMaxPartChars) return std::nullopt;
  return appId.substr(0, publisherEnd);
}

std::optional<std::wstring> StoreAppIdFromPath(const std::wstring& resolvedPath) {
  static constexpr std::wstring_view kPrefix = L"shell:appsfolder\\";
  if (!ToLowerAscii(resolvedPath).starts_with(kPrefix)) return std::nullopt;
  return resolvedPath.substr(kPrefix.size());
}

bool OpenStoreAppFolder(const std::wstring& appId) {
  if (!IsWindowsVersionAtLeast(6, 2, 0)) return false;
  std::optional<std::wstring> family = StoreAppFamilyName(appId);
  const PackageFunctions& functions = GetPackageFunctions();
  if (!family || !functions.packagesByFamily || !functions.pathByFullName) return false;
  UINT32 count = 0;
  UINT32 bufferChars = 0;
  if (functions.packagesByFamily(family->c_str(), &count, nullptr, &bufferChars, nullptr) != ERROR_INSUFFICIENT_BUFFER ||
      count != 1) {
    return false;
  }
  std::vector<PWSTR> names(count);
  std::vector<WCHAR> buffer(bufferChars);
  if (functions.packagesByFamily(family->c_str(), &count, names.data(), &bufferChars, buffer.data()) != ERROR_SUCCESS ||
      count != 1) {
    return false;
  }
  std::vector<WCHAR> folder(kInstallFolderChars);
  UINT32 folderChars = kInstallFolderChars;
  if (functions.pathByFullName(names[0], &folderChars, folder.data()) != ERROR_SUCCESS) return false;
  std::wstring metadata = std::wstring(folder.data()) + L"\\AppxMetadata";
  PIDLIST_ABSOLUTE raw = ILCreateFromPathW(metadata.c_str());
  if (!raw) return false;
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::TakeOwnership(raw);
  return SUCCEEDED(SHOpenFolderAndSelectItems(list.get(), 0, nullptr, 0));
}
