#include "ui/base/language_table.h"

#include <string_view>

#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"

namespace ui {

namespace {

// Whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) {
      ok = false;
      break;
    }
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

LanguageTable& LanguageTable::Instance() {
  static LanguageTable table;
  return table;
}

bool LanguageTable::LoadFromFile(const std::wstring& path) {
  texts_.clear();
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  AddLines(bytes.data(), bytes.size());
  return true;
}

bool LanguageTable::LoadFromMemory(HGLOBAL block) {
  GlobalLockGuard lock(block);
  if (lock.data()) AddLines(static_cast<const char*>(lock.data()), lock.size());
  return true;
}

void LanguageTable::AddLines(const char* bytes, size_t length) {
  // A UTF-8 byte-order mark would otherwise become part of the first identifier.
  if (length >= 3 && std::string_view(bytes, 3) == "\xEF\xBB\xBF") {
    bytes += 3;
    length -= 3;
  }
  size_t start = 0;
  for (size_t i = 0; i <= length; ++i) {
    if (i == length || bytes[i] == '\n' || bytes[i] == '\0') {
      AddLine(bytes + start, i - start);
      start = i + 1;
    }
  }
}

void LanguageTable::AddLine(const char* bytes, size_t length) {
  std::wstring wide;
  WidenStringCounted(std::string_view(bytes, length), wide, kCodePageUtf8);
  const std::wstring line = TrimString(wide.c_str());
  if (line.empty()) return;
  const std::vector<std::wstring> pieces = SplitString(line, L"=");
  if (pieces.size() != 2) return;
  std::wstring id = TrimString(pieces[0].c_str());
  if (id.find(L';') != std::wstring::npos) return;
  texts_[std::move(id)] = TrimString(pieces[1].c_str());
}

std::wstring LanguageTable::GetText(const std::wstring& id) const {
  if (id.empty()) return std::wstring();
  auto it = texts_.find(id);
  if (it == texts_.end()) return std::wstring();
  std::wstring text = it->second;
  ReplaceAll(L"\\r", L"\r", text);
  ReplaceAll(L"\\n", L"\n", text);
  return text;
}

}  // namespace ui
