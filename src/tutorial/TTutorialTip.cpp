#include "tutorial/TTutorialTip.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "app/Harness.h"
#include "app/TMainGame.h"
#include "data/Paragraph.h"
#include "data/TRCMFile.h"
#include "gui/GuiValues.h"
#include "gui/TMouse.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TMatchInfo.h"
#include "match3/TPowerUp.h"
#include "match3/TTile.h"
#include "platform/Files.h"
#include "profiles/TProfile.h"

void tutorialLog(const std::string& line) {
    if (!harnessActive()) return;
    std::printf("tutorial: %s\n", line.c_str());
    std::fflush(stdout);
}

ImagePtr TTutorialTip::arrowImg1;
ImagePtr TTutorialTip::arrowImg2;
TProfile* TTutorialTip::player = nullptr;
std::function<bool(const std::string&)> TTutorialTip::tipDone;

// ---------------------------------------------------------------------------
// The tip file
//
// "data/tutorial.dat" holds a group "tutorial" with "i" (the number of tips)
// and "txtFile" (the line file of their titles and texts), and one group
// "tut<n>" per tip, n = 1 .. i:
//
//   id          the tip's name (required, unique; compared upper-cased)
//   screen      "MAIN-GAME", "UBIERANIE" or "PUZZLE" (required)
//   title, txt  line numbers in the text file (txt required, title optional)
//   font        "SMALL", "MEDIUM" (default) or "BIG": the text's size
//   back        "SMALL", "NORMAL" (default), "CHAIN" or "GROUP": the panel
//   heightAdd   pixels added to the panel's height (default 0)
//   img         a picture shown at the left of the text (optional)
//   pos         where the panel stands (default: the middle of the screen)
//   conds, condition<k>            show conditions (all must hold)
//   actions, action<k>             actions, run in order
//   eraseConds, eraseCondition<k>  erase conditions (any one ends the tip)
//
// Every entry below is a keyword and its arguments, given either as separate
// items ("LEVEL", "3") or as words of one item ("LEVEL 3"). Case does not
// matter. A board object is looked for on the play screen only, among chips
// at rest, scanning rows from the top and each row from the left.
//
// Show conditions (any may be preceded by NOT, which reverses it):
//   FADE                  the screen has faded in (the play screen: play is on
//                         and the level's goal card has gone)
//   TIP-EXECUTED id       the tip `id` is no longer waiting (it was shown)
//   MATCHED               a match was made in this level (or a plate broke)
//   ANY-BONUS             a bonus chip lies on the board
//   BONUS [kind]          a bonus chip (of that kind id, above 100) lies on the board
//   BONUS-TYPE type       a bonus chip of that type (BOMB, CROSSFIRE, HORIZONTAL,
//                         VERTICAL, SHUFFLE) lies on the board
//   CHAIN                 a chained plate holds a chip
//   MATCH                 a move that makes a match exists (the board at rest)
//   CHAIN-BROKE           a chain was broken in this level
//   LEVEL n [m]           the player's quest level is n (or n .. m)
//   GAME-TYPE mode        the level is played in SWAP, CHAIN or GROUP mode
//   IS-CHIP kind          a chip of that kind id lies on the board; IS-CHIP PUZZLE:
//                         a puzzle piece does
//   PUZZLE-COLLECTED      a puzzle piece was brought down in this level
//   ALL-PUZZLES           the player owns every piece of the stage's jigsaw
//   ALL-PUZZLE-COLLECTED  pieces were brought down in this level and none is left
//   TIMED                 the player plays the timed quest
//   ACTIVEPOWER-UP [n]    power-up n (1 .. 6; any without n) is charged
//
// Actions:
//   WAIT ms               the next action runs ms milliseconds later
//   SHOW-ME               the panel fades in
//   HIDE-ME               the tip ends (panel and arrows fade out)
//   LOCK-GUI              the screen's buttons and board stop taking clicks
//   UNLOCK-GUI            they take clicks again (also whenever the tip ends)
//   ARROW target          one arrow at the target
//   DOUBLE-ARROW target   two arrows: both chips of a swap move, the ends of a
//                         chain, a puzzle piece and where it leaves the board;
//                         otherwise the target from two sides
//   START-HINT            the play screen shows its own hint for its best move
//                         (which may differ from the tip's MATCH)
//   LIGHT-UP target       a pulsing frame around the target; MATCH: around
//                         every chip of the move (a swap's two, the chain's
//                         path, the whole group)
// Targets: BONUS [kind], BONUS-TYPE type, CHAIN (a chained chip), MATCH, PUZZLE,
// POWER-UP-SIDE n (the power-up's button). MATCH is the move the tip teaches,
// found in the level's mode on a board at rest: the one whose match lies on
// most breakable plates, then the biggest (a swap; a chain as the longest path
// through touching chips of a kind, corners counting; a group to click).
// An arrow at a chip lies on a neighbouring cell that is no part of the move
// or of its match, off the board where it can, and follows its chip.
// A target that cannot be found when its action runs ends the tip; an arrow
// or light whose chip leaves the board ends it too. While a tip points at the
// board the play screen's own hint waits.
//
// Erase conditions: MOUSE (a click anywhere once the panel is up), MATCHED (a
// match made after the tip started), OK (the panel's "ok" button).
//
// pos: POSITION x y (the panel's top-left corner), or next to a board object:
// AUTOBONUS [kind], AUTOMATCH, AUTOCHAIN, AUTOBONUS-TYPE type, AUTOPUZZLE. The
// panel stands beside the board at the object's height, inside the screen.
//
// A tip is refused, with a message naming it and the entry, when an entry is
// not in this grammar, a count and its entries disagree, a line number is not
// in the text file, its id is taken, it has no way to end (no erase condition
// and no HIDE-ME), or it locks the screen while only a match can end it.
// ---------------------------------------------------------------------------

namespace {

constexpr int kMaxEntries = 64;

bool isNumber(const std::string& s, long& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtol(s.c_str(), &end, 10);
    return end && *end == 0 && v > -1000000000L && v < 1000000000L;
}

bool oneOf(const std::string& s, std::initializer_list<const char*> list) {
    for (const char* x : list)
        if (s == x) return true;
    return false;
}

// Checks `args` of a target keyword (BONUS, BONUS-TYPE, ...).
bool validTarget(const std::string& kind, const std::vector<std::string>& args, std::string& why) {
    long v = 0;
    if (kind == "BONUS") {
        if (args.size() > 1) return why = "BONUS takes at most a bonus kind", false;
        if (args.size() == 1 && (!isNumber(args[0], v) || v <= 100))
            return why = "BONUS kind must be a number above 100", false;
        return true;
    }
    if (kind == "BONUS-TYPE") {
        if (args.size() != 1 || !oneOf(args[0], {"BOMB", "CROSSFIRE", "HORIZONTAL", "VERTICAL", "SHUFFLE"}))
            return why = "BONUS-TYPE needs one of BOMB, CROSSFIRE, HORIZONTAL, VERTICAL, SHUFFLE", false;
        return true;
    }
    if (kind == "CHAIN" || kind == "MATCH" || kind == "PUZZLE") {
        if (!args.empty()) return why = kind + " takes no arguments", false;
        return true;
    }
    if (kind == "POWER-UP-SIDE") {
        if (args.size() != 1 || !isNumber(args[0], v) || v < 1 || v > 6)
            return why = "POWER-UP-SIDE needs a power-up number 1 to 6", false;
        return true;
    }
    why = "unknown target \"" + kind + "\"";
    return false;
}

TTile* tileOf(const TChip& ch) {
    return ch.tile && ch.tile->chip.get() == &ch ? ch.tile : nullptr;
}

// A chip lying still on a plate.
bool restingChip(const TTile* t) {
    return t && t->kind() > 0 && t->chip && t->chip->cd && t->chip->state.empty() && !t->chip->bylUsuwany;
}

bool boardQuiet(const TLevel& lvl) {
    for (auto& row : lvl.tile)
        for (auto& t : row)
            if (t && t->chip && !t->chip->state.empty()) return false;
    return true;
}

TDim chipDim(const TTile& t) {
    TDim d;
    d.x = t.dim.x + (t.chip ? t.chip->adx : 0);
    d.y = t.dim.y + (t.chip ? t.chip->adY : 0);
    d.w = d.h = 60;
    d.update();
    return d;
}

std::vector<std::string> entryItems(TRCMFile& f, int n, const std::string& key) {
    auto tut = f.getGroup(std::vector<std::string>{"tutorial", "tut" + std::to_string(n)});
    if (!tut) return {};
    auto e = tut->getEntry(key);
    return e ? e->_value : std::vector<std::string>{};
}

bool hasItems(TRCMFile& f, int n, const std::string& key) {
    auto tut = f.getGroup(std::vector<std::string>{"tutorial", "tut" + std::to_string(n)});
    return tut && tut->getEntry(key) != nullptr;
}

using Cell = TTutorialTip::Cell;

bool contains(const std::vector<Cell>& v, Cell c) {
    return std::find(v.begin(), v.end(), c) != v.end();
}

int breakable(const TTile* t) {
    return t && t->kind() >= 2 ? 1 : 0;
}

// The swap a tip teaches: among the swaps the engine would accept, the one
// whose match breaks most plates (the level's goal), then the biggest match;
// the first in scan order on a tie. The engine's own hint looks at the size
// alone and may point where no plate breaks.
bool bestSwap(TM3Game& m3, TLevel& lvl, TTutorialTip::Target& out) {
    int best = 0;
    for (int r = 0; r < lvl.rows; ++r)
        for (int c = 0; c < lvl.cols; ++c)
            for (int k = 0; k < 2; ++k) {
                const int r2 = k == 0 ? r : r + 1, c2 = k == 0 ? c + 1 : c;
                if (r2 >= lvl.rows || c2 >= lvl.cols) continue;
                const TilePtr& t1 = lvl.tile[static_cast<size_t>(r)][static_cast<size_t>(c)];
                const TilePtr& t2 = lvl.tile[static_cast<size_t>(r2)][static_cast<size_t>(c2)];
                if (!restingChip(t1.get()) || !restingChip(t2.get()) || t1->chain || t2->chain) continue;
                m3._swapForMoment(t1, t2);
                std::vector<Cell> cells;
                int plates = 0;
                for (const TilePtr* t : {&t1, &t2}) {
                    auto m = m3.getMatchedChipsSwap(*t);
                    if (!m) continue;
                    for (auto& ch : *m) {
                        if (!ch || !ch->tile) continue;
                        const Cell cell{ch->tile->r, ch->tile->c};
                        if (contains(cells, cell)) continue;
                        cells.push_back(cell);
                        plates += breakable(ch->tile);
                    }
                }
                m3._swapForMoment(t1, t2);  // back
                m3.clearMarks();
                if (cells.size() < 3) continue;
                const int score = plates * 100 + static_cast<int>(cells.size());
                if (score <= best) continue;
                best = score;
                out = TTutorialTip::Target();
                out.chip = t1->chip;
                out.chip2 = t2->chip;
                out.d = chipDim(*t1);
                out.d2 = chipDim(*t2);
                out.cell = {r, c};
                out.cell2 = {r2, c2};
                out.hasSecond = out.swap = true;
                out.move = {t1->chip, t2->chip};
                out.keepClear = cells;
                for (Cell m : {out.cell, out.cell2})
                    if (!contains(out.keepClear, m)) out.keepClear.push_back(m);
                out.plates = plates;
            }
    return best > 0;
}

bool neighbours8(Cell a, Cell b) {
    return !(a == b) && std::abs(a.r - b.r) <= 1 && std::abs(a.c - b.c) <= 1;
}

// The longest path through a chain mode's group (steps to any of the eight
// neighbours), looked for within a budget of steps: the chain to draw.
void longestPath(const std::vector<Cell>& group, std::vector<int>& path, std::vector<int>& best,
                 std::vector<char>& used, int& budget) {
    if (path.size() > best.size()) best = path;
    if (best.size() == group.size() || --budget <= 0) return;
    const Cell last = group[static_cast<size_t>(path.back())];
    for (size_t i = 0; i < group.size(); ++i) {
        if (used[i] || !neighbours8(last, group[i])) continue;
        used[i] = 1;
        path.push_back(static_cast<int>(i));
        longestPath(group, path, best, used, budget);
        path.pop_back();
        used[i] = 0;
        if (best.size() == group.size() || budget <= 0) return;
    }
}

// The still chips of `from`'s kind that touch it, corners too, one step
// after another.
ChipListPtr touching(const TLevel& lvl, const TTile& from) {
    auto out = std::make_shared<std::vector<std::shared_ptr<TChip>>>();
    const int kind = from.chip->cd->id;
    std::vector<const TTile*> open{&from};
    out->push_back(from.chip);
    for (size_t i = 0; i < open.size(); ++i)
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const TTile* n = lvl.tileAt(open[i]->r + dr, open[i]->c + dc);
                if (!restingChip(n) || n->chip->cd->id != kind) continue;
                if (std::find(out->begin(), out->end(), n->chip) != out->end()) continue;
                out->push_back(n->chip);
                open.push_back(n);
            }
    return out;
}

// The chain or group a tip teaches: the group (of three or more still
// chips) over most plates, then the biggest. A chain is the longest path
// found through it, its ends the two places to point at; a group is pointed
// at on its chip farthest from its middle.
bool bestGroup(TM3Game& m3, TLevel& lvl, bool chain, TTutorialTip::Target& out) {
    int best = 0;
    std::vector<TChip*> seen;
    for (int r = 0; r < lvl.rows; ++r)
        for (int c = 0; c < lvl.cols; ++c) {
            const TilePtr& t = lvl.tile[static_cast<size_t>(r)][static_cast<size_t>(c)];
            // A bonus piece goes off when clicked and a puzzle piece never
            // matches: neither starts a chain or a group.
            if (!restingChip(t.get()) || !t->chip->cd->proper() ||
                std::find(seen.begin(), seen.end(), t->chip.get()) != seen.end())
                continue;
            // A chain may be drawn through any chips of its kind that touch,
            // corners too: the group is flooded here (the engine's chain
            // finder gives only its shortest route to the farthest chip).
            auto g = chain ? touching(lvl, *t) : m3.getMatchedChips(t);
            m3.clearMarks();
            if (!g) continue;
            std::vector<Cell> cells;
            std::vector<std::shared_ptr<TChip>> chips;
            bool still = true;
            for (auto& ch : *g) {
                if (!ch) continue;
                seen.push_back(ch.get());
                TTile* tt = tileOf(*ch);
                if (!restingChip(tt))
                    still = false;
                else {
                    cells.push_back({tt->r, tt->c});
                    chips.push_back(ch);
                }
            }
            if (!still || cells.size() < 3) continue;
            std::vector<int> order;
            if (chain) {
                // From each chip in turn, the longest path found; the
                // whole group when one goes through it all.
                int budget = 1500;
                for (size_t s0 = 0; s0 < cells.size() && order.size() < cells.size() && budget > 0; ++s0) {
                    std::vector<int> path{static_cast<int>(s0)}, found;
                    std::vector<char> used(cells.size(), 0);
                    used[s0] = 1;
                    longestPath(cells, path, found, used, budget);
                    if (found.size() > order.size()) order = found;
                }
                if (order.size() < 3) continue;
            } else {
                for (size_t i = 0; i < cells.size(); ++i) order.push_back(static_cast<int>(i));
            }
            int plates = 0;
            for (int i : order)
                plates +=
                    breakable(lvl.tileAt(cells[static_cast<size_t>(i)].r, cells[static_cast<size_t>(i)].c));
            const int score = plates * 100 + static_cast<int>(order.size());
            if (score <= best) continue;
            best = score;
            out = TTutorialTip::Target();
            for (int i : order) {
                out.move.push_back(chips[static_cast<size_t>(i)]);
                out.keepClear.push_back(cells[static_cast<size_t>(i)]);
            }
            out.plates = plates;
            size_t first = static_cast<size_t>(order.front()), last = static_cast<size_t>(order.back());
            if (!chain) {
                // The chip farthest from the group's middle: an edge of it.
                float mx = 0, my = 0;
                for (auto& cl : cells) mx += cl.c, my += cl.r;
                mx /= static_cast<float>(cells.size());
                my /= static_cast<float>(cells.size());
                float far = -1;
                for (size_t i = 0; i < cells.size(); ++i) {
                    const float d =
                        (cells[i].c - mx) * (cells[i].c - mx) + (cells[i].r - my) * (cells[i].r - my);
                    if (d > far) far = d, first = i;
                }
            }
            TTile* a = lvl.tileAt(cells[first].r, cells[first].c);
            out.chip = a->chip;
            out.d = chipDim(*a);
            out.cell = cells[first];
            if (chain) {
                TTile* b = lvl.tileAt(cells[last].r, cells[last].c);
                out.chip2 = b->chip;
                out.d2 = chipDim(*b);
                out.cell2 = cells[last];
                out.hasSecond = true;
            }
        }
    return best > 0;
}

// The move a tip points at in the level's mode, on a board at rest.
bool findMove(TMainGame& g, TTutorialTip::Target& out) {
    if (!boardQuiet(*g.level)) return false;
    switch (g.m3Game->matchType) {
        case 0:
            return bestSwap(*g.m3Game, *g.level, out);
        case 1:
            return bestGroup(*g.m3Game, *g.level, true, out);
        default:
            return bestGroup(*g.m3Game, *g.level, false, out);
    }
}

}  // namespace

std::string TTutorialTip::Entry::text() const {
    std::string s = negated ? "NOT " + key : key;
    for (auto& a : args) s += " " + a;
    return s;
}

std::vector<std::string> TTutorialTip::words(const std::vector<std::string>& items) {
    std::vector<std::string> out;
    for (auto& item : items) {
        std::istringstream in(item);
        std::string w;
        while (in >> w) out.push_back(guiUpper(w));
    }
    return out;
}

bool TTutorialTip::parseCondition(const std::vector<std::string>& w, Entry& out, std::string& why) {
    out = Entry();
    size_t k = 0;
    if (!w.empty() && w[0] == "NOT") {
        out.negated = true;
        k = 1;
    }
    if (k >= w.size()) return why = "empty condition", false;
    out.key = w[k];
    out.args.assign(w.begin() + static_cast<long>(k) + 1, w.end());
    const auto& key = out.key;
    const auto& args = out.args;
    long v = 0, v2 = 0;
    if (oneOf(key, {"FADE", "MATCHED", "ANY-BONUS", "CHAIN", "MATCH", "CHAIN-BROKE", "PUZZLE-COLLECTED",
                    "ALL-PUZZLES", "ALL-PUZZLE-COLLECTED", "TIMED"})) {
        if (!args.empty()) return why = key + " takes no arguments", false;
        return true;
    }
    if (key == "TIP-EXECUTED") {
        if (args.size() != 1) return why = "TIP-EXECUTED needs one tip id", false;
        return true;
    }
    if (key == "BONUS" || key == "BONUS-TYPE") return validTarget(key, args, why);
    if (key == "LEVEL") {
        if (args.empty() || args.size() > 2 || !isNumber(args[0], v) || v < 1)
            return why = "LEVEL needs a level number (and optionally a last level)", false;
        if (args.size() == 2 && (!isNumber(args[1], v2) || v2 < v))
            return why = "LEVEL's last level must be a number not below the first", false;
        return true;
    }
    if (key == "GAME-TYPE") {
        if (args.size() != 1 || !oneOf(args[0], {"SWAP", "CHAIN", "GROUP"}))
            return why = "GAME-TYPE needs SWAP, CHAIN or GROUP", false;
        return true;
    }
    if (key == "IS-CHIP") {
        if (args.size() != 1 || (args[0] != "PUZZLE" && (!isNumber(args[0], v) || v < 1)))
            return why = "IS-CHIP needs a chip kind number or PUZZLE", false;
        return true;
    }
    if (key == "ACTIVEPOWER-UP") {
        if (args.size() > 1 || (args.size() == 1 && (!isNumber(args[0], v) || v < 1 || v > 6)))
            return why = "ACTIVEPOWER-UP takes a power-up number 1 to 6 or nothing", false;
        return true;
    }
    why = "unknown condition \"" + key + "\"";
    return false;
}

bool TTutorialTip::parseAction(const std::vector<std::string>& w, Entry& out, std::string& why) {
    out = Entry();
    if (w.empty()) return why = "empty action", false;
    out.key = w[0];
    out.args.assign(w.begin() + 1, w.end());
    const auto& key = out.key;
    const auto& args = out.args;
    long v = 0;
    if (key == "WAIT") {
        if (args.size() != 1 || !isNumber(args[0], v) || v < 0 || v > 600000)
            return why = "WAIT needs milliseconds (0 to 600000)", false;
        return true;
    }
    if (oneOf(key, {"SHOW-ME", "HIDE-ME", "LOCK-GUI", "UNLOCK-GUI", "START-HINT"})) {
        if (!args.empty()) return why = key + " takes no arguments", false;
        return true;
    }
    if (oneOf(key, {"ARROW", "DOUBLE-ARROW", "LIGHT-UP"})) {
        if (args.empty()) return why = key + " needs a target", false;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        std::string w2;
        if (!validTarget(args[0], rest, w2)) return why = key + ": " + w2, false;
        return true;
    }
    why = "unknown action \"" + key + "\"";
    return false;
}

bool TTutorialTip::parseEraseCond(const std::vector<std::string>& w, Entry& out, std::string& why) {
    out = Entry();
    if (w.empty()) return why = "empty erase condition", false;
    out.key = w[0];
    out.args.assign(w.begin() + 1, w.end());
    if (!oneOf(out.key, {"MOUSE", "MATCHED", "OK"}))
        return why = "unknown erase condition \"" + out.key + "\"", false;
    if (!out.args.empty()) return why = out.key + " takes no arguments", false;
    return true;
}

bool TTutorialTip::parsePosition(const std::vector<std::string>& w, std::vector<std::string>& out,
                                 std::string& why) {
    out.clear();
    if (w.empty()) return true;  // the middle of the screen
    long x = 0, y = 0;
    if (w[0] == "POSITION") {
        if (w.size() != 3 || !isNumber(w[1], x) || !isNumber(w[2], y) || x < 0 || y < 0 || x > 1024 ||
            y > 768)
            return why = "POSITION needs x and y inside the 1024 x 768 screen", false;
        out = w;
        return true;
    }
    static const std::pair<const char*, const char*> autos[] = {{"AUTOBONUS", "BONUS"},
                                                                {"AUTOMATCH", "MATCH"},
                                                                {"AUTOCHAIN", "CHAIN"},
                                                                {"AUTOBONUS-TYPE", "BONUS-TYPE"},
                                                                {"AUTOPUZZLE", "PUZZLE"}};
    for (auto& p : autos)
        if (w[0] == p.first) {
            std::string w2;
            if (!validTarget(p.second, std::vector<std::string>(w.begin() + 1, w.end()), w2))
                return why = w[0] + ": " + w2, false;
            out = w;
            return true;
        }
    why = "unknown position \"" + w[0] + "\"";
    return false;
}

std::shared_ptr<TTutorialTip> TTutorialTip::load(TRCMFile& f, int n, const TTxtFilePtr& texts,
                                                 std::string& error) {
    auto t = std::make_shared<TTutorialTip>();
    const std::string P = "tutorial::tut" + std::to_string(n) + "::";
    auto fail = [&](const std::string& entry, const std::string& why) {
        error = "tip " + std::to_string(n) + (t->id.empty() ? "" : " (" + t->id + ")") + ", " + entry + ": " +
                why;
        return nullptr;
    };
    if (!f.getGroup(std::vector<std::string>{"tutorial", "tut" + std::to_string(n)}))
        return fail("tut" + std::to_string(n), "the tip is missing");
    t->id = guiUpper(TrimText(f.getString(P + "id")));
    if (t->id.empty() || t->id == "0") return fail("id", "no id");
    if (t->id.find_first_of(" \t,\"") != std::string::npos) return fail("id", "an id is one word");
    t->screen = guiUpper(TrimText(f.getString(P + "screen")));
    if (t->screen.empty() || t->screen == "0") return fail("screen", "no screen");

    const int lines = texts ? texts->lines() : 0;
    auto textAt = [&](const char* key, bool required, std::string& into) -> bool {
        if (!f.hasEntry(P + key)) {
            if (required) error = "no line number";
            return !required;
        }
        long v = 0;
        if (!isNumber(TrimText(f.getString(P + key)), v)) return error = "not a line number", false;
        if (v < 1 || v > lines)
            return error = "line " + std::to_string(v) + " is not in the text file (" +
                           std::to_string(lines) + " lines)",
                   false;
        into = TrimText(texts->txt[static_cast<size_t>(v - 1)]);
        return true;
    };
    if (!textAt("title", false, t->title)) return fail("title", error);
    if (!textAt("txt", true, t->txt)) return fail("txt", error);
    if (f.hasEntry(P + "heightAdd")) {
        t->heightAdd = f.getFloat(P + "heightAdd");
        if (!(t->heightAdd >= 0 && t->heightAdd <= 400)) return fail("heightAdd", "must be 0 to 400 pixels");
    }
    t->imgPath = TrimText(f.getString(P + "img"));
    if (t->imgPath == "0") t->imgPath.clear();
    const std::string font = guiUpper(TrimText(f.getString(P + "font")));
    if (font.empty() || font == "MEDIUM")
        t->fontIndex = 1;
    else if (font == "SMALL")
        t->fontIndex = 0;
    else if (font == "BIG")
        t->fontIndex = 2;
    else
        return fail("font", "\"" + font + "\" is not SMALL, MEDIUM or BIG");
    const std::string back = guiUpper(TrimText(f.getString(P + "back")));
    if (back.empty() || back == "NORMAL")
        t->backIndex = 1;
    else if (back == "SMALL")
        t->backIndex = 0;
    else if (back == "CHAIN")
        t->backIndex = 2;
    else if (back == "GROUP")
        t->backIndex = 3;
    else
        return fail("back", "\"" + back + "\" is not SMALL, NORMAL, CHAIN or GROUP");
    std::string why;
    if (!parsePosition(words(entryItems(f, n, "pos")), t->autoID, why)) return fail("pos", why);

    struct List {
        const char* count;
        const char* item;
        std::vector<Entry>* into;
        bool (*parse)(const std::vector<std::string>&, Entry&, std::string&);
    } lists[] = {{"conds", "condition", &t->conditions, &TTutorialTip::parseCondition},
                 {"actions", "action", &t->actions, &TTutorialTip::parseAction},
                 {"eraseConds", "eraseCondition", &t->eraseConds, &TTutorialTip::parseEraseCond}};
    for (auto& l : lists) {
        long count = 0;
        if (f.hasEntry(P + l.count) &&
            (!isNumber(TrimText(f.getString(P + l.count)), count) || count < 0 || count > kMaxEntries))
            return fail(l.count, "must be a count of 0 to " + std::to_string(kMaxEntries));
        for (long k = 1; k <= count; ++k) {
            const std::string name = l.item + std::to_string(k);
            if (!hasItems(f, n, name))
                return fail(name,
                            "missing (" + std::string(l.count) + " says " + std::to_string(count) + ")");
            Entry e;
            if (!l.parse(words(entryItems(f, n, name)), e, why)) return fail(name, why);
            l.into->push_back(e);
        }
        // An entry beyond the count is a count that was not raised.
        const std::string extra = l.item + std::to_string(count + 1);
        if (hasItems(f, n, extra))
            return fail(extra,
                        "beyond the count (" + std::string(l.count) + " = " + std::to_string(count) + ")");
    }

    bool hides = false, lockedAtEnd = false;
    for (auto& a : t->actions) {
        if (a.key == "HIDE-ME") hides = true;
        if (a.key == "LOCK-GUI") lockedAtEnd = true;
        if (a.key == "UNLOCK-GUI") lockedAtEnd = false;
    }
    if (t->eraseConds.empty() && !hides)
        return fail("eraseConds", "the tip never ends (no erase condition, no HIDE-ME)");
    if (lockedAtEnd && !hides && !t->hasEraseCond("MOUSE") && !t->hasEraseCond("OK"))
        return fail("eraseConds", "the tip locks the board but only a match could end it");
    return t;
}

bool TTutorialTip::hasEraseCond(const std::string& key) const {
    for (auto& e : eraseConds)
        if (e.key == key) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Finding things on the screen

TMainGame* tutorialPlayScreen(TEkran* screen) {
    auto* g = dynamic_cast<TMainGame*>(screen);
    if (!g || !g->level || !g->m3Game || g->m3Game->level != g->level) return nullptr;
    return g;
}

bool TTutorialTip::findTarget(const std::string& kind, const std::vector<std::string>& args, TEkran* screen,
                              Target& out) {
    out = Target();
    TMainGame* g = tutorialPlayScreen(screen);
    if (!g) return false;
    if (kind == "POWER-UP-SIDE") {
        const int n = args.empty() ? 0 : std::atoi(args[0].c_str());
        if (n < 1 || n > 6) return false;
        const TDim d = g->getPowerUpDim(n);
        if (d.w <= 0 || d.h <= 0) return false;
        out.d = d;
        out.dirX = -1;
        out.dirY = 0;
        return true;
    }
    TLevel& lvl = *g->level;
    if (kind == "MATCH") return findMove(*g, out);
    long want = 0;
    const bool haveKind = !args.empty() && isNumber(args[0], want);
    for (int r = 0; r < lvl.rows; ++r)
        for (int c = 0; c < lvl.cols; ++c) {
            TTile* t = lvl.tileAt(r, c);
            if (!restingChip(t)) continue;
            const TChip& ch = *t->chip;
            bool hit = false;
            if (kind == "BONUS")
                hit = ch.cd->id > 100 && (!haveKind || ch.cd->id == want);
            else if (kind == "BONUS-TYPE")
                hit = ch.cd->id > 100 && !args.empty() && guiUpper(ch.cd->typ) == args[0];
            else if (kind == "CHAIN")
                hit = t->chain > 0;
            else if (kind == "PUZZLE")
                hit = ch.cd->puzzleChip != 0;
            else if (kind == "CHIP")
                hit = haveKind && ch.cd->id == want;
            if (!hit) continue;
            out.chip = t->chip;
            out.d = chipDim(*t);
            out.cell = {r, c};
            if (kind == "PUZZLE") {
                // Where it leaves: the lowest plate of the unbroken run of
                // plates below it.
                int rr = r;
                while (lvl.tileAt(rr + 1, c) && lvl.tileAt(rr + 1, c)->kind() > 0) ++rr;
                out.hasSecond = true;
                out.cell2 = {rr, c};
                for (int k = r; k <= rr; ++k) out.keepClear.push_back({k, c});
                out.d2 = lvl.tileAt(rr, c)->dim;
                out.d2.w = out.d2.h = 60;
                out.d2.update();
            }
            return true;
        }
    return false;
}

bool TTutorialTip::checkCondition(const Entry& e, TEkran* screen) {
    const std::string& k = e.key;
    TMainGame* g = tutorialPlayScreen(screen);
    TProfile* pr = TTutorialTip::player;
    Target t;
    bool v = false;
    if (k == "FADE") {
        v = screen && screen->fade <= 0.0f && screen->dFade <= 0.0f && screen->alpha >= 0.999f;
        // On the play screen: play is on and the goal card has gone (the
        // player reads the level's goal first).
        if (v && dynamic_cast<TMainGame*>(screen)) v = g && screen->state == "NORMAL" && !g->goalCardShown();
    } else if (k == "TIP-EXECUTED") {
        v = TTutorialTip::tipDone && !e.args.empty() && TTutorialTip::tipDone(e.args[0]);
    } else if (k == "MATCHED") {
        v = g && (g->tileMatched != 0 || g->level->log_iloscMatchy > 0);
    } else if (k == "ANY-BONUS") {
        v = findTarget("BONUS", {}, screen, t);
    } else if (k == "BONUS" || k == "BONUS-TYPE" || k == "CHAIN" || k == "MATCH") {
        v = findTarget(k, e.args, screen, t);
    } else if (k == "CHAIN-BROKE") {
        v = g && g->isChainBroken() != 0;
    } else if (k == "LEVEL") {
        const int lo = std::atoi(e.args[0].c_str());
        const int hi = e.args.size() > 1 ? std::atoi(e.args[1].c_str()) : lo;
        v = pr && pr->nrLevelu >= lo && pr->nrLevelu <= hi;
    } else if (k == "GAME-TYPE") {
        static const char* const modes[] = {"SWAP", "CHAIN", "GROUP"};
        v = g && g->m3Game->matchType >= 0 && g->m3Game->matchType <= 2 &&
            e.args[0] == modes[g->m3Game->matchType];
    } else if (k == "IS-CHIP") {
        v = e.args[0] == "PUZZLE" ? findTarget("PUZZLE", {}, screen, t)
                                  : findTarget("CHIP", e.args, screen, t);
    } else if (k == "PUZZLE-COLLECTED") {
        v = g && g->puzzleCollected != 0;
    } else if (k == "ALL-PUZZLES") {
        v = pr && pr->allPuzzles();
    } else if (k == "ALL-PUZZLE-COLLECTED") {
        v = g && g->puzzleCollected != 0 && g->puzzlesLeft() == 0;
    } else if (k == "TIMED") {
        v = pr && pr->gameMode == "TIMED";
    } else if (k == "ACTIVEPOWER-UP") {
        if (pr)
            for (int i = 1; i <= 6; ++i) {
                if (!e.args.empty() && std::atoi(e.args[0].c_str()) != i) continue;
                const auto& p = pr->powerUp[static_cast<size_t>(i - 1)];
                if (p && p->aktywny && p->odkryty) v = true;
            }
    }
    return e.negated ? !v : v;
}

bool TTutorialTip::check(TEkran* screen) {
    for (auto& c : conditions)
        if (!checkCondition(c, screen)) return false;
    // Everything it will point at must be there now; a tip that would end at
    // once is better not started.
    Target t;
    for (auto& a : actions)
        if ((a.key == "ARROW" || a.key == "DOUBLE-ARROW" || a.key == "LIGHT-UP") &&
            !findTarget(a.args[0], std::vector<std::string>(a.args.begin() + 1, a.args.end()), screen, t))
            return false;
    if (!autoID.empty() && autoID[0] != "POSITION" && !countAutoDims(screen)) return false;
    return true;
}

bool TTutorialTip::checkEraseCond_Mouse() const {
    // Not before the panel is well on screen (or, for a tip without a panel,
    // before all its arrows are out): a click meant for the board must not
    // close a tip nobody has seen.
    bool shows = false;
    for (auto& e : actions)
        if (e.key == "SHOW-ME") shows = true;
    if (shows ? a < 0.5f : _next < actions.size()) return false;
    if (Millisecs() - _startedAt < 300) return false;
    return mouse.leftPressed != 0 || mouse.rightPressed != 0;
}

bool TTutorialTip::checkEraseCond(TEkran* screen) {
    return !_eraseReason(screen).empty();
}

std::string TTutorialTip::_eraseReason(TEkran* screen) {
    TMainGame* g = tutorialPlayScreen(screen);
    for (auto& e : eraseConds) {
        if (e.key == "MOUSE" && checkEraseCond_Mouse()) return "a click";
        if (e.key == "OK" && okPressed) return "ok";
        if (e.key == "MATCHED" && g && (g->tileMatched || g->level->log_iloscMatchy > _matchesAtStart))
            return "a match";
    }
    // Play is over (won or lost) and only a match could end the tip: it ends
    // now rather than hold the win forever.
    if (g && g->state != "NORMAL" && !hasEraseCond("MOUSE") && !hasEraseCond("OK")) return "play is over";
    return "";
}

// ---------------------------------------------------------------------------
// Running

void TTutorialTip::reset(TEkran* screen) {
    a = 0;
    dA = 0;
    ady = 0;
    time = Millisecs();
    erase = 0;
    arrows.clear();
    actAction.clear();
    pomChain = TDim();
    _lights.clear();
    _next = 0;
    _locked = false;
    _appeared = true;
    for (auto& e : actions)
        if (e.key == "SHOW-ME" || e.key == "ARROW" || e.key == "DOUBLE-ARROW" || e.key == "LIGHT-UP")
            _appeared = false;
    okPressed = false;
    _startedAt = Millisecs();
    // "MATCHED" counts matches made from now on.
    _matchesAtStart = 0;
    _goneSince = 0;
    if (TMainGame* g = tutorialPlayScreen(screen)) {
        g->tileMatched = 0;
        _matchesAtStart = g->level->log_iloscMatchy;
    }
    countDims(screen);
}

void TTutorialTip::end(TEkran* screen, const char* why) {
    if (!erase) tutorialLog(id + " ends: " + why);
    if (_locked && screen) {
        screen->unlockGui();
        screen->guiLocked = 0;
    }
    _locked = false;
    erase = 1;
    dA = 0;
    for (auto& ar : arrows) ar->dA = 0;
}

bool TTutorialTip::finished() const {
    if (!erase || a > 0) return false;
    for (auto& ar : arrows)
        if (ar->a > 0) return false;
    return true;
}

bool TTutorialTip::_runAction(const Entry& e, TEkran* screen) {
    actAction.assign(1, e.key);
    actAction.insert(actAction.end(), e.args.begin(), e.args.end());
    const std::string& k = e.key;
    if (k == "WAIT") {
        time = Millisecs() + std::atoi(e.args[0].c_str());
    } else if (k == "SHOW-ME") {
        dA = 1;
        _appeared = true;
    } else if (k == "HIDE-ME") {
        end(screen, "hidden");
    } else if (k == "LOCK-GUI") {
        if (screen) {
            screen->lockGui();
            screen->guiLocked = 1;
            _locked = true;
        }
    } else if (k == "UNLOCK-GUI") {
        if (screen && _locked) {
            screen->unlockGui();
            screen->guiLocked = 0;
        }
        _locked = false;
    } else if (k == "ARROW" || k == "DOUBLE-ARROW") {
        if (!createArrow(e, screen, k == "DOUBLE-ARROW")) return false;
        _appeared = true;
    } else if (k == "START-HINT") {
        if (TMainGame* g = tutorialPlayScreen(screen)) g->showHint2();
    } else if (k == "LIGHT-UP") {
        Target t;
        if (!findTarget(e.args[0], std::vector<std::string>(e.args.begin() + 1, e.args.end()), screen, t))
            return false;
        // A move lights all its chips; anything else the target itself.
        const std::vector<std::shared_ptr<TChip>> chips =
            t.move.empty() ? std::vector<std::shared_ptr<TChip>>{t.chip} : t.move;
        for (auto& ch : chips) {
            TTile* tile = ch ? tileOf(*ch) : nullptr;
            _lights.push_back({tile ? chipDim(*tile) : t.d, ch, ch != nullptr});
        }
        pomChain = _lights.front().d;
        _appeared = true;
    }
    return true;
}

TTutorialTip::Cell TTutorialTip::arrowSide(const TLevel& lvl, Cell at, const std::vector<Cell>& clear,
                                           Cell taken, float awayX, float awayY) {
    const float len = std::sqrt(awayX * awayX + awayY * awayY);
    if (len > 0) awayX /= len, awayY /= len;
    Cell best{-1, 0};
    float bestScore = -1e9f;
    // Straight sides first, so that a tie keeps an arrow upright.
    static const int sides[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    for (auto& sd : sides) {
        const Cell n{at.r + sd[0], at.c + sd[1]};
        const TTile* t = lvl.tileAt(n.r, n.c);
        const bool diagonal = sd[0] != 0 && sd[1] != 0;
        float score = 0;
        if (contains(clear, n)) score -= 100;  // it would hide part of the move
        if (n == taken) score -= 50;           // the other arrow lies there
        // Off the board (the frame, a hole) hides no chip: above or below
        // best, then the left; the right is where the panels stand beside
        // the board, and an arrow there would lie over the panel's text.
        const bool outside = n.r < 0 || n.c < 0 || n.r >= lvl.rows || n.c >= lvl.cols;
        if (outside)
            score += sd[1] > 0 ? -0.5f : sd[1] < 0 ? 2.0f : 4.0f;
        else if (!t || t->kind() == 0)
            score += 2.5f;
        if (diagonal) score -= 1.5f;
        const float dl = diagonal ? 0.7071f : 1.0f;
        score += 2 * (sd[1] * dl * awayX + sd[0] * dl * awayY);
        if (score > bestScore) {
            bestScore = score;
            best = {sd[0], sd[1]};
        }
    }
    return best;
}

bool TTutorialTip::createArrow(const Entry& e, TEkran* screen, bool twoArrows) {
    Target t;
    if (!findTarget(e.args[0], std::vector<std::string>(e.args.begin() + 1, e.args.end()), screen, t))
        return false;
    auto where = [](const std::shared_ptr<TChip>& ch, const TDim& d) {
        TTile* tile = ch ? tileOf(*ch) : nullptr;
        if (tile) return "row " + std::to_string(tile->r) + " column " + std::to_string(tile->c);
        return "x " + std::to_string(static_cast<int>(d.x)) + " y " + std::to_string(static_cast<int>(d.y));
    };
    tutorialLog(id + " points at " + where(t.chip, t.d) +
                (twoArrows && t.hasSecond ? " and " + where(t.chip2, t.d2) : std::string()));
    dim1 = t.d;
    dim2 = t.hasSecond ? t.d2 : t.d;
    TMainGame* g = tutorialPlayScreen(screen);
    // An arrow at a chip lies on a neighbouring cell that is no part of the
    // move, pointing back at the chip, its tip just inside the chip's edge;
    // it follows the chip as it moves.
    Cell taken{-9, -9};
    auto atChip = [&](const TDim& d, const std::shared_ptr<TChip>& chip, Cell cell, float awayX, float awayY,
                      int n) {
        auto ar = std::make_shared<TTipArrow>();
        ar->n = n;
        ar->ay = 8;
        ar->s = 0.8f;
        std::vector<Cell> clear = t.keepClear;
        if (!contains(clear, cell)) clear.push_back(cell);
        const Cell side = arrowSide(*g->level, cell, clear, taken, awayX, awayY);
        taken = {cell.r + side.r, cell.c + side.c};
        const float dl = side.r != 0 && side.c != 0 ? 0.7071f : 1.0f;
        const float ox = side.c * dl * 24, oy = side.r * dl * 24;
        ar->aim(d.x + ox, d.y + oy, -side.c * dl, -side.r * dl);
        ar->setObject(chip, ox, oy);
        arrows.push_back(ar);
    };
    // A button or a place: the arrow points along the target's way, its tip
    // beside the rim.
    auto atPlace = [&](const TDim& d, float dx, float dy, float reach, int n) {
        auto ar = std::make_shared<TTipArrow>();
        ar->n = n;
        ar->ay = 10;
        ar->aim(d.x - dx * reach, d.y - dy * reach, dx, dy);
        arrows.push_back(ar);
    };
    if (!t.chip || !g) {
        atPlace(t.d, t.dirX, t.dirY, t.d.w / 2.0f + 2.0f, 1);
        if (twoArrows) atPlace(t.d, -t.dirX, -t.dirY, t.d.w / 2.0f + 2.0f, 2);
        return true;
    }
    // Which way each arrow would rather lie: away from the other chip of a
    // swap, away from the middle of a chain or group, else from above.
    float mx = 0, my = 0;
    for (auto& cl : t.keepClear) mx += static_cast<float>(cl.c), my += static_cast<float>(cl.r);
    if (!t.keepClear.empty())
        mx /= static_cast<float>(t.keepClear.size()), my /= static_cast<float>(t.keepClear.size());
    auto away = [&](Cell cell, Cell other, float& ax, float& ay) {
        if (t.swap)
            ax = static_cast<float>(cell.c - other.c), ay = static_cast<float>(cell.r - other.r);
        else if (t.keepClear.size() > 1)
            ax = cell.c - mx, ay = cell.r - my;
        else
            ax = 0, ay = -1;
    };
    float ax, ay;
    away(t.cell, t.cell2, ax, ay);
    atChip(t.d, t.chip, t.cell, ax, ay, 1);
    if (!twoArrows) return true;
    if (t.hasSecond && t.chip2) {
        away(t.cell2, t.cell, ax, ay);
        atChip(t.d2, t.chip2, t.cell2, ax, ay, 2);
    } else if (t.hasSecond) {
        // Where a puzzle piece leaves: the arrow points down out of the
        // board from the bottom of that cell.
        auto ar = std::make_shared<TTipArrow>();
        ar->n = 2;
        ar->ay = 10;
        ar->aim(t.d2.x, t.d2.y + t.d2.h / 2 + 8, 0, 1);
        arrows.push_back(ar);
    } else {
        // The same chip from another side.
        atChip(t.d, t.chip, t.cell, -ax, -ay, 2);
    }
    return true;
}

void TTutorialTip::_updateLight() {
    for (auto& l : _lights) {
        auto ch = l.chip.lock();
        TTile* t = ch ? tileOf(*ch) : nullptr;
        if (!t) continue;
        l.d.x = t->dim.x + ch->adx;
        l.d.y = t->dim.y + ch->adY;
    }
    if (!_lights.empty()) pomChain = _lights.front().d;
}

void TTutorialTip::update(TEkran* screen) {
    if (!erase) {
        while (_next < actions.size() && !erase && Millisecs() - time >= 0) {
            if (!_runAction(actions[_next++], screen)) {
                // Its target is gone: the tip cannot say what it meant to.
                end(screen, "its target is gone");
                break;
            }
        }
    }
    if (!erase) {
        const std::string why = _eraseReason(screen);
        if (!why.empty()) end(screen, why.c_str());
    }
    if (!erase) {
        // A chip pointed at that leaves the board (matched, blasted) ends the
        // tip; a moment's grace lets the match that took it count as one.
        bool gone = false;
        for (auto& l : _lights)
            if (l.follows && !TTipArrow::chipOnBoard(l.chip.lock())) gone = true;
        for (auto& ar : arrows)
            if (!ar->objectAlive()) gone = true;
        if (!gone)
            _goneSince = 0;
        else if (_goneSince == 0)
            _goneSince = Millisecs() | 1;
        else if (Millisecs() - _goneSince >= 250)
            end(screen, "its chip is gone");
    }
    // While the tip points at the board the play screen's own hint waits:
    // two sets of arrows at two moves would only confuse.
    if (!erase && (!arrows.empty() || !_lights.empty()))
        if (TMainGame* g = tutorialPlayScreen(screen))
            g->hintTime = std::max(g->hintTime, Millisecs() + 5000);
    okPressed = false;
    _updateLight();
    const float step = 0.08f * frameDelta;
    a = a < dA ? std::min(dA, a + step) : std::max(dA, a - step);
    ady = (1 - a) * 14;
    for (auto& ar : arrows) ar->update();
}

// ---------------------------------------------------------------------------
// Layout and drawing

namespace {
constexpr float kPad = 26;     // the panel's rim and margin
constexpr float kOkRoom = 58;  // room for the "ok" button under the text
constexpr float kDefaultW = 290, kDefaultH = 150;
constexpr float kArrowReach = 80;  // how far right of its button a power-up's arrow reaches

float textWidthIn(const FontPtr& f, const std::string& text) {
    const FontPtr old = GetImageFont();
    SetImageFont(f);
    const int w = TextWidth(text);
    SetImageFont(old);
    return static_cast<float>(w);
}

float fontHeight(const FontPtr& f) {
    const FontPtr old = GetImageFont();
    if (f) SetImageFont(f);
    const int h = TextHeight("Ag");
    SetImageFont(old);
    return static_cast<float>(h);
}
}  // namespace

void TTutorialTip::countDims(TEkran* screen) {
    dim.w = back ? static_cast<float>(ImageWidth(back)) : kDefaultW;
    const float baseH = back ? static_cast<float>(ImageHeight(back)) : kDefaultH;
    const float imgW = img ? static_cast<float>(ImageWidth(img)) + 12 : 0;
    const float imgH = img ? static_cast<float>(ImageHeight(img)) : 0;
    tw = std::max(40.0f, dim.w - 2 * kPad - imgW);
    titleY = kPad - 6;
    // A title too wide for the panel in the bigger font takes the text's.
    if (titleFont && font && textWidthIn(titleFont, title) > dim.w - 2 * kPad + 8) titleFont = font;
    const float titleH = title.empty() ? 0 : fontHeight(titleFont ? titleFont : font) + 6;
    ty = titleY + titleH;
    tx = kPad + imgW;
    titleX = dim.w / 2;
    const float textH = static_cast<float>(measureTextBlock(txt, tw, "CENTER", font, 2));
    const float okH = hasEraseCond("OK") ? kOkRoom : 0;
    const float need = ty + std::max(textH, imgH) + okH + kPad - 6;
    dim.h = std::max(baseH, need) + heightAdd;
    if (!autoID.empty() && autoID[0] == "POSITION") {
        dim.x = static_cast<float>(std::atoi(autoID[1].c_str()));
        dim.y = static_cast<float>(std::atoi(autoID[2].c_str()));
    } else if (autoID.empty() || !screen || !countAutoDims(screen)) {
        dim.x = 512 - dim.w / 2;
        dim.y = 384 - dim.h / 2;
    }
    dim.x = std::max(4.0f, std::min(dim.x, 1020 - dim.w));
    dim.y = std::max(4.0f, std::min(dim.y, 764 - dim.h));
    dim.update();
    if (TMainGame* g = tutorialPlayScreen(screen)) {
        // On the play screen a tip keeps off the HUD's panels and off the
        // button it points at and its arrow, wherever the file put it.
        std::vector<TDim> avoid = g->hudPanels();
        for (const Entry& e : actions)
            if ((e.key == "ARROW" || e.key == "DOUBLE-ARROW") && !e.args.empty() &&
                e.args[0] == "POWER-UP-SIDE" && e.args.size() > 1) {
                const TDim b = g->getPowerUpDim(std::atoi(e.args[1].c_str()));
                if (b.w <= 0) continue;
                TDim pointed;  // the button and its arrow, which lies to its right
                pointed.x = b.x - b.w / 2;
                pointed.y = b.y - b.h / 2;
                pointed.w = b.w + kArrowReach;
                pointed.h = b.h;
                pointed.update();
                avoid.push_back(pointed);
            }
        const TDim was = dim;
        dim = placeClear(dim, avoid);
        std::string hud;
        for (const TDim& d : avoid)
            hud += " " + std::to_string(static_cast<int>(d.x)) + "," + std::to_string(static_cast<int>(d.y)) +
                   "," + std::to_string(static_cast<int>(d.w)) + "," + std::to_string(static_cast<int>(d.h));
        if (harnessActive())
            std::printf("tip-place: %s %d,%d,%d,%d moved %d,%d clear of%s\n", id.c_str(),
                        static_cast<int>(dim.x), static_cast<int>(dim.y), static_cast<int>(dim.w),
                        static_cast<int>(dim.h), static_cast<int>(dim.x - was.x),
                        static_cast<int>(dim.y - was.y), hud.c_str());
    }
}

TDim TTutorialTip::placeClear(const TDim& tip, const std::vector<TDim>& avoid, float gap) {
    auto hits = [&](const TDim& t, const TDim& r) {
        return t.x < r.x + r.w + gap && r.x < t.x + t.w + gap && t.y < r.y + r.h + gap &&
               r.y < t.y + t.h + gap;
    };
    auto onScreen = [](const TDim& t) {
        return t.x >= 4 && t.y >= 4 && t.x + t.w <= 1020 && t.y + t.h <= 764;
    };
    auto clear = [&](const TDim& t) {
        for (const TDim& r : avoid)
            if (hits(t, r)) return false;
        return true;
    };
    if (clear(tip)) return tip;
    // Each step moves a place that still overlaps a rectangle to one of that
    // rectangle's four sides; three steps reach a corner between panels.
    std::vector<TDim> layer{tip}, next;
    TDim best = tip;
    float bestDist = -1;
    for (int depth = 0; depth < 3 && !layer.empty(); ++depth) {
        next.clear();
        for (const TDim& c : layer)
            for (const TDim& r : avoid) {
                if (!hits(c, r)) continue;
                const float xs[] = {r.x + r.w + gap, r.x - gap - c.w};
                const float ys[] = {r.y + r.h + gap, r.y - gap - c.h};
                for (int k = 0; k < 4; ++k) {
                    TDim m = c;
                    if (k < 2)
                        m.x = xs[k];
                    else
                        m.y = ys[k - 2];
                    if (!onScreen(m)) continue;
                    const float dist = std::hypot(m.x - tip.x, m.y - tip.y);
                    if (clear(m)) {
                        if (bestDist < 0 || dist < bestDist) bestDist = dist, best = m;
                    } else if (next.size() < 256) {
                        next.push_back(m);
                    }
                }
            }
        layer.swap(next);
    }
    best.update();
    return best;
}

bool TTutorialTip::countAutoDims(TEkran* screen) {
    if (autoID.empty()) return false;
    static const std::pair<const char*, const char*> autos[] = {{"AUTOBONUS", "BONUS"},
                                                                {"AUTOMATCH", "MATCH"},
                                                                {"AUTOCHAIN", "CHAIN"},
                                                                {"AUTOBONUS-TYPE", "BONUS-TYPE"},
                                                                {"AUTOPUZZLE", "PUZZLE"}};
    const char* kind = nullptr;
    for (auto& p : autos)
        if (autoID[0] == p.first) kind = p.second;
    Target t;
    if (!kind || !findTarget(kind, std::vector<std::string>(autoID.begin() + 1, autoID.end()), screen, t))
        return false;
    TMainGame* g = tutorialPlayScreen(screen);
    // The board's extent on screen.
    float bx1 = 1024, bx2 = 0;
    for (auto& row : g->level->tile)
        for (auto& tile : row)
            if (tile && tile->kind() > 0) {
                bx1 = std::min(bx1, tile->dim.x - 30);
                bx2 = std::max(bx2, tile->dim.x + 30);
            }
    const float gap = 8;
    // What the panel must not cover: the object, the second chip of a move
    // and every other chip of it.
    float ox1 = std::min(t.d.x, t.hasSecond ? t.d2.x : t.d.x) - 30;
    float ox2 = std::max(t.d.x, t.hasSecond ? t.d2.x : t.d.x) + 30;
    for (auto& ch : t.move)
        if (TTile* mt = ch ? tileOf(*ch) : nullptr) {
            ox1 = std::min(ox1, mt->dim.x - 30);
            ox2 = std::max(ox2, mt->dim.x + 30);
        }
    if (bx2 + gap + dim.w <= 1020)
        dim.x = bx2 + gap;  // beside the board, right
    else if (bx1 - gap - dim.w >= 120)
        dim.x = bx1 - gap - dim.w;  // or left, clear of the power-ups
    else if ((ox1 + ox2) / 2 > (bx1 + bx2) / 2 && ox1 - 12 - dim.w >= 4)
        dim.x = ox1 - 12 - dim.w;  // over the board, on the object's far side
    else
        dim.x = ox2 + 12;
    // At the object's height, clear of the score panel above and the menu
    // button below.
    dim.y = t.d.y - dim.h / 2;
    dim.y = std::max(110.0f, std::min(dim.y, 650 - dim.h));
    dim.x = std::max(4.0f, std::min(dim.x, 1020 - dim.w));
    dim.y = std::max(4.0f, std::min(dim.y, 764 - dim.h));
    dim.update();
    return true;
}

void TTutorialTip::draw(TEkran* screen) {
    const float sa = screen ? std::max(0.0f, std::min(1.0f, screen->alpha)) : 1.0f;
    const float al = a * sa;
    if (!_lights.empty() && !erase) {
        // The light: a pulsing golden frame inside the edge of each lit place,
        // with a soft glow around it.
        const float p = 0.5f + 0.5f * std::sin(Millisecs() * 0.006f);
        const float la = sa * std::max(a, 0.4f);
        auto ring = [](const TDim& l, float h, float t) {
            DrawRect(l.x - h, l.y - h, 2 * h, t);
            DrawRect(l.x - h, l.y + h - t, 2 * h, t);
            DrawRect(l.x - h, l.y - h + t, t, 2 * h - 2 * t);
            DrawRect(l.x + h - t, l.y - h + t, t, 2 * h - 2 * t);
        };
        for (auto& light : _lights) {
            const TDim& l = light.d;
            const float half = std::min(l.w, l.h) / 2 - 1;
            SetBlend(LIGHTBLEND);
            SetColor(255, 220, 120);
            SetAlpha((0.25f + 0.35f * p) * la);
            ring(l, half + 2, 3);
            SetBlend(ALPHABLEND);
            SetColor(255, 196, 36);
            SetAlpha((0.7f + 0.3f * p) * la);
            ring(l, half - 1, 3);
        }
        SetColor(255, 255, 255);
        SetAlpha(1);
    }
    if (al > 0) {
        const float x = dim.x, y = dim.y + ady, w = dim.w, h = dim.h;
        SetBlend(ALPHABLEND);
        SetRotation(0);
        SetScale(1, 1);
        // The panel: its picture's top and bottom kept, the middle stretched
        // to the height the text needs.
        SetColor(255, 255, 255);
        SetAlpha(al);
        if (back) {
            const float bw = static_cast<float>(ImageWidth(back)), bh = static_cast<float>(ImageHeight(back));
            const float cap = std::min(40.0f, bh / 2);
            DrawSubImageRect(back, x, y, w, cap, 0, 0, bw, cap);
            DrawSubImageRect(back, x, y + cap, w, h - 2 * cap, 0, cap, bw, bh - 2 * cap);
            DrawSubImageRect(back, x, y + h - cap, w, cap, 0, bh - cap, bw, cap);
        } else {
            SetColor(251, 238, 203);
            DrawRect(x, y, w, h);
        }
        if (img) {
            SetColor(255, 255, 255);
            DrawImage(img, x + kPad, y + ty);
        }
        if (!title.empty()) {
            SetImageFont(titleFont ? titleFont : font);
            SetColor(120, 46, 16);
            DrawText(title, std::floor(x + titleX - TextWidth(title) / 2.0f), y + titleY);
        }
        SetColor(59, 36, 20);
        drawTextBlock(txt, static_cast<int>(x + tx), static_cast<int>(y + ty), tw, "CENTER", font, 2);
        SetColor(255, 255, 255);
        SetAlpha(1);
    }
    for (auto& ar : arrows) ar->draw(arrowImg1, arrowImg2, sa);
}
