#!/usr/bin/python3
# Draws the pictures the layout suite expects Form1 to show at each DPI it
# checks, from the pictures in resources/, and writes them into tests/reference/:
# form1-DPI.bmp holds the window's big icon and, beside it, its small icon, each
# over grey at the size Windows shows at that DPI, and below them the banners
# the suite sees at that DPI. Icons and banners of a size no picture has are
# the next larger picture reduced by area averaging.
import os

from PIL import Image, IcoImagePlugin

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RESOURCES = os.path.join(ROOT, "resources")
OUT = os.path.join(ROOT, "tests", "reference")
GREY = 0x80
ICON_SIZES = (16, 32, 48, 128)
# The banners on show at each DPI the suite checks them at: after a name is
# typed the one whose name is ringed, and after start-up the plain one.
BANNERS = {96: (), 120: ("name", "plain"), 144: ("name", "plain"), 168: ("name",), 192: ()}


def at_dpi(pixels, dpi):
    """Pixels at 96 DPI at another, rounded to nearest, halves up."""
    return (2 * pixels * dpi + 96) // 192


def reduce(rows, width, height, new_width, new_height):
    """Rows of pixels (tuples of channels as integers) reduced by area averaging:
    each new pixel is the mean of the old ones it covers, each weighted by the
    part of it covered. With both sizes as the unit, new pixel j covers old
    pixels from j * old to (j + 1) * old, old pixel i lies from i * new to
    (i + 1) * new. Rounds each channel to nearest, halves up."""
    def weights(old, new):
        spans = []
        for j in range(new):
            start, end = j * old, (j + 1) * old
            spans.append([(i, min(end, (i + 1) * new) - max(start, i * new))
                          for i in range(start // new, (end - 1) // new + 1)])
        return spans

    across, down = weights(width, new_width), weights(height, new_height)
    channels = len(rows[0][0])
    total = width * height
    out = []
    for y_spans in down:
        row = []
        for x_spans in across:
            sums = [0] * channels
            for y, wy in y_spans:
                for x, wx in x_spans:
                    for c, value in enumerate(rows[y][x]):
                        sums[c] += value * wx * wy
            row.append(tuple((2 * s + total) // (2 * total) for s in sums))
        out.append(row)
    return out


def rows_of(image, convert=lambda pixel: pixel):
    data = [convert(p) for p in image.getdata()]
    return [data[y * image.width:(y + 1) * image.width] for y in range(image.height)]


def banner(name, dpi):
    image = Image.open(os.path.join(RESOURCES, "banner-%s-200.jpg" % name)).convert("RGB")
    width, height = at_dpi(300, dpi), at_dpi(63, dpi)
    return reduce(rows_of(image), image.width, image.height, width, height)


def icon(size):
    """The window's icon at a size drawn over grey: the icon file's image with
    alpha of that size, else of the next larger one, averaged after drawing."""
    larger = min(s for s in ICON_SIZES if s >= size)
    with open(os.path.join(RESOURCES, "window.ico"), "rb") as f:
        image = IcoImagePlugin.IcoFile(f).getimage((larger, larger), bpp=32).convert("RGBA")
    # Over grey, in 255ths of a level, so that only the average rounds.
    over_grey = rows_of(image, lambda p: tuple(c * p[3] + GREY * (255 - p[3]) for c in p[:3]))
    reduced = reduce(over_grey, larger, larger, size, size)
    return [[tuple((2 * c + 255) // 510 for c in pixel) for pixel in row] for row in reduced]


def paste(sheet, rows, left, top):
    for y, row in enumerate(rows):
        for x, pixel in enumerate(row):
            sheet.putpixel((left + x, top + y), pixel)


def main():
    os.makedirs(OUT, exist_ok=True)
    for dpi, names in BANNERS.items():
        big, small = icon(at_dpi(32, dpi)), icon(at_dpi(16, dpi))
        banners = [banner(name, dpi) for name in names]
        width = max([len(big) + len(small)] + [len(b[0]) for b in banners])
        sheet = Image.new("RGB", (width, len(big) + sum(len(b) for b in banners)), (GREY,) * 3)
        paste(sheet, big, 0, 0)
        paste(sheet, small, len(big), 0)
        top = len(big)
        for rows in banners:
            paste(sheet, rows, 0, top)
            top += len(rows)
        sheet.save(os.path.join(OUT, "form1-%d.bmp" % dpi))


if __name__ == "__main__":
    main()
