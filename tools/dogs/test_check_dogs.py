#!/usr/bin/env python3
"""Tests of the owner line grammar, the bubble layout, the PNG reader and the
dog content check (stdlib unittest).

Usage: test_check_dogs.py GAME_DIR   (the built game folder, for the real table)
"""
import os
import shutil
import struct
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_dogs  # noqa: E402
import dogtables as dt  # noqa: E402

GAME = None


class Grammar(unittest.TestCase):
    CASES = [
        # entry, expected fields (others at their defaults)
        ('LEVEL:5|TEXT:2', dict(level=5, text=2, x=312, y=284, width=400, black=False)),
        (' level : 7 | Text:3 ', dict(level=7, text=3)),
        ('X:10|Y:100|WIDTH:250', dict(x=10, y=100, width=250)),
        ('Y:100|WHO:1', dict(y=80, black=False)),        # the owner's bubble goes up 20
        ('WHO:1|Y:100', dict(y=100)),                    # ... unless a Y comes after it
        ('WHO:2|Y:100', dict(y=100, black=True)),
        ('Y:100|WHO:2', dict(y=100, black=True)),        # speaker 2 is not moved
        ('WHO:3', dict(y=264, black=False)),
    ]

    def test_entries(self):
        for wpis, want in self.CASES:
            e = dt.parse_entry(wpis)
            for k, v in want.items():
                self.assertEqual(e[k], v, '%s: %s' % (wpis, k))

    def test_malformed_items(self):
        for wpis in ('LEVEL5|TEXT:1', 'LEVEL:five', 'LEVEL:1||TEXT:2', 'LEVEL:1|COLOUR:3', 'LEVEL:1:2'):
            with self.assertRaises(dt.EntryError, msg=wpis):
                dt.parse_entry(wpis)
        # the game itself skips what it cannot read
        self.assertEqual(dt.parse_entry('LEVEL:1|COLOUR:3|TEXT:x|TEXT:4', strict=False)['text'], 4)


class Layout(unittest.TestCase):
    font = dt.AverageFont(20)  # 11.2 px a letter, 25 px a line

    def test_wrap_breaks_like_the_game(self):
        # the text gets a space at its end, which counts: "aaaa bbbb " is 112 px
        self.assertEqual(dt.wrap('aaaa bbbb', 113, self.font), ['aaaa bbbb '])
        self.assertEqual(dt.wrap('aaaa bbbb', 101, self.font), ['aaaa bbbb', ''])
        self.assertEqual(dt.wrap('aaaa bbbb', 100, self.font), ['aaaa', 'bbbb '])
        # a word wider than the column stands on its own line
        self.assertEqual(dt.wrap('a bbbbbbbbbbbbbbbbbbbb c', 60, self.font)[1], 'bbbbbbbbbbbbbbbbbbbb')

    def test_bubble_height_and_lift(self):
        e = dt.parse_entry('X:100|Y:100|WIDTH:240')
        (x, y, w, h), drawn = dt.bubble(e, 'one two', self.font)
        self.assertEqual((x, y, w), (100, 100, 240))
        self.assertAlmostEqual(h, 25 * 2 + 1.15 * 25)      # one line + the last-line pitch + margin
        self.assertEqual(drawn, 25)
        low = dt.parse_entry('Y:700|WIDTH:240')
        (x, y, w, h), _ = dt.bubble(low, 'one two', self.font)
        self.assertAlmostEqual(y + h, 720)                  # lifted so its bottom is at 720


def png(path, rows, ctype=6, filters=None):
    """Writes an 8-bit PNG from rows of pixel tuples, each row with the given
    filter type (0-4), so the reader's unfiltering is checked against an encoder."""
    bpp = 4 if ctype == 6 else 3
    h, w = len(rows), len(rows[0])
    raw, prev = b'', bytes(w * bpp)
    for y, row in enumerate(rows):
        cur = bytes(v for px in row for v in px)
        f = (filters or [0] * h)[y]
        out = bytearray()
        for i, v in enumerate(cur):
            a = cur[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 0:
                p = 0
            elif f == 1:
                p = a
            elif f == 2:
                p = b
            elif f == 3:
                p = (a + b) >> 1
            else:
                q = a + b - c
                pa, pb, pc = abs(q - a), abs(q - b), abs(q - c)
                p = a if (pa <= pb and pa <= pc) else (b if pb <= pc else c)
            out.append((v - p) & 0xFF)
        raw += bytes([f]) + bytes(out)
        prev = cur

    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, ctype, 0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


class Png(unittest.TestCase):
    def test_min_alpha_through_every_filter(self):
        d = tempfile.mkdtemp()
        try:
            for low in (255, 0, 37):
                rows = [[(10 * x + y, 200 - x, 7 * y, 255 if (x, y) != (3, 4) else low) for x in range(6)] for y in range(5)]
                p = os.path.join(d, 'a.png')
                png(p, rows, 6, [0, 1, 2, 3, 4])
                self.assertEqual(dt.png_min_alpha(p), low)
            png(p, [[(1, 2, 3)] * 4] * 3, 2)
            self.assertEqual(dt.png_min_alpha(p), 255)      # no alpha channel: opaque
            self.assertEqual(dt.png_info(p), (4, 3, 2))
        finally:
            shutil.rmtree(d)


class Content(unittest.TestCase):
    """The check on the real tables, and on copies broken one way at a time."""

    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        for rel in ('data/dogs.dat', 'txt/eng/dogs.txt', 'txt/eng/dogNames.txt', 'txt/eng/ubieranie.txt'):
            os.makedirs(os.path.dirname(os.path.join(self.tmp, rel)), exist_ok=True)
            shutil.copy(os.path.join(GAME, rel), os.path.join(self.tmp, rel))

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def edit(self, rel, old, new, count=1):
        p = os.path.join(self.tmp, rel)
        with open(p, encoding='latin-1') as f:
            text = f.read()
        self.assertIn(old, text)
        with open(p, 'w', encoding='latin-1') as f:
            f.write(text.replace(old, new, count))

    def test_real_content_passes(self):
        self.assertEqual(check_dogs.check(GAME), [])

    def test_tables_alone_pass(self):
        self.assertEqual(check_dogs.check(self.tmp, check_pictures=False), [])

    BROKEN = [
        ('data/dogs.dat', '\t\tid = 3\n', '\t\tid = 4\n', 'dog3 has id 4'),
        ('data/dogs.dat', '\t\townerImg = "gfx/dogs/owners/owner05.png"\n', '', 'dog5 lacks ownerImg'),
        ('data/dogs.dat', 'startowyLevel = 42', 'startowyLevel = 20', 'must rise from 1'),
        ('data/dogs.dat', 'puzzleLevel = "data/puzzles/stage07.dat"', 'puzzleLevel = "data/puzzles/stage7.dat"',
         'dog7 puzzleLevel'),
        ('data/dogs.dat', 'name = 2\n', 'name = 40\n', 'dog2 name line 40'),
        ('data/dogs.dat', 'imgXY = 212, 130', 'imgXY = 2120, 130', 'leaves the screen'),
        ('data/dogs.dat', 'LEVEL:0|TEXT:1|', 'LEVEL:0|TEXT:500|', 'TEXT 500 is no line'),
        ('data/dogs.dat', 'LEVEL:0|TEXT:1|', 'LEVEL:0|TEXT1|', 'is not KEY:number'),
        ('data/dogs.dat', 'LEVEL:0|TEXT:1|', 'LEVEL:30|TEXT:1|', 'LEVEL 30 is never shown'),
        ('data/dogs.dat', 'LEVEL:0|TEXT:1|WHO:1|X:360', 'LEVEL:0|TEXT:1|WHO:1|X:800', 'leaves the space'),
        ('data/dogs.dat', 'TEXT:1|WHO:1|X:360|Y:150|WIDTH:350', 'TEXT:1|WHO:1|X:360|Y:150|WIDTH:120', 'text needs'),
        ('data/dogs.dat', 'txts = 7', 'txts = 8', 'dog1::txt8 missing'),
        ('data/dogs.dat', 'LEVEL:0|TEXT:1|', 'LEVEL:0|TEXT:2|', 'lines [1] are used by no dog'),
        ('txt/eng/ubieranie.txt', 'Click to go on\n', '', 'needs 7 lines'),
    ]

    def test_each_fault_is_named(self):
        for rel, old, new, msg in self.BROKEN:
            self.setUp()
            self.edit(rel, old, new)
            bad = check_dogs.check(self.tmp, check_pictures=False)
            self.assertTrue(any(msg in b for b in bad), '%s -> %s' % (msg, bad))
            self.tearDown()
        self.setUp()

    def test_first_and_dressed_visits_must_speak(self):
        # dog 4's first visit (level 42) is served by its lines at level 41
        self.edit('data/dogs.dat', 'LEVEL:41|', 'LEVEL:45|', 2)
        bad = check_dogs.check(self.tmp, check_pictures=False)
        self.assertIn("dog4: nothing is said on the stage's first visit (level 42)", bad)
        self.setUp()
        self.edit('data/dogs.dat', 'LEVEL:58|', 'LEVEL:52|', 2)
        bad = check_dogs.check(self.tmp, check_pictures=False)
        self.assertIn('dog4: nothing is said when the dog is dressed up (visit 57)', bad)

    def test_pictures_are_checked(self):
        game = os.path.join(self.tmp, 'g')
        for sub in ('data', 'txt', 'gfx/dogs', 'gfx/gui/ubieranie', 'gfx/puzzle/pictures', 'gfx/fonts'):
            shutil.copytree(os.path.join(GAME, sub), os.path.join(game, sub))
        png(os.path.join(game, 'gfx/dogs/dog03-dressed.png'), [[(0, 0, 0, 0)] * 8] * 8)
        png(os.path.join(game, 'gfx/puzzle/pictures/stage05.png'), [[(9, 9, 9, 255)] * 480] * 479 + [[(9, 9, 9, 254)] * 480])
        os.remove(os.path.join(game, 'gfx/gui/ubieranie/girl.jpg'))
        os.remove(os.path.join(game, 'gfx/dogs/owners/owner09.png'))
        bad = check_dogs.check(game)
        for msg in ('dogs.dat: dog9::ownerImg names gfx/dogs/owners/owner09.png, which is missing',):
            self.assertIn(msg, bad)
        shutil.copy(os.path.join(GAME, 'gfx/dogs/owners/owner09.png'), os.path.join(game, 'gfx/dogs/owners/owner09.png'))
        bad = check_dogs.check(game)
        self.assertTrue(any('dog3: plain' in b for b in bad), bad)
        self.assertIn('jigsaw picture gfx/puzzle/pictures/stage05.png is not opaque', bad)
        self.assertIn('owner scene picture gfx/gui/ubieranie/girl.jpg missing', bad)

    def test_puzzle_files_when_required(self):
        bad = check_dogs.check(self.tmp, require_puzzles=True, check_pictures=False)
        self.assertIn('dogs.dat: dog1 puzzle data/puzzles/stage01.dat missing', bad)


if __name__ == '__main__':
    GAME = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'game')
    unittest.main()
