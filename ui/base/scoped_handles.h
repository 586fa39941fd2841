// Scoped owners of Win32 resources: kernel handles, GDI objects and device
// contexts, COM pointers and COM/OLE initialisation, item-ID lists, global
// memory, icons, hooks and atoms. Each owner frees its resource exactly once,
// can be moved but not copied (item-ID lists deep-copy), and hands the resource
// over only through release(), so a leak or a double free shows at the call site.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shtypes.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace ui {

// One owner for every resource kind below. Traits give the raw type, its empty
// value, what counts as valid and how to free it.
template <typename Traits>
class ScopedResource {
 public:
  using Type = typename Traits::Type;

  ScopedResource() = default;
  ScopedResource(std::nullptr_t) {}
  explicit ScopedResource(Type value) : value_(value) {}
  ~ScopedResource() { Free(); }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;
  ScopedResource(ScopedResource&& other) noexcept : value_(other.release()) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const { return value_; }
  bool valid() const { return Traits::IsValid(value_); }
  explicit operator bool() const { return valid(); }
  friend bool operator==(const ScopedResource& owner, std::nullptr_t) { return !owner.valid(); }

  // Gives the resource up without freeing it.
  Type release() {
    Type value = value_;
    value_ = Traits::Empty();
    return value;
  }
  // Frees the current resource (unless it is the same one) and owns the new one.
  void reset(Type value = Traits::Empty()) {
    if (value == value_) return;
    Free();
    value_ = value;
  }
  // For calls that return the resource through an out-parameter: the current
  // resource is freed first and the owner adopts what the call writes.
  Type* put() {
    reset();
    return &value_;
  }

 private:
  void Free() {
    if (Traits::IsValid(value_)) Traits::Close(value_);
    value_ = Traits::Empty();
  }

  Type value_ = Traits::Empty();
};

// Traits of a resource whose empty value is null and that one function frees.
template <typename T, auto CloseFn>
struct NullEmptyTraits {
  using Type = T;
  static constexpr Type Empty() { return Type{}; }
  static bool IsValid(Type value) { return value != Type{}; }
  static void Close(Type value) { CloseFn(value); }
};

// Kernel objects (mutex, file, file mapping, event, thread, process, token).
// Win32 reports failure with NULL from some creators and INVALID_HANDLE_VALUE
// from others (CreateFileW, CreateToolhelp32Snapshot); both count as empty.
struct KernelHandleTraits {
  using Type = HANDLE;
  static constexpr Type Empty() { return nullptr; }
  static bool IsValid(Type value) { return value != nullptr && value != INVALID_HANDLE_VALUE; }
  static void Close(Type value) { CloseHandle(value); }
};
using UniqueHandle = ScopedResource<KernelHandleTraits>;

// FindFirstFileW's search handles, closed with FindClose.
struct FindHandleTraits : KernelHandleTraits {
  static void Close(Type value) { FindClose(value); }
};
using UniqueFindHandle = ScopedResource<FindHandleTraits>;

inline void UnmapView(void* view) { UnmapViewOfFile(view); }
// A view of a file mapping (MapViewOfFile), unmapped when it goes out of scope.
using UniqueMappedView = ScopedResource<NullEmptyTraits<void*, UnmapView>>;

// GDI objects, one owner per kind so a font cannot be put where a region is
// expected; all are freed with DeleteObject.
template <typename T>
struct GdiObjectTraits {
  using Type = T;
  static constexpr Type Empty() { return nullptr; }
  static bool IsValid(Type value) { return value != nullptr; }
  static void Close(Type value) { DeleteObject(value); }
};
using UniqueGdiObject = ScopedResource<GdiObjectTraits<HGDIOBJ>>;
using UniqueFont = ScopedResource<GdiObjectTraits<HFONT>>;
using UniquePen = ScopedResource<GdiObjectTraits<HPEN>>;
using UniqueBrush = ScopedResource<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = ScopedResource<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = ScopedResource<GdiObjectTraits<HRGN>>;

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
using UniqueMemoryDc = ScopedResource<NullEmptyTraits<HDC, DeleteDC>>;

// A window's (or, for a null window, the screen's) device context from GetDC,
// given back with ReleaseDC, which needs the window it came from.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it goes out
// of scope. A DC must not be deleted with one of our objects selected, and an
// object selected into a DC cannot be deleted, so the restore matters for both.
class SelectObjectGuard {
 public:
  SelectObjectGuard(HDC dc, HGDIOBJ object) : dc_(dc) {
    if (dc && object) previous_ = SelectObject(dc, object);
    if (previous_ == HGDI_ERROR) previous_ = nullptr;
  }
  ~SelectObjectGuard() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectObjectGuard(const SelectObjectGuard&) = delete;
  SelectObjectGuard& operator=(const SelectObjectGuard&) = delete;

  // False when nothing was selected (no DC, no object, or GDI refused it).
  bool selected() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// Icons and cursors made by CreateIconIndirect, ExtractIconExW, CopyIcon, ...
// (not the shared ones from LoadIcon), destroyed with DestroyIcon.
using UniqueIcon = ScopedResource<NullEmptyTraits<HICON, DestroyIcon>>;

// A hook from SetWindowsHookExW, removed with UnhookWindowsHookEx.
using UniqueHook = ScopedResource<NullEmptyTraits<HHOOK, UnhookWindowsHookEx>>;

// A global atom (GlobalAddAtomW), whose reference is dropped with GlobalDeleteAtom.
using UniqueGlobalAtom = ScopedResource<NullEmptyTraits<ATOM, GlobalDeleteAtom>>;

// A module loaded with LoadLibraryW, released with FreeLibrary.
using UniqueModule = ScopedResource<NullEmptyTraits<HMODULE, FreeLibrary>>;

// A registry key opened or created by the program, closed with RegCloseKey.
using UniqueRegKey = ScopedResource<NullEmptyTraits<HKEY, RegCloseKey>>;

inline void FreeGlobal(HGLOBAL block) { GlobalFree(block); }
// A movable global memory block (skin archive entries, clipboard and drag data
// that the program made itself), freed with GlobalFree.
using UniqueGlobal = ScopedResource<NullEmptyTraits<HGLOBAL, FreeGlobal>>;

// Locks a global block for the life of the object; data() is null when locking failed.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block)
      : block_(block), data_(block ? GlobalLock(block) : nullptr), size_(data_ ? GlobalSize(block) : 0) {}
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

  void* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  HGLOBAL block_;
  void* data_;
  size_t size_;
};

// An owned COM interface pointer: Release on destruction, AddRef on copy.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    if (other.ptr_) other.ptr_->AddRef();
    reset();
    ptr_ = other.ptr_;
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }

  // Adopts a pointer whose reference the caller already holds (no AddRef).
  static ComPtr TakeOwnership(T* raw) {
    ComPtr result;
    result.ptr_ = raw;
    return result;
  }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

  void reset() {
    if (T* old = std::exchange(ptr_, nullptr)) old->Release();
  }
  // Gives the reference up without releasing it.
  T* release() { return std::exchange(ptr_, nullptr); }
  // For CoCreateInstance, QueryInterface and other calls that return a new
  // reference through an out-parameter; releases the current one first.
  T** put() {
    reset();
    return &ptr_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }

  // The same object through another interface; empty when it has none.
  template <typename U>
  ComPtr<U> As() const {
    ComPtr<U> other;
    if (ptr_) ptr_->QueryInterface(__uuidof(U), other.put_void());
    return other;
  }

 private:
  T* ptr_ = nullptr;
};

// COM for the current thread for the life of the object. Every successful
// CoInitializeEx (S_FALSE included, when the thread already had COM) must be
// balanced by one CoUninitialize; a failed one (another apartment model) must not.
class ScopedComInit {
 public:
  explicit ScopedComInit(DWORD model = COINIT_APARTMENTTHREADED) : result_(CoInitializeEx(nullptr, model)) {}
  ~ScopedComInit() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedComInit(const ScopedComInit&) = delete;
  ScopedComInit& operator=(const ScopedComInit&) = delete;

  bool succeeded() const { return SUCCEEDED(result_); }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// OLE (drag and drop, the clipboard) for the current thread, with the same
// balancing rule as COM: OleUninitialize only after a successful OleInitialize.
// A data object this program left on the OLE clipboard (a copy from a text
// field) is rendered onto the clipboard first: the copied text stays there after
// the program ends, and OleUninitialize finds no object of ours to call into.
class ScopedOleInit {
 public:
  // How long the flush waits for a clipboard that another program holds open.
  static constexpr DWORD kFlushPatienceMs = 3000;

  ScopedOleInit() : result_(OleInitialize(nullptr)) {}
  ~ScopedOleInit() {
    if (!SUCCEEDED(result_)) return;
    FlushOwnClipboard();
    OleUninitialize();
  }
  ScopedOleInit(const ScopedOleInit&) = delete;
  ScopedOleInit& operator=(const ScopedOleInit&) = delete;

  bool succeeded() const { return SUCCEEDED(result_); }
  HRESULT result() const { return result_; }

  // Renders what this process left on the clipboard, for good. Another program
  // (a clipboard manager, or one reading what was just copied) may hold the
  // clipboard open for a moment; OleFlushClipboard then cannot open it, renders
  // nothing, and the copied data would leave with this process. So the flush is
  // tried again while the clipboard is held and still ours, for a few seconds at
  // most. S_FALSE when nothing of ours was on the clipboard.
  static HRESULT FlushOwnClipboard() {
    const DWORD start = GetTickCount();
    for (;;) {
      if (!OwnsClipboard()) return S_FALSE;
      const HRESULT result = OleFlushClipboard();
      if (result != CLIPBRD_E_CANT_OPEN || GetTickCount() - start >= kFlushPatienceMs) return result;
      Sleep(10);
    }
  }

 private:
  // The clipboard's owner is a window of this process (OLE's clipboard window).
  static bool OwnsClipboard() {
    HWND owner = GetClipboardOwner();
    DWORD process = 0;
    return owner && GetWindowThreadProcessId(owner, &process) && process == GetCurrentProcessId();
  }

  HRESULT result_;
};

// Size in bytes of an item-ID list, terminator included; 0 for null.
inline size_t ItemIdListSize(const ITEMIDLIST* list) {
  if (!list) return 0;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(list);
  size_t size = 0;
  for (;;) {
    USHORT cb = 0;
    std::memcpy(&cb, bytes + size, sizeof(cb));
    if (cb == 0) return size + sizeof(USHORT);
    size += cb;
  }
}

// An item-ID list as a value: deep copies, frees with CoTaskMemFree (the
// allocator the shell uses for the lists it returns) and compares by bytes.
// Kind only tells absolute lists (from the desktop) from child lists (one item
// relative to its folder) so that one cannot be passed where the other is meant.
template <typename Kind>
class BasicItemIdList {
 public:
  BasicItemIdList() = default;
  ~BasicItemIdList() { reset(); }
  BasicItemIdList(const BasicItemIdList& other) : list_(Copy(other.list_)) {}
  BasicItemIdList& operator=(const BasicItemIdList& other) {
    if (this != &other) {
      ITEMIDLIST* copy = Copy(other.list_);
      reset();
      list_ = copy;
    }
    return *this;
  }
  BasicItemIdList(BasicItemIdList&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
  BasicItemIdList& operator=(BasicItemIdList&& other) noexcept {
    if (this != &other) {
      reset();
      list_ = std::exchange(other.list_, nullptr);
    }
    return *this;
  }

  // Adopts a list allocated with the COM task allocator (SHParseDisplayName,
  // IShellFolder, SHGetIDListFromObject ...); the caller must not free it.
  static BasicItemIdList TakeOwnership(ITEMIDLIST* raw) {
    BasicItemIdList result;
    result.list_ = raw;
    return result;
  }
  // A deep copy of a list the caller keeps.
  static BasicItemIdList CopyOf(const ITEMIDLIST* list) {
    BasicItemIdList result;
    result.list_ = Copy(list);
    return result;
  }
  // A list from stored bytes; empty unless the bytes hold whole items followed by
  // the two-byte terminator (stored data may be cut short or damaged).
  static BasicItemIdList FromBytes(std::string_view bytes) {
    size_t offset = 0;
    while (offset + sizeof(USHORT) <= bytes.size()) {
      USHORT cb = 0;
      std::memcpy(&cb, bytes.data() + offset, sizeof(cb));
      if (cb == 0) {
        size_t size = offset + sizeof(USHORT);
        BasicItemIdList result;
        result.list_ = static_cast<ITEMIDLIST*>(CoTaskMemAlloc(size));
        if (result.list_) std::memcpy(result.list_, bytes.data(), size);
        return result;
      }
      if (cb < sizeof(USHORT)) break;
      offset += cb;
    }
    return {};
  }

  ITEMIDLIST* get() const { return list_; }
  bool empty() const { return list_ == nullptr; }
  explicit operator bool() const { return list_ != nullptr; }
  size_t size() const { return ItemIdListSize(list_); }
  // The list's bytes, terminator included (the form the link records store).
  std::string ToBytes() const { return std::string(reinterpret_cast<const char*>(list_), size()); }

  void reset() {
    if (list_) CoTaskMemFree(std::exchange(list_, nullptr));
  }
  // Gives the list up; the caller frees it with CoTaskMemFree.
  ITEMIDLIST* release() { return std::exchange(list_, nullptr); }

  friend bool operator==(const BasicItemIdList& a, const BasicItemIdList& b) {
    size_t size = a.size();
    return size == b.size() && (size == 0 || std::memcmp(a.list_, b.list_, size) == 0);
  }

 private:
  static ITEMIDLIST* Copy(const ITEMIDLIST* list) {
    size_t size = ItemIdListSize(list);
    if (size == 0) return nullptr;
    auto* copy = static_cast<ITEMIDLIST*>(CoTaskMemAlloc(size));
    if (copy) std::memcpy(copy, list, size);
    return copy;
  }

  ITEMIDLIST* list_ = nullptr;
};

struct AbsoluteItemIdKind {};
struct ChildItemIdKind {};
using AbsoluteItemIdList = BasicItemIdList<AbsoluteItemIdKind>;
using ChildItemIdList = BasicItemIdList<ChildItemIdKind>;

}  // namespace ui
