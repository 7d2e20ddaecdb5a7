// Resizes a picture's pixels by area averaging.
#include "Resample.h"

#include <algorithm>
#include <cmath>

namespace {

// The old pixels that one new pixel covers along one axis, and the share of
// the new pixel that each covers.
struct Cover {
  int first = 0;
  std::vector<double> shares;
};

std::vector<Cover> covers(int from, int to) {
  std::vector<Cover> result(static_cast<size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double start = i * step, end = std::min<double>(from, (i + 1) * step);
    Cover& cover = result[static_cast<size_t>(i)];
    cover.first = static_cast<int>(start);
    for (int old = cover.first; old < end; ++old)
      cover.shares.push_back((std::min(end, old + 1.0) - std::max(start, static_cast<double>(old))) / (end - start));
  }
  return result;
}

double channel(std::uint32_t pixel, int c) { return static_cast<double>((pixel >> (8 * c)) & 0xFF); }

}  // namespace

Pixels resample(const Pixels& from, int width, int height) {
  const std::vector<Cover> across = covers(from.width, width), down = covers(from.height, height);
  // Across first, into one row of channel sums per old row; then down.
  std::vector<double> rows(static_cast<size_t>(width) * from.height * 4);
  for (int y = 0; y < from.height; ++y)
    for (int x = 0; x < width; ++x)
      for (size_t k = 0; k < across[x].shares.size(); ++k)
        for (int c = 0; c < 4; ++c)
          rows[(static_cast<size_t>(y) * width + x) * 4 + c] +=
              across[x].shares[k] * channel(from.bgra[static_cast<size_t>(y) * from.width + across[x].first + k], c);

  Pixels to{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint32_t pixel = 0;
      for (int c = 0; c < 4; ++c) {
        double sum = 0;
        for (size_t k = 0; k < down[y].shares.size(); ++k)
          sum += down[y].shares[k] * rows[((down[y].first + k) * width + x) * 4 + c];
        pixel |= static_cast<std::uint32_t>(std::clamp(std::lround(sum), 0L, 255L)) << (8 * c);
      }
      to.bgra[static_cast<size_t>(y) * width + x] = pixel;
    }
  return to;
}
