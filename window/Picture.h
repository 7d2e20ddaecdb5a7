// Picture: a JPEG built into the program, drawn for 100 % and for 200 % display
// scaling, decoded by the platform's picture loader when first needed, and
// shared by every image control that shows it.
#pragma once

#include "Handles.h"
#include "Resample.h"

#include <map>
#include <memory>

// The pixels of a bitmap, top row first; none if they cannot be read.
Pixels pixelsOf(HBITMAP bitmap);
// A bitmap of the pixels, 32 bits each, alpha kept; null if it cannot be made.
UniqueBitmap bitmapOf(const Pixels& pixels);

class Picture {
public:
  // The picture of an RT_RCDATA resource of JPEG data, with its drawing for
  // 200 % under the id plus IDP_DRAWN_FOR_200: one object per resource,
  // shared by all who ask for it.
  static std::shared_ptr<const Picture> fromResource(int resourceId);

  explicit Picture(int resourceId) : resourceId_(resourceId) {}
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // The picture as shown at a DPI: its own size at 96 DPI, scaled with the
  // DPI. The first call at a DPI decodes it. Null where it cannot be decoded,
  // for want of memory too: the picture is then left out.
  HBITMAP bitmap(int dpi) const noexcept;

private:
  UniqueBitmap render(int dpi) const;

  int resourceId_;
  // Made on first use at each DPI: a picture handed on before it is ever
  // painted (as at start-up, when both boxes are filled) is never decoded,
  // and a window moved back and forth between two monitors decodes it once
  // for each.
  mutable std::map<int, UniqueBitmap> renditions_;
};
