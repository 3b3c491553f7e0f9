#!/usr/bin/env python3
"""Writes the program's icons, bitmaps and wave clips into one folder.

    generate_media.py OUTPUT_DIR

Everything is drawn here with the standard library only, and the output is the
same, byte for byte, on every run: the resource compiler picks the files up as
media/icon_<id>.ico, media/bitmap_<id>.bmp, media/bitmap_<NAME>.bmp and
media/wave_<id>.wav. The ids are read from res/resource.h.
"""

import math
import os
import re
import struct
import sys

RESOURCE_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res",
                               "resource.h")


def resource_ids(path=RESOURCE_HEADER):
    """The numeric #defines of resource.h: name -> id."""
    ids = {}
    with open(path, encoding="ascii") as f:
        for line in f:
            match = re.match(r"#define\s+(\w+)\s+(\d+)\s*$", line)
            if match:
                ids[match.group(1)] = int(match.group(2))
    return ids

# ---------------------------------------------------------------------------
# Waves
# ---------------------------------------------------------------------------

SAMPLE_RATE = 48000
CHANNELS = 6
FRAME_BYTES = 12  # six 16-bit samples
TONE_PERIODS = 20
SAWTOOTH_TOP = 32767  # samples stay below full positive scale
CHANNEL_MASK = 0x3F  # FL, FR, FC, LFE, BL, BR
WAVE_FORMAT_PCM = 0x0001
WAVE_FORMAT_EXTENSIBLE = 0xFFFE
# KSDATAFORMAT_SUBTYPE_PCM: {00000001-0000-0010-8000-00aa00389b71}
PCM_SUBFORMAT = bytes.fromhex("0100000000001000800000aa00389b71")

# Channel tones: resource -> (sample channel of the six, data bytes).
# The frame count sets the pitch: 20 periods * 48000 / frames.
CHANNEL_TONES = {
    "IDR_WAVE_LF": (0, 44028),  # 261.65 Hz
    "IDR_WAVE_CTR": (2, 39228),  # 293.67 Hz
    "IDR_WAVE_RF": (1, 34944),  # 329.67 Hz
    "IDR_WAVE_RS": (5, 32988),  # 349.22 Hz
    "IDR_WAVE_LFE": (3, 29388),  # 392.00 Hz
    "IDR_WAVE_LS": (4, 26184),  # 439.96 Hz
}

SILENT_FRAMES = 10

ROTATION_RATE = 22050
ROTATION_SAMPLES = 13328


def riff(chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def chunk(tag, payload):
    data = tag + struct.pack("<I", len(payload)) + payload
    if len(payload) % 2:
        data += b"\0"
    return data


def extensible_fmt():
    return struct.pack(
        "<HHIIHHHHI16s",
        WAVE_FORMAT_EXTENSIBLE,
        CHANNELS,
        SAMPLE_RATE,
        SAMPLE_RATE * FRAME_BYTES,
        FRAME_BYTES,
        16,
        22,  # extension size
        16,  # valid bits
        CHANNEL_MASK,
        PCM_SUBFORMAT,
    )


def sawtooth(frames, periods=TONE_PERIODS, top=SAWTOOTH_TOP):
    """Rising ramps from 0 to just under `top`, exactly `periods` of them."""
    return [(n * periods % frames) * top // frames for n in range(frames)]


def channel_tone(channel, data_bytes):
    frames = data_bytes // FRAME_BYTES
    silent = [0] * CHANNELS
    out = bytearray()
    for value in sawtooth(frames):
        frame = list(silent)
        frame[channel] = value
        out += struct.pack("<6h", *frame)
    return riff([chunk(b"fmt ", extensible_fmt()), chunk(b"data", bytes(out))])


def silent_clip():
    return riff([chunk(b"fmt ", extensible_fmt()),
                 chunk(b"data", bytes(SILENT_FRAMES * FRAME_BYTES))])


def int_sine(phase, period, amplitude):
    """Integer sine approximation (Bhaskara), so the clip never depends on libm."""
    phase %= period
    half = period // 2
    sign = 1
    if phase >= half:
        phase -= half
        sign = -1
    p = phase * (half - phase)
    return sign * (amplitude * 16 * p) // (5 * half * half - 4 * p)


def rotation_clip():
    """A soft two-note hum that swells and fades once per loop.

    Every partial fits a whole number of cycles into the clip and the swell
    starts and ends at its quietest point, so the loop has no click.
    """
    n_total = ROTATION_SAMPLES
    samples = bytearray()
    for n in range(n_total):
        # 266 and 399 cycles per loop: about 440 Hz and 660 Hz.
        tone = int_sine(n * 266, n_total, 1000) + int_sine(n * 399, n_total, 600)
        swell = 1000 - int_sine(n + n_total // 4, n_total, 1000)  # 0..2000, loudest mid-loop
        level = 300 + swell * 35 // 100  # 300..1000
        value = 128 + tone * level * 75 // (1600 * 1000)
        samples.append(max(0, min(255, value)))
    fmt = struct.pack("<HHIIHHH", WAVE_FORMAT_PCM, 1, ROTATION_RATE, ROTATION_RATE, 1, 8, 0)
    fact = struct.pack("<I", n_total)
    return riff([chunk(b"fmt ", fmt), chunk(b"fact", fact), chunk(b"data", bytes(samples))])


# ---------------------------------------------------------------------------
# Drawing
# ---------------------------------------------------------------------------


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def mix(a, b, t):
    """Colour a blended towards b by t (0..1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def arc(cx, cy, rx, ry, a0, a1, steps=None):
    """Points along an ellipse, angles in degrees, 0 = right, 90 = down."""
    if steps is None:
        steps = max(4, int(abs(a1 - a0) / 10))
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((round(cx + rx * math.cos(a), 9), round(cy + ry * math.sin(a), 9)))
    return pts


def seg_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else clamp01(((px - ax) * dx + (py - ay) * dy) / length2)
    ex, ey = px - (ax + t * dx), py - (ay + t * dy)
    return math.sqrt(ex * ex + ey * ey)


class Canvas:
    """An RGB picture with a one-bit transparency mask; (0, 0) is the top left pixel."""

    def __init__(self, width, height, colour=(0, 0, 0), opaque=True):
        self.crisp = False  # True draws without antialiasing
        self.width = width
        self.height = height
        self.rgb = [tuple(colour)] * (width * height)
        self.opaque = [opaque] * (width * height)

    def get(self, x, y):
        return self.rgb[y * self.width + x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rgb[y * self.width + x] = tuple(colour)
            self.opaque[y * self.width + x] = True

    def blend(self, x, y, colour, coverage):
        if coverage <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        i = y * self.width + x
        if self.crisp:
            coverage = 1.0 if coverage >= 0.5 else 0.0
            if coverage == 0.0:
                return
        if not self.opaque[i]:
            # Nothing to blend with: a pixel is either in or out.
            if coverage >= 0.5:
                self.rgb[i] = tuple(colour)
                self.opaque[i] = True
            return
        self.rgb[i] = tuple(colour) if coverage >= 1.0 else mix(self.rgb[i], colour, coverage)

    def fill_rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.put(x, y, colour)

    def clear(self, x, y):
        self.opaque[y * self.width + x] = False
        self.rgb[y * self.width + x] = (0, 0, 0)

    def shade(self, distance, paint, box=None):
        """Fills where the signed distance is negative, antialiased over one pixel.

        paint is a colour or a function (x, y) -> colour.
        """
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                cov = clamp01(0.5 - distance(x + 0.5, y + 0.5))
                if cov > 0.0:
                    colour = paint(x, y) if callable(paint) else paint
                    self.blend(x, y, colour, cov)

    def disc(self, cx, cy, r, paint):
        box = (int(cx - r) - 1, int(cy - r) - 1, int(cx + r) + 2, int(cy + r) + 2)
        self.shade(lambda x, y: math.hypot(x - cx, y - cy) - r, paint, box)

    def ring(self, cx, cy, r, width, paint):
        box = (int(cx - r - width) - 1, int(cy - r - width) - 1,
               int(cx + r + width) + 2, int(cy + r + width) + 2)
        self.shade(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2, paint, box)

    def ellipse(self, cx, cy, rx, ry, paint):
        def dist(x, y):
            # Scaled distance: close enough to Euclidean for gentle ellipses.
            k = math.hypot((x - cx) / rx, (y - cy) / ry)
            return (k - 1.0) * min(rx, ry)

        box = (int(cx - rx) - 1, int(cy - ry) - 1, int(cx + rx) + 2, int(cy + ry) + 2)
        self.shade(dist, paint, box)

    def round_rect(self, x0, y0, x1, y1, radius, paint):
        """Rectangle with edges at x0..x1, y0..y1 (pixel edges) and rounded corners."""
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

        def dist(x, y):
            qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
            outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
            return outside + min(max(qx, qy), 0.0) - radius

        self.shade(dist, paint, (int(x0) - 1, int(y0) - 1, int(x1) + 2, int(y1) + 2))

    def strokes(self, lines, width, paint):
        """Polylines drawn with round ends and joins."""
        segs = []
        for line in lines:
            segs.extend((line[i], line[i + 1]) for i in range(len(line) - 1))
        if not segs:
            return
        half = width / 2
        xs = [p[0] for s in segs for p in s]
        ys = [p[1] for s in segs for p in s]
        box = (int(min(xs) - half) - 1, int(min(ys) - half) - 1,
               int(max(xs) + half) + 2, int(max(ys) + half) + 2)

        def dist(x, y):
            return min(seg_distance(x, y, a[0], a[1], b[0], b[1]) for a, b in segs) - half

        self.shade(dist, paint, box)


# Stroke font: each glyph is (width, polylines) on a cap height of 1, y downwards.
GLYPHS = {
    "C": (0.62, [arc(0.34, 0.5, 0.34, 0.5, -42, -318)]),
    "E": (0.55, [[(0.55, 0), (0, 0), (0, 1), (0.55, 1)], [(0, 0.5), (0.46, 0.5)]]),
    "F": (0.55, [[(0.55, 0), (0, 0), (0, 1)], [(0, 0.5), (0.46, 0.5)]]),
    "K": (0.6, [[(0, 0), (0, 1)], [(0.6, 0), (0, 0.62)], [(0.2, 0.42), (0.6, 1)]]),
    "L": (0.52, [[(0, 0), (0, 1), (0.52, 1)]]),
    "N": (0.66, [[(0, 1), (0, 0), (0.66, 1), (0.66, 0)]]),
    "O": (0.72, [arc(0.36, 0.5, 0.36, 0.5, 0, 360, 48)]),
    "P": (0.58, [[(0, 1), (0, 0), (0.32, 0)] + arc(0.32, 0.25, 0.26, 0.25, -90, 90)
                 + [(0, 0.5)]]),
    "R": (0.6, [[(0, 1), (0, 0), (0.32, 0)] + arc(0.32, 0.25, 0.26, 0.25, -90, 90)
                + [(0, 0.5)], [(0.3, 0.5), (0.6, 1)]]),
    "S": (0.6, [arc(0.3, 0.25, 0.28, 0.25, -25, -270) + arc(0.3, 0.75, 0.3, 0.25, -90, 155)]),
    "T": (0.68, [[(0, 0), (0.68, 0)], [(0.34, 0), (0.34, 1)]]),
    "V": (0.7, [[(0, 0), (0.35, 1), (0.7, 0)]]),
}


def text_width(text, cap, weight, tracking):
    scale = cap - weight
    return sum(GLYPHS[c][0] * scale + weight for c in text) + tracking * (len(text) - 1)


def draw_text(canvas, text, x, top, cap, weight, paint, tracking=1.0):
    """Text whose ink starts at x and spans top..top+cap."""
    scale = cap - weight
    half = weight / 2
    for c in text:
        width, lines = GLYPHS[c]
        placed = [[(x + half + px * scale, top + half + py * scale) for px, py in line]
                  for line in lines]
        canvas.strokes(placed, weight, paint)
        x += width * scale + weight + tracking


def draw_text_centred(canvas, text, cx, top, cap, weight, paint, tracking=1.0):
    draw_text(canvas, text, cx - text_width(text, cap, weight, tracking) / 2, top, cap,
              weight, paint, tracking)


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    def paint(_x, y):
        return mix(top_colour, bottom_colour, clamp01((y + 0.5 - y0) / max(1, y1 - y0)))

    return paint


# ---------------------------------------------------------------------------
# Bitmaps
# ---------------------------------------------------------------------------

PANEL_EDGE = (14, 16, 20)
PANEL_LIGHT = (104, 110, 122)
PANEL_SHADOW = (22, 24, 28)
PANEL_TOP = (62, 67, 76)
PANEL_BOTTOM = (34, 37, 43)


def panel(width, height):
    """Dark bevelled tile shared by the speaker and listener pictures."""
    c = Canvas(width, height, PANEL_EDGE)
    c.fill_rect(1, 1, width - 1, height - 1, PANEL_SHADOW)
    c.fill_rect(1, 1, width - 2, height - 2, PANEL_LIGHT)
    paint = vertical_gradient(PANEL_TOP, PANEL_BOTTOM, 2, height - 2)
    for y in range(2, height - 2):
        for x in range(2, width - 2):
            c.put(x, y, paint(x, y))
    return c


def speaker_picture(label, lit):
    c = panel(48, 48)
    cx, cy = 24, 17.5
    # Cone: rim, body, and the mark as its centre cap.
    c.disc(cx, cy, 12.5, (24, 26, 30))
    c.ring(cx, cy, 11.2, 1.8, (150, 156, 166) if not lit else (255, 236, 140))
    c.disc(cx, cy, 9.6, lambda x, y: mix((92, 96, 106), (44, 47, 54),
                                         clamp01((y - cy + 10) / 20)))
    c.ring(cx, cy, 6.6, 1.0, (30, 32, 38))
    if lit:
        c.disc(cx, cy, 5.0, (228, 24, 24))
        c.disc(cx - 1.4, cy - 1.6, 1.8, (255, 150, 140))
    else:
        c.disc(cx, cy, 5.0, (40, 184, 64))
        c.disc(cx - 1.4, cy - 1.6, 1.8, (150, 236, 160))
    # Bar with the channel label.
    if lit:
        bar = vertical_gradient((255, 246, 150), (238, 190, 0), 32, 45)
        ink = (48, 32, 0)
    else:
        bar = vertical_gradient((112, 104, 58), (74, 68, 34), 32, 45)
        ink = (214, 210, 190)
    c.round_rect(4, 32, 44, 45, 3, (10, 10, 12))
    c.round_rect(5, 33, 43, 44, 2.5, bar)
    draw_text_centred(c, label, 24, 34, 9, 1.7, ink, tracking=1.4)
    return c


def listener_picture():
    """A listener seen from behind, facing the front speakers."""
    c = panel(48, 38)
    cx = 24
    # Shoulders and neck.
    c.ellipse(cx, 38.0, 20.0, 9.5, (30, 46, 84))
    c.ellipse(cx, 38.5, 18.8, 8.4, vertical_gradient((92, 128, 196), (46, 72, 130), 30, 38))
    c.round_rect(cx - 4.5, 22, cx + 4.5, 31, 3, (206, 160, 122))
    # Ears, then the head covered by hair.
    for side in (-1, 1):
        c.ellipse(cx + side * 10.8, 17.0, 2.8, 4.2, (150, 104, 74))
        c.ellipse(cx + side * 10.6, 17.0, 2.0, 3.4, (222, 176, 136))
    c.ellipse(cx, 15.5, 10.8, 12.0, (46, 28, 14))
    c.ellipse(cx, 15.5, 10.0, 11.2,
              lambda x, y: mix((160, 112, 64), (84, 52, 24),
                               clamp01(math.hypot(x - cx + 4, y - 8) / 18)))
    return c


PAD_SIZE = 65
PAD_STEP = 8
PAD_GRID = (0, 104, 0)
PAD_CENTRE = (0, 255, 0)


def pad_picture():
    c = Canvas(PAD_SIZE, PAD_SIZE, (0, 0, 0))
    for i in range(0, PAD_SIZE, PAD_STEP):
        c.fill_rect(i, 0, i + 1, PAD_SIZE, PAD_GRID)
        c.fill_rect(0, i, PAD_SIZE, i + 1, PAD_GRID)
    mid = PAD_SIZE // 2
    c.fill_rect(mid, 0, mid + 1, PAD_SIZE, PAD_CENTRE)
    c.fill_rect(0, mid, PAD_SIZE, mid + 1, PAD_CENTRE)
    return c


def test_button(text, ink, greyed=False):
    w, h = 48, 25
    c = Canvas(w, h, (0, 0, 0))
    # Raised button: white top and left, grey and black bottom and right.
    c.fill_rect(0, 0, w - 1, h - 1, (255, 255, 255))
    c.fill_rect(1, 1, w - 1, h - 1, (128, 128, 128))
    face = vertical_gradient((250, 250, 248), (212, 210, 204), 1, h - 2)
    for y in range(1, h - 2):
        for x in range(1, w - 2):
            c.put(x, y, face(x, y))
    cap, weight, top = 11, 2.0, 7
    if greyed:
        # Etched like any disabled control: a white relief under grey ink.
        tw = text_width(text, cap, weight, 2.0)
        draw_text(c, text, (w - 1) / 2 - tw / 2 + 1, top + 1, cap, weight,
                  (255, 255, 255), tracking=2.0)
        draw_text(c, text, (w - 1) / 2 - tw / 2, top, cap, weight, (150, 150, 150),
                  tracking=2.0)
    else:
        draw_text_centred(c, text, (w - 1) / 2, top, cap, weight, ink, tracking=2.0)
    return c


# Speaker pictures: resource -> (label, lit), for the labels LF CTR RF RS LS LFE.
SPEAKER_PICTURES = {
    "IDB_%s_%s" % (label, "LIT" if lit else "IDLE"): (label, lit)
    for label in ("LF", "CTR", "RF", "RS", "LS", "LFE") for lit in (False, True)
}


def bmp_file(canvas):
    """24-bit bottom-up BMP."""
    row = canvas.width * 3
    stride = (row + 3) & ~3
    pixels = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        for x in range(canvas.width):
            r, g, b = canvas.get(x, y)
            pixels += bytes((b, g, r))
        pixels += bytes(stride - row)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0,
                       len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


# ---------------------------------------------------------------------------
# Icons
# ---------------------------------------------------------------------------


def median_cut(counts, n):
    """Up to n colours summarising {colour: pixel count}, deterministically."""
    boxes = [sorted(counts.items())]
    while len(boxes) < n:
        best, best_range, best_axis = None, 0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                values = [c[axis] for c, _ in box]
                spread = max(values) - min(values)
                if spread > best_range:
                    best, best_range, best_axis = i, spread, axis
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: (item[0][best_axis], item[0]))
        total = sum(k for _, k in box)
        acc, cut = 0, 1
        for j, (_, k) in enumerate(box):
            acc += k
            if acc * 2 >= total:
                cut = min(max(j + 1, 1), len(box) - 1)
                break
        boxes[best:best] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(k for _, k in box)
        palette.append(tuple((sum(c[a] * k for c, k in box) + total // 2) // total
                             for a in range(3)))
    return palette


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: (sum((palette[i][a] - colour[a]) ** 2 for a in range(3)), i))


def icon_palette(canvases, bpp):
    """A palette for images at `bpp` that covers every canvas given."""
    size = 1 << bpp
    counts = {}
    for canvas in canvases:
        for colour, opaque in zip(canvas.rgb, canvas.opaque):
            if opaque and colour != (0, 0, 0):
                counts[colour] = counts.get(colour, 0) + 1
    # Index 0 stays black: transparent pixels use it, so the screen shows through.
    palette = [(0, 0, 0)]
    if len(counts) <= size - 1:
        palette += sorted(counts)
    else:
        palette += median_cut(counts, size - 1)
    return palette + [(0, 0, 0)] * (size - len(palette))


def icon_image(canvas, bpp, palette=None):
    """One icon image: BITMAPINFOHEADER, palette, colour (XOR) bits, mask (AND) bits."""
    if palette is None:
        palette = icon_palette([canvas], bpp)
    index_of = {}
    w, h = canvas.width, canvas.height
    xor_stride = ((w * bpp + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = []
        bits = bytearray(and_stride)
        for x in range(w):
            i = y * w + x
            if not canvas.opaque[i] or canvas.rgb[i] == (0, 0, 0):
                row.append(0)
                if not canvas.opaque[i]:
                    bits[x // 8] |= 0x80 >> (x % 8)
                continue
            colour = canvas.rgb[i]
            if colour not in index_of:
                index_of[colour] = nearest(palette, colour)
            row.append(index_of[colour])
        packed = bytearray(xor_stride)
        per_byte = 8 // bpp
        for x, v in enumerate(row):
            shift = 8 - bpp * (x % per_byte + 1)
            packed[x // per_byte] |= v << shift
        xor += packed
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, len(xor) + len(mask),
                       0, 0, 0, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return info + pal + bytes(xor) + bytes(mask)


def ico_file(images):
    """images: list of (canvas, bits per pixel[, palette])."""
    header = struct.pack("<HHH", 0, 1, len(images))
    blobs = [icon_image(*image) for image in images]
    entries = b""
    offset = 6 + 16 * len(images)
    for (c, bpp, *_), blob in zip(images, blobs):
        colours = (1 << bpp) if bpp < 8 else 0
        entries += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, colours, 0, 1,
                               bpp, len(blob), offset)
        offset += len(blob)
    return header + entries + b"".join(blobs)


def cut_transparent(canvas, inside):
    """Makes every pixel whose centre is not inside(x, y) transparent."""
    for y in range(canvas.height):
        for x in range(canvas.width):
            if not inside(x + 0.5, y + 0.5):
                canvas.clear(x, y)


EMBLEM_RED = ((255, 72, 56), (200, 0, 0), (120, 0, 0))
EMBLEM_DARK = ((150, 40, 36), (104, 0, 0), (60, 0, 0))


# The 16 x 16 emblem's source ("o") and arcs ("W").
SMALL_ARCS = [
    "................",
    "................",
    "...........W....",
    "........W...W...",
    ".........W..W...",
    "......W..W...W..",
    ".......W..W..W..",
    "...oo..W..W..W..",
    "...oo..W..W..W..",
    ".......W..W..W..",
    "......W..W...W..",
    ".........W..W...",
    "........W...W...",
    "...........W....",
    "................",
    "................",
]


def emblem(size, colours, open_mark=False):
    """Round emblem with a sound source and three arcs spreading to the right."""
    light, body, rim = colours
    c = Canvas(size, size, (0, 0, 0), opaque=False)
    r = size / 2
    cx = cy = r
    s = size / 16.0
    c.disc(cx, cy, r - 0.2, rim)
    c.disc(cx, cy, r - 0.2 - max(1.0, s * 0.9),
           lambda x, y: mix(light, body, clamp01(math.hypot(x + 0.5 - cx + r * 0.35,
                                                            y + 0.5 - cy + r * 0.35) / (r * 1.3))))
    cut_transparent(c, lambda x, y: math.hypot(x - cx, y - cy) <= r - 0.2)
    white = (255, 255, 255) if colours is EMBLEM_RED else (214, 196, 196)
    if size <= 16:
        # Too small for soft edges: the arcs are set pixel by pixel.
        for y, row in enumerate(SMALL_ARCS):
            for x, ch in enumerate(row):
                if ch == "W" or (ch == "o" and not open_mark):
                    c.put(x, y, white)
                elif ch == "o":
                    c.put(x, y, (255, 236, 0))
        return c
    src_x, src_y, dot, weight = cx - 4.4 * s, cy, 1.35 * s, 1.05 * s
    c.disc(src_x, src_y, dot, white)
    for k, radius in enumerate((3.0 * s, 5.2 * s, 7.4 * s)):
        span = 46 - k * 4
        c.strokes([arc(src_x, src_y, radius, radius, -span, span)], weight, white)
    if open_mark:
        # The open settings are flagged by a yellow source.
        c.disc(src_x, src_y, dot + 0.6, (255, 236, 0))
    return c


def tray_icon(colours, open_mark=False):
    images = []
    for size in (16, 32):
        # The open state shares the closed state's palette, so only its mark differs.
        shared = [emblem(size, colours), emblem(size, colours, True)]
        palette = icon_palette(shared, 4)
        images.append((shared[1] if open_mark else shared[0], 4, palette))
    return ico_file(images)


def about_picture(width, height):
    """The emblem drawn large, centred in a width x height icon."""
    big = emblem(min(width, height), EMBLEM_RED)
    c = Canvas(width, height, (0, 0, 0), opaque=False)
    ox = (width - big.width) // 2
    oy = (height - big.height) // 2
    for y in range(big.height):
        for x in range(big.width):
            if big.opaque[y * big.width + x]:
                c.put(ox + x, oy + y, big.get(x, y))
    return c


def logo_picture():
    w, h = 168, 32
    c = Canvas(w, h, (0, 0, 0), opaque=False)
    c.round_rect(0, 0, w, h, 6, (96, 0, 0))
    c.round_rect(1, 1, w - 1, h - 1, 5, vertical_gradient((220, 40, 32), (128, 0, 0), 1, h - 1))
    # Keep the corners crisp against whatever is behind the icon.
    edge = 6

    def inside(x, y):
        qx = max(edge - x, x - (w - edge), 0.0)
        qy = max(edge - y, y - (h - edge), 0.0)
        return math.hypot(qx, qy) <= edge

    cut_transparent(c, inside)
    # Small emblem at the left, then the name.
    mark = emblem(24, EMBLEM_RED)
    for y in range(24):
        for x in range(24):
            if mark.opaque[y * 24 + x]:
                c.put(5 + x, 4 + y, mark.get(x, y))
    draw_text_centred(c, "KORVEN", 99.5, 7, 19, 3.6, (80, 0, 0), tracking=4.5)
    draw_text_centred(c, "KORVEN", 98.5, 6, 19, 3.6, (255, 255, 255), tracking=4.5)
    return c



# ---------------------------------------------------------------------------


def media():
    """Every generated file: name -> bytes."""
    ids = resource_ids()
    files = {}
    for name, (channel, size) in CHANNEL_TONES.items():
        files["wave_%d.wav" % ids[name]] = channel_tone(channel, size)
    files["wave_%d.wav" % ids["IDR_WAVE_ROTATION"]] = rotation_clip()
    files["wave_%d.wav" % ids["IDR_WAVE_SILENCE"]] = silent_clip()
    for name, (label, lit) in SPEAKER_PICTURES.items():
        files["bitmap_%d.bmp" % ids[name]] = bmp_file(speaker_picture(label, lit))
    files["bitmap_%d.bmp" % ids["IDB_LISTENER"]] = bmp_file(listener_picture())
    files["bitmap_%d.bmp" % ids["IDB_PAD"]] = bmp_file(pad_picture())
    files["bitmap_TESTU.bmp"] = bmp_file(test_button("TEST", (24, 24, 24)))
    files["bitmap_TESTD.bmp"] = bmp_file(test_button("STOP", (204, 0, 0)))
    files["bitmap_TESTX.bmp"] = bmp_file(test_button("TEST", None, greyed=True))
    files["icon_%d.ico" % ids["IDI_TRAY_CLOSED"]] = tray_icon(EMBLEM_RED)
    files["icon_%d.ico" % ids["IDI_TRAY_NODEVICE"]] = tray_icon(EMBLEM_DARK)
    files["icon_%d.ico" % ids["IDI_TRAY_OPEN"]] = tray_icon(EMBLEM_RED, open_mark=True)
    files["icon_%d.ico" % ids["IDI_ABOUT"]] = ico_file([(about_picture(52, 50), 8),
                                                       (about_picture(32, 32), 8)])
    files["icon_%d.ico" % ids["IDI_LOGO"]] = ico_file([(logo_picture(), 8)])
    return files


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: generate_media.py OUTPUT_DIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in sorted(media().items()):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
