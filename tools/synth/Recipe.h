// Recipe files: "key = value" header lines and "word key=value ..." layer
// lines. Every key must be consumed by the renderer; a leftover key is a typo
// and fails the build with the recipe's name and line.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace synth {

struct RecipeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Key-value bag that remembers which keys were read.
class Params {
public:
    std::string where;  // "file:line" for messages
    void set(const std::string& k, const std::string& v) { kv_[k] = v; }
    bool has(const std::string& k) const { return kv_.count(k) != 0; }
    std::string str(const std::string& k, const std::string& def = "") const;
    double num(const std::string& k, double def) const;
    // A pitch: a note name (C4 = MIDI 60, "F#5", "Bb3") or a number of Hz.
    double hz(const std::string& k, double def) const;
    std::vector<double> nums(const std::string& k) const;  // comma separated
    std::vector<double> notesHz(const std::string& k) const;
    void checkAllUsed() const;

private:
    std::map<std::string, std::string> kv_;
    mutable std::map<std::string, bool> used_;
    void mark(const std::string& k) const { used_[k] = true; }
};

struct Layer {
    std::string type;
    Params p;
};

struct Recipe {
    std::string path;
    Params header;
    std::vector<Layer> layers;
};

Recipe loadRecipe(const std::string& path);
double parseNote(const std::string& s, const std::string& where);  // MIDI number

}  // namespace synth
