#!/usr/bin/env python3
"""Checks the generated media by reading the files back, as the resource compiler
and the program would, against the formats the program relies on."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "generate_media.py")

# id -> (sample channel, data bytes, tone pitch in Hz)
TONES = {
    177: (0, 44028, 261.65),
    181: (2, 39228, 293.67),
    180: (1, 34944, 329.67),
    178: (5, 32988, 349.22),
    182: (3, 29388, 392.00),
    179: (4, 26184, 439.96),
}
# lit id -> idle id, per channel label
PICTURES = {"LF": (191, 190), "CTR": (192, 193), "RF": (194, 195),
            "RS": (196, 197), "LS": (198, 199), "LFE": (200, 201)}

EXPECTED_FILES = sorted(
    ["wave_%d.wav" % i for i in list(TONES) + [209, 215]]
    + ["bitmap_%d.bmp" % i for i in range(190, 202)]
    + ["bitmap_187.bmp", "bitmap_1019.bmp", "bitmap_TESTU.bmp", "bitmap_TESTD.bmp",
       "bitmap_TESTX.bmp"]
    + ["icon_%d.ico" % i for i in (130, 131, 186, 203, 242)])

PCM_GUID = bytes.fromhex("0100000000001000800000aa00389b71")

OUT = None
_tmp = None


def setUpModule():
    global OUT, _tmp
    _tmp = tempfile.TemporaryDirectory()
    OUT = os.path.join(_tmp.name, "media")
    subprocess.run([sys.executable, SCRIPT, OUT], check=True)


def tearDownModule():
    _tmp.cleanup()


def read(name):
    with open(os.path.join(OUT, name), "rb") as f:
        return f.read()


def chunks(data):
    """RIFF/WAVE file -> list of (tag, payload); checks the outer header."""
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE", "not a RIFF/WAVE file"
    assert struct.unpack_from("<I", data, 4)[0] == len(data) - 8, "RIFF size"
    out, pos = [], 12
    while pos < len(data):
        tag = data[pos:pos + 4]
        size = struct.unpack_from("<I", data, pos + 4)[0]
        out.append((tag, data[pos + 8:pos + 8 + size]))
        assert pos + 8 + size <= len(data), "chunk past the end"
        pos += 8 + size + (size & 1)
    return out


class OutputSetTest(unittest.TestCase):
    def test_writes_exactly_the_resource_files(self):
        self.assertEqual(sorted(os.listdir(OUT)), EXPECTED_FILES)

    def test_second_run_is_byte_identical(self):
        with tempfile.TemporaryDirectory() as other:
            subprocess.run([sys.executable, SCRIPT, other], check=True)
            for name in EXPECTED_FILES:
                with open(os.path.join(other, name), "rb") as f:
                    self.assertEqual(f.read(), read(name), name)


class ChannelToneTest(unittest.TestCase):
    def check_extensible_fmt(self, fmt):
        self.assertEqual(len(fmt), 40)
        (tag, channels, rate, avg, align, bits, ext, valid, mask) = struct.unpack_from(
            "<HHIIHHHHI", fmt)
        self.assertEqual((tag, channels, rate, avg, align, bits, ext, valid, mask),
                         (0xFFFE, 6, 48000, 576000, 12, 16, 22, 16, 0x3F))
        self.assertEqual(fmt[24:40], PCM_GUID)

    def test_tones_match_the_channel_table(self):
        for rid, (channel, size, pitch) in TONES.items():
            with self.subTest(id=rid):
                data = read("wave_%d.wav" % rid)
                parts = chunks(data)
                self.assertEqual([t for t, _ in parts], [b"fmt ", b"data"])
                self.check_extensible_fmt(parts[0][1])
                pcm = parts[1][1]
                self.assertEqual(len(pcm), size)
                self.assertEqual(len(data), 68 + size)
                frames = size // 12
                self.assertEqual(frames * 12, size)
                self.assertAlmostEqual(20 * 48000 / frames, pitch, delta=0.01)

                samples = struct.unpack("<%dh" % (frames * 6), pcm)
                for other in range(6):
                    if other != channel:
                        self.assertFalse(any(samples[other::6]),
                                         "channel %d must be silent" % other)
                signal = samples[channel::6]
                self.assertEqual(signal[0], 0)
                self.assertGreaterEqual(min(signal), 0)
                self.assertLess(max(signal), 32767)
                self.assertGreater(max(signal), 32000, "ramp reaches near full scale")
                # Each drop starts a new period: 20 rising ramps in all.
                drops = [i for i in range(1, frames) if signal[i] < signal[i - 1]]
                self.assertEqual(len(drops), 19)
                starts = [0] + drops + [frames]
                for a, b in zip(starts, starts[1:]):
                    ramp = signal[a:b]
                    self.assertTrue(all(x < y for x, y in zip(ramp, ramp[1:])),
                                    "ramp must rise strictly")
                    step = 32767 * 20 / frames
                    self.assertLess(ramp[0], step + 1, "a ramp starts within one step of 0")
                    self.assertIn(b - a, (frames // 20, frames // 20 + 1))

    def test_silent_clip(self):
        data = read("wave_215.wav")
        self.assertEqual(len(data), 188)
        parts = chunks(data)
        self.assertEqual([t for t, _ in parts], [b"fmt ", b"data"])
        self.check_extensible_fmt(parts[0][1])
        self.assertEqual(parts[1][1], bytes(120))


class RotationClipTest(unittest.TestCase):
    def test_format_fact_and_length(self):
        parts = dict(chunks(read("wave_209.wav")))
        self.assertEqual(set(parts), {b"fmt ", b"fact", b"data"})
        tag, channels, rate, avg, align, bits = struct.unpack_from("<HHIIHH", parts[b"fmt "])
        self.assertEqual((tag, channels, rate, avg, align, bits), (1, 1, 22050, 22050, 1, 8))
        self.assertEqual(struct.unpack("<I", parts[b"fact"])[0], 13328)
        self.assertEqual(len(parts[b"data"]), 13328)

    def test_audible_and_loops_without_a_jump(self):
        pcm = dict(chunks(read("wave_209.wav")))[b"data"]
        self.assertGreater(max(pcm) - min(pcm), 40, "clip must not be silent")
        mean = sum(pcm) / len(pcm)
        self.assertAlmostEqual(mean, 128, delta=2, msg="unsigned 8-bit centres on 128")
        self.assertLess(abs(pcm[0] - pcm[-1]), 12, "loop seam must not click")


def read_bmp(name):
    data = read(name)
    self_size = len(data)
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data)
    (hsize, w, h, planes, bpp, comp) = struct.unpack_from("<IiiHHI", data, 14)
    assert magic == b"BM" and size == self_size, name
    assert hsize == 40 and planes == 1 and comp == 0, name
    stride = ((w * bpp + 31) // 32) * 4
    assert offset + stride * abs(h) <= self_size, name

    def pixel(x, y):
        row = (abs(h) - 1 - y) if h > 0 else y
        pos = offset + row * stride
        if bpp == 24:
            b, g, r = data[pos + 3 * x:pos + 3 * x + 3]
            return r, g, b
        index = data[pos + x]
        b, g, r = data[54 + 4 * index:54 + 4 * index + 3]
        return r, g, b

    return w, h, bpp, pixel


def pixels(name):
    w, h, _, pixel = read_bmp(name)
    return [pixel(x, y) for y in range(h) for x in range(w)]


class BitmapTest(unittest.TestCase):
    def test_sizes_and_depths(self):
        sizes = {"bitmap_%d.bmp" % i: (48, 48) for i in range(190, 202)}
        sizes.update({"bitmap_187.bmp": (65, 65), "bitmap_TESTU.bmp": (48, 25),
                      "bitmap_TESTD.bmp": (48, 25), "bitmap_TESTX.bmp": (48, 25),
                      "bitmap_1019.bmp": (48, 38)})
        for name, size in sizes.items():
            with self.subTest(name=name):
                w, h, bpp, _ = read_bmp(name)
                self.assertEqual((w, h), size, "bottom-up, natural size")
                self.assertIn(bpp, (8, 24))

    def test_lit_and_idle_pictures(self):
        def bright_yellow(c):
            return c[0] > 230 and c[1] > 180 and c[2] < 80

        def red(c):
            return c[0] > 180 and c[1] < 60 and c[2] < 60

        def green(c):
            return c[1] > 150 and c[0] < 100 and c[2] < 120

        lit_images, idle_images = [], []
        for label, (lit_id, idle_id) in PICTURES.items():
            with self.subTest(label=label):
                lit = pixels("bitmap_%d.bmp" % lit_id)
                idle = pixels("bitmap_%d.bmp" % idle_id)
                self.assertGreater(sum(map(bright_yellow, lit)), 150, "lit: bright bar")
                self.assertGreater(sum(map(red, lit)), 20, "lit: red mark")
                self.assertEqual(sum(map(green, lit)), 0)
                self.assertEqual(sum(map(bright_yellow, idle)), 0, "idle: dim bar")
                self.assertGreater(sum(map(green, idle)), 20, "idle: green mark")
                self.assertEqual(sum(map(red, idle)), 0)
                lit_images.append(lit)
                idle_images.append(idle)
        # The label is drawn into every picture, so no two channels look alike.
        for group in (lit_images, idle_images):
            self.assertEqual(len(set(map(tuple, group))), len(PICTURES))

    def test_pad_grid(self):
        w, h, _, pixel = read_bmp("bitmap_187.bmp")
        self.assertEqual(pixel(3, 3), (0, 0, 0), "black between the lines")
        centre = pixel(32, 5)
        grid = pixel(8, 5)
        self.assertEqual(centre[0], 0)
        self.assertEqual(grid[0], 0)
        self.assertGreater(grid[1], 0, "green grid line")
        self.assertGreater(centre[1], grid[1], "centre lines are brighter")
        self.assertEqual(pixel(5, 32), centre)
        self.assertEqual(sum(1 for c in pixels("bitmap_187.bmp") if c[0] or c[2]), 0,
                         "green on black only")

    def test_test_button_images_differ(self):
        up, down, grey = (pixels("bitmap_%s.bmp" % n) for n in ("TESTU", "TESTD", "TESTX"))
        self.assertNotEqual(up, down)
        self.assertNotEqual(up, grey)

        def darkest(image):  # inside the bevel
            return min(sum(image[y * 48 + x]) for y in range(3, 22) for x in range(3, 45))

        self.assertGreater(darkest(grey), darkest(up) + 100, "greyed text is light")


def read_ico(name):
    data = read(name)
    reserved, kind, count = struct.unpack_from("<HHH", data)
    assert (reserved, kind) == (0, 1), name
    images = []
    for i in range(count):
        w, h, colours, res, planes, bpp, nbytes, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        images.append(dict(w=w or 256, h=h or 256, colours=colours, reserved=res,
                           planes=planes, bpp=bpp, nbytes=nbytes, offset=offset,
                           blob=data[offset:offset + nbytes]))
    return data, images


def icon_pixels(image):
    """(r, g, b) or None for transparent, row by row from the top."""
    blob = image["blob"]
    w, h, bpp = image["w"], image["h"], image["bpp"]
    ncol = 1 << bpp
    palette = [tuple(blob[40 + 4 * i:43 + 4 * i][::-1]) for i in range(ncol)]
    xor_off = 40 + 4 * ncol
    xor_stride = ((w * bpp + 31) // 32) * 4
    and_off = xor_off + xor_stride * h
    and_stride = ((w + 31) // 32) * 4
    out = []
    for y in range(h):
        row = h - 1 - y
        for x in range(w):
            if blob[and_off + row * and_stride + x // 8] & (0x80 >> (x % 8)):
                out.append(None)
                continue
            byte = blob[xor_off + row * xor_stride + x * bpp // 8]
            per = 8 // bpp
            index = (byte >> (8 - bpp * (x % per + 1))) & (ncol - 1)
            out.append(palette[index])
    return out


class IconTest(unittest.TestCase):
    def check_directory(self, name):
        data, images = read_ico(name)
        end = 6 + 16 * len(images)
        for im in images:
            hsize, w, h2, planes, bpp, comp, size_image = struct.unpack_from(
                "<IiiHHII", im["blob"])
            self.assertEqual((hsize, w, h2, planes, bpp, comp),
                             (40, im["w"], 2 * im["h"], 1, im["bpp"], 0))
            self.assertEqual(im["planes"], 1)
            self.assertEqual(im["reserved"], 0)
            self.assertEqual(im["colours"], (1 << bpp) if bpp < 8 else 0)
            ncol = 1 << bpp
            xor = ((im["w"] * bpp + 31) // 32) * 4 * im["h"]
            mask = ((im["w"] + 31) // 32) * 4 * im["h"]
            self.assertEqual(size_image, xor + mask)
            self.assertEqual(im["nbytes"], 40 + 4 * ncol + xor + mask)
            self.assertEqual(im["offset"], end, "images follow each other")
            end += im["nbytes"]
        self.assertEqual(end, len(data))
        return images

    def test_directories(self):
        expected = {
            "icon_130.ico": [(16, 16, 4), (32, 32, 4)],
            "icon_131.ico": [(16, 16, 4), (32, 32, 4)],
            "icon_186.ico": [(16, 16, 4), (32, 32, 4)],
            "icon_203.ico": [(52, 50, 8), (32, 32, 8)],
            "icon_242.ico": [(168, 32, 8)],
        }
        for name, sizes in expected.items():
            with self.subTest(name=name):
                images = self.check_directory(name)
                self.assertEqual([(i["w"], i["h"], i["bpp"]) for i in images], sizes)

    def test_transparent_corners_opaque_centre(self):
        for name in ("icon_130.ico", "icon_131.ico", "icon_186.ico", "icon_203.ico",
                     "icon_242.ico"):
            for im in read_ico(name)[1]:
                with self.subTest(name=name, size=(im["w"], im["h"])):
                    px = icon_pixels(im)
                    w, h = im["w"], im["h"]
                    self.assertIsNone(px[0])
                    self.assertIsNone(px[w * h - 1])
                    self.assertIsNotNone(px[(h // 2) * w + w // 2])

    def test_tray_states_are_distinguishable(self):
        def small(name):
            return icon_pixels(read_ico(name)[1][0])

        closed, absent, opened = small("icon_130.ico"), small("icon_131.ico"), small(
            "icon_186.ico")

        def mean_red(px):
            reds = [c[0] for c in px if c is not None]
            return sum(reds) / len(reds)

        self.assertGreater(mean_red(closed), mean_red(absent) + 40, "absent is darker")
        changed = sum(1 for a, b in zip(closed, opened) if a != b)
        self.assertGreater(changed, 0)
        self.assertLessEqual(changed, 16, "open differs by a few pixels only")
        # Same outline in every state.
        for other in (absent, opened):
            self.assertEqual([c is None for c in closed], [c is None for c in other])

    def test_logo_has_light_lettering(self):
        px = icon_pixels(read_ico("icon_242.ico")[1][0])
        white = sum(1 for c in px if c is not None and min(c) > 230)
        self.assertGreater(white, 300)


if __name__ == "__main__":
    unittest.main()
