#include "screens/TCredits.h"

std::shared_ptr<TCredits> credits;
