// The synthesizer (tools/synth) and the generated sound files: same recipe,
// same bytes; music loops without a jump at the seam; a bad recipe fails
// with its name; every file of the sound table exists and decodes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Backend.h"
#include "platform/sdl/SdlBackend.h"
#include "audio/TGlobalSnd.h"
#include "data/TRCMFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kSynth = std::string(BRIMBLE_BINARY_DIR) + "/synth";
const std::string kFixtures = std::string(BRIMBLE_SOURCE_DIR) + "/tests/audio/fixtures/";

std::string tmpDir() {
    std::string d = std::string(BRIMBLE_BINARY_DIR) + "/test_audio_tmp/synth_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    fs::create_directories(d);
    return d;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs a command; returns its exit status, stdout and stderr in the out-params.
int run(const std::string& cmd, std::string* out = nullptr, std::string* err = nullptr) {
    std::string d = tmpDir();
    std::string o = d + "cmd.out", e = d + "cmd.err";
    int rc = std::system((cmd + " >" + o + " 2>" + e).c_str());
    if (out) *out = slurp(o);
    if (err) *err = slurp(e);
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

struct Wav {
    int channels = 0;
    std::vector<float> s;
};

Wav readWav(const std::string& path) {
    std::string d = slurp(path);
    Wav w;
    if (d.size() < 44 || d.compare(0, 4, "RIFF") != 0) return w;
    auto u16 = [&](size_t o) { return unsigned(uint8_t(d[o])) | unsigned(uint8_t(d[o + 1])) << 8; };
    w.channels = int(u16(22));
    for (size_t i = 44; i + 1 < d.size(); i += 2) w.s.push_back(float(int16_t(u16(i))) / 32768.0f);
    return w;
}

}  // namespace

TEST(Synth, SameRecipeGivesTheSameBytes) {
    ASSERT_TRUE(fs::exists(kSynth)) << "build the synth tool first";
    std::string d = tmpDir();
    for (const char* ext : {".ogg", ".wav"}) {
        for (const char* recipe : {"chime.snd", "loop.snd"}) {
            if (std::string(ext) == ".wav" && std::string(recipe) == "loop.snd") continue;  // slow, same code
            SCOPED_TRACE(std::string(recipe) + ext);
            std::string a = d + "a" + ext, b = d + "b" + ext;
            ASSERT_EQ(run(kSynth + " " + kFixtures + recipe + " -o " + a), 0);
            ASSERT_EQ(run(kSynth + " " + kFixtures + recipe + " -o " + b), 0);
            std::string x = slurp(a), y = slurp(b);
            EXPECT_GT(x.size(), 1000u);
            EXPECT_TRUE(x == y) << "output differs between two runs";
        }
    }
}

TEST(Synth, EffectIsCleanAtBothEnds) {
    std::string out = tmpDir() + "chime.wav";
    ASSERT_EQ(run(kSynth + " " + kFixtures + "chime.snd -o " + out), 0);
    Wav w = readWav(out);
    ASSERT_EQ(w.channels, 1);
    ASSERT_GT(w.s.size(), 4410u);
    float peak = 0;
    double sum = 0;
    for (float v : w.s) {
        peak = std::max(peak, std::fabs(v));
        sum += v;
    }
    EXPECT_LT(peak, 0.95f) << "no clipping";
    EXPECT_GT(peak, 0.3f) << "not silent";
    EXPECT_LT(std::fabs(sum / w.s.size()), 0.005) << "no DC";
    // no click at the start or the end
    EXPECT_LT(std::fabs(w.s.front()), 0.01f);
    EXPECT_LT(std::fabs(w.s.back()), 0.01f);
}

TEST(Synth, MusicLoopsWithoutAJumpAtTheSeam) {
    std::string out = tmpDir() + "loop.wav";
    ASSERT_EQ(run(kSynth + " " + kFixtures + "loop.snd -o " + out), 0);
    Wav w = readWav(out);
    ASSERT_EQ(w.channels, 2);
    size_t frames = w.s.size() / 2;
    // 4 bars at 160 bpm
    EXPECT_NEAR(double(frames) / 44100.0, 4 * 4 * 60.0 / 160.0, 0.001);
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        std::vector<float> steps;
        for (size_t i = 1; i < frames; ++i) steps.push_back(std::fabs(w.s[i * 2 + c] - w.s[(i - 1) * 2 + c]));
        std::sort(steps.begin(), steps.end());
        float p999 = steps[steps.size() * 999 / 1000];
        float seam = std::fabs(w.s[c] - w.s[(frames - 1) * 2 + c]);
        EXPECT_LE(seam, p999) << "the loop point jumps more than the music itself does";
        // the reverb and the held notes carry over the seam: the level just
        // before and just after it is alike
        size_t n = 2205;  // 50 ms
        double endE = 0, startE = 0;
        for (size_t i = 0; i < n; ++i) {
            startE += w.s[i * 2 + c] * w.s[i * 2 + c];
            endE += w.s[(frames - n + i) * 2 + c] * w.s[(frames - n + i) * 2 + c];
        }
        EXPECT_GT(startE, 0.02 * endE);
        EXPECT_GT(endE, 0.02 * startE);
    }
}

TEST(Synth, BadRecipeFailsNamingTheRecipe) {
    struct Case {
        const char* recipe;
        const char* mentions;
    };
    for (Case c : {Case{"typo.snd", "typo.snd:1: unknown key 'amplitude'"},
                   Case{"badnote.snd", "badnote.snd:1: bad note 'H5'"},
                   Case{"missing.snd", "missing.snd: cannot open recipe"}}) {
        SCOPED_TRACE(c.recipe);
        std::string out = tmpDir() + "bad.ogg";
        std::remove(out.c_str());
        std::string err;
        EXPECT_NE(run(kSynth + " " + kFixtures + c.recipe + " -o " + out, nullptr, &err), 0);
        EXPECT_NE(err.find(c.mentions), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(out)) << "no half-written output";
    }
}

// ---------------------------------------------------------------------------
// The generated content against the sound table.

namespace {

struct TableFile {
    std::string group, name, file;
};

std::vector<TableFile> tableFiles() {
    std::vector<TableFile> out;
    TRCMFile f;
    f.Load(std::string(BRIMBLE_GAME_DIR) + "/data/globalSnd.dat");
    for (const char* g : {"sounds", "jingles", "music"}) {
        TRCMGroupPtr grp = f.getGroup({g});
        if (!grp) continue;
        for (auto& s : grp->_listaGrup) {
            TRCMEntryPtr e = s->getEntry("file");
            out.push_back({g, s->_id, e && !e->_value.empty() ? e->_value[0] : ""});
        }
    }
    return out;
}

// Loads always succeed and channels are handed out, so the manager's only
// complaints are about names.
class AcceptingOutput : public TSoundOutput {
public:
    int clock = 0, next = 1;
    SoundPtr load(const std::string& path, int flags) override {
        auto s = std::make_shared<TSound>();
        s->path = path;
        s->flags = flags;
        return s;
    }
    Channel cue(const SoundPtr&) override { return next++; }
    void resume(Channel) override {}
    void pause(Channel) override {}
    void stop(Channel) override {}
    void setVolume(Channel, float) override {}
    bool playing(Channel) override { return false; }
    int now() override { return clock += 500; }
};

}  // namespace

TEST(SoundTable, EveryFileExistsAndDecodes) {
    std::vector<TableFile> files = tableFiles();
    ASSERT_GE(files.size(), 40u);
    std::string list;
    for (const TableFile& t : files) {
        SCOPED_TRACE(t.group + "::" + t.name);
        ASSERT_FALSE(t.file.empty());
        std::string p = std::string(BRIMBLE_GAME_DIR) + "/" + t.file;
        EXPECT_TRUE(fs::exists(p)) << p << " (generated by the content target)";
        if (list.find(" " + p + " ") == std::string::npos) list += " " + p + " ";
    }
    std::string out, err;
    ASSERT_EQ(run(kSynth + " --check" + list, &out, &err), 0) << err;
    // one line of figures a file
    std::istringstream lines(out);
    std::string line;
    int n = 0;
    auto field = [](const std::string& l, const std::string& k) {
        size_t p = l.find("\"" + k + "\":");
        return p == std::string::npos ? NAN : std::atof(l.c_str() + p + k.size() + 3);
    };
    while (std::getline(lines, line)) {
        ++n;
        SCOPED_TRACE(line);
        EXPECT_LT(field(line, "peak"), 0.99) << "clipping";
        EXPECT_LT(std::fabs(field(line, "dc")), 0.005) << "DC offset";
        EXPECT_EQ(field(line, "rate"), 44100);
        if (line.find(std::string(BRIMBLE_GAME_DIR) + "/music/") != std::string::npos) {
            EXPECT_EQ(field(line, "channels"), 2);
            EXPECT_GE(field(line, "seconds"), 29.9);
            EXPECT_LE(field(line, "seconds"), 60.0);
            EXPECT_LE(field(line, "seam_jump"), std::max(0.02, 1.5 * field(line, "step_p99")));
            EXPECT_GT(field(line, "rms_db"), -24);
            // tracks follow each other: alike in loudness, so none jumps out
            EXPECT_NEAR(field(line, "lufs"), -16, 2.5);
            // the level across the loop point changes no more than it does
            // at the music's own busier moments
            EXPECT_LE(std::fabs(field(line, "seam_level_db")), field(line, "level_step_p90_db") + 2.0);
            // warm, not fizzy: little of the sound lies above 3 kHz
            EXPECT_LT(field(line, "high_share_db"), -18);
        } else {
            EXPECT_LT(field(line, "start"), 0.1) << "starts with a click";
            EXPECT_LT(field(line, "end"), 0.01) << "ends with a click";
        }
    }
    EXPECT_GT(n, 40);
}

TEST(SoundTable, EverySoundTheGameAsksForIsInTheTable) {
    auto out = std::make_shared<AcceptingOutput>();
    TGlobalSnd snd(out);
    testing::internal::CaptureStderr();
    snd.setup("data/globalSnd.dat", std::string(BRIMBLE_GAME_DIR) + "/");
    snd.click();
    snd.playHover();
    snd.playLevelBegin();
    snd.playTileBreak();
    snd.playChipMove();
    snd.playDestroyChip();
    for (int n = 1; n <= 3; ++n) {
        snd.playCROSSFIRE(n);
        snd.playBOMB(n);
    }
    snd.playBadMatch();
    snd.playPuzzleMatched();
    snd.playPuzzleClick();
    snd.playCreateBonus();
    snd.playChainBreak();
    snd.playAddToChain();
    snd.playHammer();
    snd.playMagic(1);
    snd.playMagic(2);
    snd.playShuffle(1);
    snd.playShuffle(2);
    for (int n = 1; n <= 6; ++n) snd.playPowerUpCharged(n);
    snd.playEmitter();
    for (const char* name : {"level-begin", "shuffle1", "shuffle2", "magic1", "magic2", "whoosh", "page-turn",
                             "dress-up", "piece-land", "firework", "result-pop", "logo"})
        snd.playSound(name);
    // the caption pictures
    for (const char* c : {"excellent", "go", "great", "level_complited", "matched", "noMatch", "ready",
                          "spectacular", "terrific", "times_up"})
        snd.playCaption(c);
    for (const char* m : {"title-screen", "main menu", "main-menu", "story", "owner-scene", "jigsaw", "win"})
        snd.playMyMusic(m);
    for (int i = 0; i < 4; ++i) {
        snd.shutDownMusic();
        snd.update();
        snd.playLevelMusic();
    }
    snd.playWINMusic();
    snd.playLOSEMusic();
    snd.update();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "");
}

TEST(SoundTable, NullBackendPlaysEverythingSilentlyWithoutComplaints) {
    InstallBackend(nullptr);  // the null backend: every load answers nothing
    TGlobalSnd snd;
    testing::internal::CaptureStderr();
    snd.setup("data/globalSnd.dat", std::string(BRIMBLE_GAME_DIR) + "/");
    snd.setMusicVolume(0.5f);
    snd.playMyMusic("title-screen");
    for (int frame = 0; frame < 120; ++frame) {
        snd.click();
        snd.playChipMove();
        snd.playBOMB(frame % 3 + 1);
        if (frame == 30) snd.playLevelMusic();
        if (frame == 60) snd.playWINMusic();
        if (frame == 90) snd.stopAllSounds();
        if (frame == 100) snd.resumeAllSounds();
        Backend().advanceClock(1000.0 / 60.0);
        snd.update();
    }
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "");
    EXPECT_EQ(snd.currentMusic(), "win");
}

TEST(SoundTable, EverySoundStartsOnTheHeadlessBackend) {
    // The headless backend reads each file's length and runs its channels on
    // the virtual clock: every effect and every track must start there.
    InstallBackend(MakeHeadlessBackend());
    TGlobalSnd snd;
    testing::internal::CaptureStderr();
    snd.setup("data/globalSnd.dat", std::string(BRIMBLE_GAME_DIR) + "/");
    std::vector<std::string> names;
    for (const TableFile& t : tableFiles())
        if (t.group == "sounds") names.push_back(t.name);
    ASSERT_GT(names.size(), 40u);
    for (const std::string& n : names) {
        Backend().advanceClock(500);  // beyond every retrigger gap
        EXPECT_NE(snd.playSound(n), 0) << n;
    }
    for (const TableFile& t : tableFiles()) {
        if (t.group != "music") continue;
        snd.playMyMusic(t.name);
        for (int i = 0; i < 90; ++i) {
            Backend().advanceClock(1000.0 / 60.0);
            snd.update();
        }
        EXPECT_EQ(snd.currentMusic(), t.name);
        EXPECT_FLOAT_EQ(snd.musicLevel(t.name), 1.0f) << t.name;
    }
    snd.shutDownMusic();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "");
    InstallBackend(nullptr);
}

TEST(SoundTable, EverySoundDecodesThroughTheMixer) {
    // The real SDL backend on SDL's dummy audio driver decodes each file as
    // the game will (effects with SDL_mixer on its worker once a frame is
    // out, music streamed from the file); every one must come to play.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    InstallBackend(MakeSdlBackend());
    std::vector<std::pair<std::string, SoundPtr>> loaded;
    for (const TableFile& t : tableFiles()) {
        SoundPtr s = LoadSound(std::string(BRIMBLE_GAME_DIR) + "/" + t.file, t.group == "music" ? 1 : 0);
        EXPECT_TRUE(s != nullptr) << t.file;
        if (s) loaded.emplace_back(t.file, s);
    }
    EXPECT_GT(loaded.size(), 40u);
    Flip(1);  // the first frame: the worker may decode now
    for (const auto& [file, s] : loaded) {
        Channel ch = 0;
        // Up to 10 s, so a file that never decodes fails instead of hanging.
        for (int i = 0; i < 1000 && (ch = PlaySound(s)) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_NE(ch, 0) << file;
        EXPECT_TRUE(ChannelPlaying(ch)) << file;
        StopChannel(ch);
    }
    InstallBackend(nullptr);
}
