#include "gui/TAnimData.h"

#include <vector>

#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"

int TAnimData::find(const std::string& name) const {
    for (int i = 0; i < anims; ++i) {
        if (animName[static_cast<size_t>(i)] == name) return i;
    }
    return -1;
}

// Items are separated by spaces; "[...]" is one item whatever it holds.
static std::vector<std::string> splitSchema(const std::string& schema) {
    std::vector<std::string> items;
    std::string curr;
    bool bracket = false;
    for (char c : schema) {
        if (c == '[' && !bracket) {
            bracket = true;
        } else if (c == ']' && bracket) {
            bracket = false;
        } else if (c == ' ' && !bracket) {
            if (!guiTrim(curr).empty()) items.push_back(guiTrim(curr));
            curr.clear();
        } else {
            curr += c;
        }
    }
    if (!guiTrim(curr).empty()) items.push_back(guiTrim(curr));
    return items;
}

static bool allDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

TSchemaInfo interpretSchema(const std::string& schema, TAnimData& data) {
    TSchemaInfo info;
    int currAnim = -1;
    bool rejected = false;      // the last name did not fit: its frames are dropped
    bool cutReported = false;   // one notice per animation that grew too long
    for (const std::string& item : splitSchema(schema)) {
        if (allDigits(item)) {
            if (currAnim < 0) {
                if (!rejected)
                    errorNotice("Numer klatki przed nazwa animacji, pominiety : " + item + " w schemacie:" +
                                schema);
                continue;
            }
            const size_t a = static_cast<size_t>(currAnim);
            if (data.frames[a] >= TAnimData::kMaxFrames) {
                if (!cutReported)
                    errorNotice("Animacja " + data.animName[a] + " ma wiecej niz 100 klatek, reszta pominieta:" +
                                schema);
                cutReported = true;
                continue;
            }
            // Frame numbers are small in practice; the clamp keeps a silly one
            // from asking for a strip of billions of frames.
            int f = guiReadInt(item);
            if (f < 0 || item.size() > 6) f = 999999;
            data.frameN[a][static_cast<size_t>(data.frames[a])] = f;
            data.frames[a] += 1;
            data.maxFrames[a] = data.frames[a];
            if (f > data.animFrames) data.animFrames = f;
            continue;
        }
        std::string name = item;
        int ms = TAnimData::kDefaultMs;
        const size_t open = name.find('(');
        if (open != std::string::npos) {
            const size_t close = name.find(')', open);
            ms = guiReadInt(name.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1));
            name = name.substr(0, open);
        }
        name = guiUpper(guiTrim(name));
        int idx = data.find(name);
        cutReported = false;
        if (idx < 0) {
            if (data.anims >= TAnimData::kMaxAnims) {
                errorNotice("Nie mozna dodac wiecej niz 10 animacji!");
                currAnim = -1;
                rejected = true;
                continue;
            }
            idx = data.anims++;
            data.animName[static_cast<size_t>(idx)] = name;
        }
        rejected = false;
        currAnim = idx;
        data.frameDelta[static_cast<size_t>(idx)] = ms;
        if (name == "ACTIVE") {
            info.activeFlag = 1;
            info.animActive = idx;
        } else if (name == "OVER") {
            info.overFlag = 1;
            info.animOver = idx;
        } else if (name == "UNACTIVE") {
            info.unactiveFlag = 1;
            info.animUnActive = idx;
        } else if (name == "NORMAL") {
            info.normalFlag = 1;
            info.animNormal = idx;
        }
    }
    if (!info.normalFlag) errorNotice("Blad! Nie okreslono znacznika animacji [NORMAL] w schemacie:" + schema);
    return info;
}
