// Line files of texts, one text per line, one folder per language.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "data/Paragraph.h"
#include "data/Teksty.h"

class TTxtFile {
public:
    std::vector<std::string> txt;  // line 1 is element 0 (UTF-8)

    int lines() const { return static_cast<int>(txt.size()); }
    // Splits text into lines: a line feed ends a line (kept even when
    // empty); the last line is kept only when not empty; CRs stay.
    void setFromText(const std::string& utf8);
};
using TTxtFilePtr = std::shared_ptr<TTxtFile>;

// folder of path + "/" + language + "/" + file name of path
TTxtFilePtr loadLocalisedText(const std::string& path);
TTxtFilePtr loadText(const std::string& path);
// Line n counted from 1, or "(BEYOND TEXT ARRAY LENGTH!)".
std::string textLine(const TTxtFilePtr& file, int n);
// Loads an image; a missing one shows a message box and gives null.
ImagePtr loadImageChecked(const std::string& path, int flags = IMG_DEFAULT);
