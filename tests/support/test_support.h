// Helpers for the test executables.
#pragma once

#include <string>

namespace pexo_test {

// A fresh folder under the system temporary folder, removed with everything in it
// when the object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::wstring& path() const { return path_; }
  // path() + L"\\" + name
  std::wstring File(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// Absolute path of a file under tests/data (forward or back slashes accepted).
std::wstring DataFile(const std::wstring& relative);

// Whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// Writes bytes to a file, replacing it; false on failure.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// The folder of the running test executable, without a trailing backslash.
std::wstring ExeFolder();

// Where a test saves a picture made for people (the screenshots the read-me shows):
// the checkout's docs/ folder when PEXO_WRITE_DOCS=1 asks for fresh ones, otherwise
// the test program's own build folder, so that a plain run leaves the checkout as
// it was. The folder exists; the path ends with a backslash.
std::wstring PictureFolder();

// True when the tests run under Wine (some platform calls are missing or stubbed there).
bool RunningUnderWine();

}  // namespace pexo_test
