// storyshot [--data DIR] [--out DIR] [--check] [--notes] [N...]
// Reads the story files "data/story-N.dat" (N = 1, 2, 3 unless given) the way
// the story screen does, draws each picture with all of its speech boxes, the
// hint line and the skip button, and with --out saves DIR/storyN_P.png.
// With --check it reports every box that does not fit: a missing or empty
// text line, a picture that is missing, not 1024 x 768 or holding pixels of the
// mask colour (pure green), text wider than its
// box or taller than the box's paper, a frame or tail off the screen or over
// the skip button or the hint, two boxes of one picture that overlap. Exit 1
// when anything was reported, 2 on a usage error. --notes also names boxes
// whose last line is a single word.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"
#include "data/DataGlobals.h"
#include "data/Paragraph.h"
#include "data/TRCMFile.h"
#include "data/TTxtFile.h"
#include "gui/TGui.h"

namespace {

struct Box {
    int text = 0, typ = 0, font = 0;
    float x = 0, y = 0, w = 0, h = 0;
    float dX = 0, dy = 0, dsX = 0, dsY = 0;
};

struct Part {
    std::string gfx;
    std::vector<Box> boxes;
};

struct Rect {
    float x0, y0, x1, y1;
    bool meets(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    bool inside(float w, float h) const { return x0 >= 0 && y0 >= 0 && x1 <= w && y1 <= h; }
};

// The nine frame pieces in the order top-left, top, top-right, left, middle,
// right, bottom-left, bottom, bottom-right.
const char* kPieces[9] = {"lewo-gora", "gora",     "prawo-gora", "lewo",     "srodek",
                          "prawo",     "lewo-Dol", "dol",        "prawo-dol"};
ImagePtr piece[9];
ImagePtr tails[2];
FontPtr fonts[2];
int problems = 0;

void report(int story, int part, int box, const std::string& what) {
    ++problems;
    if (box > 0)
        std::printf("story %d, picture %d, box %d: %s\n", story, part, box, what.c_str());
    else
        std::printf("story %d, picture %d: %s\n", story, part, what.c_str());
}

// Paper of a frame piece: pixels from the rectangle's edge to the ink line,
// found by walking out from the inner edge until a dark opaque pixel.
int paperDepth(const std::string& file, int dx, int dy) {
    TPixmap p = LoadPixmap(file);
    if (p.width == 0) return 0;
    int x = dx < 0 ? p.width - 1 : (dx > 0 ? 0 : p.width / 2);
    int y = dy < 0 ? p.height - 1 : (dy > 0 ? 0 : p.height / 2);
    int n = 0;
    while (x >= 0 && y >= 0 && x < p.width && y < p.height) {
        const uint8_t* px = &p.pixels[(static_cast<size_t>(y) * p.width + x) * 4];
        if (px[3] > 128 && px[0] + px[1] + px[2] < 3 * 110) break;
        ++n;
        x += dx;
        y += dy;
    }
    return n - ((dx < 0 || dy < 0) ? 1 : 0);  // left and top pieces overlap the middle by a pixel
}

void drawComicBox(float x, float y, float w, float h, float alpha) {
    SetAlpha(alpha);
    auto stretch = [](int i, float sx, float sy, float px, float py) {
        if (!piece[i]) return;
        SetScale(sx, sy);
        DrawImage(piece[i], px, py);
    };
    stretch(0, 1, 1, x, y);
    stretch(2, 1, 1, x + w, y);
    stretch(6, 1, 1, x, y + h);
    stretch(8, 1, 1, x + w, y + h);
    if (piece[1]) stretch(1, w / ImageWidth(piece[1]), 1, x, y);
    if (piece[7]) stretch(7, w / ImageWidth(piece[7]), 1, x, y + h);
    if (piece[3]) stretch(3, 1, h / ImageHeight(piece[3]), x, y);
    if (piece[5]) stretch(5, 1, h / ImageHeight(piece[5]), x + w, y);
    if (piece[4]) stretch(4, w / ImageWidth(piece[4]), h / ImageHeight(piece[4]), x, y);
    SetScale(1, 1);
}

std::vector<Part> loadStory(const std::string& path, std::string& atEnd) {
    std::vector<Part> parts;
    auto f = loadRCMFile(path);
    atEnd = f->getString("story::atEnd");
    const int m = static_cast<int>(f->getFloat("story::i"));
    for (int p = 1; p <= m; ++p) {
        const std::string s = "story::story" + std::to_string(p);
        Part part;
        part.gfx = f->getString(s + "::gfx");
        const int t = static_cast<int>(f->getFloat(s + "::texts"));
        for (int k = 1; k <= t; ++k) {
            const std::string b = s + "::txt" + std::to_string(k);
            Box box;
            box.text = static_cast<int>(f->getFloat(b + "::text"));
            box.typ = static_cast<int>(f->getFloat(b + "::typKomiksu"));
            box.x = std::trunc(f->getFloat(b + "::dim", 0));
            box.y = std::trunc(f->getFloat(b + "::dim", 1));
            box.w = std::trunc(f->getFloat(b + "::dim", 2));
            box.h = std::trunc(f->getFloat(b + "::dim", 3));
            box.dX = f->getFloat(b + "::dziubek", 0);
            box.dy = f->getFloat(b + "::dziubek", 1);
            box.dsX = f->getFloat(b + "::dziubek", 2);
            box.dsY = f->getFloat(b + "::dziubek", 3);
            box.font = static_cast<int>(f->getFloat(b + "::font"));
            part.boxes.push_back(box);
        }
        parts.push_back(part);
    }
    return parts;
}

}  // namespace

int main(int argc, char** argv) {
    std::string data = BRIMBLE_GAME_DIR, out;
    bool check = false, notes = false;
    std::vector<int> stories;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--data" || a == "--out") && i + 1 < argc) {
            (a == "--data" ? data : out) = argv[++i];
        } else if (a == "--check") {
            check = true;
        } else if (a == "--notes") {
            notes = true;
        } else if (!a.empty() && a.find_first_not_of("0123456789") == std::string::npos) {
            stories.push_back(std::atoi(a.c_str()));
        } else {
            std::fprintf(stderr, "usage: storyshot [--data DIR] [--out DIR] [--check] [--notes] [N...]\n");
            return 2;
        }
    }
    if (stories.empty()) stories = {1, 2, 3};
    if (!out.empty()) {
        out = std::filesystem::absolute(out).string();
        std::filesystem::create_directories(out);
    }
    data = std::filesystem::absolute(data).string();
    if (data.back() != '/') data += '/';
    dataRoot = data;

    InstallBackend(MakeHeadlessBackend());
    if (!OpenGraphics(1024, 768, 32, 60)) {
        std::fprintf(stderr, "storyshot: cannot open the headless screen\n");
        return 1;
    }
    const std::string comic = data + "gfx/story/comic/";
    for (int i = 0; i < 9; ++i) {
        piece[i] = LoadImage(comic + kPieces[i] + ".png", IMG_FILTERED);
        if (!piece[i]) {
            std::printf("missing frame piece gfx/story/comic/%s.png\n", kPieces[i]);
            ++problems;
            continue;
        }
        const float w = static_cast<float>(ImageWidth(piece[i])),
                    h = static_cast<float>(ImageHeight(piece[i]));
        if (i == 0) SetImageHandle(piece[i], w - 1, h - 1);
        if (i == 1 || i == 2) SetImageHandle(piece[i], 0, h - 1);
        if (i == 3 || i == 6) SetImageHandle(piece[i], w - 1, 0);
    }
    for (int i = 0; i < 2; ++i) {
        tails[i] = LoadImage(comic + "dziubek-" + std::to_string(i + 1) + ".png", IMG_FILTERED);
        if (!tails[i]) {
            std::printf("missing tail gfx/story/comic/dziubek-%d.png\n", i + 1);
            ++problems;
        }
    }
    fonts[0] = LoadImageFont(data + "gfx/fonts/Bookman.ttf", 16, 0);
    fonts[1] = LoadImageFont(data + "gfx/fonts/Bookman.ttf", 12, 0);
    auto comicText = loadLocalisedText(data + "txt/story-comic.txt");
    const std::string click = textLine(loadLocalisedText(data + "txt/story.txt"), 2);
    TGuiPtr gui = loadGui(data + "gfx/gui/story/story.gui");
    if (!gui || !gui->getItem("skip")) {
        std::printf("gfx/gui/story/story.gui: no button \"skip\"\n");
        ++problems;
    }
    // How far the paper reaches above and below the box rectangle.
    const float padT = static_cast<float>(paperDepth(comic + "gora.png", 0, -1));
    const float padB = static_cast<float>(paperDepth(comic + "dol.png", 0, 1));
    const float edgeT = piece[1] ? ImageHeight(piece[1]) : 0, edgeB = piece[7] ? ImageHeight(piece[7]) : 0;
    const float edgeL = piece[3] ? ImageWidth(piece[3]) : 0, edgeR = piece[5] ? ImageWidth(piece[5]) : 0;

    SetImageFont(fonts[0]);
    const int cw = TextWidth(click), ch = TextHeight(click);
    const Rect hint{502.0f - cw / 2, 737, 502.0f - cw / 2 + cw + 20, 737.0f + ch + 10};
    const Rect skip{900, 0, 1024, 25};

    for (int n : stories) {
        std::string atEnd;
        const std::string file = "data/story-" + std::to_string(n) + ".dat";
        if (!std::filesystem::exists(data + file)) {
            std::printf("%s is missing\n", file.c_str());
            ++problems;
            continue;
        }
        auto parts = loadStory(data + file, atEnd);
        if (parts.empty()) {
            std::printf("%s has no pictures\n", file.c_str());
            ++problems;
        }
        if (atEnd.empty()) {
            std::printf("%s: story::atEnd is empty\n", file.c_str());
            ++problems;
        }
        int p = 0;
        for (const Part& part : parts) {
            ++p;
            SetMaskColor(0, 255, 0);
            ImagePtr img = LoadImage(data + part.gfx, IMG_MASKED | IMG_FILTERED);
            SetMaskColor(0, 0, 0);
            if (!img)
                report(n, p, 0, "picture " + part.gfx + " is missing");
            else if (ImageWidth(img) != 1024 || ImageHeight(img) != 768)
                report(n, p, 0, "picture " + part.gfx + " is not 1024 x 768");
            if (img) {
                // the screen loads story pictures masked with pure green: such
                // pixels would be holes in the picture
                const TPixmap pix = LoadPixmap(data + part.gfx);
                size_t holes = 0;
                for (size_t i = 0; i + 3 < pix.pixels.size(); i += 4)
                    if (pix.pixels[i] == 0 && pix.pixels[i + 1] == 255 && pix.pixels[i + 2] == 0) ++holes;
                if (holes)
                    report(n, p, 0, std::to_string(holes) + " pixels of pure green would turn transparent");
            }
            if (part.boxes.empty()) report(n, p, 0, "no speech boxes");
            ForceDrawing(true);
            SetClsColor(0, 0, 0);
            Cls();
            SetBlend(ALPHABLEND);
            SetColor(255, 255, 255);
            SetAlpha(1);
            SetRotation(0);
            SetScale(1, 1);
            if (img)
                DrawImage(img, static_cast<float>(512 - ImageWidth(img) / 2),
                          static_cast<float>(384 - ImageHeight(img) / 2));
            std::vector<Rect> frames;
            int b = 0;
            for (const Box& box : part.boxes) {
                ++b;
                const int lines = comicText ? static_cast<int>(comicText->txt.size()) : 0;
                std::string text;
                if (box.text < 1 || box.text > lines) {
                    report(n, p, b, "text line " + std::to_string(box.text) + " does not exist");
                } else {
                    text = comicText->txt[box.text - 1];
                    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
                    if (text.empty()) report(n, p, b, "text line " + std::to_string(box.text) + " is empty");
                }
                if (box.typ != 0 && box.typ != 1) report(n, p, b, "comic type is neither 0 nor 1");
                if (box.w <= 0 || box.h <= 0) report(n, p, b, "box has no size");
                const FontPtr& font = fonts[box.font == 0 ? 0 : 1];
                // countDims: the text is centred on the box by its measured height
                const int measured = measureTextBlock(text, box.w, "LEFT", font);
                const float tx = box.x, ty = box.y + box.h / 2 - measured / 2.0f;
                SetScale(1, 1);
                SetColor(255, 255, 255);
                drawComicBox(box.x, box.y, box.w, box.h, 1);
                SetColor(0, 0, 0);
                SetAlpha(1);
                const int drawn =
                    drawTextBlock(text, static_cast<int>(tx), static_cast<int>(ty), box.w, "CENTER", font);
                SetColor(255, 255, 255);
                // every word must fit the column
                SetImageFont(font);
                std::string word;
                for (char c : text + " ") {
                    if (c != ' ') {
                        word += c;
                        continue;
                    }
                    if (TextWidth(word) > box.w)
                        report(n, p, b, "the word \"" + word + "\" is wider than the box");
                    word.clear();
                }
                // a lone last word reads badly: note it (not a fault)
                {
                    std::string line, last;
                    int count = 0;
                    size_t pos = 0;
                    while (pos <= text.size()) {
                        size_t sp = text.find(' ', pos);
                        if (sp == std::string::npos) sp = text.size();
                        const std::string w = text.substr(pos, sp - pos);
                        pos = sp + 1;
                        const std::string cand = line.empty() ? w : line + " " + w;
                        if (!line.empty() && TextWidth(cand) > box.w) {
                            ++count;
                            line = w;
                        } else {
                            line = cand;
                        }
                    }
                    if (count > 0 && line.find(' ') == std::string::npos && notes)
                        std::printf("note: story %d, picture %d, box %d ends with a lone word: %s\n", n, p, b,
                                    line.c_str());
                }
                if (ty < box.y - padT + 1 || ty + drawn > box.y + box.h + padB - 1)
                    report(n, p, b,
                           "the text (" + std::to_string(drawn) + " px high) does not fit the box's paper");
                const Rect frame{box.x - edgeL, box.y - edgeT, box.x + box.w + edgeR, box.y + box.h + edgeB};
                if (!frame.inside(1024, 768)) report(n, p, b, "the frame leaves the screen");
                if (frame.meets(skip)) report(n, p, b, "the frame covers the skip button");
                if (frame.meets(hint)) report(n, p, b, "the frame covers the hint line");
                for (const Rect& o : frames)
                    if (frame.meets(o)) report(n, p, b, "the frame overlaps an earlier box of the picture");
                frames.push_back(frame);
                if (box.dsX != 0 && box.dsY != 0 && tails[box.typ == 0 ? 0 : 1]) {
                    const ImagePtr& tail = tails[box.typ == 0 ? 0 : 1];
                    SetScale(box.dsX, box.dsY);
                    DrawImage(tail, box.dX, box.dy);
                    SetScale(1, 1);
                    const float x2 = box.dX + ImageWidth(tail) * box.dsX,
                                y2 = box.dy + ImageHeight(tail) * box.dsY;
                    const Rect t{std::min(box.dX, x2), std::min(box.dy, y2), std::max(box.dX, x2),
                                 std::max(box.dy, y2)};
                    if (!t.inside(1024, 768)) report(n, p, b, "the tail leaves the screen");
                    if (t.meets(hint)) report(n, p, b, "the tail covers the hint line");
                }
            }
            // the hint line and the skip button's backdrop, as the screen draws them
            SetImageFont(fonts[0]);
            SetColor(0, 0, 0);
            SetAlpha(0.5f);
            DrawRect(hint.x0, hint.y0, hint.x1 - hint.x0, hint.y1 - hint.y0);
            DrawText(click, static_cast<float>(514 - cw / 2), 742);
            SetColor(255, 255, 255);
            SetAlpha(1);
            DrawText(click, static_cast<float>(512 - cw / 2), 740);
            SetColor(0, 0, 0);
            SetAlpha(0.5f);
            DrawRect(900, 0, 140, 25);
            SetColor(255, 255, 255);
            SetAlpha(1);
            if (gui) gui->draw();
            if (!out.empty()) {
                TPixmap pix = GrabPixmap(0, 0, 1024, 768);
                const std::string path =
                    out + "/story" + std::to_string(n) + "_" + std::to_string(p) + ".png";
                if (!SavePixmapPNG(pix, path)) {
                    std::fprintf(stderr, "storyshot: cannot write %s\n", path.c_str());
                    return 1;
                }
            }
            ForceDrawing(false);
        }
    }
    if (check && problems) {
        std::printf("%d problem(s) in the stories\n", problems);
        return 1;
    }
    return 0;
}
