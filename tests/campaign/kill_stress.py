#!/usr/bin/env python3
"""Kills the game at random moments all through a fixture campaign and shows
that the player's files always load whole and resume where they were saved.

    kill_stress.py BRIMBLE DATA USERDIR WORKDIR [KILLS] [SEED]

DATA is a data folder holding the fixture campaign and "cheats.txt" (the
keys W and G win a level and complete a jigsaw), USERDIR a per-user folder
with one player at the menu (tests/e2e/quest_kill_stress.e2e makes both).
Each run starts the game headless at the menu, resumes the quest (or starts a
new one once a campaign is complete), expects the screen the profile names,
then plays on with keys and clicks that move every screen of the campaign
forward, and is killed (SIGKILL) after a random delay. After every kill:

- every file of the player's folder and the profile list parse whole;
- the profile names a stage the dog table holds, a level the quest table
  holds (or the one after the last), a jigsaw whose pieces are the pictures
  of that stage's own puzzle, and owned pieces that exist in that jigsaw,
  the same set the jigsaw file marks as owned;
- progress never goes back (stage, then level), except that a complete
  campaign starts again with a new quest;
and the next run, once it got past its resume, shows it resumed on the
saved screen, and on the jigsaw with the saved pieces where they lay.

Exit status 0 when everything held, 1 with the failures listed.
"""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

LAST_QUEST_LEVEL = 191
BOARD = (262, 20, 500, 500)  # the jigsaw's board: the pieces on it keep their places


class Broken(Exception):
    pass


def parse(path):
    """The game's grouped key/value file as nested dicts; Broken when it is
    not whole (unbalanced groups, a line cut short, nothing in it)."""
    try:
        with open(path, "rb") as f:
            raw = f.read()
    except OSError as e:
        raise Broken(f"{path}: {e}")
    if not raw.strip():
        raise Broken(f"{path}: empty")
    if not raw.endswith(b"\n"):
        raise Broken(f"{path}: cut short (no final line end)")
    root = {}
    stack = [root]
    for n, line in enumerate(raw.decode("latin-1").splitlines(), 1):
        s = line.strip()
        if not s:
            continue
        if s.endswith("{"):
            g = {}
            stack[-1][s[:-1].strip().lower()] = g
            stack.append(g)
        elif s == "}":
            if len(stack) == 1:
                raise Broken(f"{path}:{n}: a group closed that was never opened")
            stack.pop()
        elif "=" in s:
            k, v = s.split("=", 1)
            v = v.strip()
            if v.count('"') % 2:
                raise Broken(f"{path}:{n}: a value cut short")
            stack[-1][k.strip().lower()] = v
        else:
            raise Broken(f"{path}:{n}: not an entry: {s!r}")
    if len(stack) != 1:
        raise Broken(f"{path}: {len(stack) - 1} group(s) never closed")
    if not root:
        raise Broken(f"{path}: no group")
    return root


def text(v):
    return v.strip().strip('"') if v is not None else ""


def num(v, default=0):
    try:
        return int(float(text(v).split(",")[0]))
    except ValueError:
        return default


def pair(v):
    a, b = text(v).split(",")
    return int(float(a)), int(float(b))


def read_jigsaw(path):
    """{id: {"img", "dim", "owned"}}, the ids held in groups."""
    root = parse(path)["puzzles"]
    pieces = {}
    for k, g in root.items():
        if isinstance(g, dict) and k.startswith("p") and k[1:].isdigit():
            pieces[num(g["id"])] = {"img": text(g["img"]), "dim": pair(g["dim"]), "owned": num(g.get("active"))}
    if len(pieces) != num(root.get("i"), -1):
        raise Broken(f"{path}: i = {root.get('i')} but {len(pieces)} pieces")
    grouped = set()
    loose_owned = set()
    pog = root.get("puzzlesandgroups", {})
    for k, g in pog.items():
        if not isinstance(g, dict):
            continue
        if text(g.get("typ")).upper() == "GROUP":
            grouped |= {int(x) for x in text(g.get("grupa")).split()}
        elif num(g.get("a")):
            loose_owned.add(num(g.get("id")))
    return pieces, grouped, loose_owned


class Fixture:
    def __init__(self, data):
        dogs = parse(os.path.join(data, "data", "dogs.dat"))["dogs"]
        self.stage_puzzle = {}
        self.stage_start = {}
        for k, d in dogs.items():
            if isinstance(d, dict):
                n = len(self.stage_puzzle) + 1
                self.stage_puzzle[n] = text(d["puzzlelevel"])
                self.stage_start[n] = num(d["startowylevel"])
        self.dogs = len(self.stage_puzzle)
        self.stage_images = {
            s: {p["img"] for p in read_jigsaw(os.path.join(data, f))[0].values()}
            for s, f in self.stage_puzzle.items()
        }
        levels = parse(os.path.join(data, "data", "quest_levels.dat"))["levels"]
        self.levels = num(levels["i"])
        self.stage_start[self.dogs + 1] = self.levels + 1


def player_dir(user):
    lst = parse(os.path.join(user, "Profiles", "profiles.dat"))["profiles"]
    act = text(lst.get("actprofile"))
    if not act:
        raise Broken("profiles.dat names no current player")
    return os.path.join(user, "Profiles", act)


def fnv(path):
    h = 1469598103934665603
    with open(path, "rb") as f:
        for c in f.read():
            h = ((h ^ c) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return f"{h:016x}"


def settled(d, name, sum_):
    """The file the game reads for NAME: a save killed after "profile.dat"
    was written has its NAME.next put in place at the next load."""
    nxt = os.path.join(d, name + ".next")
    if sum_ and os.path.exists(nxt) and fnv(nxt) == sum_:
        return nxt
    return os.path.join(d, name)


def read_state(user, fx):
    """The saved quest as the game would resume it; Broken on any damaged or
    inconsistent file."""
    d = player_dir(user)
    for f in os.listdir(d):
        if not f.endswith(".tmp"):
            parse(os.path.join(d, f))
    p = parse(os.path.join(d, "profile.dat"))["profile"]
    st = {
        "level": num(p.get("nrlevelu"), 1),
        "stage": num(p.get("nrstage"), 1),
        "type": text(p.get("gametype")),
        "questLevel": num(p.get("questlevel")),
        "owned": set(),
        "jigsaw": None,
    }
    if st["type"] == "0":
        st["type"] = ""
    act = p.get("activepuzzles", {})
    for k, v in act.items():
        if k != "i":
            st["owned"].add(num(v))
    if len(st["owned"]) != num(act.get("i"), -1):
        raise Broken(f"profile.dat: activePuzzles i = {act.get('i')} but {len(st['owned'])} entries")
    if not 1 <= st["stage"] <= fx.dogs + 1:
        raise Broken(f"profile.dat: stage {st['stage']} is not in the dog table")
    if not 1 <= st["level"] <= fx.levels + 1:
        raise Broken(f"profile.dat: level {st['level']} is not in the quest table")
    # A stage's levels run from its start to the next stage's start, which
    # is reached when the stage's last level is won: its jigsaw (or the
    # owner scene and gallery after it) comes next, never that level's play.
    if st["stage"] <= fx.dogs:
        first, nxt = fx.stage_start[st["stage"]], fx.stage_start[st["stage"] + 1]
        if not first <= st["level"] <= nxt:
            raise Broken(f"profile.dat: level {st['level']} is not one of stage {st['stage']}'s")
        if st["level"] == nxt and st["type"] == "MAIN-GAME":
            raise Broken(f"profile.dat resumes play at level {nxt} before stage {st['stage']}'s jigsaw")
    if st["questLevel"] and not os.path.exists(settled(d, "questlevel.lvl", text(p.get("questlevelsum")))):
        raise Broken("profile.dat names a saved quest level that is not there")
    if num(p.get("puzzlelevel")):
        pieces, grouped, loose_owned = read_jigsaw(settled(d, "puzzleLevel.dat", text(p.get("puzzlelevelsum"))))
        st["jigsaw"] = pieces
        st["grouped"] = grouped
        stage = min(st["stage"], fx.dogs)
        imgs = {q["img"] for q in pieces.values()}
        # In a quest (a player who has none yet holds the default jigsaw).
        in_quest = st["type"] != "" and st["stage"] <= fx.dogs
        if in_quest and imgs != fx.stage_images[stage]:
            raise Broken(f"the saved jigsaw is not stage {stage}'s: {sorted(imgs)[:2]}...")
        missing = st["owned"] - set(pieces)
        if missing:
            raise Broken(f"profile.dat owns pieces {sorted(missing)} that its jigsaw does not have")
        marked = grouped | loose_owned
        if in_quest and marked != st["owned"]:
            raise Broken(f"the jigsaw marks {sorted(marked)} as owned, the profile {sorted(st['owned'])}")
    return st


def resumable(st, fx):
    if st["questLevel"]:
        return st["type"] or "MAIN-GAME"
    if st["stage"] == fx.dogs + 1 and st["type"] and st["level"] <= LAST_QUEST_LEVEL:
        return "STORY"
    return None


def progress(st):
    return (st["stage"], st["level"])


# Keys and clicks that move every screen of the campaign on: G (a jigsaw
# done), W (a level won), Enter (owner scene: play; gallery: continue), a
# click low on the left (a story box on), the menu's Play and the mode
# selection's relaxed (a new quest once a campaign is complete; on the
# jigsaw, the pop-up's OK after Enter asked to play on).
CYCLE = """key 71
wait 60
key 87
wait 60
key 13
wait 60
click 300 700
wait 30
click 392 635
wait 40
click 512 440
wait 40
"""


def script_for(st, fx):
    lines = ["wait 120", "expect-screen MAIN-MENU", "click 392 635", "wait 40"]
    at = resumable(st, fx) if st else None
    if at:
        lines += ["click 512 385", "wait 150", f"expect-screen {at}"]
    else:
        lines += ["click 512 440", "wait 107", "expect-screen STORY"]
    lines += ["shot resumed", "wait 1", "shot marker"]
    return "\n".join(lines) + "\n" + CYCLE * 400


def check_resumed_jigsaw(st, out):
    """The resumed jigsaw shows the saved owned pieces, those on the board
    where they lay."""
    shown = {}
    for m in re.finditer(r"^puzzle: piece (\d+) at (-?\d+),(-?\d+)( new)?$", out, re.M):
        shown.setdefault(int(m[1]), (int(m[2]), int(m[3])))
    if st["jigsaw"] is None:
        return []
    errs = []
    loose = st["owned"] - st.get("grouped", set())
    if not loose <= set(shown):
        errs.append(f"resumed jigsaw lacks saved pieces {sorted(loose - set(shown))}")
    bx, by, bw, bh = BOARD
    for i in loose & set(shown):
        x, y = st["jigsaw"][i]["dim"]
        if bx <= x <= bx + bw and by <= y <= by + bh and shown[i] != (x, y):
            errs.append(f"piece {i} saved on the board at {x},{y}, resumed at {shown[i]}")
    return errs


def main():
    if len(sys.argv) < 5:
        print(__doc__)
        return 2
    brimble, data, user, work = sys.argv[1:5]
    kills = int(sys.argv[5]) if len(sys.argv) > 5 else 30
    seed = int(sys.argv[6]) if len(sys.argv) > 6 else 1
    rnd = random.Random(seed)
    fx = Fixture(data)
    os.makedirs(work, exist_ok=True)
    failures = []
    st = None
    try:
        st = read_state(user, fx)
    except (Broken, OSError, KeyError, ValueError):
        st = None  # a player made at the menu has no quest yet
    stats = {"killed": 0, "ended": 0, "resumes checked": 0, "campaigns": 0, "tmp left": 0, "max stage": 0}
    screens = {}
    t0 = time.time()
    run = 0
    resume_time = 0.3  # seconds from start to a finished resume, as measured
    while stats["killed"] < kills:
        run += 1
        if run > kills * 3:
            failures.append("too many runs ended on their own before being killed")
            break
        script = os.path.join(work, "run.e2e")
        shots = os.path.join(work, "shots")
        for f in ("resumed.png", "marker.png"):
            if os.path.exists(os.path.join(shots, f)):
                os.remove(os.path.join(shots, f))
        with open(script, "w") as f:
            f.write(script_for(st, fx))
        expect_at = (resumable(st, fx) if st else None) or "STORY"
        # The player's folder as this run found it, kept beside a failure.
        shutil.rmtree(os.path.join(work, "before"), ignore_errors=True)
        shutil.copytree(user, os.path.join(work, "before"))
        if os.environ.get("KILL_STRESS_LOG"):
            shutil.copytree(user, os.path.join(work, f"before_{run}"), dirs_exist_ok=True)
        before = st
        # One kill in five falls in the start-up or the resume; the others
        # after the resume, at a random moment of the play that follows
        # (scaled to how long the resume took, so a slower build, such as
        # the sanitizer one, plays as far between kills).
        early = rnd.random() < 0.2
        marker = os.path.join(shots, "marker.png")
        t_start = time.time()
        with open(os.path.join(work, "out.txt"), "w") as o, open(os.path.join(work, "err.txt"), "w") as e:
            proc = subprocess.Popen(
                [brimble, "--headless", "--data", data, "--script", script, "--shots", shots,
                 "--user-dir", user, "--seed", str(run)], stdout=o, stderr=e)
            rc = None
            if early:
                delay = rnd.uniform(0.02, resume_time)
                deadline = t_start + delay
            else:
                while proc.poll() is None and not os.path.exists(marker) and time.time() - t_start < 120:
                    time.sleep(0.005)
                took_resume = time.time() - t_start
                if os.path.exists(marker):
                    resume_time = 0.8 * resume_time + 0.2 * took_resume
                delay = rnd.uniform(0.0, 1.0) * max(1.0, resume_time / 0.3)
                deadline = time.time() + delay
                delay += took_resume
            try:
                rc = proc.wait(timeout=max(0.0, deadline - time.time()))
            except subprocess.TimeoutExpired:
                proc.send_signal(signal.SIGKILL)
                proc.wait()
                rc = None
        out = open(os.path.join(work, "out.txt"), encoding="latin-1").read()
        err = open(os.path.join(work, "err.txt"), encoding="latin-1").read()
        where = f"run {run} (killed after {delay:.2f} s)" if rc is None else f"run {run} (ended, status {rc})"
        if rc is None:
            stats["killed"] += 1
        else:
            stats["ended"] += 1
            if rc != 0:
                failures.append(f"{where}: {err.strip().splitlines()[-1:] or rc}")
        if os.path.exists(os.path.join(shots, "marker.png")):
            stats["resumes checked"] += 1
            screens[expect_at] = screens.get(expect_at, 0) + 1
            if expect_at == "PUZZLE":
                failures += [f"{where}: {m}" for m in check_resumed_jigsaw(before, out)]
        try:
            st = read_state(user, fx)
        except (Broken, OSError, KeyError, ValueError) as x:
            failures.append(f"{where}: damaged: {x} (the folder before the run: {work}/before, "
                            f"the run's script, output and seed {run}: {work}/run.e2e, out.txt, err.txt)")
            break
        d = player_dir(user)
        stats["tmp left"] += sum(1 for f in os.listdir(d) if f.endswith(".tmp"))
        stats["max stage"] = max(stats["max stage"], st["stage"])
        if "the credits roll" in out:
            stats["campaigns"] += 1
        if os.environ.get("KILL_STRESS_LOG"):
            print(f"{where}: {before and (progress(before), before['type'])} -> "
                  f"{(progress(st), st['type'], sorted(st['owned']))}, resumed {expect_at}: "
                  f"{os.path.exists(os.path.join(shots, 'marker.png'))}", flush=True)
        if before is not None and progress(st) < progress(before):
            restarted = resumable(before, fx) is None or "the credits roll" in out
            if not restarted:
                failures.append(f"{where}: progress went back from {progress(before)} to {progress(st)}")
    took = time.time() - t0
    print(f"kill stress: {stats['killed']} kills, {stats['ended']} runs ended on their own, "
          f"{stats['resumes checked']} resumes checked {dict(sorted(screens.items()))}, "
          f"{stats['campaigns']} campaigns reached the credits, furthest stage {stats['max stage']}, "
          f"{stats['tmp left']} temporary files seen after kills, {took:.1f} s")
    # A stress that never got past the resume shows nothing.
    if stats["resumes checked"] < kills // 4 or stats["max stage"] < 2:
        failures.append("the runs got too little done between kills to show anything "
                        f"({stats['resumes checked']} resumes, furthest stage {stats['max stage']})")
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
