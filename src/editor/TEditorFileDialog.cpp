#include "editor/TEditorFileDialog.h"

#include <algorithm>

#include "app/FrameServices.h"
#include "app/Paths.h"
#include "data/DataGlobals.h"
#include "gui/GuiGlobals.h"
#include "gui/TMouse.h"
#include "platform/Files.h"
#include "screens/TPopUp.h"

std::shared_ptr<TEditorFileDialog> editorFileDialog;

namespace {
constexpr int kX = 212, kY = 80, kW = 600, kH = 610;
constexpr int kListY = kY + 100, kRowH = 26;

void box(float x, float y, float w, float h, int r, int g, int b, float a) {
    SetBlend(ALPHABLEND);
    SetColor(r, g, b);
    SetAlpha(a);
    DrawRect(x, y, w, h);
}
bool over(int x, int y, int w, int h) {
    return mouse.x >= x && mouse.x < x + w && mouse.y >= y && mouse.y < y + h;
}
}  // namespace

TEditorFileDialog::TEditorFileDialog() {
    id = "EDITOR-FILES";
}

void TEditorFileDialog::chooseFolder(int i) {
    folder = std::clamp(i, 0, std::max(0, static_cast<int>(folders.size()) - 1));
    files = folders.empty() ? std::vector<std::string>()
                            : Paths::levelFiles(folders[static_cast<size_t>(folder)].path);
    page = 0;
}

std::string TEditorFileDialog::mainLoop(TEkran* behind, bool save, const std::string& current) {
    if (!_font) {
        _font = guiLoadFont(dataRoot + "gfx/fonts/bluehigh.ttf", 18, 0);
        _title = guiLoadFont(dataRoot + "gfx/fonts/bluehigh.ttf", 24, 0);
    }
    saving = save;
    folders = editorFolders();
    // Start in the folder of the current file, else in the player's own.
    int start = folders.size() > 1 ? 1 : 0;
    for (size_t i = 0; i < folders.size(); ++i)
        if (!current.empty() && insideEditorFolders(current) &&
            RealPath(ExtractDir(current)) == RealPath(folders[i].path.substr(0, folders[i].path.size() - 1)))
            start = static_cast<int>(i);
    chooseFolder(start);
    name = current.empty() ? std::string() : StripDir(current);
    error.clear();
    result.clear();
    _closed = false;
    alpha = 1;
    dAlpha = 1;
    fade = 0;
    dFade = 0;
    runDialog(behind, save ? "SAVE-FILE" : "OPEN-FILE");
    return result;
}

bool TEditorFileDialog::accept() {
    std::string file;
    if (!editorFileName(name, file, error)) return false;
    if (folders.empty()) {
        error = "There is no level folder.";
        return false;
    }
    const std::string path = folders[static_cast<size_t>(folder)].path + file;
    if (!saving && FileType(path) != 1) {
        error = "There is no level " + file + " here.";
        return false;
    }
    result = path;
    error.clear();
    return true;
}

int TEditorFileDialog::update() {
    KeyHit(27);  // Escape arrives as a typed character; the cheat key must not end the program
    frameUpdate(0);
    _updateBehind();
    return 0;
}

void TEditorFileDialog::_control() {
    if (_closed) return;
    auto close = [this](bool ok) {
        if (!ok) result.clear();
        _closed = true;
    };
    auto tryAccept = [&] {
        if (!accept()) return;
        if (saving && FileType(result) == 1 &&
            !confirm("A level called " + StripDir(result) + " is already there.\nReplace it?", this)) {
            result.clear();
            return;
        }
        close(true);
    };
    for (int ch = GetChar(); ch != 0; ch = GetChar()) {
        if (ch == 27) return close(false);
        if (ch == 13) return tryAccept();
        if (ch == 8) {
            if (!name.empty()) name.pop_back();
            continue;
        }
        if (ch == 9) {
            chooseFolder((folder + 1) % std::max<int>(1, static_cast<int>(folders.size())));
            continue;
        }
        if (ch >= 32 && ch < 127 && name.size() < 44) name += static_cast<char>(ch);
    }
    if (!mouse.leftPressed) return;
    for (size_t i = 0; i < folders.size(); ++i)
        if (over(kX + 20 + static_cast<int>(i) * 180, kY + 50, 170, 30))
            return chooseFolder(static_cast<int>(i));
    for (int r = 0; r < kRows; ++r) {
        const int i = page * kRows + r;
        if (i >= static_cast<int>(files.size())) break;
        if (over(kX + 20, kListY + r * kRowH, kW - 40, kRowH)) {
            if (name == files[static_cast<size_t>(i)]) return tryAccept();  // a second click takes it
            name = files[static_cast<size_t>(i)];
            error.clear();
            return;
        }
    }
    const int pages = std::max(1, (static_cast<int>(files.size()) + kRows - 1) / kRows);
    if (over(kX + 20, kListY + kRows * kRowH + 4, 60, 24) && page > 0) --page;
    if (over(kX + 90, kListY + kRows * kRowH + 4, 60, 24) && page + 1 < pages) ++page;
    if (over(kX + kW - 240, kY + kH - 40, 100, 32)) return tryAccept();
    if (over(kX + kW - 130, kY + kH - 40, 110, 32)) return close(false);
}

int TEditorFileDialog::draw() {
    _drawBehind();
    box(0, 0, 1024, 768, 0, 0, 0, 0.55f);
    box(kX, kY, kW, kH, 26, 30, 40, 0.98f);
    SetImageFont(_title);
    SetColor(236, 238, 242);
    SetAlpha(1);
    DrawText(saving ? "Save the level" : "Open a level", kX + 20, kY + 12);
    SetImageFont(_font);
    for (size_t i = 0; i < folders.size(); ++i) {
        const int x = kX + 20 + static_cast<int>(i) * 180;
        const bool on = static_cast<int>(i) == folder;
        box(x, kY + 50, 170, 30, on ? 70 : 46, on ? 96 : 52, on ? 150 : 64, 1);
        SetColor(236, 238, 242);
        DrawText(folders[i].title, x + 10, kY + 55);
    }
    box(kX + 20, kListY - 6, kW - 40, kRows * kRowH + 8, 14, 16, 22, 1);
    if (files.empty()) {
        SetColor(182, 190, 204);
        DrawText("No levels in this folder yet.", kX + 30, kListY + 4);
    }
    for (int r = 0; r < kRows; ++r) {
        const int i = page * kRows + r;
        if (i >= static_cast<int>(files.size())) break;
        const int y = kListY + r * kRowH;
        if (files[static_cast<size_t>(i)] == name)
            box(kX + 22, y, kW - 44, kRowH, 70, 96, 150, 1);
        else if (over(kX + 20, y, kW - 40, kRowH))
            box(kX + 22, y, kW - 44, kRowH, 52, 58, 72, 1);
        SetColor(236, 238, 242);
        SetAlpha(1);
        DrawText(files[static_cast<size_t>(i)], kX + 30, y + 3);
    }
    const int pages = std::max(1, (static_cast<int>(files.size()) + kRows - 1) / kRows);
    const int by = kListY + kRows * kRowH + 4;
    if (pages > 1) {
        box(kX + 20, by, 60, 24, 52, 58, 72, 1);
        box(kX + 90, by, 60, 24, 52, 58, 72, 1);
        SetColor(236, 238, 242);
        DrawText("<", kX + 45, by + 2);
        DrawText(">", kX + 115, by + 2);
        DrawText(std::to_string(page + 1) + " / " + std::to_string(pages), kX + 165, by + 2);
    }
    const int ny = kY + kH - 100;  // the name row, the error under it, then the buttons
    SetColor(182, 190, 204);
    DrawText("Name", kX + 20, ny + 4);
    box(kX + 80, ny, kW - 100, 28, 250, 250, 250, 1);
    SetColor(20, 20, 24);
    std::string shown = name;
    if ((Millisecs() / 400) % 2 == 0) shown += "|";
    DrawText(shown, kX + 86, ny + 4);
    if (!error.empty()) {
        SetColor(255, 170, 160);
        DrawText(error, kX + 20, ny + 32);
    }
    const int bx = kX + kW - 240, byy = kY + kH - 40;
    box(bx, byy, 100, 32, 70, 96, 150, 1);
    box(bx + 110, byy, 110, 32, 52, 58, 72, 1);
    SetColor(236, 238, 242);
    const std::string ok = saving ? "Save" : "Open";
    DrawText(ok, bx + 50 - TextWidth(ok) / 2.0f, byy + 6);
    DrawText("Cancel", bx + 165 - TextWidth("Cancel") / 2.0f, byy + 6);
    SetColor(255, 255, 255);
    SetAlpha(1);
    return 0;
}
