// Picture: a JPEG built into the program, decoded once by the platform's
// picture loader and shared by every image control that shows it.
#pragma once

#include <windows.h>

#include <memory>

struct IPicture;

class Picture {
public:
  // Decodes the JPEG data of an RT_RCDATA resource; null if it cannot.
  static std::shared_ptr<const Picture> fromResource(int resourceId);

  explicit Picture(IPicture* picture);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  HBITMAP bitmap() const { return bitmap_; }
  SIZE size() const { return size_; }

private:
  IPicture* picture_;  // owns the bitmap
  HBITMAP bitmap_ = nullptr;
  SIZE size_{};
};
