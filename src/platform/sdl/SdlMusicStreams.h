// Music played straight from its Ogg Vorbis file, a little at a time, instead
// of being decoded whole when it starts: several tracks at once (for a
// cross-fade), each with its own decoder, mixed into the sound device through
// SDL_mixer's music hook.
#pragma once

#include <SDL.h>

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

private:
    struct Stream;
    static void SDLCALL hookCallback(void* self, Uint8* stream, int len);
    Stream* find(Channel handle);  // with mutex_ held

    std::mutex mutex_;  // between the game and the audio thread
    std::vector<std::unique_ptr<Stream>> streams_;
    std::vector<Uint8> buffer_;
    int freq_ = 44100, channels_ = 2;
    Uint16 format_ = AUDIO_S16SYS;
    bool hooked_ = false;
};
