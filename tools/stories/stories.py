#!/usr/bin/env python3
"""Writes the comic story files and their texts from the table below.

Usage: stories.py GAME_DIR            write data/story-1.dat, story-2.dat,
                                      story-3.dat and txt/eng/story-comic.txt
       stories.py --check GAME_DIR    exit 1 when the committed files differ

Each box is placed by its rectangle (the paper's inner area: the frame lies
outside it) and, for a speech or thought box, the point its tail should reach
(the speaker's head). The tail picture is drawn with its top-left corner at
(dX, dy) scaled by (dsX, dsY): a negative dsX mirrors it to the left of dX.
The speech tail's point lies 12 px right of its corner and 78 px below it;
the thought bubbles end 13 px right and 66 px below (both before scaling).
Narration boxes have no tail (scale 0).
"""
import os
import sys

NARRATE, SPEECH, THOUGHT = 'narrate', 'speech', 'thought'

# story number -> (next screen, [(picture, [(kind, text, (x, y, w, h), tip), ...]), ...])
STORIES = {
    1: ('UBIERANIE', [
        ('gfx/story/story1_1.jpg', [
            (NARRATE, 'In the little town of Barkwell, everybody loves dogs.', (40, 40, 450, 22), None),
            (NARRATE, 'Big dogs, small dogs, fluffy dogs... and dogs who like hats.', (500, 246, 480, 22), None),
            (SPEECH, 'Morning! Lovely day for a walk!', (330, 470, 280, 22), (480, 556)),
        ]),
        ('gfx/story/story1_2.jpg', [
            (THOUGHT, 'This empty little shop... it would make a perfect studio!', (40, 170, 330, 44), (280, 390)),
            (SPEECH, 'A studio for dressing dogs! Bows, capes, tiny hats. I\'m in!', (330, 272, 340, 44), (350, 404)),
        ]),
        ('gfx/story/story1_3.jpg', [
            (NARRATE, 'And so the Brimble Dog Dressing Studio opened its doors.', (40, 40, 340, 44), None),
            (SPEECH, 'We\'re open! Who wants to look fabulous?', (540, 300, 200, 44), (560, 420)),
            (SPEECH, 'A party hat for Pepper, please!', (30, 400, 250, 44), (150, 520)),
        ]),
        ('gfx/story/story1_4.jpg', [
            (SPEECH, 'Good morning, dear! This is Biscuit. He rolled in a puddle. Again.', (600, 300, 360, 44), (790, 420)),
            (THOUGHT, 'Puddles are art.', (420, 470, 190, 22), (520, 610)),
            (SPEECH, 'Don\'t worry, ma\'am. Leave Biscuit to me!', (100, 330, 330, 22), (300, 425)),
        ]),
        ('gfx/story/story1_5.jpg', [
            (SPEECH, 'Oh my! Biscuit, you look like a film star!', (740, 290, 230, 44), (830, 410)),
            (SPEECH, 'My first client! Who\'s next?', (80, 300, 280, 22), (260, 390)),
            (NARRATE, 'Win levels to earn jigsaw pieces. Finish the picture, and the dog is dressed!', (300, 30, 400, 44), None),
        ]),
    ]),
    3: ('UBIERANIE', [
        ('gfx/story/story3_1.jpg', [
            (NARRATE, 'One sunny morning, a poster appeared in the town square...', (40, 40, 340, 44), None),
            (SPEECH, 'A dog show? Here in Barkwell?!', (60, 420, 250, 44), (160, 480)),
        ]),
        ('gfx/story/story3_2.jpg', [
            (SPEECH, 'Hear ye, hear ye! The Grand Barkwell Dog Show is coming!', (60, 40, 340, 44), (470, 120)),
            (SPEECH, 'The best-dressed dogs will parade on the big stage!', (610, 150, 330, 44), (540, 230)),
            (SPEECH, 'Woof! (That means: I\'ll need a cape.)', (620, 410, 330, 22), (790, 500)),
        ]),
        ('gfx/story/story3_3.jpg', [
            (NARRATE, 'By lunchtime, the queue reached all the way down the street.', (40, 40, 340, 44), None),
            (SPEECH, 'My Rex needs a costume for the show!', (40, 330, 190, 44), (90, 450)),
            (SPEECH, 'Something with sparkles, please! Lots of sparkles!', (380, 300, 300, 44), (480, 430)),
        ]),
        ('gfx/story/story3_4.jpg', [
            (SPEECH, 'Twelve dogs to dress before the show? Challenge accepted!', (560, 200, 330, 44), (650, 340)),
            (NARRATE, 'Win levels, collect every piece, and get all twelve dogs ready!', (60, 90, 380, 44), None),
        ]),
    ]),
    2: ('MAIN-MENU', [
        ('gfx/story/story2_1.jpg', [
            (NARRATE, 'At last: the day of the Grand Barkwell Dog Show!', (40, 40, 420, 22), None),
            (SPEECH, 'Look at that stage! I have never seen so many bows.', (700, 440, 230, 44), (760, 606)),
        ]),
        ('gfx/story/story2_2.jpg', [
            (NARRATE, 'Here they come: every single dog dressed by Brimble!', (40, 40, 420, 44), None),
            (SPEECH, 'Don\'t look at my cape. Okay, look at my cape.', (620, 470, 300, 44), (580, 560)),
        ]),
        ('gfx/story/story2_3.jpg', [
            (SPEECH, 'The prize for the best-dressed dogs goes to... all of them!', (40, 150, 330, 44), (310, 300)),
            (SPEECH, 'Thank you! The dogs did all the posing.', (700, 140, 230, 44), (640, 290)),
        ]),
        ('gfx/story/story2_4.jpg', [
            (NARRATE, 'From that day on, the little studio was never quiet again.', (40, 40, 340, 44), None),
            (SPEECH, 'Excuse me... do you do hats for cats?', (760, 380, 200, 44), (880, 480)),
            (SPEECH, '...Let\'s talk.', (420, 340, 150, 22), (560, 432)),
        ]),
        ('gfx/story/story2_5.jpg', [
            (SPEECH, 'Thank you, Barkwell! See you at next year\'s show!', (400, 320, 330, 44), (520, 420)),
            (NARRATE, 'The End', (442, 40, 140, 22), None),
        ]),
    ]),
}

SPEECH_TIP = (12, 78)     # the point of the speech tail, from its corner
THOUGHT_TIP = (13, 66)    # the last thought bubble
TAIL_W = 64


def _clamp(v, lo, hi):
    return max(lo, min(hi, v))


def tail(kind, box, tip):
    """(typKomiksu, dX, dy, dsX, dsY) for a box and the point its tail aims at."""
    x, y, w, h = box
    if kind == NARRATE:
        return 0, 0, 0, 0, 0
    if kind == SPEECH:
        n, (px, py), top, band = 0, SPEECH_TIP, y + h - 1, (8, 44)
        sy = _clamp((tip[1] - top) / float(py), 0.7, 1.25)
        sx = 1.0
    else:
        n, (px, py), top, band = 1, THOUGHT_TIP, y + h + 8, (20, 46)
        sy = sx = _clamp((tip[1] - top) / float(py), 0.8, 1.6)
    if tip[0] <= x + w / 2.0:
        dx = _clamp(tip[0] - px * sx, x + 14 - band[0] * sx, x + w - 14 - band[1] * sx)
        return n, int(round(dx)), top, sx, sy
    dx = _clamp(tip[0] + px * sx, x + 14 + band[1] * sx, x + w - 14 + band[0] * sx)
    return n, int(round(dx)), top, -sx, sy


def num(v):
    return ('%.2f' % v).rstrip('0').rstrip('.') if v != int(v) else '%d' % v


def render():
    """The texts of every file, keyed by its path under the game folder."""
    lines = []
    files = {}
    for n in (1, 3, 2):  # texts in the order the stories are told
        at_end, parts = STORIES[n]
        out = ['story {', '\tatEnd = "%s"' % at_end, '\ti = %d' % len(parts)]
        for p, (gfx, boxes) in enumerate(parts, 1):
            out += ['\tstory%d {' % p, '\t\tgfx = "%s"' % gfx, '\t\ttexts = %d' % len(boxes)]
            for t, (kind, text, box, tip) in enumerate(boxes, 1):
                lines.append(text)
                typ, dx, dy, sx, sy = tail(kind, box, tip)
                out += ['\t\ttxt%d {' % t,
                        '\t\t\ttext = %d' % len(lines),
                        '\t\t\ttypKomiksu = %d' % typ,
                        '\t\t\tdim = %s' % ', '.join('%d' % v for v in box),
                        '\t\t\tdziubek = %s' % ', '.join(num(v) for v in (dx, dy, sx, sy)),
                        '\t\t\tfont = 0',
                        '\t\t}', '']
            out += ['\t}', '']
        out += ['}', '']
        files['data/story-%d.dat' % n] = '\n'.join(out)
    files['txt/eng/story-comic.txt'] = '\n'.join(lines) + '\n'
    return files


def main(argv):
    check = '--check' in argv
    args = [a for a in argv[1:] if a != '--check']
    if len(args) != 1:
        sys.stderr.write('usage: stories.py [--check] GAME_DIR\n')
        return 2
    game = args[0]
    bad = []
    for rel, text in sorted(render().items()):
        path = os.path.join(game, rel)
        if check:
            try:
                with open(path, encoding='latin-1', newline='') as f:
                    if f.read() != text:
                        bad.append(rel)
            except OSError:
                bad.append(rel)
            continue
        with open(path, 'w', encoding='latin-1', newline='') as f:
            f.write(text)
    if bad:
        sys.stderr.write('out of date (run tools/stories/stories.py %s): %s\n' % (game, ', '.join(bad)))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
