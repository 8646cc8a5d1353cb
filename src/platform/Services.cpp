// Common half of the platform layer: render state and transform, the mapping
// from logical coordinates to display pixels, input state, the random
// generator, and dispatch to the installed backend.
#include "platform/Services.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/Backend.h"
#include "platform/WindowIcon.h"

float frameDelta = 1.0f;

namespace {

TRenderState g_state;

// The backend is not torn down when the program ends: exit() can come from a
// library whose connection is gone (Xlib when the display dies), and closing
// the window then waits for an answer that never comes. The system takes the
// window and the sound device back anyway; the pointer stays reachable.
std::unique_ptr<TBackend>& backendSlot() {
    static auto* slot = new std::unique_ptr<TBackend>();
    return *slot;
}

float g_virtW = 1024, g_virtH = 768;
float g_vpX = 0, g_vpY = 0, g_vpW = 1024, g_vpH = 768;  // exact viewport
float g_mouseOffX = 0, g_mouseOffY = 0;
int g_maskR = 0, g_maskG = 0, g_maskB = 0;

// Input state (positions in display pixels).
struct TInput {
    uint8_t keyDown[256] = {};
    int keyHits[256] = {};
    bool mouseDown[4] = {};
    int mouseHits[4] = {};
    float mx = 0, my = 0;
    int wheel = 0;
    // Typed characters: a fixed ring so typing never allocates.
    uint32_t chars[64] = {};
    int charHead = 0, charCount = 0;
    bool terminate = false;
    bool suspended = false;
};
TInput g_input;

// PCG32 (O'Neill): small, fast and good enough for a game; one stream.
struct TPcg32 {
    uint64_t state = 0x853c49e6748fea9bULL;
    uint64_t inc = 0xda3e39cb94b95bdbULL;
    uint32_t next() {
        uint64_t old = state;
        state = old * 6364136223846793005ULL + inc;
        uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        uint32_t rot = static_cast<uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
    }
    void seed(uint64_t s) {
        state = 0;
        inc = (0xda3e39cb94b95bdbULL << 1u) | 1u;
        next();
        state += s;
        next();
    }
};
TPcg32 g_rng;

TBackend& B() {
    auto& slot = backendSlot();
    if (!slot) slot = MakeNullBackend();
    return *slot;
}

int g_forceDrawing = 0;
bool drawingOn() { return g_forceDrawing > 0 || B().wantsDrawing(); }

float pixScaleX() {
    return g_virtW > 0 ? static_cast<float>(B().graphicsWidth()) / g_virtW : 1.0f;
}
float pixScaleY() {
    return g_virtH > 0 ? static_cast<float>(B().graphicsHeight()) / g_virtH : 1.0f;
}

uint8_t clampByte(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }
uint8_t alphaByte(float a) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(a * 255.0f)), 0, 255));
}

void applyClip() {
    const float sx = pixScaleX(), sy = pixScaleY();
    // Pixel centres inside the viewport belong to it.
    int x0 = static_cast<int>(std::lround(g_vpX * sx));
    int y0 = static_cast<int>(std::lround(g_vpY * sy));
    int x1 = static_cast<int>(std::lround((g_vpX + g_vpW) * sx));
    int y1 = static_cast<int>(std::lround((g_vpY + g_vpH) * sy));
    B().setClip(x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0));
}

// A point of the drawing, after the origin, through the view (exact when
// there is no view, so unscaled drawing keeps its pixels). A point the view
// puts within a rounding error of a whole pixel is put on it, so pictures
// laid edge to edge on whole pixels stay so (renderers that truncate would
// otherwise open one-pixel seams between them).
float throughView(float v, float scale, float move) {
    const float w = v * scale + move;
    const float n = std::round(w);
    return std::fabs(w - n) < 1e-3f ? n : w;
}
float viewX(float x) {
    return g_state.viewScale == 1 && g_state.viewX == 0 ? x : throughView(x, g_state.viewScale, g_state.viewX);
}
float viewY(float y) {
    return g_state.viewScale == 1 && g_state.viewY == 0 ? y : throughView(y, g_state.viewScale, g_state.viewY);
}

void recomputeMatrix() {
    const double rad = g_state.rotation * 3.14159265358979323846 / 180.0;
    const float c = static_cast<float>(std::cos(rad)), s = static_cast<float>(std::sin(rad));
    g_state.ix = c * g_state.sx;
    g_state.iy = -s * g_state.sy;
    g_state.jx = s * g_state.sx;
    g_state.jy = c * g_state.sy;
}

// Fills the quad's corners for a w x h box at (x, y) measured from the handle
// (hx, hy), in display pixels.
void transformBox(TQuad& q, float x, float y, float u0, float v0, float w, float h, float hx, float hy) {
    const float us[4] = {u0, u0 + w, u0 + w, u0};
    const float vs[4] = {v0, v0, v0 + h, v0 + h};
    const float px = pixScaleX(), py = pixScaleY();
    const TRenderState& s = g_state;
    for (int i = 0; i < 4; ++i) {
        const float du = us[i] - hx, dv = vs[i] - hy;
        q.x[i] = viewX(x + s.originX + du * s.ix + dv * s.iy) * px;
        q.y[i] = viewY(y + s.originY + du * s.jx + dv * s.jy) * py;
    }
}

void setUV(TQuad& q, const TTexture& t, float sx, float sy, float sw, float sh) {
    const float tw = static_cast<float>(std::max(1, t.texW)), th = static_cast<float>(std::max(1, t.texH));
    q.u[0] = q.u[3] = sx / tw;
    q.u[1] = q.u[2] = (sx + sw) / tw;
    q.v[0] = q.v[1] = sy / th;
    q.v[2] = q.v[3] = (sy + sh) / th;
}

const TTexture* texOf(const ImagePtr& img) {
    return img ? dynamic_cast<const TTexture*>(img->data.get()) : nullptr;
}

// Top-left of a frame inside the sheet; false when the frame does not exist.
bool frameOrigin(const TImage& img, const TTexture& t, int frame, float& fx, float& fy) {
    if (frame < 0 || frame >= img.frameCount) return false;
    const int idx = t.first + frame;
    const int cols = std::max(1, t.cols);
    fx = static_cast<float>((idx % cols) * t.frameW);
    fy = static_cast<float>((idx / cols) * t.frameH);
    return true;
}

void submit(const TTexture* tex, TQuad& q) {
    B().drawQuad(tex, q, clampByte(g_state.r), clampByte(g_state.g), clampByte(g_state.b),
                 alphaByte(g_state.alpha), g_state.blend);
}

TPixmap resample(const TPixmap& src, int w, int h) {
    if (src.width == w && src.height == h) return src;
    TPixmap out;
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<size_t>(w) * h * 4);
    if (src.width <= 0 || src.height <= 0) return out;
    for (int y = 0; y < h; ++y) {
        const int sy = std::min(src.height - 1, static_cast<int>((y + 0.5) * src.height / h));
        for (int x = 0; x < w; ++x) {
            const int sx = std::min(src.width - 1, static_cast<int>((x + 0.5) * src.width / w));
            std::copy_n(&src.pixels[(static_cast<size_t>(sy) * src.width + sx) * 4], 4,
                        &out.pixels[(static_cast<size_t>(y) * w + x) * 4]);
        }
    }
    return out;
}

// Reads a logical rectangle of the screen as a w x h pixmap.
TPixmap grabLogical(int x, int y, int w, int h) {
    const float sx = pixScaleX(), sy = pixScaleY();
    const int px = static_cast<int>(std::floor(x * sx)), py = static_cast<int>(std::floor(y * sy));
    const int pw = std::max(1, static_cast<int>(std::lround(w * sx)));
    const int ph = std::max(1, static_cast<int>(std::lround(h * sy)));
    TPixmap raw = B().readPixels(px, py, pw, ph);
    if (raw.pixels.empty()) {
        TPixmap blank;
        blank.width = w;
        blank.height = h;
        blank.pixels.assign(static_cast<size_t>(w) * h * 4, 0);
        for (size_t i = 3; i < blank.pixels.size(); i += 4) blank.pixels[i] = 255;
        return blank;
    }
    if (raw.width == w && raw.height == h) return raw;  // no copy of a whole screen
    return resample(raw, w, h);
}

void applyMask(TPixmap& pix, int r, int g, int b) {
    for (size_t i = 0; i + 3 < pix.pixels.size(); i += 4) {
        if (pix.pixels[i] == r && pix.pixels[i + 1] == g && pix.pixels[i + 2] == b) pix.pixels[i + 3] = 0;
    }
}

int normFlags(int flags) { return flags == IMG_DEFAULT ? (IMG_MASKED | IMG_FILTERED) : flags; }

}  // namespace

// ---------------------------------------------------------------------------
// Backend plumbing

void InstallBackend(std::unique_ptr<TBackend> backend) {
    backendSlot().reset();  // the old one goes first: it may own the SDL context
    backendSlot() = backend ? std::move(backend) : MakeNullBackend();
    ResetInput();
}

TBackend& Backend() { return B(); }

void TBackend::notify(const std::string& text, bool serious) {
    std::fprintf(stderr, "%s%s\n", serious ? "error: " : "", text.c_str());
}

bool TBackend::confirm(const std::string& text) {
    std::fprintf(stderr, "%s [answered no]\n", text.c_str());
    return false;
}

uint32_t NextCodepoint(const std::string& s, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t c = byte(i++);
    if (c < 0x80) return c;
    int extra;
    uint32_t cp;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (byte(i) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (byte(i++) & 0x3F);
    }
    return cp;
}

namespace {
uint32_t bigEndian(const unsigned char* p, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | p[i];
    return v;
}

// Width and height from a JPEG's frame header: the markers are walked from
// the start, each segment skipped by its length, up to the first SOFn.
bool jpegSize(std::ifstream& in, int& w, int& h) {
    in.seekg(2);
    unsigned char b[9];
    for (int guard = 0; guard < 4096 && in.read(reinterpret_cast<char*>(b), 2); ++guard) {
        if (b[0] != 0xFF) return false;
        unsigned char m = b[1];
        while (m == 0xFF) {  // fill bytes before a marker
            if (!in.read(reinterpret_cast<char*>(&m), 1)) return false;
        }
        if (m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;  // markers without a segment
        if (m == 0xD9 || m == 0xDA) return false;             // image data before any frame header
        if (!in.read(reinterpret_cast<char*>(b), 2)) return false;
        const uint32_t len = bigEndian(b, 2);
        if (len < 2) return false;
        const bool frame = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
        if (frame) {
            if (len < 7 || !in.read(reinterpret_cast<char*>(b), 5)) return false;
            h = static_cast<int>(bigEndian(b + 1, 2));
            w = static_cast<int>(bigEndian(b + 3, 2));
            return w > 0 && h > 0;
        }
        in.seekg(len - 2, std::ios::cur);
    }
    return false;
}
}  // namespace

bool ProbePictureSize(const std::string& path, int& w, int& h) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 32) return false;
    unsigned char head[24], tail[8];
    in.seekg(size - 8);
    if (!in.read(reinterpret_cast<char*>(tail), 8)) return false;
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(head), 24)) return false;
    static const unsigned char kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::equal(kPng, kPng + 8, head)) {
        if (std::memcmp(head + 12, "IHDR", 4) != 0 || std::memcmp(tail, "IEND", 4) != 0) return false;
        const uint32_t pw = bigEndian(head + 16, 4), ph = bigEndian(head + 20, 4);
        if (pw == 0 || ph == 0 || pw > 65535 || ph > 65535) return false;
        w = static_cast<int>(pw);
        h = static_cast<int>(ph);
        return true;
    }
    if (head[0] == 0xFF && head[1] == 0xD8 && tail[6] == 0xFF && tail[7] == 0xD9) return jpegSize(in, w, h);
    return false;
}

TPixmap PrepareImagePixmap(const std::string& path, int flags, int maskR, int maskG, int maskB) {
    TPixmap pix = B().decodeImage(path);
    if (!pix.pixels.empty() && (normFlags(flags) & IMG_MASKED)) applyMask(pix, maskR, maskG, maskB);
    return pix;
}

TPixmap ThresholdAlpha(const TPixmap& pix) {
    TPixmap out = pix;
    for (size_t i = 3; i < out.pixels.size(); i += 4) out.pixels[i] = out.pixels[i] >= 128 ? 255 : 0;
    return out;
}

// ---------------------------------------------------------------------------
// Graphics

bool OpenGraphics(int width, int height, int depth, int hertz, int flags) {
    static bool openedBefore = false;
    if (!B().openGraphics(width, height, depth, hertz, flags)) return false;
    // A switch of mode (full screen and back) may well lose what was drawn
    // into pictures, whatever the renderer says.
    if (openedBefore) InjectDisplayReset();
    openedBefore = true;
    g_virtW = static_cast<float>(width);
    g_virtH = static_cast<float>(height);
    SetViewport(0, 0, width, height);
    return true;
}

void CloseGraphics() { B().closeGraphics(); }
int GraphicsWidth() { return B().graphicsWidth(); }
int GraphicsHeight() { return B().graphicsHeight(); }

void Cls() {
    if (!drawingOn()) return;
    B().fill(g_state.clsR, g_state.clsG, g_state.clsB);
}

void Flip(int sync) { B().present(sync); }
double LastFlipWaitMs() { return B().lastPaceWaitMs(); }

void SetColor(int r, int g, int b) {
    g_state.r = r;
    g_state.g = g;
    g_state.b = b;
}
void GetColor(int& r, int& g, int& b) {
    r = g_state.r;
    g = g_state.g;
    b = g_state.b;
}
void SetAlpha(float a) { g_state.alpha = a; }
float GetAlpha() { return g_state.alpha; }
void SetBlend(int mode) {
    if (mode >= MASKBLEND && mode <= SHADEBLEND) g_state.blend = mode;
}
int GetBlend() { return g_state.blend; }
void SetRotation(float degrees) {
    g_state.rotation = degrees;
    recomputeMatrix();
}
float GetRotation() { return g_state.rotation; }
void SetScale(float sx, float sy) {
    g_state.sx = sx;
    g_state.sy = sy;
    recomputeMatrix();
}
void GetScale(float& sx, float& sy) {
    sx = g_state.sx;
    sy = g_state.sy;
}
void SetOrigin(float x, float y) {
    g_state.originX = x;
    g_state.originY = y;
}
void GetOrigin(float& x, float& y) {
    x = g_state.originX;
    y = g_state.originY;
}
void SetViewTransform(float scale, float dx, float dy) {
    g_state.viewScale = scale;
    g_state.viewX = dx;
    g_state.viewY = dy;
}
void GetViewTransform(float& scale, float& dx, float& dy) {
    scale = g_state.viewScale;
    dx = g_state.viewX;
    dy = g_state.viewY;
}
void SetViewportF(float x, float y, float w, float h) {
    g_vpX = x;
    g_vpY = y;
    g_vpW = w;
    g_vpH = h;
    g_state.vpX = static_cast<int>(std::floor(x));
    g_state.vpY = static_cast<int>(std::floor(y));
    g_state.vpW = static_cast<int>(std::ceil(x + w)) - g_state.vpX;
    g_state.vpH = static_cast<int>(std::ceil(y + h)) - g_state.vpY;
    applyClip();
}
void SetViewport(int x, int y, int w, int h) {
    SetViewportF(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}
void GetViewport(int& x, int& y, int& w, int& h) {
    x = g_state.vpX;
    y = g_state.vpY;
    w = g_state.vpW;
    h = g_state.vpH;
}
void SetClsColor(int r, int g, int b) {
    g_state.clsR = r;
    g_state.clsG = g;
    g_state.clsB = b;
}
void SetImageFont(const FontPtr& font) { g_state.font = font; }
FontPtr GetImageFont() { return g_state.font; }
const TRenderState& RenderState() { return g_state; }

void SetVirtualResolution(float w, float h) {
    if (w <= 0 || h <= 0) return;
    g_virtW = w;
    g_virtH = h;
    applyClip();
}
float VirtualResolutionWidth() { return g_virtW; }
float VirtualResolutionHeight() { return g_virtH; }
void SetMouseOffset(float x, float y) {
    g_mouseOffX = x;
    g_mouseOffY = y;
}
void SetMaskColor(int r, int g, int b) {
    g_maskR = r;
    g_maskG = g;
    g_maskB = b;
}

// ---------------------------------------------------------------------------
// Images

namespace {
// The image record over a texture of the given size cut into frames; null
// when the frames do not fit.
ImagePtr imageOver(const std::shared_ptr<TTexture>& tex, int texW, int texH, int flags, int frameW,
                   int frameH, int first, int count) {
    if (!tex) return nullptr;
    const int cols = texW / frameW, rows = texH / frameH;
    const int available = cols * rows - first;
    tex->frameW = frameW;
    tex->frameH = frameH;
    tex->first = first;
    tex->cols = cols;
    tex->flags = flags;
    auto img = std::make_shared<TImage>();
    img->width = frameW;
    img->height = frameH;
    img->frameCount = std::min(count, available);
    img->flags = flags;
    img->data = tex;
    return img;
}

bool framesFit(int texW, int texH, int frameW, int frameH, int first, int count) {
    if (texW <= 0 || texH <= 0 || frameW <= 0 || frameH <= 0 || first < 0 || count <= 0) return false;
    const int cols = texW / frameW, rows = texH / frameH;
    return cols > 0 && rows > 0 && cols * rows - first > 0;
}

ImagePtr makeImage(const TPixmap& pix, int flags, const std::string& path, int frameW, int frameH, int first,
                   int count) {
    if (pix.width <= 0 || pix.height <= 0 || pix.pixels.empty()) return nullptr;
    if (!framesFit(pix.width, pix.height, frameW, frameH, first, count)) return nullptr;
    auto tex = B().createTexture(pix, flags);
    if (!tex) return nullptr;
    tex->sourcePath = path;
    tex->maskR = g_maskR;
    tex->maskG = g_maskG;
    tex->maskB = g_maskB;
    if (path.empty()) B().prepareMaskCopy(*tex, pix);
    return imageOver(tex, pix.width, pix.height, flags, frameW, frameH, first, count);
}

// A picture file: where the backend can, only its size is read now and the
// pixels when it is first drawn, so pictures a run never shows take no
// memory; otherwise it is decoded at once. frameW <= 0: one frame, the whole
// picture.
ImagePtr loadPicture(const std::string& path, int flags, int frameW, int frameH, int first, int count) {
    flags = normFlags(flags);
    if (auto tex = B().loadTextureOnUse(path, flags, g_maskR, g_maskG, g_maskB)) {
        if (frameW <= 0) {
            frameW = tex->texW;
            frameH = tex->texH;
        }
        if (!framesFit(tex->texW, tex->texH, frameW, frameH, first, count)) return nullptr;
        return imageOver(tex, tex->texW, tex->texH, flags, frameW, frameH, first, count);
    }
    TPixmap pix = PrepareImagePixmap(path, flags, g_maskR, g_maskG, g_maskB);
    if (frameW <= 0) {
        frameW = pix.width;
        frameH = pix.height;
    }
    return makeImage(pix, flags, path, frameW, frameH, first, count);
}
}  // namespace

ImagePtr LoadImage(const std::string& path, int flags) {
    return loadPicture(path, flags, 0, 0, 0, 1);
}

ImagePtr LoadAnimImage(const std::string& path, int frameW, int frameH, int first, int count, int flags) {
    if (frameW <= 0 || frameH <= 0) return nullptr;
    return loadPicture(path, flags, frameW, frameH, first, count);
}

ImagePtr CreateImageFromPixmap(const TPixmap& pix, int flags) {
    flags = normFlags(flags);
    if (pix.pixels.size() != static_cast<size_t>(pix.width) * pix.height * 4) return nullptr;
    TPixmap copy = pix;
    if (flags & IMG_MASKED) applyMask(copy, g_maskR, g_maskG, g_maskB);
    return makeImage(copy, flags, "", pix.width, pix.height, 0, 1);
}

ImagePtr CreateAnimImageFromPixmap(const TPixmap& pix, int frameW, int frameH, int count, int flags) {
    flags = normFlags(flags);
    if (pix.pixels.size() != static_cast<size_t>(pix.width) * pix.height * 4) return nullptr;
    if (frameW <= 0 || frameH <= 0 || count <= 0) return nullptr;
    TPixmap copy = pix;
    if (flags & IMG_MASKED) applyMask(copy, g_maskR, g_maskG, g_maskB);
    return makeImage(copy, flags, "", frameW, frameH, 0, count);
}

void SetImageHandle(const ImagePtr& img, float x, float y) {
    if (!img) return;
    img->handleX = x;
    img->handleY = y;
}
void MidHandleImage(const ImagePtr& img) {
    if (!img) return;
    img->handleX = img->width * 0.5f;
    img->handleY = img->height * 0.5f;
}
int ImageWidth(const ImagePtr& img) { return img ? img->width : 0; }
int ImageHeight(const ImagePtr& img) { return img ? img->height : 0; }

ImagePtr CreateImage(int w, int h, int frames, int flags) {
    flags = normFlags(flags);
    if (w <= 0 || h <= 0 || frames <= 0) return nullptr;
    ImagePtr img;
    if (auto tex = B().createBlankTexture(w * frames, h, flags)) {
        tex->maskR = g_maskR;
        tex->maskG = g_maskG;
        tex->maskB = g_maskB;
        img = imageOver(tex, w * frames, h, flags, w, h, 0, frames);
    }
    if (!img) {
        // The null backend makes no textures; keep a shape-only image so
        // callers that measure it still work.
        img = std::make_shared<TImage>();
        img->width = w;
        img->height = h;
        img->frameCount = frames;
        img->flags = flags;
    }
    return img;
}

// The w x h screen area at (x, y) into the frame at (dx, dy); only what
// lands inside the frame is taken.
void grabInto(const ImagePtr& img, int frame, int x, int y, int w, int h, int dx, int dy) {
    if (!img || w <= 0 || h <= 0) return;
    auto* tex = dynamic_cast<TTexture*>(img->data.get());
    float fx, fy;
    if (!tex || !frameOrigin(*img, *tex, frame, fx, fy)) return;
    const int x0 = std::max(0, dx), y0 = std::max(0, dy);
    const int x1 = std::min(img->width, dx + w), y1 = std::min(img->height, dy + h);
    if (x1 <= x0 || y1 <= y0) return;
    TPixmap pix = grabLogical(x + (x0 - dx), y + (y0 - dy), x1 - x0, y1 - y0);
    if (img->flags & IMG_MASKED) applyMask(pix, g_maskR, g_maskG, g_maskB);
    B().updateTexture(*tex, static_cast<int>(fx) + x0, static_cast<int>(fy) + y0, pix);
}

void GrabImage(const ImagePtr& img, int x, int y, int frame) {
    if (img) grabInto(img, frame, x, y, img->width, img->height, 0, 0);
}

void GrabImageRect(const ImagePtr& img, int x, int y, int w, int h, int dx, int dy) {
    grabInto(img, 0, x, y, w, h, dx, dy);
}

TPixmap GrabPixmap(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return {};
    return grabLogical(x, y, w, h);
}

TPixmap LoadPixmap(const std::string& path) { return B().decodeImage(path); }

bool SavePixmapPNG(const TPixmap& pix, const std::string& path) {
    if (pix.width <= 0 || pix.height <= 0 ||
        pix.pixels.size() != static_cast<size_t>(pix.width) * pix.height * 4)
        return false;
    return B().savePNG(pix, path);
}

void ForceDrawing(bool on) {
    g_forceDrawing = std::max(0, g_forceDrawing + (on ? 1 : -1));
}

void DrawImage(const ImagePtr& img, float x, float y, int frame) {
    if (!img) return;
    DrawSubImageRect(img, x, y, static_cast<float>(img->width), static_cast<float>(img->height), 0, 0,
                     static_cast<float>(img->width), static_cast<float>(img->height), img->handleX,
                     img->handleY, frame);
}

void DrawImageRect(const ImagePtr& img, float x, float y, float w, float h, int frame) {
    if (!img || img->width <= 0 || img->height <= 0) return;
    // The handle scales with the frame so it keeps pointing at the same texel.
    DrawSubImageRect(img, x, y, w, h, 0, 0, static_cast<float>(img->width), static_cast<float>(img->height),
                     img->handleX * w / img->width, img->handleY * h / img->height, frame);
}

void DrawSubImageRect(const ImagePtr& img, float x, float y, float w, float h, float sx, float sy, float sw,
                      float sh, float hx, float hy, int frame) {
    if (!drawingOn()) return;
    const TTexture* tex = texOf(img);
    float fx, fy;
    if (!tex || !frameOrigin(*img, *tex, frame, fx, fy)) return;
    TQuad q;
    transformBox(q, x, y, 0, 0, w, h, hx, hy);
    setUV(q, *tex, fx + sx, fy + sy, sw, sh);
    submit(tex, q);
}

void DrawRect(float x, float y, float w, float h) {
    if (!drawingOn()) return;
    TQuad q;
    transformBox(q, x, y, 0, 0, w, h, 0, 0);
    std::fill(std::begin(q.u), std::end(q.u), 0.0f);
    std::fill(std::begin(q.v), std::end(q.v), 0.0f);
    submit(nullptr, q);
}

void DrawLine(float x1, float y1, float x2, float y2) {
    if (!drawingOn()) return;
    const TRenderState& s = g_state;
    const float dx = x2 - x1, dy = y2 - y1;
    const float px = pixScaleX(), py = pixScaleY();
    const float ax = viewX(x1 + s.originX) * px, ay = viewY(y1 + s.originY) * py;
    const float bx = viewX(x1 + s.originX + dx * s.ix + dy * s.iy) * px;
    const float by = viewY(y1 + s.originY + dx * s.jx + dy * s.jy) * py;
    B().drawLine(ax, ay, bx, by, clampByte(s.r), clampByte(s.g), clampByte(s.b), alphaByte(s.alpha), s.blend);
}

void DrawText(const std::string& utf8, float x, float y) {
    if (!drawingOn()) return;
    const TImageFontData* font = g_state.font ? g_state.font->data.get() : nullptr;
    float pen = 0;
    TGlyph gl;
    for (size_t i = 0; i < utf8.size();) {
        const uint32_t cp = NextCodepoint(utf8, i);
        if (!B().glyph(font, cp, gl)) continue;
        if (gl.tex && gl.w > 0 && gl.h > 0) {
            TQuad q;
            transformBox(q, x, y, pen + static_cast<float>(gl.offsetX), 0, static_cast<float>(gl.w), static_cast<float>(gl.h), 0, 0);
            setUV(q, *gl.tex, static_cast<float>(gl.x), static_cast<float>(gl.y), static_cast<float>(gl.w),
                  static_cast<float>(gl.h));
            submit(gl.tex, q);
        }
        pen += static_cast<float>(gl.advance);
    }
}

int TextWidth(const std::string& utf8) {
    const TImageFontData* font = g_state.font ? g_state.font->data.get() : nullptr;
    int w = 0;
    TGlyph gl;
    for (size_t i = 0; i < utf8.size();) {
        const uint32_t cp = NextCodepoint(utf8, i);
        if (B().glyph(font, cp, gl)) w += gl.advance;
    }
    return w;
}

int TextHeight(const std::string&) {
    return B().fontHeight(g_state.font ? g_state.font->data.get() : nullptr);
}

FontPtr LoadImageFont(const std::string& path, int size, int style) {
    if (size <= 0) return nullptr;
    auto data = B().loadFont(path, size, style);
    if (!data) return nullptr;
    auto f = std::make_shared<TImageFont>();
    f->path = path;
    f->size = size;
    f->style = style;
    f->data = data;
    return f;
}

// ---------------------------------------------------------------------------
// Input

void InjectKey(int vk, bool down) {
    if (vk <= 0 || vk > 255) return;
    if (down && !g_input.keyDown[vk]) ++g_input.keyHits[vk];
    g_input.keyDown[vk] = down ? 1 : 0;
}
void InjectMouseButton(int button, bool down) {
    if (button < 1 || button > 3) return;
    if (down && !g_input.mouseDown[button]) ++g_input.mouseHits[button];
    g_input.mouseDown[button] = down;
}
void InjectMouseMove(float px, float py) {
    g_input.mx = px;
    g_input.my = py;
}
void InjectWheel(int dz) { g_input.wheel += dz; }
void InjectChar(uint32_t cp) {
    if (cp == 0) return;
    if (g_input.charCount == 64) {  // full: the oldest goes
        g_input.charHead = (g_input.charHead + 1) % 64;
        --g_input.charCount;
    }
    g_input.chars[(g_input.charHead + g_input.charCount) % 64] = cp;
    ++g_input.charCount;
}
void InjectTerminate() { g_input.terminate = true; }
void InjectSuspended(bool suspended) { g_input.suspended = suspended; }
void ResetInput() { g_input = TInput{}; }

namespace {
int g_displayResets = 0;
}
void InjectDisplayReset() { ++g_displayResets; }
int DisplayResets() { return g_displayResets; }

void PollSystem() { B().pollEvents(); }

int KeyHit(int key) {
    PollSystem();
    if (key <= 0 || key > 255) return 0;
    const int n = g_input.keyHits[key];
    g_input.keyHits[key] = 0;
    return n;
}
bool KeyDown(int key) {
    PollSystem();
    return key > 0 && key <= 255 && g_input.keyDown[key];
}
int GetChar() {
    PollSystem();
    if (g_input.charCount == 0) return 0;
    const uint32_t cp = g_input.chars[g_input.charHead];
    g_input.charHead = (g_input.charHead + 1) % 64;
    --g_input.charCount;
    return static_cast<int>(cp);
}
void FlushKeys() {
    PollSystem();
    std::fill(std::begin(g_input.keyHits), std::end(g_input.keyHits), 0);
    std::fill(std::begin(g_input.keyDown), std::end(g_input.keyDown), 0);
    g_input.charCount = 0;
}
int MouseHit(int button) {
    PollSystem();
    if (button < 1 || button > 3) return 0;
    const int n = g_input.mouseHits[button];
    g_input.mouseHits[button] = 0;
    return n;
}
bool MouseDown(int button) {
    PollSystem();
    return button >= 1 && button <= 3 && g_input.mouseDown[button];
}
int MouseX() {
    PollSystem();
    return static_cast<int>(std::floor(g_input.mx / pixScaleX() - g_mouseOffX + 1e-3f));
}
int MouseY() {
    PollSystem();
    return static_cast<int>(std::floor(g_input.my / pixScaleY() - g_mouseOffY + 1e-3f));
}
int MouseZ() {
    PollSystem();
    return g_input.wheel;
}
void FlushMouse() {
    PollSystem();
    std::fill(std::begin(g_input.mouseHits), std::end(g_input.mouseHits), 0);
    std::fill(std::begin(g_input.mouseDown), std::end(g_input.mouseDown), false);
}
void ShowMouse() { B().showPointer(true); }
void HideMouse() { B().showPointer(false); }
void MoveMouse(int x, int y) {
    const float px = (x + g_mouseOffX) * pixScaleX(), py = (y + g_mouseOffY) * pixScaleY();
    g_input.mx = px;
    g_input.my = py;
    B().warpPointer(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py)));
}
bool AppTerminate() {
    PollSystem();
    return g_input.terminate;
}
bool AppSuspended() {
    PollSystem();
    return g_input.suspended;
}

// ---------------------------------------------------------------------------
// Audio

SoundPtr LoadSound(const std::string& path, int flags) {
    auto data = B().loadSound(path, flags);
    if (!data) return nullptr;
    auto s = std::make_shared<TSound>();
    s->path = path;
    s->flags = flags;
    s->data = data;
    return s;
}
Channel PlaySound(const SoundPtr& snd) { return snd ? B().playSound(*snd, false) : 0; }
Channel CueSound(const SoundPtr& snd) { return snd ? B().playSound(*snd, true) : 0; }
void ResumeChannel(Channel ch) {
    if (ch > 0) B().resumeChannel(ch);
}
void PauseChannel(Channel ch) {
    if (ch > 0) B().pauseChannel(ch);
}
void StopChannel(Channel ch) {
    if (ch > 0) B().stopChannel(ch);
}
void SetChannelVolume(Channel ch, float volume) {
    if (ch > 0) B().setChannelVolume(ch, std::clamp(volume, 0.0f, 1.0f));
}
bool ChannelPlaying(Channel ch) { return ch > 0 && B().channelPlaying(ch); }

// ---------------------------------------------------------------------------
// System

int Millisecs() {
    // Wraps like a 32-bit tick counter.
    const auto ms = static_cast<int64_t>(std::floor(B().millisecs()));
    return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(ms)));
}
int DesktopWidth() { return B().desktopWidth(); }
int DesktopHeight() { return B().desktopHeight(); }
void SetWindowTitle(const std::string& title) { B().setWindowTitle(title); }
int SetWindowIcon(const std::vector<std::string>& pngFiles) {
    std::vector<TPixmap> sizes;
    for (const std::string& f : pngFiles) {
        TPixmap p = B().decodeImage(f);
        if (p.width > 0 && p.height > 0 && p.pixels.size() == static_cast<size_t>(p.width) * p.height * 4)
            sizes.push_back(std::move(p));
    }
    if (!sizes.empty()) B().setWindowIcon(sizes);
    return static_cast<int>(sizes.size());
}
void Notify(const std::string& text, bool serious) { B().notify(text, serious); }
bool Confirm(const std::string& text) { return B().confirm(text); }
std::string RequestFile(const std::string& title, const std::string& filter, bool save,
                        const std::string& initial) {
    return B().requestFile(title, filter, save, initial);
}
namespace {
std::tm localNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    return tm;
}
}  // namespace
std::string CurrentDate() {
    const std::tm tm = localNow();
    char buf[32];
    std::strftime(buf, sizeof buf, "%d %b %Y", &tm);
    return buf;
}
std::string CurrentTime() {
    const std::tm tm = localNow();
    char buf[32];
    std::strftime(buf, sizeof buf, "%H:%M:%S", &tm);
    return buf;
}
bool IsHeadless() { return B().headless(); }

// ---------------------------------------------------------------------------
// Random numbers

int Rand(int a, int b) {
    if (a > b) std::swap(a, b);
    const uint64_t range = static_cast<uint64_t>(static_cast<int64_t>(b) - a) + 1;
    const uint64_t r = (static_cast<uint64_t>(g_rng.next()) * range) >> 32;
    return static_cast<int>(static_cast<int64_t>(a) + static_cast<int64_t>(r));
}
float RndF(float a, float b) {
    const float unit = static_cast<float>(g_rng.next() >> 8) / 16777216.0f;  // [0, 1)
    const float v = a + (b - a) * unit;
    return (v >= b && b > a) ? std::nextafter(b, a) : v;
}
void SeedRnd(uint32_t seed) { g_rng.seed(seed); }
