// Text held in one exact-size, zero-terminated block behind a single pointer: 8
// bytes in its owner where a std::wstring takes 32. For keys derived from other
// fields that every one of tens of thousands of records holds (a link's initials).
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

class CompactText {
 public:
  CompactText() = default;
  CompactText(std::wstring_view text) { Assign(text); }  // NOLINT: converts like a string
  CompactText(const CompactText& other) { Assign(other.view()); }
  CompactText(CompactText&&) noexcept = default;
  CompactText& operator=(const CompactText& other) {
    if (this != &other) Assign(other.view());
    return *this;
  }
  CompactText& operator=(CompactText&&) noexcept = default;
  CompactText& operator=(std::wstring_view text) {
    Assign(text);
    return *this;
  }

  // Text of `length` characters that `fill` writes straight into the block, for keys
  // worked out from another text without a temporary string. `fill` gets the block
  // and writes exactly `length` characters, none of them zero.
  template <typename Fill>
  static CompactText Build(size_t length, Fill&& fill) {
    CompactText text;
    if (length == 0) return text;
    text.text_ = std::make_unique<wchar_t[]>(length + 1);  // zeroed: the end is there
    fill(text.text_.get());
    return text;
  }

  std::wstring_view view() const { return text_ ? std::wstring_view(text_.get()) : std::wstring_view(); }
  operator std::wstring_view() const { return view(); }  // NOLINT: reads like a string
  std::wstring str() const { return std::wstring(view()); }
  bool empty() const { return !text_; }
  size_t size() const { return view().size(); }

  friend bool operator==(const CompactText& a, std::wstring_view b) { return a.view() == b; }
  friend bool operator<(const CompactText& a, const CompactText& b) { return a.view() < b.view(); }

 private:
  // Text with a zero inside keeps what comes before it: keys never hold one.
  void Assign(std::wstring_view text) {
    const size_t length = std::min(text.size(), text.find(L'\0'));
    if (length == 0) {
      text_.reset();
      return;
    }
    text_ = std::make_unique<wchar_t[]>(length + 1);  // zeroed: the end is there
    text.copy(text_.get(), length);
  }

  std::unique_ptr<wchar_t[]> text_;
};
