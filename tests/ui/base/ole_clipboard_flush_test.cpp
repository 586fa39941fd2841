// What a thread copied onto the OLE clipboard stays there after its OLE ends,
// also when another program holds the clipboard open just then.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "tests/support/clipboard_text.h"
#include "ui/base/scoped_handles.h"

namespace {

// A data object offering one text, rendered only when asked (as a text field's copy is).
class TextObject final : public IDataObject {
 public:
  explicit TextObject(std::wstring text) : text_(std::move(text)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
      *out = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != CF_UNICODETEXT || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    const size_t bytes = (text_.size() + 1) * sizeof(wchar_t);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(copy), text_.c_str(), bytes);
    GlobalUnlock(copy);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_UNICODETEXT ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    FORMATETC text = {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return SHCreateStdEnumFmtEtc(1, &text, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::wstring text_;
};

using pexo_test::ClipboardText;

TEST(OleClipboardFlushTest, TheCopiedTextStaysWhenAnotherHoldsTheClipboardAsOleEnds) {
  const std::wstring copied = L"复制后仍在 still there";
  TextObject object(copied);
  HANDLE placed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(placed && held);
  bool set = false;
  // The copying thread: its OLE ends (with the flush) while this thread holds the clipboard.
  std::thread copier([&] {
    {
      ui::ScopedOleInit ole;
      set = ole.succeeded() && SUCCEEDED(OleSetClipboard(&object));
      SetEvent(placed);
      WaitForSingleObject(held, 10000);
    }
  });
  WaitForSingleObject(placed, 10000);
  // Held open as a clipboard manager does for a moment; the flush must outwait it.
  const bool opened = set && OpenClipboard(nullptr);
  SetEvent(held);
  if (opened) {
    Sleep(300);  // how long the other program holds it, not a wait for anything
    CloseClipboard();
  }
  copier.join();
  CloseHandle(placed);
  CloseHandle(held);
  ASSERT_TRUE(set) << "the text could not be placed on the OLE clipboard";
  ASSERT_TRUE(opened) << "the clipboard could not be held open";
  EXPECT_EQ(ClipboardText(), copied) << "the copied text left the clipboard with the copying thread's OLE";
}

TEST(OleClipboardFlushTest, NothingOfOursOnTheClipboardIsNothingToFlush) {
  ui::ScopedOleInit ole;
  ASSERT_TRUE(ole.succeeded());
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();  // the owner is now no window of this process's OLE
    CloseClipboard();
  }
  EXPECT_EQ(ui::ScopedOleInit::FlushOwnClipboard(), S_FALSE);
}

}  // namespace
