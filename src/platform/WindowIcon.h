// The window's icon, apart from Services.h so that the many files drawing
// through the platform do not depend on it.
#pragma once

#include <string>
#include <vector>

// The window's icon, from PNG files of several sizes (the system shows the
// one that fits each place). Files that cannot be read are left out; returns
// how many sizes the window was given.
int SetWindowIcon(const std::vector<std::string>& pngFiles);
