// TM3Game: falling and sliding, bonus blasts, board-wide operations and drawing.
#include <algorithm>
#include <cmath>

#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3Effects.h"
#include "match3/TM3Game.h"
#include "match3/TM3Para.h"
#include "match3/TM3Settings.h"
#include "match3/TTile.h"

// ---------------------------------------------------------------------------
// Falling

namespace {
bool isStill(const TChip& ch) { return ch.state.empty() && !ch.docelowyTile; }
}  // namespace

int TM3Game::_chipMayFallDownMore(int r, int c) {
    if (!level || r < 0 || c < 0 || r >= level->rows - 1 || c >= level->cols) return 0;
    TTile* t = level->tile[r][c].get();
    TTile* below = level->tile[r + 1][c].get();
    if (!t || !t->chip || t->chain || !below) return 0;
    return (below->kind() != 0 && !below->chip) ? 1 : 0;
}

int TM3Game::_chipMayFallDown(int r, int c) {
    if (!_chipMayFallDownMore(r, c)) return 0;
    return isStill(*level->tile[r][c]->chip) ? 1 : 0;
}

void TM3Game::fallChip(int r, int c) {
    TTile* t = level->tile[r][c].get();
    TTile* below = level->tile[r + 1][c].get();
    ChipPtr ch = t->chip;
    below->setChip(ch);
    t->chipFallDown();
}

void TM3Game::sideFallChip(int r, int c, int dir) {
    TTile* t = level->tile[r][c].get();
    TTile* target = level->tile[r + 1][c + dir].get();
    ChipPtr ch = t->chip;
    target->setChip(ch);
    t->chipSideFallDown(dir);
}

namespace {
TTile* cell(TLevel& lvl, int r, int c) {
    if (r < 0 || c < 0 || r >= lvl.rows || c >= lvl.cols) return nullptr;
    return lvl.tile[r][c].get();
}
}  // namespace

int TM3Game::_chipAboveIsOk(int r, int c) {
    TTile* up = cell(*level, r - 1, c);
    return (!up || !up->chip || up->chain) ? 1 : 0;
}

int TM3Game::_chipIsAbleToSideFall(int r, int c) {
    // 1 when the cell (r, c) cannot be fed from above.
    TTile* t = cell(*level, r, c);
    if (!t || t->kind() == 0) return 0;
    if (t->chip && !t->chain) return 0;
    TTile* up = cell(*level, r - 1, c);
    return (!up || up->kind() == 0 || up->chain) ? 1 : 0;
}

int TM3Game::_chipIsFreeUpSide(int r, int c) {
    TTile* t = cell(*level, r, c);
    return (!t || !t->chip || t->chain) ? 1 : 0;
}

int TM3Game::_chipIsChained(int r, int c) {
    TTile* t = cell(*level, r, c);
    return (t && t->chain) ? 1 : 0;
}

int TM3Game::_tileIsEmpty(int r, int c) {
    TTile* t = cell(*level, r, c);
    return (!t || t->kind() == 0) ? 1 : 0;
}

int TM3Game::_chipIsFree(int r, int c) {
    TTile* t = cell(*level, r, c);
    return (t && t->kind() != 0 && !t->chip) ? 1 : 0;
}

int TM3Game::_chipIsFreeUp(int r, int c) {
    if (r == 0) return 1;
    TTile* up = cell(*level, r - 1, c);
    return (!up || !up->chip || up->chain) ? 1 : 0;
}

int TM3Game::_chipIsFreeOnSide(int r, int c) {
    TTile* t = cell(*level, r, c);
    if (!t || t->kind() == 0) return 1;
    if (t->chain) return 1;
    return (!t->chip && !t->creator) ? 1 : 0;
}

int TM3Game::_chipColumnFree(int, int) { return 1; }

int TM3Game::_chipMaySideFallDown(int r, int c) {
    if (!level || r < 0 || c < 0 || r >= level->rows - 1 || c >= level->cols) return 0;
    TTile* t = level->tile[r][c].get();
    if (!t || !t->chip || t->chain || t->kind() == 0) return 0;
    if (!t->chip->state.empty() || t->chip->isMoving()) return 0;  // (the cheap test first)
    bool can[2] = {false, false};  // [0] left, [1] right
    for (int k = 0; k < 2; ++k) {
        const int s = k == 0 ? -1 : 1;
        const int tr = r + 1, tc = c + s;
        if (!_chipIsFree(tr, tc)) continue;  // 3
        const int cannotFeed = _chipIsAbleToSideFall(tr, tc);
        if (!(_chipAboveIsOk(r, c) || cannotFeed)) continue;  // 1
        if (!(_chipIsFreeUpSide(r - 1, c + s) || _chipIsChained(r, c + s) || _tileIsEmpty(r, c + s)))
            continue;  // 2
        if (!(_chipIsFreeUp(r, c) || cannotFeed)) continue;  // 4
        if (!_chipIsFreeOnSide(r, c + s)) continue;  // 5
        if (!_chipColumnFree(r, c + s)) continue;
        can[k] = true;
    }
    if (can[0] && can[1]) return Rand(0, 1) ? 1 : -1;
    if (can[1]) return 1;
    if (can[0]) return -1;
    return 0;
}

namespace {
// Whether row r holds a plate without a chip: the only kind of cell a chip of
// the row above can fall into, straight or to the side.
bool rowHasFreeCell(const TLevel& lvl, int r) {
    if (r < 0 || r >= lvl.rows) return false;
    for (int c = 0; c < lvl.cols; ++c) {
        const TTile* t = lvl.tile[r][c].get();
        if (t && !t->chip && t->kind() != 0) return true;
    }
    return false;
}
}  // namespace

// Both passes go down the board row by row. Falling in row r only fills
// cells of row r + 1, so a row r + 1 without a free cell when row r comes up
// stays so while row r is handled, and none of its chips can fall: the row is
// skipped without asking each chip (on a full board, every row).
void TM3Game::_updateChipFall() {
    for (int r = 0; r < level->rows; ++r) {
        if (!rowHasFreeCell(*level, r + 1)) continue;
        for (int c = 0; c < level->cols; ++c)
            if (_chipMayFallDown(r, c)) fallChip(r, c);
    }
}

void TM3Game::_updateChipSIDEFall() {
    for (int r = 0; r < level->rows; ++r) {
        if (!rowHasFreeCell(*level, r + 1)) continue;
        for (int c = 0; c < level->cols; ++c)
            if (int side = _chipMaySideFallDown(r, c)) sideFallChip(r, c, side);
    }
}

// ---------------------------------------------------------------------------
// Bonus blasts

bool TM3Game::_blastAllowed() {
    // Every chip goes off once, so a reaction ends by itself; this only caps a
    // runaway caused by a broken board.
    return ++_blasts <= kMaxChainReaction;
}

void TM3Game::CROSS(int r, int c, int delay, int type) {
    if (!level || r < 0 || c < 0 || r >= level->rows || c >= level->cols) return;
    if (!_blastAllowed()) return;
    TTile* t = level->tile[r][c].get();
    if (!t) return;
    if (t->kind() > 0) t->generateDestroyParticles(delay, type);
    if (t->chip) {
        t->chip->setDestroyType(5);
        t->chip->destroy(delay);
    }
}

void TM3Game::CROSS_VERTICAL(int r, int c, int count) {
    for (int i = 1; i <= count; ++i) {
        CROSS(r - i, c, i * 100, 2);
        CROSS(r + i, c, i * 100, 2);
    }
}

void TM3Game::CROSS_HORIZONTAL(int r, int c, int count) {
    for (int i = 1; i <= count; ++i) {
        CROSS(r, c - i, i * 100, 1);
        CROSS(r, c + i, i * 100, 1);
    }
}

void TM3Game::BOMB(int r, int c, int radius) {
    if (radius < 0) return;
    for (int i = r - radius; i <= r + radius; ++i)
        for (int j = c - radius; j <= c + radius; ++j) {
            const bool corner = std::abs(i - r) == radius && std::abs(j - c) == radius;
            if (radius > 1 && corner) continue;
            const double d = std::sqrt(double((j - c) * (j - c) + (i - r) * (i - r)));
            CROSS(i, j, static_cast<int>(d * 100), 3);
        }
}

ChipList TM3Game::createChipsList() {
    ChipList out;
    if (!level) return out;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && t->chip && !t->chain && isStill(*t->chip) && t->chip->cd && !t->chip->cd->puzzleChip)
                out.push_back(t->chip);
    return out;
}

void TM3Game::createChipsRandomPaires(ChipList& chips) {
    // Fisher-Yates on the services' generator, then neighbours in the list pair up.
    for (int i = static_cast<int>(chips.size()) - 1; i > 0; --i) std::swap(chips[i], chips[Rand(0, i)]);
    for (size_t i = 0; i + 1 < chips.size(); i += 2) {
        auto p = std::make_shared<TM3Para>();
        p->c1 = chips[i];
        p->c2 = chips[i + 1];
        TTile* t1 = p->c1->tile;
        TTile* t2 = p->c2->tile;
        p->d1 = _tilePtr(*t2);
        p->d2 = _tilePtr(*t1);
        if (!p->d1 || !p->d2) continue;
        p->c1->flyToTile(t2);
        p->c2->flyToTile(t1);
        listaPar.push_back(p);
    }
}

void TM3Game::SHUFFLE(int) {
    if (!listaPar.empty()) return;  // one shuffle at a time
    ChipList chips = createChipsList();
    createChipsRandomPaires(chips);
}

ChipList TM3Game::createChipsList2() {
    ChipList out;
    if (!level) return out;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && t->chip && t->chip->cd && t->chip->cd->proper() && t->chip->state != TChipState::DESTROY &&
                !t->chip->docelowyChip)
                out.push_back(t->chip);
    return out;
}

void TM3Game::createBonusOnChip(const ChipPtr& chip, const ChipDataPtr& cd) {
    if (chip && cd) chip->changeTo(cd);
}

void TM3Game::createBonus(const ChipPtr& chip, int m) {
    if (!chip || chip->docelowyChip || !level) return;
    int T = 0;
    switch (matchType) {
        case 1: T = settings ? settings->chain_bonusMatch : 0; break;
        case 2: T = settings ? settings->group_bonusMatch : 0; break;
        default: T = settings ? settings->swap_bonusMatch : 0; break;
    }
    const int d = m - T;
    const std::string typ = getRandomBonusType();
    int id = 0;
    if (matchType != 0) {
        id = d <= 1 ? 102 : d == 2 ? 103 : d <= 4 ? 105 : 106;
    } else if (typ == "BOMB") {
        id = d < 1 ? 105 : 106;
    } else {
        id = d < 1 ? 102 : 103;
    }
    createBonusOnChip(chip, getBonusChipData(id));
}

void TM3Game::createBonus1() {
    ChipList cands = createChipsList2();
    if (cands.empty()) return;
    ChipPtr ch = cands[Rand(0, static_cast<int>(cands.size()) - 1)];
    ChipDataPtr cd = getRandomBonus1();
    if (!cd) return;
    createBonusOnChip(ch, cd);
    fx().playCreateBonus();
}

void TM3Game::destroyChipsLikeThisOne(const TilePtr& tile, int delay) {
    if (!tile || !tile->chip || !tile->chip->cd) return;
    for (auto& ch : getAllChipsLikeThisById(tile->chip->cd->id)) ch->destroy(delay);
}

void TM3Game::changeChipsOnThisOne(const TilePtr& tile, const ChipDataPtr& cd) {
    if (!tile || !tile->chip || !tile->chip->cd || !cd) return;
    ChipDataPtr to = tile->chip->cd;
    for (auto& ch : getAllChipsLikeThisById(cd->id))
        if (ch->state != TChipState::DESTROY) ch->changeTo(to);
}

void TM3Game::destroyRandomChips(int n) {
    for (auto& ch : getRandomChips(n)) ch->destroy(0);
}

void TM3Game::dropAllChips() {
    if (!level) return;
    swapsList.clear();
    listaPar.clear();
    zaznaczone.clear();
    _pendingBonuses.clear();
    pickedTile.reset();
    for (auto& row : level->tile)
        for (auto& t : row) {
            if (!t) continue;
            t->swap = nullptr;
            if (t->chip && t->chip->cd && !t->chip->cd->puzzleChip) t->setChip(nullptr);
        }
}

// ---------------------------------------------------------------------------
// Drawing

void TM3Game::drawMyLine(float x1, float y1, float x2, float y2) {
    // The chain line: the line picture stretched and turned between two joints.
    const float dx = x2 - x1, dy = y2 - y1;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (linia && len > 0) {
        const float ang = std::atan2(dy, dx) * 180.0f / 3.14159265f;
        float osx, osy;
        GetScale(osx, osy);
        const float orot = GetRotation();
        SetRotation(ang);
        SetScale(len / std::max(1, ImageWidth(linia)), 1);
        DrawImage(linia, (x1 + x2) / 2, (y1 + y2) / 2);
        SetRotation(orot);
        SetScale(osx, osy);
    } else {
        DrawLine(x1, y1, x2, y2);
    }
    if (imagePoint) {
        DrawImage(imagePoint, x1, y1);
        DrawImage(imagePoint, x2, y2);
    }
}

void TM3Game::_drawOverImg() {
    if (!overImg) return;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
    const int f = static_cast<int>(overImgF);
    if (overTile) DrawImage(overImg, overTile->dim.x, overTile->dim.y, f);
    if (pickedTile && pickedTile != overTile) DrawImage(overImg, pickedTile->dim.x, pickedTile->dim.y, f);
}

void TM3Game::_drawChain() {
    if (zaznaczone.size() < 1) return;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    for (size_t i = 1; i < zaznaczone.size(); ++i) {
        TTile* a = zaznaczone[i - 1]->tile;
        TTile* b = zaznaczone[i]->tile;
        if (a && b) drawMyLine(a->dim.x, a->dim.y, b->dim.x, b->dim.y);
    }
}

void TM3Game::_drawRamka() {
    if (level) level->drawFrames();
}

void TM3Game::_drawLightened() {
    for (auto& ch : zaznaczone)
        if (ch->tile) ch->drawLIghtnedGroup(ch->tile->dim.x, ch->tile->dim.y);
}

void TM3Game::drawBack() {
    if (!level) return;
    if (level->backImg) {
        SetBlend(SOLIDBLEND);
        SetColor(255, 255, 255);
        SetAlpha(1);
        SetRotation(0);
        SetScale(1, 1);
        DrawImage(level->backImg, 0, 0);
    }
}

void TM3Game::drawPlatesAtRest() {
    if (!level) return;
    for (auto& row : level->ramka)
        for (auto& f : row) {
            if (!f) continue;
            const float a = f->a, s = f->s;
            f->a = 1;
            f->s = 1;
            f->draw();
            f->a = a;
            f->s = s;
        }
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t) t->drawRestingTile(0);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
}

bool TM3Game::platesAtRest() const {
    if (!level) return false;
    for (auto& row : level->ramka)
        for (auto& f : row)
            if (f && !f->lista.empty() && (f->a != 1 || f->s != 1)) return false;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t && (t->_flyingTile || t->ta != 1 || t->ts != 1 || t->tr != 0)) return false;
    return true;
}

void TM3Game::draw() {
    if (!level) return;
    if (!platesCached) _drawRamka();
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t) t->draw(0);
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t) t->drawChip();
    // The chains lock their chips, so they lie over them.
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t) t->drawChain();
    _drawOverImg();
    _drawLightened();
    _drawChain();
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
}

void TM3Game::drawEDITOR() {
    if (!level) return;
    _drawRamka();
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t) {
                t->draw(1);
                t->drawChain();
                t->drawChip_EDITOR();
            }
}
