"""Play-screen HUD, power-up buttons, tools, cursors, results panels."""
import math
from svgkit import *

MG = 'gui/mainGame/'


def _wood_panel(uid, w, h, r, pal, inset=True):
    wd = pal['wood']
    defs = (lin('w' + uid, 0, 0, 0, 1, [(0, wd['light']), (1, wd['dark'])]) +
            lin('c' + uid, 0, 0, 0, 1, [(0, pal['cream']), (1, shade(pal['cream'], 0.88))]))
    body = ['<path d="%s" fill="url(#w%s)" stroke="%s" stroke-width="3"/>' % (rrect_path(2, 2, w - 4, h - 4, r), uid, pal['ink'])]
    body.append('<path d="%s" fill="none" stroke="#ffffff" stroke-opacity="0.25" stroke-width="2"/>'
                % rrect_path(5, 5, w - 10, h - 10, max(1, r - 3)))
    for k in range(1, 4):
        y = h * k / 4.0
        body.append('<path d="M%d %s q%s -4 %s 0 t%s 0" fill="none" stroke="#2a170b" stroke-opacity="0.18" stroke-width="1.5"/>'
                    % (10, fmt(y), fmt(w / 4.0), fmt(w / 2.0), fmt(w / 2.0 - 20)))
    if inset:
        m = 12
        body.append('<path d="%s" fill="url(#c%s)" stroke="%s" stroke-width="2"/>'
                    % (rrect_path(m, m, w - 2 * m, h - 2 * m, max(1, r - 6)), uid, shade(pal['wood']['dark'], 0.8)))
    return defs, ''.join(body)


def _disc(uid, color, icon):
    d = circle_path(50, 50, 42)
    defs, body = glossy(uid, d, color, hl=(38, 28, 20, 10, -20), sparkle=False)
    return doc(72, 72, body + icon, defs, vb=(0, 0, 100, 100))


def _hammer(tr=''):
    return ('<g transform="%s">'
            '<path d="M46 40 L58 40 L60 92 L44 92 Z" fill="#c98a3c" stroke="#3b2414" stroke-width="3.5" stroke-linejoin="round"/>'
            '<path d="M49 44 L51 88" stroke="#f2c16e" stroke-width="2.5" stroke-linecap="round"/>'
            '<path d="%s" fill="url(#steel)" stroke="#1c1d24" stroke-width="3.5"/>'
            '<path d="M24 20 H76" stroke="#ffffff" stroke-opacity="0.7" stroke-width="2.5" stroke-linecap="round"/>'
            '</g>' % (tr, rrect_path(18, 14, 64, 28, 6)))


def _scissors(tr=''):
    return ('<g transform="%s" stroke-linejoin="round">'
            '<path d="M50 50 L78 10 L84 14 L56 56 Z" fill="url(#steel)" stroke="#1c1d24" stroke-width="3"/>'
            '<path d="M50 50 L22 10 L16 14 L44 56 Z" fill="url(#steel)" stroke="#1c1d24" stroke-width="3"/>'
            '<circle cx="33" cy="76" r="13" fill="none" stroke="#1c1d24" stroke-width="9"/>'
            '<circle cx="67" cy="76" r="13" fill="none" stroke="#1c1d24" stroke-width="9"/>'
            '<circle cx="33" cy="76" r="13" fill="none" stroke="#ef4a43" stroke-width="5"/>'
            '<circle cx="67" cy="76" r="13" fill="none" stroke="#ef4a43" stroke-width="5"/>'
            '<path d="M44 56 L38 64 M56 56 L62 64" stroke="#1c1d24" stroke-width="7" stroke-linecap="round"/>'
            '<circle cx="50" cy="52" r="4" fill="#ffd93a" stroke="#1c1d24" stroke-width="2"/></g>' % tr)


def _needle(tr=''):
    return ('<g transform="%s">'
            '<path d="M80 12 C86 8 92 14 88 20 L24 88 L18 90 L20 84 Z" fill="url(#steel)" stroke="#1c1d24" stroke-width="3"/>'
            '<ellipse cx="82" cy="16" rx="2.5" ry="6" transform="rotate(45 82 16)" fill="#1c1d24"/>'
            '<path d="M82 16 C96 30 70 40 80 58 C88 72 66 82 58 74" fill="none" stroke="#ef4a43" stroke-width="3.5" '
            'stroke-linecap="round"/></g>' % tr)


def _wand(tr=''):
    return ('<g transform="%s">'
            '<path d="M20 86 L64 36" stroke="#1c1d24" stroke-width="11" stroke-linecap="round"/>'
            '<path d="M20 86 L64 36" stroke="#6a3fa8" stroke-width="6" stroke-linecap="round"/>'
            '<path d="M26 79 L34 70" stroke="#ffffff" stroke-width="6" stroke-linecap="round"/>'
            '<path d="%s" fill="#ffd93a" stroke="#6b4a00" stroke-width="3" stroke-linejoin="round"/>'
            '<path d="%s" fill="#ffffff"/><path d="%s" fill="#ffffff"/></g>'
            % (tr, star_path(70, 30, 22, 9, 5), star_path(30, 30, 7, 2, 4), star_path(86, 64, 6, 1.6, 4)))


STEEL = lin('steel', 0, 0, 0, 1, [(0, '#f4f6f9'), (0.5, '#aeb5c0'), (1, '#5f6672')])


def _icon_shuffle():
    a = ('<path d="M28 38 A24 24 0 0 1 70 34" fill="none" stroke="#1c1d24" stroke-width="12" stroke-linecap="round"/>'
         '<path d="M28 38 A24 24 0 0 1 70 34" fill="none" stroke="#ffffff" stroke-width="6" stroke-linecap="round"/>'
         '<path d="M62 22 L80 34 L60 44 Z" fill="#ffffff" stroke="#1c1d24" stroke-width="3" stroke-linejoin="round"/>')
    return a + '<g transform="rotate(180 50 50)">%s</g>' % a


def _icon_random():
    out = ''
    for (x, y, r) in ((38, 40, 20), (68, 32, 12), (64, 66, 16), (30, 70, 10)):
        out += '<path d="%s" fill="#ffffff" stroke="#1c1d24" stroke-width="2.5" stroke-linejoin="round"/>' % star_path(x, y, r, r * 0.38, 4)
    return out


def _icon_cross():
    out = '<g stroke="#1c1d24" stroke-width="3" stroke-linejoin="round">'
    for ang in (45, 135, 225, 315):
        out += ('<g transform="rotate(%d 50 50)"><path d="M46 50 V24 H40 L50 10 L60 24 H54 V50 Z" fill="#ffffff"/></g>' % ang)
    return out + '</g><circle cx="50" cy="50" r="8" fill="#ffd93a" stroke="#1c1d24" stroke-width="3"/>'


def buttons(add, pal):
    specs = [(1, '#ff9a24', _hammer('translate(50 50) rotate(-35) scale(0.9) translate(-50 -50)')),
             (2, '#ef4a43', _icon_cross()),
             (3, '#a65ef0', _icon_random()),
             (4, '#3f8cff', _icon_shuffle()),
             (5, '#5fcd48', _wand('translate(50 50) scale(0.95) translate(-52 -58)')),
             (6, '#1ccfc2', _needle('translate(50 50) scale(0.95) translate(-54 -50)'))]
    for n, col, icon in specs:
        svg = _disc('b%d' % n, col, icon)
        svg = svg.replace('<defs>', '<defs>' + STEEL, 1)
        add(MG + 'bonus_%d.png' % n, svg)
    # tools shown at the mouse while a power-up is armed
    for name, fn in (('mlotek', _hammer), ('nozyce', _scissors), ('igla', _needle), ('rozczka', _wand)):
        add(MG + '%s.png' % name, doc(64, 64, fn(), STEEL, vb=(0, 0, 100, 100)))
    g = rad('g', 0.5, 0.5, 0.5, [(0.55, '#ffe27a', 0), (0.72, '#ffe27a', 0.95), (0.8, '#ffffff'), (0.88, '#ffc23a', 0.8),
                                  (1, '#ff9a00', 0)])
    add(MG + 'bonusObw.png', doc(100, 100, '<circle cx="50" cy="50" r="50" fill="url(#g)"/>', g))
    s = (rad('s', 0.5, 0.45, 0.55, [(0, '#1a0f07'), (0.8, '#3b2414'), (1, '#7a5230')]) +
         lin('r', 0, 0, 0, 1, [(0, '#f2c16e'), (1, '#8a5424')]))
    add(MG + 'powerUpPodklad.png', doc(84, 84, '<circle cx="42" cy="42" r="40" fill="url(#r)" stroke="#3b2414" stroke-width="2.5"/>'
                                       '<circle cx="42" cy="42" r="33" fill="url(#s)"/>', s))
    d, b = _wood_panel('pb', 112, 520, 18, pal, inset=False)
    add(MG + 'panelBonusow.png', doc(112, 520, b, d))


def _ribbon(uid, w, h, col):
    dk = shade(col, 0.55)
    defs = lin('rb' + uid, 0, 0, 0, 1, [(0, mix(col, '#ffffff', 0.35)), (0.5, col), (1, shade(col, 0.75))])
    tail = h * 0.28
    body = ('<path d="M0 %s L%s %s L%s %s L%s %s L%s %s L0 %s L%s %s Z" fill="%s" stroke="%s" stroke-width="3"/>'
            % (fmt(tail), fmt(w * 0.14), fmt(tail), fmt(w * 0.14), fmt(h - 2), fmt(w * 0.08), fmt(h - 2),
               fmt(w * 0.08), fmt(h - 2), fmt(h - 2), fmt(w * 0.05), fmt(tail + (h - tail) / 2), dk, shade(col, 0.35)))
    body += '<g transform="matrix(-1 0 0 1 %d 0)">%s</g>' % (w, body)
    body += ('<path d="M%s 4 Q%s %s %s 4 L%s %s Q%s %s %s %s Z" fill="url(#rb%s)" stroke="%s" stroke-width="3"/>'
             % (fmt(w * 0.1), fmt(w / 2.0), fmt(h * 0.22), fmt(w * 0.9), fmt(w * 0.9), fmt(h * 0.76), fmt(w / 2.0), fmt(h * 0.98),
                fmt(w * 0.1), fmt(h * 0.76), uid, shade(col, 0.35)))
    body += ('<path d="M%s 12 Q%s %s %s 12" fill="none" stroke="#ffffff" stroke-opacity="0.5" stroke-width="3"/>'
             % (fmt(w * 0.13), fmt(w / 2.0), fmt(h * 0.3), fmt(w * 0.87)))
    return doc(w, h, body, defs)


def _match_icon(kind, uid):
    # three chip-like gems laid out to show how the mode is played
    out, defs = [], ''
    if kind == 0:
        for i, (x, col) in enumerate(((30, '#ef4a43'), (70, '#3f8cff'))):
            d, b = glossy('%s%d' % (uid, i), circle_path(x, 56, 19), col, hl=(x - 6, 48, 8, 5, -30))
            defs += d
            out.append(b)
        out.append('<path d="M30 30 Q50 8 70 30" fill="none" stroke="#1c1d24" stroke-width="9" stroke-linecap="round"/>'
                   '<path d="M30 30 Q50 8 70 30" fill="none" stroke="#ffffff" stroke-width="4.5" stroke-linecap="round"/>'
                   '<path d="M70 82 Q50 104 30 82" fill="none" stroke="#1c1d24" stroke-width="9" stroke-linecap="round"/>'
                   '<path d="M70 82 Q50 104 30 82" fill="none" stroke="#ffffff" stroke-width="4.5" stroke-linecap="round"/>'
                   '<path d="M62 22 L74 34 L60 36 Z M38 90 L26 78 L40 76 Z" fill="#ffffff" stroke="#1c1d24" stroke-width="2"/>')
    elif kind == 1:
        pts = ((22, 72), (44, 40), (74, 56), (80, 24))
        out.append('<path d="M%s" fill="none" stroke="#ffd54a" stroke-width="7" stroke-linecap="round" stroke-linejoin="round"/>'
                   % ' L'.join('%d %d' % p for p in pts))
        for i, (x, y) in enumerate(pts):
            d, b = glossy('%s%d' % (uid, i), circle_path(x, y, 13), '#5fcd48', hl=(x - 4, y - 5, 5, 3, -30), sparkle=False)
            defs += d
            out.append(b)
    else:
        for i, (x, y) in enumerate(((36, 36), (64, 36), (36, 64), (64, 64), (50, 50))):
            if i == 4:
                continue
            d, b = glossy('%s%d' % (uid, i), circle_path(x, y, 15), '#a65ef0', hl=(x - 5, y - 6, 6, 3, -30), sparkle=False)
            defs += d
            out.append(b)
        out.append('<path d="M58 58 L58 92 L67 84 L74 98 L80 95 L73 81 L85 80 Z" fill="#ffffff" stroke="#1c1d24" '
                   'stroke-width="3" stroke-linejoin="round"/>')
    return defs, ''.join(out)


def panels(add, pal):
    d, b = _wood_panel('tp', 260, 104, 20, pal)
    add(MG + 'img.png', doc(260, 104, b, d))
    d, b = _wood_panel('tm', 300, 80, 18, pal)
    add(MG + 'timePanel.png', doc(300, 80, b, d))
    add(MG + 'timePodklad.png', doc(240, 24, '<path d="%s" fill="#2a1a0e" stroke="#3b2414" stroke-width="2"/>'
                                    '<path d="%s" fill="none" stroke="#000" stroke-opacity="0.4" stroke-width="2"/>'
                                    % (rrect_path(1, 1, 238, 22, 11), rrect_path(3, 3, 234, 18, 9)), ''))
    tl = lin('t', 0, 0, 0, 1, [(0, '#d6ff8a'), (0.45, '#7ed957'), (1, '#3f9a2e')])
    add(MG + 'timeLine.png', doc(236, 18, '<path d="%s" fill="url(#t)"/><path d="M8 5 H228" stroke="#ffffff" '
                                 'stroke-opacity="0.55" stroke-width="3" stroke-linecap="round"/>' % rrect_path(0, 0, 236, 18, 9), tl))
    ticks = ''.join('<path d="M%d 5 V19" stroke="#3b2414" stroke-opacity="0.45" stroke-width="2"/>' % x for x in range(40, 240, 40))
    add(MG + 'timeDiv.png', doc(240, 24, ticks, ''))
    cz = lin('cz', 0, 0, 0, 1, [(0, '#fffdf4'), (1, '#e9dcb8')])
    add(MG + 'panelZegara.png', doc(72, 72, '<circle cx="36" cy="36" r="33" fill="#c98a3c" stroke="#3b2414" stroke-width="3"/>'
                                    '<circle cx="36" cy="36" r="25" fill="url(#cz)" stroke="#3b2414" stroke-width="2"/>' +
                                    ''.join('<path d="M36 14 V18" transform="rotate(%d 36 36)" stroke="#3b2414" stroke-width="2.5"/>' % a
                                            for a in range(0, 360, 30)) +
                                    '<path d="M36 36 V20 M36 36 L46 42" stroke="#3b2414" stroke-width="3.5" stroke-linecap="round"/>'
                                    '<circle cx="36" cy="36" r="3" fill="#ef4a43"/>', cz))
    v = rad('v', 0.5, 0.5, 0.72, [(0.55, '#000000', 0), (1, '#000000', 0.45)])
    add(MG + 'podklad.png', doc(1024, 768, '<rect width="1024" height="768" fill="url(#v)"/>', v))
    add(MG + 'wstega.png', _ribbon('a', 640, 120, '#d8332b'))
    add(MG + 'wstega2.png', _ribbon('b', 640, 120, '#3f7fe0'))
    add(MG + 'wstazka.png', _ribbon('c', 220, 56, '#f0a81a'))
    for k in range(3):
        d, b = _match_icon(k, 'm%d' % k)
        back = ('<circle cx="50" cy="50" r="48" fill="#fbeecb" stroke="#3b2414" stroke-width="3"/>'
                '<circle cx="50" cy="50" r="42" fill="none" stroke="#c98a3c" stroke-width="3"/>')
        add(MG + 'tryb%d.png' % k, doc(160, 160, back + b, d, vb=(0, 0, 100, 100)))
        add(MG + 'trybSmall%d.png' % k, doc(56, 56, back + b, d, vb=(0, 0, 100, 100)))
    ar = lin('ar', 0, 0, 1, 0, [(0, '#fff27a'), (1, '#f0a81a')])
    arrow = ('<path d="M20 2 L38 26 L27 26 L27 54 L13 54 L13 26 L2 26 Z" fill="url(#ar)" stroke="#5a3215" stroke-width="3" '
             'stroke-linejoin="round"/><path d="M20 8 L30 22" stroke="#ffffff" stroke-opacity="0.7" stroke-width="2.5" '
             'stroke-linecap="round"/>')
    add(MG + 'arrow.png', doc(40, 56, arrow, ar))
    add('gui/arrow.png', doc(40, 56, arrow, ar))


def cursors(add, pal):
    paw = ('<path d="M2 2 L2 30 L9 24 L14 35 L20 32 L15 21 L25 21 Z" fill="#fbeecb" stroke="#3b2414" stroke-width="2.4" '
           'stroke-linejoin="round"/>'
           '<g fill="#c98a3c" stroke="#3b2414" stroke-width="1.6"><ellipse cx="30" cy="34" rx="6.5" ry="5.5"/>'
           '<ellipse cx="22.5" cy="27.5" rx="2.6" ry="3.4"/><ellipse cx="27.5" cy="23.5" rx="2.6" ry="3.4"/>'
           '<ellipse cx="33.5" cy="23.5" rx="2.6" ry="3.4"/><ellipse cx="38" cy="28" rx="2.6" ry="3.4"/></g>')
    add('gui/cursor.png', doc(42, 42, paw, ''))
    add('gui/cursor_mlotek.png', doc(48, 48, _hammer('rotate(-35 50 50)'), STEEL, vb=(0, 0, 100, 100)))


def screens(add, pal):
    d, b = _wood_panel('wp', 640, 460, 28, pal)
    deco = ''.join('<g transform="translate(%d %d) rotate(%d)" fill="#c98a3c" opacity="0.25"><ellipse cx="0" cy="6" rx="9" ry="8"/>'
                   '<ellipse cx="-9" cy="-5" rx="3.5" ry="4.5"/><ellipse cx="-3" cy="-11" rx="3.5" ry="4.5"/>'
                   '<ellipse cx="4" cy="-11" rx="3.5" ry="4.5"/><ellipse cx="10" cy="-5" rx="3.5" ry="4.5"/></g>' % (x, y, r)
                   for x, y, r in ((60, 400, -20), (100, 360, -10), (580, 400, 20), (545, 360, 10)))
    # A deep red ribbon: the gold title has to stand out on it.
    rib = _ribbon('wr', 520, 96, '#8a231c')
    rib_body = rib[rib.index('</defs>') + 7:rib.rindex('</svg>')]
    rib_defs = rib[rib.index('<defs>') + 6:rib.index('</defs>')]
    stars = ''.join('<path d="%s" fill="#ffd93a" stroke="#8a5424" stroke-width="1.5"/>' % star_path(x, y, r, r * 0.45, 5)
                    for x, y, r in ((40, 40, 14), (600, 40, 14), (70, 78, 8), (570, 78, 8)))
    add('gui/winScreen/panel.png', doc(640, 480, '<g transform="translate(0 20)">%s</g>'
                                       '<g transform="translate(60 0)">%s</g>%s' % (b + deco, rib_body, stars), d + rib_defs))
    bar = lin('pk', 0, 0, 1, 0, [(0, '#c98a3c', 0), (0.12, '#c98a3c', 0.35), (0.88, '#c98a3c', 0.35), (1, '#c98a3c', 0)])
    pod = doc(500, 34, '<rect x="0" y="2" width="500" height="30" rx="15" fill="url(#pk)"/>'
                       '<path d="M40 31 H460" stroke="#8a5424" stroke-opacity="0.35" stroke-width="1.5"/>', bar)
    # The win screen names this folder both "winScreen" and "winscreen".
    add('gui/winScreen/podkladka.png', pod)
    add('gui/winscreen/podkladka.png', pod)
    dz, bz = glossy('pz', rrect_path(20, 28, 56, 56, 6) + ' ' + circle_path(48, 20, 11) + ' ' + circle_path(84, 56, 11),
                    pal['puzzle'], hl=(34, 36, 12, 7, -30))
    add('gui/winScreen/puzel.png', doc(48, 48, bz, dz, vb=(0, 0, 100, 100)))
    dt, bt = glossy('tl', rrect_path(14, 30, 60, 60, 10), '#6f95c8', hl=(30, 42, 14, 6, -20), sparkle=False)
    dt2, bt2 = glossy('tl2', rrect_path(30, 12, 60, 60, 10), '#b9d3f2', hl=(46, 24, 14, 6, -20))
    add('gui/winScreen/tiles.png', doc(48, 48, bt + bt2, dt + dt2, vb=(0, 0, 100, 100)))
    d, b = _wood_panel('lp', 460, 380, 26, pal)
    sad = ('<g transform="translate(230 250)"><path d="M-60 0 H-8 M8 0 H60" stroke="#8a6a3a" stroke-width="14" stroke-linecap="round"/>'
           '<path d="M-60 0 H-8 M8 0 H60" stroke="#f3e6c6" stroke-width="9" stroke-linecap="round"/>'
           '<g fill="#f3e6c6" stroke="#8a6a3a" stroke-width="3"><circle cx="-66" cy="-8" r="9"/><circle cx="-66" cy="8" r="9"/>'
           '<circle cx="66" cy="-8" r="9"/><circle cx="66" cy="8" r="9"/></g>'
           '<path d="M-8 -8 l5 6 l-5 4 l5 6 M8 -8 l-5 6 l5 4 l-5 6" fill="none" stroke="#8a6a3a" stroke-width="2.5"/></g>')
    rib = _ribbon('lr', 380, 80, '#6f7fa8')
    rib_body = rib[rib.index('</defs>') + 7:rib.rindex('</svg>')]
    rib_defs = rib[rib.index('<defs>') + 6:rib.index('</defs>')]
    add('gui/loseScreen/panel.png', doc(460, 400, '<g transform="translate(0 20)">%s</g><g transform="translate(40 0)">%s</g>'
                                        % (b + sad, rib_body), d + rib_defs))
    bt = lin('bt', 0, 0, 0, 1, [(0, '#ffd98a'), (0.5, '#f0a84a'), (1, '#b86a1c')])
    states = [('url(#bt)', 1.0), ('url(#bt)', 1.15), ('url(#bt)', 0.85), ('#9a8a78', 1.0)]
    frames = []
    for fill, br in states:
        frames.append('<path d="%s" fill="%s" stroke="#3b2414" stroke-width="3" style="filter:brightness(%s)"/>'
                      '<path d="%s" fill="none" stroke="#ffffff" stroke-opacity="%s" stroke-width="2.5"/>'
                      % (rrect_path(3, 3, 214, 58, 29), fill, fmt(br), rrect_path(9, 8, 202, 24, 12), fmt(0.55 * br)))
    add('gui/common/button.png', doc(220, 64, frames[0], bt))
    add('gui/common/button4.png', doc(880, 64, ''.join(strip(frames, 220, 64)), bt))


def build(add, pal):
    buttons(add, pal)
    panels(add, pal)
    cursors(add, pal)
    screens(add, pal)
