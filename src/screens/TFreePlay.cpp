#include "screens/TFreePlay.h"

#include <algorithm>
#include <cstdio>

#include "app/AppGlobals.h"
#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/Paths.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "gui/GuiGlobals.h"
#include "gui/TButton.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "platform/Files.h"
#include "profiles/TProfileManager.h"
#include "screens/ScreenKit.h"
#include "screens/TFreePlayContinue.h"
#include "screens/TPopUp.h"

std::shared_ptr<TFreePlay> freePlay;

namespace {
const char* const kLeftFile = "freeplay_left.lvl";

std::string withNumber(const std::string& pattern, int n) {
    std::string s = pattern;
    const size_t at = s.find("%d");
    if (at == std::string::npos) return s + " " + std::to_string(n);
    return s.replace(at, 2, std::to_string(n));
}
}  // namespace

TFreePlay::TFreePlay() {
    id = "FREE-PLAY";
}

int TFreePlay::setup() {
    if (_setUp) return 0;
    _setUp = true;
    const auto lines = loadTextLines(dataRoot + "txt/freePlay.txt",
                                     {"Free play", "Level %d", "Best: %d", "Mode: timed", "Mode: relaxed", "Back",
                                      "Win quest levels to play them again here.",
                                      "You left level %d. Play on?", "Play on", "Choose another",
                                      "The level file cannot be read."});
    for (size_t i = 0; i < 11; ++i) txt[i] = lines[i];
    back = loadPlainImage(dataRoot + "gfx/gui/mainMenu/back.jpg");
    base = loadPlainImage(dataRoot + "gfx/gui/mainMenu/" + language + "/back-base.png");
    panel = loadMidImage(dataRoot + "gfx/gui/profiles/panel.png");
    font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 24, 0);
    titleFont = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 36, 0);
    Gui = loadGui(dataRoot + "gfx/gui/freePlay/freePlay.gui");
    std::vector<std::string> problems;
    table = readFreePlayTable(dataRoot + "data/free_levels.dat", &problems);
    for (const auto& p : problems) std::fprintf(stderr, "Free play: %s\n", p.c_str());
    return 0;
}

std::vector<TFreePlayEntry> TFreePlay::reached(const std::vector<TFreePlayEntry>& all, int nrLevelu) {
    std::vector<TFreePlayEntry> out;
    for (const auto& e : all)
        if (e.id <= nrLevelu) out.push_back(e);
    return out;
}

void TFreePlay::loadBest() {
    best.clear();
    const TProfilePtr p = profileManager().profile;
    if (!p) return;
    const std::string path = p->folder() + "freeplay.dat";
    if (FileType(path) != 1) return;
    auto f = loadRCMFile(path);
    if (!f->_loaded) return;
    for (const auto& e : table) {
        const std::string key = "freeplay::level" + std::to_string(e.id);
        if (!f->hasEntry(key)) continue;
        const float v = f->getFloat(key);
        if (v >= 0 && v < 2e9f) best[e.id] = static_cast<int>(v);
    }
}

bool TFreePlay::saveBest() const {
    const TProfilePtr p = profileManager().profile;
    if (!p) return false;
    const std::string dir = p->folder();
    CreateDir(dir, true);
    auto f = newRCMFile();
    for (const auto& b : best) f->setFloat("freeplay::level" + std::to_string(b.first), static_cast<float>(b.second));
    bool ok = true;
    bool haveLeft = leftLevel && leftPlayer == p->getMyID();
    if (haveLeft && !leftLevel->save(dir + kLeftFile)) {
        std::fprintf(stderr, "Free play: the level left to play on could not be saved.\n");
        haveLeft = false;
        ok = false;
    }
    if (haveLeft) {
        f->setFloat("freeplay::left::level", leftEntry.id);
        f->setString("freeplay::left::mode", leftMode);
        f->setFloat("freeplay::left::time", leftTime);
    }
    if (!f->save(dir + "freeplay.dat")) return false;
    // Written after the index that no longer names it.
    if (!haveLeft) DeleteFile(dir + kLeftFile);
    return ok;
}

bool TFreePlay::loadLeft() {
    const TProfilePtr p = profileManager().profile;
    if (!p) return true;
    if (leftLevel && leftPlayer == p->getMyID()) return true;  // already in memory
    leftLevel.reset();
    const std::string dir = p->folder();
    if (FileType(dir + "freeplay.dat") != 1) return true;
    auto f = loadRCMFile(dir + "freeplay.dat");
    if (!f->_loaded || !f->hasEntry("freeplay::left::level")) return true;
    const int id = f->getInt("freeplay::left::level");
    const std::string m = f->getString("freeplay::left::mode");
    const int t = f->getInt("freeplay::left::time");
    auto entry = std::find_if(table.begin(), table.end(), [id](const TFreePlayEntry& e) { return e.id == id; });
    std::shared_ptr<TLevel> level;
    if (entry != table.end() && (m == "TIMED" || m == "RELAXED") && t >= 0 &&
        FileType(dir + kLeftFile) == 1) {
        if (mainGame) mainGame->setup();
        level = loadLevelFile(dir + kLeftFile, mainGame ? mainGame->m3Game.get() : nullptr);
    }
    if (!level || level->rows <= 0 || level->cols <= 0) {
        std::fprintf(stderr, "Free play: the level left to play on (%s) cannot be read; it is dropped.\n",
                     (dir + kLeftFile).c_str());
        return false;
    }
    leftLevel = level;
    leftEntry = *entry;
    leftMode = m;
    leftTime = t;
    leftPlayer = p->getMyID();
    return true;
}

std::vector<TFreePlayEntry> TFreePlay::myLevels(const std::string& folder) {
    std::vector<TFreePlayEntry> out;
    for (const std::string& n : Paths::levelFiles(folder)) {
        TFreePlayEntry e;
        e.url = folder + n;
        e.name = n.substr(0, n.size() - 4);
        out.push_back(e);
    }
    return out;
}

int TFreePlay::rowAt(int x, int y) const {
    if (x < 262 || x > 762 || y < kFirstRowY) return -1;
    const int r = (y - kFirstRowY) / kRowH;
    const int i = page * kRows + r;
    return r < kRows && i < static_cast<int>(shown.size()) ? i : -1;
}

void TFreePlay::_refreshMode() {
    if (!Gui) return;
    if (auto b = Gui->get<TButton>("mode")) b->_txt = mode == "TIMED" ? txt[3] : txt[4];
    const int pages = std::max(1, (static_cast<int>(shown.size()) + kRows - 1) / kRows);
    page = std::clamp(page, 0, pages - 1);
    if (auto b = Gui->getItem("prev")) b->setState(page > 0, page > 0);
    if (auto b = Gui->getItem("next")) b->setState(page + 1 < pages, page + 1 < pages);
}

std::string TFreePlay::_list() {
    _chosen = -1;
    wynik.clear();
    fade = 1;
    dFade = 0;
    alpha = 0;
    dAlpha = 1;
    state = "FREE-PLAY";
    _refreshMode();
    mouse.clear();
    FlushKeys();
    FlushMouse();
    _prepareDelta();
    runLoop();
    state.clear();
    return wynik;
}

void TFreePlay::_control() {
    if (dFade != 0 || fade != 0 || !Gui) return;
    if (_offerContinue) {
        _offerContinue = false;
        const std::string a = freePlayContinue->mainLoop(this, withNumber(txt[7], leftEntry.id), txt[8], txt[9]);
        if (a == "RESUME") return leaveTo("CONTINUE");
        if (a == "NEW") {
            leftLevel.reset();
            if (!saveBest()) std::fprintf(stderr, "Free play: the best scores could not be saved.\n");
        }
        return;
    }
    if (Gui->clickedItem("back")) return leaveTo("");
    if (Gui->clickedItem("mode")) {
        mode = mode == "TIMED" ? "RELAXED" : "TIMED";
        _refreshMode();
        return;
    }
    if (Gui->clickedItem("prev")) {
        --page;
        _refreshMode();
        return;
    }
    if (Gui->clickedItem("next")) {
        ++page;
        _refreshMode();
        return;
    }
    if (mouse.leftPressed) {
        const int i = rowAt(mouse.x, mouse.y);
        if (i >= 0) {
            _chosen = i;
            leaveTo("PLAY");
        }
    }
}

void TFreePlay::_play(const TFreePlayEntry& e, bool resume) {
    const TProfilePtr player = profileManager().profile;
    if (!player || !mainGame) return;
    mainGame->setup();
    // A stand-in player: the play screen adds scores and pieces to whoever it
    // plays for, and free play must leave the quest as it was.
    auto stand = std::make_shared<TProfile>();
    stand->name = player->name;
    stand->gameMode = resume ? leftMode : mode;
    stand->nrLevelu = std::max(1, e.id);
    stand->tutorialOn = 0;
    stand->profilesDir = userRoot.empty() ? std::string() : userRoot + "/FreePlay/";
    mainGame->profile = stand;
    std::shared_ptr<TLevel> level;
    for (;;) {
        if (resume) {
            level = leftLevel;
            mainGame->levelTime = leftTime;
            leftLevel.reset();
            mainGame->setLevel(level);
        } else {
            level = loadLevelFile(e.name.empty() ? dataRoot + e.url : e.url, mainGame->m3Game.get());
            if (!level || level->rows <= 0 || level->cols <= 0) {
                mainGame->profile = player;
                notice(txt[10] + "\n" + e.url, this);
                return;
            }
            mainGame->levelTime = 0;
            mainGame->setLevel(level);
            mainGame->setStartData();
        }
        Control::currentName = "MAIN-GAME";
        const std::string next = mainGame->mainLoop();
        Control::currentName = "FREE-PLAY";
        if (next == "RESTART-LEVEL") {
            resume = false;
            continue;
        }
        const bool won = next == "GET-NEXT-QUEST-LEVEL" || next == "PUZZLE";
        if (won && level && e.name.empty()) {
            int& b = best[e.id];
            b = std::max(b, static_cast<int>(level->score));
        } else if (!mainGame->lostLevel && level) {
            // Left through the menu: kept to play on.
            leftLevel = level;
            leftTime = mainGame->levelTime;
            leftEntry = e;
            leftMode = stand->gameMode;
            leftPlayer = player->getMyID();
        }
        break;
    }
    mainGame->profile = player;
    // Whatever the end, the saved state follows: a best score, a level left
    // to play on, or (won, lost) the one played on no longer offered.
    if (!saveBest()) std::fprintf(stderr, "Free play: the best scores could not be saved.\n");
}

std::string TFreePlay::mainLoop() {
    setup();
    const TProfilePtr player = profileManager().profile;
    if (!player) return "MAIN-MENU";
    if (player->gameMode == "TIMED" || player->gameMode == "RELAXED") mode = player->gameMode;
    loadBest();
    if (!loadLeft()) saveBest();  // an unreadable level is not offered again
    for (;;) {
        shown = reached(table, player->nrLevelu);
        if (!userRoot.empty())
            for (auto& e : myLevels(Paths::userLevelsDir())) shown.push_back(e);
        _offerContinue = leftLevel && leftPlayer == player->getMyID();
        const std::string a = _list();
        if (a == "PLAY" && _chosen >= 0 && _chosen < static_cast<int>(shown.size()))
            _play(shown[static_cast<size_t>(_chosen)], false);
        else if (a == "CONTINUE" && leftLevel)
            _play(leftEntry, true);
        else
            break;
    }
    return "MAIN-MENU";
}

int TFreePlay::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateFade();
    _updateGui();
    return 0;
}

int TFreePlay::draw() {
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
    if (back) DrawImage(back, 0, 0);
    SetBlend(ALPHABLEND);
    if (base) DrawImage(base, 0, 0);
    drawDarkening(0.3f);
    SetAlpha(alpha);
    if (panel) DrawImage(panel, 512, 384);
    SetImageFont(titleFont);
    drawShadowedCentred(txt[0], 512, 118, 94, 58, 28, alpha);
    SetImageFont(font);
    const int h = TextHeight("A");
    if (shown.empty()) {
        SetColor(59, 36, 20);
        SetAlpha(alpha);
        const int w = TextWidth(txt[6]);
        DrawText(txt[6], 512 - w / 2, 330);
    }
    const int hover = rowAt(mouse.x, mouse.y);
    for (int r = 0; r < kRows; ++r) {
        const int i = page * kRows + r;
        if (i >= static_cast<int>(shown.size())) break;
        const TFreePlayEntry& e = shown[static_cast<size_t>(i)];
        const int y = kFirstRowY + r * kRowH;
        if (i == hover) {
            SetColor(201, 138, 60);
            SetAlpha(alpha * 0.35f);
            DrawRect(262, y + 2, 500, kRowH - 4);
        }
        SetAlpha(alpha);
        SetColor(59, 36, 20);
        DrawText(e.name.empty() ? withNumber(txt[1], e.id) : "My levels: " + e.name, 280, y + (kRowH - h) / 2);
        auto it = best.find(e.id);
        if (it != best.end()) {
            const std::string b = withNumber(txt[2], it->second);
            DrawText(b, 744 - TextWidth(b), y + (kRowH - h) / 2);
        }
    }
    SetColor(255, 255, 255);
    _drawGui();
    SetAlpha(1);
    _drawFade();
    return 0;
}
