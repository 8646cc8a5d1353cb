// The sound manager's decisions, seen through a recording output: which file
// is loaded, which channel gets which volume, how fades move with the clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "audio/TGlobalSnd.h"

namespace {

class FakeOutput : public TSoundOutput {
public:
    std::set<std::string> files;        // paths that exist
    std::set<std::string> undecodable;  // exist but do not decode
    std::vector<std::string> loads;
    std::map<Channel, std::string> channelFile;
    std::map<Channel, float> volume;
    std::map<Channel, bool> live, pausedCh;
    int clock = 1000;
    Channel nextChannel = 1;

    SoundPtr load(const std::string& path, int flags) override {
        loads.push_back(path);
        if (undecodable.count(path)) return nullptr;
        auto s = std::make_shared<TSound>();
        s->path = path;
        s->flags = flags;
        return s;
    }
    Channel cue(const SoundPtr& snd) override {
        Channel ch = nextChannel++;
        channelFile[ch] = snd->path;
        live[ch] = true;
        pausedCh[ch] = true;
        volume[ch] = 1;
        return ch;
    }
    void resume(Channel ch) override { pausedCh[ch] = false; }
    void pause(Channel ch) override { pausedCh[ch] = true; }
    void stop(Channel ch) override { live[ch] = false; }
    void setVolume(Channel ch, float v) override { volume[ch] = v; }
    bool playing(Channel ch) override { return live.count(ch) && live[ch]; }
    int now() override { return clock; }
    bool exists(const std::string& path) override { return path == "t/globalSnd.dat" || files.count(path); }

    // The newest channel playing a file, 0 when none.
    Channel channelOf(const std::string& file) const {
        Channel found = 0;
        for (auto& kv : channelFile)
            if (kv.second == file && live.at(kv.first)) found = kv.first;
        return found;
    }
    int channelsOf(const std::string& file) const {
        int n = 0;
        for (auto& kv : channelFile) n += kv.second == file && live.at(kv.first);
        return n;
    }
};

const char* kTable =
    "settings {\n"
    "\tcrossFade = 1000\n"
    "\tlevelMusic = \"level1\", \"level2\"\n"
    "}\n\n"
    "sounds {\n"
    "\tclick {\n\t\tfile = \"snd/click.ogg\"\n\t\tvolume = 0.5\n\t}\n"
    "\tchip-land {\n\t\tfile = \"snd/land.ogg\"\n\t\tvolume = 0.8\n\t\tcopies = 3\n\t\tgap = 40\n\t}\n"
    "\tcrossfire1 {\n\t\tfile = \"snd/cf1.ogg\"\n\t}\n"
    "\tcrossfire3 {\n\t\tfile = \"snd/cf3.ogg\"\n\t}\n"
    "\tbroken {\n\t\tfile = \"snd/broken.ogg\"\n\t}\n"
    "\tgone {\n\t\tfile = \"snd/gone.ogg\"\n\t}\n"
    "}\n\n"
    "jingles {\n"
    "\twin {\n\t\tfile = \"snd/win.ogg\"\n\t\tvolume = 0.9\n\t}\n"
    "}\n\n"
    "music {\n"
    "\ttitle-screen {\n\t\tfile = \"music/title.ogg\"\n\t\tvolume = 0.8\n\t}\n"
    "\tmain menu {\n\t\tfile = \"music/title.ogg\"\n\t\tvolume = 0.8\n\t}\n"
    "\tlevel1 {\n\t\tfile = \"music/level1.ogg\"\n\t}\n"
    "\tlevel2 {\n\t\tfile = \"music/level2.ogg\"\n\t}\n"
    "\twin {\n\t\tfile = \"music/win.ogg\"\n\t}\n"
    "}\n";

class GlobalSndTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeOutput> out = std::make_shared<FakeOutput>();
    TGlobalSnd snd{out};
    std::string dir;

    void SetUp() override {
        // one folder per test: ctest runs tests side by side
        dir = std::string(BRIMBLE_BINARY_DIR) + "/test_audio_tmp/" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::filesystem::create_directories(dir);
        std::ofstream(dir + "globalSnd.dat") << kTable;
        for (const char* f :
             {"snd/click.ogg", "snd/land.ogg", "snd/cf1.ogg", "snd/cf3.ogg", "snd/broken.ogg", "snd/win.ogg",
              "music/title.ogg", "music/level1.ogg", "music/level2.ogg", "music/win.ogg"})
            out->files.insert(dir + f);
        out->files.insert(dir + "globalSnd.dat");
        out->undecodable.insert(dir + "snd/broken.ogg");
        snd.setup("globalSnd.dat", dir);
        snd.update();
    }
    void advance(int ms, int frameMs = 16) {
        for (int t = 0; t < ms; t += frameMs) {
            out->clock += frameMs;
            snd.update();
        }
    }
    std::string path(const char* f) const { return dir + f; }
};

TEST_F(GlobalSndTest, PlaysEffectsByNameWithTableAndSettingsVolume) {
    snd.setSoundVolume(0.5f);
    Channel ch = snd.playSound("click");
    ASSERT_NE(ch, 0);
    EXPECT_EQ(out->channelFile[ch], path("snd/click.ogg"));
    EXPECT_FLOAT_EQ(out->volume[ch], 0.25f);  // 0.5 table x 0.5 settings
    EXPECT_FALSE(out->pausedCh[ch]);          // cued silent, then started
    out->clock += 100;
    Channel ch2 = snd.playSound("CLICK", 0.5f);  // names ignore case
    ASSERT_NE(ch2, 0);
    EXPECT_FLOAT_EQ(out->volume[ch2], 0.125f);
}

TEST_F(GlobalSndTest, NamedOperationsPickTheirFiles) {
    snd.playCROSSFIRE(1);
    EXPECT_EQ(out->channelsOf(path("snd/cf1.ogg")), 1);
    snd.playCROSSFIRE(7);  // out of range: the strongest
    EXPECT_EQ(out->channelsOf(path("snd/cf3.ogg")), 1);
    snd.playChipMove();
    EXPECT_EQ(out->channelsOf(path("snd/land.ogg")), 1);
}

TEST_F(GlobalSndTest, MissingNameOrFileIsReportedOnceThenSilent) {
    struct Case {
        const char* what;
        std::function<void(TGlobalSnd&)> play;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"unknown name", [](TGlobalSnd& s) { s.playSound("no-such-sound"); }, "no sound \"no-such-sound\""},
        {"named operation missing", [](TGlobalSnd& s) { s.playBOMB(2); }, "no sound \"bomb2\""},
        {"missing file", [](TGlobalSnd& s) { s.playSound("gone"); }, "missing file"},
        {"undecodable file", [](TGlobalSnd& s) { s.playSound("broken"); }, "cannot decode"},
        {"unknown music", [](TGlobalSnd& s) { s.playMyMusic("nothing"); }, "no music \"nothing\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::internal::CaptureStderr();
        TGlobalSnd fresh(out);  // its own record of what was reported
        fresh.setup("globalSnd.dat", dir);
        size_t before = out->channelFile.size();
        for (int i = 0; i < 5; ++i) {
            out->clock += 200;
            c.play(fresh);
            fresh.update();
        }
        std::string err = testing::internal::GetCapturedStderr();
        size_t first = err.find(c.expected);
        ASSERT_NE(first, std::string::npos) << err;
        EXPECT_EQ(err.find(c.expected, first + 1), std::string::npos) << "reported twice: " << err;
        EXPECT_EQ(out->channelFile.size(), before) << "something played";
    }
}

TEST_F(GlobalSndTest, SilentBackendDoesNotReportEveryFile) {
    // every load answers nothing (no audio device): no line per file
    for (auto& f : out->files) out->undecodable.insert(f);
    testing::internal::CaptureStderr();
    TGlobalSnd fresh(out);
    fresh.setup("globalSnd.dat", dir);
    fresh.click();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("cannot decode"), std::string::npos) << err;
}

TEST_F(GlobalSndTest, RealDeviceThatDecodesNothingIsReported) {
    // a backend that plays audio but decodes none of the files (a mixer built
    // without Ogg support, say): every file is worth its one line
    class Decoding : public FakeOutput {
    public:
        bool decodes() override { return true; }
    };
    auto dec = std::make_shared<Decoding>();
    dec->files = out->files;
    for (auto& f : dec->files) dec->undecodable.insert(f);
    testing::internal::CaptureStderr();
    TGlobalSnd fresh(dec);
    fresh.setup("globalSnd.dat", dir);
    fresh.click();
    fresh.click();
    std::string err = testing::internal::GetCapturedStderr();
    size_t first = err.find("cannot decode " + path("snd/click.ogg"));
    ASSERT_NE(first, std::string::npos) << err;
    EXPECT_EQ(err.find("cannot decode " + path("snd/click.ogg"), first + 1), std::string::npos);
}

TEST_F(GlobalSndTest, SameEffectDoesNotStackInOneFrame) {
    // a cascade of 30 landings in one frame: one gets through
    for (int i = 0; i < 30; ++i) snd.playChipMove();
    EXPECT_EQ(out->channelsOf(path("snd/land.ogg")), 1);
    // spaced beyond the gap, at most `copies` (3) overlap
    for (int i = 0; i < 10; ++i) {
        out->clock += 50;
        snd.playChipMove();
    }
    EXPECT_EQ(out->channelsOf(path("snd/land.ogg")), 3);
    // when one ends, the next may start
    out->live[out->channelOf(path("snd/land.ogg"))] = false;
    out->clock += 50;
    snd.playChipMove();
    EXPECT_EQ(out->channelsOf(path("snd/land.ogg")), 3);
    // other effects are not held back by it
    EXPECT_NE(snd.playSound("click"), 0);
}

TEST_F(GlobalSndTest, MusicCrossFadesOverTheTableTime) {
    snd.setMusicVolume(1.0f);
    snd.playMyMusic("level1");
    Channel a = out->channelOf(path("music/level1.ogg"));
    ASSERT_NE(a, 0);
    EXPECT_FLOAT_EQ(out->volume[a], 0.0f);  // starts silent
    advance(500);
    EXPECT_NEAR(snd.musicLevel("level1"), 0.5f, 0.03f);
    advance(600);
    EXPECT_FLOAT_EQ(snd.musicLevel("level1"), 1.0f);
    EXPECT_FLOAT_EQ(out->volume[a], 1.0f);

    snd.playMyMusic("level2");
    Channel b = out->channelOf(path("music/level2.ogg"));
    ASSERT_NE(b, 0);
    EXPECT_EQ(snd.currentMusic(), "level2");
    advance(496);
    // halfway: both audible, equal-power
    float la = snd.musicLevel("level1"), lb = snd.musicLevel("level2");
    EXPECT_NEAR(la + lb, 1.0f, 0.02f);
    EXPECT_NEAR(out->volume[a] * out->volume[a] + out->volume[b] * out->volume[b], 1.0f, 0.05f);
    advance(600);
    EXPECT_FALSE(out->playing(a)) << "the old track stops once silent";
    EXPECT_FLOAT_EQ(out->volume[b], 1.0f);
}

TEST_F(GlobalSndTest, SameTrackIsNotRestartedEvenUnderAnotherName) {
    snd.playMyMusic("title-screen");
    advance(1100);
    int loads = int(out->loads.size());
    Channel ch = out->channelOf(path("music/title.ogg"));
    snd.playMyMusic("main menu");  // the same file
    snd.playMyMusic("title-screen");
    advance(200);
    EXPECT_EQ(out->channelOf(path("music/title.ogg")), ch);
    EXPECT_EQ(out->channelsOf(path("music/title.ogg")), 1);
    EXPECT_EQ(int(out->loads.size()), loads);
    EXPECT_FLOAT_EQ(snd.musicLevel("title-screen"), 1.0f);
}

TEST_F(GlobalSndTest, TwoRequestsInOneFrameLeaveOneTrack) {
    snd.playMyMusic("level1");
    advance(1100);
    snd.playMyMusic("level2");
    snd.playMyMusic("win");
    advance(1200);
    EXPECT_EQ(snd.currentMusic(), "win");
    EXPECT_EQ(out->channelsOf(path("music/level1.ogg")), 0);
    EXPECT_EQ(out->channelsOf(path("music/level2.ogg")), 0);
    EXPECT_EQ(out->channelsOf(path("music/win.ogg")), 1);
}

TEST_F(GlobalSndTest, VolumesApplyToPlayingMusicAndClamp) {
    snd.playMyMusic("title-screen");
    advance(1100);
    Channel ch = out->channelOf(path("music/title.ogg"));
    snd.setMusicVolume(0.5f);
    EXPECT_FLOAT_EQ(out->volume[ch], 0.4f);  // 0.5 x table 0.8
    snd.setMusicVolume(3.0f);
    EXPECT_FLOAT_EQ(snd.getMusicVolume(), 1.0f);
    snd.setSoundVolume(-1.0f);
    EXPECT_FLOAT_EQ(snd.getSoundVolume(), 0.0f);
    snd.setMusicVolume(0.0f);
    EXPECT_FLOAT_EQ(out->volume[ch], 0.0f);
}

TEST_F(GlobalSndTest, WinJingleThenWinMusicWhileLevelMusicFades) {
    snd.playLevelMusic();
    advance(1100);
    EXPECT_EQ(snd.currentMusic(), "level1");
    snd.playWINMusic();
    snd.shutDownMusic();  // the play screen does both
    Channel j = out->channelOf(path("snd/win.ogg"));
    ASSERT_NE(j, 0);
    EXPECT_FLOAT_EQ(out->volume[j], 0.9f);
    advance(1100);
    EXPECT_EQ(out->channelsOf(path("music/level1.ogg")), 0);
    EXPECT_EQ(out->channelsOf(path("music/win.ogg")), 0) << "waits for the jingle";
    out->live[j] = false;  // jingle over
    advance(32);
    EXPECT_EQ(snd.currentMusic(), "win");
    // next level: the next level track in turn
    snd.playLevelMusic();
    EXPECT_EQ(snd.currentMusic(), "level2");
    snd.playLevelMusic();  // restart of the same level keeps the track
    EXPECT_EQ(snd.currentMusic(), "level2");
}

TEST_F(GlobalSndTest, PendingVolumeFadesMusicOutAndARequestBringsItBack) {
    snd.playMyMusic("level1");
    advance(1100);
    snd.setPendingMusicVolume(0);
    advance(1100);
    EXPECT_EQ(out->channelsOf(path("music/level1.ogg")), 0);
    EXPECT_EQ(snd.currentMusic(), "");
    snd.playMyMusic("level1");
    EXPECT_EQ(out->channelsOf(path("music/level1.ogg")), 1);
}

TEST_F(GlobalSndTest, StopAndResumeAllSounds) {
    snd.playMyMusic("level1");
    advance(1100);
    Channel m = out->channelOf(path("music/level1.ogg"));
    Channel c = snd.playSound("click");
    snd.stopAllSounds();
    EXPECT_TRUE(out->pausedCh[m]);
    EXPECT_TRUE(out->pausedCh[c]);
    EXPECT_EQ(snd.playSound("crossfire1"), 0) << "nothing new while paused";
    // a long suspension does not move fades
    snd.playMyMusic("level2");
    out->clock += 60000;
    snd.update();
    snd.resumeAllSounds();
    EXPECT_FALSE(out->pausedCh[m]);
    EXPECT_FALSE(out->pausedCh[c]);
    snd.update();
    EXPECT_GT(snd.musicLevel("level1"), 0.9f);
}

TEST_F(GlobalSndTest, ReleaseStopsEverythingAndDropsTheSounds) {
    snd.playMyMusic("level1");
    Channel m = out->channelOf(path("music/level1.ogg"));
    Channel c = snd.playSound("click");
    snd.release();
    EXPECT_FALSE(out->playing(m));
    EXPECT_FALSE(out->playing(c));
    EXPECT_EQ(snd.currentMusic(), "");
    out->clock += 100;
    EXPECT_EQ(snd.playSound("click"), 0) << "no sound left until the next setup";
    snd.setup("globalSnd.dat", dir);
    EXPECT_NE(snd.playSound("click"), 0);
}

TEST(GlobalSndTable, MissingTableGivesSilenceNotACrash) {
    auto out = std::make_shared<FakeOutput>();
    TGlobalSnd snd(out);
    testing::internal::CaptureStderr();
    snd.setup("nowhere/globalSnd.dat", "");
    snd.click();
    snd.playLevelMusic();
    snd.playWINMusic();
    snd.update();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no sound table"), std::string::npos);
    EXPECT_TRUE(out->channelFile.empty());
}

}  // namespace
