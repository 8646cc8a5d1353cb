// The colour record lives with the paragraph code in the data layer, which
// sits below the toolkit; widgets use it from here.
#pragma once

#include "data/TRGB.h"
