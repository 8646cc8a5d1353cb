"""The twelve dogs of the quest, their owners and the owner scene.

Per dog n (01..12): gfx/dogs/dogNN.png (as it comes), gfx/dogs/dogNN-dressed.png
(in its costume), gfx/dogs/small/dogNN.png (uncovered gallery picture),
gfx/dogs/cards/dogNN.png (gallery card before it is won),
gfx/dogs/owners/ownerNN.png (the owner) and the stage's jigsaw picture
gfx/puzzle/pictures/stageNN.png. The owner scene's pictures live under
gfx/gui/ubieranie/.
"""
import random
import scenes
from svgkit import fmt, shade, mix, lin, rad, blur, doc, rrect_path, star_path, circle_path, ellipse_path
from dogkit import Ctx, draw_dog, draw_person, dog_geometry, blob, costume

# Dog pictures: the engine hangs them by the middle of the bottom edge.
DOG_W, DOG_H = 340, 360
BIG_W, BIG_H = 340, 420   # dogs 2 and 8 stand lower and further left
OWNER_W, OWNER_H = 400, 400

# Breeds. Units: a medium dog is about 250 units high; 'scale' maps units to
# pixels of the dog picture.
DOGS = [
    dict(name='Biscuit', breed='beagle', scale=1.0, coat='#c8843c', coat2='#3a2a22', belly='#fbf3e4', ears='flop', ear_len=1.05,
         earc='#b06a2a', marks=['saddle', 'blaze', 'bib'], tail='plume', tail_tip='#fbf3e4', paw='#fbf3e4', legc='#fbf3e4',
         muzzle=0.55, costume=[('chef', '#fdfcf8', '#e0dccf'), ('neckerchief', '#ef4a43', '#ffffff')]),
    dict(name='Duke', breed='great dane', scale=1.08, legs=1.4, body=1.2, head=1.05, head_h=1.0, width=0.95, coat='#7f8ea3',
         coat2='#5e6c80', belly='#9aa8bb', ears='flop', ear_len=0.7, ear_w=0.36, tail='whip', muzzle=0.75, muzzle_w=0.5,
         marks=['bib'], muzzlec='#6e7d92', costume=[('captain', '#ffffff', '#1d3566', -6), ('sailor', '#2a4a8a', '#ef4a43')]),
    dict(name='Pixie', breed='chihuahua', scale=0.78, legs=0.8, body=0.75, head=1.12, width=0.8, coat='#e9c48e', belly='#fbefd8',
         ears='bat', ear_len=1.0, tail='whip', muzzle=0.32, muzzle_w=0.4, eye=1.25, marks=['bib'], ear_in='#f6b7b0',
         costume=[('tiara', '#f7de71', '#ff6fb0', -6), ('pearls', '#fbf4ea', '#ff8fb4')]),
    dict(name='Pepper', breed='dalmatian', scale=1.0, legs=1.15, coat='#fdfaf5', coat2='#2a2a30', belly='#fdfaf5', ears='flop',
         ear_len=0.8, earc='#3a3a40', tail='whip', muzzle=0.62, marks=['spots', 'eyepatch'], nosec='#2a2220',
         spot_list=[(-0.5, -0.95, 7), (0.3, -1.05, 8), (0.9, -0.5, 8), (1.3, -0.85, 7), (-0.1, -0.62, 6), (1.55, -0.3, 6), (0.75, -0.2, 7), (-0.9, -0.5, 5), (-0.48, -0.35, 5), (0.42, -0.15, 4.5), (0.5, -0.45, 4), (-0.35, -0.08, 4), (1.1, -0.12, 5)],
         costume=[('helmet', '#e03a30', '#ffd93a', -6), ('scarf', '#ffd93a', '#e03a30')]),
    dict(name='Waffles', breed='corgi', scale=0.92, legs=0.55, body=0.95, width=1.15, head=1.02, coat='#e58a3a', belly='#fdf4e6',
         ears='point', ear_len=1.05, tail='stub', muzzle=0.45, marks=['bib', 'blaze', 'cheeks'], paw='#fdf4e6', legc='#fdf4e6',
         costume=[('mortarboard', '#2a2d3a', '#ffd93a', -6), ('glasses', '#5a3a20'), ('bowtie', '#3f8cff', '#ffffff')]),
    dict(name='Noodle', breed='dachshund', scale=0.95, legs=0.45, body=0.9, long=1.6, width=0.9, coat='#9a4a22', belly='#b8663a',
         ears='flop', ear_len=1.15, ear_w=0.46, earc='#7a3616', tail='otter', muzzle=0.7, muzzle_w=0.46, muzzlec='#b8663a',
         costume=[('beret', '#c8303a', '#000000', -12), ('scarf', '#2f6bd0', '#ffffff')]),
    dict(name='Snowball', breed='samoyed', scale=1.0, fluff=1.0, coat='#f8f9fd', belly='#ffffff', ears='fluffy_point', tail='curl',
         muzzle=0.45, ear_in='#f3c8c0', nosec='#2a2226', costume=[('bobble', '#3fb7d9', '#ffffff', -8), ('scarf', '#ef4a43', '#ffffff')]),
    dict(name='Bruno', breed='st bernard', scale=1.1, legs=1.15, body=1.2, head=1.15, width=1.25, coat='#fdf7ee', coat2='#b5562a',
         belly='#fdf7ee', ears='flop', ear_len=0.75, ear_w=0.5, earc='#8a3a1a', tail='plume', marks=['saddle', 'cap', 'blaze'],
         muzzle=0.55, muzzle_w=0.62, costume=[('alpine', '#3f6a3a', '#ef4a43', -8), ('barrel', '#c8843c', '#5a3215')]),
    dict(name='Ziggy', breed='poodle', scale=1.0, legs=1.2, fluff=1.4, coat='#e8a87a', fluffc='#eeb48a', belly='#f3c29c', ears='curly',
         tail='pom', topknot=True, pompaws=True, muzzle=0.6, muzzle_w=0.42, hat_sink=-0.15,
         costume=[('sunglasses', '#a65ef0'), ('cape', '#7a3ae0', '#ffd93a')]),
    dict(name='Shadow', breed='black labrador', scale=1.02, legs=1.1, coat='#3a3638', belly='#4a4446', ears='flop', ear_len=0.72,
         tail='otter', muzzle=0.6, muzzlec='#4a4446', nosec='#1a1618', costume=[('deerstalker', '#b58a5a', '#6a4a2a', -6), ('bowtie', '#c8302a', '#ffffff')]),
    dict(name='Maple', breed='shiba inu', scale=0.95, coat='#d9792e', belly='#fbeedc', ears='point', ear_len=0.75, tail='curl',
         marks=['cheeks', 'bib'], muzzle=0.45, paw='#fbeedc', legc='#d9792e',
         costume=[('straw', '#f2d27a', '#5fa84a', -8), ('garland', '#ff8fb4', '#ffffff')]),
    dict(name='Winston', breed='pug', scale=0.85, legs=0.75, head=1.15, width=1.1, coat='#e6c79a', coat2='#2e2622', belly='#e6c79a',
         ears='fold', earc='#2e2622', tail='curl', muzzle=0.28, muzzle_w=0.5, marks=['mask', 'wrinkles'], eye=1.3, eye_sp=0.42,
         costume=[('crown', '#f7c531', '#ef4a43', -6), ('cape', '#c8202a', '#ffd93a')]),
]

# Owners: 0 the boy (man) figure, 1 the girl (woman) figure.
OWNERS = [
    dict(name='Grandma Rosie', who=1, skin='#f6cfb0', hair='#e8e6ea', style='bun', clothes='#e58ab0', apron='#ffffff', age=1,
         glasses='#8a6a4a', hat=('chef', '#fdfcf8', '#e0dccf', -4), lips='#a03a4a', earrings='#ffd93a'),
    dict(name='Captain Barnaby', who=0, skin='#f0c09a', hair='#ece8e4', style='sides', clothes='#1d3566', beard=True,
         beardc='#f4f2ee', collar='shirt', buttons='#ffd93a', hat=('captain', '#ffffff', '#1d3566', -4), age=1),
    dict(name='Madame Lulu', who=1, skin='#f8d5bd', hair='#7a2a4a', style='curly_long', clothes='#a02a6a', pearls=True,
         earrings='#ff8fb4', lashes=True, lips='#c02a5a', hat=('tiara', '#f7de71', '#ff6fb0', -2)),
    dict(name='Chief Frank', who=0, skin='#d9a07a', hair='#4a3020', style='short', clothes='#3a3f4a', mustache=True,
         badge='#ffd93a', collar='v', shirt='#ffd93a', hat=('helmet', '#e03a30', '#ffd93a', -4)),
    dict(name='Professor Tilly', who=1, skin='#8a5a3a', hair='#2a1a14', style='curly', clothes='#ffffff', collar='shirt',
         shirt='#8fd0ff', glasses='#c8302a', lashes=True, lips='#7a2a2a', earrings='#3f8cff', brow='#2a1a14'),
    dict(name='Vincent', who=0, skin='#f4c9a4', hair='#c85a2a', style='short', clothes='#ffffff', stripes='#2f6bd0',
         mustache=True, beardc='#c85a2a', hat=('beret', '#c8303a', '#000000', -14), scarf='#ffd93a'),
    dict(name='Olga', who=1, skin='#fbe0cf', hair='#f4d27a', style='ponytail', clothes='#3fb7d9', collar='turtle', lashes=True,
         lips='#d04a6a', hat=('bobble', '#ef4a43', '#ffffff', -6), earrings='#ffffff'),
    dict(name='Hans', who=0, skin='#f0bc94', hair='#8a5a2a', style='short', clothes='#c8302a', collar='shirt', shirt='#ffffff',
         beard=True, beardc='#8a5a2a', hat=('alpine', '#3f6a3a', '#ef4a43', -6), stripes=None, age=0),
    dict(name='DJ Jazz', who=0, skin='#6a4028', hair='#1a1214', style='spiky', clothes='#7a3ae0', collar='round',
         hat=('headphones', '#2a2d3a', '#1ccfc2', 0), glasses=None),
    dict(name='Inspector Poppy', who=1, skin='#f6d2b8', hair='#b8452a', style='bob', clothes='#b58a5a', collar='shirt', shirt='#ffffff',
         lashes=True, lips='#b02a3a', hat=('deerstalker', '#b58a5a', '#6a4a2a', -4), buttons='#5a3a20'),
    dict(name='Grandpa Ken', who=0, skin='#e8b890', hair='#d8d8d8', style='bald', clothes='#5fa84a', collar='shirt', shirt='#f3e6c6',
         mustache=True, beardc='#eeeeee', age=1, glasses='#3a3a40', hat=('straw', '#f2d27a', '#5fa84a', -4)),
    dict(name='Lady Agatha', who=1, skin='#f8d8c4', hair='#9a9aa8', style='bun', clothes='#7a1a3a', cape='#c8202a', pearls=True,
         lashes=True, lips='#a02a4a', age=1, hat=('crown', '#f7c531', '#ef4a43', -3), earrings='#3f8cff'),
]

# Jigsaw scene of each stage: board background theme and crop, story prop.
STAGE_SCENES = [('meadow', 0), ('beach', 1), ('sunset', 2), ('park', 3), ('night', 4), ('autumn', 5),
                ('winter', 6), ('winter', 7), ('night', 8), ('autumn', 9), ('blossom', 10), ('park', 11)]


def dog_transform(b, cw, ch):
    return 'translate(%s %s) scale(%s)' % (fmt(cw / 2.0 - b.get('long', 0) * 38 * b['scale']), fmt(ch - 14), fmt(b['scale']))


def dog_body(i, b, dressed, prefix='d'):
    ctx = Ctx(prefix, 3.0 / b['scale'])
    body = draw_dog(ctx, b, b['costume'] if dressed else None)
    return ctx, body


def dog_picture(i, b, dressed):
    cw, ch = (BIG_W, BIG_H) if i in (1, 7) else (DOG_W, DOG_H)
    ctx, body = dog_body(i, b, dressed)
    return doc(cw, ch, '<g transform="%s">%s</g>' % (dog_transform(b, cw, ch), body), ctx.defs_text())


def owner_picture(i, p):
    ctx = Ctx('o')
    body = draw_person(ctx, p, OWNER_W / 2.0 - 10, OWNER_H, 1.0)
    return doc(OWNER_W, OWNER_H, body, ctx.defs_text())


def _card_frame(ctx, inner, defs, tint):
    """A 128 x 150 snapshot card hung by a pin at (64, 18)."""
    out = ['<g>',
           '<path d="%s" fill="#000" opacity="0.25" transform="translate(3 4)"/>' % rrect_path(6, 10, 116, 136, 6),
           '<path d="%s" fill="%s" stroke="#b8a888" stroke-width="2"/>' % (rrect_path(6, 10, 116, 136, 6), ctx.grad('#fbf6ea', 'vert')),
           '<path d="%s" fill="%s"/>' % (rrect_path(14, 28, 100, 96, 3), tint),
           '<svg x="14" y="28" width="100" height="96" viewBox="0 0 100 96" overflow="hidden">%s</svg>' % inner,
           '<path d="%s" fill="none" stroke="#000" stroke-opacity="0.25" stroke-width="1.5"/>' % rrect_path(14, 28, 100, 96, 3),
           '<circle cx="64" cy="18" r="8" fill="%s" stroke="#7a1a1a" stroke-width="2"/>' % ctx.grad('#ef4a43', 'round'),
           '<circle cx="61.5" cy="15.5" r="2.5" fill="#ffffff" opacity="0.8"/>',
           '</g>']
    return ''.join(out)


def small_picture(i, b):
    """Uncovered gallery picture: the dressed dog on a sunny snapshot."""
    cw, ch = (BIG_W, BIG_H) if i in (1, 7) else (DOG_W, DOG_H)
    ctx, body = dog_body(i, b, True)
    sky = ('<rect width="100" height="96" fill="url(#cs)"/><ellipse cx="50" cy="100" rx="80" ry="26" fill="#7cc460"/>')
    ctx.extra_def('cs', lin('cs', 0, 0, 0, 1, [(0, '#7fc4ee'), (1, '#d8f0ff')]))
    scale = 92.0 / ch
    inner = sky + '<g transform="translate(%s 94) scale(%s) translate(%s %s)"><g transform="%s">%s</g></g>' % (
        fmt(50 - cw * scale / 2), fmt(scale), 0, fmt(-ch), dog_transform(b, cw, ch), body)
    return doc(128, 150, _card_frame(ctx, inner, '', '#cfe8f8'), ctx.defs_text())


def card_picture(i, b):
    """Gallery card before the dog is won: its shadow and a question mark."""
    cw, ch = (BIG_W, BIG_H) if i in (1, 7) else (DOG_W, DOG_H)
    ctx, body = dog_body(i, b, False)
    ctx.extra_def('flat', '<filter id="flat"><feFlood flood-color="#6a5a7a"/><feComposite in2="SourceAlpha" operator="in"/></filter>')
    scale = 92.0 / ch
    inner = ('<rect width="100" height="96" fill="#d9cfe8"/>'
             '<g transform="translate(%s 94) scale(%s) translate(0 %s)" filter="url(#flat)" opacity="0.75"><g transform="%s">%s</g></g>'
             '<text x="50" y="62" text-anchor="middle" font-family="TeX Gyre Bonum, serif" font-weight="bold" font-size="46" '
             'fill="#ffffff" stroke="#5a4a6a" stroke-width="3" paint-order="stroke">?</text>'
             % (fmt(50 - cw * scale / 2), fmt(scale), fmt(-ch), dog_transform(b, cw, ch), body))
    return doc(128, 150, _card_frame(ctx, inner, '', '#d9cfe8'), ctx.defs_text())


def _theme(name):
    for t in scenes.THEMES:
        if t['name'] == name:
            return t
    raise KeyError(name)


def _bunting(rng, cols, y0=26, sag=34):
    out = ['<path d="M-10 %d Q240 %d 490 %d" fill="none" stroke="#6a4a2a" stroke-width="2.5"/>' % (y0, y0 + 2 * sag, y0 + 8)]
    for k in range(16):
        t = (k + 0.5) / 16.0
        x = -10 + 500 * t
        y = (1 - t) ** 2 * y0 + 2 * (1 - t) * t * (y0 + 2 * sag) + t * t * (y0 + 8)
        c = cols[k % len(cols)]
        out.append('<path d="M%s %s L%s %s L%s %s Z" fill="%s" stroke="%s" stroke-width="2" stroke-linejoin="round"/>'
                   % (fmt(x - 12), fmt(y), fmt(x + 12), fmt(y), fmt(x), fmt(y + 30), c, shade(c, 0.45)))
        out.append('<path d="M%s %s L%s %s" stroke="#ffffff" stroke-opacity="0.5" stroke-width="3"/>' % (fmt(x - 7), fmt(y + 4), fmt(x - 2), fmt(y + 16)))
    return ''.join(out)


def _note(x, y, s, c, rot):
    return ('<g transform="translate(%s %s) rotate(%s) scale(%s)">'
            '<path d="M8 -34 V0 M8 -34 Q20 -28 24 -16" fill="none" stroke="%s" stroke-width="4" stroke-linecap="round"/>'
            '<ellipse cx="0" cy="0" rx="9" ry="7" transform="rotate(-20)" fill="%s" stroke="%s" stroke-width="2"/></g>'
            % (fmt(x), fmt(y), fmt(rot), fmt(s), shade(c, 0.5), c, shade(c, 0.5)))


def _flake(x, y, r):
    arms = ''.join('<path d="M0 0 L%s %s" />' % (fmt(r * __import__('math').cos(a * 1.0472)), fmt(r * __import__('math').sin(a * 1.0472))) for a in range(6))
    return ('<g transform="translate(%s %s)" stroke="#ffffff" stroke-width="2.5" stroke-linecap="round" opacity="0.9">%s</g>'
            % (fmt(x), fmt(y), arms))


def stage_decor(i, rng):
    """A little of the owner's story in the sky of the stage picture."""
    top = lambda: (rng.uniform(20, 460), rng.uniform(20, 130))
    out = []
    if i in (0, 3, 11):
        cols = {0: ['#ff8fb4', '#fbeecb', '#1ccfc2', '#ffd93a'], 3: ['#e03a30', '#ffd93a'], 11: ['#c8202a', '#f7c531', '#3f8cff']}[i]
        out.append(_bunting(rng, cols))
        if i == 11:
            for _ in range(40):
                x, y = rng.uniform(0, 480), rng.uniform(60, 300)
                out.append('<rect x="%s" y="%s" width="6" height="10" rx="1.5" transform="rotate(%s %s %s)" fill="%s"/>'
                           % (fmt(x), fmt(y), fmt(rng.uniform(0, 180)), fmt(x), fmt(y), rng.choice(['#ef4a43', '#ffd93a', '#3f8cff', '#5fcd48', '#ff8fb4'])))
    elif i in (2, 8):
        cols = ['#ff6fb0', '#ffd93a', '#ffffff'] if i == 2 else ['#1ccfc2', '#a65ef0', '#ffd93a']
        for k in range(9):
            x, y = top()
            out.append(_note(x, y + 20, rng.uniform(0.8, 1.3), cols[k % 3], rng.uniform(-20, 20)))
    elif i == 1 or i == 7:
        for _ in range(5):
            x, y = top()
            s = rng.uniform(0.7, 1.2)
            out.append('<path d="M%s %s q%s %s %s 0 q%s %s %s 0" fill="none" stroke="%s" stroke-width="3.5" stroke-linecap="round" stroke-linejoin="round"/>'
                       % (fmt(x - 16 * s), fmt(y), fmt(8 * s), fmt(-10 * s), fmt(16 * s), fmt(8 * s), fmt(-10 * s), fmt(16 * s),
                          '#3a3a48' if i == 7 else '#ffffff'))
        if i == 7:
            for _ in range(40):
                x, y = rng.uniform(0, 480), rng.uniform(0, 480)
                out.append('<circle cx="%s" cy="%s" r="%s" fill="#ffffff" opacity="0.8"/>' % (fmt(x), fmt(y), fmt(rng.uniform(1.5, 3.5))))
    elif i == 4:
        for _ in range(10):
            x, y = top()
            out.append('<path d="%s" fill="#fff6b0" opacity="0.95"/>' % star_path(x, y, rng.uniform(5, 10), 2.2, 4))
        out.append('<path d="M60 40 L170 90" stroke="#ffffff" stroke-width="3" stroke-linecap="round" opacity="0.8"/>'
                   '<path d="%s" fill="#ffffff"/>' % star_path(170, 90, 9, 3, 5))
    elif i == 5:
        for k, c in enumerate(['#ef4a43', '#ffd93a', '#3f8cff', '#5fcd48', '#a65ef0']):
            x, y = 40 + k * 44 + rng.uniform(-6, 6), 40 + rng.uniform(-10, 20)
            out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="2"/>' % (blob(x, y, 17, 14, 9, 0.3, phase=rng.uniform(0, 1)), c, shade(c, 0.5)))
            out.append('<ellipse cx="%s" cy="%s" rx="5" ry="3" fill="#ffffff" opacity="0.6"/>' % (fmt(x - 5), fmt(y - 5)))
    elif i == 6:
        for _ in range(14):
            x, y = rng.uniform(0, 480), rng.uniform(10, 300)
            out.append(_flake(x, y, rng.uniform(6, 12)))
    elif i == 9:
        out.append('<g transform="translate(70 80) rotate(-30)"><rect x="-6" y="30" width="12" height="50" rx="5" fill="#6a4020" stroke="#3b2414" stroke-width="3"/>'
                   '<circle r="34" fill="#dff3ff" fill-opacity="0.45" stroke="#c9a040" stroke-width="8"/>'
                   '<path d="M-18 -12 Q-10 -24 4 -24" fill="none" stroke="#ffffff" stroke-width="5" stroke-linecap="round"/></g>')
        for k in range(3):
            x, y = 170 + k * 50 + rng.uniform(-10, 10), 40 + rng.uniform(-10, 30)
            out.append('<text x="%s" y="%s" font-family="TeX Gyre Bonum, serif" font-weight="bold" font-size="%d" fill="#fff4dc" '
                       'stroke="#8a5a2e" stroke-width="2.5" paint-order="stroke">?</text>' % (fmt(x), fmt(y), 30 + k * 4))
    elif i == 10:
        for _ in range(5):
            x, y = top()
            c = rng.choice(['#ff8fb4', '#ffd93a', '#b48cff', '#3f8cff'])
            out.append('<g transform="translate(%s %s) rotate(%s)"><ellipse cx="-8" cy="-5" rx="9" ry="7" fill="%s" stroke="%s" stroke-width="2"/>'
                       '<ellipse cx="8" cy="-5" rx="9" ry="7" fill="%s" stroke="%s" stroke-width="2"/>'
                       '<ellipse cx="-6" cy="6" rx="6" ry="5" fill="%s" stroke="%s" stroke-width="2"/><ellipse cx="6" cy="6" rx="6" ry="5" fill="%s" stroke="%s" stroke-width="2"/>'
                       '<path d="M0 -8 V10" stroke="#3b2414" stroke-width="3" stroke-linecap="round"/></g>'
                       % (fmt(x), fmt(y), fmt(rng.uniform(-25, 25)), c, shade(c, 0.5), c, shade(c, 0.5), c, shade(c, 0.5), c, shade(c, 0.5)))
    return ''.join(out)


def stage_picture(i, b, p):
    """480 x 480 jigsaw picture: the owner behind the dressed dog in a scene."""
    theme, seed = STAGE_SCENES[i]
    back = scenes.scene(_theme(theme), 3000 + seed)
    # the board background drawn into a nested view, its middle part
    back_inner = back[back.index('>', back.index('<svg')) + 1: back.rindex('</svg>')]
    cx0 = [140, 256, 180, 230, 200, 150, 256, 120, 300, 200, 170, 240][i]
    out = ['<svg x="0" y="0" width="480" height="480" viewBox="%d 160 600 600" preserveAspectRatio="xMidYMid slice">%s</svg>'
           % (cx0, back_inner)]
    out.append(stage_decor(i, random.Random(500 + i)))
    octx = Ctx('o')
    out.append(draw_person(octx, p, 340, 480, 0.95))
    cw, ch = (BIG_W, BIG_H) if i in (1, 7) else (DOG_W, DOG_H)
    ctx, body = dog_body(i, b, True)
    s = 1.05 if i not in (1, 7) else 0.98
    out.append('<g transform="translate(%s %s) scale(%s) translate(%s %s)"><g transform="%s">%s</g></g>'
               % (fmt(170 - cw * s / 2), fmt(476), fmt(s), 0, fmt(-ch), dog_transform(b, cw, ch), body))
    # soft frame vignette
    ctx.extra_def('zvig', rad('zvig', 0.5, 0.5, 0.72, [(0.7, '#000000', 0), (1, '#000000', 0.25)]))
    out.append('<rect width="480" height="480" fill="url(#zvig)"/>')
    return doc(480, 480, '\n'.join(out), octx.defs_text() + ctx.defs_text())


# ----------------------------------------------------------------------------
# Owner scene: the backdrop (a garden before the owner's house), the window
# (empty.jpg: opened, lit) with the boy or girl shadow, panels.
# ----------------------------------------------------------------------------
WIN_X, WIN_W, WIN_H = 433, 591, 460   # the window pictures' place and size


def _house(ctx, opened, figure=None):
    """The house wall with its big window, in screen coordinates."""
    out = []
    ctx.extra_def('wall', lin('wall', 0, 0, 1, 1, [(0, '#f8e6c4'), (1, '#e2c08e')]))
    out.append('<path d="M440 -10 H1034 V600 H440 Z" fill="url(#wall)" stroke="#5a3215" stroke-width="4"/>')
    for k in range(0, 20):
        y = 18 + k * 30
        out.append('<path d="M442 %d H1034" stroke="#c9a06a" stroke-width="2" opacity="0.5"/>' % y)
    out.append('<path d="M440 -10 V600" stroke="#8a5a2e" stroke-width="14"/>')
    # the window opening: inner area x 478..1000, y 26..400
    if opened:
        ctx.extra_def('room', lin('room', 0, 0, 0, 1, [(0, '#ffe6b0'), (1, '#f6c27a')]))
        out.append('<rect x="478" y="26" width="522" height="374" fill="url(#room)"/>')
        for k in range(12):
            out.append('<path d="M%d 26 V400" stroke="#f0b060" stroke-width="14" opacity="0.35"/>' % (490 + k * 46))
        out.append('<g transform="translate(560 90)"><rect x="-34" y="-40" width="68" height="80" rx="6" fill="#fff4dc" stroke="#8a5a2e" stroke-width="5"/>'
                   '<path d="M-22 26 Q-10 -6 0 6 Q12 -20 22 26 Z" fill="#7cc460"/><circle cx="10" cy="-18" r="7" fill="#ffd93a"/></g>')
        out.append('<g transform="translate(930 70)"><path d="M-30 0 L30 0 L20 -34 L-20 -34 Z" fill="#ffb52e" stroke="#8a5a2e" stroke-width="4"/>'
                   '<path d="M0 0 V40" stroke="#8a5a2e" stroke-width="4"/></g>')
        ctx.extra_def('glow', rad('glow', 0.5, 0.3, 0.6, [(0, '#fffbe0', 0.7), (1, '#fffbe0', 0)]))
        out.append('<rect x="478" y="26" width="522" height="374" fill="url(#glow)"/>')
        if figure:
            out.append(figure)
        # curtains pulled to the sides
        for s, x in ((-1, 478), (1, 1000)):
            d = ('M%d 26 Q%d 200 %d 400 L%d 400 Q%d 220 %d 26 Z'
                 % (x, x - s * 10, x, x - s * 46, x - s * 30, x - s * 80))
            out.append(ctx.shape(d, '#e5566a', 'body', w=3))
        out.append(ctx.shape(rrect_path(470, 22, 538, 22, 8), '#c98a3c', 'vert', w=3))
    else:
        ctx.extra_def('glass', lin('glass', 0, 0, 1, 1, [(0, '#cfe9fb'), (0.5, '#9cc9ea'), (1, '#7fb2dc')]))
        out.append('<rect x="478" y="26" width="522" height="374" fill="url(#glass)"/>')
        for k in range(3):
            out.append('<path d="M%d 26 L%d 400" stroke="#ffffff" stroke-width="%d" opacity="0.35"/>' % (560 + k * 170, 480 + k * 170, 30 - k * 8))
        # closed shutters
        for x in (478, 739):
            out.append(ctx.shape(rrect_path(x, 26, 261, 374, 4), '#5fa84a', 'body', w=3))
            for k in range(12):
                out.append('<path d="M%d %d h%d" stroke="#3f7a30" stroke-width="4" opacity="0.7"/>' % (x + 16, 50 + k * 29, 229))
            out.append('<circle cx="%d" cy="213" r="7" fill="#ffd93a" stroke="#8a6010" stroke-width="2"/>' % (x + (245 if x == 478 else 16)))
    # frame around the window and the sill below (the owner's picture ends at 400)
    out.append('<path d="M466 14 H1012 V412 H466 Z M478 26 V400 H1000 V26 Z" fill-rule="evenodd" fill="%s" stroke="#5a3215" stroke-width="4"/>' % ctx.grad('#b8783c', 'body'))
    out.append(ctx.shape(rrect_path(452, 400, 574, 26, 6), '#c98a3c', 'vert', w=4))
    # flower box
    out.append(ctx.shape(rrect_path(500, 426, 480, 40, 8), '#c4683a', 'vert', w=4))
    rng = random.Random(77)
    for k in range(18):
        x = 510 + k * 26 + rng.uniform(-4, 4)
        col = ['#ef4a43', '#ffd93a', '#ff8fb4', '#ffffff', '#b48cff'][k % 5]
        out.append('<path d="M%s 436 q4 -10 0 -18" stroke="#3f8a30" stroke-width="4" fill="none"/>' % fmt(x))
        out.append('<path d="%s" fill="%s" stroke="%s" stroke-width="2"/><circle cx="%s" cy="%s" r="3.5" fill="#ffb52e"/>'
                   % (blob(x, 418, 9, 8, 5, 0.6, phase=k * 0.2), col, shade(col, 0.5), fmt(x), fmt(418)))
    return ''.join(out)


def owner_scene_back(ctx, opened=False, figure=None):
    t = dict(_theme('meadow'))
    t['extras'] = ['flowers']
    back = scenes.scene(t, 4242)
    inner = back[back.index('>', back.index('<svg')) + 1: back.rindex('</svg>')]
    out = [inner]
    # path and a round rug of grass where the dog sits
    out.append('<ellipse cx="234" cy="548" rx="190" ry="34" fill="#e8d3a2" stroke="#c9a86a" stroke-width="3"/>')
    out.append('<ellipse cx="226" cy="542" rx="150" ry="20" fill="#f4e4be" opacity="0.8"/>')
    out.append(_house(ctx, opened, figure))
    # steps at the foot of the house
    out.append(ctx.shape(rrect_path(600, 590, 300, 24, 6), '#d9c4a0', 'vert', w=3))
    return ''.join(out)


BOY = dict(skin='#000000', hair='#000000', style='short', clothes='#000000', collar='round')
GIRL = dict(skin='#000000', hair='#000000', style='ponytail', clothes='#000000', collar='round')


def window_picture(figure_person=None):
    ctx = Ctx('w')
    fig = None
    extra = ''
    if figure_person:
        body = draw_person(Ctx('f'), figure_person, 790, 400, 1.0)
        fctx = Ctx('f')
        body = draw_person(fctx, figure_person, 790, 400, 1.0)
        extra = ('<filter id="shadowfig"><feFlood flood-color="#3a2a3a" flood-opacity="0.82"/><feComposite in2="SourceAlpha" operator="in"/>'
                 '<feGaussianBlur stdDeviation="1.5"/></filter>' + fctx.defs_text())
        fig = '<g filter="url(#shadowfig)">%s</g>' % body
    scene = owner_scene_back(ctx, True, fig)
    body = '<svg x="0" y="0" width="%d" height="%d" viewBox="%d 0 %d %d">%s</svg>' % (WIN_W, WIN_H, WIN_X, WIN_W, WIN_H, scene)
    return doc(WIN_W, WIN_H, body, ctx.defs_text() + extra)


def panel_picture(pal, w, h, flip=False):
    ctx = Ctx('p')
    wd = pal['wood']
    ctx.extra_def('pw', lin('pw', 0, 0, 0, 1, [(0, wd['light']), (1, wd['dark'])]))
    r = 18
    if flip:
        d = 'M%d 2 H%d V%d H2 V%d Q2 2 %d 2 Z' % (w, w, h, r + 2, r + 2)
        d = 'M0 2 H%d Q%d 2 %d %d V%d H0 Z' % (w - r - 2, w - 2, w - 2, r + 2, h)
    else:
        d = 'M%d 2 H%d V%d H2 V%d Q2 2 %d 2 Z' % (r + 2, w, h, r + 2, r + 2)
    body = ['<path d="%s" fill="url(#pw)" stroke="%s" stroke-width="3"/>' % (d, pal['ink'])]
    body.append('<path d="M14 8 H%d" stroke="#ffffff" stroke-opacity="0.3" stroke-width="3"/>' % (w - 14))
    for k in range(1, 3):
        y = h * k / 3.0
        body.append('<path d="M16 %s q%s -4 %s 0 t%s 0" fill="none" stroke="#2a170b" stroke-opacity="0.2" stroke-width="1.5"/>'
                    % (fmt(y), fmt(w / 4.0), fmt(w / 2.0), fmt(w / 2.0 - 30)))
    return doc(w, h, ''.join(body), ctx.defs_text())


def build(add, pal):
    for i, b in enumerate(DOGS):
        n = i + 1
        add('dogs/dog%02d.png' % n, dog_picture(i, b, False))
        add('dogs/dog%02d-dressed.png' % n, dog_picture(i, b, True))
        add('dogs/small/dog%02d.png' % n, small_picture(i, b))
        add('dogs/cards/dog%02d.png' % n, card_picture(i, b))
        add('dogs/owners/owner%02d.png' % n, owner_picture(i, OWNERS[i]))
        add('puzzle/pictures/stage%02d.png' % n, stage_picture(i, b, OWNERS[i]))
    ctx = Ctx('b')
    add('gui/ubieranie/back.jpg', doc(1024, 768, owner_scene_back(ctx, False), ctx.defs_text()))
    add('gui/ubieranie/empty.jpg', window_picture())
    add('gui/ubieranie/boy.jpg', window_picture(BOY))
    add('gui/ubieranie/girl.jpg', window_picture(GIRL))
    add('gui/ubieranie/panel-right.png', panel_picture(pal, 300, 68))
    add('gui/ubieranie/panel-left.png', panel_picture(pal, 300, 68, flip=True))
    add('gui/ubieranie/panel.png', panel_picture(pal, 420, 120))
    cream = pal['cream']
    add('gui/ubieranie/podklad.png', doc(400, 100, '<path d="%s" fill="%s" stroke="%s" stroke-width="3"/>'
                                         % (rrect_path(2, 2, 396, 96, 14), cream, pal['ink'])))
    add('gui/ubieranie/linia.png', doc(400, 8, '<rect x="0" y="2" width="400" height="4" rx="2" fill="%s"/>' % pal['band']['mid']))
    add('gui/ubieranie/podzialka.png', doc(24, 24, '<path d="%s" fill="%s" stroke="%s" stroke-width="2"/>'
                                           % (star_path(12, 12, 10, 4), pal['gold'], pal['ink'])))
