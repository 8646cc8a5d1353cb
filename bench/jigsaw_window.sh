#!/usr/bin/env bash
# bench/jigsaw_window.sh
# The last stage's 42-piece jigsaw in a real window under Xvfb (Mesa's
# software OpenGL), resumed from a player whose jigsaw has its top half
# joined into one group of pieces on the board and the rest laid out round
# it:
#  - frame times while that group is dragged across the board and back
#    (the game prints the frames in which something is held: update and
#    drawing, and the whole frame with its present, the 60 fps sleep left
#    out; goal: none over 16.7 ms);
#  - idle CPU of the jigsaw screen (nothing held, pointer resting on the
#    board) and of the owner scene (a quest started at level 100), each over
#    10 s after 8 s of settling (goal: at most 45% of one core);
#  - the pointer test's CPU per frame on the headless backend
#    (build/bench_jigsaw_pointer, when built).
# Needs xvfb-run (package xvfb). Run from the project's root after `make`.
set -u
. "$(dirname "$0")/common.sh" build/brimble

# The player: stage 12, level 190 won (its quota is every piece), on the
# jigsaw. Prints the pointer's place on a member of the group.
make_player() {
  python3 - "$PWD/game" "$1" <<'EOF'
import os, re, sys
game, user = sys.argv[1], sys.argv[2]
src = open(os.path.join(game, "data/puzzles/stage12.dat")).read()
pieces = []
for m in re.finditer(r"\bp\d+ \{(.*?)\}", src, re.S):
    b = m.group(1)
    get = lambda k: re.search(r"\b" + k + r" = (.*)", b).group(1).strip()
    dx, dy = (int(float(v)) for v in get("ddim").split(","))
    pieces.append({"id": int(get("id")), "img": get("img"), "ddim": (dx, dy), "sasiedzi": get("sasiedzi")})
st = (262, 20)
group = [p for p in pieces if p["ddim"][1] < 240]
def png_size(rel):
    with open(os.path.join(game, rel.strip('"')), "rb") as f:
        d = f.read(24)
    return int.from_bytes(d[16:20], "big"), int.from_bytes(d[20:24], "big")
out = ["puzzles {", "\tst = 262, 20", f"\ti = {len(pieces)}"]
for k, p in enumerate(pieces, 1):
    inside = p in group
    x, y = (st[0] + p["ddim"][0], st[1] + p["ddim"][1]) if inside else (0, 0)
    out += [f"\tp{k} {{", f"\t\tid = {p['id']}", f"\t\timg = {p['img']}", f"\t\tddim = {p['ddim'][0]}, {p['ddim'][1]}",
            f"\t\tsasiedzi = {p['sasiedzi']}", f"\t\tdim = {x}, {y}", "\t\tactive = 1", "\t}", ""]
loose = [p for p in pieces if p not in group]
out += ["\tpuzzlesAndGroups {", f"\t\ti = {1 + len(loose)}", "\t\tpog1 {", '\t\t\ttyp = "GROUP"',
        '\t\t\tgrupa = "' + " ".join(str(p["id"]) for p in group) + '"', "\t\t}", ""]
for k, p in enumerate(loose, 2):
    out += [f"\t\tpog{k} {{", '\t\t\ttyp = "PUZZLE"', f"\t\t\tid = {p['id']}", "\t\t\ta = 1", "\t\t}", ""]
out += ["\t}", "", "}", ""]
folder = "-".join(str(ord(c)) for c in "PLAYER") + "-"
d = os.path.join(user, "Profiles", folder)
os.makedirs(d, exist_ok=True)
open(os.path.join(d, "puzzleLevel.dat"), "w").write("\n".join(out))
lvl = open(os.path.join(game, "data/levels/level191.lvl"), "rb").read()
open(os.path.join(d, "questlevel.lvl"), "wb").write(lvl)
owned = "".join(f"\t\tpuzzle{k} = {p['id']}\n" for k, p in enumerate(pieces, 1))
open(os.path.join(d, "profile.dat"), "w").write(
    'profile {\n\tname = "Player"\n\tnrLevelu = 191\n\tnrStage = 12\n\tpuzzles = 42\n\tscore = 0\n'
    '\tgameType = "PUZZLE"\n\tgameMode = "RELAXED"\n\tulozone = 0\n\tquestLevel = 1\n\tlevelTime = 0\n'
    f'\tpuzzleLevel = 1\n\ttutorialOn = 0\n\tactivePuzzles {{\n\t\ti = {len(pieces)}\n{owned}\t}}\n\n'
    '\tdogies {\n\t\ti = 0\n\t}\n\n}\n')
open(os.path.join(user, "Profiles", "profiles.dat"), "w").write(
    f'Profiles {{\n\ti = 1\n\tActProfile = "{folder}"\n\tProfile1 = "Player", "{folder}"\n}}\n')
# The pointer on the middle of the group's member nearest the board's centre.
best = min(group, key=lambda p: abs(p["ddim"][0] + 50 - 250) + abs(p["ddim"][1] + 60 - 120))
w, h = png_size(best["img"])
print(st[0] + best["ddim"][0] + w // 2, st[1] + best["ddim"][1] + h // 2)
EOF
}

# The menu's Play, the quest dialog's resume: the jigsaw.
resume='wait 150\nclick 392 635\nwait 40\nclick 512 385\nwait 200\n'

rm -rf "$TMP/user"
read -r gx gy < <(make_player "$TMP/user")
{
  printf "$resume"
  x=$gx
  y=$gy
  # Across the board and back, four times, 3 px a frame.
  for round in 1 2 3 4; do
    printf 'drag %d %d %d %d 90\nwait 10\n' $x $y $((x + 270)) $((y + 120))
    printf 'drag %d %d %d %d 90\nwait 10\n' $((x + 270)) $((y + 120)) $x $y
  done
  printf 'wait 30\n'
} >"$TMP/drag.e2e"
echo "== dragging a group of the 42-piece jigsaw across the board (window, 60 fps)"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  'BRIMBLE_FRAME_STATS=1 "$0" --data "$1/data" --windowed --user-dir "$1/user" --script "$1/drag.e2e" \
     >"$1/out.txt" 2>"$1/err.txt"' "$GAME" "$TMP"
grep -E "^jigsaw " "$TMP/err.txt" | sed 's/^/  /'
grep -q "puzzle: piece" "$TMP/out.txt" || { echo "  the jigsaw did not open:"; tail -5 "$TMP/err.txt"; }

# idle NAME ARGS...: CPU of the game over 10 s after 8 s of settling
idle() {
  local name=$1
  shift
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$@" >/dev/null 2>&1 & p=$!
    sleep 8; a=$(awk "{print \$14 + \$15}" /proc/$p/stat); sleep 10; b=$(awk "{print \$14 + \$15}" /proc/$p/stat)
    echo "$(( (b - a) * 100 / $(getconf CLK_TCK) / 10 ))% of one core"; kill $p; wait $p 2>/dev/null' _ "$@" |
    sed "s/^/== idle $name: /"
}
rm -rf "$TMP/user"
make_player "$TMP/user" >/dev/null
printf "${resume}move 512 300\nwait 3000\n" >"$TMP/idle-jigsaw.e2e"
idle "jigsaw screen (42 pieces, pointer on the board)" \
  "$GAME" --data "$TMP/data" --windowed --user-dir "$TMP/user" --script "$TMP/idle-jigsaw.e2e"
rm -rf "$TMP/user"
printf 'wait 200\nmove 700 200\nwait 3000\n' >"$TMP/idle-owner.e2e"
idle "owner scene (level 100)" \
  "$GAME" --data "$TMP/data" --windowed --user-dir "$TMP/user" --script "$TMP/idle-owner.e2e" --quest-at 100

if [ -x build/bench_jigsaw_pointer ]; then
  echo "== pointer test per frame, headless (every entry of the 42-piece jigsaw tested once)"
  build/bench_jigsaw_pointer --benchmark_min_time=0.2 2>/dev/null | grep -E "^BM_" | sed 's/^/  /'
fi
