// An 8-bit RGBA picture in memory, rows top to bottom, straight (not
// premultiplied) alpha, and its PNG reading and writing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RgbaImage {
public:
    int w = 0;
    int h = 0;
    std::vector<uint8_t> px;  // w * h * 4 bytes: R, G, B, A

    RgbaImage() = default;
    RgbaImage(int width, int height) : w(width), h(height), px(size_t(width) * height * 4, 0) {}

    uint8_t* at(int x, int y) { return &px[(size_t(y) * w + x) * 4]; }
    const uint8_t* at(int x, int y) const { return &px[(size_t(y) * w + x) * 4]; }

    // Reads any PNG as 8-bit RGBA; false with a reason in err when it cannot.
    bool loadPng(const std::string& path, std::string& err);
    // Writes the picture atomically (a temporary file beside it, then a
    // rename). The bytes depend on the pixels only, so equal pictures give
    // equal files.
    bool savePng(const std::string& path, std::string& err) const;
};
