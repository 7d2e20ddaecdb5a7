// Move-only owners for the handles the window layer holds.
#pragma once

#include <windows.h>

#include <utility>

// Owns one handle and releases it with Release when it goes.
template <typename Handle, auto Release>
class Unique {
public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  ~Unique() { reset(); }
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Handle{});
    }
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Gives up ownership without releasing, for a handle the platform has
  // already released (a window that Windows destroyed with its parent).
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Release(handle_);
    handle_ = handle;
  }

private:
  Handle handle_{};
};

inline void deleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void destroyWindow(HWND window) { DestroyWindow(window); }
inline void closeHandle(HANDLE handle) { CloseHandle(handle); }
inline void destroyIcon(HICON icon) { DestroyIcon(icon); }
inline void unregisterClass(ATOM atom) { UnregisterClassW(MAKEINTATOM(atom), GetModuleHandleW(nullptr)); }
inline void freeLibrary(HMODULE module) { FreeLibrary(module); }

template <typename GdiObject>
using UniqueGdiObject = Unique<GdiObject, deleteGdiObject>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueWindow = Unique<HWND, destroyWindow>;
using UniqueHandle = Unique<HANDLE, closeHandle>;
using UniqueIcon = Unique<HICON, destroyIcon>;
using UniqueClass = Unique<ATOM, unregisterClass>;
using UniqueLibrary = Unique<HMODULE, freeLibrary>;
