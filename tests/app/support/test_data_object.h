// A drag source's data object for the drop tests: it offers each format it was
// given as global memory and hands out a fresh copy on every request.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

// The common part of the tests' drag sources: they live on the test's stack, so
// they count no references, and they keep the default cursors. Each subclass says
// when its drag drops.
class StackDropSource : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 protected:
  ~StackDropSource() = default;
};

class TestDataObject final : public IDataObject {
 public:
  void Set(CLIPFORMAT format, const void* bytes, size_t size) {
    const auto* begin = static_cast<const char*>(bytes);
    formats_[format] = std::string(begin, begin + size);
  }
  void SetText(const std::wstring& text) { Set(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t)); }
  // A CF_HDROP block listing the paths.
  void SetFiles(const std::vector<std::wstring>& paths) {
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof(header));
    for (const std::wstring& path : paths) {
      block.append(reinterpret_cast<const char*>(path.c_str()), (path.size() + 1) * sizeof(wchar_t));
    }
    block.append(sizeof(wchar_t), '\0');
    formats_[CF_HDROP] = block;
  }
  int getDataCalls = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
      *out = static_cast<IDataObject*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    ++getDataCalls;
    auto found = formats_.find(format->cfFormat);
    if (found == formats_.end() || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, found->second.size());
    std::memcpy(GlobalLock(copy), found->second.data(), found->second.size());
    GlobalUnlock(copy);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return formats_.count(format->cfFormat) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  std::map<CLIPFORMAT, std::string> formats_;
};

// A "FileGroupDescriptorW" block with one entry of the given name.
inline std::string WideDescriptorBlock(const std::wstring& name, UINT count = 1) {
  std::string block(sizeof(UINT) + sizeof(FILEDESCRIPTORW), '\0');
  std::memcpy(block.data(), &count, sizeof(count));
  FILEDESCRIPTORW descriptor = {};
  wcsncpy(descriptor.cFileName, name.c_str(), MAX_PATH - 1);
  std::memcpy(block.data() + sizeof(UINT), &descriptor, sizeof(descriptor));
  return block;
}
