// The game's window icon, set at start-up.
#pragma once

// The sizes the window takes, in pixels; gfx/icon/ holds brimble-N.png for each.
extern const int kWindowIconSizes[7];
// Gives the window gfx/icon/brimble-N.png (from the data folder) in every
// size found; returns how many. None found leaves the system's icon and says so.
int setGameWindowIcon();
