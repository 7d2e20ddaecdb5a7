// Picture: a JPEG built into the program, decoded by OLE's picture loader when first needed.
#include "Picture.h"

#include "Dpi.h"
#include "Resample.h"
#include "ResourceIds.h"

#include <olectl.h>

#include <cstring>
#include <map>

namespace {

// A stream over a copy of the resource's bytes; the stream frees the copy.
// None where the memory cannot be had for the copy.
IStream* streamOver(const void* data, DWORD size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  std::memcpy(GlobalLock(memory), data, size);
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  return stream;
}

// The layout of Pixels as a device-independent bitmap: 32 bits a pixel, the
// top row first (a negative height).
BITMAPINFO formatOf(const Pixels& pixels) {
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  return format;
}

// The JPEG data of a resource, decoded; none where the platform's picture
// loader cannot have the memory for it.
Pixels decode(int resourceId) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
  const DWORD bytes = SizeofResource(nullptr, resource);
  IStream* stream = streamOver(LockResource(LoadResource(nullptr, resource)), bytes);
  if (stream == nullptr) return {};
  IPicture* picture = nullptr;
  const HRESULT loaded =
      OleLoadPicture(stream, static_cast<LONG>(bytes), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded)) return {};
  OLE_HANDLE handle = 0;
  picture->get_Handle(&handle);
  Pixels pixels = pixelsOf(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
  picture->Release();  // with the bitmap it owns
  return pixels;
}

}  // namespace

UniqueBitmap bitmapOf(const Pixels& pixels) {
  const BITMAPINFO format = formatOf(pixels);
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap) std::memcpy(bits, pixels.bgra.data(), pixels.bgra.size() * sizeof(std::uint32_t));
  return bitmap;
}

Pixels pixelsOf(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  Pixels pixels{info.bmWidth, info.bmHeight,
                std::vector<std::uint32_t>(static_cast<size_t>(info.bmWidth) * info.bmHeight)};
  BITMAPINFO format = formatOf(pixels);
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return {};
  const int rows =
      GetDIBits(screen, bitmap, 0, static_cast<UINT>(pixels.height), pixels.bgra.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return rows == pixels.height ? pixels : Pixels{};
}

std::shared_ptr<const Picture> Picture::fromResource(int resourceId) {
  static std::map<int, std::weak_ptr<const Picture>> pictures;
  std::shared_ptr<const Picture> picture = pictures[resourceId].lock();
  if (!picture) {
    picture = std::make_shared<const Picture>(resourceId);
    pictures[resourceId] = picture;
  }
  return picture;
}

HBITMAP Picture::bitmap(int dpi) const noexcept try {
  auto [place, isNew] = renditions_.try_emplace(dpi);
  if (isNew) place->second = render(dpi);
  return place->second.get();
} catch (...) {
  return nullptr;
}

// At 96 and 192 DPI the picture drawn for that scale is shown as it is, pixel
// for pixel. In between, the one drawn for 200 % is reduced, which keeps it
// sharper than the 100 % one enlarged; below 96 DPI the 100 % one is reduced.
UniqueBitmap Picture::render(int dpi) const {
  const bool large = dpi > kUnscaledDpi;
  Pixels pixels = decode(large ? resourceId_ + IDP_DRAWN_FOR_200 : resourceId_);
  if (pixels.bgra.empty()) return {};
  const int drawnFor = large ? 2 * kUnscaledDpi : kUnscaledDpi;
  const int width = MulDiv(pixels.width, dpi, drawnFor), height = MulDiv(pixels.height, dpi, drawnFor);
  if (width != pixels.width || height != pixels.height) pixels = resample(pixels, width, height);
  return bitmapOf(pixels);
}
