// Owners of Win32 objects: each releases its object in its destructor (or when given
// another), can be moved, and is never copied.
#pragma once

#include <windows.h>

#include <utility>

namespace tivoler {

// The common part of the handle owners; Traits names the handle type, the value that
// means "none" and the call that releases any other value.
template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Take()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.Take();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::None(); }
  // For the calls that hand out a new handle through a pointer; releases the old one.
  Type* Receive() {
    Reset();
    return &handle_;
  }
  void Reset() {
    if (handle_ != Traits::None()) Traits::Release(handle_);
    handle_ = Traits::None();
  }

 private:
  Type Take() { return std::exchange(handle_, Traits::None()); }

  Type handle_ = Traits::None();
};

struct RegistryKeyTraits {
  using Type = HKEY;
  static Type None() { return nullptr; }
  static void Release(Type key) { ::RegCloseKey(key); }
};
// Events, mutexes, threads: none is null.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type None() { return nullptr; }
  static void Release(Type handle) { ::CloseHandle(handle); }
};
// Files of CreateFileA: none is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type None() { return INVALID_HANDLE_VALUE; }
  static void Release(Type handle) { ::CloseHandle(handle); }
};

using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;

// A COM interface pointer that holds one reference, released in the destructor. It
// does not initialise COM: whoever uses it keeps COM initialised while it lives.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For CoCreateInstance and QueryInterface; releases the old reference.
  void** Receive() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace tivoler
