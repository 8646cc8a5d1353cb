// One dog, i.e. one stage of the quest: its pictures (as it comes and dressed
// up), its owner, where its stage starts, its jigsaw and its owner's lines;
// and the card it has in the gallery.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "data/TDim.h"
#include "data/TTxtFile.h"
#include "dogs/TOwnerTxt.h"
#include "platform/Services.h"

class TPies {
public:
    int id = 0;
    std::array<ImagePtr, 2> img;  // 0 as it comes, 1 dressed up
    std::string name;
    std::string opis;
    std::array<int, 3> score{{0, 0, 0}};
    std::string puzzleLevel;
    ImagePtr kartka;   // the gallery card before the dog is won
    ImagePtr odkryty;  // the uncovered small picture
    int startLevel = 0;
    TDimPtr imgXY;
    int rot = 0;
    int owner = 0;  // 0 the boy figure, 1 the girl
    ImagePtr ownerImg;
    std::vector<TOwnerTxtPtr> listaTekstow;
    // Paths of the pictures (with the data folder prefix), loaded by loadPictures.
    std::array<std::string, 2> url;
    std::string ownerUrl, emptyUrl, smallUrl;
    float a = 0;   // gallery highlight
    float da = 0;  // its target

    virtual ~TPies() = default;
    // Moves the highlight toward 1 while this is the hovered dog, else toward 0.
    virtual void update(bool hovered);
    // Loads the pictures named by the table, with their handles; a picture
    // that does not load is reported in `problems` and left out.
    void loadPictures(std::vector<std::string>& problems);
    // Where the dog stands on the owner scene (the middle of its feet).
    float standX() const;
    float standY() const;
};
using TPiesPtr = std::shared_ptr<TPies>;

// Reading the dog table ("data/dogs.dat"); pictures are loaded separately
// (loadPictures), once the display is open.
struct TDogTableSources {
    TTxtFilePtr names;  // "txt/dogNames.txt"
    TTxtFilePtr lines;  // "txt/dogs.txt" (null: missing, the bubbles stay empty)
    FontPtr font;       // measures the bubbles
    std::string root;   // prefixed to every path
};
// The dogs in table order. Every problem (missing file, a dog without an id,
// two dogs with one id, a malformed owner line) is appended to `problems` as
// a readable sentence; what can be read is still read.
std::vector<TPiesPtr> readDogTable(const std::string& tableText, bool tableFound, const TDogTableSources& src,
                                   std::vector<std::string>& problems);
