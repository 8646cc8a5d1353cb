#include "data/TTxtFile.h"

#include "platform/Files.h"
#include "data/DataGlobals.h"

void TTxtFile::setFromText(const std::string& utf8) {
    txt.clear();
    size_t start = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n') {
            txt.emplace_back(utf8, start, i - start);
            start = i + 1;
        }
    }
    if (start < utf8.size()) txt.emplace_back(utf8, start, std::string::npos);
}

TTxtFilePtr loadText(const std::string& path) {
    auto f = std::make_shared<TTxtFile>();
    f->setFromText(LoadText(dataPath(path)));
    return f;
}

TTxtFilePtr loadLocalisedText(const std::string& path) {
    std::string dir = ExtractDir(path);
    std::string local = (dir.empty() ? std::string() : dir + "/") + language + "/" + StripDir(path);
    return loadText(local);
}

std::string textLine(const TTxtFilePtr& file, int n) {
    if (!file || n < 1 || n > file->lines()) return "(BEYOND TEXT ARRAY LENGTH!)";
    return file->txt[static_cast<size_t>(n - 1)];
}

ImagePtr loadImageChecked(const std::string& path, int flags) {
    ImagePtr img = LoadImage(dataPath(path), flags);
    if (!img) Notify("Couldn't load image file: " + path + " - program will probably crash!", true);
    return img;
}
