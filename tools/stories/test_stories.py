#!/usr/bin/env python3
"""Tests of the story file check and of the story writer (stdlib unittest)."""
import os
import shutil
import struct
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_stories  # noqa: E402
import stories  # noqa: E402


def png(path, w, h):
    os.makedirs(os.path.dirname(path), exist_ok=True)

    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    raw = b'\x00' * ((4 * w + 1) * h)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
                chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


BOX = '\t\ttxt%d {\n\t\t\ttext = %d\n\t\t\ttypKomiksu = %d\n\t\t\tdim = 10, 20, 300, 44\n' \
      '\t\t\tdziubek = 100, 63, -1, 0.8\n\t\t\tfont = 0\n\t\t}\n\n'


def story(n, at_end='UBIERANIE'):
    return ('story {\n\tatEnd = "%s"\n\ti = 1\n\tstory1 {\n\t\tgfx = "gfx/story/s%d.png"\n\t\ttexts = 2\n' % (at_end, n) +
            BOX % (1, 2 * n - 1, 0) + BOX % (2, 2 * n, 1) + '\t}\n\n}\n')


GOOD = {
    'data/story-1.dat': story(1),
    'data/story-2.dat': story(2, 'MAIN-MENU'),
    'data/story-3.dat': story(3),
    'txt/eng/story-comic.txt': ''.join('line %d\n' % k for k in range(1, 7)),
    'txt/eng/story.txt': 'Skip\nClick to continue\n',
    'gfx/gui/story/story.gui': 'FONT f {\n\tURL = ../../fonts/Bookman.ttf\n\tSIZE = 18\n}\n'
                               'BUTTON skip {\n\tTYP = TEXT_BUTTON\n\tTXT = "[txt/story.txt|1]"\n\tFONT = f\n}\n',
    'gfx/fonts/Bookman.ttf': 'font',
}


class StoryCheck(unittest.TestCase):
    def make(self, changes=None, pictures=None, remove=()):
        d = tempfile.mkdtemp(prefix='stories-')
        self.addCleanup(shutil.rmtree, d, True)
        files = dict(GOOD)
        files.update(changes or {})
        for rel, text in files.items():
            p = os.path.join(d, rel)
            os.makedirs(os.path.dirname(p), exist_ok=True)
            with open(p, 'w', encoding='latin-1', newline='') as f:
                f.write(text)
        pics = {'gfx/story/s%d.png' % n: (1024, 768) for n in (1, 2, 3)}
        for piece in check_stories.PIECES:
            pics['gfx/story/comic/%s.png' % piece] = (4, 4)
        pics['gfx/gui/story/panel.png'] = (8, 4)
        pics.update(pictures or {})
        for rel, size in pics.items():
            if size:
                png(os.path.join(d, rel), *size)
        for rel in remove:
            os.remove(os.path.join(d, rel))
        return d

    def test_good_fixture_passes(self):
        self.assertEqual(check_stories.check(self.make()), [])

    def test_each_fault_is_named(self):
        s1 = GOOD['data/story-1.dat']
        cases = [
            ('text line beyond the file', {'data/story-1.dat': s1.replace('text = 1\n', 'text = 99\n')}, {}, (),
             'story1::txt1::text = 99, but'),
            ('empty text line', {'txt/eng/story-comic.txt': 'line 1\n\nline 3\nline 4\nline 5\nline 6\n'}, {}, (),
             'txt2::text = 2 is an empty line'),
            ('unknown next screen', {'data/story-1.dat': s1.replace('UBIERANIE', 'NOWHERE')}, {}, (), 'names no screen'),
            ('count above the groups', {'data/story-1.dat': s1.replace('\ti = 1\n', '\ti = 2\n')}, {}, (),
             'story::story2 is missing'),
            ('zero pictures', {'data/story-1.dat': s1.replace('\ti = 1\n', '\ti = 0\n')}, {}, (),
             'not a positive count'),
            ('group beyond the count', {'data/story-1.dat': s1[:-3] + '\tstory2 {\n\t\tgfx = "x.png"\n\t}\n\n}\n'}, {}, (),
             'never shown: story2'),
            ('box beyond the count', {'data/story-1.dat': s1.replace('texts = 2', 'texts = 1')}, {}, (),
             'boxes beyond texts = 1: txt2'),
            ('missing picture', {}, {'gfx/story/s1.png': None}, (), 'gfx/story/s1.png, which does not exist'),
            ('picture of the wrong size', {}, {'gfx/story/s2.png': (800, 600)}, (), 'is (800, 600), not 1024 x 768'),
            ('third tail type', {'data/story-1.dat': s1.replace('typKomiksu = 1', 'typKomiksu = 2')}, {}, (),
             'typKomiksu must be 0'),
            ('short dim', {'data/story-1.dat': s1.replace('dim = 10, 20, 300, 44', 'dim = 10, 20, 300')}, {}, (),
             'txt1::dim needs 4'),
            ('dim as text', {'data/story-1.dat': s1.replace('dim = 10, 20, 300, 44', 'dim = "a", "b", "c", "d"')}, {}, (),
             'txt1::dim needs 4'),
            ('unused line', {'txt/eng/story-comic.txt': GOOD['txt/eng/story-comic.txt'] + 'spare\n'}, {}, (),
             'lines never shown: 7'),
            ('missing story', {}, {}, ('data/story-3.dat',), 'data/story-3.dat is missing'),
            ('missing frame piece', {}, {'gfx/story/comic/lewo-Dol.png': None}, (), 'comic/lewo-Dol.png is missing'),
            ('missing tail', {}, {'gfx/story/comic/dziubek-2.png': None}, (), 'comic/dziubek-2.png is missing'),
            ('missing panel', {}, {'gfx/gui/story/panel.png': None}, (), 'panel.png is missing'),
            ('no skip button', {'gfx/gui/story/story.gui': GOOD['gfx/gui/story/story.gui'].replace('skip', 'next')}, {}, (),
             'declares no BUTTON skip'),
            ('caption line missing', {'gfx/gui/story/story.gui': GOOD['gfx/gui/story/story.gui'].replace('|1]', '|5]')}, {}, (),
             '[txt/story.txt|5] names no line'),
            ('hint line missing', {'txt/eng/story.txt': 'Skip\n'}, {}, (), 'needs two lines'),
            ('font missing', {}, {}, ('gfx/fonts/Bookman.ttf',), 'font ../../fonts/Bookman.ttf does not exist'),
            ('unbalanced braces', {'data/story-2.dat': GOOD['data/story-2.dat'] + '}\n'}, {}, (), 'cannot read'),
        ]
        for name, changes, pictures, remove, expect in cases:
            with self.subTest(name):
                problems = check_stories.check(self.make(changes, pictures, remove))
                self.assertTrue(any(expect in p for p in problems), problems)

    def test_lines_split_like_the_game(self):
        d = self.make()
        p = os.path.join(d, 'x.txt')
        for raw, want in ((b'a\nb\n', ['a', 'b']), (b'a\n\nb', ['a', '', 'b']), (b'', [])):
            with open(p, 'wb') as f:
                f.write(raw)
            self.assertEqual(check_stories.read_lines(p), want)


class StoryWriter(unittest.TestCase):
    def test_speech_tail_reaches_its_point_and_stays_on_its_box(self):
        box = (100, 100, 300, 44)
        for tip in ((150, 200), (380, 210), (120, 180), (300, 150)):
            with self.subTest(tip=tip):
                typ, dx, dy, sx, sy = stories.tail(stories.SPEECH, box, tip)
                self.assertEqual(typ, 0)
                self.assertEqual(dy, box[1] + box[3] - 1)
                point = dx + stories.SPEECH_TIP[0] * sx
                band = sorted((dx + 8 * sx, dx + 44 * sx))
                self.assertGreaterEqual(band[0], box[0] + 14)
                self.assertLessEqual(band[1], box[0] + box[2] - 14)
                if box[0] + 14 + 8 <= tip[0] - 12 <= box[0] + box[2] - 14 - 44 or tip[0] > box[0] + box[2] / 2.0:
                    self.assertAlmostEqual(point, tip[0], delta=1)
                self.assertEqual(sx < 0, tip[0] > box[0] + box[2] / 2.0)

    def test_narration_has_no_tail(self):
        self.assertEqual(stories.tail(stories.NARRATE, (0, 0, 10, 10), None)[3:], (0, 0))

    def test_committed_files_match_the_table(self):
        game = os.path.normpath(os.path.join(HERE, '..', '..', 'game'))
        self.assertEqual(stories.main(['stories.py', '--check', game]), 0)
        d = tempfile.mkdtemp(prefix='stories-')
        self.addCleanup(shutil.rmtree, d, True)
        os.makedirs(os.path.join(d, 'data'))
        os.makedirs(os.path.join(d, 'txt', 'eng'))
        self.assertEqual(stories.main(['stories.py', d]), 0)
        self.assertEqual(stories.main(['stories.py', '--check', d]), 0)
        with open(os.path.join(d, 'data', 'story-2.dat'), 'a') as f:
            f.write('\n')
        self.assertEqual(stories.main(['stories.py', '--check', d]), 1)


if __name__ == '__main__':
    unittest.main()
