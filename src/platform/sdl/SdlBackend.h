// Factories of the SDL2 backends. No SDL header leaks out of here.
#pragma once

#include <memory>

#include "platform/Backend.h"

// A real window with SDL's accelerated renderer (vsync), SDL2_mixer audio.
std::unique_ptr<TBackend> MakeSdlBackend();
// No window: SDL's software renderer into an RGB888 surface, a virtual clock
// that advances exactly 1000/60 ms per presented frame, input only from
// Inject*, silent audio whose channels run on the virtual clock.
std::unique_ptr<TBackend> MakeHeadlessBackend();

// Windows virtual-key code of an SDL key code (SDL_Keycode), 0 when unmapped.
int VirtualKeyOfSdlKey(int sdlKey);
