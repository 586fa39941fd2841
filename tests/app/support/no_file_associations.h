// A test process that sees no file associations at all, as on a system with no
// program registered for .txt files, and the empty files such a test opens.
#pragma once

#include <windows.h>

#include <string>

#include "ui/base/scoped_handles.h"

namespace launcher_test {

// While it lives, the process's classes root is an empty key of the test's own.
class NoFileAssociations {
 public:
  NoFileAssociations() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      empty_.reset(key);
      overridden_ = RegOverridePredefKey(HKEY_CLASSES_ROOT, empty_.get()) == ERROR_SUCCESS;
    }
  }
  ~NoFileAssociations() {
    if (overridden_) RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    empty_.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  }
  NoFileAssociations(const NoFileAssociations&) = delete;
  NoFileAssociations& operator=(const NoFileAssociations&) = delete;
  bool active() const { return overridden_; }

 private:
  static constexpr wchar_t kKey[] = L"Software\\PexoTestNoClasses";
  ui::UniqueRegKey empty_;
  bool overridden_ = false;
};

inline bool WriteEmptyFile(const std::wstring& path) {
  ui::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return file.valid();
}

}  // namespace launcher_test
