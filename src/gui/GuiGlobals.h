// Reporting and the few hooks through which the GUI toolkit reaches systems
// that are built above it (sound, the shared font loader, the options).
#pragma once

#include <functional>
#include <string>

#include "platform/Services.h"

// Shows " >> BLAD! << : " + message: a message box in a window, a line on
// stderr when headless or without a backend. Loading goes on afterwards.
void errorNotice(const std::string& message);

// When set, notices go here instead of the box/stderr (tests, the script
// checker). Everything else in the toolkit reports through errorNotice.
extern std::function<void(const std::string& text)> errorNoticeHook;
// Number of notices shown since start (or since a test reset it).
extern int errorNoticeCount;

// Played by TGui::clickedItem each time it answers 1. The sound manager wires
// it to globalSnd.click(); unset means silence.
extern std::function<void()> guiClickSound;

// The shared font loader (path, size, style); unset means LoadImageFont.
extern std::function<FontPtr(const std::string& path, int size, int style)> guiFontLoader;
FontPtr guiLoadFont(const std::string& path, int size, int style);

// Whether the game runs full screen (the options' fullScreen). The mouse keeps
// the pointer inside the game area only then. Unset means window mode.
extern std::function<bool()> guiFullScreen;
