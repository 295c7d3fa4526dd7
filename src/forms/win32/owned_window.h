// A window that belongs to one object and is destroyed with it.
#pragma once

#include <windows.h>

#include <utility>

#include "forms/win32/window_map.h"

namespace tivoler {

class OwnedWindow {
 public:
  OwnedWindow() = default;
  explicit OwnedWindow(HWND hwnd) : hwnd_(hwnd) {}
  ~OwnedWindow() { Reset(); }
  OwnedWindow(OwnedWindow&& other) noexcept : hwnd_(std::exchange(other.hwnd_, nullptr)) {}
  OwnedWindow& operator=(OwnedWindow&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.hwnd_, nullptr));
    return *this;
  }
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;

  HWND get() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }
  // Destroys the window held (unless the system already did, with its parent) and
  // takes hwnd instead.
  void Reset(HWND hwnd = nullptr) {
    if (hwnd_) {
      ForgetWindow(hwnd_);
      if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    hwnd_ = hwnd;
  }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace tivoler
