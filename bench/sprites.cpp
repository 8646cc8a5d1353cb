// Sprite benchmark: N rotated, scaled, alpha-blended 64 x 64 sprites a frame
// on a 1024 x 768 target.
//
//   bench_sprites                       headless figures, then windowed ones when a display exists
//   bench_sprites --headless N...       frames per second of the software path for each N
//   bench_sprites --windowed N...       frames per second in a window (vsync on)
//   bench_sprites --find60              largest N (steps of 25, then 250) that holds 58+ fps windowed
//   bench_sprites --idle SECONDS        CPU used by a static screen with vsync, percent of one core
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

ImagePtr makeSprite() {
    TPixmap p;
    p.width = p.height = 64;
    p.pixels.resize(64 * 64 * 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float dx = x - 31.5f, dy = y - 31.5f, d = std::sqrt(dx * dx + dy * dy);
            uint8_t* px = &p.pixels[(y * 64 + x) * 4];
            px[0] = static_cast<uint8_t>(128 + x * 2);
            px[1] = static_cast<uint8_t>(255 - y * 3);
            px[2] = 180;
            px[3] = d > 31 ? 0 : static_cast<uint8_t>(255 - d * 4);
        }
    ImagePtr img = CreateImageFromPixmap(p, IMG_FILTERED);
    MidHandleImage(img);
    return img;
}

struct Sprite {
    float x, y, vx, vy, rot, vr, scale;
};

bool open(bool headless) {
    InstallBackend(headless ? MakeHeadlessBackend() : MakeSdlBackend());
    if (!OpenGraphics(1024, 768, 0, 60)) {
        std::fprintf(stderr, "cannot open %s graphics\n", headless ? "headless" : "windowed");
        return false;
    }
    SetVirtualResolution(1024, 768);
    SetWindowTitle("bench_sprites");
    std::printf("backend: %s\n", Backend().name());
    return true;
}

double g_cpuFps = 0;  // frames per CPU second of the last run (fair on a busy machine)

// Frames per second drawing n sprites for about `seconds`.
double run(int n, double seconds) {
    SeedRnd(1);
    ImagePtr img = makeSprite();
    std::vector<Sprite> s(static_cast<size_t>(n));
    for (auto& p : s)
        p = {RndF(0, 1024), RndF(0, 768), RndF(-3, 3), RndF(-3, 3), RndF(0, 360), RndF(-4, 4), RndF(0.5f, 1.5f)};
    const auto start = Clock::now();
    const double c0 = cpuSeconds();
    int frames = 0;
    double elapsed = 0;
    while (elapsed < seconds) {
        PollSystem();
        if (AppTerminate()) break;
        Cls();
        SetBlend(ALPHABLEND);
        SetAlpha(0.7f);
        for (auto& p : s) {
            p.x += p.vx;
            p.y += p.vy;
            p.rot += p.vr;
            if (p.x < 0 || p.x > 1024) p.vx = -p.vx;
            if (p.y < 0 || p.y > 768) p.vy = -p.vy;
            SetRotation(p.rot);
            SetScale(p.scale, p.scale);
            DrawImage(img, p.x, p.y);
        }
        SetRotation(0);
        SetScale(1, 1);
        Flip(1);
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    const double cpu = cpuSeconds() - c0;
    g_cpuFps = cpu > 0 ? frames / cpu : 0;
    return frames / elapsed;
}

double idle(double seconds) {
    ImagePtr img = makeSprite();
    const double c0 = cpuSeconds();
    const auto start = Clock::now();
    double elapsed = 0;
    while (elapsed < seconds) {
        PollSystem();
        Cls();
        SetBlend(ALPHABLEND);
        DrawImage(img, 512, 384);
        Flip(1);
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return 100.0 * (cpuSeconds() - c0) / elapsed;
}

std::vector<int> counts(int argc, char** argv, int from) {
    std::vector<int> out;
    for (int i = from; i < argc; ++i) out.push_back(std::atoi(argv[i]));
    if (out.empty()) out = {100, 500, 1000, 2000};
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--headless" || mode == "--windowed") {
        if (!open(mode == "--headless")) return 1;
        for (int n : counts(argc, argv, 2)) {
            const double fps = run(n, 2.0);
            std::printf("%s %5d sprites: %7.1f fps (%7.1f frames per CPU second)\n", mode.c_str() + 2, n, fps,
                        g_cpuFps);
        }
    } else if (mode == "--find60") {
        if (!open(false)) return 1;
        int best = 0;
        for (int n = 25; n <= 20000; n += n < 250 ? 25 : 250) {
            const double fps = run(n, 2.0);
            std::printf("windowed %5d sprites: %6.1f fps (%7.1f frames per CPU second)\n", n, fps, g_cpuFps);
            if (fps < 58) break;
            best = n;
        }
        std::printf("holds 60 fps up to %d sprites\n", best);
    } else if (mode == "--idle") {
        if (!open(false)) return 1;
        const double secs = argc > 2 ? std::atof(argv[2]) : 5.0;
        std::printf("static screen with vsync: %.1f%% of one core\n", idle(secs));
    } else if (mode.empty()) {
        if (!open(true)) return 1;
        for (int n : {100, 500, 1000, 2000}) {
            const double fps = run(n, 1.0);
            std::printf("headless %5d sprites: %7.1f fps (%7.1f frames per CPU second)\n", n, fps, g_cpuFps);
        }
        if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) {
            if (!open(false)) return 1;
            for (int n : {100, 500, 1000, 2000}) {
                const double fps = run(n, 1.0);
                std::printf("windowed %5d sprites: %7.1f fps (%7.1f frames per CPU second)\n", n, fps, g_cpuFps);
            }
        } else {
            std::printf("no display: windowed figures skipped (try xvfb-run %s --find60)\n", argv[0]);
        }
    } else {
        std::fprintf(stderr, "usage: %s [--headless N... | --windowed N... | --find60 | --idle SECONDS]\n", argv[0]);
        return 2;
    }
    InstallBackend(nullptr);
    return 0;
}
