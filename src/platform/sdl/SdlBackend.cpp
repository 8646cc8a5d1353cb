// SDL2 backends: the windowed one and the headless one share everything but
// the render target, the clock, the event source and the audio device.
#include "platform/sdl/SdlBackend.h"
#include "platform/sdl/TX11WindowIcon.h"
#include "platform/sdl/TX11WindowWatch.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/FrameRecorder.h"
#include "platform/sdl/SdlMusicStreams.h"

namespace {

const char* const kBuiltinFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr int kBuiltinFontSize = 13;
constexpr double kFrameMs = 1000.0 / 60.0;

// Called before a window backend's texture is destroyed, so drawing calls
// still waiting for the frame's end that name it are carried out first.
void sdlTextureGoing();

struct TSdlTexture final : TTexture {
    SDL_Texture* tex = nullptr;
    SDL_Texture* masked = nullptr;  // alpha-tested copy for the mask blend, made on demand
    bool maskTried = false;
    bool binaryAlpha = false;  // every texel fully opaque or fully clear
    bool opaque = false;       // every texel fully opaque
    // Pixels read from sourcePath when first drawn, dropped again after a
    // long time unused; false once the picture was changed in memory.
    bool onUse = false;
    bool loadFailed = false;
    uint64_t lastUsed = 0;  // the backend's frame count when last drawn
    std::shared_ptr<bool> rendererAlive;
    ~TSdlTexture() override {
        if (!rendererAlive || !*rendererAlive) return;  // the renderer took them along
        sdlTextureGoing();
        if (masked) SDL_DestroyTexture(masked);
        if (tex) SDL_DestroyTexture(tex);
    }
};

struct TSdlFont final : TImageFontData {
    // The face is open only while glyphs are being made: once the letters a
    // screen shows are cached it is closed (see dropUnused), and opened again
    // from the file for a letter not seen before.
    TTF_Font* font = nullptr;
    std::string path;
    int size = 0, style = 0;
    uint64_t lastUsed = 0;
    int height = 0;
    // Glyphs are rendered once and kept; Latin-1 in a flat table, the rest in a map.
    struct Entry {
        bool ready = false;
        TGlyph glyph;
        std::shared_ptr<TSdlTexture> tex;
    };
    std::array<Entry, 256> low;
    std::unordered_map<uint32_t, Entry> high;
    ~TSdlFont() override {
        low = {};
        high.clear();
        if (font) TTF_CloseFont(font);
    }
};

// With a sound device an Ogg effect stays compressed in memory (`bytes`) and
// is decoded as it is mixed, music is streamed from its file (`streamPath`),
// and a WAV effect is read into a chunk when first played (`wavPath`); without
// one only the length is known, for the channels that run on the clock.
struct TSdlSound final : TSoundData {
    std::shared_ptr<const std::vector<uint8_t>> bytes;
    std::string streamPath;
    std::string wavPath;
    mutable Mix_Chunk* wav = nullptr;
    mutable bool wavTried = false;
    double lengthMs = 0;
    ~TSdlSound() override {
        if (wav) Mix_FreeChunk(wav);
    }
    Mix_Chunk* wavChunk() const {
        if (!wavTried) {
            wavTried = true;
            wav = Mix_LoadWAV(wavPath.c_str());
            if (!wav)
                std::fprintf(stderr, "globalSnd: cannot decode %s (%s)\n", wavPath.c_str(), Mix_GetError());
        }
        return wav;
    }
};

// An effect's file read whole (it is small and stays compressed); null when
// unreadable or larger than an effect should be.
std::shared_ptr<const std::vector<uint8_t>> readEffect(const std::string& path) {
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (!rw) return nullptr;
    const Sint64 size = SDL_RWsize(rw);
    std::shared_ptr<std::vector<uint8_t>> data;
    if (size > 0 && size <= (8 << 20)) {
        data = std::make_shared<std::vector<uint8_t>>(static_cast<size_t>(size));
        if (SDL_RWread(rw, data->data(), 1, data->size()) != data->size()) data.reset();
    }
    SDL_RWclose(rw);
    return data;
}

// How a file starts: 'O' an Ogg file, 'W' a WAV file, 0 anything else (which
// would not decode; a damaged file of either kind ends silently when played).
char soundKind(const std::string& path) {
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (!rw) return 0;
    char magic[4] = {};
    const size_t got = SDL_RWread(rw, magic, 1, 4);
    SDL_RWclose(rw);
    if (got != 4) return 0;
    if (std::memcmp(magic, "OggS", 4) == 0) return 'O';
    if (std::memcmp(magic, "RIFF", 4) == 0) return 'W';
    return 0;
}

// A channel played on the virtual clock (headless, or when no audio device
// could be opened): it ends when its sound's length has elapsed.
struct TVirtualChannel {
    Channel handle = 0;
    double lengthMs = 0;
    bool loops = false;
    bool paused = false;
    double playedMs = 0;
    double resumedAt = 0;
};

// Length of a WAV or Ogg Vorbis file in milliseconds without decoding it to a
// device; false when the file is missing or neither format.
bool soundLength(const std::string& path, double& ms) {
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (!rw) return false;
    const Sint64 size = SDL_RWsize(rw);
    char magic[4] = {};
    SDL_RWread(rw, magic, 1, 4);
    SDL_RWseek(rw, 0, RW_SEEK_SET);
    if (std::string(magic, 4) == "RIFF") {
        SDL_AudioSpec fmt;
        Uint8* buf = nullptr;
        Uint32 len = 0;
        const bool ok = SDL_LoadWAV_RW(rw, 1, &fmt, &buf, &len) != nullptr;
        if (!ok) return false;
        SDL_FreeWAV(buf);
        const int frameBytes = (SDL_AUDIO_BITSIZE(fmt.format) / 8) * std::max<int>(1, fmt.channels);
        ms = 1000.0 * len / std::max(1, frameBytes) / std::max(1, fmt.freq);
        return true;
    }
    if (std::string(magic, 4) != "OggS" || size < 64 || size > (64 << 20)) {
        SDL_RWclose(rw);
        return false;
    }
    std::vector<uint8_t> data(static_cast<size_t>(size));
    const size_t got = SDL_RWread(rw, data.data(), 1, data.size());
    SDL_RWclose(rw);
    data.resize(got);
    // The identification header names the sample rate; the last page's
    // granule position is the number of samples.
    uint32_t rate = 0;
    for (size_t i = 0; i + 16 < data.size() && i < 4096; ++i) {
        if (data[i] == 1 && std::memcmp(&data[i + 1], "vorbis", 6) == 0) {
            rate = data[i + 12] | (data[i + 13] << 8) | (data[i + 14] << 16) | (static_cast<uint32_t>(data[i + 15]) << 24);
            break;
        }
    }
    if (rate == 0) return false;
    for (size_t i = data.size() >= 27 ? data.size() - 27 : 0; i > 0; --i) {
        if (std::memcmp(&data[i], "OggS", 4) == 0) {
            uint64_t granule = 0;
            for (int k = 7; k >= 0; --k) granule = (granule << 8) | data[i + 6 + static_cast<size_t>(k)];
            ms = 1000.0 * static_cast<double>(granule) / rate;
            return true;
        }
    }
    return false;
}

bool allOpaque(const TPixmap& pix) {
    for (size_t i = 3; i < pix.pixels.size(); i += 4)
        if (pix.pixels[i] != 255) return false;
    return true;
}

bool hasBinaryAlpha(const TPixmap& pix) {
    for (size_t i = 3; i < pix.pixels.size(); i += 4) {
        if (pix.pixels[i] != 0 && pix.pixels[i] != 255) return false;
    }
    return true;
}

TPixmap surfaceToPixmap(SDL_Surface* src) {
    TPixmap pix;
    if (!src) return pix;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(src, SDL_PIXELFORMAT_RGBA32, 0);
    if (!s) return pix;
    pix.width = s->w;
    pix.height = s->h;
    pix.pixels.resize(static_cast<size_t>(s->w) * s->h * 4);
    for (int y = 0; y < s->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
        std::copy_n(row, static_cast<size_t>(s->w) * 4, &pix.pixels[static_cast<size_t>(y) * s->w * 4]);
    }
    SDL_FreeSurface(s);
    return pix;
}

// A picture file decoded straight into the textures' format (ARGB8888), the
// mask colour made transparent when flags ask for it: the same pixels as
// PrepareImagePixmap, without its intermediate copies. Null when missing or bad.
SDL_Surface* decodeArgb(const std::string& path, int flags, int maskR, int maskG, int maskB) {
    SDL_Surface* s = IMG_Load(path.c_str());
    if (!s) return nullptr;
    SDL_Surface* a = s;
    if (s->format->format != SDL_PIXELFORMAT_ARGB8888) {
        a = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(s);
        if (!a) return nullptr;
    }
    if (flags & IMG_MASKED) {
        const Uint32 key = (static_cast<Uint32>(maskR & 255) << 16) |
                           (static_cast<Uint32>(maskG & 255) << 8) | static_cast<Uint32>(maskB & 255);
        for (int y = 0; y < a->h; ++y) {
            auto* row = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(a->pixels) +
                                                  static_cast<size_t>(y) * a->pitch);
            for (int x = 0; x < a->w; ++x)
                if ((row[x] & 0x00FFFFFFu) == key) row[x] &= 0x00FFFFFFu;
        }
    }
    return a;
}

// Whether every texel of an ARGB8888 surface is fully opaque, and whether
// every one is either fully opaque or fully clear.
void alphaKinds(const SDL_Surface* a, bool& opaque, bool& binary) {
    opaque = binary = true;
    for (int y = 0; y < a->h && binary; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(a->pixels) +
                                                          static_cast<size_t>(y) * a->pitch);
        for (int x = 0; x < a->w; ++x) {
            const Uint32 al = row[x] >> 24;
            if (al != 255) {
                opaque = false;
                if (al != 0) {
                    binary = false;
                    break;
                }
            }
        }
    }
}

// Presented frames a picture read from a file may go undrawn before its
// texture is dropped (it is read again when next drawn): the pictures of a
// screen left behind stop taking memory, the source pictures of a cached
// backdrop once it is baked.
constexpr uint64_t kUnusedFrames = 240;

class TSdlBackend;
TSdlBackend* g_recordingBackend = nullptr;
// BRIMBLE_CHECK_REPAINT: frames checked and those that differed, repainted
// in part ([0]) and whole with their calls grouped ([1]).
uint64_t g_checked[2] = {0, 0}, g_differed[2] = {0, 0};

class TSdlBackend final : public TBackend {
public:
    explicit TSdlBackend(bool headless) : headless_(headless) {
#if defined(__GLIBC__)
        // Pictures and their decoding come and go in blocks of hundreds of
        // kilobytes: above 128 KB a block is mapped on its own and handed
        // back when freed. The software renderer's 64 KB blocks, taken and
        // given back every frame, stay in the heap: mapping each on its own
        // cost some 50,000 page faults a second while chips fall. The heap
        // keeps up to 1 MB free at its top.
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
#endif
        if (headless_) {
            // No audio device: channels run silently on the virtual clock.
            videoOk_ = false;
        } else {
            videoOk_ = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
            if (!videoOk_) std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        }
        IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG);
        ttfOk_ = TTF_Init() == 0;
        if (!headless_) openAudio();
        startCounter_ = SDL_GetPerformanceCounter();
        lastPresent_ = 0;
        if (!headless_) g_recordingBackend = this;
    }

    ~TSdlBackend() override {
        destroyGraphics();
        if (g_recordingBackend == this) g_recordingBackend = nullptr;
        if (audioOk_) {
            music_.unhook();
            Mix_HaltChannel(-1);
            Mix_CloseAudio();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        // SDL_ttf and SDL_image stay initialised: fonts held by the game may
        // be closed after the backend is gone.
        if (videoOk_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }

    const char* name() const override { return headless_ ? "headless" : rendererName_.c_str(); }
    bool headless() const override { return headless_; }

    // -- display -----------------------------------------------------------
    bool openGraphics(int w, int h, int depth, int /*hertz*/, int /*flags*/) override {
        if (w <= 0 || h <= 0) return false;
        recorder_.invalidate();
        // The renderer is made once and kept: every texture belongs to it, so
        // a change of mode resizes the same window (or target) instead.
        if (headless_) {
            if (!surface_) {
                const int sw = std::max(w, desktopWidth()), sh = std::max(h, desktopHeight());
                surface_ = SDL_CreateRGBSurfaceWithFormat(0, sw, sh, 32, SDL_PIXELFORMAT_RGB888);
                if (!surface_) return false;
                renderer_ = SDL_CreateSoftwareRenderer(surface_);
                if (!renderer_) return false;
            }
            if (w > surface_->w || h > surface_->h) return false;
            gw_ = w;
            gh_ = h;
        } else {
            if (!videoOk_) return false;
            if (depth == 0 && (w > desktopWidth() || h > desktopHeight())) return false;
            // Full screen keeps the desktop mode; the logical screen is scaled
            // and letterboxed into it, which avoids a mode switch.
            const Uint32 fs = depth != 0 ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
            if (!window_) {
                window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                                           SDL_WINDOW_ALLOW_HIGHDPI | fs);
                if (!window_) {
                    std::fprintf(stderr, "SDL window %dx%d: %s\n", w, h, SDL_GetError());
                    return false;
                }
                renderer_ =
                    SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
                if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
                if (!renderer_) {
                    std::fprintf(stderr, "SDL renderer: %s\n", SDL_GetError());
                    SDL_DestroyWindow(window_);
                    window_ = nullptr;
                    return false;
                }
                // After the renderer: making it may have replaced the X window.
                TX11WindowWatch::watch(window_);
                applyIcon();
            } else {
                if (SDL_SetWindowFullscreen(window_, fs) != 0) return false;
                if (!fs) {
                    SDL_SetWindowSize(window_, w, h);
                    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
                }
            }
            SDL_ShowCursor(pointerShown_ ? SDL_ENABLE : SDL_DISABLE);
            SDL_GetRendererOutputSize(renderer_, &gw_, &gh_);
            recorder_.setTarget(gw_, gh_);
            warmUp();
            // A frame that changed in a small area only is repainted there
            // alone when the window keeps its last frame between presents.
            // BRIMBLE_FULL_REPAINT=1 paints every changed frame whole (for
            // comparing the two).
            static const bool fullRepaint = std::getenv("BRIMBLE_FULL_REPAINT") != nullptr;
            const bool partial = !fullRepaint && keepsLastFrame();
            recorder_.setPartial(partial);
            keepsFrames_ = partial;
            // BRIMBLE_NO_GROUPING=1 runs the calls in the order they came.
            recorder_.setGrouping(std::getenv("BRIMBLE_NO_GROUPING") == nullptr);
            if (std::getenv("BRIMBLE_FRAME_STATS")) {
                std::fprintf(stderr, "frame-stats partial repaints %s\n", partial ? "on" : "off");
                static const bool registered = [] {
                    std::atexit([] {
                        if (!g_recordingBackend) return;
                        const TFrameRecorder& r = g_recordingBackend->recorder();
                        std::fprintf(stderr,
                                     "frame-stats window frames drawn %llu (in part %llu), skipped %llu; "
                                     "%.1f changes of picture or blend a frame drawn\n",
                                     static_cast<unsigned long long>(r.framesDrawn()),
                                     static_cast<unsigned long long>(r.framesPartial()),
                                     static_cast<unsigned long long>(r.framesSkipped()),
                                     r.framesDrawn() ? static_cast<double>(r.stateChanges()) / r.framesDrawn() : 0.0);
                    });
                    return true;
                }();
                (void)registered;
            }
            SDL_RendererInfo info;
            if (SDL_GetRendererInfo(renderer_, &info) == 0) rendererName_ = std::string("sdl/") + info.name;
        }
        setClip(0, 0, gw_, gh_);
        fill(0, 0, 0);
        return true;
    }

    void closeGraphics() override {}

    void destroyGraphics() {
        // Images may outlive the backend; their textures go with the renderer.
        *alive_ = false;
        recorder_.reset();
        builtin_.reset();
        glyphPages_.clear();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
        if (surface_) SDL_FreeSurface(surface_);
        surface_ = nullptr;
    }

    int graphicsWidth() const override { return renderer_ ? gw_ : 1024; }
    int graphicsHeight() const override { return renderer_ ? gh_ : 768; }
    int desktopWidth() const override {
        SDL_DisplayMode m;
        if (!headless_ && videoOk_ && SDL_GetDesktopDisplayMode(0, &m) == 0) return m.w;
        return 1920;
    }
    int desktopHeight() const override {
        SDL_DisplayMode m;
        if (!headless_ && videoOk_ && SDL_GetDesktopDisplayMode(0, &m) == 0) return m.h;
        return 1080;
    }
    void setWindowTitle(const std::string& title) override {
        title_ = title;
        if (window_) SDL_SetWindowTitle(window_, title.c_str());
    }
    void setWindowIcon(const std::vector<TPixmap>& sizes) override {
        icons_ = sizes;
        applyIcon();
    }
    // SDL takes one picture (the largest up to 256 px: Windows and most
    // window managers scale it down well); on X11 every size is added.
    void applyIcon() {
        if (!window_ || icons_.empty()) return;
        const TPixmap* pick = &icons_[0];
        for (const TPixmap& p : icons_)
            if (pick->width > 256 ? p.width < pick->width : p.width <= 256 && p.width > pick->width) pick = &p;
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(pick->pixels.data()), pick->width,
                                                            pick->height, 32, pick->width * 4,
                                                            SDL_PIXELFORMAT_RGBA32);
        if (s) {
            SDL_SetWindowIcon(window_, s);
            SDL_FreeSurface(s);
        }
        TX11WindowIcon::set(window_, icons_);
    }

    // -- drawing -----------------------------------------------------------
    void setClip(int x, int y, int w, int h) override {
        if (!headless_) {
            recorder_.recordClip(x, y, w, h);
            return;
        }
        doClip(x, y, w, h);
    }
    void doClip(int x, int y, int w, int h) {
        clip_ = SDL_Rect{x, y, w, h};
        if (renderer_) SDL_RenderSetClipRect(renderer_, &clip_);
    }

    void fill(int r, int g, int b) override {
        if (!headless_) {
            recorder_.record(TDrawCall::FILL, static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
            // A fill of the whole window hides everything drawn before it.
            recorder_.dropHidden(true);
            return;
        }
        doFill(r, g, b);
    }
    void doFill(int r, int g, int b) {
        if (!renderer_) return;
        SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(renderer_, static_cast<Uint8>(r), static_cast<Uint8>(g), static_cast<Uint8>(b), 255);
        // Over the whole target a clear does the same for much less than a
        // filled rectangle (which the renderer draws as a quad).
        const int outW = surface_ ? surface_->w : gw_, outH = surface_ ? surface_->h : gh_;
        if (clip_.x <= 0 && clip_.y <= 0 && clip_.x + clip_.w >= outW && clip_.y + clip_.h >= outH)
            SDL_RenderClear(renderer_);
        else
            SDL_RenderFillRect(renderer_, &clip_);
    }

    static SDL_BlendMode sdlBlend(int blend) {
        switch (blend) {
            case SOLIDBLEND: return SDL_BLENDMODE_NONE;
            case LIGHTBLEND: return SDL_BLENDMODE_ADD;
            case SHADEBLEND: return SDL_BLENDMODE_MOD;
            default: return SDL_BLENDMODE_BLEND;  // alpha; mask with an alpha-tested texture
        }
    }

    // The texture that a draw in the given blend mode uses. The mask blend's
    // alpha test has no SDL equivalent: an alpha-thresholded copy drawn with
    // ordinary blending gives the same pixels.
    SDL_Texture* textureFor(const TSdlTexture& t, int blend) {
        if (blend != MASKBLEND || t.binaryAlpha) return t.tex;
        auto& tm = const_cast<TSdlTexture&>(t);
        if (!tm.maskTried) {
            tm.maskTried = true;
            TPixmap pix;
            if (!t.sourcePath.empty()) {
                // Reloaded from the file rather than kept in memory for every image.
                pix = PrepareImagePixmap(t.sourcePath, t.flags, t.maskR, t.maskG, t.maskB);
                if (pix.width != t.texW || pix.height != t.texH) pix = {};
            }
            if (!pix.pixels.empty()) tm.masked = makeTexture(ThresholdAlpha(pix), t.flags);
        }
        return tm.masked ? tm.masked : t.tex;
    }

    void drawQuad(const TTexture* tex, const TQuad& q, uint8_t r, uint8_t g, uint8_t b, uint8_t a,
                  int blend) override {
        if (tex && !resident(const_cast<TSdlTexture&>(static_cast<const TSdlTexture&>(*tex)))) return;
        if (!headless_) {
            TDrawCall& c = recorder_.record(TDrawCall::QUAD, r, g, b, a, blend);
            c.tex = tex;
            c.q = q;
            // An opaque picture over the whole window (a backdrop) hides
            // everything drawn before it.
            recorder_.dropHidden(tex && static_cast<const TSdlTexture*>(tex)->opaque);
            return;
        }
        doQuad(tex, q, r, g, b, a, blend);
    }
    void doQuad(const TTexture* tex, const TQuad& q, uint8_t r, uint8_t g, uint8_t b, uint8_t a, int blend) {
        if (!renderer_) return;
        if (blend == MASKBLEND) {
            // The alpha test drops everything when the current alpha is below one half.
            if (a < 128) return;
            a = 255;
        }
        const bool axisAligned = q.y[0] == q.y[1] && q.y[2] == q.y[3] && q.x[0] == q.x[3] && q.x[1] == q.x[2];
        const SDL_BlendMode mode = sdlBlend(blend);
        if (!tex) {
            SDL_SetRenderDrawBlendMode(renderer_, mode);
            SDL_SetRenderDrawColor(renderer_, r, g, b, a);
            if (axisAligned) {
                SDL_FRect fr{std::min(q.x[0], q.x[1]), std::min(q.y[0], q.y[2]), std::fabs(q.x[1] - q.x[0]),
                             std::fabs(q.y[2] - q.y[0])};
                SDL_RenderFillRectF(renderer_, &fr);
                return;
            }
            geometry(nullptr, q, r, g, b, a);
            return;
        }
        const auto& st = static_cast<const TSdlTexture&>(*tex);
        SDL_Texture* t = textureFor(st, blend);
        if (!t) return;
        SDL_SetTextureBlendMode(t, mode);
        if (axisAligned) {
            SDL_SetTextureColorMod(t, r, g, b);
            SDL_SetTextureAlphaMod(t, a);
            const float u0 = std::min(q.u[0], q.u[1]) * st.texW, u1 = std::max(q.u[0], q.u[1]) * st.texW;
            const float v0 = std::min(q.v[0], q.v[2]) * st.texH, v1 = std::max(q.v[0], q.v[2]) * st.texH;
            SDL_Rect src{static_cast<int>(std::lround(u0)), static_cast<int>(std::lround(v0)),
                         static_cast<int>(std::lround(u1 - u0)), static_cast<int>(std::lround(v1 - v0))};
            if (src.w <= 0 || src.h <= 0) return;
            int flip = SDL_FLIP_NONE;
            if (q.x[1] < q.x[0]) flip |= SDL_FLIP_HORIZONTAL;
            if (q.y[2] < q.y[0]) flip |= SDL_FLIP_VERTICAL;
            SDL_FRect dst{std::min(q.x[0], q.x[1]), std::min(q.y[0], q.y[2]), std::fabs(q.x[1] - q.x[0]),
                          std::fabs(q.y[2] - q.y[0])};
            if (flip == SDL_FLIP_NONE)
                SDL_RenderCopyF(renderer_, t, &src, &dst);
            else
                SDL_RenderCopyExF(renderer_, t, &src, &dst, 0.0, nullptr, static_cast<SDL_RendererFlip>(flip));
            return;
        }
        // Rotated or sheared: two triangles; the vertex colour carries the tint.
        SDL_SetTextureColorMod(t, 255, 255, 255);
        SDL_SetTextureAlphaMod(t, 255);
        geometry(t, q, r, g, b, a);
    }

    void geometry(SDL_Texture* t, const TQuad& q, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        SDL_Vertex v[4];
        for (int i = 0; i < 4; ++i) {
            v[i].position = SDL_FPoint{q.x[i], q.y[i]};
            v[i].color = SDL_Color{r, g, b, a};
            v[i].tex_coord = SDL_FPoint{q.u[i], q.v[i]};
        }
        static const int idx[6] = {0, 1, 2, 0, 2, 3};
        SDL_RenderGeometry(renderer_, t, v, 4, idx, 6);
    }

    void drawLine(float x1, float y1, float x2, float y2, uint8_t r, uint8_t g, uint8_t b, uint8_t a,
                  int blend) override {
        if (!headless_) {
            TDrawCall& c = recorder_.record(TDrawCall::LINE, r, g, b, a, blend);
            c.q.x[0] = x1;
            c.q.y[0] = y1;
            c.q.x[1] = x2;
            c.q.y[1] = y2;
            return;
        }
        doLine(x1, y1, x2, y2, r, g, b, a, blend);
    }
    void doLine(float x1, float y1, float x2, float y2, uint8_t r, uint8_t g, uint8_t b, uint8_t a, int blend) {
        if (!renderer_) return;
        if (blend == MASKBLEND) {
            if (a < 128) return;
            a = 255;
        }
        SDL_SetRenderDrawBlendMode(renderer_, sdlBlend(blend));
        SDL_SetRenderDrawColor(renderer_, r, g, b, a);
        SDL_RenderDrawLineF(renderer_, x1, y1, x2, y2);
    }

    void present(int sync) override {
        if (headless_) {
            if (renderer_) SDL_RenderFlush(renderer_);
            ++frames_;
            if (++presents_ % 60 == 0) dropUnused();
            return;
        }
        if (!renderer_) return;
        if ((sync != 0) != vsync_) {
            vsync_ = sync != 0;
            SDL_RenderSetVSync(renderer_, vsync_ ? 1 : 0);
        }
        // A frame made of exactly the calls of the one on the window already
        // is not drawn again: a still screen costs next to nothing.
        if (recorder_.finishFrame([this](const TDrawCall& c) { execute(c); })) {
            SDL_RenderPresent(renderer_);
            if (keepsFrames_) checkRepaint();
        }
        if (++presents_ % 60 == 0) dropUnused();
        // Where vsync does nothing (virtual displays, some drivers) the frame
        // is paced here so the game neither races nor burns a core.
        paceWaitMs_ = 0;
        if (vsync_) {
            const double now = millisecs();
            const double due = lastPresent_ + kFrameMs;
            if (now < due - 1.0) SDL_Delay(static_cast<Uint32>(due - now));
            const double after = millisecs();
            paceWaitMs_ = after - now;
            lastPresent_ = (after - due > kFrameMs || lastPresent_ == 0) ? after : due;
        }
    }

    double lastPaceWaitMs() const override { return paceWaitMs_; }
    bool wantsDrawing() const override { return !headless_ || drawing_; }
    void setDrawing(bool on) override { drawing_ = on; }

    // -- images ------------------------------------------------------------
    TPixmap decodeImage(const std::string& path) override {
        if (path.empty()) return {};
        SDL_Surface* s = IMG_Load(path.c_str());
        if (!s) return {};
        TPixmap pix = surfaceToPixmap(s);
        SDL_FreeSurface(s);
        return pix;
    }

    // Textures are kept in ARGB8888, the software renderer's own format: any
    // other makes it convert the texture on every rotated draw. The rectangle
    // r of the texture gets the top-left r.w x r.h of the RGBA pixmap,
    // converted and uploaded a band of rows at a time: a whole-screen picture
    // is not copied whole once more on its way.
    static void uploadArgb(SDL_Texture* t, const SDL_Rect& r, const TPixmap& pix) {
        constexpr int kBand = 64;
        std::vector<uint8_t> band(static_cast<size_t>(r.w) * 4 * static_cast<size_t>(std::min(kBand, r.h)));
        for (int y0 = 0; y0 < r.h; y0 += kBand) {
            const int rows = std::min(kBand, r.h - y0);
            for (int y = 0; y < rows; ++y) {
                const uint8_t* src = &pix.pixels[static_cast<size_t>(y0 + y) * pix.width * 4];
                uint8_t* dst = &band[static_cast<size_t>(y) * r.w * 4];
                for (int x = 0; x < r.w; ++x) {
                    dst[4 * x] = src[4 * x + 2];
                    dst[4 * x + 1] = src[4 * x + 1];
                    dst[4 * x + 2] = src[4 * x];
                    dst[4 * x + 3] = src[4 * x + 3];
                }
            }
            const SDL_Rect sub{r.x, r.y + y0, r.w, rows};
            SDL_UpdateTexture(t, &sub, band.data(), r.w * 4);
        }
    }

    SDL_Texture* makeTexture(const TPixmap& pix, int flags) {
        if (!renderer_ || pix.width <= 0 || pix.height <= 0) return nullptr;
        recorder_.invalidate();  // a new texture may sit where a freed one was
        SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, pix.width,
                                           pix.height);
        if (!t) {
            std::fprintf(stderr, "texture %dx%d: %s\n", pix.width, pix.height, SDL_GetError());
            return nullptr;
        }
        uploadArgb(t, SDL_Rect{0, 0, pix.width, pix.height}, pix);
        SDL_SetTextureScaleMode(t, (flags & IMG_FILTERED) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        return t;
    }

    std::shared_ptr<TTexture> createTexture(const TPixmap& pix, int flags) override {
        SDL_Texture* t = makeTexture(pix, flags);
        if (!t) return nullptr;
        auto st = std::make_shared<TSdlTexture>();
        st->rendererAlive = alive_;
        st->tex = t;
        st->texW = pix.width;
        st->texH = pix.height;
        st->frameW = pix.width;
        st->frameH = pix.height;
        st->flags = flags;
        st->binaryAlpha = hasBinaryAlpha(pix);
        st->opaque = allOpaque(pix);
        return st;
    }

    std::shared_ptr<TTexture> loadTextureOnUse(const std::string& path, int flags, int maskR, int maskG,
                                               int maskB) override {
        int w = 0, h = 0;
        if (!renderer_ || !ProbePictureSize(path, w, h)) return nullptr;
        auto st = std::make_shared<TSdlTexture>();
        st->rendererAlive = alive_;
        st->texW = st->frameW = w;
        st->texH = st->frameH = h;
        st->flags = flags;
        st->sourcePath = path;
        st->maskR = maskR;
        st->maskG = maskG;
        st->maskB = maskB;
        st->onUse = true;
        onUse_.push_back(st);
        return st;
    }

    // Makes the texture of a picture read on use; false when it has none.
    bool resident(TSdlTexture& st) {
        st.lastUsed = presents_;
        if (!st.onUse || st.tex) return true;
        if (st.loadFailed || !renderer_) return false;
        SDL_Surface* a = decodeArgb(st.sourcePath, st.flags, st.maskR, st.maskG, st.maskB);
        if (!a || a->w != st.texW || a->h != st.texH) {
            std::fprintf(stderr, "picture %s cannot be read\n", st.sourcePath.c_str());
            if (a) SDL_FreeSurface(a);
            st.loadFailed = true;
            return false;
        }
        recorder_.invalidate();  // a new texture may sit where a freed one was
        SDL_Texture* t =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, a->w, a->h);
        if (t) {
            SDL_UpdateTexture(t, nullptr, a->pixels, a->pitch);
            SDL_SetTextureScaleMode(t,
                                    (st.flags & IMG_FILTERED) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
            SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
            alphaKinds(a, st.opaque, st.binaryAlpha);
        } else {
            std::fprintf(stderr, "texture %dx%d: %s\n", a->w, a->h, SDL_GetError());
            st.loadFailed = true;
        }
        SDL_FreeSurface(a);
        st.tex = t;
        st.masked = nullptr;
        st.maskTried = false;
        return t != nullptr;
    }

    // Drops the textures of pictures read on use that have not been drawn
    // for kUnusedFrames frames, and forgets pictures no longer held.
    void dropUnused() {
        size_t keep = 0;
        for (auto& w : onUse_) {
            auto st = w.lock();
            if (!st || !st->onUse) continue;
            if (st->tex && presents_ - st->lastUsed > kUnusedFrames) {
                textureGoing();  // calls still waiting that name it are carried out first
                if (st->masked) SDL_DestroyTexture(st->masked);
                SDL_DestroyTexture(st->tex);
                st->tex = st->masked = nullptr;
                st->maskTried = false;
            }
            onUse_[keep++] = w;
        }
        onUse_.resize(keep);
        // Faces that made no glyph for as long are closed; their glyphs stay.
        keep = 0;
        for (auto& w : fonts_) {
            auto f = w.lock();
            if (!f) continue;
            if (f->font && presents_ - f->lastUsed > kUnusedFrames) {
                TTF_CloseFont(f->font);
                f->font = nullptr;
            }
            fonts_[keep++] = w;
        }
        fonts_.resize(keep);
    }

    std::shared_ptr<TTexture> createBlankTexture(int w, int h, int flags) override {
        if (!renderer_ || w <= 0 || h <= 0) return nullptr;
        recorder_.invalidate();  // a new texture may sit where a freed one was
        SDL_Texture* t =
            SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, w, h);
        if (!t) {
            std::fprintf(stderr, "texture %dx%d: %s\n", w, h, SDL_GetError());
            return nullptr;
        }
        // Cleared a band of rows at a time, from one small buffer of zeros.
        constexpr int kBand = 64;
        const std::vector<uint8_t> zeros(static_cast<size_t>(w) * 4 * static_cast<size_t>(std::min(kBand, h)),
                                         0);
        for (int y0 = 0; y0 < h; y0 += kBand) {
            const SDL_Rect band{0, y0, w, std::min(kBand, h - y0)};
            SDL_UpdateTexture(t, &band, zeros.data(), w * 4);
        }
        SDL_SetTextureScaleMode(t, (flags & IMG_FILTERED) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        auto st = std::make_shared<TSdlTexture>();
        st->rendererAlive = alive_;
        st->tex = t;
        st->texW = st->frameW = w;
        st->texH = st->frameH = h;
        st->flags = flags;
        st->binaryAlpha = true;  // every texel clear: the mask blend needs no copy
        st->opaque = false;
        st->maskTried = true;
        return st;
    }

    void prepareMaskCopy(TTexture& tex, const TPixmap& pix) override {
        auto& st = static_cast<TSdlTexture&>(tex);
        if (st.binaryAlpha || st.maskTried) return;
        st.maskTried = true;
        st.masked = makeTexture(ThresholdAlpha(pix), st.flags);
    }

    void updateTexture(TTexture& tex, int x, int y, const TPixmap& pix) override {
        auto& st = static_cast<TSdlTexture&>(tex);
        if (pix.width <= 0 || pix.height <= 0 || !resident(st)) return;
        st.onUse = false;  // the file no longer holds this picture: kept from now on
        replay();  // calls made before the update see the old picture
        SDL_Rect r{x, y, std::min(pix.width, st.texW - x), std::min(pix.height, st.texH - y)};
        if (r.w <= 0 || r.h <= 0) return;
        uploadArgb(st.tex, r, pix);
        // The grabbed picture replaces whatever the alpha-tested copy held.
        if (st.masked) SDL_DestroyTexture(st.masked);
        st.masked = nullptr;
        st.maskTried = true;
        st.binaryAlpha = st.binaryAlpha && hasBinaryAlpha(pix);
        const bool whole = r.x == 0 && r.y == 0 && r.w == st.texW && r.h == st.texH;
        st.opaque = (whole || st.opaque) && allOpaque(pix);
    }

    TPixmap readPixels(int x, int y, int w, int h) override {
        TPixmap pix;
        if (!renderer_ || w <= 0 || h <= 0) return pix;
        replay();
        SDL_Rect r{x, y, w, h};
        SDL_Rect all{0, 0, gw_, gh_};
        SDL_Rect in;
        pix.width = w;
        pix.height = h;
        pix.pixels.assign(static_cast<size_t>(w) * h * 4, 0);
        for (size_t i = 3; i < pix.pixels.size(); i += 4) pix.pixels[i] = 255;
        if (!SDL_IntersectRect(&r, &all, &in)) return pix;
        if (in.x == x && in.y == y && in.w == w && in.h == h) {
            // All on the screen: read straight into the pixmap, a band of rows
            // at a time (the renderer's own buffers for a read stay small).
            constexpr int kBand = 64;
            for (int y0 = 0; y0 < h; y0 += kBand) {
                const SDL_Rect band{x, y + y0, w, std::min(kBand, h - y0)};
                uint8_t* dst = &pix.pixels[static_cast<size_t>(y0) * w * 4];
                if (SDL_RenderReadPixels(renderer_, &band, SDL_PIXELFORMAT_RGBA32, dst, w * 4) != 0)
                    std::fill(dst, dst + static_cast<size_t>(band.h) * w * 4, 0);
            }
            for (size_t i = 3; i < pix.pixels.size(); i += 4) pix.pixels[i] = 255;  // the screen is opaque
            return pix;
        }
        std::vector<uint8_t> buf(static_cast<size_t>(in.w) * in.h * 4);
        if (SDL_RenderReadPixels(renderer_, &in, SDL_PIXELFORMAT_RGBA32, buf.data(), in.w * 4) != 0) return pix;
        for (int row = 0; row < in.h; ++row) {
            uint8_t* dst = &pix.pixels[(static_cast<size_t>(row + in.y - y) * w + (in.x - x)) * 4];
            std::copy_n(&buf[static_cast<size_t>(row) * in.w * 4], static_cast<size_t>(in.w) * 4, dst);
            for (int k = 0; k < in.w; ++k) dst[k * 4 + 3] = 255;  // the screen is opaque
        }
        return pix;
    }

    bool savePNG(const TPixmap& pix, const std::string& path) override {
        const bool opaque = std::all_of(pix.pixels.begin(), pix.pixels.end(), [i = size_t(0)](uint8_t v) mutable {
            return (i++ % 4) != 3 || v == 255;
        });
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, pix.width, pix.height, opaque ? 24 : 32,
                                                        opaque ? SDL_PIXELFORMAT_RGB24 : SDL_PIXELFORMAT_RGBA32);
        if (!s) return false;
        for (int y = 0; y < pix.height; ++y) {
            auto* row = static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
            const uint8_t* src = &pix.pixels[static_cast<size_t>(y) * pix.width * 4];
            if (opaque) {
                for (int x = 0; x < pix.width; ++x) std::copy_n(src + x * 4, 3, row + x * 3);
            } else {
                std::copy_n(src, static_cast<size_t>(pix.width) * 4, row);
            }
        }
        const bool ok = IMG_SavePNG(s, path.c_str()) == 0;
        SDL_FreeSurface(s);
        return ok;
    }

    // -- fonts -------------------------------------------------------------
    static TTF_Font* openFace(const std::string& path, int size, int style) {
        TTF_Font* f = TTF_OpenFont(path.c_str(), size);
        if (f) TTF_SetFontStyle(f, style & (TTF_STYLE_BOLD | TTF_STYLE_ITALIC | TTF_STYLE_UNDERLINE));
        return f;
    }

    std::shared_ptr<TImageFontData> loadFont(const std::string& path, int size, int style) override {
        if (!ttfOk_ || path.empty() || size <= 0) return nullptr;
        TTF_Font* f = openFace(path, size, style);
        if (!f) return nullptr;
        auto font = std::make_shared<TSdlFont>();
        font->font = f;
        font->path = path;
        font->size = size;
        font->style = style;
        font->lastUsed = presents_;
        font->height = TTF_FontHeight(f);
        // Screens load their fonts when they are set up, long before most of
        // them draw a letter: the face is opened again for the first glyph.
        TTF_CloseFont(f);
        font->font = nullptr;
        fonts_.push_back(font);
        return font;
    }

    // The font's face, opened again if it was closed; null when the file is gone.
    TTF_Font* face(TSdlFont& font) {
        font.lastUsed = presents_;
        if (!font.font && !font.path.empty()) font.font = openFace(font.path, font.size, font.style);
        return font.font;
    }

    TSdlFont* builtin() {
        if (!builtin_ && !builtinTried_) {
            builtinTried_ = true;
            builtin_ = std::static_pointer_cast<TSdlFont>(loadFont(kBuiltinFont, kBuiltinFontSize, 0));
        }
        return builtin_.get();
    }

    bool glyph(const TImageFontData* fontData, uint32_t cp, TGlyph& out) override {
        auto* font = fontData ? const_cast<TSdlFont*>(static_cast<const TSdlFont*>(fontData)) : builtin();
        if (!font) {
            out = TGlyph{};
            out.advance = 8;
            return true;
        }
        TSdlFont::Entry& e = cp < 256 ? font->low[cp] : font->high[cp];
        if (!e.ready) renderGlyph(*font, cp, e);
        out = e.glyph;
        return true;
    }

    void renderGlyph(TSdlFont& font, uint32_t cp, TSdlFont::Entry& e) {
        if (!renderer_) {
            // No target yet: answer the metrics, render once graphics are open.
            int adv = 0;
            if (TTF_Font* f = face(font)) TTF_GlyphMetrics32(f, cp, nullptr, nullptr, nullptr, nullptr, &adv);
            e.glyph.advance = adv;
            return;
        }
        e.ready = true;
        int minx = 0, maxx = 0, miny = 0, maxy = 0, adv = 0;
        TTF_Font* f = face(font);
        if (!f || TTF_GlyphMetrics32(f, cp, &minx, &maxx, &miny, &maxy, &adv) != 0) return;
        e.glyph.advance = adv;
        if (cp == ' ') return;
        SDL_Surface* s = TTF_RenderGlyph32_Blended(f, cp, SDL_Color{255, 255, 255, 255});
        if (!s) return;
        TPixmap pix = surfaceToPixmap(s);
        SDL_FreeSurface(s);
        e.glyph.w = pix.width;
        e.glyph.h = pix.height;
        e.glyph.offsetX = std::min(0, minx);
        if (placeGlyph(pix, e)) return;
        auto tex = std::static_pointer_cast<TSdlTexture>(createTexture(pix, IMG_FILTERED));
        if (!tex) return;
        e.tex = tex;
        e.glyph.tex = tex.get();
    }

    // Glyphs share page textures, so that a line of text is drawn from one
    // texture (software renderers copy their whole state at every change of
    // texture). Each glyph sits in a ring of copies of its edge pixels: a
    // filtered glyph samples there what it would sample at the edge of a
    // texture of its own. Pages are filled shelf by shelf and never emptied,
    // as glyphs are kept for good.
    static constexpr int kGlyphPage = 512;
    struct TGlyphPage {
        std::shared_ptr<TSdlTexture> tex;
        int x = 0, y = 0, shelf = 0;  // where the next glyph goes; the shelf's height
    };
    bool placeGlyph(const TPixmap& pix, TSdlFont::Entry& e) {
        const int w = pix.width + 2, h = pix.height + 2;
        if (w > kGlyphPage || h > kGlyphPage) return false;
        TGlyphPage* page = glyphPages_.empty() ? nullptr : &glyphPages_.back();
        if (page && page->x + w > kGlyphPage) {
            page->x = 0;
            page->y += page->shelf;
            page->shelf = 0;
        }
        if (!page || page->y + h > kGlyphPage) {
            auto tex = std::static_pointer_cast<TSdlTexture>(createBlankTexture(kGlyphPage, kGlyphPage, IMG_FILTERED));
            if (!tex) return false;
            tex->binaryAlpha = false;  // as glyphs of their own: no copy for the mask blend
            glyphPages_.push_back(TGlyphPage{tex});
            page = &glyphPages_.back();
        }
        TPixmap ring;
        ring.width = w;
        ring.height = h;
        ring.pixels.resize(static_cast<size_t>(w) * h * 4);
        for (int y = 0; y < h; ++y) {
            const int sy = std::clamp(y - 1, 0, pix.height - 1);
            for (int x = 0; x < w; ++x) {
                const int sx = std::clamp(x - 1, 0, pix.width - 1);
                std::memcpy(&ring.pixels[(static_cast<size_t>(y) * w + x) * 4],
                            &pix.pixels[(static_cast<size_t>(sy) * pix.width + sx) * 4], 4);
            }
        }
        uploadArgb(page->tex->tex, SDL_Rect{page->x, page->y, w, h}, ring);
        e.tex = page->tex;
        e.glyph.tex = page->tex.get();
        e.glyph.x = page->x + 1;
        e.glyph.y = page->y + 1;
        page->x += w;
        page->shelf = std::max(page->shelf, h);
        return true;
    }

    int fontHeight(const TImageFontData* fontData) override {
        const auto* font = fontData ? static_cast<const TSdlFont*>(fontData) : builtin();
        return font ? font->height : 16;
    }

    // -- input -------------------------------------------------------------
    void pollEvents() override {
        if (headless_ || !videoOk_) return;
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) handleEvent(ev);
        // Destroyed from outside: ends like the close button.
        if (TX11WindowWatch::windowGone()) InjectTerminate();
    }

    void handleEvent(const SDL_Event& ev) {
        switch (ev.type) {
            case SDL_QUIT: InjectTerminate(); break;
            case SDL_SYSWMEVENT: TX11WindowWatch::handleEvent(ev); break;
            case SDL_WINDOWEVENT:
                recorder_.invalidate();  // shown, exposed, resized...: draw the next frame whatever it holds
                if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST || ev.window.event == SDL_WINDOWEVENT_MINIMIZED)
                    InjectSuspended(true);
                else if (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                         ev.window.event == SDL_WINDOWEVENT_RESTORED)
                    InjectSuspended(false);
                else if (ev.window.event == SDL_WINDOWEVENT_CLOSE)
                    InjectTerminate();
                break;
            case SDL_RENDER_TARGETS_RESET:
            case SDL_RENDER_DEVICE_RESET:
                // The contents of render targets (or, with the device, of
                // every texture) are gone: whoever baked pictures bakes them
                // again, and the next frame is drawn whole.
                recorder_.invalidate();
                InjectDisplayReset();
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const bool down = ev.type == SDL_KEYDOWN;
                const int vk = VirtualKeyOfSdlKey(ev.key.keysym.sym);
                if (vk == 0) break;
                if (down && ev.key.repeat) {
                    // Repeats count as presses for typing, like the system's.
                    InjectKey(vk, false);
                }
                InjectKey(vk, down);
                if (vk >= 160 && vk <= 165) InjectKey(16 + (vk - 160) / 2, down);  // generic shift/ctrl/alt
                if (down && (vk == 8 || vk == 13 || vk == 27 || vk == 9)) InjectChar(static_cast<uint32_t>(vk));
                break;
            }
            case SDL_TEXTINPUT: {
                const std::string text = ev.text.text;
                for (size_t i = 0; i < text.size();) InjectChar(NextCodepoint(text, i));
                break;
            }
            case SDL_MOUSEMOTION: mouseTo(ev.motion.x, ev.motion.y); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                mouseTo(ev.button.x, ev.button.y);
                int b = 0;
                if (ev.button.button == SDL_BUTTON_LEFT) b = 1;
                if (ev.button.button == SDL_BUTTON_RIGHT) b = 2;
                if (ev.button.button == SDL_BUTTON_MIDDLE) b = 3;
                InjectMouseButton(b, ev.type == SDL_MOUSEBUTTONDOWN);
                break;
            }
            case SDL_MOUSEWHEEL: InjectWheel(ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y); break;
            default: break;
        }
    }

    // Window coordinates to renderer pixels (they differ on high-DPI displays).
    void mouseTo(int wx, int wy) {
        int ww = gw_, wh = gh_;
        if (window_) SDL_GetWindowSize(window_, &ww, &wh);
        const float fx = ww > 0 ? static_cast<float>(gw_) / ww : 1.0f;
        const float fy = wh > 0 ? static_cast<float>(gh_) / wh : 1.0f;
        InjectMouseMove(wx * fx, wy * fy);
    }

    void showPointer(bool show) override {
        pointerShown_ = show;
        if (!headless_ && videoOk_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }
    void warpPointer(int px, int py) override {
        if (!window_) return;
        int ww = gw_, wh = gh_;
        SDL_GetWindowSize(window_, &ww, &wh);
        SDL_WarpMouseInWindow(window_, gw_ > 0 ? px * ww / gw_ : px, gh_ > 0 ? py * wh / gh_ : py);
    }

    // -- audio -------------------------------------------------------------
    void openAudio() {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "No audio (%s); the game goes on silently.\n", SDL_GetError());
            return;
        }
        Mix_Init(MIX_INIT_OGG);
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            std::fprintf(stderr, "No audio device (%s); the game goes on silently.\n", Mix_GetError());
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return;
        }
        audioOk_ = true;
        Mix_QuerySpec(&freq_, &format_, &channels_);
        music_.setFormat(freq_, format_, channels_);
        music_.hook();
        Mix_AllocateChannels(32);
        owner_.assign(32, 0);
    }

    bool realAudio() const { return audioOk_ && !headless_; }

    std::shared_ptr<TSoundData> loadSound(const std::string& path, int flags) override {
        if (path.empty()) return nullptr;
        auto snd = std::make_shared<TSdlSound>();
        if (audioOk_) {
            // Nothing is decoded here, so loading the sound table costs no
            // start-up time: music (flag 1) is read from its file as it
            // plays, an Ogg effect from its bytes kept in memory (a few
            // kilobytes, against a hundred or more decoded).
            const char kind = soundKind(path);
            if (kind == 0) return nullptr;
            if (flags & 1) {
                snd->streamPath = path;
            } else if (kind == 'O') {
                snd->bytes = readEffect(path);
                if (!snd->bytes) snd->streamPath = path;
            } else {
                snd->wavPath = path;
            }
        } else {
            // Nothing to play on: only the length is needed, for the channels.
            if (!soundLength(path, snd->lengthMs)) return nullptr;
        }
        return snd;
    }

    Channel playSound(const TSound& snd, bool paused) override {
        const auto* data = dynamic_cast<const TSdlSound*>(snd.data.get());
        if (!data) return 0;
        Mix_Chunk* chunk = nullptr;
        if (realAudio() && !data->wavPath.empty()) {
            chunk = data->wavChunk();
            if (!chunk) return 0;
        }
        const Channel handle = nextHandle_++;
        if (nextHandle_ <= 0) nextHandle_ = 1;
        if (realAudio() && data->bytes) {
            music_.startBytes(handle, data->bytes, (snd.flags & 1) != 0, paused);
            return handle;
        }
        if (realAudio() && !data->streamPath.empty())
            return music_.start(handle, data->streamPath, (snd.flags & 1) != 0, paused) ? handle : 0;
        if (!realAudio() || !chunk) {
            TVirtualChannel vc;
            vc.handle = handle;
            vc.lengthMs = data->lengthMs;
            vc.loops = (snd.flags & 1) != 0;
            vc.paused = paused;
            vc.resumedAt = millisecs();
            pruneVirtual();
            virtual_.push_back(vc);
            return handle;
        }
        SDL_LockAudio();
        int ch = Mix_PlayChannel(-1, chunk, (snd.flags & 1) ? -1 : 0);
        if (ch < 0) {
            // Every channel busy: make room and try once more.
            const int n = Mix_AllocateChannels(-1);
            Mix_AllocateChannels(n + 16);
            owner_.resize(static_cast<size_t>(n + 16), 0);
            ch = Mix_PlayChannel(-1, chunk, (snd.flags & 1) ? -1 : 0);
        }
        if (ch >= 0) {
            Mix_Volume(ch, MIX_MAX_VOLUME);
            if (paused) Mix_Pause(ch);
            if (static_cast<size_t>(ch) >= owner_.size()) owner_.resize(static_cast<size_t>(ch) + 1, 0);
            owner_[static_cast<size_t>(ch)] = handle;
        }
        SDL_UnlockAudio();
        return ch >= 0 ? handle : 0;
    }

    int mixChannel(Channel h) const {
        for (size_t i = 0; i < owner_.size(); ++i)
            if (owner_[i] == h) return static_cast<int>(i);
        return -1;
    }
    TVirtualChannel* virtualChannel(Channel h) {
        for (auto& v : virtual_)
            if (v.handle == h) return &v;
        return nullptr;
    }
    static double position(const TVirtualChannel& v, double now) {
        return v.playedMs + (v.paused ? 0.0 : now - v.resumedAt);
    }
    void pruneVirtual() {
        const double now = millisecs();
        virtual_.erase(std::remove_if(virtual_.begin(), virtual_.end(),
                                      [&](const TVirtualChannel& v) {
                                          return !v.loops && !v.paused && position(v, now) >= v.lengthMs;
                                      }),
                       virtual_.end());
    }

    void resumeChannel(Channel h) override {
        if (TVirtualChannel* v = virtualChannel(h)) {
            if (v->paused) {
                v->paused = false;
                v->resumedAt = millisecs();
            }
        } else if (int ch = mixChannel(h); ch >= 0) {
            Mix_Resume(ch);
        } else {
            music_.resume(h);
        }
    }
    void pauseChannel(Channel h) override {
        if (TVirtualChannel* v = virtualChannel(h)) {
            if (!v->paused) {
                v->playedMs = position(*v, millisecs());
                v->paused = true;
            }
        } else if (int ch = mixChannel(h); ch >= 0) {
            Mix_Pause(ch);
        } else {
            music_.pause(h);
        }
    }
    void stopChannel(Channel h) override {
        if (TVirtualChannel* v = virtualChannel(h)) {
            v->loops = false;
            v->paused = false;
            v->lengthMs = -1;
            pruneVirtual();
        } else if (int ch = mixChannel(h); ch >= 0) {
            Mix_HaltChannel(ch);
            owner_[static_cast<size_t>(ch)] = 0;
        } else {
            music_.stop(h);
        }
    }
    void setChannelVolume(Channel h, float volume) override {
        if (int ch = mixChannel(h); ch >= 0)
            Mix_Volume(ch, static_cast<int>(std::lround(volume * MIX_MAX_VOLUME)));
        else
            music_.setVolume(h, volume);
    }
    bool channelPlaying(Channel h) override {
        if (TVirtualChannel* v = virtualChannel(h))
            return v->loops || v->paused || position(*v, millisecs()) < v->lengthMs;
        const int ch = mixChannel(h);
        if (ch < 0) return music_.playing(h);
        return Mix_Playing(ch) != 0;
    }

    // -- clock and dialogs -------------------------------------------------
    double millisecs() override {
        if (headless_) return static_cast<double>(frames_) * 1000.0 / 60.0;
        return 1000.0 * static_cast<double>(SDL_GetPerformanceCounter() - startCounter_) /
               static_cast<double>(SDL_GetPerformanceFrequency());
    }
    void advanceClock(double ms) override {
        if (headless_) frames_ += static_cast<uint64_t>(std::llround(ms * 60.0 / 1000.0));
    }

    void notify(const std::string& text, bool serious) override {
        if (headless_ || !videoOk_ ||
            SDL_ShowSimpleMessageBox(serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION, title_.c_str(),
                                     text.c_str(), window_) != 0)
            TBackend::notify(text, serious);
    }

    bool confirm(const std::string& text) override {
        if (headless_ || !videoOk_) return TBackend::confirm(text);
        const SDL_MessageBoxButtonData buttons[2] = {
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        };
        SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION, window_, title_.c_str(), text.c_str(), 2, buttons,
                                nullptr};
        int answer = 0;
        if (SDL_ShowMessageBox(&data, &answer) != 0) return TBackend::confirm(text);
        return answer == 1;
    }

    // Software OpenGL builds a pipeline the first time a blend mode and filter
    // pair is drawn, which can hold a frame up by tens of milliseconds; each
    // pair is drawn once here, off screen, so play never waits for it.
    void warmUp() {
        if (!renderer_) return;
        TPixmap pix;
        pix.width = pix.height = 4;
        pix.pixels.assign(64, 200);
        SDL_Texture* textures[2] = {makeTexture(pix, IMG_FILTERED), makeTexture(pix, 0)};
        const SDL_BlendMode modes[4] = {SDL_BLENDMODE_NONE, SDL_BLENDMODE_BLEND, SDL_BLENDMODE_ADD,
                                        SDL_BLENDMODE_MOD};
        const SDL_FRect dst{0, 0, 3.5f, 3.5f};
        SDL_Vertex v[3] = {{{0, 0}, {255, 255, 255, 128}, {0, 0}},
                           {{3, 1}, {255, 255, 255, 128}, {1, 0}},
                           {{1, 3}, {255, 255, 255, 128}, {0, 1}}};
        for (SDL_BlendMode mode : modes) {
            for (SDL_Texture* t : textures) {
                if (!t) continue;
                SDL_SetTextureBlendMode(t, mode);
                SDL_SetTextureColorMod(t, 200, 100, 50);
                SDL_SetTextureAlphaMod(t, 128);
                SDL_RenderCopyF(renderer_, t, nullptr, &dst);
                SDL_RenderCopyExF(renderer_, t, nullptr, &dst, 30.0, nullptr, SDL_FLIP_HORIZONTAL);
                SDL_RenderGeometry(renderer_, t, v, 3, nullptr, 0);
            }
            SDL_SetRenderDrawBlendMode(renderer_, mode);
            SDL_SetRenderDrawColor(renderer_, 100, 150, 200, 128);
            SDL_RenderFillRectF(renderer_, &dst);
            SDL_RenderDrawLineF(renderer_, 0, 0, 3, 3);
            SDL_RenderGeometry(renderer_, nullptr, v, 3, nullptr, 0);
        }
        SDL_RenderFlush(renderer_);
        for (SDL_Texture* t : textures)
            if (t) SDL_DestroyTexture(t);
        SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
    }

    // Whether what is on the target after a present is the frame just
    // presented: true where presenting copies the back buffer out (Mesa's
    // software OpenGL, SDL's software renderer); false where buffers flip or
    // are discarded, which would show a frame older than the last one. Two
    // presents of near-black colours, each read back after its present.
    bool keepsLastFrame() {
        if (!renderer_) return false;
        const Uint8 colours[2][3] = {{0, 0, 1}, {0, 1, 0}};
        SDL_RenderSetClipRect(renderer_, nullptr);
        SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
        for (const auto& c : colours) {
            SDL_SetRenderDrawColor(renderer_, c[0], c[1], c[2], 255);
            SDL_RenderClear(renderer_);
            SDL_RenderPresent(renderer_);
            const SDL_Rect spots[2] = {{0, 0, 1, 1}, {gw_ / 2, gh_ / 2, 1, 1}};
            for (const SDL_Rect& r : spots) {
                Uint8 px[4] = {9, 9, 9, 9};
                if (SDL_RenderReadPixels(renderer_, &r, SDL_PIXELFORMAT_RGBA32, px, 4) != 0) return false;
                if (px[0] != c[0] || px[1] != c[1] || px[2] != c[2]) return false;
            }
        }
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        return true;
    }

    // With BRIMBLE_CHECK_REPAINT set (a development check), every frame
    // drawn in a window that keeps its last frame is compared with the same
    // frame painted whole with its calls in the order they came: frames
    // repainted in part and frames painted whole with their calls grouped.
    // The counts are printed at each hundredth frame and when the program
    // ends, as "repaint-check partial N differed M whole K differed L".
    static void printRepaintCheck() {
        std::fprintf(stderr, "repaint-check partial %llu differed %llu whole %llu differed %llu\n",
                     static_cast<unsigned long long>(g_checked[0]), static_cast<unsigned long long>(g_differed[0]),
                     static_cast<unsigned long long>(g_checked[1]), static_cast<unsigned long long>(g_differed[1]));
    }
    void checkRepaint() {
        static const bool on = std::getenv("BRIMBLE_CHECK_REPAINT") != nullptr;
        if (!on) return;
        static bool registered = false;
        if (!registered) {
            registered = true;
            std::atexit(printRepaintCheck);
        }
        SDL_Rect all{0, 0, gw_, gh_};
        std::vector<uint8_t> shown(static_cast<size_t>(gw_) * gh_ * 4), inOrder(shown.size());
        SDL_RenderSetClipRect(renderer_, nullptr);
        if (SDL_RenderReadPixels(renderer_, &all, SDL_PIXELFORMAT_RGBA32, shown.data(), gw_ * 4) != 0) return;
        for (const TDrawCall& c : recorder_.shown()) execute(c);
        SDL_RenderFlush(renderer_);
        SDL_RenderSetClipRect(renderer_, nullptr);
        if (SDL_RenderReadPixels(renderer_, &all, SDL_PIXELFORMAT_RGBA32, inOrder.data(), gw_ * 4) != 0) return;
        SDL_RenderSetClipRect(renderer_, clip_.w > 0 && clip_.h > 0 ? &clip_ : nullptr);
        const int kind = recorder_.lastWasPartial() ? 0 : 1;
        ++g_checked[kind];
        if (shown != inOrder) ++g_differed[kind];
        if ((g_checked[0] + g_checked[1]) % 100 == 0) printRepaintCheck();
    }

    // Carries out the calls recorded so far; the frame then counts as changed.
    void replay() {
        recorder_.flush([this](const TDrawCall& c) { execute(c); });
    }

    void execute(const TDrawCall& c) {
        switch (c.kind) {
            case TDrawCall::QUAD: doQuad(c.tex, c.q, c.r, c.g, c.b, c.a, c.blend); break;
            case TDrawCall::LINE: doLine(c.q.x[0], c.q.y[0], c.q.x[1], c.q.y[1], c.r, c.g, c.b, c.a, c.blend); break;
            case TDrawCall::FILL: doFill(c.r, c.g, c.b); break;
            case TDrawCall::CLIP:
                doClip(static_cast<int>(c.q.x[0]), static_cast<int>(c.q.y[0]), static_cast<int>(c.q.x[1]),
                       static_cast<int>(c.q.y[1]));
                break;
        }
    }

    const TFrameRecorder& recorder() const { return recorder_; }

    void textureGoing() {
        replay();
        recorder_.invalidate();
    }

private:
    bool headless_;
    bool videoOk_ = false, ttfOk_ = false, audioOk_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Surface* surface_ = nullptr;
    int gw_ = 1024, gh_ = 768;
    SDL_Rect clip_{0, 0, 1024, 768};
    std::string title_ = "Brimble";
    std::vector<TPixmap> icons_;  // the window icon, one picture a size
    std::string rendererName_ = "sdl";
    bool pointerShown_ = true;
    bool vsync_ = true;
    bool drawing_ = true;
    Uint64 startCounter_ = 0;
    double lastPresent_ = 0;
    double paceWaitMs_ = 0;
    TFrameRecorder recorder_;  // a window's calls, held until the frame is presented
    bool keepsFrames_ = false;  // the window keeps its last frame after a present
    uint64_t frames_ = 0;
    uint64_t presents_ = 0;                          // frames presented, for dropping unused pictures
    std::vector<std::weak_ptr<TSdlTexture>> onUse_;  // pictures read from their files on use
    std::vector<std::weak_ptr<TSdlFont>> fonts_;     // fonts whose faces may be closed when idle
    std::shared_ptr<TSdlFont> builtin_;
    std::vector<TGlyphPage> glyphPages_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool builtinTried_ = false;
    int freq_ = 44100, channels_ = 2;
    Uint16 format_ = AUDIO_S16SYS;
    std::vector<Channel> owner_;  // handle playing on each mixer channel
    TSdlMusicStreams music_;      // music, read from its files as it plays
    std::vector<TVirtualChannel> virtual_;
    Channel nextHandle_ = 1;
};

void sdlTextureGoing() {
    if (g_recordingBackend) g_recordingBackend->textureGoing();
}

}  // namespace

std::unique_ptr<TBackend> MakeSdlBackend() { return std::make_unique<TSdlBackend>(false); }
std::unique_ptr<TBackend> MakeHeadlessBackend() { return std::make_unique<TSdlBackend>(true); }

std::string SdlVideoDriverName() {
    const char* d = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
    return d ? d : "";
}

bool SdlVideoDriverIsInvisible(const std::string& name) {
    return name == "offscreen" || name == "dummy";
}

int VirtualKeyOfSdlKey(int k) {
    if (k >= SDLK_a && k <= SDLK_z) return 65 + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return 48 + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return 112 + (k - SDLK_F1);
    if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return 97 + (k - SDLK_KP_1);
    switch (k) {
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return 32;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return 35;
        case SDLK_HOME: return 36;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return 46;
        case SDLK_KP_0: return 96;
        case SDLK_KP_MULTIPLY: return 106;
        case SDLK_KP_PLUS: return 107;
        case SDLK_KP_MINUS: return 109;
        case SDLK_KP_PERIOD: return 110;
        case SDLK_KP_DIVIDE: return 111;
        case SDLK_LSHIFT: return 160;
        case SDLK_RSHIFT: return 161;
        case SDLK_LCTRL: return 162;
        case SDLK_RCTRL: return 163;
        case SDLK_LALT: return 164;
        case SDLK_RALT: return 165;
        case SDLK_SEMICOLON: return 186;
        case SDLK_EQUALS: return 187;
        case SDLK_COMMA: return 188;
        case SDLK_MINUS: return 189;
        case SDLK_PERIOD: return 190;
        case SDLK_SLASH: return 191;
        case SDLK_BACKQUOTE: return 192;
        case SDLK_LEFTBRACKET: return 219;
        case SDLK_BACKSLASH: return 220;
        case SDLK_RIGHTBRACKET: return 221;
        case SDLK_QUOTE: return 222;
        default: return 0;
    }
}
