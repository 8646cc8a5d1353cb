// Named animations of an animated button or sprite, read from a schema such as
// "NORMAL 1 OVER(80) 2 3 4 ACTIVE(60) 5 6".
#pragma once

#include <array>
#include <string>

class TAnimData {
public:
    static constexpr int kMaxAnims = 10;
    static constexpr int kMaxFrames = 100;
    static constexpr int kDefaultMs = 500;

    std::array<std::array<int, kMaxFrames>, kMaxAnims> frameN{};  // frame numbers from 1
    std::array<int, kMaxAnims> frames{};
    std::array<int, kMaxAnims> maxFrames{};
    int anims = 0;
    std::array<std::string, kMaxAnims> animName;
    int animFrames = 0;  // highest frame number used
    int animTime = 0;    // clock time of the next frame change
    std::array<int, kMaxAnims> frameDelta{};  // ms a frame of each animation

    // Index of a named animation (upper case), or -1.
    int find(const std::string& name) const;
};

// What a schema defines besides the frames.
struct TSchemaInfo {
    int activeFlag = 0, overFlag = 0, unactiveFlag = 0, normalFlag = 0;
    int animNormal = 0, animActive = 0, animOver = 0, animUnActive = 0;
};

// Reads a schema into data (which should be fresh). Reports, through
// errorNotice, more than 10 animations, more than 100 frames in one animation
// (the rest is cut), a frame number before any name (ignored) and a schema
// without NORMAL.
TSchemaInfo interpretSchema(const std::string& schema, TAnimData& data);
