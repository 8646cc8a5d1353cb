#include "screens/TWinScreen.h"

#include <algorithm>
#include <cstdio>

#include "app/FrameServices.h"
#include "app/Harness.h"
#include "app/TRMCounter.h"
#include "audio/TGlobalSnd.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"
#include "effects/Particles.h"
#include "effects/TFireworks.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "match3/TLevel.h"
#include "screens/TResultsHost.h"

std::shared_ptr<TWinScreen> winScreen;

namespace {
std::string line(const TTxtFilePtr& f, int n, const char* fallback) {
    if (!f || n < 1 || n > f->lines()) return fallback;
    std::string s = f->txt[static_cast<size_t>(n - 1)];
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
    return s;
}

void shadowed(const std::string& text, float x, float y, float alpha, int r, int g, int b) {
    SetColor(0, 0, 0);
    SetAlpha(0.4f * alpha);
    DrawText(text, x + 2, y + 2);
    SetColor(r, g, b);
    SetAlpha(alpha);
    DrawText(text, x, y);
}
}  // namespace

TWinScreen::TWinScreen() {
    id = "WIN-SCREEN";
}

void TWinScreen::setupTexts() {
    if (_textsSetUp) return;
    _textsSetUp = true;
    auto t = loadLocalisedText(dataRoot + "txt/winScreen.txt");
    txtComp = line(t, 2, "Level Complete!");
    txtScore = line(t, 3, "Score");
    txtGameTime = line(t, 4, "Game time");
    txtTimeLeft = line(t, 5, "Time left");
    txtTimeBonus = line(t, 6, "Time bonus");
    txtTiles = line(t, 7, "Tiles broken");
    txtBiggestMatch = line(t, 8, "Biggest match");
    txtMultiplier = line(t, 9, "Multiplier");
    txtMultiplierBonus = line(t, 10, "Multiplier bonus");
    txtTotalScore = line(t, 11, "Total score");
    txtPuzzles = line(t, 12, "Puzzle pieces");
    txtToGo1 = line(t, 13, "Only");
    txtToGo2 = line(t, 14, "pieces to go!");
    txtLevelScore = line(t, 15, "Level score");
    txtFinishBonus = line(t, 17, "Finish bonus");
}

std::string TWinScreen::groupThousands(int v) {
    const long long a = v < 0 ? -static_cast<long long>(v) : static_cast<long long>(v);
    const std::string d = std::to_string(a);
    std::string out;
    for (size_t i = 0; i < d.size(); ++i) {
        if (i > 0 && (d.size() - i) % 3 == 0) out += ',';
        out += d[i];
    }
    return v < 0 ? "-" + out : out;
}

int TWinScreen::setup() {
    setupTexts();
    if (_setUp) return 0;
    _setUp = true;
    img = LoadImage(dataRoot + "gfx/gui/winScreen/panel.png", IMG_FILTERED);
    if (img) MidHandleImage(img);
    podkladka = LoadImage(dataRoot + "gfx/gui/winscreen/podkladka.png", IMG_FILTERED);
    if (podkladka) MidHandleImage(podkladka);
    const std::string bookman = dataRoot + "gfx/fonts/Bookman.ttf";
    titlefont = guiLoadFont(bookman, 30, 0);
    dataFont = guiLoadFont(bookman, 20, 0);
    totalFont = guiLoadFont(bookman, 26, 0);
    smallFont = guiLoadFont(bookman, 14, 0);
    puzel = LoadImage(dataRoot + "gfx/gui/winScreen/puzel.png", IMG_FILTERED);
    if (puzel) MidHandleImage(puzel);
    tiles = LoadImage(dataRoot + "gfx/gui/winScreen/tiles.png", IMG_FILTERED);
    if (tiles) MidHandleImage(tiles);
    Gui = loadGui(dataRoot + "gfx/gui/winScreen/winScreen.gui");
    setupParticles();
    return 0;
}

int TWinScreen::getTimeBonus() const {
    auto& h = resultsHost();
    auto lvl = h.level();
    return lvl ? 5 * lvl->czas : 0;
}

int TWinScreen::getTotalScore() const {
    auto& h = resultsHost();
    auto lvl = h.level();
    return (lvl ? lvl->score : 0) + getTimeBonus();
}

float TWinScreen::getDataY(int row) const {
    // Evenly from y 200 to 390; more rows than fit there at a row's height
    // (the eight of a timed win with pieces) reach further down the panel,
    // which has room for them above its button.
    const int n = static_cast<int>(lines.size());
    if (n < 2) return 200;
    const float step = std::max(190.0f / static_cast<float>(n - 1), kMinRowStep);
    return 200.0f + step * static_cast<float>(row);
}

void TWinScreen::_prepareSelf() {
    auto& h = resultsHost();
    auto lvl = h.level();
    toExit = 0;
    STANDARD_DATA();
    fSpeed = 0.025f;
    aSpeed = 0.1f;
    alpha = dAlpha = 0;
    fade = dFade = 0;
    guiAlpha = dGuiAlpha = 0;
    state = "SHOW";
    const int levelPuzzles = lvl ? lvl->puzzles : 0;
    collectedPuzzles = levelPuzzles;
    const int missing = h.puzzlesMissing();
    puzzlesToGo = missing - levelPuzzles;
    if (puzzlesToGo < 0) puzzlesToGo = 0;
    _toGoText = txtToGo1 + " " + std::to_string(puzzlesToGo) + " " + txtToGo2;
    showCount = 0;
    mouse.clear();
    FlushKeys();
    FlushMouse();
    fireTime = Millisecs();
    _allShownTime = 0;
    // The show began as the board left the play screen; shown on its own the
    // panel starts one. Bursts keep around the panel: its rows stay readable.
    TFireworks& show = fireworks();
    if (!show.running()) show.start();
    const float pw = img ? static_cast<float>(img->width) : 640.0f,
                ph = img ? static_cast<float>(img->height) : 480.0f;
    show.setShelter(512 - pw / 2, 384 - ph / 2, pw, ph);
}

void TWinScreen::_prepareSummary() {
    auto& h = resultsHost();
    auto lvl = h.level();
    lines.clear();
    // The profile gets this level's score and pieces once, however often the
    // screen is shown for it.
    const bool credit = lvl && _creditedLevel.lock() != lvl;
    if (credit) {
        _creditedLevel = lvl;
        h.addProfilePuzzles(lvl->puzzles);
        h.addProfileScore(getTotalScore());
    }
    const int score = lvl ? lvl->score : 0;
    const int profileScore = h.profileScore();
    const std::string mode = h.gameMode();
    auto add = [&](const std::string& label, const std::string& value) {
        lines.push_back(TSummaryData::createSumData(label, value));
    };
    // Numbers as the HUD shows them (thousands separated); every term of the
    // level score has its row, so the rows add up.
    const auto num = [](int v) { return groupThousands(v); };
    add(txtScore, num(score));
    // The plates the HUD counted down (not the layers broken on the way).
    add(txtTiles, num(h.platesBroken()));
    if (mode == "TIMED") {
        add(txtTimeLeft, h.timeLeft());
        add(txtTimeBonus, num(getTimeBonus()));
    } else {
        add(txtFinishBonus, num(getTimeBonus()));
    }
    add(txtBiggestMatch, num(lvl ? lvl->highestMatch : 0));
    add(txtLevelScore, num(getTotalScore()));
    add(txtTotalScore, num(profileScore));
    // Puzzle pieces only on a level that has them.
    if (lvl && lvl->puzzles > 0) add(txtPuzzles, num(lvl->puzzles));
}

void TWinScreen::prepare() {
    setup();
    _prepareSelf();
    _prepareSummary();
    _prepareEfekty();
    if (harnessActive()) {
        for (const TSummaryData& row : lines)
            std::printf("win row: %s = %s\n", row.txt.c_str(), row.data.c_str());
        std::fflush(stdout);
    }
}

void TWinScreen::_prepareReady() {
    showCount = static_cast<int>(lines.size());
    alpha = dAlpha = 1;
    fade = dFade = 1;
    guiAlpha = dGuiAlpha = 1;
    state = "WAIT";
    _allShownTime = Millisecs();
}

std::string TWinScreen::mainLoop(TEkran* behind) {
    prepare();
    keepBehindAlive = true;
    runLoop(behind);
    if (harnessActive()) {
        std::printf("win screen: %d fireworks burst\n", fireworks().bursts());
        std::fflush(stdout);
    }
    fireworks().clear();
    fireworks().setShelter(0, 0, 0, 0);
    effects.clear();
    mouse.clear();
    FlushMouse();
    return "";
}

void TWinScreen::_updateState() {
    const int now = Millisecs();
    if (state == "SHOW") {
        dFade = 1;
        if (fade >= 1) dAlpha = 1;
        if (alpha >= 1) dGuiAlpha = 1;
        if (guiAlpha >= 1) {
            time = now + 500;
            state = "WAIT";
            showCount = 0;
        }
    } else if (state == "WAIT") {
        if (showCount < static_cast<int>(lines.size())) {
            if (now > time) {
                ++showCount;
                generateShowParticles(showCount - 1);
                time = now + 400;
                if (showCount == static_cast<int>(lines.size())) _allShownTime = now;
            }
        } else if (HarnessAutoplayWanted() && _allShownTime > 0 && now > _allShownTime + 1500) {
            // The autoplayer reads the results and goes on, as a player would.
            state = "HIDE";
        }
    } else if (state == "HIDE") {
        if (dGuiAlpha != 0 && harnessActive()) {
            std::printf("win screen: %d rows shown of %d\n", showCount, static_cast<int>(lines.size()));
            std::fflush(stdout);
        }
        dGuiAlpha = 0;
        fireworks().stop();  // those in the air still burst while the panel goes
        if (guiAlpha <= 0) dAlpha = 0;
        if (alpha <= 0) dFade = 0;
    }
}

int TWinScreen::_updateGui() {
    approach(guiAlpha, dGuiAlpha, 0.05f);
    if (!Gui) return 0;
    Gui->setGuiAlpha(guiAlpha);
    for (auto& o : Gui->_listaObiektow) {
        if (!o) continue;
        o->_alpha = guiAlpha;
        o->_dAlpha = guiAlpha;
    }
    Gui->update();
    return 0;
}

void TWinScreen::_updateEfekt() {
    // Fireworks go off, staggered, all the while; each burst pops.
    const int bursts = fireworks().update();
    for (int i = 0; i < bursts; ++i) globalSnd.playSound("firework", 0.6f);
}

int TWinScreen::update() {
    frameUpdate(0);
    _updateBehind();
    updateParticles();
    _updateState();
    _updateAlpha();
    _updateFade();
    _updateGui();
    _updateEfekt();
    effects.update();
    return 0;
}

void TWinScreen::_control() {
    if (Gui && Gui->clickedItem("OK")) {
        if (state != "HIDE") state = "HIDE";
        mouse.clear();
        return;
    }
    if (state == "SHOW" && mouse.leftPressed) {
        _prepareReady();
        mouse.clear();
    }
}

void TWinScreen::generateShowParticles(int row) {
    const float y = getDataY(row) + moveY + 12;
    rowBurst(512 - 230 + moveX / 2, 512 + 230 + moveX / 2, y, 0, &effects);
    globalSnd.playSound("result-pop");
}

void TWinScreen::_drawRows() {
    const int n = static_cast<int>(lines.size());
    // The bars first, then the rows' bursts over them, then the words and
    // numbers on top: a burst never hides what its row says.
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    for (int i = 0; i < showCount && i < n && podkladka; ++i)
        DrawImage(podkladka, 512, getDataY(i) + moveY + 13);
    effects.draw();
    for (int i = 0; i < showCount && i < n; ++i) {
        const TSummaryData& row = lines[static_cast<size_t>(i)];
        const float y = getDataY(i) + moveY;
        const bool last = row.txt == txtPuzzles;
        const bool total = row.txt == txtTotalScore;
        SetBlend(ALPHABLEND);
        SetRotation(0);
        SetScale(1, 1);
        SetImageFont(total ? totalFont : dataFont);
        const float ty = total ? y - 3 : y;
        const float lw = static_cast<float>(TextWidth(row.txt));
        shadowed(row.txt, 500 + moveX - lw, ty, alpha, 94, 58, 28);
        // Values in a deep rust that stays readable on the row bar.
        shadowed(row.data, 524 + moveX, ty, alpha, total ? 124 : 128, total ? 40 : 48, total ? 6 : 16);
        const float vw = static_cast<float>(TextWidth(row.data));
        SetColor(255, 255, 255);
        SetAlpha(alpha);
        if (row.txt == txtTiles && tiles) {
            SetScale(0.55f, 0.55f);
            DrawImage(tiles, 524 + moveX + vw + 22, y + 12);
            SetScale(1, 1);
        }
        if (last) {
            if (puzel) {
                SetScale(0.6f, 0.6f);
                DrawImage(puzel, 524 + moveX + vw + 22, y + 12);
                SetScale(1, 1);
            }
            if (puzzlesToGo > 0) {
                SetImageFont(smallFont);
                const float w = static_cast<float>(TextWidth(_toGoText));
                shadowed(_toGoText, 512 + moveX / 2 - w / 2, y + 34, alpha, 94, 58, 28);
            }
        }
    }
}

int TWinScreen::draw() {
    _drawBehind();
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(0, 0, 0);
    SetAlpha(0.6f * fade);
    DrawRect(0, 0, 1024, 768);
    // Over the darkened sky and behind the panel.
    fireworks().draw();
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (img) DrawImage(img, 512, 384);
    if (alpha > 0) {
        SetImageFont(titlefont);
        const float w = static_cast<float>(TextWidth(txtComp));
        SetColor(0, 0, 0);
        SetAlpha(0.5f * alpha);
        DrawText(txtComp, 512 - w / 2, 184);
        SetColor(247, 222, 113);
        SetAlpha(alpha);
        DrawText(txtComp, 512 - w / 2, 180);
        _drawRows();
    } else {
        effects.draw();
    }
    SetColor(255, 255, 255);
    SetAlpha(1);
    _drawGui();
    return 0;
}
