// Picture: a JPEG built into the program, decoded by the platform's picture
// loader when first needed, and shared by every image control that shows it.
#pragma once

#include <windows.h>

#include <memory>

struct IPicture;

class Picture {
public:
  // The picture of an RT_RCDATA resource of JPEG data: one object per
  // resource, shared by all who ask for it.
  static std::shared_ptr<const Picture> fromResource(int resourceId);

  explicit Picture(int resourceId) : resourceId_(resourceId) {}
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // The decoded picture and its size in pixels; the first call decodes it.
  // Null and empty if the data cannot be decoded.
  HBITMAP bitmap() const;
  SIZE size() const;

private:
  void decode() const;

  int resourceId_;
  // Decoded on first use: a picture that is handed on before it is ever
  // painted (as at start-up, when both boxes are filled) is never decoded.
  mutable bool decoded_ = false;
  mutable IPicture* picture_ = nullptr;  // owns the bitmap
  mutable HBITMAP bitmap_ = nullptr;
  mutable SIZE size_{};
};
