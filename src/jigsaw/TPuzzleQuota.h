// The jigsaw quotas: how many pieces of the stage's jigsaw the player should
// own once a quest level is won ("puzzles::i", then "puzzles::level" + k).
// The first entry of a level number wins; a level without an entry hands out
// no pieces.
#pragma once

#include <string>
#include <vector>

class TPuzzleQuota {
public:
    struct Entry {
        int levelNr = 0;
        int puzzles = 0;
    };
    std::vector<Entry> entries;

    // Replaces the entries with the file's; a missing file leaves none.
    void load(const std::string& path);
    // The quota of a level, -1 when the table has no entry for it.
    int of(int levelNr) const;
};
