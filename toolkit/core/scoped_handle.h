#pragma once
// Ownership of one operating-system handle: closed when the owner goes, never
// twice.  Traits name the handle type, its "no handle" value and its closer.

#include <windows.h>

#include <utility>

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::none())) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Traits::none());
    }
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::none(); }
  // For calls that fill a handle through a pointer; closes the old one first.
  Handle* receive() {
    reset();
    return &handle_;
  }
  // Gives the handle up without closing it: someone else closes it now.
  Handle release() { return std::exchange(handle_, Traits::none()); }
  void reset(Handle handle = Traits::none()) {
    if (handle_ != Traits::none()) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::none();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle none() { return nullptr; }
  static void close(Handle h) { CloseHandle(h); }
};
using KernelHandle = ScopedHandle<KernelHandleTraits>;

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
using FileHandle = ScopedHandle<FileHandleTraits>;

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) { FindClose(h); }
};
using FindHandle = ScopedHandle<FindHandleTraits>;

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle none() { return nullptr; }
  static void close(Handle h) { RegCloseKey(h); }
};
using RegistryKey = ScopedHandle<RegistryKeyTraits>;

struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle none() { return nullptr; }
  static void close(Handle h) { GlobalFree(h); }
};
using GlobalMemory = ScopedHandle<GlobalMemoryTraits>;

struct DeviceContextTraits {
  using Handle = HDC;
  static Handle none() { return nullptr; }
  static void close(Handle h) { DeleteDC(h); }
};
using DeviceContext = ScopedHandle<DeviceContextTraits>;

struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle none() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
using GdiObject = ScopedHandle<GdiObjectTraits>;
