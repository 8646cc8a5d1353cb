"""Reading the dog table and the owner lines the way the game reads them, plus
the font measuring and PNG reading the dog checks need (standard library only).

The owner scene places each owner line in a bubble: the entry "LEVEL:4|TEXT:3|
WHO:1|X:360|Y:150|WIDTH:350" names the quest level, the line of txt/dogs.txt,
the speaker and the bubble's box; the bubble's height is the text's wrapped
height plus a margin, and a bubble whose bottom passes 730 is lifted.
"""
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'contact'))
import rcm  # noqa: E402

DEFAULT_X, DEFAULT_Y, DEFAULT_WIDTH = 312, 284, 400
BUBBLE_FLOOR = 730


class EntryError(ValueError):
    pass


def parse_entry(wpis, strict=True):
    """Items "KEY:number" separated by "|", applied in order. Returns the raw
    fields (before the bubble height is known). strict: a malformed item is an
    error instead of being skipped."""
    e = dict(level=0, text=0, x=DEFAULT_X, y=DEFAULT_Y, width=DEFAULT_WIDTH, who=1, black=False)
    for item in wpis.split('|'):
        if not item.strip():
            if strict:
                raise EntryError('empty item in "%s"' % wpis)
            continue
        parts = item.split(':')
        if len(parts) != 2:
            if strict:
                raise EntryError('item "%s" is not KEY:number' % item)
            continue
        key, val = parts[0].strip().upper(), parts[1].strip()
        try:
            num = int(val)
        except ValueError:
            if strict:
                raise EntryError('item "%s" has no whole number' % item)
            continue
        if key == 'LEVEL':
            e['level'] = num
        elif key == 'TEXT':
            e['text'] = num
        elif key == 'WIDTH':
            e['width'] = num
        elif key == 'X':
            e['x'] = num
        elif key == 'Y':
            e['y'] = num
        elif key == 'WHO':
            e['who'] = num
            if num == 2:
                e['black'] = True
            else:
                e['y'] -= 20
        elif strict:
            raise EntryError('unknown key "%s" in "%s"' % (key, wpis))
    return e


def read_lines(path):
    """A line file: a line feed ends each line, a last line without one counts
    when it is not empty."""
    with open(path, 'rb') as f:
        text = f.read().decode('latin-1')
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    return lines


# --- fonts -------------------------------------------------------------------

class Font:
    """Advance widths of an OpenType/TrueType font at a pixel size."""

    def __init__(self, path, size):
        with open(path, 'rb') as f:
            data = f.read()
        n = struct.unpack('>H', data[4:6])[0]
        tables = {}
        for i in range(n):
            tag, _c, off, ln = struct.unpack('>4sIII', data[12 + 16 * i: 28 + 16 * i])
            tables[tag.decode('latin-1')] = (off, ln)
        upem = struct.unpack('>H', data[tables['head'][0] + 18: tables['head'][0] + 20])[0]
        ho = tables['hhea'][0]
        asc, desc = struct.unpack('>hh', data[ho + 4: ho + 8])
        nh = struct.unpack('>H', data[ho + 34: ho + 36])[0]
        mo = tables['hmtx'][0]
        adv = [struct.unpack('>H', data[mo + 4 * i: mo + 4 * i + 2])[0] for i in range(nh)]
        self.cmap = self._cmap(data, tables['cmap'][0])
        self.adv = adv
        self.k = size / float(upem)
        self.height = (asc - desc) * self.k

    @staticmethod
    def _cmap(data, co):
        n = struct.unpack('>H', data[co + 2: co + 4])[0]
        for i in range(n):
            pid, eid, off = struct.unpack('>HHI', data[co + 4 + 8 * i: co + 12 + 8 * i])
            so = co + off
            if struct.unpack('>H', data[so: so + 2])[0] == 4 and pid in (0, 3):
                segx2 = struct.unpack('>H', data[so + 6: so + 8])[0]
                seg = segx2 // 2
                ends = struct.unpack('>%dH' % seg, data[so + 14: so + 14 + segx2])
                starts = struct.unpack('>%dH' % seg, data[so + 16 + segx2: so + 16 + 2 * segx2])
                deltas = struct.unpack('>%dh' % seg, data[so + 16 + 2 * segx2: so + 16 + 3 * segx2])
                ro = so + 16 + 3 * segx2
                ranges = struct.unpack('>%dH' % seg, data[ro: ro + segx2])
                m = {}
                for s in range(seg):
                    for c in range(starts[s], min(ends[s], 0xFF) + 1):
                        if ranges[s] == 0:
                            g = (c + deltas[s]) & 0xFFFF
                        else:
                            p = ro + 2 * s + ranges[s] + 2 * (c - starts[s])
                            g = struct.unpack('>H', data[p: p + 2])[0]
                            if g:
                                g = (g + deltas[s]) & 0xFFFF
                        m[c] = g
                return m
        raise ValueError('font has no usable character map')

    def width(self, s):
        w = 0
        for ch in s:
            g = self.cmap.get(ord(ch), 0)
            w += self.adv[min(g, len(self.adv) - 1)]
        return w * self.k


class AverageFont:
    """Stand-in when no font file is at hand: a wide average letter."""

    def __init__(self, size):
        self.height = size * 1.25
        self.size = size

    def width(self, s):
        return len(s) * self.size * 0.56


def wrap(text, width, font):
    """The paragraph breaking of the game: returns the list of lines."""
    words = (text + ' ').split(' ')
    lines, line = [], ''
    for word in words:
        cand = line + ' ' + word
        if font.width(cand) > width:
            lines.append(line.strip())
            line = word
        else:
            line = cand if line else word
    lines.append(line)
    return lines


def measure(text, width, font):
    lines = wrap(text, width, font)
    h = font.height * len(lines)
    if lines[-1] != '':
        h += font.height
    return h


def bubble(entry, text, font):
    """The bubble box (x, y, w, h) the owner scene builds for a line, and the
    height the text takes when drawn (wrapped at w - 40, from y + 20)."""
    w = entry['width']
    h = measure(text, w, font) + 1.15 * font.height
    y = entry['y']
    if y + h > BUBBLE_FLOOR:
        y = BUBBLE_FLOOR - (h + 10)
    drawn = font.height * len([ln for ln in wrap(text, w - 40, font) if ln.strip()] or [''])
    return (entry['x'], y, w, h), drawn


# --- PNG ---------------------------------------------------------------------

def png_info(path):
    """(width, height, colour type) of a PNG, or None when the file is not one."""
    with open(path, 'rb') as f:
        head = f.read(33)
    if head[:8] != b'\x89PNG\r\n\x1a\n':
        return None
    w, h, _depth, ctype = struct.unpack('>IIBB', head[16:26])
    return w, h, ctype


def png_min_alpha(path):
    """The smallest alpha value of an 8-bit PNG (255 when it has no alpha)."""
    with open(path, 'rb') as f:
        data = f.read()
    pos, idat, w, h, depth, ctype, inter = 8, [], 0, 0, 8, 6, 0
    while pos < len(data):
        ln, tag = struct.unpack('>I4s', data[pos: pos + 8])
        body = data[pos + 8: pos + 8 + ln]
        if tag == b'IHDR':
            w, h, depth, ctype, _c, _f, inter = struct.unpack('>IIBBBBB', body)
        elif tag == b'IDAT':
            idat.append(body)
        pos += 12 + ln
    if ctype not in (4, 6):
        return 255
    if depth != 8 or inter:
        raise ValueError('%s: only 8-bit non-interlaced pictures are read' % path)
    bpp = 4 if ctype == 6 else 2
    raw = zlib.decompress(b''.join(idat))
    stride = w * bpp
    prev = bytearray(stride)
    low = 255
    for y in range(h):
        f = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1: (y + 1) * (stride + 1)])
        if f == 1:
            for i in range(bpp, stride):
                row[i] = (row[i] + row[i - bpp]) & 0xFF
        elif f == 2:
            row = bytearray((a + b) & 0xFF for a, b in zip(row, prev))
        elif f == 3:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + ((left + prev[i]) >> 1)) & 0xFF
        elif f == 4:
            for i in range(stride):
                a = row[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pr = a if (pa <= pb and pa <= pc) else (b if pb <= pc else c)
                row[i] = (row[i] + pr) & 0xFF
        low = min(low, min(row[bpp - 1::bpp]))
        prev = row
    return low


def load_dogs(path):
    return rcm.load(path)
