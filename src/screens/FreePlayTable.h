// The free-play levels of "data/free_levels.dat": "levels::i" entries, each
// "levels::lvl<k>::ulr" (the level file, relative to the data folder; the
// spelling "url" is read too) and "levels::lvl<k>::id" (the quest level the
// entry answers to). Read here until the level manager offers the table.
#pragma once

#include <string>
#include <vector>

struct TFreePlayEntry {
    int id = 0;
    std::string url;
    std::string name;  // a level of the player's own ("My levels"): its name; url is then its full path
};

// The usable entries in file order. A missing or unreadable file, a count
// that is not a number, an entry without a file or with a path leaving the
// data folder (absolute, or with "..") is left out and reported in `problems`.
std::vector<TFreePlayEntry> readFreePlayTable(const std::string& path, std::vector<std::string>* problems = nullptr);
// Whether a path from a data file stays inside the data folder.
bool safeDataPath(const std::string& p);
