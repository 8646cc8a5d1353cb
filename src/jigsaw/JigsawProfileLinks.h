// How a profile keeps its jigsaw: the puzzle file loader and writer, piece
// ids, the pieces of a puzzle and the mark of a piece just won.
#pragma once

#include "profiles/ProfileHooks.h"

void connectJigsawToProfiles(ProfileHooks& h);
