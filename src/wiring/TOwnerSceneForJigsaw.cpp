#include "wiring/TOwnerSceneForJigsaw.h"

#include "dogs/TUbieranie.h"
#include "platform/Services.h"

namespace {
// A state of the owner scene that none of its state updates acts on: the
// scene only animates its layers while it stands behind the jigsaw.
const char* const kBehindJigsaw = "BEHIND-JIGSAW";
}  // namespace

void TOwnerSceneForJigsaw::prepareDog(int stage) {
    if (!ubieranie) return;
    TUbieranie& u = *ubieranie;
    u.setup();
    u.dog = u.getDog(stage);
    u.piesAlpha = u.dPiesAlpha = 1;
    u.aktOwnerTxt = nullptr;
    u.tekstyOczekujace.clear();
    // The plain dog shows; the dressed picture is blended in piece by piece.
    u.ca[0] = u.dCA[0] = 0;
    u.ca[1] = u.dCA[1] = 0;
    u.state = kBehindJigsaw;
}

void TOwnerSceneForJigsaw::prepareBehind() {
    if (!ubieranie) return;
    TUbieranie& u = *ubieranie;
    u.fade = u.dFade = 0;
    u.alpha = u.dAlpha = 1;
    u.piesAlpha = u.dPiesAlpha = 1;
    u.cienAlpha = u.dCienAlpha = 0;
    u.postacAlpha = u.dPostacAlpha = 1;
    u.pustoAlpha = u.dPustoAlpha = 1;
    u.aktOwnerTxt = nullptr;
    u.state = kBehindJigsaw;
}

void TOwnerSceneForJigsaw::update() {
    if (!ubieranie) return;
    // The jigsaw runs the frame's services; only the scene's own layers move.
    ubieranie->_updateAlphas();
    ubieranie->_updateRot();
}

void TOwnerSceneForJigsaw::draw() {
    if (!ubieranie) return;
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetScale(1, 1);
    SetRotation(0);
    ubieranie->_drawBack();
    ubieranie->_drawDog();
    ubieranie->_drawPostac();
    SetAlpha(1);
    SetColor(255, 255, 255);
}

void TOwnerSceneForJigsaw::getDressBlend(float ca[2], float dCA[2]) const {
    if (!ubieranie) return;
    for (int i = 0; i < 2; ++i) {
        ca[i] = ubieranie->ca[static_cast<size_t>(i)];
        dCA[i] = ubieranie->dCA[static_cast<size_t>(i)];
    }
}

void TOwnerSceneForJigsaw::setDressBlend(const float ca[2], const float dCA[2]) {
    if (!ubieranie) return;
    for (int i = 0; i < 2; ++i) {
        ubieranie->ca[static_cast<size_t>(i)] = ca[i];
        ubieranie->dCA[static_cast<size_t>(i)] = dCA[i];
    }
}
