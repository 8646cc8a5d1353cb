// The pixel-accurate pointer test: the piece's own alpha mask, made once
// when its picture loads, against the pointer's mask at the mouse.
#include <gtest/gtest.h>

#include <filesystem>

#include "JigsawFixture.h"
#include "platform/sdl/SdlBackend.h"

namespace {

// A 20 x 20 frame with a 6 x 6 hole at (7..12, 7..12).
TAlphaMask ring() {
    TPixmap pix;
    pix.width = pix.height = 20;
    pix.pixels.assign(20 * 20 * 4, 255);
    for (int y = 7; y < 13; ++y)
        for (int x = 7; x < 13; ++x) pix.pixels[(y * 20 + x) * 4 + 3] = 0;
    return TAlphaMask::fromPixmap(pix);
}

TAlphaMask square3() {
    TAlphaMask m;
    m.w = m.h = 3;
    m.solid.assign(9, 1);
    return m;
}

TEST(Pointer, HitsOnlySolidPixelsOfThePiece) {
    TPuzzle::setPointerMask(square3());  // centred: covers mouse +- 1
    TPuzzle p;
    p.aktywny = 1;
    p.mask = ring();
    p.w = p.h = 20;
    place(&p, 100, 100);
    const struct {
        int x, y;
        bool hit;
    } cases[] = {
        {102, 102, true},   // on the frame
        {110, 110, false},  // in the hole
        {108, 110, false},  // pointer 107..109: all hole
        {107, 110, true},   // pointer 106..108: touches the frame at 106
        {98, 110, false},   // pointer 97..99: left of the piece
        {99, 110, true},    // pointer 98..100: touches column 100
        {121, 121, false},  // pointer 120..122: past the corner
        {120, 120, true},   // touches the last pixel (119, 119)
    };
    for (const auto& c : cases) EXPECT_EQ(p.updateOver(c.x, c.y) != 0, c.hit) << c.x << "," << c.y;
    p.aktywny = 0;
    EXPECT_EQ(p.updateOver(102, 102), 0);
}

TEST(Pointer, WholePixelPositionIsUsed) {
    TPuzzle::setPointerMask(square3());
    TPuzzle p;
    p.aktywny = 1;
    p.mask = ring();
    place(&p, 100.9f, 100);  // counts as 100
    EXPECT_EQ(p.updateOver(99, 110), 1);
}

TEST(Pointer, GroupIsHitThroughAnyMember) {
    TPuzzle::setPointerMask(square3());
    auto l = makeLevel(square2x2(), 20);
    for (auto& p : l->allPuzzles) p->mask = ring();
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 400, 100);
    l->putPuzzle(piece(l, 2));
    TPuzzle* g = l->puzzles.back().get();
    ASSERT_TRUE(g->isGroup());
    EXPECT_EQ(g->updateOver(402, 102), 1);
    EXPECT_EQ(g->updateOver(302, 102), 1);
    EXPECT_EQ(g->updateOver(350, 102), 0);
    // update reports it and lights every member.
    TPuzzleFrame f;
    f.mouseX = 402;
    f.mouseY = 102;
    EXPECT_EQ(g->update(f), 1);
    EXPECT_EQ(piece(l, 1)->dOverA, 1);
    EXPECT_GT(piece(l, 1)->overA, 0);
}

// The mask comes from the picture once, at load: the test never needs the
// file (or the screen) again.
TEST(Pointer, MaskIsMadeOnceFromThePicture) {
    InstallBackend(MakeHeadlessBackend());
    TPuzzle::setPointerMask(square3());
    const auto dir = std::filesystem::temp_directory_path() / ("brimble_ptr_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    TPixmap pix;
    pix.width = pix.height = 20;
    pix.pixels.assign(20 * 20 * 4, 255);
    for (int y = 7; y < 13; ++y)
        for (int x = 7; x < 13; ++x) pix.pixels[(y * 20 + x) * 4 + 3] = 0;
    const std::string file = (dir / "ring.png").string();
    ASSERT_TRUE(SavePixmapPNG(pix, file));
    TPuzzle p;
    p.aktywny = 1;
    p.loadPicture(file);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(p.w, 20);
    place(&p, 50, 50);
    EXPECT_EQ(p.updateOver(52, 52), 1);
    EXPECT_EQ(p.updateOver(60, 60), 0);
    // A missing picture: no picture, no mask, never hit.
    TPuzzle q;
    q.aktywny = 1;
    q.loadPicture((dir / "none.png").string());
    EXPECT_EQ(q.img, nullptr);
    EXPECT_EQ(q.updateOver(0, 0), 0);
    InstallBackend(nullptr);
}

}  // namespace
