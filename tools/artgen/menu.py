"""Main menu street scene, its highlights, clouds, television pictures, the
button panel, and the dialogs around the menu (mode selection, pop-ups, name
entry, options, profiles), plus the branding logo."""
import math
import random
from svgkit import *
import hud

MM = 'gui/mainMenu/'
W, H = 1024, 768


def _sky():
    return doc(W, H, *reversed(_sky_parts()))


def _sky_parts():
    d = (lin('sky', 0, 0, 0, 1, [(0, '#5fb6ec'), (0.55, '#a9dcf7'), (1, '#e9f7ff')]) +
         rad('sun', 0.5, 0.5, 0.5, [(0, '#fffbe0'), (0.35, '#fff3b0', 0.9), (1, '#fff3b0', 0)]))
    b = ('<rect width="1024" height="768" fill="url(#sky)"/>'
         '<circle cx="930" cy="80" r="120" fill="url(#sun)"/><circle cx="930" cy="80" r="42" fill="#fffbe6"/>')
    # Far hills behind the houses.
    b += ('<path d="M0 380 Q180 300 360 350 T720 330 T1024 340 V768 H0 Z" fill="#9cc9b0"/>'
          '<path d="M0 420 Q220 370 420 400 T820 380 T1024 400 V768 H0 Z" fill="#7cbc8a"/>')
    return d, b


def _window(x, y, w, h, lit=False):
    glass = '#ffe9a0' if lit else '#8fc3e8'
    return ('<rect x="%d" y="%d" width="%d" height="%d" fill="#fbeecb" stroke="#3b2414" stroke-width="2.5"/>'
            '<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
            '<path d="M%d %d V%d M%d %d H%d" stroke="#fbeecb" stroke-width="3"/>'
            '<path d="M%d %d l%d %d" stroke="#ffffff" stroke-opacity="0.6" stroke-width="3"/>'
            % (x - 4, y - 4, w + 8, h + 8, x, y, w, h, glass, x + w // 2, y, y + h, x, y + h // 2, x + w,
               x + 5, y + h // 2 - 6, w // 3, -(h // 3)))


def _house(x, w, top, color, roof, seed):
    rng = random.Random(seed)
    out = ['<path d="M%d 640 V%d H%d V640 Z" fill="%s" stroke="#3b2414" stroke-width="3"/>' % (x, top, x + w, color)]
    out.append('<path d="M%d %d H%d V%d H%d Z" fill="%s" opacity="0.25"/>' % (x + w - 18, top, x + w, 640, x + w - 18, shade(color, 0.5)))
    out.append('<path d="M%d %d L%d %d L%d %d Z" fill="%s" stroke="#3b2414" stroke-width="3" stroke-linejoin="round"/>'
               % (x - 12, top + 2, x + w // 2, top - 60, x + w + 12, top + 2, roof))
    for row in range(3):
        y = top + 30 + row * 80
        if y > 560:
            break
        for col in range(max(1, w // 80)):
            wx = x + 22 + col * 80
            if wx + 40 > x + w - 10:
                break
            out.append(_window(wx, y, 40, 52, rng.random() < 0.3))
    return ''.join(out)


def _tv_frame_body(ox, oy):
    """The television on the front of the middle house: a wooden frame with
    an opening of 284 x 204 whose centre is (523, 241) on screen."""
    x0, y0 = ox, oy
    cut = rrect_path(x0 + 27, y0 + 29, 284, 204, 10)
    outer = rrect_path(x0 + 3, y0 + 3, 332, 256, 26)
    return ('<path d="%s %s" fill-rule="evenodd" fill="url(#tvw)" stroke="#3b2414" stroke-width="4"/>'
            '<path d="%s" fill="none" stroke="#3b2414" stroke-width="3"/>'
            '<path d="%s" fill="none" stroke="#ffffff" stroke-opacity="0.3" stroke-width="2"/>'
            '<circle cx="%d" cy="%d" r="5" fill="#ef4a43" stroke="#3b2414" stroke-width="2"/>'
            % (outer, cut, cut, rrect_path(x0 + 9, y0 + 9, 320, 244, 22), x0 + 300, y0 + 246))


TVW = lin('tvw', 0, 0, 0, 1, [(0, '#a06a38'), (1, '#5e3a1c')])


def _door(x, y, lit):
    """The door of the middle house, drawn over the area x 440-610, y 445-595."""
    glow = '#fff1a8' if lit else '#6a3a1c'
    return ('<path d="M%d %d V%d a85 70 0 0 1 170 0 V%d Z" fill="%s" stroke="#3b2414" stroke-width="4"/>'
            '<path d="M%d %d V%d a67 54 0 0 1 134 0 V%d Z" fill="%s" stroke="#3b2414" stroke-width="3"/>'
            '<path d="M%d %d V%d" stroke="#3b2414" stroke-width="3"/>'
            '<circle cx="%d" cy="%d" r="5" fill="#ffd93a" stroke="#3b2414" stroke-width="2"/>'
            '<circle cx="%d" cy="%d" r="5" fill="#ffd93a" stroke="#3b2414" stroke-width="2"/>'
            % (x, y + 150, y + 70, y + 150, '#c98a3c',
               x + 18, y + 150, y + 72, y + 150, glow,
               x + 85, y + 22, y + 150, x + 72, y + 110, x + 98, y + 110))


def _taxi(x, y, lit):
    body = '#ffd93a' if not lit else '#fff27a'
    return ('<g transform="translate(%d %d)">'
            '<ellipse cx="118" cy="222" rx="118" ry="14" fill="#000" opacity="0.22"/>'
            '<path d="M10 200 V150 Q12 128 40 124 L70 80 Q78 68 96 68 H170 Q186 68 196 82 L222 124 Q236 130 236 150 V200 Z" '
            'fill="%s" stroke="#3b2414" stroke-width="4" stroke-linejoin="round"/>'
            '<path d="M80 122 L98 86 H134 V122 Z M146 122 V86 H178 L200 122 Z" fill="#8fc3e8" stroke="#3b2414" stroke-width="3"/>'
            '<path d="M86 112 L96 92" stroke="#ffffff" stroke-opacity="0.7" stroke-width="4" stroke-linecap="round"/>'
            '<rect x="104" y="46" width="52" height="22" rx="5" fill="#fbeecb" stroke="#3b2414" stroke-width="3"/>'
            '<path d="M112 57 h36" stroke="#3b2414" stroke-width="4" stroke-linecap="round"/>'
            '<g fill="#3b2414">%s</g>'
            '<circle cx="62" cy="200" r="26" fill="#2a2a30" stroke="#111" stroke-width="3"/>'
            '<circle cx="62" cy="200" r="11" fill="#c8ccd4"/>'
            '<circle cx="184" cy="200" r="26" fill="#2a2a30" stroke="#111" stroke-width="3"/>'
            '<circle cx="184" cy="200" r="11" fill="#c8ccd4"/>'
            '<rect x="224" y="146" width="12" height="14" rx="3" fill="#fff6c0" stroke="#3b2414" stroke-width="2"/>'
            '</g>' % (x, y, body, ''.join('<rect x="%d" y="%d" width="12" height="10"/>' % (20 + 24 * k + (12 if r else 0), 160 + 10 * r)
                                          for k in range(9) for r in range(2) if 20 + 24 * k + (12 if r else 0) < 222)))


def _canal(x, y, lit):
    water = '#5aa9e6' if not lit else '#8fd0ff'
    waves = ''.join('<path d="M%d %d q12 -7 24 0 t24 0" fill="none" stroke="#ffffff" stroke-opacity="0.7" stroke-width="3" '
                    'stroke-linecap="round"/>' % (x + 20 + 70 * (k % 3) + 20 * (k // 3), y + 90 + 36 * (k // 3)) for k in range(9))
    return ('<g><path d="M%d %d H%d L%d %d H%d Z" fill="%s" stroke="#3b2414" stroke-width="3"/>%s'
            '<path d="M%d %d H%d" stroke="#c4683a" stroke-width="12"/>'
            '<path d="M%d %d H%d" stroke="#3b2414" stroke-width="2"/>'
            # a small boat with an exit sign
            '<g transform="translate(%d %d)"><path d="M0 0 H110 L92 30 H16 Z" fill="#ef4a43" stroke="#3b2414" stroke-width="3"/>'
            '<path d="M52 0 V-56" stroke="#3b2414" stroke-width="4"/><path d="M54 -54 L96 -34 L54 -16 Z" fill="#fbeecb" stroke="#3b2414" '
            'stroke-width="3" stroke-linejoin="round"/></g></g>'
            % (x, y + 12, x + 250, x + 250, y + 206, x, water, waves, x, y + 12, x + 250, x, y + 6, x + 250, x + 60, y + 150))


def _street_base():
    return doc(W, H, *reversed(_street_parts()))


# Clouds (mid-handled, y up to 200, at most 110 high) never reach below this
# line: under it the street can be drawn once with the sky, above it the
# street's roofs are drawn again over the clouds.
CLOUD_BAND = 260


def _street_parts():
    d = TVW + lin('road', 0, 0, 0, 1, [(0, '#b7aa98'), (1, '#8f8271')]) + blur('sb', 3)
    b = []
    # Houses on both sides and the middle house with the television.
    b.append(_house(-20, 170, 250, '#e2c48f', '#c4683a', 1))
    b.append(_house(150, 170, 300, '#f3b5a0', '#8a5a86', 2))
    b.append(_house(700, 150, 280, '#b9d3f2', '#c8453a', 3))
    b.append(_house(850, 200, 230, '#f2c16e', '#5b3a24', 4))
    b.append('<path d="M320 640 V90 H726 V640 Z" fill="#f3e6c6" stroke="#3b2414" stroke-width="4"/>')
    b.append('<path d="M300 96 L523 20 L746 96 Z" fill="#c4683a" stroke="#3b2414" stroke-width="4" stroke-linejoin="round"/>')
    b.append('<path d="M700 90 H726 V640 H700 Z" fill="#c9a77a" opacity="0.45"/>')
    for k in range(14):
        b.append('<path d="M320 %d H726" stroke="#8a6a3a" stroke-opacity="0.15" stroke-width="2"/>' % (400 + 17 * k))
    b.append(_tv_frame_body(354, 110))
    b.append(_window(340, 420, 50, 64) + _window(656, 420, 50, 64))
    b.append(_door(440, 445, False))
    b.append('<rect x="430" y="592" width="190" height="14" fill="#c9a77a" stroke="#3b2414" stroke-width="3"/>')
    # Pavement and street.
    b.append('<path d="M0 600 H1024 V768 H0 Z" fill="url(#road)"/>')
    b.append('<path d="M0 606 H1024" stroke="#3b2414" stroke-width="3"/>')
    for k in range(12):
        b.append('<path d="M%d 700 h50" stroke="#fbeecb" stroke-width="6" stroke-linecap="round"/>' % (30 + 90 * k))
    b.append(_canal(0, 563, False))
    b.append(_taxi(793, 519, False))
    # Lamp posts.
    for x in (300, 760):
        b.append('<path d="M%d 606 V470" stroke="#3b2414" stroke-width="7"/><path d="M%d 606 V470" stroke="#5e6a76" stroke-width="4"/>'
                 '<circle cx="%d" cy="462" r="13" fill="#fff1a8" stroke="#3b2414" stroke-width="3"/>' % (x, x, x))
    return d, ''.join(b)


def _glow_mask(uid, w, h, inner):
    return rad(uid, 0.5, 0.55, 0.6, [(0, '#fff6b0', 0.55), (0.7, '#fff6b0', 0.25), (1, '#fff6b0', 0)])


def highlights(add):
    g = _glow_mask('hg', 0, 0, '')
    # Door: x 392.., y 444..; the glowing door sits exactly over the drawn one.
    add(MM + 'play-doors.png', doc(266, 170, '<rect width="266" height="170" fill="url(#hg)"/>' +
                                   '<g transform="translate(-392 -444)">%s</g>' % _door(440, 445, True), g))
    add(MM + 'taxi-options.png', doc(231, 249, '<rect width="231" height="249" fill="url(#hg)"/>' +
                                     '<g transform="translate(-793 -519)">%s</g>' % _taxi(793, 519, True), g))
    add(MM + 'exit-canal.png', doc(250, 205, '<rect width="250" height="205" fill="url(#hg)"/>' +
                                   '<g transform="translate(0 -563)">%s</g>' % _canal(0, 563, True), g))


def clouds(add):
    for n, (w, h, seed) in enumerate(((260, 110, 7), (190, 90, 11))):
        rng = random.Random(seed)
        puffs = []
        for k in range(6):
            px = w / 2 + (k - 2.5) * w / 7.5 + rng.uniform(-6, 6)
            py = h * 0.62 - math.sin((k + 0.5) / 6 * math.pi) * h * 0.22
            r = h * (0.2 + 0.14 * math.sin((k + 0.5) / 6 * math.pi))
            puffs.append((px, py, r))
        body = ''.join('<circle cx="%s" cy="%s" r="%s" fill="#c9dcee"/>' % (fmt(a + 3), fmt(b + 6), fmt(c)) for a, b, c in puffs)
        body += ''.join('<circle cx="%s" cy="%s" r="%s" fill="#ffffff"/>' % (fmt(a), fmt(b), fmt(c)) for a, b, c in puffs)
        body += '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff"/>' % (fmt(w / 2), fmt(h * 0.7), fmt(w * 0.38), fmt(h * 0.14))
        add(MM + 'chmura-%d.png' % (n + 1), doc(w, h, body, ''))


def _tv(idx, pal):
    """Five pictures of the game for the television, 284 x 204."""
    W2, H2 = 284, 204
    defs = lin('tvs%d' % idx, 0, 0, 0, 1, [(0, '#6ab9e8'), (1, '#e4f6ff')])
    b = ['<rect width="%d" height="%d" fill="url(#tvs%d)"/>' % (W2, H2, idx)]
    chips = pal['chips']
    if idx == 0:
        # The game's title card: a big paw over an arc of chips.
        b.append('<g transform="translate(142 88)" fill="#c98a3c" stroke="#3b2414" stroke-width="4">'
                 '<ellipse cx="0" cy="16" rx="32" ry="26"/><ellipse cx="-36" cy="-16" rx="11" ry="15"/>'
                 '<ellipse cx="-13" cy="-37" rx="11" ry="15"/><ellipse cx="13" cy="-37" rx="11" ry="15"/>'
                 '<ellipse cx="36" cy="-16" rx="11" ry="15"/></g>')
        for k, c in enumerate(chips):
            a = math.radians(165 - k * 150.0 / 7)
            b.append('<circle cx="%s" cy="%s" r="15" fill="%s" stroke="%s" stroke-width="3"/>'
                     % (fmt(142 + 112 * math.cos(a)), fmt(88 + 95 * math.sin(a)), c['color'], shade(c['color'], 0.4)))
    elif idx == 1:
        # A board of chips.
        b.append('<rect x="22" y="12" width="240" height="180" rx="12" fill="#243c60" stroke="#f2c16e" stroke-width="6"/>')
        rng = random.Random(5)
        for r in range(4):
            for c in range(6):
                col = chips[rng.randrange(6)]['color']
                b.append('<circle cx="%d" cy="%d" r="15" fill="%s" stroke="%s" stroke-width="3"/>'
                         '<circle cx="%d" cy="%d" r="4" fill="#ffffff" opacity="0.8"/>'
                         % (52 + 36 * c, 42 + 40 * r, col, shade(col, 0.4), 47 + 36 * c, 37 + 40 * r))
    elif idx == 2:
        # A happy dog's face.
        b.append('<rect y="150" width="284" height="54" fill="#6fbf52"/>')
        b.append('<g transform="translate(142 110)" stroke="#3b2414" stroke-width="4">'
                 '<ellipse cx="-58" cy="-10" rx="22" ry="46" fill="#8a5a2e" transform="rotate(20 -58 -10)"/>'
                 '<ellipse cx="58" cy="-10" rx="22" ry="46" fill="#8a5a2e" transform="rotate(-20 58 -10)"/>'
                 '<ellipse cx="0" cy="0" rx="60" ry="56" fill="#e2c48f"/>'
                 '<ellipse cx="0" cy="26" rx="30" ry="22" fill="#fbeecb"/>'
                 '<circle cx="-22" cy="-10" r="7" fill="#3b2414"/><circle cx="22" cy="-10" r="7" fill="#3b2414"/>'
                 '<ellipse cx="0" cy="14" rx="11" ry="8" fill="#3b2414"/>'
                 '<path d="M-12 30 Q0 40 12 30" fill="none"/><path d="M-6 36 Q0 56 6 36 Z" fill="#ef4a43"/></g>')
    elif idx == 3:
        # Jigsaw pieces coming together.
        cols = ['#ffb52e', '#3f8cff', '#5fcd48', '#ef4a43']
        for k, (x, y, r) in enumerate(((70, 60, -8), (150, 70, 6), (90, 130, 10), (170, 140, -4))):
            d = rrect_path(-30, -30, 60, 60, 6) + ' ' + circle_path(0, -34, 11) + ' ' + circle_path(34, 0, 11)
            b.append('<path d="%s" transform="translate(%d %d) rotate(%d)" fill="%s" stroke="#3b2414" stroke-width="3"/>'
                     % (d, x, y, r, cols[k]))
    else:
        # A trophy with stars: the end of a stage.
        b.append('<path d="M112 60 H172 V100 Q172 130 142 134 Q112 130 112 100 Z" fill="#ffd93a" stroke="#6b4a00" stroke-width="4"/>'
                 '<path d="M112 70 Q88 70 92 92 Q96 106 114 106 M172 70 Q196 70 192 92 Q188 106 170 106" fill="none" '
                 'stroke="#6b4a00" stroke-width="5"/><rect x="132" y="134" width="20" height="20" fill="#c98a3c" stroke="#6b4a00" '
                 'stroke-width="3"/><rect x="116" y="154" width="52" height="14" rx="3" fill="#8a5a2e" stroke="#3b2414" stroke-width="3"/>')
        for x, y, r in ((60, 50, 16), (226, 60, 14), (70, 150, 10), (220, 150, 12)):
            b.append('<path d="%s" fill="#fff27a" stroke="#8a5424" stroke-width="2"/>' % star_path(x, y, r, r * 0.45))
    return doc(W2, H2, ''.join(b), defs)


def panels(add, pal):
    # The panel under the menu buttons.
    d, b = hud._wood_panel('pp', 560, 170, 26, pal)
    add(MM + 'pod-przyciski.png', doc(560, 170, b, d))
    d, b = hud._wood_panel('pq', 440, 56, 20, pal, inset=False)
    add(MM + 'plaque.png', doc(440, 56, b, d))
    # Common dialog panel (pop-ups, quest dialog, name entry).
    d, b = hud._wood_panel('dp', 520, 300, 26, pal)
    add('gui/common/dialog.png', doc(520, 300, b, d))
    d, b = hud._wood_panel('op', 600, 560, 28, pal)
    add('gui/options/panel.png', doc(600, 560, b, d))
    d, b = hud._wood_panel('pm', 600, 560, 28, pal)
    add('gui/profiles/panel.png', doc(600, 560, b, d))
    # Mode selection: a round wooden medallion with a clock and a hammock.
    mdefs = (lin('msw', 0, 0, 0, 1, [(0, pal['wood']['light']), (1, pal['wood']['dark'])]) +
             rad('msc', 0.4, 0.35, 0.75, [(0, '#fffdf4'), (1, '#e9dcb8')]))
    mb = ('<circle cx="260" cy="260" r="254" fill="url(#msw)" stroke="#3b2414" stroke-width="4"/>'
          '<circle cx="260" cy="260" r="226" fill="url(#msc)" stroke="#5e3a1c" stroke-width="3"/>'
          + ''.join('<g transform="rotate(%d 260 260)"><ellipse cx="260" cy="22" rx="8" ry="5" fill="#f7de71" '
                    'stroke="#3b2414" stroke-width="2"/></g>' % a for a in range(0, 360, 30)))
    add('gui/modeSelection/panel.png', doc(520, 520, mb, mdefs))
    icons = ('<g transform="translate(60 60)"><circle r="44" fill="#fbeecb" stroke="#3b2414" stroke-width="4"/>'
             '<path d="M0 0 V-30 M0 0 L22 12" stroke="#3b2414" stroke-width="6" stroke-linecap="round"/></g>'
             '<g transform="translate(180 60)"><path d="M-44 -10 Q0 40 44 -10" fill="none" stroke="#3b2414" stroke-width="6"/>'
             '<path d="M-44 -10 Q0 30 44 -10" fill="#5fcd48" stroke="#3b2414" stroke-width="3"/></g>')
    add('gui/modeSelection/ikony.png', doc(240, 120, icons, ''))
    # Slider knob of the options.
    kd = rad('kn', 0.38, 0.32, 0.8, [(0, '#fff27a'), (0.6, '#f0a81a'), (1, '#a2620f')])
    add('gui/options/knob.png', doc(28, 28, '<circle cx="14" cy="14" r="12" fill="url(#kn)" stroke="#3b2414" stroke-width="2.5"/>', kd))


def logo(add, pal):
    d = rad('lg', 0.5, 0.5, 0.5, [(0, '#fff6c0'), (1, '#ffb52e')])
    b = ('<circle cx="160" cy="160" r="150" fill="url(#lg)" stroke="#3b2414" stroke-width="6"/>'
         '<g transform="translate(160 172)" fill="#c98a3c" stroke="#3b2414" stroke-width="5">'
         '<ellipse cx="0" cy="26" rx="52" ry="42"/><ellipse cx="-58" cy="-26" rx="18" ry="24"/>'
         '<ellipse cx="-22" cy="-62" rx="18" ry="24"/><ellipse cx="22" cy="-62" rx="18" ry="24"/>'
         '<ellipse cx="58" cy="-26" rx="18" ry="24"/></g>')
    add('gui/branding/logo.png', doc(320, 320, b, d))


def build(add, pal):
    add(MM + 'back.jpg', _sky())
    add(MM + 'eng/back-base.png', _street_base())
    # The same street drawn once with the sky (drawn solid every frame), and
    # its strip above CLOUD_BAND to draw over the clouds.
    sd, sb = _sky_parts()
    bd, bb = _street_parts()
    add(MM + 'eng/back-full.jpg', doc(W, H, sb + bb, sd + bd))
    add(MM + 'eng/back-top.png', doc(W, CLOUD_BAND, bb, bd, vb=(0, 0, W, CLOUD_BAND)))
    add(MM + 'ekran.png', doc(338, 262, _tv_frame_body(0, 0), TVW))
    highlights(add)
    clouds(add)
    for k in range(5):
        add(MM + 'tv%d.png' % k, _tv(k, pal))
    panels(add, pal)
    logo(add, pal)
