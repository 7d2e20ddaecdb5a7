// Twips, the unit of the window's layout: 1/1440 inch, 15 to a pixel at 96 DPI.
#pragma once

#include <windows.h>

using Twips = int;

inline constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(Twips twips, int dotsPerInch) { return MulDiv(twips, dotsPerInch, kTwipsPerInch); }
