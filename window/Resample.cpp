// Resizes a picture's pixels by area averaging, in whole numbers.
#include "Resample.h"

#include <algorithm>

// Windows has an area-averaging scaler of its own, the imaging component's
// Fant mode (IWICBitmapScaler, WICBitmapInterpolationModeFant: each new pixel
// the weighted mean of the old pixels it maps to), but Wine's scaler knows
// only nearest neighbour and takes every other mode for it, which would break
// fine lines and text up where Tovix is tested. Averaging here gives the same
// pixels on both.

namespace {

// Along one axis, old pixel k spans [k * to, (k + 1) * to) and new pixel i
// spans [i * from, (i + 1) * from), both in units of 1/to of an old pixel:
// every overlap is a whole number, and a new pixel's overlaps add up to from.
struct Cover {
  int first = 0;    // the first old pixel the new one covers
  int weights = 0;  // where its overlaps start in Axis::weights
  int count = 0;
};

struct Axis {
  std::vector<Cover> covers;
  std::vector<std::uint32_t> weights;
};

Axis axis(int from, int to) {
  Axis result;
  result.covers.resize(static_cast<size_t>(to));
  for (int i = 0; i < to; ++i) {
    const long long start = static_cast<long long>(i) * from, end = start + from;
    Cover& cover = result.covers[static_cast<size_t>(i)];
    cover.first = static_cast<int>(start / to);
    cover.weights = static_cast<int>(result.weights.size());
    for (long long old = cover.first; old * to < end; ++old)
      result.weights.push_back(static_cast<std::uint32_t>(std::min(end, (old + 1) * to) - std::max(start, old * to)));
    cover.count = static_cast<int>(result.weights.size()) - cover.weights;
  }
  return result;
}

// Rounds n / d to the nearest whole number for every n up to 255 × d, by a
// multiplication and a shift instead of a division for each channel of each
// pixel: with 2^shift ≥ 256 × d², n × ceil(2^shift / d) / 2^shift exceeds
// n / d by less than 1/d, too little to reach the next whole number.
class Divider {
public:
  explicit Divider(std::uint32_t d) : half_(d / 2) {
    while ((std::uint64_t{1} << shift_) / d / d < 256) ++shift_;
    multiplier_ = ((std::uint64_t{1} << shift_) + d - 1) / d;
  }
  std::uint32_t rounded(std::uint32_t n) const {
    return static_cast<std::uint32_t>((std::uint64_t{n + half_} * multiplier_) >> shift_);
  }

private:
  std::uint32_t half_;
  int shift_ = 0;
  std::uint64_t multiplier_ = 0;
};

// One old row summed across: each new pixel's channels weighted by its
// overlaps with the old pixels it covers, at most 255 × from.width each.
void sumAcross(const Pixels& from, int y, const Axis& across, std::vector<std::uint32_t>& sums) {
  const std::uint32_t* old = &from.bgra[static_cast<size_t>(y) * static_cast<size_t>(from.width)];
  std::uint32_t* sum = sums.data();
  for (const Cover& cover : across.covers) {
    std::uint32_t b = 0, g = 0, r = 0, a = 0;
    for (int k = 0; k < cover.count; ++k) {
      const std::uint32_t pixel = old[cover.first + k], weight = across.weights[static_cast<size_t>(cover.weights + k)];
      b += weight * (pixel & 0xFF);
      g += weight * ((pixel >> 8) & 0xFF);
      r += weight * ((pixel >> 16) & 0xFF);
      a += weight * (pixel >> 24);
    }
    sum[0] = b, sum[1] = g, sum[2] = r, sum[3] = a;
    sum += 4;
  }
}

// Averaged as icons store them, with straight alpha, the colours of
// transparent pixels would bleed into the edges; so each colour is first
// weighted by its pixel's alpha, and divided by the averaged alpha after.
Pixels premultiplied(Pixels pixels) {
  for (std::uint32_t& pixel : pixels.bgra) {
    const std::uint32_t alpha = pixel >> 24;
    std::uint32_t weighted = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) weighted |= (((pixel >> shift) & 0xFF) * alpha + 127) / 255 << shift;
    pixel = weighted;
  }
  return pixels;
}

void unpremultiply(Pixels& pixels) {
  for (std::uint32_t& pixel : pixels.bgra) {
    const std::uint32_t alpha = pixel >> 24;
    std::uint32_t straight = alpha << 24;
    for (int shift = 0; alpha != 0 && shift < 24; shift += 8)
      straight |= std::min<std::uint32_t>(255, (((pixel >> shift) & 0xFF) * 255 + alpha / 2) / alpha) << shift;
    pixel = straight;
  }
}

}  // namespace

// Each new row sums the old rows it covers, summed across and weighted by the
// down overlaps (at most 255 × from.width × from.height a channel), and
// divides by the new pixel's whole area, from.width × from.height. The old
// rows are summed across one at a time as they are needed, each once: the
// new rows take them in order, and neighbours share at most their last.
// Buffers of a row or two, not the whole picture: under Wine the first touch
// of a fresh megabyte costs milliseconds.
Pixels resample(const Pixels& given, int width, int height, Alpha alpha) {
  const Pixels weighted = alpha == Alpha::Weighting ? premultiplied(given) : Pixels{};
  const Pixels& from = alpha == Alpha::Weighting ? weighted : given;
  const Axis across = axis(from.width, width), down = axis(from.height, height);
  const Divider area(static_cast<std::uint32_t>(from.width) * static_cast<std::uint32_t>(from.height));
  const size_t rowSize = static_cast<size_t>(width) * 4;
  std::vector<std::uint32_t> oldRow(rowSize), sums(rowSize);
  int summedRow = -1;
  Pixels to{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height))};
  for (int y = 0; y < height; ++y) {
    const Cover& cover = down.covers[static_cast<size_t>(y)];
    std::ranges::fill(sums, 0u);
    for (int k = 0; k < cover.count; ++k) {
      if (cover.first + k != summedRow) sumAcross(from, summedRow = cover.first + k, across, oldRow);
      const std::uint32_t weight = down.weights[static_cast<size_t>(cover.weights + k)];
      for (size_t i = 0; i < rowSize; ++i) sums[i] += weight * oldRow[i];
    }
    std::uint32_t* pixel = &to.bgra[static_cast<size_t>(y) * static_cast<size_t>(width)];
    for (size_t i = 0; i < rowSize; i += 4, ++pixel)
      for (size_t c = 0; c < 4; ++c) *pixel |= area.rounded(sums[i + c]) << (8 * c);
  }
  if (alpha == Alpha::Weighting) unpremultiply(to);
  return to;
}
