"""Checks the files tools/gen_resources.py writes, using readers written
independently here so a shared mistake in the writer cannot hide.

Run from the project root:  python3 -m unittest tests/tools/test_gen_resources.py -v
"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GENERATOR = os.path.join(ROOT, 'tools', 'gen_resources.py')

# (bitmap number, width, height, bits per pixel, PNG name) as the program
# and the forum expect them.
SMILEYS = [
    (7500, 74, 49, 24, '399175'), (7501, 37, 22, 8, '399176'), (7502, 32, 28, 8, '399178'),
    (7503, 67, 32, 8, '399179'), (7504, 37, 15, 8, '399180'), (7505, 57, 16, 8, '399181'),
    (7506, 33, 26, 24, '399182'), (7507, 27, 22, 8, '399183'), (7508, 20, 16, 8, '399184'),
    (7509, 75, 25, 24, '399185'), (7510, 38, 26, 8, '399186'), (7511, 78, 29, 8, '399187'),
    (7512, 100, 34, 8, '399188'), (7513, 35, 31, 8, '399189'), (7514, 133, 43, 8, '399191'),
    (7515, 25, 20, 8, '399192'), (7516, 42, 21, 24, 'wave'),
]

BTN_FACE = (192, 192, 192)
# Colours CreateMappedBitmap would remap besides the face and black.
MAPPED = {(128, 128, 128), (255, 255, 255)}
PRESETS = {5: (255, 0, 0), 8: (0, 128, 128), 11: (0, 0, 255)}


def read_bmp(data):
    """Parse an uncompressed 8- or 24-bit bottom-up BMP; returns
    (width, height, bits, rows of RGB tuples top first).  Fails on any
    inconsistency between the headers and the data."""
    magic, file_size, _, _, offset = struct.unpack_from('<2sIHHI', data, 0)
    (size, width, height, planes, bits, compression, image_size, _, _, used,
     _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    assert magic == b'BM' and size == 40 and planes == 1 and compression == 0
    assert file_size == len(data), 'bfSize %d, file %d' % (file_size, len(data))
    assert height > 0, 'rows must be stored bottom-up'
    stride = (width * bits + 31) // 32 * 4
    assert image_size == stride * height
    assert offset + stride * height == len(data)
    palette = []
    if bits == 8:
        count = used or 256
        assert 0 < count <= 256
        assert offset == 54 + 4 * count, 'colour table must sit between header and pixels'
        palette = [(r, g, b) for b, g, r, _ in struct.iter_unpack('<BBBB', data[54:offset])]
    else:
        assert bits == 24 and offset == 54
    rows = []
    for y in range(height):
        line = data[offset + (height - 1 - y) * stride:][:stride]
        used_bytes = width * bits // 8
        assert line[used_bytes:] == bytes(stride - used_bytes), 'row padding must be zero'
        if bits == 8:
            rows.append([palette[i] for i in line[:width]])
        else:
            rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, used_bytes, 3)])
    return width, height, bits, rows


def read_png(data):
    """Decode a PNG written with filter 0 on every row; returns
    (width, height, rows of pixel tuples) with RGB or RGBA tuples."""
    assert data[:8] == b'\x89PNG\r\n\x1a\n'
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack_from('>I4s', data, pos)
        body = data[pos + 8:pos + 8 + length]
        crc, = struct.unpack_from('>I', data, pos + 8 + length)
        assert crc == zlib.crc32(kind + body) & 0xffffffff, 'bad CRC in %r' % kind
        chunks.append((kind, body))
        pos += 12 + length
    assert chunks[0][0] == b'IHDR' and chunks[-1][0] == b'IEND'
    width, height, depth, colour_type, _, _, interlace = struct.unpack('>IIBBBBB', chunks[0][1])
    assert depth == 8 and colour_type in (2, 6) and interlace == 0
    channels = 3 if colour_type == 2 else 4
    raw = zlib.decompress(b''.join(body for kind, body in chunks if kind == b'IDAT'))
    stride = 1 + width * channels
    assert len(raw) == stride * height
    rows = []
    for y in range(height):
        line = raw[y * stride:(y + 1) * stride]
        assert line[0] == 0, 'only filter type 0 is expected'
        rows.append([tuple(line[1 + x * channels:1 + (x + 1) * channels]) for x in range(width)])
    return width, height, rows


def read_ico(data):
    """Returns a list of (width, height, rows of RGBA tuples) from a 32-bit ICO,
    checking that the AND mask agrees with the alpha channel."""
    reserved, kind, count = struct.unpack_from('<HHH', data, 0)
    assert reserved == 0 and kind == 1
    images = []
    for i in range(count):
        entry = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        w, h, _, _, _, bits, length, offset = entry
        assert bits == 32 and offset + length <= len(data)
        w, h = w or 256, h or 256
        (size, bw, bh, _, bbits, compression, image_size, _, _, _,
         _) = struct.unpack_from('<IiiHHIIiiII', data, offset)
        assert (size, bw, bh, bbits, compression) == (40, w, 2 * h, 32, 0)
        mask_stride = (w + 31) // 32 * 4
        assert image_size == w * h * 4 + mask_stride * h == length - 40
        pixels = data[offset + 40:offset + 40 + w * h * 4]
        mask = data[offset + 40 + w * h * 4:offset + length]
        rows = []
        for y in range(h):
            src = h - 1 - y
            row = []
            for x in range(w):
                b, g, r, a = pixels[(src * w + x) * 4:(src * w + x) * 4 + 4]
                transparent = mask[src * mask_stride + x // 8] >> (7 - x % 8) & 1
                assert bool(transparent) == (a == 0), 'AND mask disagrees with alpha'
                row.append((r, g, b, a))
            rows.append(row)
        images.append((w, h, rows))
    return images


def generate(into):
    subprocess.run([sys.executable, GENERATOR, into], check=True, stdout=subprocess.DEVNULL)


def read(root, rel):
    with open(os.path.join(root, rel), 'rb') as f:
        return f.read()


def expected_files():
    files = ['res/bitmaps/smiley_%d.bmp' % s[0] for s in SMILEYS]
    files += ['res/smileys/%s.png' % s[4] for s in SMILEYS]
    return sorted(files + ['res/bitmaps/toolbar.bmp', 'res/icon/forum-editor.ico',
                           'res/icon/forum-editor-48.png'])


def tree(root):
    return sorted(os.path.relpath(os.path.join(d, f), root).replace(os.sep, '/')
                  for d, _, names in os.walk(root) for f in names)


class GeneratedResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.out = os.path.join(cls.tmp.name, 'first')
        generate(cls.out)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_writes_exactly_the_expected_files(self):
        self.assertEqual(tree(self.out), expected_files())

    def test_smiley_bitmaps_have_their_sizes_and_depths(self):
        for number, width, height, bits, _ in SMILEYS:
            with self.subTest(number):
                w, h, b, rows = read_bmp(read(self.out, 'res/bitmaps/smiley_%d.bmp' % number))
                self.assertEqual((w, h, b), (width, height, bits))

    def test_smileys_sit_on_white_for_the_menu(self):
        for number, width, height, _, _ in SMILEYS:
            with self.subTest(number):
                rows = read_bmp(read(self.out, 'res/bitmaps/smiley_%d.bmp' % number))[3]
                corners = {rows[0][0], rows[0][-1], rows[-1][0], rows[-1][-1]}
                self.assertEqual(corners, {(255, 255, 255)})
                self.assertGreater(len({p for row in rows for p in row}), 3, 'picture is empty')

    def test_smiley_pngs_hold_the_bitmap_pixels(self):
        for number, _, _, _, name in SMILEYS:
            with self.subTest(name):
                w, h, _, bmp_rows = read_bmp(read(self.out, 'res/bitmaps/smiley_%d.bmp' % number))
                pw, ph, png_rows = read_png(read(self.out, 'res/smileys/%s.png' % name))
                self.assertEqual((pw, ph), (w, h))
                self.assertEqual([[p[:3] for p in row] for row in png_rows], bmp_rows)
                self.assertTrue(all(len(p) == 3 or p[3] == 255 for row in png_rows for p in row))

    def test_toolbar_is_a_paletted_strip_on_button_face(self):
        w, h, bits, rows = read_bmp(read(self.out, 'res/bitmaps/toolbar.bmp'))
        self.assertEqual((w, h, bits), (240, 15, 8))
        used = {p for row in rows for p in row}
        self.assertFalse(used & MAPPED, 'these would follow the 3-D shadow/highlight colours')
        for cell in range(15):
            with self.subTest(cell=cell):
                pixels = [rows[y][x] for y in range(15) for x in range(cell * 16, cell * 16 + 16)]
                glyph = {p for p in pixels if p != BTN_FACE}
                self.assertTrue(glyph, 'cell has no picture')
                self.assertGreater(pixels.count(BTN_FACE), len(pixels) // 2,
                                   'background must be the button face colour')
                # A blank first column keeps neighbouring glyphs apart.
                self.assertEqual({rows[y][cell * 16] for y in range(15)}, {BTN_FACE})
                if cell in PRESETS:
                    self.assertIn(PRESETS[cell], glyph)

    def test_icon_holds_16_32_48_with_real_transparency(self):
        images = read_ico(read(self.out, 'res/icon/forum-editor.ico'))
        self.assertEqual([(w, h) for w, h, _ in images], [(16, 16), (32, 32), (48, 48)])
        for w, _, rows in images:
            with self.subTest(size=w):
                alphas = [p[3] for row in rows for p in row]
                self.assertIn(0, alphas)
                self.assertIn(255, alphas)
                self.assertEqual(rows[0][-1][3], 0, 'top-right corner should be see-through')

    def test_documentation_png_is_the_48_pixel_icon(self):
        big = read_ico(read(self.out, 'res/icon/forum-editor.ico'))[-1]
        w, h, rows = read_png(read(self.out, 'res/icon/forum-editor-48.png'))
        self.assertEqual((w, h), (48, 48))
        # Colour is meaningless where alpha is 0, so compare visible pixels only.
        self.assertEqual([[p if p[3] else (0, 0, 0, 0) for p in row] for row in rows],
                         [[p if p[3] else (0, 0, 0, 0) for p in row] for row in big[2]])

    def test_second_run_writes_identical_bytes(self):
        again = os.path.join(self.tmp.name, 'second')
        generate(again)
        for rel in expected_files():
            with self.subTest(rel):
                self.assertEqual(read(again, rel), read(self.out, rel))

    def test_committed_files_match_the_generator(self):
        """Nobody edits res/ by hand: regenerate after changing the drawing.
        PNGs are compared after decoding, because another zlib build may
        compress the same pixels into different bytes."""
        for rel in expected_files():
            with self.subTest(rel):
                path = os.path.join(ROOT, rel)
                self.assertTrue(os.path.exists(path),
                                '%s missing: run python3 tools/gen_resources.py' % rel)
                fresh, committed = read(self.out, rel), read(ROOT, rel)
                if rel.endswith('.png'):
                    self.assertEqual(read_png(committed), read_png(fresh))
                else:
                    self.assertEqual(committed, fresh,
                                     '%s is stale: run python3 tools/gen_resources.py' % rel)


if __name__ == '__main__':
    unittest.main()
