#include "jigsaw/TPuzzleLevel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "audio/TGlobalSnd.h"
#include "data/TRCMFile.h"
#include "jigsaw/TTrayLayout.h"

// ---------------------------------------------------------------------------
// Lay-out walk

void TLayoutWalk::next(float& outX, float& outY) {
    if (_phase == 0) {  // down the left edge
        _y += 0.75f * _h;
        if (_y > 500) _x = 190, _y = 760 - _h, _phase = 1;
    } else if (_phase == 1) {  // along the bottom
        _x += 0.75f * _w;
        if (_x > 900) _x = 1000 - _w, _y = 760 - _h, _phase = 2;
    } else {  // up the right edge, then round again
        _y -= 0.75f * _h;
        if (_y >= _h)
            _x = 1000 - _w;
        else
            _x = 10, _y = 10, _phase = 0;
    }
    outX = _x;
    outY = _y;
}

// ---------------------------------------------------------------------------
// Level

void TPuzzleLevel::finishPuzzles() {
    for (auto& p : allPuzzles) p->finish();
}

void TPuzzleLevel::shufflePuzzlePositions() {
    if (allPuzzles.empty()) return;
    TLayoutWalk walk(static_cast<float>(allPuzzles.front()->w), static_cast<float>(allPuzzles.front()->h));
    for (auto& p : allPuzzles) {
        float x, y;
        walk.next(x, y);
        p->dim.x = x;
        p->dim.y = y;
    }
}

void TPuzzleLevel::shufflePuzzlePositions2() {
    std::vector<TPuzzle*> loose;
    for (auto& e : puzzles)
        if (!e->isGroup() && e->aktywny) loose.push_back(e.get());
    if (loose.empty()) return;
    const float refW = static_cast<float>(loose.front()->w), refH = static_cast<float>(loose.front()->h);
    std::vector<TPuzzle*> off;
    for (TPuzzle* p : loose) {
        const float px = p->dim.x, py = p->dim.y;
        const bool onBoard = px >= stx && px <= stx + kBoard - p->w && py >= sty && py <= sty + kBoard - p->h;
        if (!onBoard) off.push_back(p);
    }
    // The walk round the edges while one round holds them all; past that it
    // would start again on top of the first pieces, so the tray's grid
    // (every piece's middle in sight) takes them instead.
    std::vector<std::pair<float, float>> at;
    TLayoutWalk walk(refW, refH);
    for (size_t k = 0; k < off.size(); ++k) {
        float x, y;
        walk.next(x, y);
        if (k > 0 && walk.phase() == 0 && x == 10 && y == 10) {
            at.clear();
            break;
        }
        at.emplace_back(x, y);
    }
    if (at.size() < off.size()) {
        // The biggest piece sets the grid's step, so no two middles overlap.
        float bigW = 0, bigH = 0;
        for (TPuzzle* p : off) {
            bigW = std::max(bigW, static_cast<float>(p->w));
            bigH = std::max(bigH, static_cast<float>(p->h));
        }
        const TTrayLayout tray(bigW, bigH, stx, sty, kBoard, static_cast<int>(off.size()));
        for (size_t k = 0; k < off.size(); ++k) at.push_back(tray.place(static_cast<int>(k)));
    }
    for (size_t k = 0; k < off.size(); ++k) {
        off[k]->dim.x = at[k].first;
        off[k]->dim.y = at[k].second;
    }
    for (TPuzzle* p : loose) {
        if (!p->nowy) continue;
        const float x = p->dim.x, y = p->dim.y;
        p->x2 = x;
        p->y2 = y;
        if (x < 512 && y < 384)
            p->x1 = 1200, p->y1 = 800;
        else if (x > 512 && y < 384)
            p->x1 = -200, p->y1 = 800;
        else if (x < 512 && y > 384)
            p->x1 = 1200, p->y1 = -200;
        else if (x > 512 && y > 384)
            p->x1 = -200, p->y1 = -200;
        p->mx = p->x1;
        p->my = p->y2;
        p->per = 0;
        p->pSpeed = RndF(0.01f, 0.013f);
        p->dim.x = p->x1;
        p->dim.y = p->y1;
    }
}

bool TPuzzleLevel::save(const std::string& path) {
    auto f = newRCMFile();
    f->setFloat("puzzles::st", stx, 0);
    f->setFloat("puzzles::st", sty, 1);
    f->setFloat("puzzles::i", static_cast<double>(allPuzzles.size()));
    int k = 0;
    for (auto& p : allPuzzles) {
        const std::string P = "puzzles::p" + std::to_string(++k);
        // A piece still flying in is saved where it will land.
        const float x = p->nowy ? p->x2 : p->dim.x, y = p->nowy ? p->y2 : p->dim.y;
        f->setFloat(P + "::id", p->id);
        f->setString(P + "::img", p->imgUrl);
        f->setFloat(P + "::ddim", std::trunc(p->dDim.x), 0);
        f->setFloat(P + "::ddim", std::trunc(p->dDim.y), 1);
        f->setString(P + "::sasiedzi", p->sasiedziTxt);
        f->setFloat(P + "::dim", std::trunc(x), 0);
        f->setFloat(P + "::dim", std::trunc(y), 1);
        f->setFloat(P + "::active", p->aktywny);
    }
    f->setFloat("puzzles::puzzlesAndGroups::i", static_cast<double>(puzzles.size()));
    int j = 0;
    for (auto& e : puzzles) {
        const std::string Q = "puzzles::puzzlesAndGroups::pog" + std::to_string(++j);
        if (e->isGroup()) {
            f->setString(Q + "::typ", "GROUP");
            std::string ids;
            for (TPuzzle* m : static_cast<TPuzzleGroup*>(e.get())->grupa) ids += std::to_string(m->id) + " ";
            if (!ids.empty()) ids.pop_back();
            f->setString(Q + "::grupa", ids);
        } else {
            f->setString(Q + "::typ", "PUZZLE");
            f->setFloat(Q + "::id", e->id);
            f->setFloat(Q + "::a", e->aktywny);
        }
    }
    return f->save(path);
}

bool TPuzzleLevel::inSnapArea(TPuzzle* p) {
    return p->inRect(static_cast<int>(stx - kSnapMargin), static_cast<int>(sty - kSnapMargin), kSnapSize,
                     kSnapSize) != 0;
}

std::optional<TPuzzleOffset> TPuzzleLevel::puzelPasujeDoPuzla(TPuzzle* a, TPuzzle* b) {
    if (!a || !b || !a->aktywny || !b->aktywny) return std::nullopt;
    if (!inSnapArea(a) || !inSnapArea(b)) return std::nullopt;
    if (std::find(a->sasiedzi.begin(), a->sasiedzi.end(), b) == a->sasiedzi.end()) return std::nullopt;
    const double now = std::hypot(double(a->dim.x) - b->dim.x, double(a->dim.y) - b->dim.y);
    const double solved = std::hypot(double(a->dDim.x) - b->dDim.x, double(a->dDim.y) - b->dDim.y);
    if (std::fabs(now - solved) >= kSnapTolerance) return std::nullopt;
    return TPuzzleOffset{static_cast<int>(a->dDim.x - b->dDim.x), static_cast<int>(a->dDim.y - b->dDim.y)};
}

void TPuzzleLevel::dopasuj(TPuzzle* a, TPuzzle* b, float x, float y) {
    a->dim.x = b->dim.x + x;
    a->dim.y = b->dim.y + y;
}

int TPuzzleLevel::indexOf(const TPuzzle* p) const {
    for (size_t i = 0; i < puzzles.size(); ++i)
        if (puzzles[i].get() == p) return static_cast<int>(i);
    return -1;
}

void TPuzzleLevel::removeEntry(const TPuzzle* p) {
    const int i = indexOf(p);
    if (i >= 0) puzzles.erase(puzzles.begin() + i);
}

void TPuzzleLevel::toTop(const TPuzzle* p) {
    const int i = indexOf(p);
    if (i < 0) return;
    TPuzzlePtr keep = puzzles[static_cast<size_t>(i)];
    puzzles.erase(puzzles.begin() + i);
    puzzles.push_back(std::move(keep));
}

void TPuzzleLevel::_matched() {
    ++joins;
    globalSnd.playPuzzleMatched();
}

TPuzzleGroup* TPuzzleLevel::putSingleToSingle(TPuzzle* a, TPuzzle* b) {
    if (!a || !b || a == b || !a->aktywny || !b->aktywny) return nullptr;
    const auto off = puzelPasujeDoPuzla(a, b);
    if (!off) return nullptr;
    auto g = std::make_shared<TPuzzleGroup>();
    g->aktywny = 1;
    g->grupa = {a, b};
    dopasuj(a, b, static_cast<float>(off->x), static_cast<float>(off->y));
    puzzles.push_back(g);
    removeEntry(a);
    removeEntry(b);
    _matched();
    return g.get();
}

TPuzzleGroup* TPuzzleLevel::putSingleToGroup(TPuzzle* a, TPuzzleGroup* g) {
    if (!a || !g) return nullptr;
    for (TPuzzle* s : g->grupa) {
        if (!s->aktywny) continue;
        const auto off = puzelPasujeDoPuzla(a, s);
        if (!off) continue;
        if (g->has(a)) return nullptr;
        g->grupa.push_back(a);
        removeEntry(a);
        dopasuj(a, s, static_cast<float>(off->x), static_cast<float>(off->y));
        _matched();
        return g;
    }
    return nullptr;
}

TPuzzleGroup* TPuzzleLevel::putSingle(TPuzzle* p) {
    for (size_t i = 0; i < puzzles.size(); ++i) {
        TPuzzle* q = puzzles[i].get();
        if (q == p) continue;
        TPuzzleGroup* made =
            q->isGroup() ? putSingleToGroup(p, static_cast<TPuzzleGroup*>(q)) : putSingleToSingle(p, q);
        if (made) return made;
    }
    return nullptr;
}

TPuzzleGroup* TPuzzleLevel::putGroup(TPuzzleGroup* g) {
    for (size_t i = 0; i < puzzles.size(); ++i) {
        TPuzzle* q = puzzles[i].get();
        if (q == g) continue;
        TPuzzleGroup* made =
            q->isGroup() ? putGroupToGroup(g, static_cast<TPuzzleGroup*>(q)) : putSingleToGroup(q, g);
        if (made) return made;
    }
    return nullptr;
}

TPuzzleGroup* TPuzzleLevel::putGroupToGroup(TPuzzleGroup* a, TPuzzleGroup* b) {
    if (!a || !b || a == b) return nullptr;
    for (TPuzzle* r : a->grupa)
        for (TPuzzle* s : b->grupa) {
            if (!puzelPasujeDoPuzla(s, r)) continue;
            const int dx = static_cast<int>((s->dim.x - r->dim.x) - (s->dDim.x - r->dDim.x));
            const int dy = static_cast<int>((s->dim.y - r->dim.y) - (s->dDim.y - r->dDim.y));
            return polaczGrupy(a, b, dx, dy);
        }
    return nullptr;
}

TPuzzleGroup* TPuzzleLevel::polaczGrupy(TPuzzleGroup* a, TPuzzleGroup* b, int dx, int dy) {
    TPuzzlePtr keepA = a->shared_from_this();  // a leaves puzzles below
    for (TPuzzle* m : a->grupa) {
        b->grupa.push_back(m);
        m->setPosition(static_cast<float>(dx), static_cast<float>(dy));
    }
    a->grupa.clear();
    removeEntry(a);
    _matched();
    return b;
}

void TPuzzleLevel::putPuzzle(TPuzzle* p) {
    if (!p || !inSnapArea(p)) return;
    TPuzzleGroup* g = p->isGroup() ? putGroup(static_cast<TPuzzleGroup*>(p)) : putSingle(p);
    if (!g) return;
    g = putGroup(g);
    if (!g) return;
    putGroup(g);
}

TPuzzlePtr TPuzzleLevel::getPuzzleById(int id) const {
    for (auto& p : allPuzzles)
        if (p->id == id) return p;
    return nullptr;
}

void TPuzzleLevel::rozbijGrupe(TPuzzleGroup* g) {
    if (!g || indexOf(g) < 0) return;
    TPuzzlePtr keep = g->shared_from_this();
    for (TPuzzle* m : g->grupa) puzzles.push_back(m->shared_from_this());
    g->grupa.clear();
    removeEntry(g);
}

bool TPuzzleLevel::allOwned() const {
    if (allPuzzles.empty()) return false;
    for (auto& p : allPuzzles)
        if (!p->aktywny) return false;
    return true;
}

bool TPuzzleLevel::complete() const {
    return allOwned() && puzzles.size() == 1;
}

// ---------------------------------------------------------------------------
// Loading

namespace {

constexpr int kMaxPieces = 10000;
constexpr int kMaxPieceId = 1000000;
// Positions far off any screen are not a puzzle the game wrote.
constexpr float kMaxPosition = 100000;

bool inRange(float v) {
    return std::isfinite(v) && std::fabs(v) <= kMaxPosition;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// Whole numbers separated by spaces; false at the first word that is not one.
bool parseIds(const std::string& text, std::vector<int>& out, std::string& bad) {
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        char* end = nullptr;
        const double v = std::strtod(word.c_str(), &end);
        if (!end || *end != 0 || !std::isfinite(v) || std::fabs(v) > kMaxPieceId) {
            bad = word;
            return false;
        }
        out.push_back(static_cast<int>(v));
    }
    return true;
}

TPuzzleLevelPtr refuse(const std::string& path, const std::string& why, std::string* error) {
    const std::string msg = "Puzzle file " + path + " is refused: " + why;
    std::fprintf(stderr, "%s\n", msg.c_str());
    if (error) *error = msg;
    return nullptr;
}

}  // namespace

TPuzzleLevelPtr loadPuzzleLevel(const std::string& path, int shuffle, std::string* error) {
    auto f = loadRCMFile(path);
    if (!f || !f->_loaded) return refuse(path, "it cannot be read", error);
    auto level = std::make_shared<TPuzzleLevel>();
    level->stx = f->getFloat("puzzles::st", 0);
    level->sty = f->getFloat("puzzles::st", 1);
    if (!inRange(level->stx) || !inRange(level->sty)) return refuse(path, "the board position is out of range", error);
    const int n = f->getInt("puzzles::i");
    if (n <= 0 || n > kMaxPieces) return refuse(path, "it holds no pieces (puzzles::i)", error);

    std::set<int> ids;
    for (int k = 1; k <= n; ++k) {
        const std::string P = "puzzles::p" + std::to_string(k);
        if (!f->hasEntry(P + "::id")) return refuse(path, "piece " + std::to_string(k) + " has no id", error);
        auto p = std::make_shared<TPuzzle>();
        p->id = f->getInt(P + "::id");
        if (p->id < 0 || p->id > kMaxPieceId)
            return refuse(path, "piece " + std::to_string(k) + " has an id out of range", error);
        if (!ids.insert(p->id).second)
            return refuse(path, "the piece id " + std::to_string(p->id) + " is used twice", error);
        p->imgUrl = f->getString(P + "::img");
        p->dDim.x = std::trunc(f->getFloat(P + "::ddim", 0));
        p->dDim.y = std::trunc(f->getFloat(P + "::ddim", 1));
        p->dim.x = std::trunc(f->getFloat(P + "::dim", 0));
        p->dim.y = std::trunc(f->getFloat(P + "::dim", 1));
        if (!inRange(p->dDim.x) || !inRange(p->dDim.y) || !inRange(p->dim.x) || !inRange(p->dim.y))
            return refuse(path, "piece " + std::to_string(p->id) + " lies out of range", error);
        p->sasiedziTxt = f->getString(P + "::sasiedzi");
        // The writer of these files puts an empty text down as "0".
        if (p->imgUrl == "0") p->imgUrl.clear();
        p->aktywny = f->getInt(P + "::active") != 0 ? 1 : 0;
        if (!p->imgUrl.empty()) p->loadPicture(p->imgUrl);
        if (!p->imgUrl.empty() && !p->img && p->mask.empty())
            std::fprintf(stderr, "Puzzle file %s: the picture of piece %d (%s) cannot be loaded.\n",
                         path.c_str(), p->id, p->imgUrl.c_str());
        level->allPuzzles.push_back(p);
    }

    // Neighbour lists are checked before anything else refers to the pieces.
    for (auto& p : level->allPuzzles) {
        if (p->sasiedziTxt == "0" && !level->getPuzzleById(0)) p->sasiedziTxt.clear();  // an empty list
        std::vector<int> nb;
        std::string bad;
        if (!parseIds(p->sasiedziTxt, nb, bad))
            return refuse(path,
                          "piece " + std::to_string(p->id) + " lists the neighbour '" + bad +
                              "', which is not a piece id",
                          error);
        for (int id : nb) {
            TPuzzlePtr q = level->getPuzzleById(id);
            if (!q)
                return refuse(path,
                              "piece " + std::to_string(p->id) + " lists the neighbour id " +
                                  std::to_string(id) + ", which does not exist",
                              error);
            if (q != p && std::find(p->sasiedzi.begin(), p->sasiedzi.end(), q.get()) == p->sasiedzi.end())
                p->sasiedzi.push_back(q.get());
        }
    }

    const int m = f->getInt("puzzles::puzzlesAndGroups::i");
    if (m < 0 || m > kMaxPieces) return refuse(path, "the entry count is out of range", error);
    std::set<const TPuzzle*> placed;
    for (int j = 1; j <= m; ++j) {
        const std::string Q = "puzzles::puzzlesAndGroups::pog" + std::to_string(j);
        if (upper(f->getString(Q + "::typ")) == "GROUP") {
            std::vector<int> members;
            std::string bad;
            if (!parseIds(f->getString(Q + "::grupa"), members, bad))
                return refuse(path,
                              "group " + std::to_string(j) + " lists '" + bad + "', which is not a piece id",
                              error);
            auto g = std::make_shared<TPuzzleGroup>();
            g->aktywny = 1;
            for (int id : members) {
                TPuzzlePtr p = level->getPuzzleById(id);
                if (!p)
                    return refuse(path,
                                  "group " + std::to_string(j) + " names the piece id " + std::to_string(id) +
                                      ", which does not exist",
                                  error);
                if (!placed.insert(p.get()).second)
                    return refuse(path, "the piece id " + std::to_string(id) + " is placed twice", error);
                p->aktywny = 1;
                g->grupa.push_back(p.get());
            }
            if (g->grupa.empty()) {
                std::fprintf(stderr, "Puzzle file %s: group %d is empty; left out.\n", path.c_str(), j);
                continue;
            }
            level->puzzles.push_back(g);
        } else {
            const int id = f->getInt(Q + "::id");
            TPuzzlePtr p = level->getPuzzleById(id);
            if (!p)
                return refuse(path,
                              "entry " + std::to_string(j) + " names the piece id " + std::to_string(id) +
                                  ", which does not exist",
                              error);
            if (!placed.insert(p.get()).second)
                return refuse(path, "the piece id " + std::to_string(id) + " is placed twice", error);
            p->aktywny = f->getInt(Q + "::a") != 0 ? 1 : 0;
            level->puzzles.push_back(p);
        }
    }
    // A piece that no entry places would never be shown: it lies loose.
    for (auto& p : level->allPuzzles)
        if (!placed.count(p.get())) {
            std::fprintf(stderr, "Puzzle file %s: piece %d is in no entry; it lies loose.\n", path.c_str(),
                         p->id);
            level->puzzles.push_back(p);
        }

    if (shuffle) {
        level->puzzles = randomPermutation(level->puzzles);
        level->shufflePuzzlePositions();
    }
    return level;
}
