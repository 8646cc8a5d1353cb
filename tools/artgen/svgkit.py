"""Small helpers for writing SVG text: colours, gradients, documents."""
import colorsys
import math


def hex2rgb(h):
    h = h.lstrip('#')
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def rgb2hex(r, g, b):
    c = lambda v: max(0, min(255, int(round(v * 255))))
    return '#%02x%02x%02x' % (c(r), c(g), c(b))


def shade(h, light=1.0, sat=1.0):
    """Scales lightness and saturation of a colour in HLS space."""
    r, g, b = hex2rgb(h)
    hh, ll, ss = colorsys.rgb_to_hls(r, g, b)
    ll = max(0.0, min(1.0, ll * light))
    ss = max(0.0, min(1.0, ss * sat))
    return rgb2hex(*colorsys.hls_to_rgb(hh, ll, ss))


def mix(a, b, t):
    ra, rb = hex2rgb(a), hex2rgb(b)
    return rgb2hex(*[x + (y - x) * t for x, y in zip(ra, rb)])


def fmt(v):
    s = ('%.3f' % v).rstrip('0').rstrip('.')
    return '0' if s == '-0' else s


def stops(lst):
    out = []
    for s in lst:
        off, col = s[0], s[1]
        op = s[2] if len(s) > 2 else 1
        out.append('<stop offset="%s" stop-color="%s" stop-opacity="%s"/>' % (fmt(off), col, fmt(op)))
    return ''.join(out)


def lin(id_, x1, y1, x2, y2, st, units='objectBoundingBox'):
    return ('<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s" gradientUnits="%s">%s</linearGradient>'
            % (id_, fmt(x1), fmt(y1), fmt(x2), fmt(y2), units, stops(st)))


def rad(id_, cx, cy, r, st, units='objectBoundingBox', fx=None, fy=None):
    f = ''
    if fx is not None:
        f = ' fx="%s" fy="%s"' % (fmt(fx), fmt(fy))
    return ('<radialGradient id="%s" cx="%s" cy="%s" r="%s"%s gradientUnits="%s">%s</radialGradient>'
            % (id_, fmt(cx), fmt(cy), fmt(r), f, units, stops(st)))


def blur(id_, sd, pad=0.5):
    return ('<filter id="%s" x="-%s" y="-%s" width="%s" height="%s"><feGaussianBlur stdDeviation="%s"/></filter>'
            % (id_, fmt(pad), fmt(pad), fmt(1 + 2 * pad), fmt(1 + 2 * pad), fmt(sd)))


def doc(w, h, body, defs='', vb=None):
    vb = vb or (0, 0, w, h)
    return ('<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            'width="%d" height="%d" viewBox="%s">\n<defs>%s</defs>\n%s\n</svg>\n'
            % (w, h, ' '.join(fmt(v) for v in vb), defs, body))


def strip(frames, fw, fh, vb=None):
    """Lays frame bodies (each drawn in a vb-sized space) side by side."""
    vb = vb or (0, 0, fw, fh)
    parts = []
    for i, body in enumerate(frames):
        parts.append('<svg x="%d" y="0" width="%d" height="%d" viewBox="%s" overflow="hidden">%s</svg>'
                     % (i * fw, fw, fh, ' '.join(fmt(v) for v in vb), body))
    return parts


def star_path(cx, cy, ro, ri, n=5, rot=-90):
    pts = []
    for i in range(2 * n):
        a = math.radians(rot + i * 180.0 / n)
        r = ro if i % 2 == 0 else ri
        pts.append('%s,%s' % (fmt(cx + r * math.cos(a)), fmt(cy + r * math.sin(a))))
    return 'M' + ' L'.join(pts) + ' Z'


def circle_path(cx, cy, r):
    return ('M%s %s a%s %s 0 1 0 %s 0 a%s %s 0 1 0 %s 0 Z'
            % (fmt(cx - r), fmt(cy), fmt(r), fmt(r), fmt(2 * r), fmt(r), fmt(r), fmt(-2 * r)))


def ellipse_path(cx, cy, rx, ry):
    return ('M%s %s a%s %s 0 1 0 %s 0 a%s %s 0 1 0 %s 0 Z'
            % (fmt(cx - rx), fmt(cy), fmt(rx), fmt(ry), fmt(2 * rx), fmt(rx), fmt(ry), fmt(-2 * rx)))


def rrect_path(x, y, w, h, r):
    return ('M%s %s h%s a%s %s 0 0 1 %s %s v%s a%s %s 0 0 1 %s %s h%s a%s %s 0 0 1 %s %s v%s a%s %s 0 0 1 %s %s Z'
            % (fmt(x + r), fmt(y), fmt(w - 2 * r), fmt(r), fmt(r), fmt(r), fmt(r), fmt(h - 2 * r),
               fmt(r), fmt(r), fmt(-r), fmt(r), fmt(-(w - 2 * r)), fmt(r), fmt(r), fmt(-r), fmt(-r),
               fmt(-(h - 2 * r)), fmt(r), fmt(r), fmt(r), fmt(-r)))


def rot_pt(x, y, cx, cy, deg):
    a = math.radians(deg)
    dx, dy = x - cx, y - cy
    return cx + dx * math.cos(a) - dy * math.sin(a), cy + dx * math.sin(a) + dy * math.cos(a)


def rellipse_path(cx, cy, rx, ry, deg=0):
    a = math.radians(deg)
    x1, y1 = cx - rx * math.cos(a), cy - rx * math.sin(a)
    x2, y2 = cx + rx * math.cos(a), cy + rx * math.sin(a)
    return ('M%s %s A%s %s %s 1 0 %s %s A%s %s %s 1 0 %s %s Z'
            % (fmt(x1), fmt(y1), fmt(rx), fmt(ry), fmt(deg), fmt(x2), fmt(y2),
               fmt(rx), fmt(ry), fmt(deg), fmt(x1), fmt(y1)))


def glossy(uid, d, color, ink=None, width=4.0, hl=(36, 30, 16, 9, -30), transform='',
           light=1.45, dark=0.55, sparkle=True, extra=''):
    """A glossy game piece: gradient body, lower-right inner shade, top-left
    highlight and sparkle, outline in a dark tone of its own hue. The outline is
    a doubled stroke laid under the fill, so overlapping sub-paths read as one
    silhouette."""
    ink = ink or shade(color, 0.38, 1.1)
    lt = mix(shade(color, light, 0.95), '#ffffff', 0.25)
    dk = shade(color, dark, 1.05)
    defs = (rad('g' + uid, 0.36, 0.3, 0.78, [(0, lt), (0.5, color), (1, dk)]) +
            lin('h' + uid, 0, 0, 0, 1, [(0, '#ffffff', 0.9), (1, '#ffffff', 0.0)]) +
            '<clipPath id="c%s"><path d="%s"/></clipPath>' % (uid, d) +
            blur('b' + uid, 3) +
            '<mask id="m%s" maskUnits="userSpaceOnUse" x="-50" y="-50" width="200" height="200">'
            '<rect x="-50" y="-50" width="200" height="200" fill="#fff"/>'
            '<path d="%s" transform="translate(-5 -6)" fill="#000" filter="url(#b%s)"/></mask>' % (uid, d, uid))
    cx, cy, rx, ry, rr = hl
    body = ['<g transform="%s">' % transform if transform else '<g>']
    body.append('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>'
                % (d, ink, fmt(2 * width)))
    body.append('<path d="%s" fill="url(#g%s)"/>' % (d, uid))
    body.append('<g clip-path="url(#c%s)">' % uid)
    body.append('<rect x="-10" y="-10" width="120" height="120" fill="%s" opacity="0.55" mask="url(#m%s)"/>'
                % (shade(color, 0.35, 1.1), uid))
    body.append(extra)
    body.append('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" transform="rotate(%s %s %s)" fill="url(#h%s)"/>'
                % (fmt(cx), fmt(cy), fmt(rx), fmt(ry), fmt(rr), fmt(cx), fmt(cy), uid))
    body.append('</g>')
    if sparkle:
        sx, sy = cx - rx * 0.35, cy - ry * 0.2
        body.append('<path d="%s" fill="#ffffff"/>' % star_path(sx, sy, 5.5, 1.4, 4, -90))
    body.append('</g>')
    return defs, ''.join(body)
