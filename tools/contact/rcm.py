"""Reader for the game's grouped key-value files, for the build's tools.

Follows the game's own reading rules: groups are "name {" ... "}", entries are
"name = v1, v2" lines, string items are written with quotes, names compare
without regard to case.
"""


def _decode(raw):
    if raw[:2] in (b'\xff\xfe', b'\xfe\xff'):
        return raw.decode('utf-16')
    if raw[:3] == b'\xef\xbb\xbf':
        return raw[3:].decode('utf-8')
    return raw.decode('latin-1')


class Group:
    def __init__(self, name):
        self.name = name
        self.groups = []
        self.entries = []  # (name, [items], is_number)

    def group(self, name):
        for g in self.groups:
            if g.name.lower() == name.lower():
                return g
        return None

    def entry(self, name):
        for e in self.entries:
            if e[0].lower() == name.lower():
                return e
        return None


def _read_entry(line):
    parts = line.split('=')
    name = parts[0].strip()
    value = parts[1] if len(parts) > 1 else ''
    pieces, cur, inq = [], '', False
    for ch in value:
        if ch == '"':
            inq = not inq
        if ch == ',' and not inq:
            pieces.append(cur)
            cur = ''
        else:
            cur += ch
    pieces.append(cur)
    while pieces and pieces[-1] == '':
        pieces.pop()
    t = value.strip()
    is_num = bool(t) and (t[0].isdigit() or t[0] == '-')
    items = [p.strip() for p in pieces] if is_num else [p[2:-1] for p in pieces]
    return name, items, is_num


def _read_all(text, i, name):
    g = Group(name)
    acc_name, acc_line, eq = '', '', False
    while i < len(text):
        ch = text[i]
        if ch == '{':
            sub, i = _read_all(text, i + 1, acc_name.strip())
            g.groups.append(sub)
            acc_name = ''
            continue
        if ch == '}':
            return g, i + 1
        if ch == '\n':
            if eq:
                g.entries.append(_read_entry(acc_line.strip()))
                acc_name, acc_line, eq = '', '', False
        else:
            if ch == '=':
                eq = True
            acc_name += ch
            acc_line += ch
        i += 1
    return g, i


def load(path):
    with open(path, 'rb') as f:
        text = _decode(f.read())
    opens = closes = 0
    inq = False
    for ch in text:
        if ch == '"':
            inq = not inq
        elif not inq and ch == '{':
            opens += 1
        elif not inq and ch == '}':
            closes += 1
    if opens != closes:
        raise ValueError('%s: unbalanced braces ({ %d, } %d)' % (path, opens, closes))
    if text.endswith('}'):
        text += '\n'
    return _read_all(text, 0, 'MAINGROUP')[0]


def get(root, path, index=0, default=''):
    parts = path.split('::')
    g = root
    for p in parts[:-1]:
        g = g.group(p) if g else None
    e = g.entry(parts[-1]) if g else None
    if not e or index >= len(e[1]):
        return default
    return e[1][index]


def num(root, path, index=0):
    v = get(root, path, index, '0')
    try:
        return int(float(v))
    except ValueError:
        return 0


def walk(g, prefix=''):
    """Yields (key path, items, is_number) for every entry of the tree."""
    for e in g.entries:
        yield prefix + e[0], e[1], e[2]
    for s in g.groups:
        yield from walk(s, prefix + s.name + '::')
