#include "campaign/TStory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/Harness.h"
#include "audio/TGlobalSnd.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "profiles/TProfileManager.h"

TStoryPtr story;

namespace {

int clampCount(int n, int most, const std::string& what, const std::string& file) {
    if (n < 0) return 0;
    if (n > most) {
        std::fprintf(stderr, "%s: %s is %d; only %d are read.\n", file.c_str(), what.c_str(), n, most);
        return most;
    }
    return n;
}

}  // namespace

int TStory::storyFor(int nrLevelu, bool campaignComplete) {
    // The ending first: a short campaign may end at a level that would
    // otherwise open a quest.
    if (campaignComplete) return 2;
    if (nrLevelu < 10) return 1;
    if (nrLevelu == 13) return 3;
    return 0;
}

TStory::TStory() {
    id = "STORY";
}

int TStory::setup() {
    if (_setUp) return 0;
    _setUp = true;
    img = LoadImage(dataRoot + "gfx/gui/story/panel.png", IMG_FILTERED);
    if (img)
        MidHandleImage(img);
    else
        std::fprintf(stderr, "gfx/gui/story/panel.png cannot be loaded.\n");
    Gui = loadGui(dataRoot + "gfx/gui/story/story.gui");
    const std::string face = dataRoot + "gfx/fonts/Bookman.ttf";
    TComicText::fonts[0] = guiLoadFont(face, 16, 0);
    TComicText::fonts[1] = guiLoadFont(face, 12, 0);
    TStoryPart::setup();
    for (int i = 0; i < 2; ++i) {
        const std::string path = dataRoot + "gfx/story/comic/dziubek-" + std::to_string(i + 1) + ".png";
        TComicText::tails[i] = LoadImage(path, IMG_FILTERED);
        if (!TComicText::tails[i])
            std::fprintf(stderr, "%s cannot be loaded: its boxes have no tail.\n", path.c_str());
    }
    auto hint = loadLocalisedText(dataRoot + "txt/story.txt");
    if (hint && hint->lines() >= 2) {
        txtClick = hint->txt[1];
        while (!txtClick.empty() && (txtClick.back() == '\r' || txtClick.back() == ' ')) txtClick.pop_back();
    } else {
        std::fprintf(stderr, "txt/%s/story.txt has no line 2: the hint reads \"Click to continue\".\n",
                     language.c_str());
        txtClick = "Click to continue";
    }
    _comic = loadLocalisedText(dataRoot + "txt/story-comic.txt");
    if (!_comic || _comic->lines() == 0)
        std::fprintf(stderr, "txt/%s/story-comic.txt is missing or empty: the boxes show no text.\n",
                     language.c_str());
    return 0;
}

TStoryPackPtr TStory::loadStory(const std::string& path) {
    auto pack = std::make_shared<TStoryPack>();
    auto f = loadRCMFile(dataRoot + path);
    if (!f->_loaded) {
        std::fprintf(stderr, "%s cannot be read: the story has no pictures.\n", path.c_str());
        return pack;
    }
    pack->atEnd = f->getString("story::atEnd");
    const int m = clampCount(f->getInt("story::i"), kMaxParts, "story::i", path);
    const int lines = _comic ? _comic->lines() : 0;
    for (int p = 1; p <= m; ++p) {
        const std::string s = "story::story" + std::to_string(p);
        auto part = std::make_shared<TStoryPart>();
        const std::string gfx = f->getString(s + "::gfx");
        // Pure green in a picture is see-through.
        SetMaskColor(0, 255, 0);
        part->img = gfx.empty() ? nullptr : LoadImage(dataRoot + gfx, IMG_MASKED | IMG_FILTERED);
        SetMaskColor(0, 0, 0);
        if (!part->img)
            std::fprintf(stderr, "%s, picture %d: %s cannot be loaded; the picture is left out.\n",
                         path.c_str(), p, gfx.empty() ? "(no path)" : gfx.c_str());
        const int t = clampCount(f->getInt(s + "::texts"), kMaxBoxes, s + "::texts", path);
        for (int k = 1; k <= t; ++k) {
            const std::string b = s + "::txt" + std::to_string(k);
            auto box = std::make_shared<TComicText>();
            const int line = f->getInt(b + "::text");
            if (line >= 1 && line <= lines) {
                box->txt = _comic->txt[static_cast<size_t>(line - 1)];
                while (!box->txt.empty() && (box->txt.back() == '\r' || box->txt.back() == '\n'))
                    box->txt.pop_back();
            } else {
                std::fprintf(stderr,
                             "%s, picture %d, box %d: text line %d does not exist; the box is empty.\n",
                             path.c_str(), p, k, line);
            }
            box->n = f->getInt(b + "::typKomiksu");
            box->dim.x = std::trunc(f->getFloat(b + "::dim", 0));
            box->dim.y = std::trunc(f->getFloat(b + "::dim", 1));
            box->dim.w = std::max(0.0f, std::trunc(f->getFloat(b + "::dim", 2)));
            box->dim.h = std::max(0.0f, std::trunc(f->getFloat(b + "::dim", 3)));
            box->dim.update();
            box->dX = f->getFloat(b + "::dziubek", 0);
            box->dy = f->getFloat(b + "::dziubek", 1);
            box->dsX = f->getFloat(b + "::dziubek", 2);
            box->dsY = f->getFloat(b + "::dziubek", 3);
            box->fontN = f->getInt(b + "::font");
            box->countDims();
            part->comicTexts.push_back(box);
        }
        pack->storyParts.push_back(part);
    }
    return pack;
}

void TStory::_setState() {
    if (toExit) {
        state = "END";
        return;
    }
    const int box = storyPack && storyPack->newStory ? storyPack->newStory->textInd : 0;
    state =
        "PICTURE-" + std::to_string(storyPack ? storyPack->partNumber : 0) + "-BOX-" + std::to_string(box);
}

int TStory::prepare(int n) {
    setup();
    storyNumber = n;
    storyPack = loadStory("data/story-" + std::to_string(n) + ".dat");
    storyPack->firstPart();
    skipTime = Millisecs() + kSkipDelayMs;
    toExit = 0;
    // The skip button stays hidden (and deaf, Escape included) until skipTime.
    alpha = 0;
    dAlpha = 0;
    fade = 1;
    dFade = 0;
    lockGui();
    std::string next = storyPack->atEnd;
    for (char& c : next)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (next.empty()) {
        std::fprintf(stderr, "data/story-%d.dat names no next screen; the quest goes on at UBIERANIE.\n", n);
        next = "UBIERANIE";
    }
    wynik = next;
    globalSnd.playMyMusic("story");
    mouse.clear();
    FlushKeys();
    FlushMouse();
    _setState();
    return 0;
}

int TStory::nextStory() {
    if (toExit || !storyPack) return 0;
    // A picture still fading in takes no clicks.
    if (storyPack->newStory && !storyPack->newStory->shown()) return 0;
    if (storyPack->nextPart()) {
        toExit = 1;
        dFade = 1;
    }
    _setState();
    return 0;
}

int TStory::_updateSkip() {
    if (dAlpha != 1.0f && Millisecs() >= skipTime) {
        dAlpha = 1;
        unlockGui();
        if (harnessActive()) {
            std::printf("story %d: skip shown\n", storyNumber);
            std::fflush(stdout);
        }
    }
    return 0;
}

int TStory::_updateStory() {
    if (!storyPack) return 0;
    if (storyPack->oldStory) storyPack->oldStory->update();
    if (storyPack->newStory) storyPack->newStory->update();
    return 0;
}

int TStory::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateSkip();
    _updateGui();
    _updateStory();
    _updateFade();
    return 0;
}

void TStory::_control() {
    if (toExit) return;
    if (Gui && Gui->clickedItem("skip")) {
        toExit = 1;
        dFade = 1;
        _setState();
        mouse.clear();
        return;
    }
    if (mouse.leftPressed && (!Gui || Gui->_over.empty())) {
        nextStory();
        mouse.clear();
    }
}

int TStory::_drawStory() {
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetRotation(0);
    if (storyPack) {
        if (storyPack->oldStory) storyPack->oldStory->draw();
        if (storyPack->newStory) storyPack->newStory->draw();
    }
    // The hint: a dark strip, a soft shadow and the text in white.
    SetImageFont(TComicText::fonts[0]);
    const int w = TextWidth(txtClick), h = TextHeight(txtClick);
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    DrawRect(static_cast<float>(502 - w / 2), 737, static_cast<float>(w + 20), static_cast<float>(h + 10));
    DrawText(txtClick, static_cast<float>(514 - w / 2), 742);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawText(txtClick, static_cast<float>(512 - w / 2), 740);
    return 0;
}

int TStory::_drawBack() {
    SetColor(0, 0, 0);
    SetAlpha(0.5f * alpha);
    DrawRect(900, 0, 140, 25);
    SetColor(255, 255, 255);
    SetAlpha(1);
    return 0;
}

int TStory::draw() {
    _drawStory();
    _drawBack();
    _drawGui();
    _drawFade();
    return 0;
}

std::string TStory::mainLoop(int n) {
    prepare(n);
    runLoop();
    storyPack.reset();  // the pictures are loaded afresh each time
    mouse.clear();
    FlushKeys();
    if (n == 2) {
        // The ending: the credits, then the players are saved and the menu follows.
        if (harnessActive()) {
            std::printf("story 2: the credits roll\n");
            std::fflush(stdout);
        }
        Control::runEndOfGame();
        profileManager().save();
        return "MAIN-MENU";
    }
    return wynik;
}
