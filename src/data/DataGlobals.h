// Globals of the data layer that start-up fills in.
#pragma once

#include <string>

// Folder prefix of the game's data ("" = current folder, else ends with "/").
extern std::string dataRoot;
// Language folder of the texts under "txt/" ("eng" until "data/lang.txt" is read).
extern std::string language;

// path itself when it is absolute or dataRoot is empty, else dataRoot + path.
// Every loader of this layer resolves its relative paths through it.
std::string dataPath(const std::string& path);
