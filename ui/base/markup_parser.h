// Small in-place XML parser for skin files, colour themes and menus.
//
// The document owns one UTF-16 buffer; names and values stay where they are in
// it and are cut out by writing NUL characters. Elements are fixed-size records
// that refer to the text by character offsets. Supported: elements,
// double-quoted attributes, the five named entities, comments and processing
// instructions (skipped). No DTD, CDATA or numeric character references.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ui {

class MarkupDocument;

// One element of a document: a cheap value that stays usable while its
// document lives and is not reloaded.
class MarkupNode {
 public:
  static constexpr int kMaxAttributes = 64;

  MarkupNode() = default;

  bool IsValid() const { return document_ != nullptr; }
  // The element name; null for an invalid node.
  const wchar_t* GetName() const;
  // The first child / next sibling, invalid when there is none.
  MarkupNode GetChild() const;
  MarkupNode GetSibling() const;

  // Maps the attributes on first use; 0 for an invalid node.
  int GetAttributeCount();
  // Empty string for an index out of range, null for an invalid node.
  const wchar_t* GetAttributeName(int index);
  const wchar_t* GetAttributeValue(int index);
  void MapAttributes();

 private:
  friend class MarkupDocument;
  MarkupNode(MarkupDocument* document, uint32_t element) : element_(element), document_(document) {}
  const wchar_t* AttributeText(int index, bool value);

  struct AttributePair {
    uint32_t name;
    uint32_t value;
  };
  uint32_t element_ = 0;
  int attribute_count_ = 0;
  AttributePair attributes_[kMaxAttributes] = {};
  MarkupDocument* document_ = nullptr;
};

class MarkupDocument {
 public:
  enum Encoding { kUtf8 = 0, kUtf16 = 1, kAnsi = 2 };
  // Files above this size are refused.
  static constexpr size_t kMaxFileSize = 0x400000;

  MarkupDocument();
  explicit MarkupDocument(const wchar_t* text);
  ~MarkupDocument();
  MarkupDocument(const MarkupDocument&) = delete;
  MarkupDocument& operator=(const MarkupDocument&) = delete;

  // Copies the NUL-terminated text and parses it.
  bool Load(const wchar_t* text);
  // Decodes the bytes (kUtf8, kAnsi; any other value is UTF-16 with a byte-order
  // mark) and parses them.
  bool LoadFromMemory(const void* bytes, size_t length, int encoding);
  // A relative path is taken relative to the framework's resource path.
  bool LoadFromFile(const std::wstring& path, int encoding);
  void Release();

  // Element 1, or an invalid node when the document holds no element.
  MarkupNode GetRoot();

  // Filled by a failed load: the message and up to 49 characters of the text
  // where the error was found.
  const wchar_t* GetLastErrorMessage() const { return error_message_; }
  const wchar_t* GetLastErrorLocation() const { return error_location_; }

 private:
  friend class MarkupNode;

  struct Element {
    uint32_t name;      // offset of the element name
    uint32_t child;     // first child, 0 for none
    uint32_t next;      // next sibling, 0 for none
    uint32_t parent;    // 0 for the document
    uint32_t data_end;  // after the start tag's ">", or the "/" of an empty element
  };
  struct FreeDeleter {
    void operator()(void* p) const;
  };
  // One open element whose children are being parsed.
  struct OpenElement {
    uint32_t index;
    uint32_t previous;  // last child parsed so far
    size_t name_start;
    size_t name_end;
    size_t content_end;
  };

  bool TakeText(std::unique_ptr<wchar_t[]> text, size_t length);
  bool Parse();
  bool ParseAttributes(size_t& pos);
  void DecodeInPlace(size_t& pos, size_t& dest, wchar_t terminator);
  bool CloseElement(const OpenElement& open, size_t& pos);
  bool AddElement(uint32_t& index);
  bool Fail(const wchar_t* message, size_t location);
  bool FailWithoutLocation(const wchar_t* message);
  bool AtEnd(size_t pos) const { return pos >= length_ || text_[pos] == 0; }
  void SkipWhitespace(size_t& pos) const;
  void SkipIdentifier(size_t& pos) const;
  void ClearErrors();

  std::unique_ptr<wchar_t[]> text_;
  size_t length_ = 0;
  std::unique_ptr<Element, FreeDeleter> elements_;
  uint32_t element_count_ = 0;
  uint32_t element_capacity_ = 0;
  wchar_t error_message_[100] = {};
  wchar_t error_location_[50] = {};
  bool preserve_whitespace_ = true;
};

}  // namespace ui
