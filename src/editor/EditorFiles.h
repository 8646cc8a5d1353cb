// Where the editor's levels live and how they are named, opened and saved.
// Two folders only: the game's levels ("data/levels/" in the data folder)
// and the player's own ("Levels" in the per-user folder).
#pragma once

#include <string>
#include <vector>

#include "editor/TEditorBoard.h"

class TM3Game;

struct TEditorFolder {
    std::string title;  // shown in the file dialog
    std::string path;   // with a trailing "/"
};

// The game's level folder and the player's (the latter only with a per-user folder).
std::vector<TEditorFolder> editorFolders();

// A file name the editor accepts: letters, digits, space, "_", "-" and ".",
// at most 40 characters, not starting with "." and without a folder
// separator; ".lvl" is added when missing. false with the reason.
bool editorFileName(const std::string& typed, std::string& name, std::string& why);
// Whether path lies directly in one of the two level folders.
bool insideEditorFolders(const std::string& path);

// Reads a level file for editing. false with the reason (the file is left alone).
bool openEditorLevel(const std::string& path, TM3Game* game, TEditorLevelData& out, std::string& why);
// Writes the level so that a failure never harms the old file: a temporary
// file beside it is written, read back with the game's own loader and
// compared with what was meant; only then does it replace the old file.
// false with the reason. `saved` gets the data as it reads back.
bool saveEditorLevel(const TEditorLevelData& data, TM3Game* game, const std::string& path, std::string& why,
                     TEditorLevelData* saved = nullptr);
