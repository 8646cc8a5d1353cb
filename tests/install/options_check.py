#!/usr/bin/env python3
"""options_check.py BRIMBLE SOURCE_DIR

The game's options as three places give them must agree: `brimble --help`,
the manual page (dist/brimble.6.in) and the README's "Command line" section.
Prints what one place has and another lacks; exit status 1 then."""
import re
import subprocess
import sys


def flags(text):
    return set(re.findall(r"(?<![\w-])--[a-z][a-z-]*[a-z]", text))


def main():
    game, src = sys.argv[1], sys.argv[2]
    run = subprocess.run([game, "--help"], capture_output=True, text=True)
    if run.returncode != 0:
        print(f"brimble --help: exit status {run.returncode}")
        return 1
    places = {"--help": flags(run.stdout)}
    man = open(f"{src}/dist/brimble.6.in", encoding="utf-8").read()
    # roff writes a dash in an option as \-
    places["the manual page"] = flags(man.replace("\\-", "-"))
    readme = open(f"{src}/README.md", encoding="utf-8").read()
    section = re.search(r"^## Command line.*?(?=^## )", readme, re.S | re.M)
    if not section:
        print("README.md has no \"Command line\" section")
        return 1
    places["the README"] = flags(section.group(0))
    ok = True
    names = list(places)
    for a in names:
        for b in names:
            missing = places[a] - places[b]
            if a != b and missing:
                ok = False
                print(f"{a} has {' '.join(sorted(missing))}, {b} does not")
    if len(places["--help"]) < 10:
        print(f"--help lists only {sorted(places['--help'])}")
        ok = False
    print(("the same %d options in --help, the manual page and the README" % len(places["--help"]))
          if ok else "the three places disagree")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
