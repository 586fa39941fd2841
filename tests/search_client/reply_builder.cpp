#include "tests/search_client/reply_builder.h"

#include <cstring>

namespace search_test {

namespace {

void PutWord(std::string& out, DWORD value) { out.append(reinterpret_cast<const char*>(&value), 4); }
void PutQuad(std::string& out, ULONGLONG value) { out.append(reinterpret_cast<const char*>(&value), 8); }

void PutTerminated(std::string& out, const std::wstring& text, bool utf16) {
  out += Encode(text, utf16);
  out.append(utf16 ? 2 : 1, '\0');
}

// A string field: length in characters, characters, terminator.
void PutStringField(std::string& out, const std::wstring& text, bool utf16) {
  const std::string encoded = Encode(text, utf16);
  PutWord(out, static_cast<DWORD>(encoded.size() / (utf16 ? 2 : 1)));
  out += encoded;
  out.append(utf16 ? 2 : 1, '\0');
}

std::wstring Extension(const std::wstring& name) {
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? L"" : name.substr(dot + 1);
}

std::wstring FullPath(const FakeEntry& e) { return e.path.empty() ? e.name : e.path + L"\\" + e.name; }

void PutDataBlock(std::string& out, const FakeEntry& e, DWORD flags, bool utf16) {
  if (flags & 0x1) PutStringField(out, e.name, utf16);
  if (flags & 0x2) PutStringField(out, e.path, utf16);
  if (flags & 0x4) PutStringField(out, FullPath(e), utf16);
  if (flags & 0x8) PutStringField(out, Extension(e.name), utf16);
  if (flags & 0x10) PutQuad(out, e.size);
  if (flags & 0x20) PutQuad(out, e.date_created);
  if (flags & 0x40) PutQuad(out, e.date_modified);
  if (flags & 0x80) PutQuad(out, e.date_accessed);
  if (flags & 0x100) PutWord(out, e.attributes);
  if (flags & 0x200) PutStringField(out, e.file_list_name, utf16);
  if (flags & 0x400) PutWord(out, e.run_count);
  if (flags & 0x800) PutQuad(out, e.date_run);
  if (flags & 0x1000) PutQuad(out, e.date_recently_changed);
  if (flags & 0x2000) PutStringField(out, L"*" + e.name + L"*", utf16);
  if (flags & 0x4000) PutStringField(out, L"*" + e.path + L"*", utf16);
  if (flags & 0x8000) PutStringField(out, L"*" + FullPath(e) + L"*", utf16);
}

}  // namespace

std::string Encode(const std::wstring& text, bool utf16) {
  if (utf16) return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  if (text.empty()) return {};
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), bytes, nullptr,
                      nullptr);
  return out;
}

DWORD WordAt(const std::string& bytes, size_t offset) {
  DWORD value = 0;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

void SetWordAt(std::string& bytes, size_t offset, DWORD value) { std::memcpy(bytes.data() + offset, &value, 4); }

ReplyContent ContentOf(const std::vector<FakeEntry>& items) {
  ReplyContent content;
  content.items = items;
  for (const FakeEntry& e : items) {
    if (e.flags & 0x1) {
      ++content.total_folders;
    } else {
      ++content.total_files;
    }
  }
  content.total_items = static_cast<DWORD>(items.size());
  return content;
}

std::string BuildListV1(const ReplyContent& c, bool utf16) {
  DWORD folders = 0;
  for (const FakeEntry& e : c.items) folders += (e.flags & 0x1) ? 1 : 0;
  const DWORD count = static_cast<DWORD>(c.items.size());
  std::string out;
  PutWord(out, c.total_folders);
  PutWord(out, c.total_files);
  PutWord(out, c.total_items);
  PutWord(out, folders);
  PutWord(out, count - folders);
  PutWord(out, count);
  PutWord(out, c.offset);
  std::string strings;
  const size_t pool = 28 + 12 * c.items.size();
  for (const FakeEntry& e : c.items) {
    PutWord(out, e.flags);
    PutWord(out, static_cast<DWORD>(pool + strings.size()));
    PutTerminated(strings, e.name, utf16);
    PutWord(out, static_cast<DWORD>(pool + strings.size()));
    PutTerminated(strings, e.path, utf16);
  }
  return out + strings;
}

std::string BuildListV2(const ReplyContent& c, DWORD request_flags, DWORD sort, bool utf16) {
  std::string out;
  PutWord(out, c.total_items);
  PutWord(out, static_cast<DWORD>(c.items.size()));
  PutWord(out, c.offset);
  PutWord(out, request_flags);
  PutWord(out, sort);
  std::string blocks;
  const size_t pool = 20 + 8 * c.items.size();
  for (const FakeEntry& e : c.items) {
    PutWord(out, e.flags);
    PutWord(out, static_cast<DWORD>(pool + blocks.size()));
    PutDataBlock(blocks, e, request_flags, utf16);
  }
  return out + blocks;
}

}  // namespace search_test
