#include "gui/GuiGlobals.h"

#include <cstdio>

std::function<void(const std::string&)> errorNoticeHook;
int errorNoticeCount = 0;
std::function<void()> guiClickSound;
std::function<FontPtr(const std::string&, int, int)> guiFontLoader;
std::function<bool()> guiFullScreen;

void errorNotice(const std::string& message) {
    const std::string text = " >> BLAD! << : " + message;
    ++errorNoticeCount;
    if (errorNoticeHook) {
        errorNoticeHook(text);
        return;
    }
    if (IsHeadless()) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    Notify(text, true);
}

FontPtr guiLoadFont(const std::string& path, int size, int style) {
    if (guiFontLoader) return guiFontLoader(path, size, style);
    // Style 4 asks for smooth letters, which the backend always draws; its
    // own style bits stop at bold and italic (a 4 there would underline).
    return LoadImageFont(path, size, style & 3);
}
