#include "app/TPlaceholderScreen.h"

#include "app/AppGlobals.h"
#include "app/FrameServices.h"

TPlaceholderScreen::TPlaceholderScreen(std::string name, std::vector<std::string> choices)
    : _choices(std::move(choices)) {
    id = std::move(name);
    // A steady colour per screen so screenshots tell them apart.
    uint32_t h = 2166136261u;
    for (char c : id) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    _r = 40 + static_cast<int>(h & 0x7F);
    _g = 40 + static_cast<int>((h >> 8) & 0x7F);
    _b = 40 + static_cast<int>((h >> 16) & 0x7F);
}

int TPlaceholderScreen::choiceAt(int y) const {
    if (y < kFirstRowY) return -1;
    const int row = (y - kFirstRowY) / kRowHeight;
    return row < static_cast<int>(_choices.size()) ? row : -1;
}

std::string TPlaceholderScreen::mainLoop() {
    wynik.clear();
    state = "NORMAL";
    fade = 1;
    dFade = 0;
    alpha = 0;
    dAlpha = 1;
    _prepareDelta();
    runLoop();
    state = "END";
    return wynik;
}

void TPlaceholderScreen::_control() {
    if (dFade != 0 || _choices.empty()) return;
    if (MouseHit(1)) {
        const int row = choiceAt(MouseY());
        if (row >= 0) leaveTo(_choices[static_cast<size_t>(row)]);
    }
    if (KeyHit(13)) leaveTo(_choices.front());
}

int TPlaceholderScreen::update() {
    frameUpdate(0);
    _updateAlpha();
    _updateFade();
    return 0;
}

int TPlaceholderScreen::draw() {
    SetRotation(0);
    SetScale(1, 1);
    SetBlend(SOLIDBLEND);
    SetAlpha(1);
    SetColor(_r, _g, _b);
    DrawRect(0, 0, 1024, 768);

    SetBlend(ALPHABLEND);
    SetAlpha(alpha);
    SetImageFont(bigFont);
    const float titleScale = bigFont ? 1.0f : 4.0f;
    SetScale(titleScale, titleScale);
    SetColor(255, 255, 255);
    const float w = TextWidth(id) * titleScale;
    DrawText(id, 512 - w / 2, 120);
    SetScale(1, 1);
    SetImageFont(nullptr);
    DrawText("(placeholder screen)", 512 - TextWidth("(placeholder screen)") / 2.0f, 230);

    for (size_t i = 0; i < _choices.size(); ++i) {
        const float y = static_cast<float>(kFirstRowY + static_cast<int>(i) * kRowHeight);
        SetColor(0, 0, 0);
        SetAlpha(alpha * 0.35f);
        DrawRect(262, y + 10, 500, kRowHeight - 20);
        SetAlpha(alpha);
        SetColor(255, 255, 230);
        SetScale(2, 2);
        const std::string& label = _choices[i];
        DrawText(label, 512 - TextWidth(label), y + kRowHeight / 2.0f - TextHeight());
        SetScale(1, 1);
    }
    _drawFade();
    return 0;
}
