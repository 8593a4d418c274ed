#!/usr/bin/env python3
"""Draw the main window's image strip and the program's icons.

Writes res/Icons.bmp (the strip), res/Icons2.bmp (the system-file strip: INI
file, text file, entry), res/Toolbar.bmp and res/Toolbar24.bmp (the toolbar's own
pictures at 16 and 24 pixels: the two wizards, install and remove an application, load
a log file), res/Quorvel.ico (the program) and res/Document.ico (the program's data files, which the file-type registration
points to as the exe's second icon).

The strip is one 24-bit uncompressed BMP of 21 images, 16 x 16 each, side by
side (336 x 16). Pure magenta (255, 0, 255) marks transparent pixels; the
bottom-left pixel of the strip carries that colour so the strip can be loaded
with "colour of the bottom-left pixel is transparent".

Each icon holds a 16 x 16 and a 32 x 32 image (the small one doubled), 32-bit
with alpha and an AND mask.

Images are built from small ASCII-art pieces and a few drawing helpers, so the
output is fully deterministic. Usage:

    scripts/make-icons.py [output-folder]     (default: res)
"""

import math
import os
import struct
import sys

SIZE = 16
TRANSPARENT = (255, 0, 255)

# One character per colour in the ASCII-art pieces. '.' leaves a pixel as it is
# (transparent on a fresh image); ' ' forces it back to transparent.
PALETTE = {
    'k': (0, 0, 0),  # outline
    'D': (64, 64, 64),  # dark grey
    'G': (128, 128, 128),  # grey
    'L': (192, 192, 192),  # light grey
    'M': (224, 224, 224),  # very light grey
    'W': (255, 255, 255),  # white
    'Y': (255, 208, 64),  # folder yellow
    'y': (208, 152, 0),  # folder shadow
    'l': (255, 236, 160),  # folder highlight
    'f': (112, 80, 0),  # folder outline
    'g': (0, 168, 0),  # green
    'h': (0, 96, 0),  # dark green
    'e': (96, 232, 96),  # light green
    'r': (224, 0, 0),  # red
    'R': (128, 0, 0),  # dark red
    'b': (0, 64, 200),  # blue
    'B': (0, 32, 112),  # dark blue
    'c': (128, 200, 255),  # light blue
    'o': (255, 144, 0),  # orange
    'p': (255, 160, 176),  # pink
    'w': (240, 208, 152),  # bare wood
    'a': (224, 184, 48),  # gold
}
for _colour in PALETTE.values():
    assert _colour != TRANSPARENT


class Image:
    """A 16 x 16 picture, stored as rows of RGB tuples."""

    def __init__(self):
        self.px = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def copy(self):
        other = Image()
        other.px = [row[:] for row in self.px]
        return other

    def set(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = PALETTE[colour] if isinstance(colour, str) else colour

    def rect(self, x0, y0, x1, y1, outline, fill=None):
        """Rectangle with inclusive corners, 1-pixel outline, optional fill."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    self.set(x, y, outline)
                elif fill is not None:
                    self.set(x, y, fill)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, colour)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def art(self, x0, y0, rows):
        """Paint an ASCII-art piece with its top-left corner at (x0, y0)."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == '.':
                    continue
                self.set(x0 + dx, y0 + dy, TRANSPARENT if ch == ' ' else ch)
        return self


def from_art(rows):
    assert len(rows) == SIZE and all(len(r) == SIZE for r in rows), rows
    return Image().art(0, 0, rows)


def overlay(base, piece, x0=None, y0=None):
    """Copy of base with a badge in its bottom-right corner (or at x0, y0)."""
    width, height = len(piece[0]), len(piece)
    x0 = SIZE - width if x0 is None else x0
    y0 = SIZE - height if y0 is None else y0
    return base.copy().art(x0, y0, piece)


# ---------------------------------------------------------------------------
# Base shapes

FOLDER = [
    "................",
    "................",
    ".fffff..........",
    "flllllf.........",
    "flYYYYYffffffff.",
    "flllllllllllllyf",
    "flYYYYYYYYYYYYyf",
    "flYYYYYYYYYYYYyf",
    "flYYYYYYYYYYYYyf",
    "flYYYYYYYYYYYYyf",
    "flYYYYYYYYYYYYyf",
    "flYYYYYYYYYYYYyf",
    "flYYYYYYYYYYYYyf",
    "fyyyyyyyyyyyyyyf",
    "ffffffffffffffff",
    "................",
]

OPEN_FOLDER = [
    "................",
    "................",
    ".fffff..........",
    "flllllf.........",
    "flyyyyyffffffff.",
    "fly...........f.",
    "fly..fffffffffff",
    "fly.flllllllllyf",
    "flyflYYYYYYYYyf.",
    "flyflYYYYYYYYyf.",
    "flflYYYYYYYYyf..",
    "flflYYYYYYYYyf..",
    "fflYYYYYYYYyf...",
    "fflyyyyyyyyyf...",
    "fffffffffffff...",
    "................",
]

COMPUTER = [
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kLLLLLLLLLLLLk.",
    ".kLBBBBBBBBBBLk.",
    ".kLBccbbbbbbBLk.",
    ".kLBcbbbbbbbBLk.",
    ".kLBbbbbbbbbBLk.",
    ".kLBbbbbbbbbBLk.",
    ".kLBBBBBBBBBBLk.",
    ".kLLLLLLLLLLLgk.",
    ".kkkkkkkkkkkkkk.",
    "......kGGk......",
    "...kkkkkkkkkk...",
    "...kLLLLLLLLk...",
    "...kkkkkkkkkk...",
]

SHEET = [
    "..kkkkkkkk......",
    "..kWWWWWWkk.....",
    "..kWWWWWWkWk....",
    "..kWLLLLWkWWk...",
    "..kWWWWWWkkkkk..",
    "..kWLLLLLLLLWk..",
    "..kWWWWWWWWWWk..",
    "..kWLLLLLLLLWk..",
    "..kWWWWWWWWWWk..",
    "..kWLLLLLLLLWk..",
    "..kWWWWWWWWWWk..",
    "..kWLLLLLLLLWk..",
    "..kWWWWWWWWWWk..",
    "..kWWWWWWWWWWk..",
    "..kkkkkkkkkkkk..",
    "................",
]

CHECK_BOX = [
    "................",
    "................",
    ".DDDDDDDDDDDDD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DWWWWWWWWWWWD..",
    ".DDDDDDDDDDDDD..",
    "................",
]

CHECK_MARK = [
    ".......k",
    "......kk",
    "k....kkk",
    "kk..kkk.",
    "kkkkkk..",
    ".kkkk...",
    "..kk....",
]

PART_MARK = ["GGGGGGG"] * 7

# ---------------------------------------------------------------------------
# Badges, painted over the bottom-right corner of a base shape

PLUS = [
    "..kkkk..",
    "..kegk..",
    "kkkegkkk",
    "keeeeggk",
    "kggggghk",
    "kkkgghkk",
    "..kghk..",
    "..kkkk..",
]

CROSS = [
    "kk....kk",
    "krk..krk",
    "krrkkrrk",
    ".krrrrk.",
    ".krrrRk.",
    "krrkkRRk",
    "krk..kRk",
    "kk....kk",
]

PENCIL = [
    "......kk.",
    ".....kppk",
    "....kokpk",
    "...koook.",
    "..koook..",
    ".kwook...",
    "kwwok....",
    "kkwk.....",
    "kkk......",
]

ARROW_RIGHT = [
    "....k....",
    "....kk...",
    "kkkkkek..",
    "keeeeegk.",
    "kgggggghk",
    "khhhhhhk.",
    "kkkkkhk..",
    "....kk...",
    "....k....",
]

ARROW_LEFT = [
    "....k....",
    "...kk....",
    "..kMkkkkk",
    ".kMMMMMMk",
    "kGGGGGGGk",
    ".kDDDDDDk",
    "..kDkkkkk",
    "...kk....",
    "....k....",
]

# ---------------------------------------------------------------------------
# Value glyphs

TAG = [
    "................",
    "................",
    "................",
    ".DDDDDDDDDDDDDD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DDDDDDDDDDDDDD.",
    "................",
    "................",
]

TEXT_AB = [
    "........r.....",
    "........r.....",
    "..rrr...rrrr..",
    ".....r..r...r.",
    "..rrrr..r...r.",
    ".r...r..r...r.",
    "..rrrr..rrrr..",
]

BITS = [
    ".bb...b..",
    "b..b.bb..",
    "b..b..b..",
    ".bb..bbb.",
    ".........",
    "..b...bb.",
    ".bb..b..b",
    "..b..b..b",
    ".bbb..bb.",
]

HASH = [
    "...b..b...",
    "...b..b...",
    ".bbbbbbbbb",
    "..b..b....",
    "..b..b....",
    "bbbbbbbbb.",
    ".b..b.....",
    ".b..b.....",
]

# ---------------------------------------------------------------------------
# Drives

HARD_DISK = [
    "................",
    "................",
    "................",
    "................",
    "...kkkkkkkkkkkk.",
    "..kMMMMMMMMMMkk.",
    ".kMMMMMMMMMMkLk.",
    "kkkkkkkkkkkkLLk.",
    "kLLLLLLLLLLkLLk.",
    "kLGGGGGGLgLkLk..",
    "kLLLLLLLLLLkk...",
    "kkkkkkkkkkkk....",
    "................",
    "................",
    "................",
    "................",
]

FLOPPY = [
    "................",
    ".kkkkkkkkkkkkk..",
    ".kBBkMMMMMMkBBk.",
    ".kBBkMMkkMMkBBk.",
    ".kBBkMMkkMMkBBk.",
    ".kBBkMMMMMMkBBk.",
    ".kBBBkkkkkkBBBk.",
    ".kBBBBBBBBBBBBk.",
    ".kBWWWWWWWWWWBk.",
    ".kBWWWWWWWWWWBk.",
    ".kBWLLLLLLLLWBk.",
    ".kBWWWWWWWWWWBk.",
    ".kBWLLLLLLLLWBk.",
    ".kBWWWWWWWWWWBk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

CABLE = [
    ".....kgk........",
    ".....kgk........",
    ".....kgk........",
    "kkkkkkgkkkkkkkkk",
    "gggggggggggggggg",
    "kkkkkkkkkkkkkkkk",
]

RAM = [
    "................",
    "................",
    "................",
    "................",
    "kkkkkkkkkkkkkkkk",
    "khhhhhhhhhhhhhhk",
    "khkkkhkkkhkkkhhk",
    "khkDkhkDkhkDkhhk",
    "khkDkhkDkhkDkhhk",
    "khkkkhkkkhkkkhhk",
    "khhhhhhhhhhhhhhk",
    "khahahahahahahak",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
    "................",
]


def disc():
    img = Image()
    cx = cy = 7.5
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            if d > 7.6:
                continue
            if d > 6.6:
                colour = 'k'
            elif d < 1.2:
                continue
            elif d < 2.0:
                colour = 'k'
            elif d < 3.0:
                colour = 'L'
            else:
                # A light sheen across the top-left and bottom-right quadrants.
                angle = math.degrees(math.atan2(y - cy, x - cx)) % 180
                if 115 <= angle <= 155:
                    colour = 'c'
                elif 95 <= angle < 115:
                    colour = 'p'
                elif 155 < angle <= 170:
                    colour = 'W'
                else:
                    colour = 'M'
            img.set(x, y, colour)
    return img


def hard_disk_low():
    """The hard disk shifted up so a cable fits beneath it."""
    return Image().art(0, -2, HARD_DISK)


def build_images():
    folder = from_art(FOLDER)
    sheet = from_art(SHEET)
    box = from_art(CHECK_BOX)
    tag = from_art(TAG)
    old_sheet = from_art([row.replace('W', 'M') for row in SHEET])
    return [
        folder,  # 0 closed folder
        from_art(OPEN_FOLDER),  # 1 open folder
        from_art(COMPUTER),  # 2 computer
        box,  # 3 unchecked
        overlay(box, CHECK_MARK, 4, 5),  # 4 checked
        overlay(box, PART_MARK, 4, 5),  # 5 partly checked
        overlay(folder, PLUS),  # 6 new key / folder
        overlay(folder, CROSS),  # 7 deleted key / folder
        overlay(folder, PENCIL, 7, 7),  # 8 changed key / folder
        overlay(sheet, PLUS),  # 9 new value / file
        overlay(sheet, CROSS),  # 10 deleted value / file
        overlay(old_sheet, ARROW_LEFT, 7, 7),  # 11 old side
        overlay(sheet, ARROW_RIGHT, 7, 7),  # 12 new side
        tag.copy().art(1, 5, TEXT_AB),  # 13 string value
        tag.copy().art(3, 4, BITS),  # 14 byte data
        tag.copy().art(3, 4, HASH),  # 15 integer
        from_art(FLOPPY),  # 16 removable
        from_art(HARD_DISK),  # 17 hard disk
        hard_disk_low().art(0, 10, CABLE),  # 18 network drive
        from_art(RAM),  # 19 memory drive
        disc(),  # 20 CD-ROM
    ]


INI_LINES = [
    "kWWWWWWWWWWk",
    "kWbbbbbbWWWk",
    "kWWWWWWWWWWk",
    "kWLLLrrrLLWk",
    "kWWWWWWWWWWk",
    "kWLLLrrLLLWk",
    "kWWWWWWWWWWk",
    "kWbbbbbWWWWk",
    "kWWWWWWWWWWk",
    "kWLLrrrrLLWk",
]

ENTRY = [
    "................",
    "................",
    "................",
    "................",
    "................",
    ".DDDDDDDDDDDDDD.",
    ".DWWWWWWWWWWWWD.",
    ".DWbbbWrrWggWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DWbbbWrrWggWWD.",
    ".DWWWWWWWWWWWWD.",
    ".DDDDDDDDDDDDDD.",
    "................",
    "................",
    "................",
    "................",
]


# ---------------------------------------------------------------------------
# The toolbar's own pictures: the two wizards, install and remove an application, load a log.

RABBIT = [
    "................",
    "...kk.....kk....",
    "..kLLk...kLLk...",
    "..kLpk...kpLk...",
    "..kLpk...kpLk...",
    "..kLpk...kpLk...",
    "...kLk...kLk....",
    "...kLLkkkLLk....",
    "..kLLLLLLLLLk...",
    ".kLLkLLLLLkLLk..",
    ".kLLLLLLLLLLLk..",
    ".kLLLLLpLLLLLk..",
    "..kLLLLLLLLLk...",
    "...kLLLLLLLk....",
    "....kkkkkkk.....",
    "................",
]

LIGHT_BULB = [
    "................",
    ".....kkkkk......",
    "....kYYYYYk.....",
    "...kYllYYYYk....",
    "...kYlYYYYYk....",
    "...kYYYYYYyk....",
    "...kYYYYYYyk....",
    "....kYYYYyk.....",
    ".....kYYyk......",
    ".....kGLGk......",
    ".....kLLLk......",
    ".....kGLGk......",
    "......kkk.......",
    "................",
    "................",
    "................",
]

PACKAGE = [
    "................",
    "................",
    "................",
    "................",
    "................",
    "................",
    "..kkkkkkkkkkkk..",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwfk.",
    ".kwwwwwwwwwwwfk.",
    ".kwwwwwwwwwwwfk.",
    ".kwwwwwwwwwwwfk.",
    ".kwwwwwwwwwwwfk.",
    ".kkkkkkkkkkkkkk.",
    "................",
]

ARROW_DOWN = [
    "..kkkkk..",
    "..keeek..",
    "..kgggk..",
    "kkkgggkkk",
    "kegggggek",
    ".kgggggk.",
    "..khhhk..",
    "...khk...",
    "....k....",
]

RED_CROSS = [
    "kk...kk",
    "krk.krk",
    ".krkrk.",
    "..krk..",
    ".krkrk.",
    "krk.krk",
    "kk...kk",
]


def build_toolbar_images():
    """The tool buttons the system's own toolbar pictures have nothing for."""
    package = from_art(PACKAGE)
    return [
        from_art(RABBIT),  # 0 step-by-step wizard
        from_art(LIGHT_BULB),  # 1 wizard
        package.copy().art(4, 0, ARROW_DOWN),  # 2 install an application
        package.copy().art(5, 1, RED_CROSS),  # 3 remove an application
        overlay(from_art(SHEET), ARROW_RIGHT, 7, 7),  # 4 load a log file
    ]


def padded(img, cell):
    """The picture in the middle of a larger transparent cell, drawn at its own size."""
    margin = (cell - SIZE) // 2
    rows = [[TRANSPARENT] * cell for _ in range(cell)]
    for y in range(SIZE):
        rows[margin + y][margin:margin + SIZE] = img.px[y]
    return rows


def build_system_file_images():
    """The strip the system-file trees and lists append behind the main one."""
    text_sheet = from_art([row.replace('L', 'G') for row in SHEET])
    return [
        from_art(SHEET).art(2, 4, INI_LINES),  # 21 INI file and its sections
        text_sheet,  # 22 text file, new or deleted section
        from_art(ENTRY),  # 23 entry of a system file
    ]


def bmp_bytes(images, cell=SIZE):
    """images: Image objects, or rows of RGB tuples cell pixels square."""
    grids = [img.px if isinstance(img, Image) else img for img in images]
    width, height = cell * len(grids), cell
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):  # BMP rows run bottom-up
        row = bytearray()
        for grid in grids:
            for r, g, b in grid[y]:
                row += bytes((b, g, r))
        row += b'\0' * (stride - len(row))
        pixels += row
    header_size = 14 + 40
    file_header = struct.pack('<2sIHHI', b'BM', header_size + len(pixels), 0, 0, header_size)
    info_header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return file_header + info_header + bytes(pixels)


# The green undo arrow that marks the program's own pictures.
UNDO_ARROW = [row.replace('M', 'e').replace('G', 'g').replace('D', 'h') for row in ARROW_LEFT]


def build_icons():
    """File name and picture of each icon, the program's first."""
    return [
        ('Quorvel.ico', overlay(from_art(COMPUTER), UNDO_ARROW, 7, 7)),
        ('Document.ico', overlay(from_art(SHEET), UNDO_ARROW, 7, 7)),
    ]


def scaled(img, factor):
    """Rows of the picture, each pixel repeated factor times across and down."""
    return [[p for p in row for _ in range(factor)] for row in img.px for _ in range(factor)]


def icon_image_bytes(rows):
    """One icon image: header of double height, BGRA pixels, then the AND mask, bottom-up."""
    size = len(rows)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        mask_row = bytearray(mask_stride)
        for x, p in enumerate(row):
            clear = p == TRANSPARENT
            r, g, b = (0, 0, 0) if clear else p
            pixels += bytes((b, g, r, 0 if clear else 255))
            if clear:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def ico_bytes(img):
    images = [icon_image_bytes(scaled(img, factor)) for factor in (1, 2)]
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for factor, data in zip((1, 2), images):
        size = SIZE * factor
        directory += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b''.join(images)


def check(data, count, expected, cell=SIZE):
    width, height = cell * count, cell
    assert count == expected, count
    assert data[:2] == b'BM'
    size, offset = struct.unpack_from('<I4xI', data, 2)
    hdr, w, h, planes, bpp, compression = struct.unpack_from('<IiiHHI', data, 14)
    assert (size, offset, hdr) == (len(data), 54, 40)
    assert (w, h, planes, bpp, compression) == (width, height, 1, 24, 0)
    assert len(data) == 54 + ((width * 3 + 3) & ~3) * height
    # First stored pixel is the bottom-left one; it defines the transparent colour.
    assert tuple(data[54:57][::-1]) == TRANSPARENT


def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res')
    for name, images, expected in (('Icons.bmp', build_images(), 21), ('Icons2.bmp', build_system_file_images(), 3)):
        out = os.path.join(folder, name)
        for index, img in enumerate(images):
            assert any(p != TRANSPARENT for row in img.px for p in row), index
        data = bmp_bytes(images)
        check(data, len(images), expected)
        write(out, data)
        print(f'{out}: {len(images)} images, {SIZE * len(images)} x {SIZE}, {len(data)} bytes')
    # The toolbar's pictures at both sizes the toolbar uses: the large one (from 144 DPI) keeps
    # the small drawing in the middle of its cell, crisp rather than stretched.
    toolbar = build_toolbar_images()
    for name, cell in (('Toolbar.bmp', SIZE), ('Toolbar24.bmp', 24)):
        out = os.path.join(folder, name)
        data = bmp_bytes(toolbar if cell == SIZE else [padded(img, cell) for img in toolbar], cell)
        check(data, len(toolbar), 5, cell)
        write(out, data)
        print(f'{out}: {len(toolbar)} images, {cell * len(toolbar)} x {cell}, {len(data)} bytes')
    for name, img in build_icons():
        path = os.path.join(folder, name)
        icon = ico_bytes(img)
        write(path, icon)
        print(f'{path}: 16 x 16 and 32 x 32, {len(icon)} bytes')


if __name__ == '__main__':
    main()
