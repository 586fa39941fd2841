#include "app/launching/link_location.h"

#include <shlobj.h>

#include <cstring>
#include <string_view>

#include "ui/base/scoped_handles.h"

bool OpenContainingFolder(const std::wstring& path) {
  PIDLIST_ABSOLUTE raw = ILCreateFromPathW(path.c_str());
  if (!raw) return false;
  // ILCreateFromPathW allocates with the shell's allocator, which is the COM one.
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::TakeOwnership(raw);
  return SUCCEEDED(SHOpenFolderAndSelectItems(list.get(), 0, nullptr, 0));
}

bool OpenContainingFolderOfList(const std::vector<uint8_t>& bytes) {
  ui::AbsoluteItemIdList list = ui::AbsoluteItemIdList::FromBytes(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return list && SUCCEEDED(SHOpenFolderAndSelectItems(list.get(), 0, nullptr, 0));
}

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  ui::UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
  bool copied = false;
  if (block) {
    {
      ui::GlobalLockGuard lock(block.get());
      if (lock.data()) std::memcpy(lock.data(), text.data(), text.size() * sizeof(wchar_t));
    }
    EmptyClipboard();
    // The clipboard owns the block only when it takes it; otherwise it is ours to free.
    if (SetClipboardData(CF_UNICODETEXT, block.get())) {
      block.release();
      copied = true;
    }
  }
  CloseClipboard();
  return copied;
}
