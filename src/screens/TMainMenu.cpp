#include "screens/TMainMenu.h"

#include "app/AppGlobals.h"
#include "app/Control.h"

#include <cmath>

#include "app/FrameServices.h"
#include "app/TRMCounter.h"
#include "audio/TGlobalSnd.h"
#include "data/DataGlobals.h"
#include "gui/GuiGlobals.h"
#include "gui/TButton.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "profiles/TProfileManager.h"
#include "screens/ScreenKit.h"
#include "screens/TChmura.h"
#include "screens/TModeSelection.h"
#include "screens/TOptions.h"
#include "screens/TPopUp.h"
#include "screens/TProfileScreen.h"
#include "screens/TQuestContinue.h"

std::shared_ptr<TMainMenu> mainMenu;

namespace {
const char* const kMM = "gfx/gui/mainMenu/";

bool sameName(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}
}  // namespace

TMainMenu::TMainMenu() {
    id = "MAIN-MENU";
}

int TMainMenu::setup() {
    if (_setUp) return 0;
    _setUp = true;
    const auto lines = loadTextLines(dataRoot + "txt/mainMenu.txt",
                                     {"Hello, ", "!", "Who is playing? Click here", "Do you really want to leave the game?",
                                      "Play", "Options", "Free play", "Exit"});
    for (int i = 0; i < 3; ++i) txtHello[i] = lines[static_cast<size_t>(i)];
    txtAreYouSure = lines[3];
    const std::string mm = dataRoot + kMM;
    back = loadPlainImage(mm + "back.jpg");
    Gui = loadGui(mm + "mainMenu.gui");
    _ensureButtons(lines);
    base = loadPlainImage(mm + language + "/back-base.png");
    backFull = LoadImage(mm + language + "/back-full.jpg", IMG_FILTERED);
    baseTop = LoadImage(mm + language + "/back-top.png", IMG_FILTERED);
    if (!backFull || !baseTop) backFull = baseTop = nullptr;
    TChmura::pictures[0] = loadMidImage(mm + "chmura-1.png");
    TChmura::pictures[1] = loadMidImage(mm + "chmura-2.png");
    ekranImg = loadPlainImage(mm + "ekran.png");
    optionsTaxi = loadPlainImage(mm + "taxi-options.png");
    exitCanal = loadPlainImage(mm + "exit-canal.png");
    playDoor = loadPlainImage(mm + "play-doors.png");
    mainEkranImg = loadMidImage(mm + "tv0.png");
    for (int i = 1; i <= 4; ++i)
        if (auto img = loadMidImage(mm + "tv" + std::to_string(i) + ".png")) listaEkranow.push_back(img);
    podPrzyciski = loadMidImage(mm + "pod-przyciski.png");
    return 0;
}

void TMainMenu::_ensureButtons(const std::vector<std::string>& lines) {
    if (!Gui) Gui = std::make_shared<TGui>();
    // A damaged script must not leave the player without a way on: every
    // button it lacks is made here as plain text on the panel.
    const struct {
        const char* name;
        size_t line;
        float x, y;
    } wanted[] = {{"play", 4, 392, 635},   {"freeplay", 6, 632, 635}, {"options", 5, 392, 705},
                  {"exit", 7, 632, 705},   {"manager", 2, 240, 38}};
    FontPtr font;
    for (const auto& w : wanted) {
        if (Gui->getItem(w.name)) continue;
        if (!font) font = guiLoadFont(dataRoot + "gfx/fonts/Bookman.ttf", 26, 0);
        auto colour = createRGB(59, 36, 20);
        auto rim = createRGB(255, 232, 170);
        Gui->addItem(createTextButton(w.name, lines[w.line], font, w.x, w.y, colour, rim, 1, 1, 20, 10));
    }
}

void TMainMenu::_prepareProfileManagerButton() {
    if (!Gui) return;
    auto b = Gui->get<TButton>("manager");
    if (!b) return;
    const TProfilePtr& pr = profileManager().profile;
    const std::string caption = pr ? txtHello[0] + pr->name + txtHello[1] : txtHello[2];
    if (b->_txt != caption) {
        b->_txt = caption;
        b->countDims();
    }
}

void TMainMenu::_prepareSelf() {
    mouse.clear();
    FlushMouse();
    FlushKeys();
    _exit = 0;
    wynik.clear();
    fade = 1;
    dFade = 0;
    alpha = 0;
    dAlpha = 1;
    newA = 1;
    shownA = 1;
    dNewA = 1;
    newEkranImg = mainEkranImg;
    oldEkranImg = nullptr;
    time = Millisecs() + 3000;
    p = 0;
    dp = 1;
    state = "ENTER";
    _updateGui();
}

void TMainMenu::_prepareChmury() {
    TChmura::all().clear();
    for (int i = 0; i < 5; ++i) TChmura::createNew(static_cast<float>(Rand(0, 1024)));
}

void TMainMenu::_prepareOverAlpha() {
    aOptions = dAOptions = aExit = dAExit = aPlay = dAPlay = 0;
}

void TMainMenu::prepare() {
    setup();
    _prepareProfileManagerButton();
    _prepareSelf();
    _prepareChmury();
    _prepareOverAlpha();
    _prepareDelta();
    globalSnd.playMyMusic("main menu");
}

std::string TMainMenu::mainLoop() {
    prepare();
    runLoop();
    state.clear();
    return wynik;
}

void TMainMenu::_updatePer() {
    if (p < dp) {
        p += kSlideSpeed * frameDelta;
        if (p > dp) p = dp;
    } else if (p > dp) {
        p -= 0.05f * frameDelta;
        if (p < dp) p = dp;
    }
}

void TMainMenu::_updateEffect() {
    if (p >= kInputFrom) _updateAlpha();
    if (alpha == 0.0f && dAlpha == 0.0f) dp = 0;
    if (p == 0.0f && dp == 0.0f) dFade = 1;
}

void TMainMenu::_updateReklamy() {
    approach(newA, dNewA, 0.02f);
    // Cross-fades start and move on the clouds' step frames only.
    if (!TChmura::stepped()) return;
    shownA = newA;
    if (Millisecs() < time) return;
    oldEkranImg = newEkranImg;
    if (newEkranImg == mainEkranImg && !listaEkranow.empty()) {
        newEkranImg = listaEkranow.front();
        listaEkranow.pop_front();
        listaEkranow.push_back(newEkranImg);
    } else {
        newEkranImg = mainEkranImg;
    }
    newA = shownA = 0;
    dNewA = 1;
    time = Millisecs() + 3000;
}

void TMainMenu::_updateChmury() {
    TChmura::updateAll();
    if (TChmura::stepped() && TChmura::all().size() < 7) TChmura::createNew(static_cast<float>(1100 + Rand(100, 200)));
}

int TMainMenu::_sceneOver(const char* name, int x1, int y1, int x2, int y2) {
    if (!Gui) return 0;
    if (sameName(Gui->_over, name)) return 1;
    if (Gui->_locked || dAlpha == 0.0f) return 0;
    if (mouse.x < x1 || mouse.x > x2 || mouse.y < y1 || mouse.y > y2) return 0;
    if (auto b = Gui->getItem(name)) b->_over = 1;
    Gui->_over = name;
    if (mouse.leftPressed) Gui->_clicked = name;
    return 1;
}

int TMainMenu::playOver() {
    return _sceneOver("play", 440, 445, 610, 595);
}

int TMainMenu::optionsOver() {
    return _sceneOver("options", 770, 545, 1024, 768);
}

int TMainMenu::exitOver() {
    return _sceneOver("exit", 0, 575, 250, 769);
}

void TMainMenu::_updateAlphas() {
    dAPlay = playOver() ? 1.0f : 0.0f;
    dAOptions = optionsOver() ? 1.0f : 0.0f;
    dAExit = exitOver() ? 1.0f : 0.0f;
    approach(aPlay, dAPlay, 0.02f);
    approach(aOptions, dAOptions, 0.02f);
    approach(aExit, dAExit, 0.02f);
}

int TMainMenu::update() {
    frameUpdate(0);
    _updatePer();
    _updateEffect();
    _prepareProfileManagerButton();
    _updateGui();
    _updateChmury();
    _updateReklamy();
    _updateAlphas();
    _updateFade();
    if (dAlpha == 0.0f)
        state = "LEAVE";
    else if (settled()) {
        state = "MENU";
        startStat("menu-input");
    }
    return 0;
}

void TMainMenu::_control() {
    if (!settled() || dAlpha == 0.0f) return;
    // Nobody to play for: ask for a name first (no cancel).
    if (!profileManager().profile) {
        if (!shown()) return;
        profileManager().createNewProfile();
        _prepareProfileManagerButton();
        return;
    }
    _controlGUI();
    if (dAlpha != 0.0f) _controlKEYBOARD();
}

void TMainMenu::_controlGUI() {
    if (!Gui) return;
    if (Gui->clickedItem("play"))
        goPlay();
    else if (Gui->clickedItem("options"))
        goSettings();
    else if (Gui->clickedItem("exit"))
        goExit();
    else if (Gui->clickedItem("manager"))
        goProfileManager();
    else if (Gui->clickedItem("freeplay"))
        goFreePlay();
}

void TMainMenu::_controlKEYBOARD() {
    if (KeyHit(27) > 0) {
        goExit();
    } else if (KeyHit(32) > 0) {
        modeSelection->mainLoop(this);  // a look at the modes; the answer is not used
    } else if (KeyHit(113) > 0 && cheatsEnabled) {
        // F2 opens the level editor for the game's designers.
        wynik = "EDITOR";
        goOut();
    }
}

void TMainMenu::goPlay() {
    wynik.clear();
    const TProfilePtr pr = profileManager().profile;
    if (!pr) return;
    if (Control::questCanResume(*pr)) {
        const std::string a = questContinue->mainLoop(this);
        if (a == "RESUME") {
            wynik = "RESUME-QUEST";
            goOut();
        } else if (a == "NEW") {
            wynik = "NEW-QUEST";
            goOut();
        }
    } else {
        wynik = "NEW-QUEST";
        goOut();
    }
    if (wynik == "NEW-QUEST") {
        pr->gameMode = modeSelection->mainLoop(this);
        pr->save();
    }
}

void TMainMenu::goSettings() {
    options().mainLoop(this, false);
    mouse.clear();
    FlushMouse();
}

void TMainMenu::goProfileManager() {
    profileScreen().mainLoop(this);
    _prepareProfileManagerButton();
    mouse.clear();
    FlushMouse();
}

void TMainMenu::goFreePlay() {
    wynik = "FREE-PLAY";
    goOut();
}

void TMainMenu::goCredits() {
    options().showCredits(this);
}

void TMainMenu::goExit() {
    if (!confirm(txtAreYouSure, this)) return;
    goOut();
    profileManager().save();
    wynik = "END";
}

void TMainMenu::goOut() {
    dAlpha = 0;
}

void TMainMenu::_drawBack() {
    SetBlend(SOLIDBLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
    if (backFull)
        DrawImage(backFull, 0, 0);
    else if (back)
        DrawImage(back, 0, 0);
    else {
        SetColor(110, 180, 230);
        DrawRect(0, 0, 1024, 768);
        SetColor(255, 255, 255);
    }
}

void TMainMenu::_drawChmury() {
    TChmura::drawAll();
}

void TMainMenu::_drawReklamy() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    // Once the new picture is fully shown the old one lies under it unseen.
    if (oldEkranImg && shownA < 1.0f) DrawImage(oldEkranImg, 523, 241);
    SetAlpha(shownA);
    if (newEkranImg) DrawImage(newEkranImg, 523, 241);
    SetAlpha(1);
}

void TMainMenu::_drawEkran() {
    if (ekranImg) DrawImage(ekranImg, 354, 110);
}

void TMainMenu::_drawTaxiCanalAndDoor() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    if (optionsTaxi && aOptions > 0) {
        SetAlpha(aOptions);
        DrawImage(optionsTaxi, 793, 519);
    }
    if (exitCanal && aExit > 0) {
        SetAlpha(aExit);
        DrawImage(exitCanal, 0, 563);
    }
    if (playDoor && aPlay > 0) {
        SetAlpha(aPlay);
        DrawImage(playDoor, 392, 444);
    }
    SetAlpha(1);
}

void TMainMenu::_drawPodklad() {
    if (!podPrzyciski) return;
    const float a = std::sin(p * 3.14159265f / 2);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(a);
    DrawImage(podPrzyciski, 512, 860 - 190 * a);
    SetAlpha(1);
}

int TMainMenu::draw() {
    _drawBack();
    _drawChmury();
    SetBlend(ALPHABLEND);
    SetAlpha(1);
    if (baseTop)
        DrawImage(baseTop, 0, 0);
    else if (base)
        DrawImage(base, 0, 0);
    _drawReklamy();
    _drawEkran();
    _drawTaxiCanalAndDoor();
    _drawPodklad();
    // Also while covered (the profile manager over it): the greeting names
    // the current player at once.
    _prepareProfileManagerButton();
    _drawGui();
    _drawFade();
    return 0;
}
