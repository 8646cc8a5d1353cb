// Factories of the SDL2 backends. No SDL header leaks out of here.
#pragma once

#include <memory>
#include <string>

#include "platform/Backend.h"

// A real window with SDL's accelerated renderer (vsync), SDL2_mixer audio.
std::unique_ptr<TBackend> MakeSdlBackend();
// No window: SDL's software renderer into an RGB888 surface, a virtual clock
// that advances exactly 1000/60 ms per presented frame, input only from
// Inject*, silent audio whose channels run on the virtual clock.
std::unique_ptr<TBackend> MakeHeadlessBackend();

// The name of the video driver SDL runs on ("x11", "wayland", "offscreen"...),
// "" when video is not initialised.
std::string SdlVideoDriverName();
// True for the drivers that show nothing on any screen ("offscreen", "dummy").
bool SdlVideoDriverIsInvisible(const std::string& name);

// Windows virtual-key code of an SDL key code (SDL_Keycode), 0 when unmapped.
int VirtualKeyOfSdlKey(int sdlKey);
