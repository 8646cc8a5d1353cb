#include "dogs/TUbieranie.h"

#include <cmath>
#include <cstdio>

#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "audio/TGlobalSnd.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "data/TTxtFile.h"
#include "dogs/TGaleria.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "platform/Files.h"
#include "profiles/TProfileManager.h"

TUbieraniePtr ubieranie;

namespace {

TProfilePtr player() {
    return profileManager().profile;
}

// s = sin(90 degrees * screen alpha): 0 hidden, 1 in place.
float slideIn(float screenAlpha) {
    return std::sin(1.57079632679f * screenAlpha);
}

}  // namespace

TUbieranie::TUbieranie() {
    id = "UBIERANIE";
    txtCount = createCounter(0, 0, 0);
}

int TUbieranie::setup() {
    if (_setUp) return 0;
    _setUp = true;
    id = "UBIERANIE";
    _setupGui();
    _setupDogs();
    _setupTxt();
    return 0;
}

void TUbieranie::_setupGui() {
    const std::string face = dataRoot + "gfx/fonts/Bookman.ttf";
    font = guiLoadFont(face, 20, 0);
    scoreFont = guiLoadFont(face, 16, 0);
    captionsFont = guiLoadFont(face, 20, 0);
    Gui = loadGui(dataRoot + "gfx/gui/ubieranie/ubieranie.gui");
    const std::string dir = dataRoot + "gfx/gui/ubieranie/";
    back = loadImageChecked(dir + "back.jpg");
    boki[0] = loadImageChecked(dir + "panel-left.png");
    boki[1] = loadImageChecked(dir + "panel-right.png");
    panel = LoadImage(dir + "panel.png");
    panelPodklad = LoadImage(dir + "podklad.png");
    panelLinia = LoadImage(dir + "linia.png");
    podzialka = LoadImage(dir + "podzialka.png");
    imgPostac[0] = loadImageChecked(dir + "boy.jpg");
    imgPostac[1] = loadImageChecked(dir + "girl.jpg");
    empty = loadImageChecked(dir + "empty.jpg");
    if (podzialka) MidHandleImage(podzialka);
    if (panel) SetImageHandle(panel, 0, static_cast<float>(panel->height));
    if (boki[1]) SetImageHandle(boki[1], static_cast<float>(boki[1]->width), 0);
    _haveButtons = true;
    for (const char* name : {"play", "mainMenu"}) {
        auto b = Gui ? Gui->getItem(name) : nullptr;
        if (!b || !b->dim) {
            errorNotice(std::string("gfx/gui/ubieranie/ubieranie.gui has no button \"") + name + "\"");
            _haveButtons = false;
        }
    }
    if (_haveButtons) {
        _playLoadX = Gui->getItem("play")->dim->x;
        _menuLoadX = Gui->getItem("mainMenu")->dim->x;
    }
    if (Gui) {
        _theme1 = findTheme(Gui->_themes, "temat1");
        _theme2 = findTheme(Gui->_themes, "temat2");
    }
    if (!_theme1) _theme1 = std::make_shared<TTheme>();  // a plain box still shows the text
    if (!_theme2) _theme2 = _theme1;
}

void TUbieranie::readDogs() {
    if (_dogsRead) return;
    _dogsRead = true;
    TDogTableSources src;
    src.names = loadLocalisedText(dataRoot + "txt/dogNames.txt");
    src.lines = loadLocalisedText(dataRoot + "txt/dogs.txt");
    // A file that is missing reads as one without lines.
    if (src.names && src.names->lines() == 0) src.names = nullptr;
    if (src.lines && src.lines->lines() == 0) src.lines = nullptr;
    _lines = src.lines;
    if (!src.names)
        problems.push_back("txt/" + language + "/dogNames.txt is missing: the dogs have no names");
    if (!src.lines)
        problems.push_back("txt/" + language + "/dogs.txt is missing: the owners' bubbles are empty");
    src.root = dataRoot;
    bool found = false;
    const std::string text = LoadText(dataRoot + "data/dogs.dat", &found);
    dogsList = readDogTable(text, found, src, problems);
    for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
}

void TUbieranie::_setupDogs() {
    readDogs();
    std::vector<std::string> missing;
    for (const auto& d : dogsList) {
        d->loadPictures(missing);
        for (const auto& t : d->listaTekstow) t->interpretuj(_lines, font);
    }
    for (const std::string& p : missing) std::fprintf(stderr, "%s\n", p.c_str());
    problems.insert(problems.end(), missing.begin(), missing.end());
}

void TUbieranie::_setupTxt() {
    auto t = loadLocalisedText(dataRoot + "txt/ubieranie.txt");
    if (!t)
        std::fprintf(stderr, "txt/%s/ubieranie.txt is missing; the owner scene shows no hint.\n",
                     language.c_str());
    auto line = [&t](int n) {
        if (!t || n > t->lines()) return std::string();
        std::string s = t->txt[static_cast<size_t>(n - 1)];
        while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
        return s;
    };
    for (int k = 0; k < 3; ++k) txtLimPassed[static_cast<size_t>(k)] = line(3 + k);
    txtLevel = line(6);
    txtClick = line(7);
}

TPiesPtr TUbieranie::getDog(int n) const {
    for (const auto& d : dogsList)
        if (d && d->id == n) return d;
    return nullptr;
}

bool TUbieranie::puzzleComplete(const TProfile* p) {
    return p && p->ulozone != 0;
}

std::list<TOwnerTxtPtr> TUbieranie::linesForVisit(const TPies& d, int level) {
    std::list<TOwnerTxtPtr> out;
    for (const auto& t : d.listaTekstow)
        if (t && (t->nrLevelu == level || t->nrLevelu == level - 1 || t->nrLevelu == level + 1))
            out.push_back(t);
    return out;
}

// --- a visit -----------------------------------------------------------------

void TUbieranie::_prepareSelf() {
    FlushMouse();
    FlushKeys();
    mouse.clear();
    pustoAlpha = dPustoAlpha = 0;
    cienAlpha = dCienAlpha = 0;
    postacAlpha = dPostacAlpha = 0;
    state = "NORMAL";
    fade = 1;
    dFade = 0;
    alpha = 0;
    dAlpha = 1;
    aSpeed = 0.01f;
    aktOwnerTxt = nullptr;
    txtCount = createCounter(0, 0, 0);
    txtCount->setSpeed(0.05f);
    hide = 0;
    _listaPomocnicza.clear();
    wynik = "MAIN-GAME";
}

void TUbieranie::_prepareDog() {
    const TProfilePtr p = player();
    dog = p ? getDog(p->nrStageu) : nullptr;
    if (p && !dog)
        std::fprintf(stderr, "No dog answers to stage %d; the owner scene shows the garden only.\n",
                     p->nrStageu);
    tekstyOczekujace = dog && p ? linesForVisit(*dog, p->nrLevelu) : std::list<TOwnerTxtPtr>();
    // The screen to come back to when the quest is resumed.
    if (p) p->gameType = "UBIERANIE";
}

void TUbieranie::_prepareCharacterBegin() {
    state = "BEGIN";
    pustoAlpha = cienAlpha = postacAlpha = piesAlpha = 0;
    dCienAlpha = dPostacAlpha = dPiesAlpha = 0;
    dPustoAlpha = 1;
    ca[0] = ca[1] = 0;
    dCA[0] = dCA[1] = 0;
}

void TUbieranie::_prepareCharacters() {
    const TProfilePtr p = player();
    if (p && p->newStage()) {
        _prepareCharacterBegin();
        return;
    }
    pustoAlpha = dPustoAlpha = 0;
    cienAlpha = dCienAlpha = 1;
    postacAlpha = dPostacAlpha = 1;
    piesAlpha = dPiesAlpha = 1;
    state = "CONTINUE";
    txtCount->setValue(1);
    if (galeria) galeria->newDog = dog;
}

void TUbieranie::_prepareCards() {
    ca[0] = dCA[0] = 0;
    if (!puzzleComplete(player().get())) return;
    fade = dFade = 0;
    alpha = dAlpha = 1;
    cienAlpha = dCienAlpha = 0;
    pustoAlpha = dPustoAlpha = 1;
    // The dressed picture is not saved with the profile: a visit after the
    // jigsaw was solved (also one resumed after a quit) shows the dog dressed.
    ca[1] = dCA[1] = 1;
    globalSnd.playMyMusic("main-menu");
}

void TUbieranie::prepare() {
    setup();
    if (tutorialClearTip) tutorialClearTip();
    _prepareSelf();
    _prepareDog();
    _prepareCharacters();
    _prepareCards();
}

std::string TUbieranie::mainLoop() {
    prepare();
    // Saved on the way in, so a game killed during the visit resumes here.
    if (const TProfilePtr q = player()) q->save();
    runLoop();
    if (tutorialClearTip) tutorialClearTip();
    const TProfilePtr p = player();
    std::printf("profileManager.profile.nrLevelu = %d\n", p ? p->nrLevelu : 0);
    std::fflush(stdout);
    mouse.clear();
    FlushKeys();
    return wynik;
}

void TUbieranie::getNextOwnerTxt() {
    if (!tekstyOczekujace.empty()) {
        aktOwnerTxt = tekstyOczekujace.front();
        tekstyOczekujace.pop_front();
        _listaPomocnicza.push_back(aktOwnerTxt);
        txtCount->setStartValue(0);
        txtCount->setValue(1);
        hide = 0;
        return;
    }
    if (puzzleComplete(player().get()) && state == "NORMAL")
        state = "HIDE";
    else
        leaveTo("MAIN-GAME");
    aktOwnerTxt = nullptr;
}

// --- per frame ---------------------------------------------------------------

int TUbieranie::update() {
    frameUpdate(0);  // also the sound manager's update
    if (tutorialUpdate) tutorialUpdate();
    _updateState();
    _updateAlpha();
    _updateFade();
    txtCount->update();
    _updateAlphas();
    _updateRot();
    _updateGUIMove();
    _updateGui();
    // The bubble fades twice as fast as one counter step.
    txtCount->update();
    return 0;
}

void TUbieranie::_updateAlphas() {
    approach(pustoAlpha, dPustoAlpha, 0.02f);
    approach(cienAlpha, dCienAlpha, 0.02f);
    approach(postacAlpha, dPostacAlpha, 0.02f);
    approach(piesAlpha, dPiesAlpha, 0.02f);
}

void TUbieranie::_updateRot() {
    if (fade != 0) return;
    for (size_t i = 0; i < 3; ++i) approach(ca[i], dCA[i], 0.01f);
}

void TUbieranie::_updateGUIMove() {
    if (!_haveButtons) return;
    const float w = boki[1] ? static_cast<float>(boki[1]->width) : 0.0f;
    const float s = slideIn(alpha);
    auto play = Gui->getItem("play");
    play->setPosition(static_cast<int>(_playLoadX + w - w * s), static_cast<int>(play->dim->y));
    // The main-menu button comes in the same way from the left with its panel.
    const float wl = boki[0] ? static_cast<float>(boki[0]->width) : 0.0f;
    auto menu = Gui->getItem("mainMenu");
    menu->setPosition(static_cast<int>(_menuLoadX - wl + wl * s), static_cast<int>(menu->dim->y));
}

void TUbieranie::_updateState() {
    // Once the fade-out has begun the visit's result is decided: a line
    // fading out meanwhile must not start the level instead of the menu.
    if (dFade != 0) return;
    std::string s = state;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (s == "BEGIN")
        _update_STATE_Begin();
    else if (s == "BEGIN-NEW-CHARACTER")
        _update_STATE_Begin_New_Character();
    else if (s == "NORMAL")
        _update_STATE_Normal();
    else if (s == "HIDE")
        _update_STATE_Hide();
    else if (s == "CONTINUE")
        _update_STATE_Continue();
}

void TUbieranie::_update_STATE_Begin() {
    if (fade == 0) dPustoAlpha = 1;
    if (pustoAlpha == 1) dCienAlpha = 1;
    if (cienAlpha == 1) {
        state = "BEGIN-NEW-CHARACTER";
        waitTime = Millisecs() + 500;
    }
}

void TUbieranie::_update_STATE_Begin_New_Character() {
    if (Millisecs() > waitTime) {
        dPostacAlpha = 1;
        dPiesAlpha = 1;
        dCienAlpha = 0;
    }
    if (postacAlpha == 1) {
        state = "NORMAL";
        getNextOwnerTxt();
    }
}

void TUbieranie::_update_STATE_Normal() {
    if (txtCount->v == 0 && txtCount->dv == 0)
        getNextOwnerTxt();
    else if (mouse.leftPressed)
        txtCount->setValue(0);
}

void TUbieranie::_update_STATE_Hide() {
    dPiesAlpha = 0;
    dPostacAlpha = 0;
    dCienAlpha = 1;
    if (postacAlpha == 0) dCienAlpha = 0;
    if (cienAlpha == 0) dPustoAlpha = 0;
    if (pustoAlpha == 0) leaveTo("GET-NEXT-STAGE");
}

void TUbieranie::_update_STATE_Continue() {
    if (fade == 0 && alpha == 1) {
        state = "NORMAL";
        getNextOwnerTxt();
    }
}

// --- input -------------------------------------------------------------------

void TUbieranie::_control() {
    _control_GUI();
    _control_KEYBOARD();
}

void TUbieranie::_control_GUI() {
    if (fade != 0 || !Gui) return;
    if (Gui->_over.empty() && mouse.leftPressed) {
        txtCount->setValue(0);
        hide = 1;
    }
    if (Gui->clickedItem("play")) {
        if (puzzleComplete(player().get()))
            state = "HIDE";
        else
            leaveTo("MAIN-GAME");
    }
    if (Gui->clickedItem("mainMenu")) leaveTo("MAIN-MENU");
    if (cheatsEnabled && KeyHit(32)) printData();
}

void TUbieranie::_control_KEYBOARD() {}

void TUbieranie::printData() {
    for (const auto& t : _listaPomocnicza) {
        if (!t || !t->dim) continue;
        std::printf("%s -> X:%d|Y:%d|WIDTH:%d (height %d)\n", t->wpis.c_str(), static_cast<int>(t->dim->x),
                    static_cast<int>(t->dim->y), static_cast<int>(t->dim->w), static_cast<int>(t->dim->h));
    }
    std::fflush(stdout);
}

// --- drawing -----------------------------------------------------------------

int TUbieranie::draw() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetScale(1, 1);
    SetRotation(0);
    _drawBack();
    _drawDog();
    _drawPostac();
    _drawPostacTxt();
    _drawGui();
    _drawContinue();
    if (tutorialDraw) tutorialDraw();
    _drawFade();
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

void TUbieranie::_drawBack() {
    SetAlpha(1);
    if (back) DrawImage(back, 0, 0);
}

void TUbieranie::_drawDog() {
    if (!dog) return;
    const float x = dog->standX(), y = dog->standY();
    SetColor(255, 255, 255);
    SetAlpha(piesAlpha * std::fabs(1 - ca[0]));
    if (dog->img[0]) DrawImage(dog->img[0], x, y);
    SetAlpha(piesAlpha * std::fabs(ca[1] - ca[0]));
    if (dog->img[1]) DrawImage(dog->img[1], x, y);
}

void TUbieranie::_drawPostac() {
    SetColor(255, 255, 255);
    SetAlpha(pustoAlpha);
    if (empty) DrawImage(empty, 433, 0);
    if (dog) {
        const ImagePtr& fig = imgPostac[dog->owner == 1 ? 1 : 0];
        SetAlpha(cienAlpha);
        if (fig) DrawImage(fig, 433, 0);
        SetAlpha(postacAlpha);
        if (dog->ownerImg) DrawImage(dog->ownerImg, 1024, 400);
    }
}

void TUbieranie::_drawPostacTxt() {
    if (!aktOwnerTxt || !aktOwnerTxt->dim || txtCount->v == 0) return;
    const float a = txtCount->v;
    TDim& d = *aktOwnerTxt->dim;
    const TTheme& theme = aktOwnerTxt->rgb.r != 0 ? *_theme1 : *_theme2;
    SetColor(0, 0, 0);
    SetAlpha(0.4f * a);
    _theme1->drawFrame(d.x + 5, d.y + 5, d.w, d.h);
    SetColor(255, 255, 255);
    SetAlpha(a);
    theme.drawFrame(d.x, d.y, d.w, d.h);
    SetColor(0, 0, 0);
    SetAlpha(a);
    drawTextBlock(aktOwnerTxt->txt, static_cast<int>(d.x + 20), static_cast<int>(d.y + 20),
                  d.w - TOwnerTxt::kTextInset, "CENTER", font);
    SetColor(255, 255, 255);
    if (!cheatsEnabled) return;
    // Placing bubbles: drag moves the box, the arrows size it, space lists them.
    SetColor(255, 0, 255);
    SetAlpha(1);
    DrawRect(d.x, d.y, 2, 2);
    DrawRect(d.x + d.w, d.y + d.h, 2, 2);
    SetColor(255, 255, 255);
    if (mouse.leftHolded) {
        d.x -= static_cast<float>(mouse.vx);
        d.y -= static_cast<float>(mouse.vy);
    }
    if (KeyDown(37)) d.w -= 1;
    if (KeyDown(39)) d.w += 1;
    if (KeyDown(38)) d.h -= 1;
    if (KeyDown(40)) d.h += 1;
    d.update();
}

int TUbieranie::_drawGui() {
    const float w = boki[1] ? static_cast<float>(boki[1]->width) : 0.0f;
    const float s = slideIn(alpha);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    if (boki[1]) DrawImage(boki[1], 1024 + w - w * s, 700);
    const float wl = boki[0] ? static_cast<float>(boki[0]->width) : 0.0f;
    if (boki[0]) DrawImage(boki[0], -wl * (1 - s), 700);
    if (Gui) {
        Gui->setGuiAlpha(alpha);
        Gui->draw();
    }
    return 0;
}

void TUbieranie::_drawContinue() {
    if (txtClick.empty()) return;
    SetImageFont(scoreFont);
    SetScale(1, 1);
    const int tw = TextWidth(txtClick), th = TextHeight(txtClick);
    const float x = static_cast<float>(512 - tw / 2), y = 745;
    SetColor(0, 0, 0);
    SetAlpha(0.5f);
    DrawRect(x - 10, y - 5, static_cast<float>(tw + 20), static_cast<float>(th + 10));
    SetAlpha(0.4f);
    DrawText(txtClick, x + 1, y + 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawText(txtClick, x, y);
}
