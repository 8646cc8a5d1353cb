#include "editor/EditorFiles.h"

#include <cctype>
#include <filesystem>

#include "app/AppGlobals.h"
#include "app/Paths.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {
std::string gameLevelsDir() {
    return dataRoot + "data/levels/";
}

std::string canonicalDir(std::string dir) {
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(fs::u8path(dir), ec), ec);
    return ec ? std::string() : p.u8string();
}

// The resource counters are kept in the file but the game's loader leaves
// them out; the editor reads them itself so that they survive an edit.
void readResources(const std::string& path, TEditorLevelData& d) {
    auto f = loadRCMFile(path);
    for (int i = 0; i < 4; ++i) {
        const float v = f->getFloat("level::zasoby::res" + std::to_string(i));
        d.zasob[static_cast<size_t>(i)] = v > -1e9f && v < 1e9f ? static_cast<int>(v) : 0;
    }
}

// What the loader refuses, said in words (the loader itself only tells stderr).
std::string refusalReason(const std::string& path, TM3Game* game) {
    auto f = loadRCMFile(path);
    if (!f->_loaded) return "it is not a level file the game can read";
    if (!f->hasEntry("level::data::dims")) return "it has no board size (level::data::dims)";
    const float rows = f->getFloat("level::data::dims", 0), cols = f->getFloat("level::data::dims", 1);
    if (!(rows >= 1 && rows <= 30 && cols >= 1 && cols <= 30))
        return "its board size is outside 1 x 1 to 30 x 30";
    for (int r = 0; r < static_cast<int>(rows); ++r) {
        const std::string row = f->getString("level::tiles::row" + std::to_string(r));
        size_t i = 0;
        for (int c = 0; c < static_cast<int>(cols); ++c) {
            while (i < row.size() && row[i] == ' ') ++i;
            size_t j = i;
            while (j < row.size() && row[j] != ' ') ++j;
            const int id = levelInt(row.substr(i, j - i));
            if (!game || !game->getTileData(id))
                return "plate kind " + std::to_string(id) + " at row " + std::to_string(r) + ", column " +
                       std::to_string(c) + " is not in the tile catalogue";
            i = j;
        }
    }
    std::string why;
    if (!loadLevelFromRCM(*f, path, game, &why) && !why.empty()) return why;
    return "the game's level loader refuses it";
}
}  // namespace

std::vector<TEditorFolder> editorFolders() {
    std::vector<TEditorFolder> out{{"Game levels", gameLevelsDir()}};
    if (!Paths::userLevelsDir().empty()) out.push_back({"My levels", Paths::userLevelsDir()});
    return out;
}

bool editorFileName(const std::string& typed, std::string& name, std::string& why) {
    const std::string t = TrimText(typed);
    if (t.empty()) {
        why = "Type a name for the level.";
        return false;
    }
    if (t.find('/') != std::string::npos || t.find('\\') != std::string::npos ||
        t.find(':') != std::string::npos) {
        why = "A name cannot hold a folder: levels are kept in the two level folders only.";
        return false;
    }
    if (t[0] == '.') {
        why = "A name cannot start with a dot.";
        return false;
    }
    for (unsigned char ch : t)
        if (!(std::isalnum(ch) || ch == ' ' || ch == '_' || ch == '-' || ch == '.')) {
            why = "Use letters, digits, spaces, '_', '-' and '.' only.";
            return false;
        }
    name = t;
    const std::string low = Utf8Lower(name);
    if (low.size() < 4 || low.compare(low.size() - 4, 4, ".lvl") != 0) name += ".lvl";
    if (name.size() > 44) {
        why = "The name is too long (40 characters at most).";
        return false;
    }
    return true;
}

bool insideEditorFolders(const std::string& path) {
    const std::string dir = canonicalDir(ExtractDir(path).empty() ? "." : ExtractDir(path));
    if (dir.empty()) return false;
    for (const auto& f : editorFolders()) {
        const std::string fd = canonicalDir(f.path);
        if (!fd.empty() && fd == dir) return true;
    }
    return false;
}

bool openEditorLevel(const std::string& path, TM3Game* game, TEditorLevelData& out, std::string& why) {
    if (FileType(path) != 1) {
        why = "the file does not exist";
        return false;
    }
    auto level = loadLevelFile(path, game);
    if (!level) {
        why = refusalReason(path, game);
        return false;
    }
    out = editorDataOfLevel(*level);
    readResources(path, out);
    return true;
}

bool saveEditorLevel(const TEditorLevelData& data, TM3Game* game, const std::string& path, std::string& why,
                     TEditorLevelData* saved) {
    if (!insideEditorFolders(path)) {
        why = "Levels are saved in the game's level folder or in My levels only.";
        return false;
    }
    std::string reason;
    auto level = buildEditorLevel(data, game, &reason);
    if (level) reason = levelPlayProblem(*level);
    if (!level || !reason.empty()) {
        why = "The level cannot be saved: " + reason + ".";
        return false;
    }
    const std::string dir = ExtractDir(path);
    if (!dir.empty() && FileType(dir) != 2) CreateDir(dir, true);
    const std::string tmp = (dir.empty() ? std::string() : dir + "/") + "." + StripDir(path) + ".check";
    if (!level->save(tmp)) {
        DeleteFile(tmp);
        why = "The file could not be written in " + (dir.empty() ? std::string(".") : dir) + ".";
        return false;
    }
    // What the game will read, read with the game's own loader.
    TEditorLevelData back;
    std::string refusal;
    if (!openEditorLevel(tmp, game, back, refusal)) {
        DeleteFile(tmp);
        why = "The game would refuse this level: " + refusal + ".";
        return false;
    }
    TEditorLevelData meant = editorDataOfLevel(*level);  // as saved (puzzle flag, creators)
    meant.zasob = data.zasob;
    if (back != meant) {
        DeleteFile(tmp);
        why = "The level would not read back as it is; nothing was written.";
        return false;
    }
    if (!RenameFile(tmp, path)) {
        DeleteFile(tmp);
        why = "The file " + path + " could not be replaced.";
        return false;
    }
    if (saved) *saved = back;
    return true;
}
