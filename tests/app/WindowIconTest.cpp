// The window's icon at start-up: every size the build renders, from the
// data folder, handed to the backend in one call.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "StubBackend.h"
#include "app/GameIcon.h"
#include "data/DataGlobals.h"
#include "platform/Backend.h"
#include "platform/Files.h"

namespace {

// Decodes only a PNG's header (its size) and keeps the icons it is given.
class TIconBackend : public TStubBackend {
public:
    std::vector<std::vector<TPixmap>> calls;
    TPixmap decodeImage(const std::string& path) override {
        std::string bytes;
        TPixmap p;
        if (!ReadBytesFile(path, bytes) || bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return p;
        auto be32 = [&](size_t i) {
            return static_cast<int>(static_cast<unsigned char>(bytes[i]) << 24 |
                                    static_cast<unsigned char>(bytes[i + 1]) << 16 |
                                    static_cast<unsigned char>(bytes[i + 2]) << 8 |
                                    static_cast<unsigned char>(bytes[i + 3]));
        };
        p.width = be32(16);
        p.height = be32(20);
        p.pixels.assign(static_cast<size_t>(p.width) * p.height * 4, 255);
        return p;
    }
    void setWindowIcon(const std::vector<TPixmap>& sizes) override { calls.push_back(sizes); }
};

class WindowIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<TIconBackend>();
        backend = owned.get();
        InstallBackend(std::move(owned));
        saved = dataRoot;
    }
    void TearDown() override {
        dataRoot = saved;
        InstallBackend(nullptr);
    }
    TIconBackend* backend = nullptr;
    std::string saved;
};

TEST_F(WindowIconTest, EverySizeFromTheDataFolder) {
    dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
    EXPECT_EQ(setGameWindowIcon(), 7);
    ASSERT_EQ(backend->calls.size(), 1u);
    const std::vector<TPixmap>& got = backend->calls[0];
    ASSERT_EQ(got.size(), 7u);
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].width, kWindowIconSizes[i]);
        EXPECT_EQ(got[i].height, kWindowIconSizes[i]);
    }
}

TEST_F(WindowIconTest, MissingPicturesAreLeftOutAndNoneIsSaid) {
    const std::string dir = ::testing::TempDir() + "brimble_icon_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
    std::filesystem::remove_all(dir);
    CreateDir(dir + "/gfx/icon", true);
    dataRoot = dir + "/";
    testing::internal::CaptureStderr();
    EXPECT_EQ(setGameWindowIcon(), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no icon pictures"), std::string::npos);
    EXPECT_TRUE(backend->calls.empty());  // the window keeps the system's icon

    // One size there (a 48 px picture from the game): only it is given.
    std::string png;
    ASSERT_TRUE(ReadBytesFile(std::string(BRIMBLE_GAME_DIR) + "/gfx/icon/brimble-48.png", png));
    ASSERT_TRUE(WriteBytesFileAtomic(dir + "/gfx/icon/brimble-48.png", png));
    EXPECT_EQ(setGameWindowIcon(), 1);
    ASSERT_EQ(backend->calls.size(), 1u);
    ASSERT_EQ(backend->calls[0].size(), 1u);
    EXPECT_EQ(backend->calls[0][0].width, 48);
    std::filesystem::remove_all(dir);
}

}  // namespace
