// Resizes a picture's pixels by area averaging: each new pixel is the mean of
// the old pixels it covers, weighted by how much of each it covers.
#pragma once

#include <cstdint>
#include <vector>

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> bgra;  // rows top to bottom, four 8-bit channels a pixel
};

// What the fourth channel is: ignored and averaged like the colours (as in
// pictures without alpha), or alpha, straight as icons store it, which
// weights each pixel's colours in the average.
enum class Alpha { Averaged, Weighting };

// The picture at the new size. Reducing this way keeps every old pixel's share
// and no more, so fine lines and text stay even instead of breaking up. Each
// channel is rounded to the nearest level (halves up). For pictures of up to
// eight million pixels, whose weighted sums fit in 32 bits.
Pixels resample(const Pixels& from, int width, int height, Alpha alpha = Alpha::Averaged);
