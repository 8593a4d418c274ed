#pragma once
// The one owner of platform handles: a registry key, a find handle, a file or kernel object, a
// GDI object, an image list, a menu, an accelerator table or an icon is closed by the call its
// traits name when its owner goes, also on an error path. Traits give the handle type, the value
// that holds nothing (nullptr, or INVALID_HANDLE_VALUE for finds and files) and the closing call.

#include <windows.h>
// commctrl.h needs the declarations of windows.h first.
#include <commctrl.h>

template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Type Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  // Gives the handle up without closing it.
  Type Release() {
    Type handle = handle_;
    handle_ = Traits::Empty();
    return handle;
  }
  void Reset(Type handle = Traits::Empty()) {
    if (handle_ != Traits::Empty()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Type handle_ = Traits::Empty();
};

// Handles whose calls give nullptr for nothing, closed by the platform function close.
template <class Handle, auto close>
struct NullHandleTraits {
  using Type = Handle;
  static Type Empty() { return nullptr; }
  static void Close(Type handle) { close(handle); }
};

// Find handles and CreateFileA's handles: INVALID_HANDLE_VALUE holds nothing.
template <auto close>
struct InvalidHandleTraits {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type handle) { close(handle); }
};

using UniqueHKey = UniqueHandle<NullHandleTraits<HKEY, &RegCloseKey>>;
using UniqueFind = UniqueHandle<InvalidHandleTraits<&FindClose>>;
using UniqueFile = UniqueHandle<InvalidHandleTraits<&CloseHandle>>;
// Threads, tokens and the other kernel objects.
using UniqueKernelObject = UniqueHandle<NullHandleTraits<HANDLE, &CloseHandle>>;
using UniqueFont = UniqueHandle<NullHandleTraits<HFONT, &DeleteObject>>;
using UniqueBrush = UniqueHandle<NullHandleTraits<HBRUSH, &DeleteObject>>;
using UniqueBitmap = UniqueHandle<NullHandleTraits<HBITMAP, &DeleteObject>>;
using UniqueImageList = UniqueHandle<NullHandleTraits<HIMAGELIST, &ImageList_Destroy>>;
using UniqueMenu = UniqueHandle<NullHandleTraits<HMENU, &DestroyMenu>>;
using UniqueAccelerators = UniqueHandle<NullHandleTraits<HACCEL, &DestroyAcceleratorTable>>;
using UniqueIcon = UniqueHandle<NullHandleTraits<HICON, &DestroyIcon>>;
