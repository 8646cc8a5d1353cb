#include "match3/TChipState.h"

#include <array>

namespace {

// Indexed by TChipState::Id (OTHER has no name of its own).
const std::string kNames[] = {"",
                              "MOVE-LEFT",
                              "MOVE-RIGHT",
                              "MOVE-UP",
                              "MOVE-DOWN",
                              "MOVE-LEFT-UP",
                              "MOVE-RIGHT-UP",
                              "MOVE-LEFT-DOWN",
                              "MOVE-RIGHT-DOWN",
                              "FALL-DOWN",
                              "FALL-LEFT-DOWN",
                              "FALL-RIGHT-DOWN",
                              "MOVE-UP-TO-FALL-DOWN",
                              "MOVE-DOWN-TO-FALL-DOWN",
                              "MOVE-SHOW",
                              "MOVE-SHOW-2",
                              "LAND",
                              "LAND_BACK",
                              "LIE",
                              "REPLACE",
                              "DESTROY",
                              "DESTROY-CHAIN"};
static_assert(sizeof kNames / sizeof kNames[0] == TChipState::OTHER, "a name for every state but OTHER");

}  // namespace

TChipState::TChipState(Id id) : id_(id == OTHER ? NONE : id) {
    _classify();
}

TChipState::TChipState(const std::string& name) {
    id_ = OTHER;
    for (int i = 0; i < OTHER; ++i)
        if (kNames[i] == name) {
            id_ = static_cast<Id>(i);
            break;
        }
    if (id_ == OTHER) other_ = name;
    _classify();
}

TChipState::TChipState(const char* name) : TChipState(std::string(name ? name : "")) {}

const std::string& TChipState::name() const {
    return id_ == OTHER ? other_ : kNames[id_];
}

namespace {
uint8_t flagsOfName(const std::string& n, uint8_t move, uint8_t fall, uint8_t land) {
    uint8_t f = 0;
    if (n.rfind("MOVE", 0) == 0) f |= move;
    if (n.rfind("FALL", 0) == 0) f |= fall;
    if (n.rfind("LAND", 0) == 0) f |= land;
    return f;
}
}  // namespace

void TChipState::_classify() {
    // The named states' kinds are worked out once; a state is set many
    // times a frame.
    static const auto table = [] {
        std::array<uint8_t, OTHER> t{};
        for (int i = 0; i < OTHER; ++i)
            t[static_cast<size_t>(i)] = flagsOfName(kNames[i], kMove, kFall, kLand);
        return t;
    }();
    flags_ = id_ == OTHER ? flagsOfName(other_, kMove, kFall, kLand) : table[id_];
}
