#include "ui/base/markup_parser.h"

#include <windows.h>
#include <shlwapi.h>

#include <climits>
#include <cstdlib>
#include <cwctype>
#include <new>
#include <vector>

#include "ui/base/scoped_handles.h"
#include "ui/base/ui_globals.h"

namespace ui {

namespace {

bool IsWhitespace(wchar_t ch) { return ch >= 0x01 && ch <= 0x20; }

bool IsIdentifierChar(wchar_t ch) {
  if (ch < 0x80) {
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9') ||
           ch == L'_' || ch == L':';
  }
  return std::iswalnum(ch);
}

// Converts 8-bit text in the given code page into a new NUL-terminated buffer.
std::unique_ptr<wchar_t[]> DecodeCodePage(UINT code_page, const char* bytes, size_t length,
                                          size_t& out_length) {
  out_length = 0;
  int count = 0;
  if (length > 0) {
    count = MultiByteToWideChar(code_page, 0, bytes, static_cast<int>(length), nullptr, 0);
    if (count <= 0) return nullptr;
  }
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[count + 1]);
  if (!text) return nullptr;
  if (count > 0) MultiByteToWideChar(code_page, 0, bytes, static_cast<int>(length), text.get(), count);
  text[count] = 0;
  out_length = static_cast<size_t>(count);
  return text;
}

}  // namespace

void MarkupDocument::FreeDeleter::operator()(void* p) const { std::free(p); }

MarkupDocument::MarkupDocument() = default;

MarkupDocument::MarkupDocument(const wchar_t* text) { Load(text); }

MarkupDocument::~MarkupDocument() = default;

void MarkupDocument::Release() {
  text_.reset();
  length_ = 0;
  elements_.reset();
  element_count_ = 0;
  element_capacity_ = 0;
}

void MarkupDocument::ClearErrors() {
  error_message_[0] = 0;
  error_location_[0] = 0;
}

bool MarkupDocument::FailWithoutLocation(const wchar_t* message) {
  Release();
  lstrcpynW(error_message_, message, static_cast<int>(std::size(error_message_)));
  error_location_[0] = 0;
  return false;
}

bool MarkupDocument::Fail(const wchar_t* message, size_t location) {
  lstrcpynW(error_message_, message, static_cast<int>(std::size(error_message_)));
  size_t n = 0;
  while (n + 1 < std::size(error_location_) && !AtEnd(location + n)) {
    error_location_[n] = text_[location + n];
    ++n;
  }
  error_location_[n] = 0;
  Release();
  return false;
}

bool MarkupDocument::Load(const wchar_t* text) {
  Release();
  ClearErrors();
  size_t length = text ? wcslen(text) : 0;
  std::unique_ptr<wchar_t[]> copy(new (std::nothrow) wchar_t[length + 1]);
  if (!copy) return FailWithoutLocation(L"Out of memory");
  if (length > 0) wmemcpy(copy.get(), text, length);
  copy[length] = 0;
  return TakeText(std::move(copy), length);
}

bool MarkupDocument::LoadFromMemory(const void* bytes, size_t length, int encoding) {
  Release();
  ClearErrors();
  const char* data = static_cast<const char*>(bytes);
  if (!data) length = 0;
  if (length > INT_MAX) return FailWithoutLocation(L"File too large");

  std::unique_ptr<wchar_t[]> text;
  size_t text_length = 0;
  if (encoding == kUtf8 || encoding == kAnsi) {
    if (encoding == kUtf8 && length > 2 && static_cast<unsigned char>(data[0]) == 0xEF &&
        static_cast<unsigned char>(data[1]) == 0xBB && static_cast<unsigned char>(data[2]) == 0xBF) {
      data += 3;
      length -= 3;
    }
    text = DecodeCodePage(encoding == kUtf8 ? CP_UTF8 : CP_ACP, data, length, text_length);
    if (!text) return FailWithoutLocation(L"Could not decode text");
  } else {
    if (length < 2) return FailWithoutLocation(L"Missing byte-order mark");
    const unsigned char b0 = static_cast<unsigned char>(data[0]);
    const unsigned char b1 = static_cast<unsigned char>(data[1]);
    bool big_endian;
    if (b0 == 0xFF && b1 == 0xFE) {
      big_endian = false;
    } else if (b0 == 0xFE && b1 == 0xFF) {
      big_endian = true;
    } else {
      return FailWithoutLocation(L"Missing byte-order mark");
    }
    text_length = (length - 2) / 2;  // a trailing odd byte is ignored
    text.reset(new (std::nothrow) wchar_t[text_length + 1]);
    if (!text) return FailWithoutLocation(L"Out of memory");
    const unsigned char* src = reinterpret_cast<const unsigned char*>(data) + 2;
    for (size_t i = 0; i < text_length; ++i) {
      const unsigned lo = big_endian ? src[2 * i + 1] : src[2 * i];
      const unsigned hi = big_endian ? src[2 * i] : src[2 * i + 1];
      text[i] = static_cast<wchar_t>(lo | (hi << 8));
    }
    text[text_length] = 0;
  }
  return TakeText(std::move(text), text_length);
}

bool MarkupDocument::LoadFromFile(const std::wstring& path, int encoding) {
  Release();
  ClearErrors();
  std::wstring full = path;
  if (PathIsRelativeW(path.c_str())) full = UiGlobals::GetResourcePath() + path;

  UniqueHandle file(CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return FailWithoutLocation(L"Error opening file");
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return FailWithoutLocation(L"Could not read file");
  if (size.QuadPart == 0) return FailWithoutLocation(L"File is empty");
  if (size.QuadPart > static_cast<LONGLONG>(kMaxFileSize)) return FailWithoutLocation(L"File too large");

  const DWORD wanted = static_cast<DWORD>(size.QuadPart);
  std::unique_ptr<char[]> bytes(new (std::nothrow) char[wanted]);
  if (!bytes) return FailWithoutLocation(L"Out of memory");
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.get(), wanted, &read, nullptr) || read != wanted) {
    return FailWithoutLocation(L"Could not read file");
  }
  return LoadFromMemory(bytes.get(), wanted, encoding);
}

bool MarkupDocument::TakeText(std::unique_ptr<wchar_t[]> text, size_t length) {
  // Offsets into the text are 32-bit.
  if (length >= UINT32_MAX - 2) return FailWithoutLocation(L"File too large");
  text_ = std::move(text);
  length_ = length;
  if (Parse()) return true;
  Release();
  return false;
}

MarkupNode MarkupDocument::GetRoot() {
  if (element_count_ > 1) return MarkupNode(this, 1);
  return MarkupNode();
}

void MarkupDocument::SkipWhitespace(size_t& pos) const {
  while (!AtEnd(pos) && IsWhitespace(text_[pos])) ++pos;
}

void MarkupDocument::SkipIdentifier(size_t& pos) const {
  while (!AtEnd(pos) && IsIdentifierChar(text_[pos])) ++pos;
}

bool MarkupDocument::AddElement(uint32_t& index) {
  if (element_count_ >= element_capacity_) {
    const uint64_t grown = uint64_t{element_capacity_} + element_capacity_ / 2 + 500;
    if (grown > UINT32_MAX / sizeof(Element)) return FailWithoutLocation(L"Out of memory");
    void* moved = std::realloc(elements_.get(), static_cast<size_t>(grown) * sizeof(Element));
    if (!moved) return FailWithoutLocation(L"Out of memory");
    (void)elements_.release();
    elements_.reset(static_cast<Element*>(moved));
    element_capacity_ = static_cast<uint32_t>(grown);
  }
  index = element_count_++;
  elements_.get()[index] = Element{};
  return true;
}

// Decodes entities in place from pos up to the terminator or the end of the
// text. The write position never passes the read position; characters left
// between them become spaces, except the first one, which the caller overwrites
// with the NUL that ends the decoded text.
void MarkupDocument::DecodeInPlace(size_t& pos, size_t& dest, wchar_t terminator) {
  struct Entity {
    const wchar_t* name;
    wchar_t value;
  };
  static const Entity kEntities[] = {
      {L"amp;", L'&'}, {L"lt;", L'<'}, {L"gt;", L'>'}, {L"quot;", L'"'}, {L"apos;", L'\''}};
  wchar_t* text = text_.get();
  while (!AtEnd(pos) && text[pos] != terminator) {
    const wchar_t ch = text[pos];
    if (ch == L'&') {
      ++pos;
      wchar_t decoded = L'&';
      for (const Entity& entity : kEntities) {
        size_t n = 0;
        // The text is NUL-terminated, so a mismatch stops the comparison in bounds.
        while (entity.name[n] != 0 && text[pos + n] == entity.name[n]) ++n;
        if (entity.name[n] == 0) {
          decoded = entity.value;
          pos += n;
          break;
        }
      }
      text[dest++] = decoded;
    } else if (ch == L' ') {
      text[dest++] = text[pos++];
      if (!preserve_whitespace_) SkipWhitespace(pos);
    } else {
      text[dest++] = text[pos++];
    }
  }
  if (dest != pos) {
    for (size_t fill = dest + 1; fill < pos; ++fill) text[fill] = L' ';
  }
}

bool MarkupDocument::ParseAttributes(size_t& pos) {
  wchar_t* text = text_.get();
  if (text[pos] == L'>') return true;
  if (!(text[pos] == L'/' && text[pos + 1] == L'>')) text[pos++] = 0;
  SkipWhitespace(pos);
  while (!AtEnd(pos) && text[pos] != L'>' && text[pos] != L'/') {
    SkipIdentifier(pos);
    const size_t name_end = pos;
    SkipWhitespace(pos);
    if (text[pos] != L'=') return Fail(L"Error while parsing attributes", pos);
    text[pos++] = L' ';
    text[name_end] = 0;
    SkipWhitespace(pos);
    if (text[pos] != L'"') return Fail(L"Expected attribute value", AtEnd(pos) ? pos : pos + 1);
    ++pos;
    size_t dest = pos;
    DecodeInPlace(pos, dest, L'"');
    if (AtEnd(pos)) return Fail(L"Error while parsing attribute string", pos);
    text[dest] = 0;
    if (pos != dest) text[pos] = L' ';
    ++pos;
    SkipWhitespace(pos);
  }
  return true;
}

// At "</" of an open element: checks the closing name and steps over the tag.
bool MarkupDocument::CloseElement(const OpenElement& open, size_t& pos) {
  wchar_t* text = text_.get();
  text[open.content_end] = 0;
  text[pos] = 0;
  pos += 2;
  SkipWhitespace(pos);
  const size_t closing = pos;
  const size_t name_length = open.name_end - open.name_start;
  for (size_t i = 0; i < name_length; ++i) {
    if (AtEnd(pos + i) || text[pos + i] != text[open.name_start + i]) {
      return Fail(L"Unmatched closing tag", closing);
    }
  }
  pos += name_length;
  SkipWhitespace(pos);
  if (text[pos] != L'>') return Fail(L"Unmatched closing tag", closing);
  ++pos;
  text[open.name_end] = 0;
  SkipWhitespace(pos);
  return true;
}

// Parses the whole text. Open elements are kept on an explicit stack instead of
// the call stack, so arbitrarily deep nesting cannot overflow it.
bool MarkupDocument::Parse() {
  element_count_ = 0;
  ClearErrors();
  uint32_t document = 0;
  if (!AddElement(document)) return false;

  wchar_t* text = text_.get();
  std::vector<OpenElement> open;
  open.push_back(OpenElement{0, 0, 0, 0, 0});
  size_t pos = 0;
  SkipWhitespace(pos);
  for (;;) {
    const uint32_t parent = open.back().index;
    SkipWhitespace(pos);
    if (AtEnd(pos)) {
      // Only the root and its direct children may be left unclosed.
      if (parent > 1) return Fail(L"Expected end-tag start", pos);
      if (open.size() == 1) return true;
      text[open.back().content_end] = 0;
      text[open.back().name_end] = 0;
      open.pop_back();
      continue;
    }
    if (text[pos] != L'<') return Fail(L"Expected start tag", pos);
    if (text[pos + 1] == L'/') {
      // The end tag of the parent: a stray one at the top ends the document.
      if (open.size() == 1) return true;
      const OpenElement closed = open.back();
      open.pop_back();
      if (!CloseElement(closed, pos)) return false;
      continue;
    }
    text[pos++] = 0;
    SkipWhitespace(pos);

    if (text[pos] == L'!' || text[pos] == L'?') {
      const wchar_t end_mark = text[pos] == L'!' ? L'-' : L'?';
      while (!AtEnd(pos) && !(text[pos] == end_mark && text[pos + 1] == L'>')) ++pos;
      if (!AtEnd(pos)) pos += 2;
      SkipWhitespace(pos);
      continue;
    }

    uint32_t index = 0;
    if (!AddElement(index)) return false;
    Element* elements = elements_.get();
    elements[index].name = static_cast<uint32_t>(pos);
    elements[index].parent = parent;
    OpenElement& siblings = open.back();
    if (siblings.previous != 0) {
      elements[siblings.previous].next = index;
    } else if (parent != 0) {
      elements[parent].child = index;
    }
    siblings.previous = index;

    const size_t name_start = pos;
    SkipIdentifier(pos);
    const size_t name_end = pos;
    if (AtEnd(pos)) return Fail(L"Error parsing element name", pos);
    if (!ParseAttributes(pos)) return false;
    SkipWhitespace(pos);
    if (text[pos] == L'/' && text[pos + 1] == L'>') {
      elements_.get()[index].data_end = static_cast<uint32_t>(pos);
      text[pos] = 0;
      pos += 2;
      text[name_end] = 0;
      SkipWhitespace(pos);
      continue;
    }
    if (text[pos] != L'>') return Fail(L"Expected start-tag closing", pos);
    ++pos;
    elements_.get()[index].data_end = static_cast<uint32_t>(pos);
    size_t content_end = pos;
    DecodeInPlace(pos, content_end, L'<');
    const OpenElement element{index, 0, name_start, name_end, content_end};
    if (AtEnd(pos)) {
      if (parent > 1) return Fail(L"Expected end-tag start", pos);
      text[content_end] = 0;
      text[name_end] = 0;
      continue;
    }
    if (text[pos + 1] != L'/') {
      open.push_back(element);
      continue;
    }
    if (!CloseElement(element, pos)) return false;
  }
}

// ---- MarkupNode ----

const wchar_t* MarkupNode::GetName() const {
  if (!document_ || element_ >= document_->element_count_) return nullptr;
  return document_->text_.get() + document_->elements_.get()[element_].name;
}

MarkupNode MarkupNode::GetChild() const {
  if (!document_ || element_ >= document_->element_count_) return MarkupNode();
  const uint32_t child = document_->elements_.get()[element_].child;
  return child ? MarkupNode(document_, child) : MarkupNode();
}

MarkupNode MarkupNode::GetSibling() const {
  if (!document_ || element_ >= document_->element_count_) return MarkupNode();
  const uint32_t next = document_->elements_.get()[element_].next;
  return next ? MarkupNode(document_, next) : MarkupNode();
}

int MarkupNode::GetAttributeCount() {
  if (!document_) return 0;
  if (attribute_count_ == 0) MapAttributes();
  return attribute_count_;
}

const wchar_t* MarkupNode::AttributeText(int index, bool value) {
  if (!document_) return nullptr;
  if (attribute_count_ == 0) MapAttributes();
  if (index < 0 || index >= attribute_count_) return L"";
  const AttributePair& pair = attributes_[index];
  return document_->text_.get() + (value ? pair.value : pair.name);
}

const wchar_t* MarkupNode::GetAttributeName(int index) { return AttributeText(index, false); }

const wchar_t* MarkupNode::GetAttributeValue(int index) { return AttributeText(index, true); }

void MarkupNode::MapAttributes() {
  attribute_count_ = 0;
  if (!document_ || element_ >= document_->element_count_) return;
  const wchar_t* text = document_->text_.get();
  const size_t length = document_->length_;
  // Reads past the text yield NUL, so a walk near its end stays in bounds.
  auto at = [&](size_t pos) -> wchar_t { return pos < length ? text[pos] : 0; };
  auto step_over_string = [&](size_t& pos) {
    while (at(pos) != 0) ++pos;
    ++pos;
  };
  auto skip_whitespace = [&](size_t& pos) {
    while (IsWhitespace(at(pos))) ++pos;
  };
  const auto& element = document_->elements_.get()[element_];
  size_t pos = element.name;
  const size_t data_end = element.data_end;
  step_over_string(pos);
  while (pos < data_end && pos < length) {
    skip_whitespace(pos);
    const size_t name = pos;
    step_over_string(pos);
    skip_whitespace(pos);
    if (at(pos) != L'"') return;
    ++pos;
    attributes_[attribute_count_++] = AttributePair{static_cast<uint32_t>(name), static_cast<uint32_t>(pos)};
    if (attribute_count_ >= kMaxAttributes) return;
    step_over_string(pos);
  }
}

}  // namespace ui
