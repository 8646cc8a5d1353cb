#include "JigsawCutter.h"

#include <algorithm>
#include <cmath>

namespace {

// splitmix64: small, fast and the same on every platform and compiler, so a
// seed gives the same pieces everywhere.
class Rng {
public:
    explicit Rng(uint64_t seed) : _s(seed) {}
    uint64_t next() {
        uint64_t z = (_s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [a, b).
    double uniform(double a, double b) { return a + (b - a) * double(next() >> 11) * 0x1.0p-53; }

private:
    uint64_t _s;
};

using Pt = JigsawPoint;
using Polyline = std::vector<Pt>;

// Shape of one knob, in units of the smaller cell side, drawn per edge.
struct KnobShape {
    int sign = 1;                 // which side the knob sticks out to
    double centre = 0;            // along the edge, as a share of its length
    double neck = 0;              // half width of the neck
    double head = 0;              // half width of the head
    double height = 0;            // how far the knob reaches
    double lean = 0;              // sideways shift of the head's top
    double wave1 = 0, wave2 = 0;  // sway of the shoulders either side

    void draw(Rng& rng) {
        sign = (rng.next() >> 63) ? 1 : -1;
        centre = rng.uniform(0.44, 0.56);
        neck = 0.09 * rng.uniform(0.9, 1.1);
        head = 0.16 * rng.uniform(0.9, 1.1);
        height = 0.27 * rng.uniform(0.92, 1.08);
        lean = rng.uniform(-0.025, 0.025);
        wave1 = rng.uniform(-0.03, 0.03);
        wave2 = rng.uniform(-0.03, 0.03);
    }
};

void addCubic(Polyline& out, Pt p0, Pt c1, Pt c2, Pt p1) {
    const int steps = 20;
    for (int i = 1; i <= steps; ++i) {
        const double t = double(i) / steps, u = 1 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        out.push_back({a * p0.x + b * c1.x + c * c2.x + d * p1.x, a * p0.y + b * c1.y + c * c2.y + d * p1.y});
    }
}

// An inner edge from corner a to corner b: shoulders, neck, round head and
// back, as smooth cubic curves. Worked out along the edge (u) and across it
// (v), then turned into picture coordinates.
Polyline knobEdge(Pt a, Pt b, double unit, const KnobShape& k) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    const double ux = dx / len, uy = dy / len;
    const double vx = -uy * k.sign, vy = ux * k.sign;

    const double s = unit;
    const double c = k.centre * len;
    const double nw = k.neck * s, hw = k.head * s, kh = k.height * s, lean = k.lean * s;
    // The neck pinches in before the head swells out: this is the direction
    // the curve leaves the knob's base with.
    const double inX = 0.045 * s, inY = 0.07 * s;
    const Pt p0{0, 0}, b1{c - nw, 0}, hl{c - hw + lean * 0.5, kh * 0.62}, top{c + lean, kh},
        hr{c + hw + lean * 0.5, kh * 0.62}, b2{c + nw, 0}, p1{len, 0};

    Polyline local;
    local.push_back(p0);
    addCubic(local, p0, {0.4 * b1.x, k.wave1 * s}, {b1.x - 0.6 * inX, -0.6 * inY}, b1);
    addCubic(local, b1, {b1.x + inX, inY}, {hl.x, kh * 0.3}, hl);
    addCubic(local, hl, {hl.x, kh * 0.86}, {top.x - hw * 0.55, kh}, top);
    addCubic(local, top, {top.x + hw * 0.55, kh}, {hr.x, kh * 0.86}, hr);
    addCubic(local, hr, {hr.x, kh * 0.3}, {b2.x - inX, inY}, b2);
    addCubic(local, b2, {b2.x + 0.6 * inX, -0.6 * inY}, {len - 0.4 * (len - b2.x), k.wave2 * s}, p1);

    Polyline out;
    out.reserve(local.size());
    for (const Pt& q : local) out.push_back({a.x + q.x * ux + q.y * vx, a.y + q.x * uy + q.y * vy});
    out.back() = b;  // exactly the corner, so the edges meet without a seam
    out.front() = a;
    return out;
}

// Counts, for every pixel of the box [x0, x1) x [y0, y1), how many of its
// kSub x kSub sample points lie inside the closed outline. A sample belongs
// to a piece when an odd number of outline crossings lie at or left of it.
// Each crossing is computed from the segment in one fixed orientation, so two
// pieces sharing an edge get bit-identical crossings and every sample point
// lands in exactly one of them.
void coverage(const Polyline& outline, int x0, int y0, int x1, int y1, std::vector<uint8_t>& cov) {
    const int S = JigsawCutter::kSub;
    const int bw = x1 - x0;
    cov.assign(size_t(bw) * (y1 - y0), 0);
    std::vector<double> xs;
    const size_t n = outline.size();
    for (int j = y0 * S; j < y1 * S; ++j) {
        const double sy = (j + 0.5) / S;
        xs.clear();
        for (size_t i = 0; i < n; ++i) {
            Pt p = outline[i], q = outline[(i + 1) % n];
            if (p.y == q.y) continue;
            if (p.y > q.y) std::swap(p, q);
            if (sy < p.y || sy >= q.y) continue;
            xs.push_back(p.x + (sy - p.y) * (q.x - p.x) / (q.y - p.y));
        }
        std::sort(xs.begin(), xs.end());
        uint8_t* row = &cov[size_t(j / S - y0) * bw];
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            // Samples sit at (i + 0.5) / S; take those with xs[i] <= x < xs[i+1].
            int from = int(std::ceil(xs[i] * S - 0.5));
            int to = int(std::ceil(xs[i + 1] * S - 0.5));
            from = std::max(from, x0 * S);
            to = std::min(to, x1 * S);
            for (int s = from; s < to; ++s) ++row[s / S - x0];
        }
    }
}

}  // namespace

std::string JigsawCutter::check(const RgbaImage& picture) const {
    if (picture.w <= 0 || picture.h <= 0) return "the picture is empty";
    if (picture.w > kBoardSize || picture.h > kBoardSize) {
        return "the picture is " + std::to_string(picture.w) + " x " + std::to_string(picture.h) +
               " pixels and does not fit the " + std::to_string(kBoardSize) + " x " +
               std::to_string(kBoardSize) + " jigsaw board";
    }
    if (rows < 1 || cols < 1 || rows * cols < 2) {
        return "a jigsaw needs at least 2 pieces (grid " + std::to_string(rows) + " x " +
               std::to_string(cols) + ")";
    }
    if (picture.w / cols < kMinCell || picture.h / rows < kMinCell) {
        return "a " + std::to_string(rows) + " x " + std::to_string(cols) +
               " grid makes pieces smaller than " + std::to_string(kMinCell) + " pixels on a " +
               std::to_string(picture.w) + " x " + std::to_string(picture.h) + " picture";
    }
    return "";
}

bool JigsawCutter::cut(const RgbaImage& picture, std::vector<JigsawPiece>& pieces, std::string& err) const {
    err = check(picture);
    if (!err.empty()) return false;
    const int W = picture.w, H = picture.h;
    const double cw = double(W) / cols, ch = double(H) / rows;
    const double unit = std::min(cw, ch);
    Rng rng(seed);

    // Corners: inner ones move a little both ways, border ones only along
    // the border, the picture's own corners stay.
    std::vector<Pt> corner(size_t(rows + 1) * (cols + 1));
    auto C = [&](int r, int c) -> Pt& { return corner[size_t(r) * (cols + 1) + c]; };
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c <= cols; ++c) {
            const double jx = rng.uniform(-0.06, 0.06) * cw, jy = rng.uniform(-0.06, 0.06) * ch;
            Pt p{c == cols ? double(W) : c * cw, r == rows ? double(H) : r * ch};
            if (c > 0 && c < cols) p.x += jx;
            if (r > 0 && r < rows) p.y += jy;
            C(r, c) = p;
        }
    }
    // Horizontal edges run left to right, vertical ones top to bottom.
    std::vector<Polyline> hEdge(size_t(rows + 1) * cols), vEdge(size_t(rows) * (cols + 1));
    auto HE = [&](int r, int c) -> Polyline& { return hEdge[size_t(r) * cols + c]; };
    auto VE = [&](int r, int c) -> Polyline& { return vEdge[size_t(r) * (cols + 1) + c]; };
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            KnobShape k;
            k.draw(rng);
            HE(r, c) = (r == 0 || r == rows) ? Polyline{C(r, c), C(r, c + 1)}
                                             : knobEdge(C(r, c), C(r, c + 1), unit, k);
        }
    }
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c <= cols; ++c) {
            KnobShape k;
            k.draw(rng);
            VE(r, c) = (c == 0 || c == cols) ? Polyline{C(r, c), C(r + 1, c)}
                                             : knobEdge(C(r, c), C(r + 1, c), unit, k);
        }
    }

    pieces.clear();
    pieces.reserve(size_t(rows) * cols);
    std::vector<uint8_t> cov;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            JigsawPiece piece;
            piece.id = r * cols + c + 1;
            piece.row = r;
            piece.col = c;
            // Clockwise: top, right, bottom (backwards), left (backwards).
            Polyline& o = piece.outline;
            auto append = [&o](const Polyline& e, bool forward) {
                if (forward)
                    o.insert(o.end(), e.begin(), e.end() - 1);
                else
                    o.insert(o.end(), e.rbegin(), e.rend() - 1);
            };
            append(HE(r, c), true);
            append(VE(r, c + 1), true);
            append(HE(r + 1, c), false);
            append(VE(r, c), false);

            double minX = W, minY = H, maxX = 0, maxY = 0;
            for (const Pt& p : o) {
                minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
            }
            const int bx0 = std::max(0, int(std::floor(minX))), by0 = std::max(0, int(std::floor(minY)));
            const int bx1 = std::min(W, int(std::ceil(maxX)) + 1),
                      by1 = std::min(H, int(std::ceil(maxY)) + 1);
            coverage(o, bx0, by0, bx1, by1, cov);

            // Tight box of the covered pixels.
            const int bw = bx1 - bx0;
            int tx0 = bx1, ty0 = by1, tx1 = bx0, ty1 = by0;
            for (int y = by0; y < by1; ++y) {
                for (int x = bx0; x < bx1; ++x) {
                    if (!cov[size_t(y - by0) * bw + (x - bx0)]) continue;
                    tx0 = std::min(tx0, x), tx1 = std::max(tx1, x + 1);
                    ty0 = std::min(ty0, y), ty1 = std::max(ty1, y + 1);
                }
            }
            piece.x = tx0;
            piece.y = ty0;
            const int pw = tx1 - tx0, ph = ty1 - ty0;

            // Bevel: the coverage blurred twice by a 5-wide box, and the
            // slope of that from the top-left to the bottom-right neighbour.
            // Edges facing the top left light up, the others darken. Where the
            // whole blur window is covered the slope is exactly 0, so pixels
            // more than kBevelReach in keep the source's colours.
            const int pad = 3;
            const int ew = pw + 2 * pad, eh = ph + 2 * pad;
            std::vector<int> m(size_t(ew) * eh, 0), t(m.size(), 0), b(m.size(), 0);
            for (int y = 0; y < ph; ++y)
                for (int x = 0; x < pw; ++x)
                    m[size_t(y + pad) * ew + x + pad] = cov[size_t(y + ty0 - by0) * bw + (x + tx0 - bx0)];
            auto blur = [ew, eh](const std::vector<int>& in, std::vector<int>& out) {
                std::vector<int> tmp(in.size(), 0);
                for (int y = 0; y < eh; ++y)
                    for (int x = 0; x < ew; ++x) {
                        int s = 0;
                        for (int d = -2; d <= 2; ++d)
                            if (x + d >= 0 && x + d < ew) s += in[size_t(y) * ew + x + d];
                        tmp[size_t(y) * ew + x] = s;
                    }
                for (int y = 0; y < eh; ++y)
                    for (int x = 0; x < ew; ++x) {
                        int s = 0;
                        for (int d = -2; d <= 2; ++d)
                            if (y + d >= 0 && y + d < eh) s += tmp[size_t(y + d) * ew + x];
                        out[size_t(y) * ew + x] = s;
                    }
            };
            blur(m, t);
            blur(t, b);
            const double full = double(kSub * kSub) * 625.0;  // one fully covered window

            piece.img = RgbaImage(pw, ph);
            for (int y = 0; y < ph; ++y) {
                for (int x = 0; x < pw; ++x) {
                    const int k = cov[size_t(y + ty0 - by0) * bw + (x + tx0 - bx0)];
                    if (!k) continue;
                    const uint8_t* s = picture.at(x + tx0, y + ty0);
                    uint8_t* d = piece.img.at(x, y);
                    const size_t e = size_t(y + pad) * ew + x + pad;
                    const int slope = b[e + ew + 1] - b[e - ew - 1];
                    const double f = std::clamp(2.2 * slope / full, -1.0, 1.0);
                    for (int ch3 = 0; ch3 < 3; ++ch3) {
                        const double v = s[ch3];
                        const double o3 = f > 0 ? v + (255.0 - v) * 0.5 * f : v * (1.0 + 0.45 * f);
                        d[ch3] = uint8_t(std::lround(std::clamp(o3, 0.0, 255.0)));
                    }
                    constexpr int samples = kSub * kSub;
                    d[3] = uint8_t((k * int(s[3]) + samples / 2) / samples);
                }
            }
            pieces.push_back(std::move(piece));
        }
    }
    for (JigsawPiece& p : pieces) {
        if (p.row > 0) p.neighbours.push_back(p.id - cols);
        if (p.col > 0) p.neighbours.push_back(p.id - 1);
        if (p.col + 1 < cols) p.neighbours.push_back(p.id + 1);
        if (p.row + 1 < rows) p.neighbours.push_back(p.id + cols);
    }
    return true;
}
