"""The gallery and the show-dog frame, and the owner scene's speech bubbles.

gfx/gui/galeria/back.jpg     the gallery: a cork board on a panelled wall
gfx/gui/galeria/frame.png    the frame a dressed dog is shown in, large
gfx/gui/galeria/sparkle.png  one sparkle of the new dog's arrival
gfx/gui/ubieranie/bubble1.png, bubble2.png  nine-slice bubbles (owner, dog)
"""
import random

from svgkit import fmt, lin, rad, blur, doc, rrect_path, star_path


def _bubble(fill, edge, shine):
    defs = lin('bf', 0, 0, 0, 1, [(0, shine), (1, fill)])
    body = ('<path d="%s" fill="url(#bf)" stroke="%s" stroke-width="3"/>' % (rrect_path(2, 2, 60, 60, 16), edge))
    return doc(64, 64, body, defs)


def _gallery_back(pal):
    wd = pal['wood']
    rng = random.Random(1507)
    defs = [lin('wall', 0, 0, 0, 1, [(0, '#7a4a2a'), (1, '#4f2e18')]),
            lin('cork', 0, 0, 1, 1, [(0, '#d9a86a'), (0.5, '#c9965a'), (1, '#b7844b')]),
            lin('frm', 0, 0, 0, 1, [(0, wd['light']), (1, wd['dark'])]),
            rad('lamp', 0.5, 0.35, 0.7, [(0, '#ffffff', 0.18), (1, '#000000', 0.25)]),
            blur('sh', 6)]
    b = ['<rect width="1024" height="768" fill="url(#wall)"/>']
    for x in range(0, 1024, 64):
        b.append('<rect x="%d" y="0" width="3" height="768" fill="#2e1a0c" opacity="0.35"/>' % x)
        b.append('<rect x="%d" y="0" width="2" height="768" fill="#ffffff" opacity="0.06"/>' % (x + 3))
    # the board with its frame and shadow
    b.append('<rect x="104" y="96" width="816" height="598" rx="10" fill="#000" opacity="0.45" filter="url(#sh)"/>')
    b.append('<rect x="96" y="86" width="832" height="602" rx="10" fill="url(#frm)" stroke="%s" stroke-width="3"/>'
             % pal['ink'])
    b.append('<rect x="114" y="104" width="796" height="566" fill="url(#cork)"/>')
    for _ in range(1400):
        x, y = rng.uniform(116, 908), rng.uniform(106, 668)
        c = rng.choice(['#8f6232', '#e7bf85', '#a87640'])
        b.append('<circle cx="%s" cy="%s" r="%s" fill="%s" opacity="0.5"/>' % (fmt(x), fmt(y), fmt(rng.uniform(0.8, 2.2)), c))
    b.append('<rect x="114" y="104" width="796" height="566" fill="none" stroke="#5a3215" stroke-opacity="0.5" stroke-width="4"/>')
    # the title sign hangs over the board
    b.append('<rect x="262" y="8" width="500" height="70" rx="14" fill="url(#frm)" stroke="%s" stroke-width="3"/>'
             % pal['ink'])
    b.append('<rect x="274" y="18" width="476" height="50" rx="9" fill="#3b2414" opacity="0.35"/>')
    b.append('<rect width="1024" height="768" fill="url(#lamp)"/>')
    # a floor strip under the board for the buttons and the hint
    b.append('<rect x="0" y="694" width="1024" height="74" fill="#2e1a0c" opacity="0.55"/>')
    return doc(1024, 768, ''.join(b), ''.join(defs))


def _frame(pal):
    wd = pal['wood']
    defs = [lin('fw', 0, 0, 1, 1, [(0, wd['light']), (0.5, '#c08a4a'), (1, wd['dark'])]),
            rad('mat', 0.5, 0.4, 0.75, [(0, '#fff8e4'), (1, '#ecd7a8')]),
            lin('band', 0, 0, 0, 1, [(0, '#7b4a22'), (1, '#54301a')])]
    b = ['<rect x="3" y="3" width="514" height="634" rx="18" fill="url(#fw)" stroke="%s" stroke-width="4"/>' % pal['ink'],
         '<rect x="26" y="26" width="468" height="530" rx="8" fill="url(#mat)" stroke="#5a3215" stroke-width="3"/>',
         '<rect x="26" y="566" width="468" height="52" rx="10" fill="url(#band)" stroke="#2e1a0c" stroke-width="2"/>']
    for cx, cy in ((18, 18), (502, 18), (18, 622), (502, 622)):
        b.append('<circle cx="%d" cy="%d" r="7" fill="%s" stroke="#5a3215" stroke-width="2"/>' % (cx, cy, pal['gold']))
    return doc(520, 640, ''.join(b), ''.join(defs))


def _sparkle():
    defs = rad('g', 0.5, 0.5, 0.5, [(0, '#ffffff', 0.9), (0.4, '#ffffff', 0.25), (1, '#ffffff', 0)])
    body = ('<circle cx="24" cy="24" r="24" fill="url(#g)"/>'
            '<path d="%s" fill="#ffffff"/>' % star_path(24, 24, 23, 4, n=4))
    return doc(48, 48, body, defs)


def build(add, pal):
    add('gui/ubieranie/bubble1.png', _bubble('#fbeecb', '#5a3215', '#fffaf0'))
    add('gui/ubieranie/bubble2.png', _bubble('#d6ecf7', '#1f4a66', '#f4fbff'))
    add('gui/galeria/back.jpg', _gallery_back(pal))
    add('gui/galeria/frame.png', _frame(pal))
    add('gui/galeria/sparkle.png', _sparkle())
