// Dev-only: shows one GUI script on its own so every widget kind can be seen,
// hovered, clicked and typed into (the game's --gui-gallery FILE). The frame
// begin/end are the game's frameUpdate / frameFlip, passed in so the toolkit
// does not depend on the application layer.
#pragma once

#include <functional>
#include <string>

// Runs until Escape (or the window closes, which frameUpdate handles). 0 when
// the script exists, 1 when it does not (after the usual notice).
int runGuiGallery(const std::string& guiFile, const std::function<void()>& beginFrame,
                  const std::function<void()>& endFrame);
// The name of the widget (or menu command) clicked last, "none" before any click;
// the harness reads it as the screen's state.
std::string guiGalleryState();
