#include "platform/sdl/SdlMusicStreams.h"

#include <SDL_mixer.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

struct TSdlMusicStreams::Stream {
    void close() {
        if (convert) SDL_FreeAudioStream(convert);
        convert = nullptr;
        if (open) ov_clear(&vf);
        open = false;
    }
    Channel handle = 0;
    OggVorbis_File vf{};
    bool open = false;
    // A sound played from memory: its bytes, the decoder's read position, and
    // whether the audio thread has still to open the decoder.
    std::shared_ptr<const std::vector<uint8_t>> bytes;
    size_t pos = 0;
    bool toOpen = false;
    bool openFailed = false;
    bool effect = false;                 // started from memory: forgotten once it ends
    SDL_AudioStream* convert = nullptr;  // file's rate and channels to the device's
    int volume = SDL_MIX_MAXVOLUME;
    bool paused = false, loops = false;
    bool atEnd = false;   // the file is read to its end (and will not loop)
    bool ended = false;   // and everything of it has been mixed
    ~Stream() { close(); }
};

namespace {
// vorbisfile's reading callbacks over a stream's bytes in memory.
size_t memRead(void* ptr, size_t size, size_t nmemb, void* src) {
    auto& s = *static_cast<TSdlMusicStreams::Stream*>(src);
    if (size == 0) return 0;
    const size_t left = s.bytes->size() - s.pos;
    const size_t n = std::min(nmemb, left / size);
    std::copy_n(s.bytes->data() + s.pos, n * size, static_cast<uint8_t*>(ptr));
    s.pos += n * size;
    return n;
}
int memSeek(void* src, ogg_int64_t offset, int whence) {
    auto& s = *static_cast<TSdlMusicStreams::Stream*>(src);
    const auto size = static_cast<ogg_int64_t>(s.bytes->size());
    ogg_int64_t to = offset;
    if (whence == SEEK_CUR) to += static_cast<ogg_int64_t>(s.pos);
    if (whence == SEEK_END) to += size;
    if (to < 0 || to > size) return -1;
    s.pos = static_cast<size_t>(to);
    return 0;
}
long memTell(void* src) {
    return static_cast<long>(static_cast<TSdlMusicStreams::Stream*>(src)->pos);
}
}  // namespace

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

void TSdlMusicStreams::startBytes(Channel handle, std::shared_ptr<const std::vector<uint8_t>> bytes,
                                  bool loops, bool paused) {
    auto s = std::make_shared<Stream>();
    s->handle = handle;
    s->loops = loops;
    s->paused = paused;
    s->bytes = std::move(bytes);
    s->effect = true;
    s->toOpen = s->bytes != nullptr;
    s->ended = !s->toOpen;
    std::lock_guard<std::mutex> lock(mutex_);
    streams_.push_back(std::move(s));
}

// On the audio thread, outside the lock: no other thread touches a stream's
// decoder.
bool TSdlMusicStreams::openBytes(Stream& s, Uint16 format, int channels, int freq) {
    const ov_callbacks io{memRead, memSeek, nullptr, memTell};
    if (!s.bytes || ov_open_callbacks(&s, &s.vf, nullptr, 0, io) != 0) return false;
    s.open = true;
    const vorbis_info* info = ov_info(&s.vf, -1);
    if (!info || info->channels <= 0 || info->rate <= 0) return false;
    s.convert = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(info->channels),
                                   static_cast<int>(info->rate), format, static_cast<Uint8>(channels), freq);
    return s.convert != nullptr;
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
    std::shared_ptr<Stream> gone;  // closed outside the lock
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
    if (len <= 0) return;
    // Decoders of sounds just started are opened first, without the lock, so
    // the game never waits for them.
    Uint16 format;
    int channels, freq;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        format = format_;
        channels = channels_;
        freq = freq_;
        for (auto& s : streams_)
            if (s->toOpen) opening_.push_back(s);
    }
    for (auto& s : opening_) s->openFailed = !openBytes(*s, format, channels, freq);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& s : opening_) {
            s->toOpen = false;
            if (s->openFailed) s->ended = true;
        }
        opening_.clear();  // a sound stopped meanwhile is closed here
        mixLocked(out, len);
        // Whatever has ended lets go of its decoder: a track's record stays
        // until it is stopped (it is asked about), an effect's goes.
        size_t keep = 0;
        for (auto& sp : streams_) {
            if (sp->ended && !sp->toOpen) {
                if (sp->effect) {
                    finished_.push_back(std::move(sp));
                    continue;
                }
                if (sp->open) finished_.push_back(sp);
            }
            streams_[keep++] = std::move(sp);
        }
        streams_.resize(keep);
    }
    for (auto& sp : finished_) sp->close();  // outside the lock; nothing else reads a stream that has ended
    finished_.clear();
}

void TSdlMusicStreams::mixLocked(Uint8* out, int len) {
    buffer_.resize(static_cast<size_t>(len));
    const int bigEndian = SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0;
    char pcm[4096];
    for (auto& sp : streams_) {
        Stream& s = *sp;
        if (s.paused || s.ended || s.toOpen) continue;
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
