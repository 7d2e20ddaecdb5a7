// Picture: a JPEG built into the program, decoded by OLE's picture loader.
#include "Picture.h"

#include <olectl.h>

#include <cstring>

namespace {

// A stream over a copy of the resource's bytes; the stream frees the copy.
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

}  // namespace

std::shared_ptr<const Picture> Picture::fromResource(int resourceId) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
  if (resource == nullptr) return nullptr;
  const DWORD size = SizeofResource(nullptr, resource);
  const void* data = LockResource(LoadResource(nullptr, resource));
  if (data == nullptr) return nullptr;

  IStream* stream = streamOver(data, size);
  if (stream == nullptr) return nullptr;
  IPicture* picture = nullptr;
  const HRESULT loaded =
      OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || picture == nullptr) return nullptr;
  return std::make_shared<const Picture>(picture);
}

Picture::Picture(IPicture* picture) : picture_(picture) {
  OLE_HANDLE handle = 0;
  picture_->get_Handle(&handle);
  bitmap_ = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
  BITMAP info{};
  if (bitmap_ != nullptr && GetObjectW(bitmap_, sizeof info, &info) != 0) size_ = {info.bmWidth, info.bmHeight};
}

Picture::~Picture() { picture_->Release(); }
