// paragraphs OUT.png [--font FILE.ttf] [--size N] [--text TEXT]
// Draws a paragraph left, right, centred and justified into four columns on
// the headless backend, with each column's bounds outlined, and saves it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"
#include "data/Paragraph.h"

namespace {

void outline(float x, float y, float w, float h) {
    DrawLine(x, y, x + w, y);
    DrawLine(x + w, y, x + w, y + h);
    DrawLine(x + w, y + h, x, y + h);
    DrawLine(x, y + h, x, y);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out, font = std::string(BRIMBLE_GAME_DIR) + "/gfx/fonts/Bookman.ttf";
    int size = 18;
    std::string text =
        "Brimble the beagle waited by the gate while the chips tumbled down the board. "
        "Every match of three cracked a plate, and every cracked plate brought the jigsaw "
        "one piece closer. Supercalifragilisticexpialidocious words overflow their column. "
        "Two  spaces stay two spaces inside a line.";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--font") && i + 1 < argc) font = argv[++i];
        else if (!std::strcmp(argv[i], "--size") && i + 1 < argc) size = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--text") && i + 1 < argc) text = argv[++i];
        else if (argv[i][0] != '-' && out.empty()) out = argv[i];
        else {
            std::fprintf(stderr, "usage: paragraphs OUT.png [--font FILE.ttf] [--size N] [--text TEXT]\n");
            return 2;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr, "usage: paragraphs OUT.png [--font FILE.ttf] [--size N] [--text TEXT]\n");
        return 2;
    }
    InstallBackend(MakeHeadlessBackend());
    if (!OpenGraphics(1024, 768, 0, 60)) {
        std::fprintf(stderr, "paragraphs: cannot open the headless display\n");
        return 1;
    }
    SetVirtualResolution(1024, 768);
    FontPtr f = FileType(font) == 1 ? LoadImageFont(font, size) : nullptr;
    if (!f) std::fprintf(stderr, "paragraphs: no font at %s, using the built-in one\n", font.c_str());

    if (f) SetImageFont(f);
    SetClsColor(40, 44, 52);
    Cls();
    SetBlend(ALPHABLEND);
    const char* aligns[] = {"LEFT", "RIGHT", "CENTER", "JUSTIFY"};
    const float colW = 220;
    for (int i = 0; i < 4; ++i) {
        const int x = 24 + i * 250, y = 60;
        SetColor(255, 220, 120);
        drawOutlinedText(aligns[i], x + static_cast<int>(colW / 2), 20, nullptr, nullptr, "CENTER");
        SetColor(255, 255, 255);
        const int h = drawTextBlock(text, x, y, colW, aligns[i], f, 2);
        const int m = measureTextBlock(text, colW, aligns[i], f, 2);
        SetColor(90, 200, 255);
        outline(static_cast<float>(x), static_cast<float>(y), colW, static_cast<float>(h));
        SetColor(255, 90, 90);
        outline(static_cast<float>(x) - 2, static_cast<float>(y) - 2, colW + 4, static_cast<float>(m) + 4);
    }
    TPixmap pix = GrabPixmap(0, 0, 1024, 768);
    Flip(0);
    if (!SavePixmapPNG(pix, out)) {
        std::fprintf(stderr, "paragraphs: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("wrote %s\n", out.c_str());
    InstallBackend(nullptr);
    return 0;
}
