#include "tutorial/TTutorial.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "app/AppGlobals.h"
#include "app/TMainGame.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "data/TTxtFile.h"
#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "platform/Files.h"
#include "profiles/TProfile.h"
#include "profiles/TProfileManager.h"

std::shared_ptr<TTutorial> tutorial;

namespace {

ImagePtr loadMid(const std::string& path) {
    ImagePtr img = LoadImage(dataRoot + path, IMG_FILTERED);
    if (img)
        MidHandleImage(img);
    else
        std::fprintf(stderr, "Tutorial: picture %s cannot be loaded; it is left out.\n", path.c_str());
    return img;
}

ImagePtr loadPlain(const std::string& path) {
    ImagePtr img = LoadImage(dataRoot + path, IMG_FILTERED);
    if (!img) std::fprintf(stderr, "Tutorial: picture %s cannot be loaded; it is left out.\n", path.c_str());
    return img;
}

}  // namespace

TTutorial::TTutorial() {
    id = "TUTORIAL";
}

void TTutorial::loadTipsFrom(const std::string& path) {
    clearTip();
    tips.clear();
    problems.clear();
    tipFile = path;
    _tipsRead = false;
    readTips();
    // Pictures and fonts already loaded go to the new tips too.
    if (_setUp)
        for (auto& t : tips) {
            t->back = back[static_cast<size_t>(t->backIndex)];
            t->font = font[static_cast<size_t>(t->fontIndex)];
            t->titleFont = font[static_cast<size_t>(std::min(2, t->fontIndex + 1))];
            if (!t->imgPath.empty()) t->img = loadPlain(t->imgPath);
        }
}

void TTutorial::readTips() {
    if (_tipsRead) return;
    _tipsRead = true;
    auto report = [&](const std::string& what) {
        problems.push_back(what);
        std::fprintf(stderr, "%s: %s\n", tipFile.c_str(), what.c_str());
    };
    auto f = newRCMFile();
    f->Load(dataPath(tipFile));
    if (!f->_loaded) {
        report("the tutorial file cannot be read; no tips are shown");
        return;
    }
    const std::string txtFile = TrimText(f->getString("tutorial::txtFile"));
    TTxtFilePtr texts = txtFile.empty() ? nullptr : loadLocalisedText(dataRoot + txtFile);
    if (!texts || texts->lines() == 0)
        report("the tips' text file \"" + txtFile +
               "\" is missing or empty; tips that need a text are left out");
    const int count = f->getInt("tutorial::i");
    if (count < 0 || count > 500) {
        report("\"tutorial::i\" = " + std::to_string(count) + " is not a number of tips (0 to 500)");
        return;
    }
    std::set<std::string> ids;
    for (int n = 1; n <= count; ++n) {
        std::string error;
        TTutorialTipPtr t = TTutorialTip::load(*f, n, texts, error);
        if (t && ids.count(t->id)) {
            error = "tip " + std::to_string(n) + " (" + t->id + "), id: the id is taken by an earlier tip";
            t = nullptr;
        }
        if (!t) {
            report(error + "; the tip is left out");
            continue;
        }
        ids.insert(t->id);
        tips.push_back(t);
    }
    // A tip waiting for another that does not exist would never be shown.
    for (auto& t : tips)
        for (auto& c : t->conditions)
            if (c.key == "TIP-EXECUTED" && !c.args.empty() && !ids.count(c.args[0]))
                report("tip " + t->id + " waits for tip " + c.args[0] + ", which is not in the file");
}

int TTutorial::setup() {
    readTips();
    if (_setUp) return 0;
    _setUp = true;
    static const char* const backs[] = {"gfx/gui/tutorial/back.png", "gfx/gui/tutorial/back-normal.png",
                                        "gfx/gui/tutorial/back-chain.png", "gfx/gui/tutorial/back-group.png"};
    // The panels are drawn from their top-left corner (their middle is
    // stretched to the text), so they are not mid-handled.
    for (size_t i = 0; i < back.size(); ++i) back[i] = loadPlain(backs[i]);
    static const int sizes[] = {16, 20, 24};
    for (size_t i = 0; i < font.size(); ++i) {
        font[i] = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", sizes[i], 0);
        if (!font[i])
            std::fprintf(stderr, "Tutorial: gfx/fonts/Bookman.ttf cannot be loaded at %d pixels.\n",
                         sizes[i]);
    }
    TTutorialTip::arrowImg1 = loadMid("gfx/gui/tutorial/arrow.png");
    TTutorialTip::arrowImg2 = loadMid("gfx/gui/tutorial/arrow2.png");
    Gui = loadGui(dataRoot + "gfx/gui/tutorial/tutorial.gui");
    for (auto& t : tips) {
        t->back = back[static_cast<size_t>(t->backIndex)];
        t->font = font[static_cast<size_t>(t->fontIndex)];
        t->titleFont = font[static_cast<size_t>(std::min(2, t->fontIndex + 1))];
        if (!t->imgPath.empty()) t->img = loadPlain(t->imgPath);
    }
    return 0;
}

TProfile* TTutorial::playerFor(TEkran* screen) const {
    if (tutorialDisabled || !screen) return nullptr;
    TProfile* p = profileManager().profile.get();
    if (!p || !p->tutorialOn || p->damaged) return nullptr;
    // A level played on its own is played for a throw-away player.
    if (auto* g = dynamic_cast<TMainGame*>(screen))
        if (g->profile.get() != p) return nullptr;
    return p;
}

bool TTutorial::_waiting(const TTutorialTip& tip, const TProfile* p) const {
    if (!p) return false;
    for (auto& shown : p->lekcjeTutoriala)
        if (shown && (shown.get() == &tip || shown->id == tip.id)) return false;
    return true;
}

int TTutorial::bylTutorial(const std::string& tipId) {
    readTips();
    return getTipById(tipId) ? 0 : 1;
}

TTutorialTipPtr TTutorial::getTipById(const std::string& tipId) {
    readTips();
    TTutorialTipPtr t = tipById(tipId);
    TProfile* p = profileManager().profile.get();
    return t && _waiting(*t, p) ? t : nullptr;
}

TTutorialTipPtr TTutorial::tipById(const std::string& tipId) {
    readTips();
    const std::string want = guiUpper(TrimText(tipId));
    for (auto& t : tips)
        if (t->id == want) return t;
    return nullptr;
}

void TTutorial::startTutorial(const TTutorialTipPtr& tip) {
    if (!tip) return;
    mouse.clear();
    if (TProfile* p = profileManager().profile.get())
        if (_waiting(*tip, p)) p->lekcjeTutoriala.push_back(tip);
    if (actTip && actTip != tip) clearTip();
    tutorialLog(tip->id + " starts on " + (ekr ? ekr->id : std::string("no screen")));
    actTip = tip;
    tip->reset(ekr);
}

void TTutorial::startTutorial(const std::string& tipId) {
    startTutorial(tipById(tipId));
}

void TTutorial::clearTip() {
    if (actTip) {
        actTip->end(ekr);
        _forgetIfUnseen(actTip);
    }
    actTip = nullptr;
}

void TTutorial::_forgetIfUnseen(const TTutorialTipPtr& tip) {
    if (!tip || tip->appeared()) return;
    TProfile* p = profileManager().profile.get();
    if (!p) return;
    auto& shown = p->lekcjeTutoriala;
    const auto before = shown.size();
    shown.erase(std::remove_if(shown.begin(), shown.end(),
                               [&](const TTutorialTipPtr& t) { return t && (t == tip || t->id == tip->id); }),
                shown.end());
    if (shown.size() != before) tutorialLog(tip->id + " was not seen: it waits again");
}

bool TTutorial::tipShown(const TEkran* screen) const {
    return actTip != nullptr && (!screen || screen == ekr);
}

void TTutorial::_placeOk() {
    if (!Gui) return;
    auto ok = Gui->getItem("ok");
    if (!ok) return;
    const bool want = actTip && !actTip->erase && actTip->hasEraseCond("OK") && actTip->a > 0.3f;
    ok->setState(want ? 1 : 0, want ? 1 : 0);
    if (!actTip) return;
    const TDim& d = actTip->dim;
    ok->setPosition(static_cast<int>(d.x + d.w / 2), static_cast<int>(d.y + actTip->ady + d.h - 48));
    Gui->setGuiAlpha(std::max(0.0f, std::min(1.0f, actTip->a * (ekr ? ekr->alpha : 1.0f))));
}

int TTutorial::update() {
    if (!ekr) return 0;
    TProfile* p = playerFor(ekr);
    TTutorialTip::player = p;
    TTutorialTip::tipDone = [this](const std::string& tipId) { return bylTutorial(tipId) != 0; };
    if (actTip) {
        _placeOk();
        if (Gui) {
            Gui->update();
            if (Gui->clickedItem("ok")) actTip->okPressed = true;
        }
        actTip->update(ekr);
        if (actTip && actTip->finished()) {
            _forgetIfUnseen(actTip);
            actTip = nullptr;
        }
        return 0;
    }
    if (!p) return 0;
    // Looking for a tip to start costs a scan of the board per tip: ten
    // times a second is soon enough.
    const int now = Millisecs();
    if (now - _lastCheck >= 0 && now - _lastCheck < 100) return 0;
    _lastCheck = now;
    const std::string where = guiUpper(ekr->id);
    for (auto& t : tips) {
        if (t->screen != where || !_waiting(*t, p)) continue;
        if (t->check(ekr)) {
            startTutorial(t);
            break;
        }
    }
    return 0;
}

int TTutorial::draw() {
    if (!ekr || !actTip) return 0;
    actTip->draw(ekr);
    if (Gui && actTip->hasEraseCond("OK") && !actTip->erase) {
        _placeOk();
        Gui->draw();
    }
    return 0;
}

void TTutorial::updateOn(TEkran* screen) {
    if (!screen) return;
    if (ekr != screen) {
        // A tip belongs to the screen it started on.
        clearTip();
        ekr = screen;
    }
    // The tip on screen runs to its end even when the player turns the
    // tips off meanwhile, so nothing stays locked.
    if (!actTip && !playerFor(screen)) return;
    setup();
    update();
}

void TTutorial::drawOn(TEkran* screen) {
    if (!screen || screen != ekr || !actTip) return;
    draw();
}

void tutorialUpdate(TEkran* screen) {
    if (tutorial) tutorial->updateOn(screen);
}

void tutorialDraw(TEkran* screen) {
    if (tutorial) tutorial->drawOn(screen);
}
