// Pictures read from their files on use: the size comes from the header at
// load time, the pixels when the picture is first drawn, and a picture left
// undrawn for a while is dropped and read again when next drawn. The file is
// rewritten under the loaded image to see when it is read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"

namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("brimble_onuse_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

TPixmap solid(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    TPixmap p;
    p.width = w;
    p.height = h;
    for (int i = 0; i < w * h; ++i) p.pixels.insert(p.pixels.end(), {r, g, b, 255});
    return p;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The markers of a JPEG around a frame header of w x h (enough for the probe,
// which reads no image data).
std::vector<uint8_t> jpegHeader(int w, int h, bool withEnd) {
    std::vector<uint8_t> b = {0xFF,       0xD8,  // start
                              0xFF,       0xE0,
                              0x00,       0x10,
                              'J',        'F',
                              'I',        'F',
                              0,          1,
                              1,          0,
                              0,          1,
                              0,          1,
                              0,          0,  // APP0
                              0xFF,       0xC4,
                              0x00,       0x04,
                              0x00,       0x00,  // a table before the frame
                              0xFF,       0xC0,
                              0x00,       0x0B,
                              0x08,       uint8_t(h >> 8),
                              uint8_t(h), uint8_t(w >> 8),
                              uint8_t(w), 0x01,
                              0x01,       0x11,
                              0x00,  // baseline frame header, one component
                              0x00,       0x00,
                              0x00,       0x00,
                              0x00,       0x00,
                              0x00,       0x00};
    if (withEnd) b.insert(b.end(), {0xFF, 0xD9});
    return b;
}

class PictureOnUseTest : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override {
        InstallBackend(MakeHeadlessBackend());
        ASSERT_TRUE(OpenGraphics(32, 32, 0, 60));
        SetVirtualResolution(32, 32);
        SetViewport(0, 0, 32, 32);
        SetBlend(SOLIDBLEND);
        SetColor(255, 255, 255);
        SetAlpha(1);
    }
    void TearDown() override { InstallBackend(nullptr); }
    // Draws the image at the top-left corner on black and reads its colour.
    static int redOf(const ImagePtr& img) {
        SetClsColor(0, 0, 0);
        Cls();
        DrawImage(img, 0, 0);
        return GrabPixmap(2, 2, 1, 1).pixels[0];
    }
    static void frames(int n) {
        for (int i = 0; i < n; ++i) Flip(1);
    }
};

TEST_F(PictureOnUseTest, TheProbeReadsPngAndJpegHeadersAndRefusesTheRest) {
    ASSERT_TRUE(SavePixmapPNG(solid(37, 21, 10, 20, 30), dir.file("ok.png")));
    std::vector<uint8_t> png = readBytes(dir.file("ok.png"));
    writeBytes(dir.file("cut.png"), std::vector<uint8_t>(png.begin(), png.end() - 12));  // no IEND
    writeBytes(dir.file("ok.jpg"), jpegHeader(640, 480, true));
    writeBytes(dir.file("cut.jpg"), jpegHeader(640, 480, false));
    std::ofstream(dir.file("text.png")) << "not a picture, only some words to make it long enough";
    struct Case {
        std::string file;
        bool ok;
        int w, h;
    } cases[] = {
        {"ok.png", true, 37, 21}, {"ok.jpg", true, 640, 480}, {"cut.png", false, 0, 0},
        {"cut.jpg", false, 0, 0}, {"text.png", false, 0, 0},  {"missing.png", false, 0, 0},
    };
    for (const Case& c : cases) {
        int w = -1, h = -1;
        EXPECT_EQ(ProbePictureSize(dir.file(c.file), w, h), c.ok) << c.file;
        if (c.ok) {
            EXPECT_EQ(w, c.w) << c.file;
            EXPECT_EQ(h, c.h) << c.file;
        }
    }
}

TEST_F(PictureOnUseTest, ReadWhenFirstDrawnAndAgainAfterLongUnused) {
    const std::string path = dir.file("pic.png");
    ASSERT_TRUE(SavePixmapPNG(solid(8, 8, 200, 0, 0), path));
    ImagePtr img = LoadImage(path, 0);
    ASSERT_TRUE(img);
    EXPECT_EQ(ImageWidth(img), 8);
    EXPECT_EQ(ImageHeight(img), 8);
    // Not read at load time: the picture on disk when first drawn is the one shown.
    ASSERT_TRUE(SavePixmapPNG(solid(8, 8, 100, 0, 0), path));
    EXPECT_EQ(redOf(img), 100);
    // Drawn every frame, it stays as it was read.
    ASSERT_TRUE(SavePixmapPNG(solid(8, 8, 50, 0, 0), path));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(redOf(img), 100);
        frames(60);
    }
    // Left undrawn for ten seconds, it was let go and is read again.
    frames(600);
    EXPECT_EQ(redOf(img), 50);
}

TEST_F(PictureOnUseTest, APictureChangedInMemoryIsKept) {
    const std::string path = dir.file("grab.png");
    ASSERT_TRUE(SavePixmapPNG(solid(8, 8, 200, 0, 0), path));
    ImagePtr img = LoadImage(path, 0);
    ASSERT_TRUE(img);
    SetClsColor(30, 0, 0);
    Cls();
    GrabImage(img, 0, 0);
    ASSERT_TRUE(SavePixmapPNG(solid(8, 8, 90, 0, 0), path));
    frames(600);
    EXPECT_EQ(redOf(img), 30);
}

TEST_F(PictureOnUseTest, ABrokenBodyDrawsNothingAndSizesComeFromTheHeader) {
    const std::string path = dir.file("broken.png");
    ASSERT_TRUE(SavePixmapPNG(solid(16, 4, 200, 0, 0), path));
    std::vector<uint8_t> png = readBytes(path);
    // The header and the end are intact, the pixel data between is not.
    for (size_t i = 40; i + 16 < png.size(); ++i) png[i] = 0x5A;
    writeBytes(path, png);
    ImagePtr anim = LoadAnimImage(path, 4, 4, 0, 4, 0);
    ASSERT_TRUE(anim);
    EXPECT_EQ(anim->frameCount, 4);
    EXPECT_FALSE(LoadAnimImage(path, 32, 4, 0, 1, 0)) << "a frame wider than the picture";
    EXPECT_EQ(redOf(anim), 0);
    EXPECT_EQ(redOf(anim), 0) << "and stays so without reading the file each time";
}

}  // namespace

namespace {

int litPixels(int w, int h) {
    TPixmap p = GrabPixmap(0, 0, w, h);
    int lit = 0;
    for (size_t i = 0; i < p.pixels.size(); i += 4) lit += p.pixels[i] > 128;
    return lit;
}

TEST_F(PictureOnUseTest, AFontsFaceClosedWhenIdleIsOpenedAgainForNewLetters) {
    const char* ttf = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!fs::exists(ttf)) GTEST_SKIP() << "no DejaVu font";
    FontPtr f = LoadImageFont(ttf, 20);
    ASSERT_TRUE(f);
    SetImageFont(f);
    SetBlend(ALPHABLEND);
    // Letters measured and drawn after the face was closed at load, and again
    // after ten idle seconds closed it: the same widths, and drawn.
    const int first = TextWidth("W");
    EXPECT_GT(first, 0);
    frames(600);
    EXPECT_EQ(TextWidth("W"), first) << "a cached letter";
    const int m = TextWidth("M");
    EXPECT_GT(m, 0) << "a letter never seen, after the face was closed";
    SetClsColor(0, 0, 0);
    Cls();
    DrawText("M", 0, 0);
    EXPECT_GT(litPixels(32, 32), 10);
    FontPtr again = LoadImageFont(ttf, 20);
    ASSERT_TRUE(again);
    SetImageFont(again);
    EXPECT_EQ(TextWidth("M"), m) << "the same advance as from a face kept open";
    SetImageFont(nullptr);
}

}  // namespace
