// Sound with a device: music is read from its Ogg file as it is mixed (each
// track its own decoder, so two can cross-fade), and effects stay compressed
// in memory, decoded as they are mixed by a decoder the audio thread opens.
// SDL's dummy audio driver stands in for a sound card.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/SdlBackend.h"
#include "platform/sdl/SdlMusicStreams.h"

namespace {

namespace fs = std::filesystem;

const std::string kGame = BRIMBLE_GAME_DIR;
const std::string kTrack = kGame + "/music/level1.ogg";
const std::string kEffect = kGame + "/snd/click.ogg";

bool haveFiles() {
    return fs::exists(kTrack) && fs::exists(kEffect);
}

double secondsOf(const std::string& path) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return -1;
    const double s = ov_time_total(&vf, -1);
    ov_clear(&vf);
    return s;
}

// Mixes one buffer (1024 stereo 16-bit frames) into silence; true when any
// sample came out non-zero.
bool mixesSound(TSdlMusicStreams& music) {
    std::vector<Uint8> out(4096, 0);
    music.mix(out.data(), static_cast<int>(out.size()));
    for (Uint8 b : out)
        if (b != 0) return true;
    return false;
}

// Waits (up to 10 s, so a broken worker fails instead of hanging) for a condition.
template <class F>
bool eventually(F done) {
    for (int i = 0; i < 1000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("brimble_audio_" + std::to_string(::getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

TEST(MusicStreams, ATrackIsHeardOnlyWhilePlayingUnpausedAndAboveSilence) {
    if (!haveFiles()) GTEST_SKIP() << "no generated sounds yet";
    TSdlMusicStreams music;
    music.setFormat(44100, AUDIO_S16SYS, 2);
    ASSERT_TRUE(music.start(7, kTrack, true, true));
    struct Step {
        const char* what;
        void (*act)(TSdlMusicStreams&);
        bool heard;
    } steps[] = {
        {"cued paused", [](TSdlMusicStreams&) {}, false},
        {"resumed", [](TSdlMusicStreams& m) { m.resume(7); }, true},
        {"volume 0", [](TSdlMusicStreams& m) { m.setVolume(7, 0); }, false},
        {"volume back", [](TSdlMusicStreams& m) { m.setVolume(7, 0.5f); }, true},
        {"paused", [](TSdlMusicStreams& m) { m.pause(7); }, false},
        {"another handle resumed", [](TSdlMusicStreams& m) { m.resume(8); }, false},
        {"resumed again", [](TSdlMusicStreams& m) { m.resume(7); }, true},
        {"stopped", [](TSdlMusicStreams& m) { m.stop(7); }, false},
    };
    for (const Step& s : steps) {
        s.act(music);
        // Skip the track's quiet opening: a few buffers in.
        bool heard = false;
        for (int i = 0; i < 8; ++i) heard = mixesSound(music) || heard;
        EXPECT_EQ(heard, s.heard) << s.what;
    }
    EXPECT_FALSE(music.has(7));
    EXPECT_FALSE(music.playing(7));
}

TEST(MusicStreams, TwoTracksAtOnceEachWithItsOwnDecoder) {
    if (!haveFiles()) GTEST_SKIP() << "no generated sounds yet";
    TSdlMusicStreams both, one;
    for (TSdlMusicStreams* m : {&both, &one}) m->setFormat(44100, AUDIO_S16SYS, 2);
    ASSERT_TRUE(both.start(1, kTrack, true, false));
    ASSERT_TRUE(both.start(2, kGame + "/music/level2.ogg", true, false));
    ASSERT_TRUE(one.start(1, kTrack, true, false));
    EXPECT_EQ(both.count(), 2);
    // The first track alone, then with the second faded out: the same samples.
    both.setVolume(2, 0);
    std::vector<Uint8> a(44100, 0), b(44100, 0);
    both.mix(a.data(), static_cast<int>(a.size()));
    one.mix(b.data(), static_cast<int>(b.size()));
    EXPECT_EQ(a, b);
    // The second brought up: the mix differs from the first alone.
    both.setVolume(2, 1);
    std::fill(a.begin(), a.end(), 0);
    std::fill(b.begin(), b.end(), 0);
    both.mix(a.data(), static_cast<int>(a.size()));
    one.mix(b.data(), static_cast<int>(b.size()));
    EXPECT_NE(a, b);
}

TEST(MusicStreams, ATrackEndsAfterItsLengthUnlessItLoops) {
    if (!haveFiles()) GTEST_SKIP() << "no generated sounds yet";
    const double seconds = secondsOf(kEffect);
    ASSERT_GT(seconds, 0);
    for (bool loops : {false, true}) {
        TSdlMusicStreams music;
        music.setFormat(22050, AUDIO_S16SYS, 1);  // converted to the device's rate and channels
        ASSERT_TRUE(music.start(3, kEffect, loops, false));
        const double bufferSeconds = 1024.0 / 22050;  // 2048 bytes of mono 16-bit
        const int limit = static_cast<int>(3 * seconds / bufferSeconds) + 3;
        int buffers = 0;
        std::vector<Uint8> out(2048);
        while (music.playing(3) && buffers < limit) {
            music.mix(out.data(), static_cast<int>(out.size()));
            ++buffers;
        }
        if (loops) {
            EXPECT_TRUE(music.playing(3)) << "a looping track goes on";
            EXPECT_TRUE(music.has(3));
        } else {
            EXPECT_FALSE(music.playing(3));
            EXPECT_TRUE(music.has(3)) << "ended, but still known until stopped";
            EXPECT_NEAR(buffers * bufferSeconds, seconds, 2 * bufferSeconds);
        }
    }
}

TEST(MusicStreams, AFileThatIsNotOggVorbisIsRefused) {
    TempDir dir;
    const std::string fake = (dir.path / "fake.ogg").string();
    std::ofstream(fake) << "OggS and then nothing that decodes";
    TSdlMusicStreams music;
    for (const std::string& path : {fake, (dir.path / "missing.ogg").string()}) {
        EXPECT_FALSE(music.start(5, path, true, false)) << path;
        EXPECT_FALSE(music.has(5)) << path;
    }
    EXPECT_EQ(music.count(), 0);
}

std::shared_ptr<const std::vector<uint8_t>> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::make_shared<const std::vector<uint8_t>>(std::istreambuf_iterator<char>(in),
                                                        std::istreambuf_iterator<char>());
}

// Mixes buffers of `bytes` bytes while the handle plays (at most `limit`),
// appending what came out; returns the number of buffers.
int mixWhilePlaying(TSdlMusicStreams& m, Channel h, size_t bytes, int limit, std::vector<Uint8>& all) {
    int n = 0;
    std::vector<Uint8> out(bytes);
    while (m.playing(h) && n < limit) {
        std::fill(out.begin(), out.end(), 0);
        m.mix(out.data(), static_cast<int>(out.size()));
        all.insert(all.end(), out.begin(), out.end());
        ++n;
    }
    return n;
}

TEST(MusicStreams, AnEffectFromMemorySoundsLikeItsFileAndIsForgottenWhenItEnds) {
    if (!haveFiles()) GTEST_SKIP() << "no generated sounds yet";
    const double seconds = secondsOf(kEffect);
    ASSERT_GT(seconds, 0);
    const double bufferSeconds = 1024.0 / 44100;
    const int limit = static_cast<int>(3 * seconds / bufferSeconds) + 3;
    TSdlMusicStreams fromFile, fromMemory;
    for (TSdlMusicStreams* m : {&fromFile, &fromMemory}) m->setFormat(44100, AUDIO_S16SYS, 2);
    ASSERT_TRUE(fromFile.start(4, kEffect, false, false));
    fromMemory.startBytes(4, bytesOf(kEffect), false, false);
    EXPECT_TRUE(fromMemory.playing(4)) << "playing from the start, before its decoder is open";
    std::vector<Uint8> a, b;
    mixWhilePlaying(fromFile, 4, 4096, limit, a);
    const int buffers = mixWhilePlaying(fromMemory, 4, 4096, limit, b);
    EXPECT_NEAR(buffers * bufferSeconds, seconds, 2 * bufferSeconds);
    EXPECT_EQ(a, b) << "the same samples as the file's";
    EXPECT_TRUE(std::any_of(b.begin(), b.end(), [](Uint8 v) { return v != 0; }));
    EXPECT_FALSE(fromMemory.has(4)) << "an effect that ended is let go";
    EXPECT_EQ(fromMemory.count(), 0);
    EXPECT_TRUE(fromFile.has(4)) << "a track is known until stopped";
}

TEST(MusicStreams, EffectsFromMemoryLoopPauseAndEndWhenBroken) {
    if (!haveFiles()) GTEST_SKIP() << "no generated sounds yet";
    const double seconds = secondsOf(kEffect);
    const int beyond = static_cast<int>(3 * seconds * 44100 / 1024) + 3;
    TSdlMusicStreams m;
    m.setFormat(44100, AUDIO_S16SYS, 2);
    m.startBytes(1, bytesOf(kEffect), true, false);  // loops
    m.startBytes(2, bytesOf(kEffect), false, true);  // cued paused
    m.startBytes(3,
                 std::make_shared<const std::vector<uint8_t>>(std::vector<uint8_t>{'O', 'g', 'g', 'S', 1, 2}),
                 false, false);
    m.startBytes(4, nullptr, false, false);
    EXPECT_FALSE(m.playing(4)) << "nothing to play";
    std::vector<Uint8> all;
    mixWhilePlaying(m, 1, 4096, beyond, all);
    EXPECT_TRUE(m.playing(1)) << "a looping effect goes on past its length";
    EXPECT_TRUE(m.playing(2)) << "a paused effect waits";
    EXPECT_FALSE(m.playing(3)) << "bytes that do not decode end at once";
    EXPECT_FALSE(m.has(3));
    EXPECT_FALSE(m.has(4)) << "nothing to play, nothing kept";
    m.stop(1);
    std::vector<Uint8> out(4096, 0);
    m.mix(out.data(), static_cast<int>(out.size()));
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](Uint8 v) { return v == 0; }))
        << "only the paused one left";
    m.resume(2);
    bool heard = false;
    for (int i = 0; i < 8; ++i) heard = mixesSound(m) || heard;
    EXPECT_TRUE(heard);
}

TEST(SdlBackendSound, EffectsPlayAtOnceMusicStreamsAndStops) {
    if (!haveFiles()) GTEST_SKIP() << "no generated sounds yet";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::unique_ptr<TBackend> backend = MakeSdlBackend();
    TSound effect, track;
    effect.data = backend->loadSound(kEffect, 0);
    track.data = backend->loadSound(kTrack, 1);
    track.flags = 1;
    ASSERT_TRUE(effect.data && track.data);
    // No device opened: the dummy driver is missing from this SDL build.
    const Channel music = backend->playSound(track, false);
    if (music == 0) GTEST_SKIP() << "no dummy audio device";
    EXPECT_TRUE(backend->channelPlaying(music));
    // Nothing waits for a decoder: an effect plays before any frame.
    const Channel ch = backend->playSound(effect, false);
    EXPECT_NE(ch, 0);
    EXPECT_NE(ch, music);
    EXPECT_TRUE(backend->channelPlaying(ch));
    EXPECT_TRUE(eventually([&] { return !backend->channelPlaying(ch); })) << "and ends after its length";
    backend->setChannelVolume(music, 0.25f);
    backend->pauseChannel(music);
    EXPECT_TRUE(backend->channelPlaying(music)) << "paused is still playing";
    backend->stopChannel(music);
    EXPECT_FALSE(backend->channelPlaying(music));
    // A file that is no sound at all is refused at once.
    TempDir dir;
    const std::string text = (dir.path / "notes.txt").string();
    std::ofstream(text) << "not a sound";
    EXPECT_EQ(backend->loadSound(text, 0), nullptr);
    EXPECT_EQ(backend->loadSound(text, 1), nullptr);
}

}  // namespace
