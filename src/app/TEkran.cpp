#include "app/TEkran.h"

#include <algorithm>

#include "app/FrameServices.h"
#include "app/TRMCounter.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"

int TEkran::_drawGui() {
    if (Gui) Gui->draw();
    return 0;
}

int TEkran::_drawFade() {
    if (fade <= 0) return 0;
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetRotation(0);
    SetAlpha(fade);
    SetColor(0, 0, 0);
    DrawRect(0, 0, 1024, 768);
    return 0;
}

int TEkran::_drawMouse() {
    mouse.draw();
    return 0;
}

int TEkran::_updateFade() {
    approach(fade, dFade, fSpeed);
    return 0;
}

int TEkran::_updateAlpha() {
    approach(alpha, dAlpha, aSpeed);
    return 0;
}

int TEkran::_updateGui() {
    if (!Gui) return 0;
    for (auto& o : Gui->_listaObiektow) {
        if (!o) continue;
        o->_alpha = alpha;
        o->_dAlpha = alpha;
    }
    Gui->update();
    return 0;
}

TPixmap TEkran::_getMyScreen() {
    // Headless runs may skip drawing; this picture is needed whatever happens.
    ForceDrawing(true);
    Cls();
    draw();
    float ox = 0, oy = 0;
    GetOrigin(ox, oy);
    TPixmap pix = GrabPixmap(static_cast<int>(ox + 0.5f), static_cast<int>(oy + 0.5f), 1024, 768);
    ForceDrawing(false);
    return pix;
}

int TEkran::_prepareDelta() {
    for (int i = 0; i < 100; ++i) timingUpdate();
    return 0;
}

int TEkran::STANDARD_DATA() {
    alpha = 1;
    dAlpha = 1;
    fade = 0;
    dFade = 0;
    return 0;
}

int TEkran::lockGui() {
    if (Gui) Gui->_locked = 1;
    return 0;
}

int TEkran::unlockGui() {
    if (Gui) Gui->_locked = 0;
    return 0;
}

namespace {
std::vector<TEkran*>& loopStack() {
    static std::vector<TEkran*> s;
    return s;
}
}  // namespace

const std::vector<TEkran*>& TEkran::running() {
    return loopStack();
}

std::string TEkran::runningState() {
    const auto& s = loopStack();
    for (auto it = s.rbegin(); it != s.rend(); ++it)
        if (!(*it)->state.empty()) return (*it)->state;
    return "";
}

void TEkran::enterLoop(TEkran* behind) {
    _behind = behind;
    _inLoop = true;
    loopStack().push_back(this);
}

void TEkran::leaveLoop() {
    auto& s = loopStack();
    auto it = std::find(s.begin(), s.end(), this);
    if (it != s.end()) s.erase(it);
    _inLoop = false;
    _behind = nullptr;
}

void TEkran::runLoop(TEkran* behind) {
    enterLoop(behind);
    do {
        _frameBegin();
        Cls();
        update();
        draw();
        _frameDrawn();
        frameFlip(0);
        _framePresented();
        _control();
    } while (!loopDone());
    leaveLoop();
}

void TEkran::runDialog(TEkran* behind, const std::string& openState) {
    state = openState;
    mouse.clear();
    FlushKeys();
    FlushMouse();
    runLoop(behind);
    mouse.clear();
    FlushKeys();
    FlushMouse();
    state.clear();
}

void TEkran::_drawBehind() {
    if (_behind) _behind->draw();
}

void TEkran::_updateBehind() {
    if (_behind && keepBehindAlive) _behind->updateCovered();
}
