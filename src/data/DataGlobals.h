// Globals of the data layer that start-up fills in.
#pragma once

#include <string>

// Folder prefix of the game's data ("" = current folder, else ends with "/").
extern std::string dataRoot;
// Language folder of the texts under "txt/" ("eng" until "data/lang.txt" is read).
extern std::string language;

// path itself when it is absolute, already starts with dataRoot, or dataRoot
// is empty; else dataRoot + path. Every loader of this layer resolves its
// paths through it, so callers may pass "data/x.dat" or dataRoot + "data/x.dat".
std::string dataPath(const std::string& path);
