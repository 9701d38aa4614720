"""Checks the pictures the build converts from their sources in res/: that
each shows, pixel for pixel, what its source shows, and that each has the
form the program needs. The bitmaps and the icon are read by readers
written here, so that what is checked is what Windows loads; the sources
are decoded by ImageMagick and rsvg-convert, as any paint program's PNG
may be stored in any of PNG's ways.

Run from the project root after a build:
    FORUM_PICTURES_DIR=build/host/res python3 -m unittest tests/tools/test_pictures.py -v
"""

import os
import shutil
import struct
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SOURCES = os.path.join(ROOT, 'res')
PICTURES = os.path.abspath(os.environ.get('FORUM_PICTURES_DIR') or os.path.join(ROOT, 'build', 'host', 'res'))
MAGICK = os.environ.get('FORUM_MAGICK') or shutil.which('magick') or shutil.which('convert')
RSVG = os.environ.get('FORUM_RSVG_CONVERT') or shutil.which('rsvg-convert')

# (name, width, height) as the smileys' menu and the forum expect them.
SMILEYS = [
    ('399175', 74, 49), ('399176', 37, 22), ('399178', 32, 28), ('399179', 67, 32),
    ('399180', 37, 15), ('399181', 57, 16), ('399182', 33, 26), ('399183', 27, 22),
    ('399184', 20, 16), ('399185', 75, 25), ('399186', 38, 26), ('399187', 78, 29),
    ('399188', 100, 34), ('399189', 35, 31), ('399191', 133, 43), ('399192', 25, 20),
    ('wave', 42, 21),
]
# (size, drawing) of the icon's images.
ICON_SIZES = [(16, 'forum-editor-16.svg'), (32, 'forum-editor.svg'), (48, 'forum-editor.svg')]

WHITE = (255, 255, 255)
BTN_FACE = (192, 192, 192)
# Colours CreateMappedBitmap would remap besides the face and black.
MAPPED = {(128, 128, 128), (255, 255, 255)}
PRESETS = {5: (255, 0, 0), 8: (0, 128, 128), 11: (0, 0, 255)}


def read_bmp(data):
    """Parse an uncompressed 1-, 4-, 8- or 24-bit bottom-up BMP; returns
    (width, height, bits, rows of RGB tuples top first).  Fails on any
    inconsistency between the headers and the data."""
    magic, file_size, _, _, offset = struct.unpack_from('<2sIHHI', data, 0)
    (size, width, height, planes, bits, compression, image_size, _, _, used,
     _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    assert magic == b'BM' and size == 40 and planes == 1 and compression == 0
    assert file_size == len(data), 'bfSize %d, file %d' % (file_size, len(data))
    assert height > 0, 'rows must be stored bottom-up'
    stride = (width * bits + 31) // 32 * 4
    assert image_size in (0, stride * height)
    assert offset + stride * height == len(data)
    palette = []
    if bits in (1, 4, 8):
        count = used or 1 << bits
        assert 0 < count <= 1 << bits
        assert offset == 54 + 4 * count, 'colour table must sit between header and pixels'
        palette = [(r, g, b) for b, g, r, _ in struct.iter_unpack('<BBBB', data[54:offset])]
    else:
        assert bits == 24 and offset == 54
    rows = []
    for y in range(height):
        line = data[offset + (height - 1 - y) * stride:][:stride]
        if bits <= 8:  # the first pixel in a byte's high bits
            indices = [line[x * bits // 8] >> (8 - bits - x * bits % 8) & ((1 << bits) - 1)
                       for x in range(width)]
            rows.append([palette[i] for i in indices])
        else:
            rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, width * 3, 3)])
    return width, height, bits, rows


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
        (size, bw, bh, _, bbits, compression) = struct.unpack_from('<IiiHHI', data, offset)
        assert (size, bw, bh, bbits, compression) == (40, w, 2 * h, 32, 0)
        mask_stride = (w + 31) // 32 * 4
        assert length == 40 + w * h * 4 + mask_stride * h
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


def decode(command, width, channels):
    """Rows of pixel tuples from a command that writes raw 8-bit samples."""
    raw = subprocess.run(command, check=True, stdout=subprocess.PIPE).stdout
    pixels = [tuple(raw[i:i + channels]) for i in range(0, len(raw), channels)]
    return [pixels[i:i + width] for i in range(0, len(pixels), width)]


def png_pixels(path, background, width):
    """The PNG's pixels as the build sees them: on the given background."""
    return decode([MAGICK, path, '-background', background, '-alpha', 'remove', '-depth', '8',
                   'rgb:-'], width, 3)


def svg_pixels(path, size):
    with tempfile.TemporaryDirectory() as tmp:
        png = os.path.join(tmp, 'drawn.png')
        subprocess.run([RSVG, '--width=%d' % size, '--height=%d' % size, '--output=' + png, path],
                       check=True)
        return decode([MAGICK, png, '-depth', '8', 'rgba:-'], size, 4)


def visible(rows):
    """Colour means nothing where alpha is 0."""
    return [[p if p[3] else (0, 0, 0, 0) for p in row] for row in rows]


def differences(got, want):
    """What tells two pictures apart, in a few words: their sizes, or how many
    pixels differ and where the first is."""
    if [len(row) for row in got] != [len(row) for row in want]:
        return 'sizes differ: %dx%d against %dx%d' % (len(got[0]), len(got), len(want[0]), len(want))
    wrong = [(x, y, p, q) for y, (row, other) in enumerate(zip(got, want))
             for x, (p, q) in enumerate(zip(row, other)) if p != q]
    if not wrong:
        return None
    x, y, p, q = wrong[0]
    return '%d pixels differ, the first at (%d, %d): %s where the source has %s' % (len(wrong), x, y, p, q)


def read(*parts):
    with open(os.path.join(*parts), 'rb') as f:
        return f.read()


@unittest.skipUnless(MAGICK and RSVG, 'needs ImageMagick and rsvg-convert')
class ConvertedPictures(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not os.path.isfile(os.path.join(PICTURES, 'toolbar.bmp')):
            raise unittest.SkipTest('no converted pictures in %s: build first' % PICTURES)
        cls.smileys = {name: read_bmp(read(PICTURES, 'smileys', name + '.bmp'))
                       for name, _, _ in SMILEYS}
        cls.toolbar = read_bmp(read(PICTURES, 'toolbar.bmp'))
        cls.icon = read_ico(read(PICTURES, 'forum-editor.ico'))

    def test_every_smiley_source_is_one_the_program_names(self):
        sources = sorted(f[:-4] for f in os.listdir(os.path.join(SOURCES, 'smileys')))
        self.assertEqual(sources, sorted(name for name, _, _ in SMILEYS))

    def test_smiley_bitmaps_have_their_sizes(self):
        for name, width, height in SMILEYS:
            with self.subTest(name):
                self.assertEqual(self.smileys[name][:2], (width, height))

    def test_smiley_bitmaps_show_their_png_pixels(self):
        for name, width, _ in SMILEYS:
            with self.subTest(name):
                source = png_pixels(os.path.join(SOURCES, 'smileys', name + '.png'), 'white', width)
                self.assertIsNone(differences(self.smileys[name][3], source))

    def test_smileys_sit_on_white_for_the_menu(self):
        for name, _, _ in SMILEYS:
            with self.subTest(name):
                rows = self.smileys[name][3]
                corners = {rows[0][0], rows[0][-1], rows[-1][0], rows[-1][-1]}
                self.assertEqual(corners, {WHITE})
                self.assertGreater(len({p for row in rows for p in row}), 3, 'picture is empty')

    def test_toolbar_shows_its_png_pixels(self):
        source = png_pixels(os.path.join(SOURCES, 'toolbar.png'), '#c0c0c0', 240)
        self.assertIsNone(differences(self.toolbar[3], source))

    def test_toolbar_is_a_paletted_strip_on_button_face(self):
        w, h, bits, rows = self.toolbar
        self.assertEqual((w, h), (240, 15))
        self.assertLessEqual(bits, 8, 'only a colour table is mapped to the button face')
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
        self.assertEqual([(w, h) for w, h, _ in self.icon], [(s, s) for s, _ in ICON_SIZES])
        for w, _, rows in self.icon:
            with self.subTest(size=w):
                alphas = [p[3] for row in rows for p in row]
                self.assertIn(0, alphas)
                self.assertIn(255, alphas)
                self.assertEqual(rows[0][-1][3], 0, 'top-right corner should be see-through')

    def test_icon_shows_its_svg_drawings(self):
        for (size, drawing), (_, _, rows) in zip(ICON_SIZES, self.icon):
            with self.subTest(size=size):
                source = svg_pixels(os.path.join(SOURCES, 'icon', drawing), size)
                self.assertIsNone(differences(visible(rows), visible(source)))


class MissingTools(unittest.TestCase):
    """A machine without a converter is told which package to install."""

    TOOLS = [('rsvg-convert', 'librsvg2-bin'), ('icotool', 'icoutils'), ('convert', 'imagemagick')]

    @unittest.skipUnless(shutil.which('cmake'), 'needs cmake')
    def test_the_build_names_the_package_of_a_missing_tool(self):
        finder = os.path.join(ROOT, 'cmake', 'picture_tools.cmake')
        for missing, package in self.TOOLS:
            with self.subTest(missing), tempfile.TemporaryDirectory() as path:
                for tool, _ in self.TOOLS:
                    if tool != missing and shutil.which(tool):
                        os.symlink(shutil.which(tool), os.path.join(path, tool))
                run = subprocess.run([shutil.which('cmake'), '-P', finder], cwd=path,
                                     env=dict(os.environ, PATH=path), capture_output=True, text=True)
                self.assertNotEqual(run.returncode, 0)
                message = ' '.join(run.stderr.split())
                self.assertIn('install the Debian package %s' % package, message)


if __name__ == '__main__':
    unittest.main()
