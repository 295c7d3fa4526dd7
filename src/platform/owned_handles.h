// Owners of the objects the OS port hands out. Each releases its object through the
// port when it goes or is given another, can be moved, and is never copied, so no
// path forgets a release and none releases twice.
#pragma once

#include <string>
#include <utility>

#include "platform/os_port.h"

namespace tivoler {

// The common part; Traits::Release(os, handle) releases a handle other than kNoHandle.
template <typename Traits>
class OsOwned {
 public:
  OsOwned() = default;
  OsOwned(OsPort& os, Handle handle) : os_(&os), handle_(handle) {}
  ~OsOwned() { Reset(); }
  OsOwned(OsOwned&& other) noexcept : os_(other.os_), handle_(other.Take()) {}
  OsOwned& operator=(OsOwned&& other) noexcept {
    if (this != &other) {
      Reset();
      os_ = other.os_;
      handle_ = other.Take();
    }
    return *this;
  }
  OsOwned(const OsOwned&) = delete;
  OsOwned& operator=(const OsOwned&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != kNoHandle; }
  // Releases the object now (nothing when there is none).
  void Reset() {
    if (handle_ != kNoHandle) Traits::Release(*os_, handle_);
    handle_ = kNoHandle;
  }

 private:
  Handle Take() { return std::exchange(handle_, kNoHandle); }

  OsPort* os_ = nullptr;
  Handle handle_ = kNoHandle;
};

struct KernelHandleRelease {
  static void Release(OsPort& os, Handle handle) { os.CloseHandle(handle); }
};
struct KeyWatchRelease {
  static void Release(OsPort& os, Handle watch) { os.EndWatch(watch); }
};
struct FileCursorRelease {
  static void Release(OsPort& os, Handle cursor) { os.DestroyCursor(cursor); }
};
struct DropRelease {
  static void Release(OsPort& os, Handle drop) { os.DragFinish(drop); }
};

// A handle of OpenMutexA or CreateMutexA.
using OwnedKernelHandle = OsOwned<KernelHandleRelease>;
// A watch of WatchKey.
using OwnedKeyWatch = OsOwned<KeyWatchRelease>;
// A cursor of LoadCursorImage (a built-in cursor is the system's: see ShownCursor).
using OwnedFileCursor = OsOwned<FileCursorRelease>;
// The dropped files that a WM_DROPFILES hands over.
using OwnedDrop = OsOwned<DropRelease>;

// The cursor a preview shows. A built-in cursor (LoadCursorA) is shared by the whole
// system and must never be destroyed; a cursor loaded from a file is the program's own
// and is destroyed as soon as another takes its place or the preview goes.
class ShownCursor {
 public:
  void ShowBuiltIn(OsPort& os, int builtInId) {
    Clear();
    handle_ = os.LoadCursorA(builtInId);
  }
  // False (and nothing shown) when the file gives no cursor.
  bool ShowFile(OsPort& os, const std::string& path) {
    Clear();
    file_ = OwnedFileCursor(os, os.LoadCursorImage(path));
    handle_ = file_.Get();
    return handle_ != kNoHandle;
  }
  void Clear() {
    file_.Reset();
    handle_ = kNoHandle;
  }
  Handle Get() const { return handle_; }
  bool FromFile() const { return static_cast<bool>(file_); }

 private:
  OwnedFileCursor file_;
  Handle handle_ = kNoHandle;
};

}  // namespace tivoler
