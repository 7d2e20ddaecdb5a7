// Icons at the sizes Windows shows them: an image of the icon group, or the next larger one reduced.
#include "Icon.h"

#include "Picture.h"
#include "Resample.h"

#include <span>

// At 125 %, 150 % and 175 % Windows shows a window's icons at sizes that
// icon files seldom hold (40, 48 and 56 pixels, and 20, 24 and 28 small; ours
// has 16, 32, 48 and 128). Given such a size, LoadImage may enlarge a smaller
// image, which blurs it; Windows' LoadIconWithScaleDown reduces the next
// larger one instead, but Wine's is LoadImage. The reduction here is the same
// on both.

namespace {

// An icon group's directory, as the resource holds it (GRPICONDIR and its
// GRPICONDIRENTRY rows, packed on 16 bits).
#pragma pack(push, 2)
struct GroupHeader {
  WORD reserved, type, count;
};
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitsPerPixel;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// A resource's bytes, mapped for as long as the program runs.
std::span<const BYTE> resourceBytes(int id, const wchar_t* type) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
  return {static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource))), SizeofResource(nullptr, resource)};
}

int widthOf(const GroupEntry& entry) { return entry.width == 0 ? 256 : entry.width; }

// The image with alpha to make the icon from: the smallest at least that
// size, else the largest.
const GroupEntry* sourceFor(std::span<const GroupEntry> images, int size) {
  const auto better = [size](int width, int than) {
    return (width >= size) != (than >= size) ? width >= size : width >= size ? width < than : width > than;
  };
  const GroupEntry* best = nullptr;
  for (const GroupEntry& image : images)
    if (image.bitsPerPixel == 32 && (best == nullptr || better(widthOf(image), widthOf(*best)))) best = &image;
  return best;
}

// An icon of the pixels and their alpha. Its mask, for where the icon is
// drawn without alpha, lets through what is fully transparent; monochrome
// rows are whole 16-bit words.
UniqueIcon iconOf(const Pixels& pixels) {
  const int stride = (pixels.width + 15) / 16 * 2;
  std::vector<BYTE> maskBits(static_cast<size_t>(stride) * static_cast<size_t>(pixels.height));
  for (int y = 0; y < pixels.height; ++y)
    for (int x = 0; x < pixels.width; ++x)
      if (pixels.bgra[static_cast<size_t>(y * pixels.width + x)] >> 24 == 0)
        maskBits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
  const UniqueBitmap colour = bitmapOf(pixels), mask(CreateBitmap(pixels.width, pixels.height, 1, 1, maskBits.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return UniqueIcon(colour && mask ? CreateIconIndirect(&info) : nullptr);  // which copies both
}

}  // namespace

UniqueIcon loadIcon(int groupId, int size) {
  const auto* header = reinterpret_cast<const GroupHeader*>(resourceBytes(groupId, RT_GROUP_ICON).data());
  const GroupEntry* source = sourceFor({reinterpret_cast<const GroupEntry*>(header + 1), header->count}, size);
  const std::span<const BYTE> image = resourceBytes(source->id, RT_ICON);
  const int width = widthOf(*source);
  // 0x00030000: the format of icon images since Windows 3.0, PNG ones included.
  UniqueIcon icon(CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()), TRUE,
                                           0x00030000, width, width, LR_DEFAULTCOLOR));
  // The image's pixels: for an icon with alpha, its colour bitmap holds the
  // alpha in the fourth channel.
  ICONINFO info{};
  if (!icon || width == size || !GetIconInfo(icon.get(), &info)) return icon;
  const UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  const Pixels pixels = pixelsOf(colour.get());
  return pixels.bgra.empty() ? std::move(icon) : iconOf(resample(pixels, size, size, Alpha::Weighting));
}
