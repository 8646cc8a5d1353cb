#include "platform/sdl/SdlMusicStreams.h"

#include <SDL_mixer.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

struct TSdlMusicStreams::Stream {
    Channel handle = 0;
    OggVorbis_File vf{};
    bool open = false;
    SDL_AudioStream* convert = nullptr;  // file's rate and channels to the device's
    int volume = SDL_MIX_MAXVOLUME;
    bool paused = false, loops = false;
    bool atEnd = false;   // the file is read to its end (and will not loop)
    bool ended = false;   // and everything of it has been mixed
    ~Stream() {
        if (convert) SDL_FreeAudioStream(convert);
        if (open) ov_clear(&vf);
    }
};

TSdlMusicStreams::TSdlMusicStreams() = default;

TSdlMusicStreams::~TSdlMusicStreams() {
    unhook();
}

void TSdlMusicStreams::setFormat(int freq, Uint16 format, int channels) {
    std::lock_guard<std::mutex> lock(mutex_);
    freq_ = freq;
    format_ = format;
    channels_ = channels;
}

void TSdlMusicStreams::hook() {
    Mix_HookMusic(&TSdlMusicStreams::hookCallback, this);
    hooked_ = true;
}

void TSdlMusicStreams::unhook() {
    if (hooked_) Mix_HookMusic(nullptr, nullptr);  // waits for a running callback
    hooked_ = false;
}

void SDLCALL TSdlMusicStreams::hookCallback(void* self, Uint8* stream, int len) {
    static_cast<TSdlMusicStreams*>(self)->mix(stream, len);
}

bool TSdlMusicStreams::start(Channel handle, const std::string& path, bool loops, bool paused) {
    auto s = std::make_unique<Stream>();
    s->handle = handle;
    s->loops = loops;
    s->paused = paused;
    // Opening reads the headers only; the samples come as they are mixed.
    if (ov_fopen(path.c_str(), &s->vf) != 0) {
        std::fprintf(stderr, "globalSnd: cannot play %s (not Ogg Vorbis)\n", path.c_str());
        return false;
    }
    s->open = true;
    const vorbis_info* info = ov_info(&s->vf, -1);
    if (!info || info->channels <= 0 || info->rate <= 0) {
        std::fprintf(stderr, "globalSnd: cannot play %s (no audio stream)\n", path.c_str());
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    s->convert = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(info->channels), static_cast<int>(info->rate),
                                    format_, static_cast<Uint8>(channels_), freq_);
    if (!s->convert) {
        std::fprintf(stderr, "globalSnd: cannot play %s (%s)\n", path.c_str(), SDL_GetError());
        return false;
    }
    streams_.push_back(std::move(s));
    return true;
}

TSdlMusicStreams::Stream* TSdlMusicStreams::find(Channel handle) {
    for (auto& s : streams_)
        if (s->handle == handle) return s.get();
    return nullptr;
}

bool TSdlMusicStreams::has(Channel handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    return find(handle) != nullptr;
}

void TSdlMusicStreams::pause(Channel handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Stream* s = find(handle)) s->paused = true;
}

void TSdlMusicStreams::resume(Channel handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Stream* s = find(handle)) s->paused = false;
}

void TSdlMusicStreams::stop(Channel handle) {
    std::unique_ptr<Stream> gone;  // closed outside the lock
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = streams_.begin(); it != streams_.end(); ++it)
        if ((*it)->handle == handle) {
            gone = std::move(*it);
            streams_.erase(it);
            break;
        }
}

void TSdlMusicStreams::setVolume(Channel handle, float volume) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Stream* s = find(handle))
        s->volume = static_cast<int>(std::lround(std::clamp(volume, 0.0f, 1.0f) * SDL_MIX_MAXVOLUME));
}

bool TSdlMusicStreams::playing(Channel handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Stream* s = find(handle);
    return s && !s->ended;
}

int TSdlMusicStreams::count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(streams_.size());
}

void TSdlMusicStreams::mix(Uint8* out, int len) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (len <= 0) return;
    buffer_.resize(static_cast<size_t>(len));
    const int bigEndian = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0;
    char pcm[4096];
    for (auto& sp : streams_) {
        Stream& s = *sp;
        if (s.paused || s.ended) continue;
        int got = 0;
        int idle = 0;  // decoder calls that gave nothing, so a broken file cannot spin
        while (got < len) {
            const int n = SDL_AudioStreamGet(s.convert, buffer_.data() + got, len - got);
            if (n > 0) {
                got += n;
                continue;
            }
            if (s.atEnd || n < 0) {
                s.ended = true;
                break;
            }
            int section = 0;
            const long r = ov_read(&s.vf, pcm, sizeof pcm, bigEndian, 2, 1, &section);
            if (r > 0) {
                idle = 0;
                SDL_AudioStreamPut(s.convert, pcm, static_cast<int>(r));
            } else if (r == OV_HOLE) {
                if (++idle > 64) s.atEnd = true;  // a damaged stretch: skipped
            } else if (r == 0 && s.loops && ++idle <= 2) {
                ov_pcm_seek(&s.vf, 0);  // the track starts over
            } else {
                s.atEnd = true;  // the end (or an error): what is converted still plays
                SDL_AudioStreamFlush(s.convert);
            }
        }
        if (got > 0 && s.volume > 0) SDL_MixAudioFormat(out, buffer_.data(), format_, static_cast<Uint32>(got), s.volume);
    }
}
