// Move-only owners for the handles the window layer holds.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <utility>

// Owns one handle and releases it with Release when it goes.
template <typename Handle, auto Release>
class Unique {
public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  ~Unique() { reset(); }
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  // The handle held before goes with the other owner.
  Unique& operator=(Unique&& other) noexcept {
    std::swap(handle_, other.handle_);
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

// The object of Tovix's that a window stands for, kept in the window's own
// data from its making on: the form, or a control.
template <typename Object>
void attach(HWND window, Object* object) {
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}
template <typename Object>
Object* objectOf(HWND window) {
  return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

inline void deleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void destroyWindow(HWND window) { DestroyWindow(window); }
inline void closeHandle(HANDLE handle) { CloseHandle(handle); }
inline void destroyIcon(HICON icon) { DestroyIcon(icon); }
inline void unregisterClass(ATOM atom) { UnregisterClassW(MAKEINTATOM(atom), GetModuleHandleW(nullptr)); }
inline void freeLibrary(HMODULE module) { FreeLibrary(module); }
inline void endOle(bool) { OleUninitialize(); }

template <typename GdiObject>
using UniqueGdiObject = Unique<GdiObject, deleteGdiObject>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueWindow = Unique<HWND, destroyWindow>;
using UniqueHandle = Unique<HANDLE, closeHandle>;
using UniqueIcon = Unique<HICON, destroyIcon>;
using UniqueClass = Unique<ATOM, unregisterClass>;
using UniqueLibrary = Unique<HMODULE, freeLibrary>;
using UniqueOle = Unique<bool, endOle>;  // whether OLE was initialised
