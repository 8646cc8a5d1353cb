// The play screen's power-ups, targeting modes, hints and tool tips.
#include <algorithm>
#include <cmath>

#include "app/Harness.h"
#include "app/PlaySprites.h"
#include "app/TMainGame.h"
#include "audio/TGlobalSnd.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "effects/TPlayParticles.h"
#include "gui/GuiValues.h"
#include "gui/TButton.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TMatchInfo.h"
#include "match3/TPowerUp.h"
#include "match3/TTile.h"
#include "profiles/TProfile.h"

namespace {

constexpr float kDeg = 3.14159265f / 180.0f;

bool isNormal(const std::string& s) {
    return s == "NORMAL" || s == "normal" || s == "Normal";
}

// Tool-tip rectangles: x, y, w, h (slots 3..10 are never used).
struct TRect {
    int x, y, w, h;
};
const TRect kTipRects[17] = {{900, 0, 120, 47}, {940, 50, 85, 47}, {5, 700, 60, 60},  {0, 0, -1, -1},
                             {0, 0, -1, -1},    {0, 0, -1, -1},    {0, 0, -1, -1},    {0, 0, -1, -1},
                             {0, 0, -1, -1},    {0, 0, -1, -1},    {0, 0, -1, -1},    {20, 64, 72, 67},
                             {20, 156, 72, 67}, {20, 236, 72, 67}, {20, 316, 72, 67}, {20, 396, 72, 67},
                             {20, 484, 72, 67}};

// The button of each targeting mode.
int buttonOfMode(int m) {
    return m == 1 ? 1 : m == 3 ? 2 : m == 2 ? 6 : m == 4 ? 5 : 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Buttons

int TMainGame::_updateGui() {
    if (!Gui) return 0;
    for (auto& w : Gui->_listaObiektow) {
        const std::string& name = w->_id;
        if (name.size() >= 6 && guiSameNoCase(name.substr(0, 5), "BONUS")) {
            const int n = name.back() - '0';
            if (n >= 1 && n <= 6) {
                TPowerUp& pu = powerUpOf(n - 1);
                const float a = guiAlpha * alpha * pu.getPercent();
                w->_alpha = w->_dAlpha = a;
                w->_a = pu.getPercent() >= 1 ? 1 : 0;
                continue;
            }
        }
        w->_alpha = w->_dAlpha = guiAlpha * alpha;
    }
    Gui->update();
    return 0;
}

int TMainGame::_drawGui() {
    if (!Gui) return 0;
    // The power-up buttons fill up as they charge; the rest draws as usual.
    for (auto& w : Gui->_listaObiektow) {
        if (!w->_v) continue;
        auto b = std::dynamic_pointer_cast<TButton>(w);
        const std::string& name = w->_id;
        if (b && name.size() >= 6 && guiSameNoCase(name.substr(0, 5), "BONUS")) {
            const int n = name.back() - '0';
            if (n < 1 || n > 6) continue;
            TPowerUp& pu = powerUpOf(n - 1);
            const float fill = pu.odkryty ? std::min(1.0f, pu.getPercent()) : 0.0f;
            const float ga = guiAlpha * alpha;
            const auto& cd = TM3Game::powerUpColor[static_cast<size_t>(n - 1)];
            const ImagePtr tint = _chargeTemplate(n, b->_image);
            if ((pu.aktywny || fill >= 1) && !(cd && tint)) {
                w->_alpha = ga;
                w->draw(0, 0);
            } else if (b->_image && b->dim) {
                // Empty: a dim picture; charging: it fills up from the bottom
                // in the colour of the chips that charge it.
                const ImagePtr& im = b->_image;
                const float iw = static_cast<float>(im->width), ih = static_cast<float>(im->height);
                const float sc = (pu.aktywny || fill >= 1) ? b->_scale * b->_buttonScale : 1.0f;
                SetBlend(ALPHABLEND);
                SetScale(sc, sc);
                if (fill < 1) {
                    SetColor(110, 110, 110);
                    SetAlpha(ga * (pu.odkryty ? 0.55f : 0.3f));
                    DrawImage(im, b->dim->x, b->dim->y);
                }
                if (fill > 0) {
                    const float srcY = ih * (1 - fill);
                    const ImagePtr& face = cd && tint ? tint : im;
                    if (cd && tint)
                        SetColor(cd->rgb.r, cd->rgb.g, cd->rgb.b);
                    else
                        SetColor(255, 255, 255);
                    SetAlpha(ga);
                    DrawSubImageRect(face, b->dim->x, b->dim->y, iw, ih - srcY, 0, srcY, iw, ih - srcY,
                                     im->handleX, im->handleY - srcY, 0);
                    if (fill < 1 && !(cd && tint))
                        b->drawAsPowerUp(
                            0, createRGB(cd ? cd->rgb.r : 255, cd ? cd->rgb.g : 255, cd ? cd->rgb.b : 255),
                            ga * 0.25f, fill);
                }
                SetScale(1, 1);
            }
            // The charged glow of the power-up.
            if (pu.odkryty && pu.alpha > 0 && bonusObw) {
                const TDim d = getPowerUpDim(n);
                SetBlend(LIGHTBLEND);
                SetColor(255, 255, 255);
                SetAlpha(pu.alpha * guiAlpha * alpha);
                SetRotation(pu.rot);
                SetScale(0.9f, 0.9f);
                DrawImage(bonusObw, d.x, d.y);
                SetRotation(0);
                SetScale(1, 1);
                SetBlend(ALPHABLEND);
            }
            continue;
        }
        w->draw(0, 0);
    }
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

ImagePtr TMainGame::_chargeTemplate(int n, const ImagePtr& face) {
    // A light grey copy of button n's picture: drawn tinted, it takes the
    // colour of the chips that charge the power-up and keeps its shading.
    if (n < 1 || n > 6 || !face) return nullptr;
    ImagePtr& t = _chargeTemplates[static_cast<size_t>(n)];
    if (t || _chargeTemplateTried[static_cast<size_t>(n)]) return t;
    _chargeTemplateTried[static_cast<size_t>(n)] = true;
    TPixmap p = LoadPixmap(dataRoot + "gfx/gui/mainGame/bonus_" + std::to_string(n) + ".png");
    if (p.width != face->width || p.height != face->height) return nullptr;
    for (size_t k = 0; k + 3 < p.pixels.size(); k += 4) {
        const int lum = (p.pixels[k] * 77 + p.pixels[k + 1] * 150 + p.pixels[k + 2] * 29) >> 8;
        const uint8_t v = static_cast<uint8_t>(std::min(255, 70 + lum * 3 / 4));
        p.pixels[k] = p.pixels[k + 1] = p.pixels[k + 2] = v;
    }
    t = CreateImageFromPixmap(p, IMG_FILTERED);
    if (t) SetImageHandle(t, face->handleX, face->handleY);
    return t;
}

int TMainGame::resetPowerUps() {
    for (int i = 0; i < 6; ++i) {
        TPowerUp& p = powerUpOf(i);
        p.aktywny = 0;
        p.data = 0;
    }
    return 0;
}

int TMainGame::useBonus(int i) {
    if (!PlaySprites::emitters.empty()) return 0;
    switch (i) {
        case 1:
            return useBonus_hammer();
        case 2:
            return useBonus_bomba();
        case 3:
            return useBonus_losoweUsun();
        case 4:
            return useBonus_shuffle();
        case 5:
            return useBonus_zamienNiektore();
        case 6:
            return useBonus_VanishColor();
        default:
            return 0;
    }
}

int TMainGame::useBonus_hammer() {
    tryb = tryb == 1 ? 0 : 1;
    return 0;
}
int TMainGame::useBonus_bomba() {
    tryb = tryb == 3 ? 0 : 3;
    return 0;
}
int TMainGame::useBonus_zamienNiektore() {
    tryb = tryb == 4 ? 0 : 4;
    return 0;
}
int TMainGame::useBonus_VanishColor() {
    tryb = tryb == 2 ? 0 : 2;
    return 0;
}

int TMainGame::useBonus_losoweUsun() {
    ChipList chips = m3Game->getRandomChips(15);
    const TDim d = getPowerUpDim(3);
    TBonusEmitter e;
    e.x0 = d.x;
    e.y0 = d.y;
    e.duration = 300;
    const int now = Millisecs();
    int k = 0;
    for (auto& ch : chips) {
        if (!ch || !ch->tile) continue;
        TBonusEmitter::Spark s;
        s.chip = ch;
        // The sparks fly on the screen, to where the view shows the chip.
        s.x1 = _view.toScreenX(ch->tile->dim.x);
        s.y1 = _view.toScreenY(ch->tile->dim.y);
        s.launch = now + 15 * k++;
        e.sparks.push_back(s);
    }
    if (!e.sparks.empty()) PlaySprites::emitters.push_back(e);
    globalSnd.playEmitter();
    powerUpOf(2).use(3);
    bonusUse[2] += 1;
    harnessLog("power-up 3");
    return 0;
}

int TMainGame::useBonus_shuffle() {
    sendAllToOdpady();
    powerUpOf(3).use(4);
    bonusUse[3] += 1;
    harnessLog("power-up 4");
    globalSnd.playShuffle(Rand(1, 2));
    return 0;
}

// ---------------------------------------------------------------------------
// Targeting

int TMainGame::_updateTileOverClear() {
    if (!level) return 0;
    for (auto& row : level->tile)
        for (auto& t : row)
            if (t) t->oznaczony = 0;
    return 0;
}

int TMainGame::_updateTileOver(const std::shared_ptr<TTile>& t) {
    if (!t || !t->td || t->td->id == 0) return 0;
    if (m3Game->matchType == 0 && t->chain > 0) return 0;
    t->oznaczony = 1;
    return 0;
}

int TMainGame::_updateTileOverCrossfire(const std::shared_ptr<TTile>& t) {
    if (!t) return 0;
    for (auto& x : createTilesListForCrossFireX(t->r, t->c)) _updateTileOver(x);
    return 0;
}

int TMainGame::_updateTileZamien(const std::shared_ptr<TTile>& t) {
    return _updateTileOver(t);
}

int TMainGame::_updateTileVanish(const std::shared_ptr<TTile>& t) {
    if (!t || !t->td || t->td->id == 0 || !t->chip || !t->chip->cd) return 0;
    if (t->chip->cd->puzzleChip || t->chip->cd->id > 100) return 0;
    vanishList = m3Game->getAllChipsLikeThisById(t->chip->cd->id);
    // Every chip that would vanish glows on its tile (the aimed tiles' glow),
    // besides the sparks: the preview reads at a glance.
    for (auto& ch : vanishList)
        if (ch && ch->tile) ch->tile->oznaczony = 1;
    const int now = Millisecs();
    if (now >= vanishPartTime) {
        vanishPartTime = now + 20;
        for (auto& ch : vanishList) {
            if (!ch || !ch->tile) continue;
            const bool red = Rand(0, 1) == 1;
            playParticles().dot(ch->tile->dim.x + static_cast<float>(Rand(-5, 5)),
                                ch->tile->dim.y + static_cast<float>(Rand(-5, 5)), 255, red ? 0 : 255,
                                red ? 0 : 255);
        }
    }
    return 0;
}

int TMainGame::_updateTryb() {
    vanishList.clear();
    _updateTileOverClear();
    // A tutorial tip holding the board holds the tools too.
    if (!isNormal(state) || !level || guiLocked) return 0;
    if (mouse.rightPressed && powerUpOf(0).aktywny) {
        _updateTileOver(m3Game->overTile);
        auto t = m3Game->_updateTileOver_BEZWZGLEDNIE();
        if (t) useHammerOnTile2(t);
        return 0;
    }
    const auto& T = m3Game->overTile;
    switch (tryb) {
        case 1: {
            _updateTileOver(T);
            auto t = m3Game->_updateTileOver_BEZWZGLEDNIE();
            if (t && t->chip)
                useHammerOnTile(t);
            else if (t && mouse.leftPressed && t->td && t->td->id > 0)
                useHammerOnTile(t);  // an empty plate breaks
            break;
        }
        case 3:
            if (T) {
                _updateTileOverCrossfire(T);
                if (T->chip) useCrossFireOnTile(T);
            }
            break;
        case 2:
            _updateTileVanish(T);
            if (T && T->chip) useVanishOnTile(T);
            break;
        case 4:
            _updateTileZamien(T);
            if (T && T->chip) useZamienOnTile(T);
            break;
        default:
            break;
    }
    return 0;
}

void TMainGame::_puzzleTargetRefused() {
    globalSnd.playBadMatch();
    mouse.clear();
    FlushMouse();
}

void TMainGame::_finishUse(int index) {
    mouse.leftPressed = 0;
    mouse.clear();
    FlushMouse();
    tryb = 0;
    m3Game->pickedTile.reset();
    powerUpOf(index).use(index + 1);
    bonusUse[static_cast<size_t>(index)] += 1;
    harnessLog("power-up " + std::to_string(index + 1));
}

int TMainGame::useHammerOnTile(const std::shared_ptr<TTile>& t) {
    if (!mouse.leftPressed) return 0;
    return useHammerOnTile2(t);
}

int TMainGame::useHammerOnTile2(const std::shared_ptr<TTile>& t) {
    if (!t) return 0;
    if (t->chip && t->chip->isPuzzle()) {
        _puzzleTargetRefused();
        return 0;
    }
    globalSnd.playHammer();
    if (t->chip) {
        t->chip->destroy(0);
        level->moveChipsUp(t);
    } else {
        t->matchHere();
    }
    for (int i = 0; i < 8; ++i) playParticles().sparkle(t->dim.x, t->dim.y, 255, 220, 150, i * 10);
    _finishUse(0);
    return 0;
}

int TMainGame::useCrossFireOnTile(const std::shared_ptr<TTile>& T) {
    if (!mouse.leftPressed || !T) return 0;
    if (T->chip && T->chip->isPuzzle()) {
        _puzzleTargetRefused();
        return 0;
    }
    for (auto& t : createTilesListForCrossFireX(T->r, T->c)) {
        if (t->chip) {
            const float dx = t->dim.x - T->dim.x, dy = t->dim.y - T->dim.y;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (t->chip->state == "DESTROY" || t->chip->bylUsuwany)
                continue;  // the centre is listed four times
            t->chip->speCRot = std::atan2(dy, dx) / kDeg;
            t->chip->setDestroyType(4);
            t->generateDestroyParticles(static_cast<int>(d), 3);
            t->chip->destroy(static_cast<int>(d));
        } else {
            t->matchHere();
        }
    }
    globalSnd.playCROSSFIRE(3);
    _finishUse(1);
    return 0;
}

int TMainGame::useZamienOnTile(const std::shared_ptr<TTile>& T) {
    if (!mouse.leftPressed || !T || !T->chip || !T->chip->cd) return 0;
    if (T->chip->isPuzzle()) {
        _puzzleTargetRefused();
        return 0;
    }
    if (T->chip->cd->id > 100) return 0;
    const ChipDataPtr cd = T->chip->cd;
    vanishList = m3Game->getRandomChipsWithout(Rand(15, 20), cd);
    for (auto& ch : vanishList) {
        if (!ch) continue;
        ch->replaceChipData(cd);
        if (ch->tile)
            for (int i = 0; i < 4; ++i)
                playParticles().sparkle(ch->tile->dim.x, ch->tile->dim.y, 200, 160, 255, i * 30);
    }
    globalSnd.playMagic(2);
    _finishUse(4);
    return 0;
}

int TMainGame::useVanishOnTile(const std::shared_ptr<TTile>& T) {
    if (!mouse.leftPressed || !T || !T->chip) return 0;
    if (T->chip->isPuzzle()) {
        _puzzleTargetRefused();
        return 0;
    }
    if (vanishList.empty()) return 0;  // a bonus chip: nothing to vanish
    const auto list = vanishList;
    for (auto& ch : list)
        if (ch) ch->vanish();
    globalSnd.playMagic(1);
    _finishUse(5);
    return 0;
}

std::vector<std::shared_ptr<TTile>> TMainGame::createTilesListByRound(int, int) {
    return {};
}

int TMainGame::goodDim(int r, int c) {
    if (!level || r < 0 || c < 0 || r >= level->rows || c >= level->cols) return 0;
    TTile* t = level->tileAt(r, c);
    return t && t->td && t->td->id != 0 ? 1 : 0;
}

std::vector<std::pair<int, int>> TMainGame::crossFireCells(int r, int c, int rows, int cols,
                                                           const std::function<bool(int, int)>& ok) {
    std::vector<std::pair<int, int>> out;
    auto add = [&](int rr, int cc) {
        if (rr >= 0 && cc >= 0 && rr < rows && cc < cols && ok(rr, cc)) out.emplace_back(rr, cc);
    };
    // Out to the far edges in every direction (the bound is generous on purpose).
    const int kMax = 2 * rows * cols;
    for (int k = 0; k <= kMax; ++k) {
        add(r - k, c - k);
        add(r - k, c + k);
        add(r + k, c + k);
        add(r + k, c - k);
        if (k > rows && k > cols) break;  // nothing further can be on the board
    }
    return out;
}

std::vector<std::shared_ptr<TTile>> TMainGame::createTilesListForCrossFireX(int r, int c) {
    std::vector<std::shared_ptr<TTile>> out;
    if (!level) return out;
    for (auto& rc : crossFireCells(r, c, level->rows, level->cols,
                                   [this](int rr, int cc) { return goodDim(rr, cc) != 0; }))
        out.push_back(level->tile[static_cast<size_t>(rc.first)][static_cast<size_t>(rc.second)]);
    return out;
}

int TMainGame::_updateBonusObw() {
    {
        const float step = 0.05f * frameDelta;
        if (bonusOA < dBonusOA)
            bonusOA = std::min(dBonusOA, bonusOA + step);
        else if (bonusOA > dBonusOA)
            bonusOA = std::max(dBonusOA, bonusOA - step);
        if (bonusOA == dBonusOA) dBonusOA = dBonusOA > 0.5f ? 0.0f : 1.0f;
    }
    return 0;
}

int TMainGame::_drawDirBonusObwodka(const TDim& d) {
    if (!bonusObw) return 0;
    const float s = std::sin(90.0f * kDeg * bonusOA);
    SetBlend(LIGHTBLEND);
    SetColor(255, 255, 255);
    SetRotation(0);
    SetAlpha(s);
    SetScale(0.95f + 0.1f * s, 0.95f + 0.1f * s);
    DrawImage(bonusObw, d.x, d.y);
    SetScale(1, 1);
    SetAlpha(1);
    SetBlend(ALPHABLEND);
    return 0;
}

int TMainGame::_drawBonusObwodka() {
    if (tryb == 0) return 0;
    const int b = buttonOfMode(tryb);
    if (b) _drawDirBonusObwodka(getPowerUpDim(b));
    return 0;
}

int TMainGame::_drawBonusIMGDir(const ImagePtr& image) {
    if (!image) return 0;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
    DrawImage(image, static_cast<float>(mouse.x), static_cast<float>(mouse.y));
    return 0;
}

int TMainGame::_drawBonusImg() {
    switch (tryb) {
        case 1:
            return _drawBonusIMGDir(imgMlotek);
        case 3: {
            // The cross-fire's cursor is its button's own picture, smaller,
            // in the colour the button shows.
            auto b = Gui ? Gui->get<TButton>("bonus_2") : nullptr;
            if (!b || !b->_image) return _drawBonusIMGDir(imgNozyce);
            const auto& cd = TM3Game::powerUpColor[1];
            const ImagePtr tint = _chargeTemplate(2, b->_image);
            SetBlend(ALPHABLEND);
            if (cd && tint)
                SetColor(cd->rgb.r, cd->rgb.g, cd->rgb.b);
            else
                SetColor(255, 255, 255);
            SetAlpha(1);
            SetScale(0.6f, 0.6f);
            SetRotation(0);
            DrawImage(cd && tint ? tint : b->_image, static_cast<float>(mouse.x),
                      static_cast<float>(mouse.y));
            SetScale(1, 1);
            return 0;
        }
        case 4:
            return _drawBonusIMGDir(imgRozczka);
        case 2:
            return _drawBonusIMGDir(imgIgla);
        default:
            return 0;  // the normal cursor is drawn by the frame
    }
}

// ---------------------------------------------------------------------------
// Hints

int TMainGame::hideHint() {
    hintTime = Millisecs() + 45000;
    hintInfo.reset();
    for (auto& a : arrows) a->dA = 0;
    return 0;
}

int TMainGame::showHint() {
    if (m3Game->matchType == 1 && hintInfo) {
        hideHint();
        hintTime = Millisecs() + 45000;
        return 0;
    }
    hintInfo = m3Game->_noMatchLeft();
    if (m3Game->matchType == 0) {
        if (!arrows.empty()) {
            for (auto& a : arrows) a->dA = 0;
            hintTime = Millisecs() + 45000;
            hintInfo.reset();
            return 0;
        }
        if (hintInfo && hintInfo->tile1 && hintInfo->tile2)
            createHintArrows(
                static_cast<int>(hintInfo->tile1->dim.x), static_cast<int>(hintInfo->tile1->dim.y),
                static_cast<int>(hintInfo->tile2->dim.x), static_cast<int>(hintInfo->tile2->dim.y));
    }
    if (hintInfo) harnessLog("hint");
    hintTime = Millisecs() + 4000;
    return 0;
}

int TMainGame::showHint2() {
    hintInfo = m3Game->_noMatchLeft();
    if (m3Game->matchType == 0) {
        for (auto& a : arrows) a->dA = 0;
        if (hintInfo && hintInfo->tile1 && hintInfo->tile2)
            createHintArrows(
                static_cast<int>(hintInfo->tile1->dim.x), static_cast<int>(hintInfo->tile1->dim.y),
                static_cast<int>(hintInfo->tile2->dim.x), static_cast<int>(hintInfo->tile2->dim.y));
        hintInfo.reset();
    }
    hintTime = Millisecs() + 45000;
    return 0;
}

int TMainGame::createArrow(int n, int x, int y, int rot) {
    auto a = std::make_shared<TArrow>();
    a->n = n;
    a->x = static_cast<float>(x);
    a->y = static_cast<float>(y);
    a->rot = static_cast<float>(rot);
    a->a = 0;
    a->dA = 1;
    arrows.push_back(a);
    return 0;
}

int TMainGame::createHintArrows(int x1, int y1, int x2, int y2) {
    const float a1 = std::atan2(static_cast<float>(y2 - y1), static_cast<float>(x2 - x1)) / kDeg;
    const float a2 = std::atan2(static_cast<float>(y1 - y2), static_cast<float>(x1 - x2)) / kDeg;
    auto place = [&](int n, int x, int y, float a) {
        const float px = x + 10 * std::cos((a + 90) * kDeg) + 25 * std::cos(a * kDeg);
        const float py = y + 10 * std::sin((a + 90) * kDeg) + 25 * std::sin(a * kDeg);
        createArrow(n, static_cast<int>(px), static_cast<int>(py), static_cast<int>(a + 90));
    };
    place(1, x1, y1, a1);
    place(0, x2, y2, a2);
    return 0;
}

int TMainGame::_updateArrows() {
    const bool normal = isNormal(state);
    for (auto it = arrows.begin(); it != arrows.end();) {
        if (!normal) (*it)->dA = 0;
        (*it)->update();
        if ((*it)->a == 0 && (*it)->dA == 0)
            it = arrows.erase(it);
        else
            ++it;
    }
    return 0;
}

int TMainGame::_drawArrows() {
    for (auto& a : arrows) a->draw();
    return 0;
}

int TMainGame::_drawHintInfo() {
    if (!hintInfo) return 0;
    const auto& chips = hintInfo->zaznaczone;
    const float n = static_cast<float>(chips.size());
    if (m3Game->matchType == 1) {
        if (!chips.empty()) chips.front()->_update_over_Group();
        for (auto& ch : chips) {
            if (!ch || !ch->tile) continue;
            ch->_update_shaking(n * 0.1f, hintInfo->a);
            ch->drawLIghtnedGroup1(ch->tile->dim.x, ch->tile->dim.y, hintInfo->a);
        }
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        SetAlpha(hintInfo->a);
        for (size_t i = 1; i < chips.size(); ++i)
            if (chips[i] && chips[i - 1] && chips[i]->tile && chips[i - 1]->tile)
                m3Game->drawMyLine(chips[i]->tile->dim.x, chips[i]->tile->dim.y, chips[i - 1]->tile->dim.x,
                                   chips[i - 1]->tile->dim.y);
        SetAlpha(1);
    } else if (m3Game->matchType == 2) {
        if (!chips.empty()) chips.front()->_update_over_Group();
        for (auto& ch : chips) {
            if (!ch || !ch->tile) continue;
            ch->_update_shaking(n * 0.1f, 1);
            ch->drawLIghtnedGroup1(ch->tile->dim.x, ch->tile->dim.y, 1);
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Tool tips

int TMainGame::_updateToolTips() {
    const int mx = mouse.x, my = mouse.y;
    const float step = 0.05f * frameDelta;
    for (int i = 0; i < 17; ++i) {
        const TRect& r = kTipRects[i];
        const bool in = r.w >= 0 && mx >= r.x && mx <= r.x + r.w && my >= r.y && my <= r.y + r.h;
        dToolTipA[static_cast<size_t>(i)] = in ? 1.0f : 0.0f;
        float& a = toolTipA[static_cast<size_t>(i)];
        const float d = dToolTipA[static_cast<size_t>(i)];
        if (a < d)
            a = std::min(d, a + step);
        else if (a > d)
            a = std::max(d, a - step);
    }
    return 0;
}

namespace {

// A tool tip is a small parchment card with a thin wooden rim.
void drawTipPanel(float x, float y, float w, float h, float a) {
    SetScale(1, 1);
    SetRotation(0);
    TMainGame::drawCard(x, y, w, h, a, 3);
}

}  // namespace

int TMainGame::_drawToolTips() {
    SetRotation(0);
    SetScale(1, 1);
    // The counters' tips hang under the counters' panel, right-aligned with
    // it: the pointer, on the counter above, never hides them and they never
    // cover the number they explain.
    auto counterTip = [&](int slot, const std::string& text) {
        const float a = toolTipA[static_cast<size_t>(slot)] * alpha;
        if (a <= 0) return;
        SetImageFont(toolTipFont);
        const float w = static_cast<float>(TextWidth(text)) + 24,
                    h = static_cast<float>(TextHeight(text)) + 14;
        const float x = 1016 - w, y = 106;
        drawTipPanel(x, y, w, h, a);
        SetColor(74, 36, 10);
        SetAlpha(a);
        DrawText(text, x + 12, y + 7);
    };
    counterTip(0, txtTilesLeft);
    if (_levelHasPieces) counterTip(1, txtPuzzlesLeft);
    _drawMatchType();
    _drawPowerUpsToolTips();
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

int TMainGame::_drawMatchType() {
    const float a = toolTipA[2] * alpha;
    const size_t mt = static_cast<size_t>(std::clamp(m3Game ? m3Game->matchType : 0, 0, 2));
    if (a > 0) {
        // Beside the badge, to its right: the pointer on the badge leaves it clear.
        SetImageFont(matchFont);
        const std::string& name = txtMatch[mt];
        const float w = static_cast<float>(TextWidth(name)) + 24,
                    h = static_cast<float>(TextHeight(name)) + 12;
        const float x = 72, y = 740 - h / 2;
        drawTipPanel(x, y, w, h, a);
        SetColor(94, 58, 28);
        SetAlpha(a);
        DrawText(name, x + 12, y + 6);
    }
    if (trybImgSmall[mt]) {
        SetBlend(ALPHABLEND);
        SetColor(255, 255, 255);
        SetAlpha(guiAlpha * alpha);
        SetScale(1, 1);
        DrawImage(trybImgSmall[mt], 35, 740);
    }
    return 0;
}

TMainGame::PowerUpStatus TMainGame::powerUpStatus(bool unlocked, float charge, bool chargeable) {
    if (!unlocked) return PowerUpStatus::Locked;
    if (charge >= 1.0f) return PowerUpStatus::Ready;  // earned earlier: it can still be used here
    if (!chargeable) return PowerUpStatus::NotOnThisLevel;
    return PowerUpStatus::Charging;
}

bool TMainGame::powerUpChargeable(int i) {
    return i >= 0 && i < 6 && TM3Game::powerUpColor[static_cast<size_t>(i)] != nullptr;
}

int TMainGame::_drawPowerUpsToolTips() {
    for (int s = 11; s <= 16; ++s) {
        const float a = toolTipA[static_cast<size_t>(s)] * alpha;
        if (a <= 0) continue;
        const int i = s - 11;
        const TDim d = getPowerUpDim(s - 10);
        SetScale(1, 1);
        SetRotation(0);
        // To the right of the power-up column, level with the button: the
        // pointer on the button never hides it and it never covers a button.
        const float w = 262, textW = w - 24;
        const std::string& opis = txtPowerUpOpis[static_cast<size_t>(i)];
        const int descH = measureTextBlock(opis, textW, "LEFT", toolTipFont, 1);
        SetImageFont(toolTipTitleFont);
        const int titleH = TextHeight("A");
        TPowerUp& pu = powerUpOf(i);
        std::string line;
        int r = 90, g = 52, b = 22;
        switch (powerUpStatus(pu.odkryty != 0, pu.getPercent(), powerUpChargeable(i))) {
            case PowerUpStatus::Locked:
                r = 160, g = 30, b = 20;
                line = txtNotAvailable;
                break;
            case PowerUpStatus::NotOnThisLevel:
                r = 160, g = 30, b = 20;
                line = txtNotOnThisLevel;
                break;
            case PowerUpStatus::Ready:
                r = 30, g = 110, b = 30;
                line = txtReadyToUse;
                break;
            case PowerUpStatus::Charging:
                line = txtCharged + " " + std::to_string(static_cast<int>(pu.getPercent() * 100)) + "%";
                break;
        }
        const int lineH = measureTextBlock(line, textW, "LEFT", toolTipFont, 0);
        const float h = static_cast<float>(10 + titleH + 4 + lineH + 8 + descH + 12);
        const float x = 118, y = std::clamp(d.y - h / 2, 4.0f, 764.0f - h);
        drawTipPanel(x, y, w, h, a);
        SetAlpha(a);
        SetColor(94, 58, 28);
        SetImageFont(toolTipTitleFont);
        float ty = y + 10;
        drawTextBlock(guiUpper(txtPowerUp[static_cast<size_t>(i)]), static_cast<int>(x + 12),
                      static_cast<int>(ty), textW, "LEFT", toolTipTitleFont, 0);
        ty += static_cast<float>(titleH + 4);
        SetColor(r, g, b);
        drawTextBlock(line, static_cast<int>(x + 12), static_cast<int>(ty), textW, "LEFT", toolTipFont, 0);
        ty += static_cast<float>(lineH + 8);
        SetColor(74, 36, 10);
        drawTextBlock(opis, static_cast<int>(x + 12), static_cast<int>(ty), textW, "LEFT", toolTipFont, 1);
    }
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}
