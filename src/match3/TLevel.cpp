#include "match3/TLevel.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/Files.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "match3/TChip.h"
#include "match3/TM3Effects.h"
#include "match3/TM3Game.h"

namespace {

constexpr int kMaxDim = 30;

// Splits at single spaces, keeping empty pieces (as the level format reads).
std::vector<std::string> splitSpaces(const std::string& s) {
    std::vector<std::string> out;
    std::string cur;
    for (char ch : s) {
        if (ch == ' ') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += ch;
        }
    }
    out.push_back(cur);
    return out;
}


int toInt(float v) {
    // Truncation toward zero, with values no int can hold read as 0.
    if (!(v > -2147483520.0f && v < 2147483520.0f)) return 0;
    return static_cast<int>(v);
}

}  // namespace

int levelInt(const std::string& token) {
    size_t i = 0;
    bool neg = false;
    if (i < token.size() && (token[i] == '-' || token[i] == '+')) {
        neg = token[i] == '-';
        ++i;
    }
    long long v = 0;
    bool any = false;
    for (; i < token.size() && std::isdigit(static_cast<unsigned char>(token[i])); ++i) {
        any = true;
        if (v < 100000000000LL) v = v * 10 + (token[i] - '0');
    }
    if (!any) return 0;
    if (v > 2147483647LL) v = 2147483647LL;
    return static_cast<int>(neg ? -v : v);
}

// ---------------------------------------------------------------------------
// Queries and simple operations

int TLevel::getLevelWidth() const { return static_cast<int>(w); }
int TLevel::getLevelHeight() const { return static_cast<int>(h); }

TTile* TLevel::tileAt(int r, int c) const {
    if (r < 0 || c < 0 || r >= rows || c >= cols) return nullptr;
    if (r >= static_cast<int>(tile.size()) || c >= static_cast<int>(tile[r].size())) return nullptr;
    return tile[r][c].get();
}

int TLevel::isChip(int id) const {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TTile* t = tileAt(r, c);
            if (t && t->chip && t->chip->cd && t->chip->cd->id == id) return 1;
        }
    return 0;
}

int TLevel::thereIsNoPuzzleChip() const { return noPuzzleChip; }

int TLevel::allTilesAre(int) {
    noPuzzleChip = 1;
    int cleared = 1;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TTile* t = tileAt(r, c);
            if (!t) continue;
            if (t->chip && t->chip->isPuzzle()) noPuzzleChip = 0;
            if (t->kind() > 1) cleared = 0;
        }
    return cleared;
}

void TLevel::fillLevel(int id) {
    TTileDataPtr td = m3Game ? m3Game->getTileData(id) : nullptr;
    for (auto& row : tile)
        for (auto& t : row)
            if (t) t->setTileData(td);
}

int TLevel::tileBelowIsEmpty(int r, int c) const {
    if (r + 1 >= rows) return 1;
    TTile* t = tileAt(r + 1, c);
    return (!t || t->kind() == 0) ? 1 : 0;
}

void TLevel::createEmptyTilesTab() {
    tile.assign(std::max(rows, 0), {});
    for (int r = 0; r < rows; ++r) {
        tile[r].resize(std::max(cols, 0));
        for (int c = 0; c < cols; ++c) {
            auto t = std::make_shared<TTile>();
            t->level = this;
            t->r = r;
            t->c = c;
            tile[r][c] = t;
        }
    }
}

void TLevel::shutDown() {
    for (auto& row : tile)
        for (auto& t : row)
            if (t) t->shutDown();
}

void TLevel::countDims() {
    const float px = settings ? settings->sizeX : 0.0f;
    const float py = settings ? settings->sizeY : 0.0f;
    sx = lx - px * cols / 2;
    sy = ly - py * rows / 2;
    w = px * cols;
    h = py * rows;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (TTile* t = tileAt(r, c)) {
                t->dim.x = static_cast<float>(static_cast<int>(sx + px * c));
                t->dim.y = static_cast<float>(static_cast<int>(sy + py * r));
                t->dim.w = px;
                t->dim.h = py;
            }
}

void TLevel::setPosition(float x, float y) {
    lx = x;
    ly = y;
    countDims();
    if (!ramka.empty()) createFrameDims();
}

int TLevel::_isMatch(const TTilePtr& t) {
    if (!m3Game || !t) return 0;
    return m3Game->_isMatch(*t);
}

void TLevel::CreateCreatorsList() {
    chipCreators.clear();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TTile* t = tileAt(r, c);
            if (t && t->creator) {
                TDim d;
                d.x = static_cast<float>(r);
                d.y = static_cast<float>(c);
                chipCreators.push_back(d);
            }
        }
}

void TLevel::checkIfPuzzles() {
    for (auto& row : tile)
        for (auto& t : row)
            if (t && t->chip && t->chip->isPuzzle()) saPuzzle = 1;
}

void TLevel::setBackGround(int id) {
    backGround = getBackground(id);
    loadBackGround();
}

void TLevel::setGlobalAlpha(float a) {
    for (auto& row : tile)
        for (auto& t : row)
            if (t) t->setMyAlpha(a);
}

void TLevel::setFrameAlpha(float a) {
    for (auto& row : ramka)
        for (auto& f : row)
            if (f) f->a = a;
}

void TLevel::loadBackGround() {
    backImg.reset();
    if (!backGround) return;
    const std::string path = dataRoot + backGround->url;
    backImg = LoadImage(path);
    if (!backImg)
        std::printf("no background image: %s FILETYPE : %d\n", RealPath(path).c_str(),
                    FileType(path));
}

TChipDataPtr TLevel::getRandomChip() {
    if (availableChips.empty()) return nullptr;
    const int n = Rand(1, static_cast<int>(availableChips.size()));
    return availableChips[n - 1];
}

void TLevel::randomChips() {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TTile* t = tileAt(r, c);
            if (!t || t->kind() == 0) continue;
            // A board of one or two kinds can never avoid every match: stop
            // re-dealing after a while rather than loop for ever.
            for (int tries = 0; tries < 64; ++tries) {
                auto cd = getRandomChip();
                if (!cd) break;
                t->setChip(createChip(cd));
                if (!checkMatch(r, c)) break;
            }
        }
}

void TLevel::moveChipsUp(const TTilePtr& from) {
    if (!from) return;
    for (int r = from->r - 1; r >= 0; --r) {
        TTile* t = tileAt(r, from->c);
        if (!t || t->kind() == 0 || t->chain > 0) break;
        if (!t->chip) break;
        t->chip->moveUpToFall();
    }
}

int TLevel::checkMatch(int r, int c) {
    if (!m3Game) return 0;
    TTile* t = tileAt(r, c);
    if (!t) return 0;
    auto list = m3Game->getMatchedChips(tile[r][c]);
    return (list && list->size() > 2) ? 1 : 0;
}

void TLevel::rebuildTiles(const std::vector<TTileDataPtr>& tilesList) {
    auto find = [&](int id) -> TTileDataPtr {
        for (auto& td : tilesList)
            if (td && td->id == id) return td;
        return nullptr;
    };
    for (auto& row : tile)
        for (auto& t : row)
            if (t && t->td) {
                if (auto td = find(t->td->id)) t->td = td;
            }
    for (auto& row : ramka)
        for (auto& f : row)
            if (f && f->td) {
                if (auto td = find(f->td->id)) f->td = td;
            }
}

// ---------------------------------------------------------------------------
// Frame layout

std::vector<std::vector<TM3FramePtr>> TLevel::CreateFramesTab() {
    std::vector<std::vector<TM3FramePtr>> grid(rows + 2);
    TTileDataPtr hole = m3Game ? m3Game->getTileData(0) : nullptr;
    for (int R = 0; R < rows + 2; ++R) {
        grid[R].resize(cols + 2);
        for (int C = 0; C < cols + 2; ++C) {
            auto f = std::make_shared<TM3Frame>();
            f->lvl = this;
            TTile* t = tileAt(R - 1, C - 1);
            f->td = t ? t->td : hole;
            grid[R][C] = f;
        }
    }
    return grid;
}

int TLevel::isTileOcc(int R, int C) const {
    if (R < 0 || C < 0 || R > rows + 1 || C > cols + 1) return 0;
    TTile* t = tileAt(R - 1, C - 1);
    return (t && t->kind() != 0) ? 1 : 0;
}

int TLevel::isTileFree(int r, int c) const {
    if (r < 0 || c < 0 || r > rows + 1 || c > cols + 1) return 0;
    TTile* t = tileAt(r, c);
    return (!t || t->kind() == 0) ? 1 : 0;
}

static bool hasPiece(const std::vector<TM3FrameDataPtr>& list, const TM3FrameDataPtr& p) {
    return p && std::find(list.begin(), list.end(), p) != list.end();
}

void TLevel::setDirectedFrameCor(std::vector<TM3FrameDataPtr>& list, int R, int C, int dx,
                                 int dy) {
    // An outer corner only where neither straight neighbour is a plate.
    if (isTileOcc(R + dy, C) || isTileOcc(R, C + dx)) return;
    if (auto p = m3Game ? m3Game->getFrameDataByDir(dx, dy, "") : nullptr) list.push_back(p);
}

void TLevel::setDirectedFrame(std::vector<TM3FrameDataPtr>& list, int R, int C, int dx, int dy) {
    if (!isTileOcc(R + dy, C + dx)) return;
    if (dx == 0 || dy == 0) {
        if (auto p = m3Game ? m3Game->getFrameDataByDir(dx, dy, "") : nullptr) list.push_back(p);
    } else {
        setDirectedFrameCor(list, R, C, dx, dy);
    }
}

void TLevel::setDirectedFrameInnerCor(std::vector<TM3FrameDataPtr>& list, int R, int C, int dx,
                                      int dy) {
    if (isTileOcc(R + dy, C + dx) && isTileOcc(R + dy, C) && isTileOcc(R, C + dx)) {
        if (auto p = m3Game ? m3Game->getFrameDataByDir(dx, dy, "IN") : nullptr) list.push_back(p);
    }
}

void TLevel::setDirectedFrameInnerCorDouble1(std::vector<TM3FrameDataPtr>& list, int R, int C) {
    if (R < 1 || R > rows - 2 || C < 1 || C > cols - 2) return;
    const int r = R - 1, c = C - 1;
    if (!isTileFree(r, c)) return;
    static const int dirs[4][2] = {{-1, -1}, {1, 1}, {1, -1}, {-1, 1}};
    for (auto& d : dirs) {
        const int dx = d[0], dy = d[1];
        if (isTileFree(r + dy, c + dx) && !isTileFree(r + dy, c) && !isTileFree(r, c + dx)) {
            if (auto p = m3Game ? m3Game->getFrameDataByDir(dx, dy, "IN") : nullptr)
                list.push_back(p);
        }
    }
}

void TLevel::setDirectedFrameInnerCorDouble2(std::vector<TM3FrameDataPtr>& list, int, int) {
    if (!m3Game) return;
    auto L = m3Game->getFrameDataByDir(-1, 0, "");
    auto Rt = m3Game->getFrameDataByDir(1, 0, "");
    auto U = m3Game->getFrameDataByDir(0, -1, "");
    auto D = m3Game->getFrameDataByDir(0, 1, "");
    auto add = [&](bool cond, int dx, int dy) {
        if (!cond) return;
        auto p = m3Game->getFrameDataByDir(dx, dy, "IN");
        if (p && !hasPiece(list, p)) list.push_back(p);
    };
    add(hasPiece(list, L) && hasPiece(list, U), -1, -1);
    add(hasPiece(list, L) && hasPiece(list, D), -1, 1);
    add(hasPiece(list, Rt) && hasPiece(list, U), 1, -1);
    add(hasPiece(list, Rt) && hasPiece(list, D), 1, 1);
}

std::vector<TM3FrameDataPtr> TLevel::CreateTileFramesList(int R, int C) {
    std::vector<TM3FrameDataPtr> list;
    if (m3Game)
        if (auto base = m3Game->getFrameData(0)) list.push_back(base);
    if (isTileOcc(R, C)) return list;
    static const int edges[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1},
                                    {1, 1},  {-1, 1}, {-1, -1}, {1, -1}};
    for (auto& d : edges) setDirectedFrame(list, R, C, d[0], d[1]);
    static const int inner[4][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (auto& d : inner) setDirectedFrameInnerCor(list, R, C, d[0], d[1]);
    setDirectedFrameInnerCorDouble1(list, R, C);
    setDirectedFrameInnerCorDouble2(list, R, C);
    return list;
}

void TLevel::createFrameDims() {
    const float px = settings ? settings->sizeX : 0.0f;
    const float py = settings ? settings->sizeY : 0.0f;
    const float ox = lx - px * (cols + 2) / 2;
    const float oy = ly - py * (rows + 2) / 2;
    for (int R = 0; R < static_cast<int>(ramka.size()); ++R)
        for (int C = 0; C < static_cast<int>(ramka[R].size()); ++C)
            if (auto& f = ramka[R][C]) {
                f->x = static_cast<float>(static_cast<int>(ox + px * C));
                f->y = static_cast<float>(static_cast<int>(oy + py * R));
            }
}

void TLevel::CreateLevelFrames() {
    ramka = CreateFramesTab();
    for (int R = 0; R < rows + 2; ++R)
        for (int C = 0; C < cols + 2; ++C) {
            ramka[R][C]->lista = CreateTileFramesList(R, C);
            ramka[R][C]->lvl = this;
        }
    createFrameDims();
}

void TLevel::drawFrames() const {
    for (auto& row : ramka)
        for (auto& f : row)
            if (f) f->draw();
}

// ---------------------------------------------------------------------------
// Saving

void TLevel::_saveLevelStandards(TRCMFile& f) {
    f.setFloat("level::data::dims", rows, 0);
    f.setFloat("level::data::dims", cols, 1);
    f.setFloat("level::data::backGround", backGround ? backGround->id : 0, 0);
    f.setFloat("level::data::time", czas, 0);
    f.setFloat("level::data::time", maxCzas, 1);
    f.setFloat("level::data::score", score, 0);
    f.setFloat("level::data::collect", collect, 0);
    f.setFloat("level::data::tilesCount", tilesCount, 0);
    f.setString("level::data::matchType", matchType, 0);
    f.setString("level::data::saPuzzle", std::to_string(saPuzzle), 0);
    f.setString("level::data::puzzles", std::to_string(puzzles), 0);
}

void TLevel::_saveLevelResources(TRCMFile& f) {
    for (int i = 0; i < 4; ++i) f.setFloat("level::zasoby::res" + std::to_string(i), zasob[i], 0);
}

void TLevel::_saveLevelGoals(TRCMFile& f) { f.setFloat("level::goals::i", 0, 0); }

void TLevel::_saveLevelAvailables(TRCMFile& f) {
    std::string ids;
    for (auto& cd : availableChips) {
        if (!cd) continue;
        if (!ids.empty()) ids += ' ';
        ids += std::to_string(cd->id);
    }
    f.setString("level::data::availableChips", ids, 0);
    ids.clear();
    for (auto& cd : availableBonus) {
        if (!cd) continue;
        if (!ids.empty()) ids += ' ';
        ids += std::to_string(cd->id);
    }
    f.setString("level::data::availableBonus", ids, 0);
}

template <typename Fn>
static std::string rowText(const TLevel& lvl, int r, Fn value) {
    std::string s;
    for (int c = 0; c < lvl.cols; ++c) {
        if (c) s += ' ';
        TTile* t = lvl.tileAt(r, c);
        s += std::to_string(t ? value(*t) : 0);
    }
    return s;
}

void TLevel::_saveLevelTiles(TRCMFile& f) {
    for (int r = 0; r < rows; ++r)
        f.setString("level::tiles::row" + std::to_string(r),
                    rowText(*this, r, [](const TTile& t) { return t.kind(); }), 0);
}

void TLevel::_saveLevelChips(TRCMFile& f) {
    for (int r = 0; r < rows; ++r)
        f.setString("level::chips::row" + std::to_string(r), rowText(*this, r, [](const TTile& t) {
                        return (t.chip && t.chip->cd) ? t.chip->cd->id : 0;
                    }),
                    0);
}

void TLevel::_saveLevelChains(TRCMFile& f) {
    for (int r = 0; r < rows; ++r)
        f.setString("level::chain::row" + std::to_string(r),
                    rowText(*this, r, [](const TTile& t) { return t.chain; }), 0);
}

void TLevel::_saveLevelChipCreators(TRCMFile& f) {
    f.setFloat("level::chipCreators::i", static_cast<double>(chipCreators.size()), 0);
    for (size_t i = 0; i < chipCreators.size(); ++i) {
        const std::string key = "level::chipCreators::cc" + std::to_string(i + 1);
        f.setFloat(key, chipCreators[i].x, 0);
        f.setFloat(key, chipCreators[i].y, 1);
    }
}

void TLevel::_saveLevelFrame(TRCMFile& f) {
    for (int R = 0; R < rows + 2; ++R) {
        const std::string key = "level::frame::row" + std::to_string(R);
        for (int C = 0; C < cols + 2; ++C) {
            std::string v = "\"";
            if (R < static_cast<int>(ramka.size()) && C < static_cast<int>(ramka[R].size()) &&
                ramka[R][C]) {
                bool first = true;
                for (auto& p : ramka[R][C]->lista) {
                    if (!p) continue;
                    if (!first) v += ' ';
                    v += std::to_string(p->id);
                    first = false;
                }
            }
            v += '"';
            f.setString(key, v, C);
        }
    }
}

bool TLevel::save(const std::string& path) {
    CreateCreatorsList();
    checkIfPuzzles();
    auto f = newRCMFile();
    _saveLevelStandards(*f);
    _saveLevelResources(*f);
    _saveLevelGoals(*f);
    _saveLevelAvailables(*f);
    _saveLevelTiles(*f);
    _saveLevelChips(*f);
    _saveLevelChains(*f);
    _saveLevelChipCreators(*f);
    _saveLevelFrame(*f);
    const bool ok = f->save(path);
    if (!ok) std::fprintf(stderr, "Cannot write the level file %s\n", path.c_str());
    return ok;
}

bool saveLevelFile(TLevel& level, const std::string& path) { return level.save(path); }

// ---------------------------------------------------------------------------
// Loading

TLevelPtr loadLevelFile(const std::string& path, TM3Game* game) {
    auto file = loadRCMFile(path);
    if (!file) {
        std::fprintf(stderr, "Level file %s could not be read\n", path.c_str());
        return nullptr;
    }
    return loadLevelFromRCM(*file, path, game);
}

std::string levelPlayProblem(const TLevel& level) {
    bool chips = false, creators = false, toBreak = false;
    for (const auto& row : level.tile)
        for (const auto& t : row) {
            if (!t) continue;
            chips = chips || t->chip != nullptr;
            creators = creators || (t->creator != 0 && t->kind() != 0);
            toBreak = toBreak || t->kind() > 1;
        }
    // Nothing to break is won at once; pieces or a way for them to come make moves.
    if (!toBreak || chips || (creators && !level.availableChips.empty())) return "";
    if (!creators)
        return "it has plates to break but no pieces and no creator cell to bring new ones, so it could never be "
               "won or lost";
    return "it has plates to break but no pieces and no chip kinds for its creator cells to bring, so it could "
           "never be won or lost";
}

TLevelPtr loadLevelFromRCM(TRCMFile& file, const std::string& name, TM3Game* game, std::string* why) {
    auto lvl = std::make_shared<TLevel>();
    lvl->m3Game = game;
    lvl->settings = game ? game->settings : nullptr;

    lvl->rows = toInt(file.getFloat("level::data::dims", 0));
    lvl->cols = toInt(file.getFloat("level::data::dims", 1));
    if (lvl->rows < 1 || lvl->rows > kMaxDim || lvl->cols < 1 || lvl->cols > kMaxDim) {
        std::fprintf(stderr, "Level file %s refused: board size %d x %d is outside 1..%d\n",
                     name.c_str(), lvl->rows, lvl->cols, kMaxDim);
        if (why) *why = "its board size is outside 1 x 1 to 30 x 30";
        return nullptr;
    }
    lvl->czas = toInt(file.getFloat("level::data::time", 0));
    lvl->maxCzas = toInt(file.getFloat("level::data::time", 1));
    lvl->score = toInt(file.getFloat("Level::data::score"));
    m3Effects().setLevelTime(toInt(file.getFloat("Profile::levelTime")));
    lvl->matchType = file.getString("level::data::matchType");
    lvl->collect = toInt(file.getFloat("Level::data::collect"));
    lvl->tilesCount = toInt(file.getFloat("Level::data::tilesCount"));
    lvl->highestMatch = toInt(file.getFloat("Level::data::highestMatch"));
    lvl->saPuzzle = toInt(file.getFloat("level::data::saPuzzle"));
    lvl->puzzles = toInt(file.getFloat("level::data::Puzzles"));

    const int backId = toInt(file.getFloat("level::data::backGround"));
    if (auto bg = getBackground(backId)) lvl->setBackGround(bg->id);

    // Tiles first: a kind missing from the catalogue refuses the level before
    // anything global (the power-up colours) is touched.
    lvl->createEmptyTilesTab();
    std::vector<std::vector<std::string>> chipRows(lvl->rows), chainRows(lvl->rows);
    for (int r = 0; r < lvl->rows; ++r) {
        const std::string rs = std::to_string(r);
        const auto tiles = splitSpaces(file.getString("level::tiles::row" + rs));
        chipRows[r] = splitSpaces(file.getString("level::chips::row" + rs));
        chainRows[r] = splitSpaces(file.getString("level::chain::row" + rs));
        for (int c = 0; c < lvl->cols; ++c) {
            const int id = c < static_cast<int>(tiles.size()) ? levelInt(tiles[c]) : 0;
            TTileDataPtr td = game ? game->getTileData(id) : nullptr;
            if (!td) {
                std::fprintf(stderr,
                             "Level file %s refused: tile kind %d (row %d, column %d) is not in "
                             "the tile catalogue\n",
                             name.c_str(), id, r, c);
                return nullptr;
            }
            lvl->tile[r][c]->setTileData(td);
        }
    }

    // Available chips and the power-up colour slots.
    const std::string avail = file.getString("level::data::availableChips");
    for (auto& slot : TM3Game::powerUpColor) slot.reset();
    int slots = 0;
    for (auto& tok : splitSpaces(avail)) {
        if (tok.empty()) continue;
        auto cd = game ? game->getChipData(levelInt(tok)) : nullptr;
        if (!cd) continue;
        lvl->availableChips.push_back(cd);
        if (slots < 6) TM3Game::powerUpColor[slots++] = cd;
    }
    for (auto& tok : splitSpaces(file.getString("level::data::availableBonus"))) {
        if (tok.empty()) continue;
        int v = levelInt(tok);
        if (v < 100) v += 100;
        if (auto cd = game ? game->getBonusChipData(v) : nullptr) lvl->availableBonus.push_back(cd);
    }

    // Chips and chains.
    for (int r = 0; r < lvl->rows; ++r)
        for (int c = 0; c < lvl->cols; ++c) {
            TTile& t = *lvl->tile[r][c];
            const int chipId =
                c < static_cast<int>(chipRows[r].size()) ? levelInt(chipRows[r][c]) : 0;
            const int chainVal =
                c < static_cast<int>(chainRows[r].size()) ? levelInt(chainRows[r][c]) : 0;
            t.chain = std::clamp(chainVal, 0, 2);
            TChipDataPtr cd;
            if (chipId > 100) cd = game ? game->getBonusChipData(chipId) : nullptr;
            else if (chipId >= 1) cd = game ? game->getChipData(chipId) : nullptr;
            if (cd) {
                auto chip = createChip(cd);
                t.setChip(chip);
                chip->r = r;
                chip->c = c;
            }
        }

    // Creators.
    const int k = toInt(file.getFloat("level::chipCreators::i"));
    const int maxK = lvl->rows * lvl->cols * 4;  // more entries than that is a broken file
    for (int i = 1; i <= std::min(k, maxK); ++i) {
        const std::string key = "level::chipCreators::cc" + std::to_string(i);
        const int cr = toInt(file.getFloat(key, 0));
        const int cc = toInt(file.getFloat(key, 1));
        TTile* t = lvl->tileAt(cr, cc);
        if (!t) continue;
        TDim d;
        d.x = static_cast<float>(cr);
        d.y = static_cast<float>(cc);
        lvl->chipCreators.push_back(d);
        t->creator = 1;
    }

    // Frames.
    lvl->ramka = lvl->CreateFramesTab();
    for (int R = 0; R < lvl->rows + 2; ++R) {
        const std::string key = "level::frame::row" + std::to_string(R);
        for (int C = 0; C < lvl->cols + 2; ++C) {
            auto& cell = *lvl->ramka[R][C];
            for (auto& tok : splitSpaces(file.getString(key, C))) {
                if (auto p = game ? game->getFrameData(levelInt(tok)) : nullptr)
                    cell.lista.push_back(p);
            }
        }
    }

    // Play-log data.
    lvl->log_tilesToBrake = 0;
    lvl->log_iloscPuzzli = 0;
    for (auto& row : lvl->tile)
        for (auto& t : row) {
            if (t->td) lvl->log_tilesToBrake += t->td->match;
            if (t->chip && t->chip->isPuzzle()) lvl->log_iloscPuzzli += 1;
        }
    lvl->log_availableChips = avail;
    const std::string problem = levelPlayProblem(*lvl);
    if (!problem.empty()) {
        std::fprintf(stderr, "Level file %s refused: %s\n", name.c_str(), problem.c_str());
        if (why) *why = problem;
        return nullptr;
    }
    return lvl;
}

TLevelPtr createEmptyLevel(int rows, int cols, TM3Game* game) {
    auto lvl = std::make_shared<TLevel>();
    lvl->rows = std::clamp(rows, 0, kMaxDim);
    lvl->cols = std::clamp(cols, 0, kMaxDim);
    lvl->czas = 360;
    lvl->maxCzas = 360;
    lvl->m3Game = game;
    lvl->settings = game ? game->settings : nullptr;
    lvl->setBackGround(1);
    lvl->createEmptyTilesTab();
    lvl->fillLevel(1);
    lvl->countDims();
    return lvl;
}
