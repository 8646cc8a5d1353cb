#include "effects/TParticle.h"

#include <algorithm>
#include <cstdio>

#include "data/DataGlobals.h"
#include "data/TRCMFile.h"

std::vector<ImagePtr> TParticle::images;
bool TParticle::setUp = false;
std::function<void(const std::string&)> TParticle::noticeHook;

void TParticle::notice(const std::string& text) {
    if (noticeHook)
        noticeHook(text);
    else
        Notify(text, true);
}

void TParticle::setup() {
    if (setUp) return;
    setUp = true;
    images.clear();
    TRCMFile f;
    f.Load(dataRoot + "data/particles.dat");
    if (!f._loaded) {
        std::fprintf(stderr, "Cannot read data/particles.dat: particles will not show.\n");
        return;
    }
    const int count = f.getInt("particles::i");
    if (count < 0 || count > 1000) return;
    images.resize(static_cast<size_t>(count) + 1);
    for (int k = 0; k <= count; ++k) {
        const std::string path = f.getString("particles::p" + std::to_string(k));
        ImagePtr img = path.empty() ? nullptr : LoadImage(dataRoot + path, IMG_FILTERED | IMG_MIPMAPPED);
        if (!img) {
            notice("NO PARTICLE IMG: " + path);
            continue;
        }
        MidHandleImage(img);
        images[static_cast<size_t>(k)] = img;
    }
}

void TParticle::_updateTime() {
    const int now = Millisecs();
    if (now < startTime) {
        lifePer = 0;
        return;
    }
    if (bornTime == 0) bornTime = now;
    const int age = now - bornTime;
    lifePer = lifeTime > 0 ? std::min(1.0f, static_cast<float>(age) / static_cast<float>(lifeTime)) : 1.0f;
    if (age > lifeTime) destroy();
}

void TParticle::_updateAlpha() {
    a = startA + (da - startA) * lifePer;
}
void TParticle::_updateScale() {
    s = startS + (ds - startS) * lifePer;
}
void TParticle::_updatePosition() {
    r = startR + (dr - startR) * lifePer;
}

void TParticle::_updateMove() {
    per = lifePer;
    const float t = per;
    x = x1 + 2 * t * (mx - x1) + t * t * (x1 - 2 * mx + x2);
    y = y1 + 2 * t * (my - y1) + t * t * (y1 - 2 * my + y2);
}

void TParticle::update() {
    if (Millisecs() < startTime) return;
    _updateTime();
    _updateAlpha();
    _updateScale();
    _updatePosition();
    _updateMove();
}

void TParticle::draw() {
    if (Millisecs() < startTime || bornTime == 0) return;
    if (n < 0 || n >= static_cast<int>(images.size()) || !images[static_cast<size_t>(n)]) return;
    SetBlend(blend);
    SetRotation(r);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    SetScale(s, s);
    DrawImage(images[static_cast<size_t>(n)], x, y);
}

void TParticle::destroy() {
    _dead = true;
}

void TParticle::setLine(float ax, float ay, float bx, float by) {
    setCurve(ax, ay, (ax + bx) * 0.5f, (ay + by) * 0.5f, bx, by);
}

void TParticle::setCurve(float ax, float ay, float cx, float cy, float bx, float by) {
    x1 = ax;
    y1 = ay;
    mx = cx;
    my = cy;
    x2 = bx;
    y2 = by;
    x = ax;
    y = ay;
}

// ---------------------------------------------------------------------------

TParticleList::TParticleList(int capacity) : _capacity(capacity > 0 ? capacity : 1) {
    _items.reserve(static_cast<size_t>(_capacity));
}

TParticleList::~TParticleList() {
    clear();
}

bool TParticleList::add(TParticle* p) {
    if (!p) return false;
    if (static_cast<int>(_items.size()) >= _capacity) {
        if (p->_pool) p->_pool->release(p);
        return false;
    }
    p->list = this;
    p->_dead = false;
    _items.push_back(p);
    return true;
}

void TParticleList::_compact() {
    auto keep = std::remove_if(_items.begin(), _items.end(), [](TParticle* p) {
        if (!p->_dead) return false;
        p->list = nullptr;
        if (p->_pool) p->_pool->release(p);
        return true;
    });
    _items.erase(keep, _items.end());
}

void TParticleList::update() {
    _updating = true;
    // Index loop: an update may append new particles (they run from the next frame).
    const size_t n = _items.size();
    for (size_t i = 0; i < n; ++i)
        if (!_items[i]->_dead) _items[i]->update();
    _updating = false;
    _compact();
}

void TParticleList::draw() {
    for (TParticle* p : _items)
        if (!p->_dead) p->draw();
    SetBlend(ALPHABLEND);
    SetRotation(0);
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
}

void TParticleList::clear() {
    for (TParticle* p : _items) p->_dead = true;
    _compact();
}

int TParticleList::size() const {
    int live = 0;
    for (const TParticle* p : _items)
        if (!p->_dead) ++live;
    return live;
}

TParticleList& particles() {
    static auto* list = new TParticleList(6000);
    return *list;
}

void updateParticles(TParticleList* l) {
    (l ? *l : particles()).update();
}
void drawParticles(TParticleList* l) {
    (l ? *l : particles()).draw();
}
void clearParticles(TParticleList* l) {
    (l ? *l : particles()).clear();
}

TParticlePool<TParticle>& particlePool() {
    // Never freed: lists may give particles back while the program ends.
    static auto* pool = new TParticlePool<TParticle>(5000);
    return *pool;
}

TParticle* newParticle(TParticleList* l) {
    TParticle* p = particlePool().acquire();
    if (!p) return nullptr;
    if (!(l ? *l : particles()).add(p)) return nullptr;
    return p;
}
