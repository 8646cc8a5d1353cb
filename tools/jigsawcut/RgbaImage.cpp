#include "RgbaImage.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

bool RgbaImage::loadPng(const std::string& path, std::string& err) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) {
        err = path + ": " + img.message;
        return false;
    }
    img.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> buf(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr)) {
        err = path + ": " + img.message;
        png_image_free(&img);
        return false;
    }
    w = int(img.width);
    h = int(img.height);
    px = std::move(buf);
    return true;
}

bool RgbaImage::savePng(const std::string& path, std::string& err) const {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = png_uint_32(w);
    img.height = png_uint_32(h);
    img.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(img, size, 0, px.data(), 0, nullptr)) {
        err = path + ": " + img.message;
        return false;
    }
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&img, bytes.data(), &size, 0, px.data(), 0, nullptr)) {
        err = path + ": " + img.message;
        return false;
    }
    const std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        err = "cannot write " + tmp;
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, size, f) == size;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (!ok || !closed) {
        std::filesystem::remove(tmp, ec);
        err = "cannot write " + tmp;
        return false;
    }
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        err = "cannot rename " + tmp + " to " + path;
        return false;
    }
    return true;
}
