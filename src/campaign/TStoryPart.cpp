#include "campaign/TStoryPart.h"

#include <cstdio>

#include "app/TRMCounter.h"
#include "data/DataGlobals.h"

ImagePtr TStoryPart::frame[9];
const char* const TStoryPart::kFrameFiles[9] = {"lewo-gora", "gora",     "prawo-gora", "lewo",     "srodek",
                                                "prawo",     "lewo-Dol", "dol",        "prawo-dol"};

int TStoryPart::setup() {
    static bool done = false;
    if (done) return 0;
    done = true;
    for (int i = 0; i < 9; ++i) {
        const std::string path = dataRoot + "gfx/story/comic/" + kFrameFiles[i] + ".png";
        frame[i] = LoadImage(path, IMG_FILTERED);
        if (!frame[i]) {
            std::fprintf(stderr, "%s cannot be loaded: the comic boxes miss a piece.\n", path.c_str());
            continue;
        }
        // The corners and edges hang outside the box's rectangle; the middle
        // fills it.
        const float w = static_cast<float>(ImageWidth(frame[i])),
                    h = static_cast<float>(ImageHeight(frame[i]));
        if (i == 0) SetImageHandle(frame[i], w - 1, h - 1);
        if (i == 1 || i == 2) SetImageHandle(frame[i], 0, h - 1);
        if (i == 3 || i == 6) SetImageHandle(frame[i], w - 1, 0);
    }
    return 0;
}

int TStoryPart::drawComicBox(float x, float y, float w, float h, float alpha) {
    SetScale(1, 1);
    SetAlpha(alpha);
    auto put = [](int i, float sx, float sy, float px, float py) {
        if (!frame[i]) return;
        SetScale(sx, sy);
        DrawImage(frame[i], px, py);
    };
    put(0, 1, 1, x, y);
    put(2, 1, 1, x + w, y);
    put(6, 1, 1, x, y + h);
    put(8, 1, 1, x + w, y + h);
    if (frame[1]) put(1, w / static_cast<float>(ImageWidth(frame[1])), 1, x, y);
    if (frame[7]) put(7, w / static_cast<float>(ImageWidth(frame[7])), 1, x, y + h);
    if (frame[3]) put(3, 1, h / static_cast<float>(ImageHeight(frame[3])), x, y);
    if (frame[5]) put(5, 1, h / static_cast<float>(ImageHeight(frame[5])), x + w, y);
    if (frame[4])
        put(4, w / static_cast<float>(ImageWidth(frame[4])), h / static_cast<float>(ImageHeight(frame[4])), x,
            y);
    SetScale(1, 1);
    return 0;
}

int TStoryPart::nextText() {
    if (aktText) aktText->dAlpha = 0;
    if (textInd >= static_cast<int>(comicTexts.size())) return 1;
    aktText = comicTexts[static_cast<size_t>(textInd)];
    if (aktText) aktText->dAlpha = 1;
    ++textInd;
    return 0;
}

int TStoryPart::drawTexts() {
    for (const auto& t : comicTexts)
        if (t) t->draw(alpha);
    return 0;
}

int TStoryPart::draw() {
    SetColor(255, 255, 255);
    SetScale(1, 1);
    SetRotation(0);
    if (img) {
        SetAlpha(alpha);
        DrawImage(img, static_cast<float>(512 - ImageWidth(img) / 2),
                  static_cast<float>(384 - ImageHeight(img) / 2));
    }
    drawTexts();
    return 0;
}

int TStoryPart::update() {
    approach(alpha, dAlpha, kSpeed);
    for (const auto& t : comicTexts)
        if (t) t->update();
    return 0;
}
