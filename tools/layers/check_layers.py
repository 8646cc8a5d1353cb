#!/usr/bin/env python3
"""Checks that every source folder includes only the folders it stands on.

Usage: check_layers.py SOURCE_DIR [--graph]

The floors come from the top CMakeLists.txt: each brimble_module(...) or
brimble_upper(...) line names a folder's library and the libraries it links
(DEPS). A file of folder F may include headers of F and of every library F
reaches through DEPS; anything else is a wrong include and is reported with
its file and line. --graph prints the folder graph the includes make, one
folder a line, lowest floor first.
"""
import os
import re
import sys

MODULE = re.compile(r'^\s*brimble_(?:module|upper)\((\w+)(.*?)\)\s*$', re.M)


def floors(cmake_text):
    deps = {}
    for name, rest in MODULE.findall(cmake_text):
        m = re.search(r'DEPS\s+(.*)$', rest)
        words = m.group(1).split() if m else []
        deps[name] = [w[len('brimble_'):] for w in words if w.startswith('brimble_')]
    return deps


def folder_of(lib):
    return {'platform_sdl': 'platform/sdl'}.get(lib, lib)


def reach(deps, lib, seen=None):
    seen = set() if seen is None else seen
    for d in deps.get(lib, []):
        if d not in seen:
            seen.add(d)
            reach(deps, d, seen)
    return seen


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    root = argv[1]
    with open(os.path.join(root, 'CMakeLists.txt'), encoding='utf-8') as f:
        text = f.read()
    deps = floors(text)
    # The wiring links every upper library through a variable: it may include all.
    libs = set(deps)
    if 'wiring' in deps:
        deps['wiring'] = sorted(libs - {'wiring'})
    src = os.path.join(root, 'src')
    include = re.compile(r'^\s*#\s*include\s+"([\w/]+)/[^"/]+"', re.M)
    bad = []
    graph = {}
    for lib in sorted(libs):
        folder = folder_of(lib)
        d = os.path.join(src, folder)
        if not os.path.isdir(d):
            continue
        allowed = {folder_of(x) for x in reach(deps, lib)} | {folder}
        for fn in sorted(os.listdir(d)):
            if not fn.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(d, fn)
            with open(path, encoding='utf-8', errors='replace') as f:
                body = f.read()
            for m in include.finditer(body):
                target = m.group(1)
                if not os.path.isdir(os.path.join(src, target)):
                    continue
                graph.setdefault(folder, set()).add(target)
                if target not in allowed:
                    line = body.count('\n', 0, m.start()) + 1
                    bad.append('%s:%d: %s includes %s, which it does not stand on'
                               % (os.path.relpath(path, root), line, folder, target))
    if '--graph' in argv:
        for folder in sorted(graph, key=lambda f: (len(reach(deps, f.replace('/', '_'))), f)):
            below = sorted(graph[folder] - {folder})
            print('%-10s -> %s' % (folder, ', '.join(below) if below else '(nothing)'))
    for b in bad:
        print(b)
    if bad:
        print('%d wrong include(s)' % len(bad))
        return 1
    print('layers: %d folders, every include stands on a lower floor' % len(graph))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
