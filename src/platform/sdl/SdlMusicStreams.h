// Sounds played straight from Ogg Vorbis, a little at a time, instead of
// being decoded whole: music from its file (several tracks at once, for a
// cross-fade), effects from their compressed bytes in memory; each playing
// sound has its own decoder, and all are mixed into the sound device through
// SDL_mixer's music hook.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Services.h"

class TSdlMusicStreams {
public:
    TSdlMusicStreams();
    ~TSdlMusicStreams();
    TSdlMusicStreams(const TSdlMusicStreams&) = delete;
    TSdlMusicStreams& operator=(const TSdlMusicStreams&) = delete;

    // The device's format: what mix() produces.
    void setFormat(int freq, Uint16 format, int channels);
    // Mixes the streams into SDL_mixer's output from now on / no longer.
    void hook();
    void unhook();

    // Starts a track under the given handle (volume full). False, with a
    // line on stderr, when the file cannot be opened as Ogg Vorbis.
    bool start(Channel handle, const std::string& path, bool loops, bool paused);
    // Starts a sound held as the bytes of an Ogg Vorbis file. Its decoder is
    // opened by the audio thread (reading the headers costs about a
    // millisecond, which a frame should not pay); a sound that will not
    // decode simply ends.
    void startBytes(Channel handle, std::shared_ptr<const std::vector<uint8_t>> bytes, bool loops,
                    bool paused);
    bool has(Channel handle);
    void pause(Channel handle);
    void resume(Channel handle);
    void stop(Channel handle);
    void setVolume(Channel handle, float volume);  // 0..1
    // Started and not yet at its end (a looping track never ends).
    bool playing(Channel handle);
    int count();

    // Adds `len` bytes of every running stream into `out` (the audio thread
    // calls it through the hook).
    void mix(Uint8* out, int len);

    struct Stream;  // one playing sound and its decoder

private:
    static void SDLCALL hookCallback(void* self, Uint8* stream, int len);
    Stream* find(Channel handle);  // with mutex_ held
    void mixLocked(Uint8* out, int len);  // with mutex_ held
    static bool openBytes(Stream& s, Uint16 format, int channels, int freq);

    std::mutex mutex_;  // between the game and the audio thread
    std::vector<std::shared_ptr<Stream>> streams_;
    std::vector<std::shared_ptr<Stream>> opening_;   // the audio thread's own list of decoders to open
    std::vector<std::shared_ptr<Stream>> finished_;  // and of decoders to close
    std::vector<Uint8> buffer_;
    int freq_ = 44100, channels_ = 2;
    Uint16 format_ = AUDIO_S16SYS;
    bool hooked_ = false;
};
