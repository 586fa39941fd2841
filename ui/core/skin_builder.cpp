#include "ui/core/skin_builder.h"

#include <algorithm>
#include <vector>

#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"
#include "ui/core/box.h"
#include "ui/core/window.h"

namespace ui {

namespace {

// Element names that belong to the root and never become controls.
bool IsRootTableElement(const std::wstring& name) {
  return name == L"Image" || name == L"FontResource" || name == L"Font" || name == L"Class" ||
         name == L"TextColor";
}

// The skin files being built right now, outermost first, so that a file that
// includes itself (directly or through others) is refused instead of
// recursing until the stack runs out.
std::vector<std::wstring>& FilesInProgress() {
  static std::vector<std::wstring> files;
  return files;
}

std::wstring FileKey(const std::wstring& source) { return ToLowerAscii(NormalizePathSeparators(source)); }

class FileInProgress {
 public:
  explicit FileInProgress(const std::wstring& source) : pushed_(!source.empty()) {
    if (pushed_) FilesInProgress().push_back(FileKey(source));
  }
  ~FileInProgress() {
    if (pushed_) FilesInProgress().pop_back();
  }
  FileInProgress(const FileInProgress&) = delete;
  FileInProgress& operator=(const FileInProgress&) = delete;

 private:
  bool pushed_;
};

// The file may be built now: it is not already being built further out and the
// nesting stays within the limit.
bool MayIncludeFile(const std::wstring& source) {
  const std::vector<std::wstring>& files = FilesInProgress();
  if (files.size() >= static_cast<size_t>(SkinBuilder::kMaxIncludeDepth)) return false;
  if (source.empty() || source[0] == L'<') return true;
  return std::find(files.begin(), files.end(), FileKey(source)) == files.end();
}

// Builds "global.xml" into the framework's tables. The window is only there to
// let the "Global" root apply; anything else the file builds is dropped.
void BuildGlobalXml(const std::wstring& file) {
  Window scratch;
  SkinBuilder builder;
  delete builder.Create(file, CreateControlCallback(), &scratch, nullptr, nullptr);
}

// The builder lives above the global tables, so it hands them its "global.xml"
// builder as soon as it is part of the program.
const bool kGlobalXmlBuilderInstalled = (InstallGlobalXmlBuilder(), true);

}  // namespace

void InstallGlobalXmlBuilder() { UiGlobals::SetGlobalXmlBuilder(BuildGlobalXml); }

bool SkinBuilder::Load(const std::wstring& source) {
  if (!source.empty() && source[0] == L'<') {
    source_.clear();
    return document_.Load(source.c_str());
  }
  source_ = source;
  if (UiGlobals::GetSkinZip()) {
    if (UniqueGlobal block = UiGlobals::ReadZipEntry(UiGlobals::GetResourcePath() + source)) {
      GlobalLockGuard lock(static_cast<HGLOBAL>(block.get()));
      if (!lock.data()) return false;
      return document_.LoadFromMemory(lock.data(), lock.size(), MarkupDocument::kUtf8);
    }
  }
  return document_.LoadFromFile(source, MarkupDocument::kUtf8);
}

Control* SkinBuilder::Create(const std::wstring& source, CreateControlCallback createControl, Window* window,
                             Box* parent, Control* existing, UiGlobals::TemplatePart part) {
  if (!Load(source)) return nullptr;
  return BuildFromDocument(std::move(createControl), window, parent, existing, part);
}

Control* SkinBuilder::BuildFromDocument(CreateControlCallback createControl, Window* window, Box* parent,
                                        Control* existing, UiGlobals::TemplatePart part) {
  createControl_ = std::move(createControl);
  MarkupNode root = document_.GetRoot();
  if (!root.IsValid()) return nullptr;
  FileInProgress inProgress(source_);

  const std::wstring rootName = root.GetName();
  if (window && rootName == L"Global") {
    ApplyGlobalRoot(root);
  } else if (window && rootName == L"Window") {
    if (window->GetHWND()) ApplyWindowRootAttributes(root, window);
    ApplyWindowRootTables(root, window);
  }

  for (MarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
    if (IsRootTableElement(node.GetName())) continue;
    if (!existing) return ParseChildren(root, parent, window);
    if (part != UiGlobals::TemplatePart::kOwnAttributes) ParseChildren(node, existing, window);
    if (part == UiGlobals::TemplatePart::kChildren) return existing;
    int count = node.GetAttributeCount();
    for (int i = 0; i < count; ++i) existing->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    return existing;
  }
  return nullptr;
}

void SkinBuilder::BuildInclude(MarkupNode element, Control* parent, Window* window) {
  constexpr size_t kMaxValueLength = 499;
  int count = 1;
  std::wstring source;
  bool hasSource = false;
  int attributes = element.GetAttributeCount();
  for (int i = 0; i < attributes; ++i) {
    std::wstring name = element.GetAttributeName(i);
    std::wstring value = std::wstring(element.GetAttributeValue(i)).substr(0, kMaxValueLength);
    if (name == L"count") {
      count = _wtoi(value.c_str());
    } else if (name == L"source") {
      source = value;
      hasSource = true;
    }
  }
  if (!hasSource || !MayIncludeFile(source)) return;
  Box* box = dynamic_cast<Box*>(parent);
  for (int i = 0; i < count; ++i) {
    SkinBuilder included;
    Control* built = included.Create(source, createControl_, window, box, nullptr);
    // Without a box to hold them, the included controls would belong to no one.
    if (!box) delete built;
  }
}

}  // namespace ui
