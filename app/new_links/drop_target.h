// The main window's OLE drop target. The owner T takes the drops:
//   bool CanTakeDrops();      // false while nothing can be dropped (a dialog is up, no tag)
//   bool OnDropFileList(const std::vector<std::wstring>& paths);
//   bool OnDropIdList(PCIDLIST_ABSOLUTE item);
//   bool OnDropText(const std::wstring& address, const std::wstring& title);
// each returning whether it took the drop. The target lives inside its owner: its
// count starts at 1 for the owner's own reference, so COM's releases never free it.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/new_links/drop_data.h"
#include "ui/base/scoped_handles.h"
#include "ui/base/string_util.h"

// Releases a medium from IDataObject::GetData once, whatever it holds.
class ScopedStgMedium {
 public:
  ScopedStgMedium() = default;
  ~ScopedStgMedium() {
    if (filled_) ReleaseStgMedium(&medium_);
  }
  ScopedStgMedium(const ScopedStgMedium&) = delete;
  ScopedStgMedium& operator=(const ScopedStgMedium&) = delete;

  // Asks the data object for the format as global memory.
  bool Get(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    filled_ = data && data->GetData(&wanted, &medium_) == S_OK;
    if (filled_ && (medium_.tymed != TYMED_HGLOBAL || !medium_.hGlobal)) return false;
    return filled_;
  }
  HGLOBAL global() const { return filled_ ? medium_.hGlobal : nullptr; }

 private:
  STGMEDIUM medium_ = {};
  bool filled_ = false;
};

// The three registered formats a drop may carry besides files and text.
struct DropFormats {
  CLIPFORMAT descriptorAnsi;
  CLIPFORMAT descriptorWide;
  CLIPFORMAT idListArray;
  static const DropFormats& Get() {
    static const DropFormats formats = {
        static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileGroupDescriptor")),
        static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileGroupDescriptorW")),
        static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Shell IDList Array"))};
    return formats;
  }
};

template <typename T>
class CDropTargetEx final : public IDropTarget {
 public:
  explicit CDropTargetEx(T& owner) : owner_(owner) {
    CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                     helper_.put_void());
  }
  CDropTargetEx(const CDropTargetEx&) = delete;
  CDropTargetEx& operator=(const CDropTargetEx&) = delete;

  void SetOwnerWindow(HWND window) { window_ = window; }
  bool HasDragImages() const { return static_cast<bool>(helper_); }

  // ---- IUnknown ----
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
      *out = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&count_)); }
  // The owner holds the first reference and frees the object itself.
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&count_)); }

  // ---- IDropTarget ----
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    dragUsable_ = OffersUsableFormat(data);
    *effect = dragUsable_ && owner_.CanTakeDrops() ? ChooseDropEffect(*effect) : DROPEFFECT_NONE;
    if (helper_) {
      POINT at = {point.x, point.y};
      helper_->DragEnter(window_, data, &at, *effect);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL point, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    *effect = dragUsable_ && owner_.CanTakeDrops() ? ChooseDropEffect(*effect) : DROPEFFECT_NONE;
    if (helper_) {
      POINT at = {point.x, point.y};
      helper_->DragOver(&at, *effect);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    if (helper_) helper_->DragLeave();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    if (helper_) {
      POINT at = {point.x, point.y};
      helper_->Drop(data, &at, ChooseDropEffect(allowed));
    }
    // The source learns NONE for every drop that added nothing.
    if (data && owner_.CanTakeDrops() && TakeDrop(data)) *effect = ChooseDropEffect(allowed);
    return S_OK;
  }

  // The drop's content, by the first format present: files, then text (a browser
  // link when it comes with a link shortcut's descriptor), then shell items.
  bool TakeDrop(IDataObject* data) {
    const DropFormats& formats = DropFormats::Get();
    {
      ScopedStgMedium files;
      if (files.Get(data, CF_HDROP)) {
        // The medium owns the file list; releasing it replaces DragFinish.
        std::vector<std::wstring> paths;
        {
          ui::GlobalLockGuard lock(files.global());
          if (lock.data()) paths = ReadDroppedFiles(static_cast<HDROP>(files.global()));
        }
        return owner_.OnDropFileList(paths);
      }
    }
    std::wstring text;
    if (ReadText(data, text)) {
      if (text.find(L'.') == std::wstring::npos) return false;
      std::optional<std::wstring> name = DescriptorName(data, formats.descriptorWide, true);
      if (!name) name = DescriptorName(data, formats.descriptorAnsi, false);
      if (!name) return false;
      std::optional<std::wstring> title = BrowserLinkTitle(*name);
      if (!title) return false;
      return owner_.OnDropText(text, *title);
    }
    ScopedStgMedium items;
    if (!items.Get(data, formats.idListArray)) return false;
    ui::AbsoluteItemIdList first;
    {
      ui::GlobalLockGuard lock(items.global());
      first = FirstItemOfIdArray(lock.data(), lock.size());
    }
    return first && owner_.OnDropIdList(first.get());
  }

 private:
  static bool OffersUsableFormat(IDataObject* data) {
    if (!data) return false;
    const DropFormats& formats = DropFormats::Get();
    for (CLIPFORMAT format : {static_cast<CLIPFORMAT>(CF_HDROP), static_cast<CLIPFORMAT>(CF_UNICODETEXT),
                              static_cast<CLIPFORMAT>(CF_TEXT), formats.idListArray}) {
      FORMATETC wanted = {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
      if (data->QueryGetData(&wanted) == S_OK) return true;
    }
    return false;
  }

  // Unicode text first: the ANSI form loses every character outside its code page.
  static bool ReadText(IDataObject* data, std::wstring& text) {
    {
      ScopedStgMedium wide;
      if (wide.Get(data, CF_UNICODETEXT)) {
        ui::GlobalLockGuard lock(wide.global());
        if (!lock.data()) return false;
        const wchar_t* chars = static_cast<const wchar_t*>(lock.data());
        text.assign(chars, wcsnlen(chars, lock.size() / sizeof(wchar_t)));
        return true;
      }
    }
    ScopedStgMedium ansi;
    if (!ansi.Get(data, CF_TEXT)) return false;
    ui::GlobalLockGuard lock(ansi.global());
    if (!lock.data()) return false;
    const char* chars = static_cast<const char*>(lock.data());
    return WidenStringCounted(std::string_view(chars, strnlen(chars, lock.size())), text, kCodePageAnsi);
  }

  static std::optional<std::wstring> DescriptorName(IDataObject* data, CLIPFORMAT format, bool wide) {
    ScopedStgMedium medium;
    if (!medium.Get(data, format)) return std::nullopt;
    ui::GlobalLockGuard lock(medium.global());
    return FirstDescriptorFileName(lock.data(), lock.size(), wide);
  }

  T& owner_;
  HWND window_ = nullptr;
  LONG count_ = 1;
  bool dragUsable_ = false;
  ui::ComPtr<IDropTargetHelper> helper_;
};
