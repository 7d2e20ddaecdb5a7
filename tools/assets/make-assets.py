#!/usr/bin/python3
# Draws Tovix's banner pictures and icons and writes them into resources/.
import io
import os
import struct

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "resources")
FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"

# ---------------------------------------------------------------- banners
W, H = 300, 63
DESKTOP, STREAK = (0x59, 0x86, 0xB5), (0x63, 0x90, 0xBD)
# (x, width, strength) of the lighter desktop columns; fixed so output is stable.
STREAKS = ((6, 2, .55), (19, 1, .35), (47, 3, .45), (83, 1, .5), (117, 2, .4),
           (152, 1, .3), (188, 3, .5), (226, 1, .4), (251, 2, .35),
           (280, 2, .5), (288, 1, .3), (294, 3, .45))
PANE_EDGE, BAR, FRAME, FRAME_EDGE = (0xA0,) * 3, (0xE0,) * 3, (0xEA,) * 3, (0x8C,) * 3
INK = (0x20, 0x20, 0x20)
BAR_TOP, BAR_BOTTOM, FRAME_X = 17, 41, 270
BASELINE = 33              # puts the cap height in the middle of the status bar
NAME = "Charlotte"
RING, GLOW = (0xFF, 0x66, 0x00), (0xFF, 0xB3, 0x47)
NAME_BOX, ICON_BOX = (132, 19, 194, 40), (102, 13, 135, 41)
SS = 4                     # supersampling factor for shapes that need smooth edges


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def px(s, x0, y0, x1, y1):
    """Inclusive pixel box of the 100 % layout, covering the same area at scale s."""
    return (x0 * s, y0 * s, (x1 + 1) * s - 1, (y1 + 1) * s - 1)


def draw_desktop(img, s):
    d = ImageDraw.Draw(img)
    d.rectangle(px(s, 0, 0, W - 1, H - 1), fill=DESKTOP)
    for x, width, strength in STREAKS:
        d.rectangle(px(s, x, 0, x + width - 1, H - 1), fill=mix(DESKTOP, STREAK, strength))


def draw_window(img, s):
    d = ImageDraw.Draw(img)
    d.rectangle(px(s, 0, 0, FRAME_X - 1, BAR_TOP - 2), fill="white")
    d.rectangle(px(s, 0, BAR_TOP - 1, FRAME_X - 1, BAR_TOP - 1), fill=PANE_EDGE)
    d.rectangle(px(s, FRAME_X - 1, 0, FRAME_X - 1, BAR_TOP - 1), fill=PANE_EDGE)
    d.rectangle(px(s, 0, BAR_TOP, FRAME_X - 1, BAR_BOTTOM), fill=BAR)
    # Right frame and bottom frame: light grey body, darker outer edge.
    d.rectangle(px(s, FRAME_X, 0, FRAME_X + 4, BAR_BOTTOM + 1), fill=FRAME)
    d.rectangle(px(s, 0, BAR_BOTTOM + 1, FRAME_X + 4, BAR_BOTTOM + 1), fill=FRAME)
    d.rectangle(px(s, FRAME_X + 5, 0, FRAME_X + 5, BAR_BOTTOM + 2), fill=FRAME_EDGE)
    d.rectangle(px(s, 0, BAR_BOTTOM + 2, FRAME_X + 5, BAR_BOTTOM + 2), fill=FRAME_EDGE)


def draw_grip(img, s):
    """Classic size grip: a triangle of 2x2 dots, each with a white highlight."""
    d = ImageDraw.Draw(img)
    right, bottom = FRAME_X - 3, BAR_BOTTOM - 2
    for row in range(3):               # row 0 is the top row with a single dot
        for col in range(row + 1):     # dots line up against the right edge
            x, y = right - 1 - 4 * col, bottom - 1 - 4 * (2 - row)
            d.rectangle(px(s, x + 1, y + 1, x + 2, y + 2), fill="white")
            d.rectangle(px(s, x, y, x + 1, y + 1), fill=(0xA0,) * 3)


def draw_chevron(img, s):
    """Zone icon: white upward chevron with a soft shadow, drawn supersampled."""
    left, right, mid = 111, 129, (BAR_TOP + BAR_BOTTOM + 1) / 2
    top, bottom, thick = mid - 6, mid + 5, 5.5
    cx = (left + right) / 2
    pts = [(left, bottom - thick * .6), (cx, top), (right, bottom - thick * .6),
           (right, bottom), (cx, top + thick), (left, bottom)]
    k = s * SS                         # supersampled pixels per 100 % pixel
    big = [(x * k, y * k) for x, y in pts]
    shadow = Image.new("L", (W * k, H * k), 0)
    ImageDraw.Draw(shadow).polygon([(x + k, y + k) for x, y in big], fill=190)
    shadow = shadow.resize(img.size, Image.LANCZOS).filter(ImageFilter.GaussianBlur(0.9 * s))
    img.paste((0x60,) * 3, (0, 0), shadow)
    shape = Image.new("L", (W * k, H * k), 0)
    ImageDraw.Draw(shape).polygon(big, fill=255)
    img.paste((255,) * 3, (0, 0), shape.resize(img.size, Image.LANCZOS))


def draw_texts(img, s):
    d = ImageDraw.Draw(img)
    font = ImageFont.truetype(FONT, 11 * s)
    d.text((30 * s, BASELINE * s), "779 KB", font=font, fill=INK, anchor="ls")
    # The name sits centred in the box its ring goes around; the 100 % position is
    # rounded to a whole pixel and larger scales keep exactly that position.
    centre = (NAME_BOX[0] + NAME_BOX[2] + 1) / 2
    d.text((round(centre) * s, BASELINE * s), NAME, font=font, fill=INK, anchor="ms")


def draw_ring(img, box, radius, s):
    """Orange ring whose outer edge is `box`, with an amber glow on both sides."""
    k = s * SS
    outer = px(k, *box)
    glow = Image.new("L", (W * k, H * k), 0)
    grown = (outer[0] - 2 * k, outer[1] - 2 * k, outer[2] + 2 * k, outer[3] + 2 * k)
    ImageDraw.Draw(glow).rounded_rectangle(grown, (radius + 2) * k, outline=255, width=7 * k)
    glow = glow.resize(img.size, Image.LANCZOS).filter(ImageFilter.GaussianBlur(1.5 * s))
    img.paste(GLOW, (0, 0), glow.point(lambda a: a * 0.7))
    ring = Image.new("L", (W * k, H * k), 0)
    ImageDraw.Draw(ring).rounded_rectangle(outer, radius * k, outline=255, width=3 * k)
    img.paste(RING, (0, 0), ring.resize(img.size, Image.LANCZOS))


def banner(ring_box=None, radius=7, s=1):
    """The scene at scale s (2 for 200 %), drawn at that size rather than enlarged."""
    img = Image.new("RGB", (W * s, H * s))
    draw_desktop(img, s)
    draw_window(img, s)
    draw_texts(img, s)
    draw_chevron(img, s)
    draw_grip(img, s)
    if ring_box:
        draw_ring(img, ring_box, radius, s)
    return img


def save_jpeg(img, name):
    img.save(os.path.join(OUT, name), "JPEG", quality=92, subsampling=2,
             dpi=(72, 72), progressive=False, optimize=False)


# ------------------------------------------------------------------ icons
ICON_LAYOUT = ((32, 8), (16, 8), (128, 32), (48, 32), (32, 32), (16, 32))
WINDOW_COLOUR = (0x97, 0xA1, 0xA9)
PROGRAM_ICON_FIRST_ID = 30001


def window_icon(size):
    """Window outline with a title bar and a status bar, laid out on a 16-unit
    grid so every icon size (all multiples of 16) gets whole-pixel edges."""
    u = size // 16 * SS
    mask = Image.new("L", (size * SS, size * SS), 0)
    d = ImageDraw.Draw(mask)
    d.rounded_rectangle((u, 2 * u, 15 * u - 1, 14 * u - 1), u // 2, fill=255)
    d.rectangle((2 * u, 5 * u, 14 * u - 1, 11 * u - 1), fill=0)         # client area
    d.rectangle((2 * u, 12 * u, 11 * u - 1, 13 * u - 1), fill=0)        # status text slot
    mask = mask.resize((size, size), Image.LANCZOS)
    img = Image.new("RGBA", (size, size), WINDOW_COLOUR + (0,))
    img.putalpha(mask)
    return img


def suit_artwork():
    """Greyscale suit front on a light tile with a drop shadow, drawn at 512 px."""
    n = 512
    tile_box, tile_r = (40, 28, 471, 459), 76
    shadow = Image.new("L", (n, n), 0)
    ImageDraw.Draw(shadow).rounded_rectangle((40, 44, 471, 475), tile_r, fill=110)
    shadow = shadow.filter(ImageFilter.GaussianBlur(14))
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    img.paste((0, 0, 0, 255), (0, 0), shadow)

    art = Image.new("RGB", (n, n), (0xDA,) * 3)
    d = ImageDraw.Draw(art)
    # Shirt front with pleats and studs.
    d.rectangle((150, 90, 362, n), fill=(0xFA,) * 3)
    for x in (230, 243, 269, 282):      # the lapels drawn next trim them to the V
        d.line((x, 165, x, 430), fill=(0xB4,) * 3, width=3)
    for y in (210, 270, 330):
        d.ellipse((249, y - 7, 263, y + 7), fill=(0x30,) * 3)
    # Jacket halves meet below the V; lapels are darker satin strips on the V.
    for side in (1, -1):
        def m(pts):
            return [(256 + side * (x - 256), y) for x, y in pts]
        d.polygon(m([(0, 170), (60, 130), (176, 92), (256, 400), (256, n), (0, n)]),
                  fill=(0x48,) * 3)
        d.polygon(m([(176, 92), (198, 94), (256, 400), (236, 410), (150, 250),
                     (186, 222), (150, 120)]), fill=(0x24,) * 3)
        d.line(m([(60, 130), (90, 200), (96, n)]), fill=(0x3A,) * 3, width=6)
    d.ellipse((244, 426, 268, 450), fill=(0x1C,) * 3)
    # Wing collar, then the bow tie over it.
    d.polygon([(206, 88), (256, 120), (232, 150), (196, 128)], fill=(0xFF,) * 3)
    d.polygon([(306, 88), (256, 120), (280, 150), (316, 128)], fill=(0xFF,) * 3)
    d.polygon([(180, 92), (246, 116), (246, 140), (180, 164)], fill=(0x10,) * 3)
    d.polygon([(332, 92), (266, 116), (266, 140), (332, 164)], fill=(0x10,) * 3)
    d.rounded_rectangle((240, 110, 272, 146), 8, fill=(0x26,) * 3)

    tile = Image.new("L", (n, n), 0)
    ImageDraw.Draw(tile).rounded_rectangle(tile_box, tile_r, fill=255)
    img.paste(art, (0, 0), tile)
    edge = Image.new("L", (n, n), 0)
    ImageDraw.Draw(edge).rounded_rectangle(tile_box, tile_r, outline=255, width=4)
    img.paste((0xA8,) * 3, (0, 0), edge)
    return img


def scaled(art, size):
    return art.resize((size, size), Image.LANCZOS)


def and_mask(alpha, size):
    """1-bpp mask, bottom-up, rows padded to 32 bits; set bits are transparent."""
    stride = (size + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if alpha[y * size + x] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def dib_header(size, bits, data_len):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, data_len, 0, 0, 0, 0)


def dib_32(img):
    size = img.width
    xor = img.transpose(Image.FLIP_TOP_BOTTOM).tobytes("raw", "BGRA")
    mask = and_mask(img.getdata(3), size)
    return dib_header(size, 32, len(xor) + len(mask)) + xor + mask


def dib_8(img):
    """Palette index 0 is reserved for transparent pixels (black under the mask);
    the visible pixels share the other 255 entries."""
    size = img.width
    alpha = img.getdata(3)
    rgb = img.convert("RGB")
    quant = rgb.quantize(colors=255, method=Image.Quantize.MEDIANCUT,
                         dither=Image.Dither.NONE)
    pal = quant.getpalette()[:255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    palette = bytes(4) + b"".join(bytes((pal[i + 2], pal[i + 1], pal[i], 0))
                                  for i in range(0, 255 * 3, 3))
    idx = list(quant.getdata())
    xor = bytearray()
    for y in reversed(range(size)):   # 8-bit rows of 16/32 px are already 4-byte aligned
        xor += bytes(0 if alpha[y * size + x] < 128 else idx[y * size + x] + 1
                     for x in range(size))
    mask = and_mask(alpha, size)
    return dib_header(size, 8, len(xor) + len(mask)) + palette + bytes(xor) + mask


def png_32(img):
    """The 128 px images go in as PNG, which Windows reads in icons since Vista:
    uncompressed, each would weigh 66 KB of the program file."""
    out = io.BytesIO()
    img.save(out, "PNG", optimize=True)
    return out.getvalue()


def encode(img, bits):
    if bits == 8:
        return dib_8(img)
    return png_32(img) if img.width >= 128 else dib_32(img)


def icon_images(draw):
    """Images in ICON_LAYOUT order; `draw(size)` returns the RGBA picture."""
    return [(size, bits, encode(draw(size), bits)) for size, bits in ICON_LAYOUT]


def write_ico(path, images):
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, bits, data in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(data for _, _, data in images))


def write_icon_resources(folder, images):
    """Raw RT_ICON blobs plus their RT_GROUP_ICON directory, with fixed ids."""
    os.makedirs(folder, exist_ok=True)
    group = struct.pack("<HHH", 0, 1, len(images))
    for n, (size, bits, data) in enumerate(images):
        res_id = PROGRAM_ICON_FIRST_ID + n
        kind = "png" if data.startswith(b"\x89PNG") else "dib"
        with open(os.path.join(folder, "%d.%s" % (res_id, kind)), "wb") as f:
            f.write(data)
        group += struct.pack("<BBBBHHIH", size, size, 0, 0, 1, bits, len(data), res_id)
    with open(os.path.join(folder, "group.bin"), "wb") as f:
        f.write(group)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, box in (("plain", None), ("name", NAME_BOX), ("icon", ICON_BOX)):
        save_jpeg(banner(box), "banner-%s.jpg" % name)
        save_jpeg(banner(box, s=2), "banner-%s-200.jpg" % name)

    write_ico(os.path.join(OUT, "window.ico"), icon_images(window_icon))
    art = suit_artwork()
    program = icon_images(lambda size: scaled(art, size))
    write_ico(os.path.join(OUT, "program.ico"), program)
    write_icon_resources(os.path.join(OUT, "program-icon"), program)


if __name__ == "__main__":
    main()
