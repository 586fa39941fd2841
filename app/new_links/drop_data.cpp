#include "app/new_links/drop_data.h"

#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <string_view>

#include "ui/base/string_util.h"

namespace {

// The block starts with the 32-bit item count; the first descriptor follows.
constexpr size_t kCountBytes = sizeof(UINT);

// Bytes of a whole item-ID list starting at `offset`, terminator included, or 0
// when it runs past the end of the block.
size_t WholeListSize(const BYTE* bytes, size_t size, size_t offset) {
  size_t at = offset;
  while (at + sizeof(USHORT) <= size) {
    USHORT cb = 0;
    std::memcpy(&cb, bytes + at, sizeof(cb));
    if (cb == 0) return at + sizeof(USHORT) - offset;
    if (cb < sizeof(USHORT)) return 0;
    at += cb;
  }
  return 0;
}

}  // namespace

DWORD ChooseDropEffect(DWORD allowedEffects) {
  if (allowedEffects & DROPEFFECT_LINK) return DROPEFFECT_LINK;
  if (allowedEffects & DROPEFFECT_COPY) return DROPEFFECT_COPY;
  return DROPEFFECT_NONE;
}

std::optional<std::wstring> FirstDescriptorFileName(const void* block, size_t size, bool wide) {
  const size_t descriptorBytes = wide ? sizeof(FILEDESCRIPTORW) : sizeof(FILEDESCRIPTORA);
  if (!block || size < kCountBytes + descriptorBytes) return std::nullopt;
  const BYTE* bytes = static_cast<const BYTE*>(block);
  UINT count = 0;
  std::memcpy(&count, bytes, sizeof(count));
  if (count < 1) return std::nullopt;
  if (wide) {
    FILEDESCRIPTORW descriptor;
    std::memcpy(&descriptor, bytes + kCountBytes, sizeof(descriptor));
    size_t length = wcsnlen(descriptor.cFileName, MAX_PATH);
    if (length == MAX_PATH) return std::nullopt;
    return std::wstring(descriptor.cFileName, length);
  }
  FILEDESCRIPTORA descriptor;
  std::memcpy(&descriptor, bytes + kCountBytes, sizeof(descriptor));
  size_t length = strnlen(descriptor.cFileName, MAX_PATH);
  if (length == MAX_PATH) return std::nullopt;
  std::wstring name;
  if (!WidenStringCounted(std::string_view(descriptor.cFileName, length), name, kCodePageAnsi)) return std::nullopt;
  return name;
}

std::optional<std::wstring> BrowserLinkTitle(const std::wstring& descriptorFileName) {
  const std::wstring lowered = ToLowerAscii(descriptorFileName);
  for (const wchar_t* extension : {L".url", L".web", L".htm"}) {
    size_t at = lowered.find(extension);
    if (at != std::wstring::npos) return descriptorFileName.substr(0, at);
  }
  return std::nullopt;
}

ui::AbsoluteItemIdList FirstItemOfIdArray(const void* block, size_t size) {
  // cidl, then cidl + 1 offsets: the folder's list, then one per item.
  if (!block || size < 3 * sizeof(UINT)) return {};
  const BYTE* bytes = static_cast<const BYTE*>(block);
  UINT count = 0;
  UINT folderOffset = 0;
  UINT itemOffset = 0;
  std::memcpy(&count, bytes, sizeof(UINT));
  std::memcpy(&folderOffset, bytes + sizeof(UINT), sizeof(UINT));
  std::memcpy(&itemOffset, bytes + 2 * sizeof(UINT), sizeof(UINT));
  if (count < 1) return {};
  const size_t folderBytes = WholeListSize(bytes, size, folderOffset);
  const size_t itemBytes = WholeListSize(bytes, size, itemOffset);
  if (folderBytes == 0 || itemBytes == 0) return {};
  // Copies keep the shell's functions away from the block's unaligned lists.
  ui::AbsoluteItemIdList folder = ui::AbsoluteItemIdList::FromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes + folderOffset), folderBytes));
  ui::ChildItemIdList item = ui::ChildItemIdList::FromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes + itemOffset), itemBytes));
  if (!folder || !item) return {};
  return ui::AbsoluteItemIdList::TakeOwnership(ILCombine(folder.get(), item.get()));
}

std::vector<std::wstring> ReadDroppedFiles(HDROP drop) {
  std::vector<std::wstring> paths;
  if (!drop) return paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
    if (!path.empty()) paths.push_back(std::move(path));
  }
  return paths;
}

std::vector<std::wstring> TakeDroppedFiles(HDROP drop) {
  std::vector<std::wstring> paths = ReadDroppedFiles(drop);
  if (drop) DragFinish(drop);
  return paths;
}
