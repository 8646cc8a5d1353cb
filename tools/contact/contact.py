#!/usr/bin/env python3
"""Contact sheets: every picture of a group on one PNG, for review.

Usage: contact.py OUT.png TITLE [--cell N] [--bg dark|light|check] FILE...

Writes an SVG that embeds the pictures and renders it with rsvg-convert.
Animation strips are shown whole, scaled to the cell's width.
"""
import base64
import os
import struct
import subprocess
import sys


def image_size(path):
    with open(path, 'rb') as f:
        head = f.read(64 * 1024)
    if head[:8] == b'\x89PNG\r\n\x1a\n':
        return struct.unpack('>II', head[16:24])
    if head[:2] == b'\xff\xd8':
        i = 2
        while i < len(head) - 9:
            if head[i] != 0xFF:
                i += 1
                continue
            marker = head[i + 1]
            if marker in (0xC0, 0xC1, 0xC2):
                h, w = struct.unpack('>HH', head[i + 5:i + 9])
                return w, h
            seg = struct.unpack('>H', head[i + 2:i + 4])[0]
            i += 2 + seg
    raise ValueError('not a PNG or JPEG picture: ' + path)


def esc(s):
    return s.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;')


def sheet(out, title, files, cell=128, bg='check'):
    n = len(files)
    cols = max(1, min(8, int((1600 // (cell + 16)))))
    rows = (n + cols - 1) // cols
    pad, lab = 16, 18
    W = cols * (cell + pad) + pad
    H = 56 + rows * (cell + lab + pad) + pad
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
             'width="%d" height="%d">' % (W, H),
             '<defs><pattern id="ck" width="16" height="16" patternUnits="userSpaceOnUse">'
             '<rect width="16" height="16" fill="#9a9a9a"/><rect width="8" height="8" fill="#c8c8c8"/>'
             '<rect x="8" y="8" width="8" height="8" fill="#c8c8c8"/></pattern></defs>',
             '<rect width="%d" height="%d" fill="#2a2d36"/>' % (W, H),
             '<text x="16" y="36" font-family="DejaVu Sans" font-weight="bold" font-size="22" fill="#f7de71">%s'
             ' (%d)</text>' % (esc(title), n)]
    fills = {'check': 'url(#ck)', 'dark': '#1b2a40', 'light': '#e8e4da'}
    for i, path in enumerate(files):
        w, h = image_size(path)
        cx = pad + (i % cols) * (cell + pad)
        cy = 56 + (i // cols) * (cell + lab + pad)
        s = min(1.0 * cell / w, 1.0 * cell / h)
        if max(w, h) <= cell:
            s = min(s, 2.0 if max(w, h) <= cell // 2 else 1.0)
        dw, dh = w * s, h * s
        with open(path, 'rb') as f:
            data = base64.b64encode(f.read()).decode('ascii')
        mime = 'image/jpeg' if path.lower().endswith(('.jpg', '.jpeg')) else 'image/png'
        parts.append('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (cx, cy, cell, cell, fills[bg]))
        parts.append('<image x="%.1f" y="%.1f" width="%.1f" height="%.1f" xlink:href="data:%s;base64,%s"/>'
                     % (cx + (cell - dw) / 2, cy + (cell - dh) / 2, dw, dh, mime, data))
        name = os.path.basename(path)
        label = '%s %dx%d' % (name, w, h) if cell >= 120 else name
        parts.append('<text x="%d" y="%d" font-family="DejaVu Sans" font-size="11" fill="#e0e0e0">%s</text>'
                     % (cx, cy + cell + 13, esc(label[:int(cell / 6.6)])))
    parts.append('</svg>')
    svg = out + '.svg'
    with open(svg, 'w', encoding='utf-8') as f:
        f.write('\n'.join(parts))
    subprocess.run(['rsvg-convert', '-o', out, svg], check=True)
    os.remove(svg)


def main(argv):
    args = argv[1:]
    if len(args) < 3:
        sys.stderr.write(__doc__)
        return 2
    out, title = args[0], args[1]
    cell, bg, files = 128, 'check', []
    i = 2
    while i < len(args):
        if args[i] == '--cell':
            cell = int(args[i + 1])
            i += 2
        elif args[i] == '--bg':
            bg = args[i + 1]
            i += 2
        else:
            files.append(args[i])
            i += 1
    missing = [f for f in files if not os.path.exists(f)]
    if missing:
        sys.stderr.write('contact: missing pictures: %s\n' % ' '.join(missing))
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    sheet(out, title, sorted(files), cell, bg)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
