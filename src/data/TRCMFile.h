// Grouped key-value files: a tree of named groups holding named entries,
// addressed by paths such as "settings::fullScreen".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/TRCMEntry.h"
#include "data/TRCMGroup.h"

class TRCMFile {
public:
    TRCMGroupPtr _grupa;    // the root group
    std::string _path;      // as given to Load
    std::string _realPath;  // its absolute form
    std::string _txt;       // the whole text as read (UTF-8)
    // Our addition: the last Load found the file and could read its text
    // (Load itself returns 0 either way).
    bool _loaded = false;

    TRCMFile();

    // Writes the tree atomically; false when the file could not be written.
    bool save(const std::string& path);
    // Reads the file; always returns 0. Whether it worked: _loaded.
    int Load(const std::string& path);
    // Parses text held in memory (what Load does after reading the file).
    void LoadFromText(std::string utf8);

    int checkGroups();
    int checkTxt();
    TRCMGroupPtr readAll(const std::string& text, const std::string& id);
    std::string myTrim(const std::string& s);
    TRCMEntryPtr readEntry(const std::string& line);

    TRCMGroupPtr getGroupSet(const std::vector<std::string>& parts);
    void setString(const std::string& path, const std::string& value, int index = 0);
    void setFloat(const std::string& path, double value, int index = 0);
    void removeString(const std::string& path);
    std::string getString(const std::string& path, int index = 0);
    float getFloat(const std::string& path, int index = 0, int print = 0);
    // Our additions: exact integers (the float getter loses digits beyond
    // 2^24) and a presence test.
    int getInt(const std::string& path, int index = 0);
    bool hasEntry(const std::string& path);
    // The group named by all the parts (existing groups only), or null.
    TRCMGroupPtr getGroup(const std::vector<std::string>& parts);
    void printAll();
    void errorMsg(const std::string& text);

    // Number of groups deeper than this makes a file read as empty.
    static constexpr int kMaxDepth = 64;

private:
    TRCMGroupPtr _readAll(const std::string& text, size_t start, const std::string& id, int depth,
                          bool& tooDeep);
    TRCMEntryPtr _readEntry(const std::string& line, size_t start, size_t end);
    TRCMEntryPtr _findEntry(const std::string& path, std::vector<std::string>& parts);
};
using TRCMFilePtr = std::shared_ptr<TRCMFile>;

TRCMFilePtr newRCMFile();
TRCMFilePtr loadRCMFile(const std::string& path);

// Splits a path at every "::".
std::vector<std::string> splitRCMPath(const std::string& path);
// Number text of a value as setFloat writes it (up to 9 significant digits).
std::string rcmNumberText(double value);
// Item index of an entry read as getInt reads it: truncated, clamped to the
// int range, 0 when the item is missing or not a number.
int rcmEntryInt(const TRCMEntry& e, int index);
