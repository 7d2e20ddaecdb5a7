// Picture: a JPEG built into the program, decoded by OLE's picture loader when first needed.
#include "Picture.h"

#include <olectl.h>

#include <cstring>
#include <map>

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
  static std::map<int, std::weak_ptr<const Picture>> pictures;
  std::shared_ptr<const Picture> picture = pictures[resourceId].lock();
  if (!picture) {
    picture = std::make_shared<const Picture>(resourceId);
    pictures[resourceId] = picture;
  }
  return picture;
}

Picture::~Picture() {
  if (picture_ != nullptr) picture_->Release();
}

HBITMAP Picture::bitmap() const {
  decode();
  return bitmap_;
}

SIZE Picture::size() const {
  decode();
  return size_;
}

void Picture::decode() const {
  if (decoded_) return;
  decoded_ = true;
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId_), RT_RCDATA);
  if (resource == nullptr) return;
  const DWORD bytes = SizeofResource(nullptr, resource);
  const void* data = LockResource(LoadResource(nullptr, resource));
  IStream* stream = data != nullptr ? streamOver(data, bytes) : nullptr;
  if (stream == nullptr) return;
  const HRESULT loaded =
      OleLoadPicture(stream, static_cast<LONG>(bytes), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture_));
  stream->Release();
  if (FAILED(loaded) || picture_ == nullptr) {
    picture_ = nullptr;
    return;
  }
  OLE_HANDLE handle = 0;
  picture_->get_Handle(&handle);
  bitmap_ = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
  BITMAP info{};
  if (bitmap_ != nullptr && GetObjectW(bitmap_, sizeof info, &info) != 0) size_ = {info.bmWidth, info.bmHeight};
}
