#!/usr/bin/env python3
"""Tests of the table reader and of the table file check (stdlib unittest)."""
import io
import os
import struct
import sys
import tempfile
import unittest
import zlib
from contextlib import redirect_stdout

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_tables  # noqa: E402
import rcm  # noqa: E402


def png(path, w, h):
    """A tiny valid PNG of the given size (one transparent pixel row per line)."""
    os.makedirs(os.path.dirname(path), exist_ok=True)

    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    raw = b''.join(b'\x00' + b'\x00' * (4 * w) for _ in range(h))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


GOOD = {
    'tiles.dat': 'tiles {\n\ti = 1\n\ttile0 {\n\t\tid = 0\n\t\tframes = 1\n\t\tframesDim = 4, 4\n\t\tgfx = "gfx/t0.png"\n\t}\n\n'
                 '\ttile1 {\n\t\tid = 1\n\t\tframes = 2\n\t\tframesDim = 4, 4\n\t\tgfx = "gfx/t1.png"\n\t}\n\n}\n',
    'tiles1.dat': 'tiles {\n\ti = 0\n\ttile0 {\n\t\tid = 0\n\t\tframes = 1\n\t\tframesDim = 4, 4\n\t\tgfx = "gfx/t0.png"\n\t}\n\n}\n',
    'frames.dat': 'frames {\n\ti = 0\n\tframe0 {\n\t\tid = 0\n\t\tframes = 1\n\t\ttyp = ""\n\t\tframesDim = 4, 4\n'
                  '\t\tdir = 0, 0\n\t\tgfx = "gfx/f0.png"\n\t}\n\n}\n',
    'chips.dat': 'chips {\n\ti = 1\n\tchip1 {\n\t\tid = 1\n\t\tframes = 1\n\t\tframesDim = 4, 4\n\t\tgfx = "gfx/c1.png"\n'
                 '\t\tTyp = ""\n\t\tres = -1\n\t}\n\n}\n',
    'bonusy.dat': 'chips {\n\ti = 1\n\tchip1 {\n\t\tid = 101\n\t\tframes = 1\n\t\tframesDim = 4, 4\n\t\tgfx = "gfx/b1.png"\n'
                  '\t\tTyp = "BOMB"\n\t}\n\n}\n',
    'backgrounds.dat': 'backGrounds {\n\ti = 1\n\tback1 {\n\t\turl = "gfx/back1.jpg"\n\t\tid = 1\n\t}\n\n}\n',
    'particles.dat': 'particles {\n\ti = 0\n\tp0 = "gfx/p0.png"\n}\n',
    'globalSnd.dat': 'sounds {\n\tclick {\n\t\tfile = "snd/click.ogg"\n\t\tvolume = 0.5\n\t}\n\n}\n',
}
PICTURES = {'gfx/t0.png': (4, 4), 'gfx/t1.png': (8, 4), 'gfx/f0.png': (4, 4), 'gfx/c1.png': (4, 4),
            'gfx/b1.png': (4, 4), 'gfx/p0.png': (2, 2)}


class TableCheck(unittest.TestCase):
    def make(self, tables=None, pictures=None, extra_files=('gfx/back1.jpg', 'snd/click.ogg')):
        d = tempfile.mkdtemp(prefix='tables-')
        self.addCleanup(lambda: __import__('shutil').rmtree(d, ignore_errors=True))
        for name, text in (tables or GOOD).items():
            os.makedirs(os.path.join(d, 'data'), exist_ok=True)
            with open(os.path.join(d, 'data', name), 'w', encoding='latin-1') as f:
                f.write(text)
        for rel, (w, h) in (pictures or PICTURES).items():
            png(os.path.join(d, rel), w, h)
        for rel in extra_files:
            os.makedirs(os.path.dirname(os.path.join(d, rel)), exist_ok=True)
            open(os.path.join(d, rel), 'wb').close()
        return d

    def run_check(self, game, required=()):
        req = os.path.join(game, 'required.txt')
        with open(req, 'w', encoding='utf-8') as f:
            f.write('# fixed paths\n' + ''.join(r + '\n' for r in required))
        old = check_tables.REQUIRED
        check_tables.REQUIRED = req
        try:
            buf = io.StringIO()
            with redirect_stdout(buf):
                rc = check_tables.main(['check_tables.py', game])
        finally:
            check_tables.REQUIRED = old
        return rc, buf.getvalue()

    def test_complete_tree_passes(self):
        rc, out = self.run_check(self.make(), ['gfx/p0.png'])
        self.assertEqual(rc, 0, out)
        self.assertIn('0 problems', out)

    def test_faults_are_reported_with_table_and_key(self):
        cases = [
            ('missing picture', dict(GOOD, **{'chips.dat': GOOD['chips.dat'].replace('c1.png', 'c9.png')}), None, (),
             'chips::chip1::gfx names gfx/c9.png'),
            ('missing sound', GOOD, None, (), None),
            ('strip too narrow', GOOD, dict(PICTURES, **{'gfx/t1.png': (4, 4)}), (), 'cuts 2 frame(s) of 4x4'),
            ('table names nothing', dict(GOOD, **{'particles.dat': 'particles {\n\ti = 0\n}\n'}), None, (),
             'particles.dat: names no file at all'),
            ('unbalanced braces', dict(GOOD, **{'backgrounds.dat': 'backGrounds {\n\ti = 1\n'}), None, (), 'cannot read'),
            ('fixed path missing', GOOD, None, ('gfx/select.png',), 'required_files.txt: gfx/select.png'),
        ]
        for name, tables, pics, required, needle in cases:
            with self.subTest(name):
                extra = ('gfx/back1.jpg',) if name == 'missing sound' else ('gfx/back1.jpg', 'snd/click.ogg')
                rc, out = self.run_check(self.make(tables, pics, extra), required)
                self.assertEqual(rc, 1, out)
                self.assertIn(needle or 'sounds::click::file names snd/click.ogg', out)

    def test_no_tables_fails(self):
        d = tempfile.mkdtemp(prefix='tables-')
        self.addCleanup(lambda: __import__('shutil').rmtree(d, ignore_errors=True))
        os.makedirs(os.path.join(d, 'data'))
        rc, _ = self.run_check(d)
        self.assertEqual(rc, 1)


class Reader(unittest.TestCase):
    def load(self, text):
        fd, path = tempfile.mkstemp(suffix='.dat')
        self.addCleanup(os.remove, path)
        with os.fdopen(fd, 'w', encoding='latin-1') as f:
            f.write(text)
        return rcm.load(path)

    def test_entries(self):
        root = self.load('g {\n\tkey = "a, b", "c"\n\tcount = -3\n\tname = x3\n\tSub {\n\t\tv = 2.5\n\t}\n\n}')
        self.assertEqual(rcm.get(root, 'g::key', 0), 'a, b')
        self.assertEqual(rcm.get(root, 'g::key', 1), 'c')
        self.assertEqual(rcm.num(root, 'G::COUNT'), -3)
        self.assertFalse(root.group('g').entry('name')[2])  # a value not starting with a digit is a string
        self.assertEqual(rcm.get(root, 'g::sub::v'), '2.5')
        self.assertEqual(rcm.get(root, 'g::missing'), '')
        self.assertEqual(rcm.num(root, 'x::y::z'), 0)

    def test_unbalanced_braces_raise(self):
        with self.assertRaises(ValueError):
            self.load('g {\n\tk = 1\n')


if __name__ == '__main__':
    unittest.main()
