"""Tests of the quest level generator and checker (tools/levelgen)."""
import os
import stat
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
TOOLS = os.path.join(ROOT, "tools", "levelgen")
sys.path.insert(0, TOOLS)
import levelgen  # noqa: E402

GOOD = ("level=1 mode=SWAP rows=7 cols=7 shape=rect creators=top layers=40 double=10 chains=0 "
        "puzzles=1 colours=5 bonus=101,104 bonuschips=0 background=1 time=200 variant=0")


def recipe(**over):
    r = levelgen.parse_recipes(GOOD)[1]
    r.update(over)
    return r


def read_recipes():
    with open(levelgen.RECIPES) as f:
        return levelgen.parse_recipes(f.read())


def parse_level(text):
    """rows of tiles, chips and chains, and the creator cells of a level file."""
    grids = {}
    for name in ("tiles", "chips", "chain"):
        block = text.split("\t%s {\n" % name, 1)[1].split("\t}", 1)[0]
        grids[name] = [[int(v) for v in line.split('"')[1].split()] for line in block.strip().splitlines()]
    cc = text.split("\tchipCreators {\n", 1)[1].split("\t}", 1)[0].strip().splitlines()[1:]
    grids["creators"] = [tuple(int(v) for v in line.split("=")[1].split(",")) for line in cc]
    return grids


class RecipeRefusals(unittest.TestCase):
    def test_each_bad_recipe_is_refused_naming_level_and_reason(self):
        cases = [
            (dict(mode="SLIDE"), "mode 'SLIDE'"),
            (dict(rows=12), "does not fit"),
            (dict(shape="star"), "shape 'star'"),
            (dict(shape="window", creators="top"), "needs creators=segments"),
            (dict(double=60, layers=40), "double=60"),
            (dict(colours=3), "SWAP needs 4..8"),
            (dict(bonuschips=2, bonus="none"), "no bonus kinds"),
            (dict(bonus="101,107"), "bonus kind 107"),
            (dict(time=5), "time=5"),
            (dict(chains=40), "chains=40"),
            (dict(rows=5, cols=5, chains=16), "room for 8 chains, 16 asked"),
        ]
        for over, reason in cases:
            with self.subTest(over=over):
                with self.assertRaises(levelgen.RecipeError) as e:
                    levelgen.make_level(recipe(**over))
                self.assertIn("level 1:", str(e.exception))
                self.assertIn(reason, str(e.exception))

    def test_recipe_file_faults(self):
        cases = [
            ("level=1 mode=SWAP\nlevel=1 mode=CHAIN\n", "level 1: recipe given twice"),
            ("level=2 rows=seven\n", "rows=seven is not a whole number"),
            ("level=2 colour=5\n", "unknown key 'colour'"),
            ("mode=SWAP\n", "no level number"),
        ]
        for text, reason in cases:
            with self.subTest(text=text):
                with self.assertRaises(levelgen.RecipeError) as e:
                    levelgen.parse_recipes(text)
                self.assertIn(reason, str(e.exception))
        with self.assertRaises(levelgen.RecipeError) as e:
            levelgen.check_recipe(levelgen.parse_recipes("level=4 mode=SWAP\n")[4])
        self.assertIn("level 4: no 'rows' given", str(e.exception))

    def test_build_refuses_a_missing_level_and_wrong_stage_pieces_and_writes_nothing(self):
        recipes = read_recipes()
        with tempfile.TemporaryDirectory() as out:
            broken = dict(recipes)
            del broken[77]
            with self.assertRaisesRegex(levelgen.RecipeError, "level 77: no recipe"):
                levelgen.build(broken, out)
            broken = {k: dict(v) for k, v in recipes.items()}
            broken[190]["puzzles"] += 1
            with self.assertRaisesRegex(levelgen.RecipeError, "level 190: stage 12 ends with 43"):
                levelgen.build(broken, out)
            self.assertEqual(os.listdir(out), [])

    def test_command_line_exits_non_zero_with_the_message(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "r.txt")
            with open(path, "w") as f:
                f.write(GOOD.replace("mode=SWAP", "mode=SLIDE") + "\n")
            p = subprocess.run([sys.executable, os.path.join(TOOLS, "levelgen.py"), "build", "--recipes", path,
                                "--out", d], stderr=subprocess.PIPE, text=True)
            self.assertEqual(p.returncode, 1)
            self.assertIn("level 1: mode 'SLIDE'", p.stderr)


class GeneratedLevels(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.recipes = read_recipes()

    def test_committed_files_are_what_the_recipes_make(self):
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            levelgen.build(self.recipes, a)
            levelgen.build(self.recipes, b)
            for rel in ["data/quest_levels.dat", "data/free_levels.dat", "data/puzzleList.dat",
                        "data/puzzlelist2.dat"] + ["data/levels/" + levelgen.level_file_name(k) for k in (1, 57, 191)]:
                with open(os.path.join(a, rel), "rb") as f1, open(os.path.join(b, rel), "rb") as f2, \
                        open(os.path.join(ROOT, "game", rel), "rb") as f3:
                    x = f1.read()
                    self.assertEqual(x, f2.read(), rel)
                    self.assertEqual(x, f3.read(), rel + " differs from the committed file")

    def test_boards_honour_their_recipes(self):
        for n in (1, 13, 27, 42, 57, 100, 190):
            r = self.recipes[n]
            with self.subTest(level=n):
                g = parse_level(levelgen.make_level(r))
                tiles, chips, chain = g["tiles"], g["chips"], g["chain"]
                self.assertEqual((len(tiles), len(tiles[0])), (r["rows"], r["cols"]))
                cells = [(a, b) for a in range(r["rows"]) for b in range(r["cols"])]
                # Chips lie on plates only; holes hold nothing.
                for a, b in cells:
                    if tiles[a][b] == 0:
                        self.assertEqual((chips[a][b], chain[a][b]), (0, 0))
                    else:
                        self.assertNotEqual(chips[a][b], 0)
                self.assertEqual(sum(1 for a, b in cells if chips[a][b] == levelgen.PUZZLE_CHIP), r["puzzles"])
                self.assertEqual(sum(1 for a, b in cells if chain[a][b]), r["chains"])
                self.assertEqual(sum(1 for a, b in cells if chips[a][b] > 100), r["bonuschips"])
                self.assertEqual(any(tiles[a][b] == 3 for a, b in cells), r["double"] > 0)
                # Every plate is a creator or has a plate above it.
                for a, b in cells:
                    if tiles[a][b]:
                        self.assertTrue((a, b) in g["creators"] or (a > 0 and tiles[a - 1][b]), (a, b))
                if r["mode"] == "SWAP":
                    self.assertFalse(any(levelgen.swap_has_line(chips, tiles, a, b)
                                         for a, b in cells if chips[a][b] <= 8), "ready-made line")

    def test_features_come_one_at_a_time(self):
        firsts = {}
        for n in sorted(self.recipes):
            r = self.recipes[n]
            for f, on in (("double", r["double"] > 0), ("holes", r["shape"] != "rect"),
                          ("chains", r["chains"] > 0), ("creators", r["creators"] == "segments"),
                          ("puzzle", r["puzzles"] > 0), ("bonus", r["bonuschips"] > 0)):
                if on and f not in firsts:
                    firsts[f] = n
        self.assertEqual(len(firsts), 6)
        self.assertEqual(len(set(firsts.values())), 6, firsts)
        for f, n in firsts.items():
            # Introduced on a small board with few layers.
            self.assertLessEqual(self.recipes[n]["layers"], 50, f)

    def test_modes_alternate(self):
        for n in range(1, levelgen.QUEST_LEVELS):
            self.assertNotEqual(self.recipes[n]["mode"], self.recipes[n + 1]["mode"], n)


class Checker(unittest.TestCase):
    def fake_runner(self, d, outcome_by_level):
        """A stand-in level runner answering from a table by file name."""
        path = os.path.join(d, "fake_levelrun")
        with open(path, "w") as f:
            f.write("#!/bin/sh\ncase \"$1\" in\n")
            for n, out in outcome_by_level.items():
                f.write("  *%s) echo '%s' ;;\n" % (levelgen.level_file_name(n), out))
            f.write("esac\n")
        os.chmod(path, os.stat(path).st_mode | stat.S_IEXEC)
        return path

    def test_exit_status_names_the_levels_that_miss_their_bar(self):
        won = '{"outcome":"won","moves":20,"frames":600,"score":1,"refills":0,"startMove":1}'
        lost = '{"outcome":"stuck","moves":20,"frames":600,"score":1,"refills":0,"startMove":1}'
        nostart = '{"outcome":"won","moves":20,"frames":600,"score":1,"refills":1,"startMove":0}'
        with tempfile.TemporaryDirectory() as d:
            runner = self.fake_runner(d, {1: won, 2: lost, 3: nostart})
            p = subprocess.run([sys.executable, os.path.join(TOOLS, "levelcheck.py"), "--levels", "1-3",
                                "--levelrun", runner, "--report", d], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True)
            self.assertEqual(p.returncode, 1, p.stderr)
            self.assertNotIn("level 1 fails", p.stderr)
            self.assertIn("level 2 fails: relaxed won 0/5", p.stderr)
            self.assertIn("level 3 fails: no move on the starting board", p.stderr)
            with open(os.path.join(d, "report.csv")) as f:
                self.assertEqual(len(f.read().splitlines()), 4)
            runner = self.fake_runner(d, {1: won})
            p = subprocess.run([sys.executable, os.path.join(TOOLS, "levelcheck.py"), "--levels", "1",
                                "--levelrun", runner, "--report", d], stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True)
            self.assertEqual(p.returncode, 0, p.stderr)

    def test_missing_runner_or_level_is_an_error(self):
        p = subprocess.run([sys.executable, os.path.join(TOOLS, "levelcheck.py"), "--levelrun", "/nonexistent"],
                           stderr=subprocess.PIPE, text=True)
        self.assertEqual(p.returncode, 2)
        self.assertIn("no level runner", p.stderr)
        p = subprocess.run([sys.executable, os.path.join(TOOLS, "levelcheck.py"), "--levelrun", "/bin/true",
                            "--levels", "500"], stderr=subprocess.PIPE, text=True)
        self.assertEqual(p.returncode, 2)
        self.assertIn("no recipe for level 500", p.stderr)


if __name__ == "__main__":
    unittest.main()
