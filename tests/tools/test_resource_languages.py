"""Checks that the resource script speaks both languages whole: it compiles
res/forum-editor.rc with windres and reads the compiled resources, so that
what is checked is what the program loads.

Run from the project root:  python3 -m unittest tests/tools/test_resource_languages.py -v
"""

import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, 'res', 'forum-editor.rc')
IDS_HEADER = os.path.join(ROOT, 'res', 'resource_ids.h')
WINDRES = os.environ.get('FORUM_WINDRES') or shutil.which('x86_64-w64-mingw32-windres')
# The bitmaps and the icon the build converted from their sources.
PICTURES = os.path.abspath(os.environ.get('FORUM_PICTURES_DIR') or os.path.join(ROOT, 'build', 'host', 'res'))

NEUTRAL, CZECH, ENGLISH = 0x0000, 0x0405, 0x0409
RT_ICON, RT_BITMAP, RT_MENU, RT_DIALOG, RT_STRING, RT_ACCELERATOR, RT_GROUP_ICON, RT_MANIFEST = 3, 2, 4, 5, 6, 9, 14, 24
MF_POPUP, MF_END = 0x10, 0x80
CZECH_LETTERS = set('áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ')
INSERT = re.compile(r'%(\d)')


def compile_resources():
    out = os.path.join(tempfile.mkdtemp(prefix='forum-rc-'), 'forum-editor.res')
    subprocess.run([WINDRES, '-c', '65001', '-I', os.path.join(ROOT, 'res'), '-I', PICTURES, '-O', 'res', SCRIPT, out],
                   check=True, cwd=os.path.join(ROOT, 'res'))
    with open(out, 'rb') as f:
        return f.read()


def read_id(data, at):
    """A type or name: an ordinal after 0xFFFF, or a zero-ended UTF-16 string."""
    (first,) = struct.unpack_from('<H', data, at)
    if first == 0xFFFF:
        return struct.unpack_from('<H', data, at + 2)[0], at + 4
    return read_string(data, at)


def read_string(data, at):
    end = at
    while struct.unpack_from('<H', data, end)[0] != 0:
        end += 2
    return data[at:end].decode('utf-16-le'), end + 2


def read_res(data):
    """{(type, name, language): bytes} of a .res file."""
    resources = {}
    at = 0
    while at + 8 <= len(data):
        size, header = struct.unpack_from('<II', data, at)
        kind, after = read_id(data, at + 8)
        name, _ = read_id(data, after)
        (language,) = struct.unpack_from('<H', data, at + header - 10)
        if size:
            resources[(kind, name, language)] = data[at + header:at + header + size]
        at = (at + header + size + 3) & ~3
    return resources


def string_table(resources, language):
    """{string id: text} of one language."""
    strings = {}
    for (kind, block, lang), data in resources.items():
        if kind != RT_STRING or lang != language:
            continue
        at = 0
        for index in range(16):
            (length,) = struct.unpack_from('<H', data, at)
            if length:
                strings[(block - 1) * 16 + index] = data[at + 2:at + 2 + 2 * length].decode('utf-16-le')
            at += 2 + 2 * length
    return strings


def read_menu(data):
    """A MENU template as nested lists of (caption, id) and (caption, [items])."""
    def items(at):
        found = []
        while True:
            (flags,) = struct.unpack_from('<H', data, at)
            at += 2
            if flags & MF_POPUP:
                caption, at = read_string(data, at)
                children, at = items(at)
                found.append((caption, children))
            else:
                (command,) = struct.unpack_from('<H', data, at)
                caption, at = read_string(data, at + 2)
                found.append((caption, command))
            if flags & MF_END:
                return found, at
    return items(4)[0]


def dialog_controls(data):
    """The control ids of a DIALOGEX template, in order."""
    count = struct.unpack_from('<H', data, 16)[0]
    at = 26
    for _ in range(3):  # menu, class, title
        _, at = read_id(data, at) if data[at:at + 2] == b'\xff\xff' else read_string(data, at)
    at += 6  # point size, weight, italic, character set
    _, at = read_string(data, at)
    controls = []
    for _ in range(count):
        at = (at + 3) & ~3
        (control,) = struct.unpack_from('<i', data, at + 20)
        at += 24
        _, at = read_id(data, at) if data[at:at + 2] == b'\xff\xff' else read_string(data, at)
        _, at = read_id(data, at) if data[at:at + 2] == b'\xff\xff' else read_string(data, at)
        (extra,) = struct.unpack_from('<H', data, at)
        at += 2 + extra
        controls.append(control)
    return controls


def shape(menu):
    """The commands and popups of a menu without their captions."""
    return [shape(item) if isinstance(item, list) else item for _, item in menu]


def captions(menu, path=()):
    for caption, item in menu:
        yield path, caption, item
        if isinstance(item, list):
            yield from captions(item, path + (caption,))


def mnemonic(caption):
    match = re.search(r'&([^&])', caption)
    return match.group(1).lower() if match else None


@unittest.skipUnless(WINDRES, 'needs x86_64-w64-mingw32-windres')
class ResourceLanguages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.resources = read_res(compile_resources())
        with open(IDS_HEADER, encoding='utf-8') as f:
            cls.string_ids = {name: int(value) for name, value in
                              re.findall(r'^#define (IDS_\w+) (\d+)', f.read(), re.MULTILINE)}

    def test_every_string_exists_in_both_languages_with_the_same_inserts(self):
        czech, english = string_table(self.resources, CZECH), string_table(self.resources, ENGLISH)
        self.assertTrue(self.string_ids)
        for name, number in self.string_ids.items():
            with self.subTest(name):
                self.assertTrue(czech.get(number), 'no Czech text')
                self.assertTrue(english.get(number), 'no English text')
                self.assertEqual(sorted(INSERT.findall(czech[number])), sorted(INSERT.findall(english[number])))
        # Nothing stands in one table only, nor outside the two.
        self.assertEqual(set(czech), set(english))
        self.assertEqual(set(czech), set(self.string_ids.values()))
        self.assertFalse(string_table(self.resources, NEUTRAL))

    def test_every_percent_sign_is_an_insert(self):
        for language in (CZECH, ENGLISH):
            for number, text in string_table(self.resources, language).items():
                with self.subTest(hex(language), number=number):
                    self.assertEqual(text.count('%'), len(INSERT.findall(text)), text)

    def test_each_table_says_its_language(self):
        number = self.string_ids['IDS_INTERFACE_LANGUAGE']
        self.assertEqual(string_table(self.resources, CZECH)[number], 'cs')
        self.assertEqual(string_table(self.resources, ENGLISH)[number], 'en')

    def test_menus_have_the_same_commands_in_both_languages(self):
        for name in ('MYMENU', 'MYPOPUP'):
            with self.subTest(name):
                czech = read_menu(self.resources[(RT_MENU, name, CZECH)])
                english = read_menu(self.resources[(RT_MENU, name, ENGLISH)])
                self.assertEqual(shape(czech), shape(english))

    def test_english_menus_hold_no_czech_letter_and_no_mnemonic_twice(self):
        language_item = 6000  # IDM_LANGUAGE_CZECH names the language in itself: "Čeština"
        for name in ('MYMENU', 'MYPOPUP'):
            menu = read_menu(self.resources[(RT_MENU, name, ENGLISH)])
            for path, caption, item in captions(menu):
                with self.subTest(name, caption=caption):
                    if item != language_item:
                        self.assertFalse(CZECH_LETTERS & set(caption))
            levels = [menu] + [item for _, _, item in captions(menu) if isinstance(item, list)]
            for level in levels:
                letters = [mnemonic(caption) for caption, _ in level if mnemonic(caption)]
                self.assertEqual(len(letters), len(set(letters)), [caption for caption, _ in level])

    def test_the_dialogs_have_the_same_controls_in_both_languages(self):
        for dialog in (200, 210):  # IDD_CHARACTER_LIMIT, IDD_FORUM_SETTINGS
            with self.subTest(dialog):
                self.assertEqual(dialog_controls(self.resources[(RT_DIALOG, dialog, CZECH)]),
                                 dialog_controls(self.resources[(RT_DIALOG, dialog, ENGLISH)]))

    def test_pictures_shortcuts_and_manifest_are_the_same_in_every_language(self):
        for kind, name, language in self.resources:
            if kind in (RT_ICON, RT_BITMAP, RT_ACCELERATOR, RT_GROUP_ICON, RT_MANIFEST):
                self.assertEqual(language, NEUTRAL, (kind, name))
        languages = {language for kind, _, language in self.resources if kind in (RT_MENU, RT_DIALOG, RT_STRING)}
        self.assertEqual(languages, {CZECH, ENGLISH})


if __name__ == '__main__':
    unittest.main()
