#include "match3/TM3Game.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3Effects.h"
#include "match3/TM3FrameData.h"
#include "match3/TM3Host.h"
#include "match3/TM3Input.h"
#include "match3/TM3Para.h"
#include "match3/TM3Particles.h"
#include "match3/TM3Settings.h"
#include "match3/TMatchInfo.h"
#include "match3/TPara.h"
#include "match3/TPowerUp.h"
#include "match3/TTile.h"
#include "match3/TTileData.h"
#include "match3/matchFinder.h"
#include "match3/matchFinderC.h"
#include "match3/matchFinderS.h"

std::array<ChipDataPtr, 6> TM3Game::powerUpColor;

namespace {

std::string upper(std::string s) {
    for (auto& ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return s;
}

TM3ServicesInput& servicesInput() {
    static TM3ServicesInput in;
    return in;
}

// How long the flying copies of a large match take to reach their tile.
constexpr int kFantomFlightMs = 300;
// How long a charge flies to its power-up button.
constexpr int kResourceFlightMs = 600;

}  // namespace

TM3Game::TM3Game() = default;
TM3Game::~TM3Game() = default;

// ---------------------------------------------------------------------------
// Set-up

void TM3Game::loadSettings(const std::string& path) {
    settings = loadM3Settings(path);
}

void TM3Game::loadTiles(const std::string& path) {
    tilesList = loadTileCatalogue(path, this);
}

void TM3Game::loadTileSet(int set) {
    loadTiles(set ? "data/tiles1.dat" : "data/tiles.dat");
    rebuildTiles();
}

void TM3Game::rebuildTiles() {
    if (level) level->rebuildTiles(tilesList);
}

void TM3Game::loadChips(const std::string& path) {
    chipsList = loadChipCatalogue(path, this);
}

void TM3Game::loadBonusChips(const std::string& path) {
    bonusList = loadChipCatalogue(path, this);
    bonusyByType = buildBonusyByType(bonusList);
}

void TM3Game::loadFrame(const std::string& path) {
    frameList = loadFrameCatalogue(path, this);
}

void TM3Game::loadOverImg(const std::string& path, int rows, int cols) {
    if (rows < 1 || cols < 1) return;
    ImagePtr whole = LoadImage(m3DataPath(path), IMG_FILTERED);
    if (!whole) return;
    const int fw = ImageWidth(whole) / cols;
    const int fh = ImageHeight(whole) / rows;
    if (fw <= 0 || fh <= 0) return;
    overImg = LoadAnimImage(m3DataPath(path), fw, fh, 0, rows * cols, IMG_FILTERED);
    if (overImg) MidHandleImage(overImg);
    maxOverImgF = static_cast<float>(rows * cols - 1);
    overImgF = 0;
}

void TM3Game::loadBackGrounds(const std::string&) {}

void TM3Game::setLevel(const LevelPtr& lvl) {
    level = lvl;
    swapsList.clear();
    listaPar.clear();
    zaznaczone.clear();
    _pendingBonuses.clear();
    _pendingCharges.clear();
    _lastAdded.reset();
    _lastChip.reset();
    overTile.reset();
    overTilePom.reset();
    pickedTile.reset();
    _overTile.reset();
    _lastOver.reset();
    swapTile.reset();
    _dragging = false;
    matcheSamoistne = 0;
    swapsCount = 0;
    log_matches4 = log_matches5 = log_matches6 = log_matchesMore = 0;
    bylOstatniTiles = 0;
    for (auto& b : bonusList) b->ileRazy = 0;
    if (!level) return;
    level->m3Game = this;
    if (!level->settings) level->settings = settings;
    const std::string mt = upper(level->matchType);
    matchType = mt == "CHAIN" ? 1 : mt == "GROUP" ? 2 : 0;
    level->highestMatch = 0;
    level->log_iloscMatchy = 0;
    level->log_zmatchowaneChipsy = 0;
    level->log_lastTileBrakeTime = 0;
    _chipSnapshot.assign(static_cast<size_t>(level->rows * level->cols), nullptr);
}

void TM3Game::setLevelPosition(float x, float y) {
    if (level) level->setPosition(x, y);
}

// ---------------------------------------------------------------------------
// Hooks

TM3Effects& TM3Game::fx() {
    return m3Effects();
}

TM3Input& TM3Game::in() {
    return input ? *input : static_cast<TM3Input&>(servicesInput());
}

void TM3Game::addScore(int n) {
    if (host)
        host->addScore(n);
    else if (level)
        level->score += n;
}

void TM3Game::sendResourceToPowerUp(const TTile& from, int slot) {
    if (slot < 0 || slot > 5) return;
    TPowerUp* pu = host ? host->powerUp(slot) : nullptr;
    if (!pu || !pu->odkryty || pu->aktywny) return;
    fx().flyingResource(slot, from.dim.x, from.dim.y, powerUpColor[slot]);
    PendingCharge pc;
    pc.slot = slot;
    pc.due = Millisecs() + kResourceFlightMs;
    _pendingCharges.push_back(pc);
}
void TM3Game::setChainBroken() {
    fx().setChainBroken();
}
void TM3Game::setPuzzleCollected() {
    fx().setPuzzleCollected();
}
void TM3Game::setTileMatched() {
    fx().setTileMatched();
}
void TM3Game::puzzleCollectedAt() {
    fx().addCollectionTime(std::to_string(fx().levelTime()));
}
int TM3Game::profileLevel() {
    return host ? host->profileLevel() : 0;
}

// ---------------------------------------------------------------------------
// Look-ups

TilePtr TM3Game::getTile(int r, int c) {
    if (!level || r < 0 || c < 0 || r >= level->rows || c >= level->cols) return nullptr;
    return level->tile[r][c];
}

TilePtr TM3Game::_tilePtr(const TTile& t) const {
    if (!level || t.r < 0 || t.c < 0 || t.r >= level->rows || t.c >= level->cols) return nullptr;
    const TilePtr& p = level->tile[t.r][t.c];
    return p.get() == &t ? p : nullptr;
}

TileDataPtr TM3Game::getTileData(int id) {
    for (auto& t : tilesList)
        if (t->id == id) return t;
    return nullptr;
}

std::shared_ptr<TM3FrameData> TM3Game::getFrameData(int id) {
    for (auto& f : frameList)
        if (f->id == id) return f;
    return nullptr;
}

std::shared_ptr<TM3FrameData> TM3Game::getFrameDataByDir(int dx, int dy, const std::string& typ) {
    for (auto& f : frameList)
        if (f->dx == dx && f->dy == dy && f->typ == typ) return f;
    return nullptr;
}

ChipDataPtr TM3Game::getChipData(int id) {
    for (auto& c : chipsList)
        if (c->id == id) return c;
    return nullptr;
}

ChipDataPtr TM3Game::getBonusChipData(int id) {
    for (auto& c : bonusList)
        if (c->id == id) return c;
    return nullptr;
}

ChipPtr TM3Game::getChipByPos(int r, int c) {
    TilePtr t = getTile(r, c);
    return t ? t->chip : nullptr;
}

ChipPtr TM3Game::getChipByPositionVector(const TTile& tile, int dr, int dc) {
    return getChipByPos(tile.r + dr, tile.c + dc);
}

ChipList TM3Game::getAllChips() {
    ChipList out;
    if (!level) return out;
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c)
            if (level->tile[r][c] && level->tile[r][c]->chip) out.push_back(level->tile[r][c]->chip);
    return out;
}

ChipList TM3Game::getAllChipsLikeThisById(int id) {
    ChipList out;
    for (auto& ch : getAllChips())
        if (ch->cd && ch->cd->id == id) out.push_back(ch);
    return out;
}

ChipList TM3Game::getAllChipsLikeThis(const ChipDataPtr& cd) {
    return cd ? getAllChipsLikeThisById(cd->id) : ChipList{};
}

ChipList TM3Game::getChipsSQR(int r, int c, int size) {
    ChipList out;
    for (int i = r - size; i <= r + size; ++i)
        for (int j = c - size; j <= c + size; ++j)
            if (ChipPtr ch = getChipByPos(i, j)) out.push_back(ch);
    return out;
}

TilePtr TM3Game::getTileByMousePosition() {
    if (!level || !level->settings || level->rows <= 0 || level->cols <= 0) return nullptr;
    const float px = level->settings->sizeX, py = level->settings->sizeY;
    if (px <= 0 || py <= 0) return nullptr;
    const float mxf = static_cast<float>(in().mouseX()), myf = static_cast<float>(in().mouseY());
    const int c = static_cast<int>(std::floor((mxf - level->sx + px / 2) / px));
    const int r = static_cast<int>(std::floor((myf - level->sy + py / 2) / py));
    TilePtr t = getTile(r, c);
    if (!t || t->kind() == 0 || t->_flyingTile) return nullptr;
    if (matchType == 1) {
        // Chain mode shrinks the cell so that a diagonal stroke does not catch
        // the cells it passes by.
        const float x0 = t->dim.x - px / 2 + 5, y0 = t->dim.y - py / 2 + 5;
        if (mxf < x0 || myf < y0 || mxf >= x0 + px - 10 || myf >= y0 + py - 10) return nullptr;
    }
    return t;
}

ChipPtr TM3Game::getRandomChip() {
    if (!level) return nullptr;
    TChipDataPtr cd = level->getRandomChip();
    return cd ? createChip(cd) : nullptr;
}

ChipPtr TM3Game::getRandomChipsByDim(int r, int c) {
    if (!level || level->availableChips.empty()) return nullptr;
    // Avoid kinds that would line up with two neighbours already there.
    auto kindAt = [&](int rr, int cc) {
        ChipPtr ch = getChipByPos(rr, cc);
        return ch && ch->cd ? ch->cd->id : -1;
    };
    TChipDataPtr pick;
    for (int tries = 0; tries < 16; ++tries) {
        pick = level->getRandomChip();
        if (!pick) return nullptr;
        const int k = pick->id;
        const bool line = (kindAt(r - 1, c) == k && kindAt(r - 2, c) == k) ||
                          (kindAt(r, c - 1) == k && kindAt(r, c - 2) == k) ||
                          (kindAt(r + 1, c) == k && kindAt(r + 2, c) == k) ||
                          (kindAt(r, c + 1) == k && kindAt(r, c + 2) == k);
        if (!line) break;
    }
    return createChip(pick);
}

namespace {
// Chips that random picks may take: normal chips lying on the board, not
// puzzle pieces and not already going.
bool pickable(const ChipPtr& ch) {
    return ch && ch->cd && !ch->cd->puzzleChip && ch->cd->id <= 100 && ch->state != TChipState::DESTROY;
}

ChipList randomSubset(ChipList pool, int n) {
    ChipList out;
    while (n-- > 0 && !pool.empty()) {
        const int i = Rand(0, static_cast<int>(pool.size()) - 1);
        out.push_back(pool[i]);
        pool[i] = pool.back();
        pool.pop_back();
    }
    return out;
}
}  // namespace

ChipList TM3Game::getRandomChips(int n) {
    ChipList pool;
    for (auto& ch : getAllChips())
        if (pickable(ch)) pool.push_back(ch);
    return randomSubset(std::move(pool), n);
}

ChipList TM3Game::getRandomChipsWithout(int n, const ChipDataPtr& cd) {
    ChipList pool;
    for (auto& ch : getAllChips())
        if (pickable(ch) && (!cd || ch->cd->id != cd->id)) pool.push_back(ch);
    return randomSubset(std::move(pool), n);
}

ChipDataPtr TM3Game::getRandomBonus() {
    if (!level || level->availableBonus.empty()) return nullptr;
    return level->availableBonus[Rand(0, static_cast<int>(level->availableBonus.size()) - 1)];
}

std::string TM3Game::getRandomBonusType() {
    if (bonusyByType.empty()) return "";
    return bonusyByType[Rand(0, static_cast<int>(bonusyByType.size()) - 1)];
}

ChipDataPtr TM3Game::getRandomBonus1() {
    if (profileLevel() == 1) return getBonusChipData(104);
    return getBonusChipData(Rand(0, 1) ? 101 : 104);
}

// ---------------------------------------------------------------------------
// State queries

int TM3Game::_nothingIsHappening() {
    if (!level) return 1;
    if (!swapsList.empty() || !listaPar.empty() || !_pendingBonuses.empty()) return 0;
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            TTile* t = level->tile[r][c].get();
            if (t && t->chip && t->chip->isMoving()) return 0;
        }
    return 1;
}

int TM3Game::isAnyBonus() {
    return isCrossFire ? isCrossFire : isBomb;
}

int TM3Game::isBonus(int id) {
    if (id < 100) id += 100;
    return getAllChipsLikeThisById(id).empty() ? 0 : 1;
}

int TM3Game::isChain(int n) {
    if (!level) return 0;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && t->chain >= n && t->chain > 0) return 1;
    return 0;
}

int TM3Game::isBonusType(const std::string& typ) {
    const std::string u = upper(typ);
    for (auto& ch : getAllChips())
        if (ch->cd && upper(ch->cd->typ) == u) return 1;
    return 0;
}

int TM3Game::isBonusType2(const std::string& typ) {
    const std::string u = upper(typ);
    for (auto& b : bonusList)
        if (upper(b->typ) == u) return 1;
    return 0;
}

// ---------------------------------------------------------------------------
// The frame

TilePtr TM3Game::update() {
    isBomb = isCrossFire = isBomb2 = isCrossFire2 = 0;
    _isAnyBonus = 0;
    _blasts = 0;
    if (!level) return nullptr;
    _updateTiles();
    _updateTileSwaps();
    _updateTileChip();
    _updateTileOver();
    _updateFrameAlpha();
    _updateChipFall();
    _updateOverAnim();
    _updatePary();
    _updateChipsGroup();
    _updateChipSIDEFall();
    _settlePending();
    _updateBlysk();
    _updatePoblysk();
    return overTile;
}

void TM3Game::_updateTiles() {
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c)
            if (TTile* t = level->tile[r][c].get()) t->update();
}

void TM3Game::_updateTileChip() {
    const int rows = level->rows, cols = level->cols;
    _chipSnapshot.resize(static_cast<size_t>(rows * cols));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TTile* t = level->tile[r][c].get();
            _chipSnapshot[r * cols + c] = t ? t->chip.get() : nullptr;
        }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TTile* t = level->tile[r][c].get();
            // A chip that arrived here during this pass has had its frame already.
            if (!t || !t->chip || t->chip.get() != _chipSnapshot[r * cols + c]) continue;
            const std::string status = t->updateChip();
            if (t->chip && t->chip->cd) {
                const std::string& typ = t->chip->cd->typ;
                const int id = t->chip->cd->id;
                if (typ.empty()) {
                    // a normal kind: no bonus to note (the test saves two compares a chip a frame)
                } else if (typ == "CROSSFIRE") {
                    isCrossFire = 1;
                    if (id == 103) isCrossFire2 = 1;
                } else if (typ == "BOMB") {
                    isBomb = 1;
                    if (id == 106) isBomb2 = 1;
                }
                if (t->chip->isBonus()) _isAnyBonus = 1;
            }
            if (!status.empty() && status == "CHECK-IF-CAN-FALL" && t->chip) {
                if (_chipMayFallDownMore(r, c)) {
                    fallChip(r, c);
                } else if (int side = _chipMaySideFallDown(r, c)) {
                    sideFallChip(r, c, side);
                } else {
                    t->chip->setState("LAND");
                }
            }
        }
}

std::string TM3Game::_tileChipStatus(TTile& tile, const std::string& status) {
    if (status.empty() || !tile.chip) return "";  // nearly every chip every frame: nothing to do
    ChipPtr chip = tile.chip;
    if (status == "DESTROYED") {
        tile.setChip(nullptr);
        return "";
    }
    if (status == "FALL") {
        chip->state.clear();
        return "CHECK-IF-CAN-FALL";
    }
    if (status == "LANDED") {
        chip->setState("");
        tile.checkIfPuzzle();
        if (tile.chip) _isLandedMatch(tile);
        return "";
    }
    if (status == "CHECK_MATCH") {
        chip->setState("");
        _isLandedMatch(tile);
        return "";
    }
    if (status == "END_MOVE") {
        const bool bonus = chip->cd && !chip->cd->typ.empty();
        if (!_isSwap(tile)) {
            _isMatch(tile);
            if (bonus) {
                chip->setState("");
                chip->destroy(0);
            } else {
                chip->setState("");
                tile.checkIfPuzzle();
            }
        } else if (bonus) {
            // A bonus chip swapped with anything goes off when it arrives.
            chip->setState("");
            _removePair(tile);
            chip->destroy(0);
        } else {
            if (_isMatch(tile)) _removePair(tile);
            // Arrived: the pending swap is settled (or played back) once both are still.
            chip->setState("");
        }
        return "";
    }
    if (status == "END_CHAIN") {
        chip->setState("");
        return "";
    }
    return "";
}

void TM3Game::_updateTileOver() {
    TilePtr t = getTileByMousePosition();
    if (t && !t->canBeOver()) t.reset();
    if (overTile && overTile != t) overTile->over = 0;
    if (t) t->over = 1;
    if (t != overTile) _lastOver = overTile;
    overTile = t;
}

TilePtr TM3Game::_updateTileOver_BEZWZGLEDNIE() {
    return getTileByMousePosition();
}

void TM3Game::_updateFrameAlpha() {
    const float step = 0.02f * frameDelta;
    if (rAlpha < dRAlpha) rAlpha = std::min(dRAlpha, rAlpha + step);
    if (rAlpha > dRAlpha) rAlpha = std::max(dRAlpha, rAlpha - step);
    if (level) level->setFrameAlpha(rAlpha);
}

void TM3Game::_updateOverAnim() {
    overImgF += overImgAnimSpeed * frameDelta;
    if (overImgF > maxOverImgF) overImgF = 0;
}

void TM3Game::_updatePary() {
    for (auto it = listaPar.begin(); it != listaPar.end();) {
        TM3Para& p = **it;
        const bool flying1 = p.c1 && p.c1->docelowyTile && p.c1->tileP < 1;
        const bool flying2 = p.c2 && p.c2->docelowyTile && p.c2->tileP < 1;
        if (flying1 || flying2) {
            ++it;
            continue;
        }
        // Both flights are over: each chip now lies in the other's tile.
        if (p.d1 && p.c1 && p.c1->state != TChipState::DESTROY) p.d1->setChip(p.c1);
        if (p.d2 && p.c2 && p.c2->state != TChipState::DESTROY) p.d2->setChip(p.c2);
        if (p.c1) p.c1->docelowyTile = nullptr;
        if (p.c2) p.c2->docelowyTile = nullptr;
        it = listaPar.erase(it);
    }
}

void TM3Game::_updateChipsGroup() {}

void TM3Game::_updateBlysk() {
    if (blyskTime && Millisecs() > blyskTime) {
        // The board glints now and then to show the plates still to break.
        blyskTime = Millisecs() + 8000;
        int delay = 0;
        for (int r = 0; r < level->rows; ++r)
            for (int c = 0; c < level->cols; ++c) {
                TTile* t = level->tile[r][c].get();
                if (t && t->kind() > 1) {
                    t->startBlysk = 1;
                    t->blyskTime = Millisecs() + delay;
                    delay += 30;
                }
            }
        ++blyski;
    }
}

void TM3Game::_updatePoblysk() {}

void TM3Game::cleanUpFlashes() {
    blyskA = dBlyskA = 0;
    blyskTime = 0;
    if (!level) return;
    for (auto& row : level->tile)
        for (auto& t : row) {
            if (!t) continue;
            t->blyskA = t->dBlyskA = 0;
            t->startBlysk = 0;
        }
}

void TM3Game::_settlePending() {
    const int now = Millisecs();
    for (size_t i = 0; i < _pendingCharges.size();) {
        if (now < _pendingCharges[i].due) {
            ++i;
            continue;
        }
        const int slot = _pendingCharges[i].slot;
        _pendingCharges[i] = _pendingCharges.back();
        _pendingCharges.pop_back();
        if (TPowerUp* pu = host ? host->powerUp(slot) : nullptr) pu->addData(1);
    }
    for (size_t i = 0; i < _pendingBonuses.size();) {
        PendingBonus& pb = _pendingBonuses[i];
        if (now < pb.due) {
            ++i;
            continue;
        }
        ChipPtr chip = pb.chip;
        const int m = pb.matchSize;
        _pendingBonuses[i] = _pendingBonuses.back();
        _pendingBonuses.pop_back();
        // The chip that was to become the bonus may have gone meanwhile.
        if (chip && chip->tile && chip->tile->chip == chip && chip->state != TChipState::DESTROY && !chip->docelowyChip)
            createBonus(chip, m);
    }
}

// ---------------------------------------------------------------------------
// Swaps

int TM3Game::getKierunek(int dr, int dc) {
    if (dr < 0) return dc < 0 ? 0 : dc == 0 ? 1 : 2;
    if (dr == 0) return dc > 0 ? 3 : 7;
    return dc > 0 ? 4 : dc == 0 ? 5 : 6;
}

int TM3Game::getTilesVector(const TTile& from, const TTile& to) {
    auto sgn = [](int v) { return (v > 0) - (v < 0); };
    return getKierunek(sgn(to.r - from.r), sgn(to.c - from.c));
}

namespace {
const char* moveForDirection(int k) {
    switch (k) {
        case 1:
            return "MOVE-UP";
        case 3:
            return "MOVE-RIGHT";
        case 5:
            return "MOVE-DOWN";
        case 7:
            return "MOVE-LEFT";
        default:
            return "";
    }
}
}  // namespace

int TM3Game::_chipsMayBeSwaped(const TilePtr& t1, const TilePtr& t2) {
    if (!t1 || !t2 || t1 == t2) return 0;
    const int dr = std::abs(t1->r - t2->r), dc = std::abs(t1->c - t2->c);
    if (!((dr == 0 && dc == 1) || (dr == 1 && dc == 0))) return 0;
    if (!t1->chip || !t2->chip) return 0;
    return (t1->chip->state.empty() && t2->chip->state.empty()) ? 1 : 0;
}

void TM3Game::swapChips(const TilePtr& t1, const TilePtr& t2) {
    if (!t1 || !t2 || !t1->chip || !t2->chip) return;
    ChipPtr c1 = t1->chip, c2 = t2->chip;
    if (c1->isMoving() || c2->isMoving()) return;
    if (t1->chain || t2->chain) return;
    t1->setChip(c2);
    t2->setChip(c1);
    t1->swap = t2.get();
    t2->swap = t1.get();
    auto para = std::make_shared<TPara>();
    para->c1 = c1;
    para->c2 = c2;
    swapsList.push_back(para);
    c1->setState(moveForDirection(getTilesVector(*t1, *t2)));
    c2->setState(moveForDirection(getTilesVector(*t2, *t1)));
    pickedTile.reset();
    ++swapsCount;
}

void TM3Game::reverse(const TilePtr& t1, const TilePtr& t2) {
    if (!t1 || !t2 || !t1->chip || !t2->chip) return;
    ChipPtr c1 = t1->chip, c2 = t2->chip;
    t1->setChip(c2);
    t2->setChip(c1);
    // Each chip goes back the way it came (from its old tile to its new one).
    c1->setState(moveForDirection(getTilesVector(*t1, *t2)));
    c2->setState(moveForDirection(getTilesVector(*t2, *t1)));
}

int TM3Game::_isSwap(const TTile& tile) {
    if (!tile.chip) return 0;
    for (auto& p : swapsList)
        if (p->c1 == tile.chip || p->c2 == tile.chip) return 1;
    return 0;
}

void TM3Game::_removePair(const TTile& tile) {
    for (auto it = swapsList.begin(); it != swapsList.end(); ++it) {
        TPara& p = **it;
        if (p.c1 == tile.chip || p.c2 == tile.chip) {
            if (p.c1 && p.c1->tile) p.c1->tile->swap = nullptr;
            if (p.c2 && p.c2->tile) p.c2->tile->swap = nullptr;
            swapsList.erase(it);
            return;
        }
    }
}

void TM3Game::_updateTileSwaps() {
    for (auto it = swapsList.begin(); it != swapsList.end();) {
        TPara& p = **it;
        ChipPtr c1 = p.c1, c2 = p.c2;
        auto drop = [&]() {
            if (c1 && c1->tile) c1->tile->swap = nullptr;
            if (c2 && c2->tile) c2->tile->swap = nullptr;
            it = swapsList.erase(it);
        };
        const bool gone1 = !c1 || !c1->tile || c1->tile->chip != c1 || c1->state == TChipState::DESTROY;
        const bool gone2 = !c2 || !c2->tile || c2->tile->chip != c2 || c2->state == TChipState::DESTROY;
        if (gone1 || gone2) {
            drop();
            continue;
        }
        if (c1->isMoving() || c2->isMoving()) {
            ++it;
            continue;
        }
        TilePtr t1 = _tilePtr(*c1->tile), t2 = _tilePtr(*c2->tile);
        const int m1 = t1 ? _isMatch(*t1) : 0;
        const int m2 = t2 ? _isMatch(*t2) : 0;
        if (!m1 && !m2) {
            if (c1->isBonus() || c2->isBonus()) {
                if (c1->isBonus()) c1->destroy(0);
                if (c2->isBonus()) c2->destroy(0);
            } else {
                fx().playBadMatch();
                if (t1 && t2 && _chipsMayBeSwaped(t1, t2)) reverse(t1, t2);
            }
        }
        drop();
    }
}

void TM3Game::clickTile(const TilePtr& tile) {
    if (noClick) {
        pickedTile.reset();
        noClick = 0;
    }
    if (!tile) return;
    if (pickedTile) {
        if (pickedTile == tile) {
            if (tile->chip && tile->chip->isBonus() && tile->chip->state.empty()) tile->destroyChip();
            pickedTile.reset();
            return;
        }
        if (_chipsMayBeSwaped(pickedTile, tile)) {
            matcheSamoistne = 0;
            swapChips(pickedTile, tile);
            return;
        }
    }
    pickedTile = (tile->chip && tile->canBeOver()) ? tile : nullptr;
}

void TM3Game::_control_SWAP() {
    TM3Input& inp = in();
    TilePtr t = getTileByMousePosition();
    if (!t) _lastOver.reset();
    if (inp.mouseHit() && t) {
        clickTile(t);
        mx = inp.mouseX();
        my = inp.mouseY();
        _lastOver = t;
    }
    if (!_dragging) {
        if (inp.mouseDown() && t) {
            _dragging = true;
            swapDimX = inp.mouseX();
            swapDimY = inp.mouseY();
            swapTile = _lastOver ? _lastOver : t;
        }
        return;
    }
    if (!inp.mouseDown()) {
        _dragging = false;
        swapTile.reset();
        return;
    }
    if (t && t != swapTile && _chipsMayBeSwaped(swapTile, t)) {
        matcheSamoistne = 0;
        swapChips(swapTile, t);
        overTilePom = t;
        overTile.reset();
        inp.flushMouse();
        _dragging = false;
        swapTile.reset();
    }
}

// ---------------------------------------------------------------------------
// Group and chain input

void TM3Game::_control_CLICK() {
    TM3Input& inp = in();
    if (!inp.mouseHit()) return;
    TilePtr t = getTileByMousePosition();
    if (!t || !t->chip) return;
    mx = inp.mouseX();
    my = inp.mouseY();
    if (t->chip->isBonus()) {
        t->chip->destroy(0);
        return;
    }
    _matchGroup(t);
}

void TM3Game::_matchGroup(const TilePtr& t) {
    ChipListPtr group = getMatchedChips(t);
    clearMarks();
    if (!group || group->size() <= 2) {
        if (group && !group->empty() && t->chip && t->chip->state.empty()) fx().refusedMatch(*group);
        return;
    }
    const int n = static_cast<int>(group->size());
    fx().matchMade(n, 1);
    for (auto& ch : *group) ch->giveResource(1);
    level->log_iloscMatchy += 1;
    level->log_zmatchowaneChipsy += n;
    const int T = settings ? settings->group_bonusMatch : 0;
    if (T > 0 && n >= T && !level->availableBonus.empty()) {
        // The clicked chip stays to become the bonus: it only shows its
        // destruction particles; it scores and its plate breaks when the bonus
        // goes off.
        ChipPtr keep = t->chip;
        m3Particles().chipDestroyParticles(*keep, -1);
        for (auto& ch : *group)
            if (ch != keep) ch->destroy(0);
        _moveFantomsToOne(t, *group, n);
    } else {
        for (auto& ch : *group) ch->destroy(0);
    }
    level->highestMatch = std::max(level->highestMatch, n);
}

bool TM3Game::_inChain(const TChip* chip) const {
    for (auto& z : zaznaczone)
        if (z.get() == chip) return true;
    return false;
}

ChipPtr TM3Game::getLastAddedChip() {
    return zaznaczone.empty() ? nullptr : zaznaczone.back();
}

ChipPtr TM3Game::getLastBeforeAddedChip() {
    return zaznaczone.size() < 2 ? nullptr : zaznaczone[zaznaczone.size() - 2];
}

int TM3Game::_canAddToChain(const ChipPtr& chip) {
    ChipPtr last = getLastAddedChip();
    if (!chip || !last || !chip->tile || !last->tile || !chip->cd || !last->cd) return 0;
    if (chip->cd->id != last->cd->id || !chip->state.empty() || _inChain(chip.get())) return 0;
    const int dr = std::abs(chip->tile->r - last->tile->r), dc = std::abs(chip->tile->c - last->tile->c);
    return (dr <= 1 && dc <= 1 && (dr + dc) > 0) ? 1 : 0;
}

int TM3Game::_canAddToChain2(const ChipPtr& chip) {
    // The mouse skipped cells: find the shortest run of still chips of the
    // chain's kind, not yet in the chain, from the last chip to this one.
    ChipPtr last = getLastAddedChip();
    if (!chip || !last || !chip->tile || !last->tile || !chip->cd || !last->cd) return 0;
    if (chip->cd->id != last->cd->id || !chip->state.empty() || _inChain(chip.get())) return 0;
    const int rows = level->rows, cols = level->cols, kind = chip->cd->id;
    _bfsPrev.assign(static_cast<size_t>(rows * cols), -2);
    _bfsQueue.clear();
    const int start = last->tile->r * cols + last->tile->c;
    const int goal = chip->tile->r * cols + chip->tile->c;
    _bfsPrev[start] = -1;
    _bfsQueue.push_back(start);
    for (size_t h = 0; h < _bfsQueue.size() && _bfsPrev[goal] == -2; ++h) {
        const int cur = _bfsQueue[h];
        const int r = cur / cols, c = cur % cols;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const int nr = r + dr, nc = c + dc;
                if ((!dr && !dc) || nr < 0 || nc < 0 || nr >= rows || nc >= cols) continue;
                const int id = nr * cols + nc;
                if (_bfsPrev[id] != -2) continue;
                TTile* t = level->tile[nr][nc].get();
                if (!t || !t->chip || !t->chip->cd || t->chip->cd->id != kind || !t->chip->state.empty() ||
                    _inChain(t->chip.get()))
                    continue;
                _bfsPrev[id] = cur;
                _bfsQueue.push_back(id);
            }
    }
    if (_bfsPrev[goal] == -2) return 0;
    // Walk back from the goal, then append in forward order.
    _bfsQueue.clear();
    for (int cur = goal; cur != start; cur = _bfsPrev[cur]) _bfsQueue.push_back(cur);
    if (_bfsQueue.size() > 4) return 0;  // too far to be a slip of the mouse
    for (auto it = _bfsQueue.rbegin(); it != _bfsQueue.rend(); ++it)
        zaznaczone.push_back(level->tile[*it / cols][*it % cols]->chip);
    return 1;
}

void TM3Game::_control_CHAIN() {
    TM3Input& inp = in();
    const int hit = inp.mouseHit();
    TilePtr t = getTileByMousePosition();
    if (hit && t && t->chip && t->chip->isBonus() && zaznaczone.empty()) {
        t->chip->destroy(0);
        return;
    }
    if (inp.mouseDown()) {
        if (!t || !t->chip || !t->chip->cd || !t->chip->state.empty()) return;
        ChipPtr ch = t->chip;
        if (zaznaczone.empty()) {
            if (hit && ch->cd->proper()) {
                zaznaczone.push_back(ch);
                _lastAdded = ch;
                fx().playAddToChain();
            }
            return;
        }
        if (ch == zaznaczone.back()) return;
        if (zaznaczone.size() >= 2 && ch == zaznaczone[zaznaczone.size() - 2]) {
            zaznaczone.pop_back();  // stepping back takes the last chip off
            _lastAdded = zaznaczone.back();
            fx().playAddToChain();
            return;
        }
        if (_canAddToChain(ch)) {
            zaznaczone.push_back(ch);
        } else if (!_canAddToChain2(ch)) {
            return;
        }
        _lastAdded = ch;
        fx().playAddToChain();
        return;
    }
    if (!zaznaczone.empty()) {
        if (zaznaczone.size() > 2)
            _matchChain();
        else
            fx().refusedMatch(zaznaczone);
        zaznaczone.clear();
        _lastAdded.reset();
    }
}

void TM3Game::_matchChain() {
    // Chips may have been taken away while the chain was drawn.
    for (auto& ch : zaznaczone)
        if (!ch->tile || ch->tile->chip != ch || ch->state == TChipState::DESTROY) return;
    const int n = static_cast<int>(zaznaczone.size());
    if (n == 4) ++log_matches4;
    if (n == 5) ++log_matches5;
    if (n == 6) ++log_matches6;
    if (n >= 7) ++log_matchesMore;
    level->log_iloscMatchy += 1;
    level->log_zmatchowaneChipsy += n;
    for (auto& ch : zaznaczone) ch->giveResource(1);
    const int T = settings ? settings->chain_bonusMatch : 0;
    ChipPtr keep = (T > 0 && n >= T) ? zaznaczone.back() : nullptr;
    for (auto& ch : zaznaczone) {
        // Every tile of the chain breaks a layer on release; a chip that is
        // destroyed breaks one more on its first destruction frame, so a
        // two-layer plate under a chain chip ends as a plain plate.
        TTile* t = ch->tile;
        if (t->kind() > 1) t->matchHere();
        if (ch == keep) {
            ch->giveScore();
            m3Particles().chipDestroyParticles(*ch, -1);
            continue;
        }
        ch->destroy(0);
    }
    if (keep) _moveFantomsToOne(_tilePtr(*keep->tile), zaznaczone, n);
    level->highestMatch = std::max(level->highestMatch, n);
    fx().matchMade(n, 1);
    if (TTile* last = zaznaczone.back()->tile) m3Particles().chainLengthParticle(last->dim.x, last->dim.y, n);
}

void TM3Game::controlGame(int blocking) {
    if (blocking || !level) return;
    switch (matchType) {
        case 0:
            _control_SWAP();
            break;
        case 1:
            _control_CHAIN();
            break;
        case 2:
            _control_CLICK();
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------
// Matching

int TM3Game::_isLandedMatch(TTile& tile) {
    return matchType == 0 ? _isMatch(tile) : 0;
}

int TM3Game::_isMatch(TTile& tile) {
    TilePtr tp = _tilePtr(tile);
    if (!tp) return 0;
    ChipListPtr m = getMatchedChipsSwap(tp);
    if (!m || m->size() < 3) return 0;
    const int n = static_cast<int>(m->size());
    if (n == 4) ++log_matches4;
    if (n == 5) ++log_matches5;
    if (n == 6) ++log_matches6;
    if (n > 6) ++log_matchesMore;
    level->highestMatch = std::max(level->highestMatch, n);
    level->log_iloscMatchy += 1;
    for (auto& ch : *m) ch->giveResource(1);
    const int T = settings ? settings->swap_bonusMatch : 0;
    if (T <= 0 || n < T) {
        for (auto& ch : *m) ch->destroy(0);
    } else {
        // The chip on the swapped tile scores and stays to become the bonus;
        // its plate breaks only when the bonus goes off.
        ChipPtr keep = tile.chip;
        keep->giveScore();
        for (auto& ch : *m)
            if (ch != keep) ch->destroy(0);
        _moveFantomsToOne(tp, *m, n);
    }
    fx().matchMade(n, matcheSamoistne + 1);
    if (++matcheSamoistne > 7) {
        matcheSamoistne = 0;
        createBonus1();
    }
    return n;
}

void TM3Game::_moveFantomsToOne(const TilePtr& tile, const ChipList& chips, int matchSize) {
    if (!tile || !tile->chip) return;
    fx().chipFantoms(*tile, chips);
    PendingBonus pb;
    pb.chip = tile->chip;
    pb.matchSize = matchSize;
    pb.due = Millisecs() + kFantomFlightMs;
    _pendingBonuses.push_back(pb);
}

ChipListPtr TM3Game::getMatchedChips(const TilePtr& tile) {
    if (!level || !tile) return nullptr;
    return matchFinder::findMatch(*level, *tile);
}

ChipListPtr TM3Game::getMatchedChipsSwap(const TilePtr& tile) {
    if (!level || !tile) return nullptr;
    return matchFinderS::findMatch(*level, *tile);
}

ChipListPtr TM3Game::getMatchedChipsChain(const TilePtr& tile) {
    if (!level || !tile) return nullptr;
    return matchFinderC::findMatch(*level, *tile);
}

ChipListPtr TM3Game::getMatchedChipsChainSmall(const TilePtr& tile) {
    if (!level || !tile) return nullptr;
    return matchFinderC::findMatchSmall(*level, *tile);
}

void TM3Game::_swapForMoment(const TilePtr& t1, const TilePtr& t2) {
    ChipPtr c1 = t1->chip, c2 = t2->chip;
    t1->setChip(c2);
    t2->setChip(c1);
}

void TM3Game::clearMarks() {
    if (!level) return;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && t->chip) t->chip->oznaczony = 0;
}

namespace {
int countOf(const ChipListPtr& l) {
    return l ? static_cast<int>(l->size()) : 0;
}

// The size getMatchedChipsSwap would report for the tile, counted in place
// (the searches try every pair of the board, so they must not allocate).
int swapCount(TLevel& lvl, const TTile& t) {
    if (!t.chip || t.kind() == 0 || !t.chip->cd || t.chip->cd->puzzleChip) return 0;
    const int kind = t.chip->cd->id;
    auto joins = [&](int r, int c) {
        if (r < 0 || c < 0 || r >= lvl.rows || c >= lvl.cols) return false;
        const TTile* n = lvl.tile[r][c].get();
        if (!n || n->kind() == 0 || !n->chip || !n->chip->cd || n->chip->cd->id != kind) return false;
        return !n->chip->isMovingCheckSwap();
    };
    int v = 1, h = 1;
    for (int r = t.r - 1; joins(r, t.c); --r) ++v;
    for (int r = t.r + 1; joins(r, t.c); ++r) ++v;
    for (int c = t.c - 1; joins(t.r, c); --c) ++h;
    for (int c = t.c + 1; joins(t.r, c); ++c) ++h;
    if (v < 3) v = 0;
    if (h < 3) h = 0;
    return v + h - ((v && h) ? 1 : 0);
}
}  // namespace

int TM3Game::_MatchLeft_SWAP_short() {
    if (!level) return 0;
    int found = 0;
    for (int r = 0; r < level->rows && !found; ++r)
        for (int c = 0; c < level->cols && !found; ++c) {
            TilePtr t1 = level->tile[r][c];
            if (!t1 || t1->kind() == 0) continue;
            for (int k = 0; k < 2 && !found; ++k) {
                TilePtr t2 = k == 0 ? getTile(r, c + 1) : getTile(r + 1, c);
                if (!t2 || t1->chain || t2->chain || !t1->chip || !t2->chip) continue;
                _swapForMoment(t1, t2);
                const int a = swapCount(*level, *t1), b = swapCount(*level, *t2);
                _swapForMoment(t2, t1);
                if ((a > 2 ? a : 0) + (b > 2 ? b : 0) > 0) found = 1;
            }
        }
    clearMarks();
    return found;
}

int TM3Game::_MatchLeft_CLICK_short() {
    if (!level) return 0;
    int found = 0;
    for (int r = 0; r < level->rows && !found; ++r)
        for (int c = 0; c < level->cols && !found; ++c) {
            TilePtr t = level->tile[r][c];
            if (t && t->kind() > 0 && countOf(getMatchedChips(t)) > 2) found = 1;
        }
    clearMarks();
    return found;
}

int TM3Game::_MatchLeft_CHAIN_short() {
    if (!level) return 0;
    int found = 0;
    for (int r = 0; r < level->rows && !found; ++r)
        for (int c = 0; c < level->cols && !found; ++c) {
            TilePtr t = level->tile[r][c];
            if (t && t->kind() > 0 && countOf(getMatchedChipsChainSmall(t)) > 2) found = 1;
        }
    clearMarks();
    return found;
}

bool TM3Game::isHintChip(const TChip* chip) const {
    return chip && std::find(hintChips.begin(), hintChips.end(), chip) != hintChips.end();
}

int TM3Game::_anyBonusToSetOff() {
    if (!level) return 0;
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            TTile* t = level->tile[r][c].get();
            if (t && t->kind() > 0 && !t->chain && t->chip && t->chip->isBonus()) return 1;
        }
    return 0;
}

int TM3Game::_MatchLeft_short() {
    // A bonus chip on a free plate can always be set off (clicked or swapped),
    // so a board holding one is never dead.
    if (_anyBonusToSetOff()) return 1;
    switch (matchType) {
        case 1:
            return _MatchLeft_CHAIN_short();
        case 2:
            return _MatchLeft_CLICK_short();
        default:
            return _MatchLeft_SWAP_short();
    }
}

std::shared_ptr<TMatchInfo> TM3Game::_noMatchLeft_SWAP() {
    auto info = std::make_shared<TMatchInfo>();
    if (!level) return info;
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            TilePtr t1 = level->tile[r][c];
            if (!t1 || t1->kind() == 0) continue;
            for (int k = 0; k < 2; ++k) {
                TilePtr t2 = k == 0 ? getTile(r, c + 1) : getTile(r + 1, c);
                if (!t2 || t1->chain || t2->chain || !t1->chip || !t2->chip) continue;
                _swapForMoment(t1, t2);
                const int a = swapCount(*level, *t1), b = swapCount(*level, *t2);
                _swapForMoment(t2, t1);
                const int v = (a > 2 ? a : 0) + (b > 2 ? b : 0);
                if (v > info->maxMatch) {
                    info->maxMatch = v;
                    info->tile1 = t1;
                    info->tile2 = t2;
                }
            }
        }
    clearMarks();
    return info;
}

std::shared_ptr<TMatchInfo> TM3Game::_noMatchLeft_CLICK() {
    auto info = std::make_shared<TMatchInfo>();
    if (!level) return info;
    // Every member of a group has the same group, and only a strictly larger
    // one replaces the hint: the first member in scan order decides.
    std::vector<TChip*>& seen = _searchSeen;
    seen.clear();
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            TilePtr t = level->tile[r][c];
            if (!t || t->kind() == 0) continue;
            if (t->chip && std::find(seen.begin(), seen.end(), t->chip.get()) != seen.end()) continue;
            ChipListPtr g = getMatchedChips(t);
            if (g)
                for (auto& ch : *g) seen.push_back(ch.get());
            if (countOf(g) > info->maxMatch) {
                info->maxMatch = countOf(g);
                info->tile1 = info->tile2 = t;
                info->zaznaczone = *g;
            }
        }
    clearMarks();
    return info;
}

std::shared_ptr<TMatchInfo> TM3Game::_noMatchLeft_CHAIN() {
    auto info = std::make_shared<TMatchInfo>();
    if (!level) return info;
    // A path from a still chip is shorter than the 8-connected group of still
    // chips it lies in; starts whose group cannot beat the best are skipped
    // (only a strictly longer path replaces the hint, so the result is the same).
    const int rows = level->rows, cols = level->cols;
    auto still = [&](int r, int c) -> TChip* {
        TTile* t = level->tile[r][c].get();
        if (!t || t->kind() == 0 || !t->chip || !t->chip->cd || t->chip->cd->puzzleChip) return nullptr;
        return t->chip->state.empty() ? t->chip.get() : nullptr;
    };
    _bfsPrev.assign(static_cast<size_t>(rows * cols), 0);  // group size per cell, 0 = not computed
    for (int start = 0; start < rows * cols; ++start) {
        if (_bfsPrev[start] || !still(start / cols, start % cols)) continue;
        const int kind = still(start / cols, start % cols)->cd->id;
        _bfsQueue.clear();
        _bfsQueue.push_back(start);
        _bfsPrev[start] = -1;
        for (size_t h = 0; h < _bfsQueue.size(); ++h) {
            const int r = _bfsQueue[h] / cols, c = _bfsQueue[h] % cols;
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc) {
                    const int nr = r + dr, nc = c + dc;
                    if (nr < 0 || nc < 0 || nr >= rows || nc >= cols || _bfsPrev[nr * cols + nc]) continue;
                    TChip* ch = still(nr, nc);
                    if (!ch || ch->cd->id != kind) continue;
                    _bfsPrev[nr * cols + nc] = -1;
                    _bfsQueue.push_back(nr * cols + nc);
                }
        }
        for (int id : _bfsQueue) _bfsPrev[id] = static_cast<int>(_bfsQueue.size());
    }
    matchFinderC::beginBatch(*level);
    for (int r = 0; r < level->rows; ++r)
        for (int c = 0; c < level->cols; ++c) {
            TilePtr t = level->tile[r][c];
            if (!t || t->kind() == 0) continue;
            const int group = _bfsPrev[r * cols + c];
            if (group > 0 && group - 1 <= info->maxMatch) continue;
            ChipListPtr g = getMatchedChipsChain(t);
            if (countOf(g) > info->maxMatch) {
                info->maxMatch = countOf(g);
                info->tile1 = info->tile2 = t;
                info->zaznaczone = *g;
            }
        }
    matchFinderC::endBatch();
    clearMarks();
    return info;
}

std::shared_ptr<TMatchInfo> TM3Game::_noMatchLeft() {
    switch (matchType) {
        case 1:
            return _noMatchLeft_CHAIN();
        case 2:
            return _noMatchLeft_CLICK();
        default:
            return _noMatchLeft_SWAP();
    }
}
