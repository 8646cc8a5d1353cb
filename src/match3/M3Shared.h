// The small records the board shares with the widgets (a rectangle and a
// colour); both live in the data layer so the engine needs nothing of the GUI.
#pragma once

#include "data/TDim.h"
#include "data/TRGB.h"
