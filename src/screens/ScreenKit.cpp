#include "screens/ScreenKit.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "data/TTxtFile.h"

void drawDarkening(float a) {
    if (a <= 0) return;
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetRotation(0);
    SetColor(0, 0, 0);
    SetAlpha(a);
    DrawRect(0, 0, 1024, 768);
    SetColor(255, 255, 255);
    SetAlpha(1);
}

std::vector<std::string> loadTextLines(const std::string& path, const std::vector<std::string>& fallbacks) {
    std::vector<std::string> out = fallbacks;
    auto f = loadLocalisedText(path);
    bool missing = false;
    for (size_t i = 0; i < out.size(); ++i) {
        if (f && static_cast<int>(i) < f->lines()) {
            std::string s = f->txt[i];
            while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
            out[i] = s;
        } else {
            missing = true;
        }
    }
    if (missing) std::fprintf(stderr, "%s: missing lines, using the built-in texts for them.\n", path.c_str());
    return out;
}

static ImagePtr loadReported(const std::string& path) {
    ImagePtr img = LoadImage(path, IMG_FILTERED);
    if (!img) std::fprintf(stderr, "Picture %s cannot be loaded; it is left out.\n", path.c_str());
    return img;
}

ImagePtr loadMidImage(const std::string& path) {
    ImagePtr img = loadReported(path);
    if (img) MidHandleImage(img);
    return img;
}

ImagePtr loadPlainImage(const std::string& path) {
    return loadReported(path);
}

void drawShadowedCentred(const std::string& text, float x, float y, int r, int g, int b, float alpha) {
    const int w = TextWidth(text);
    SetBlend(ALPHABLEND);
    SetColor(0, 0, 0);
    SetAlpha(0.4f * alpha);
    DrawText(text, x - w / 2 + 1, y + 1);
    SetColor(r, g, b);
    SetAlpha(alpha);
    DrawText(text, x - w / 2, y);
    SetColor(255, 255, 255);
}

void startStat(const char* what) {
    static const bool on = std::getenv("BRIMBLE_START_STATS") != nullptr;
    if (!on) return;
    static std::set<std::string> done;
    if (!done.insert(what).second) return;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    std::fprintf(stderr, "start-stats %s %lld\n", what, static_cast<long long>(ns));
}
