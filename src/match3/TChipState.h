// A chip's state: an enumeration for the engine, which asks about it for
// every chip every frame, with the state's name kept for whatever prints it,
// reads it from a test or sets it by name ("MOVE-LEFT", "FALL-DOWN",
// "DESTROY"...; "" is a chip lying still). A name outside the table is kept
// as text and counts as OTHER.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

class TChipState {
public:
    enum Id : uint8_t {
        NONE,
        MOVE_LEFT,
        MOVE_RIGHT,
        MOVE_UP,
        MOVE_DOWN,
        MOVE_LEFT_UP,
        MOVE_RIGHT_UP,
        MOVE_LEFT_DOWN,
        MOVE_RIGHT_DOWN,
        FALL_DOWN,
        FALL_LEFT_DOWN,
        FALL_RIGHT_DOWN,
        MOVE_UP_TO_FALL_DOWN,
        MOVE_DOWN_TO_FALL_DOWN,
        MOVE_SHOW,
        MOVE_SHOW_2,
        LAND,
        LAND_BACK,
        LIE,
        REPLACE,
        DESTROY,
        DESTROY_CHAIN,
        OTHER
    };

    TChipState() = default;
    TChipState(Id id);  // NOLINT: a state is its id
    TChipState(const std::string& name);
    TChipState(const char* name);

    Id id() const { return id_; }
    // "" for NONE; the text it was given for OTHER.
    const std::string& name() const;
    operator const std::string&() const { return name(); }  // NOLINT: reads like the name

    bool empty() const { return id_ == NONE; }
    void clear() { *this = TChipState(); }
    // Names beginning "MOVE" / "FALL" / "LAND" (OTHER ones too).
    bool isMove() const { return (flags_ & kMove) != 0; }
    bool isFall() const { return (flags_ & kFall) != 0; }
    bool isLand() const { return (flags_ & kLand) != 0; }

    bool operator==(Id id) const { return id_ == id && id != OTHER; }
    bool operator!=(Id id) const { return !(*this == id); }
    bool operator==(const TChipState& o) const { return id_ == o.id_ && (id_ != OTHER || other_ == o.other_); }
    bool operator!=(const TChipState& o) const { return !(*this == o); }
    bool operator==(const std::string& s) const { return name() == s; }
    bool operator!=(const std::string& s) const { return !(*this == s); }
    bool operator==(const char* s) const { return name() == s; }
    bool operator!=(const char* s) const { return !(*this == s); }

private:
    enum : uint8_t { kMove = 1, kFall = 2, kLand = 4 };
    void _classify();

    Id id_ = NONE;
    uint8_t flags_ = 0;
    std::string other_;  // only for OTHER
};

inline bool operator==(const std::string& s, const TChipState& st) { return st == s; }
inline bool operator!=(const std::string& s, const TChipState& st) { return st != s; }
inline bool operator==(const char* s, const TChipState& st) { return st == s; }
inline bool operator!=(const char* s, const TChipState& st) { return st != s; }
inline std::ostream& operator<<(std::ostream& o, const TChipState& st) { return o << '"' << st.name() << '"'; }
