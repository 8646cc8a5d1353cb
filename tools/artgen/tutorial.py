"""The tutorial's tip panels (small, normal, and the chain and group ones with
a corner badge of their match mode) and its two pointing arrows."""
from svgkit import *
import hud

TU = 'gui/tutorial/'


def _panel(uid, w, h, pal, badge=''):
    d, b = hud._wood_panel(uid, w, h, 22, pal)
    return doc(w, h, b + badge, d)


def _chain_badge(pal):
    # Two chain links on a round plaque in the top-left corner.
    out = ['<circle cx="26" cy="26" r="17" fill="%s" stroke="%s" stroke-width="2.5"/>'
           % (pal['cream'], pal['ink'])]
    for x, y, r in ((19, 26, -35), (33, 26, -35)):
        out.append('<rect x="%d" y="%d" width="14" height="9" rx="4.5" transform="rotate(%d %d %d)" '
                   'fill="none" stroke="#6d7380" stroke-width="3.5"/>' % (x - 7, y - 4, r, x, y))
    return ''.join(out)


def _group_badge(pal):
    # Three touching chips of one colour.
    out = ['<circle cx="26" cy="26" r="17" fill="%s" stroke="%s" stroke-width="2.5"/>'
           % (pal['cream'], pal['ink'])]
    for x, y in ((20, 22), (32, 22), (26, 32)):
        out.append('<circle cx="%d" cy="%d" r="6" fill="#3f7fe0" stroke="#1d3f78" stroke-width="1.5"/>' % (x, y))
    return ''.join(out)


def _arrow(uid, c1, c2, ink):
    g = lin(uid, 0, 0, 1, 0, [(0, c1), (1, c2)])
    body = ('<path d="M23 2 L44 30 L31 30 L31 62 L15 62 L15 30 L2 30 Z" fill="url(#%s)" stroke="%s" '
            'stroke-width="3" stroke-linejoin="round"/>'
            '<path d="M23 9 L34 24" stroke="#ffffff" stroke-opacity="0.75" stroke-width="2.5" '
            'stroke-linecap="round"/>' % (uid, ink))
    return doc(46, 64, body, g)


def build(add, pal):
    add(TU + 'back.png', _panel('ts', 270, 120, pal))
    add(TU + 'back-normal.png', _panel('tn', 290, 150, pal))
    add(TU + 'back-chain.png', _panel('tc', 290, 150, pal, _chain_badge(pal)))
    add(TU + 'back-group.png', _panel('tg', 290, 150, pal, _group_badge(pal)))
    add(TU + 'arrow.png', _arrow('ta1', '#fff27a', '#f0a81a', '#5a3215'))
    add(TU + 'arrow2.png', _arrow('ta2', '#bff0ff', '#3f9fe0', '#173a5e'))
