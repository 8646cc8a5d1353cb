// Short-lived sprites whose alpha, scale, rotation and position are
// interpolated over a fixed lifetime. Particles come from fixed pools made
// once, so bursts during play allocate nothing; a full pool simply makes a
// smaller burst.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "data/TRGB.h"

class TParticle;
class TParticleList;

// A fixed store of particles of one kind.
class TParticlePoolBase {
public:
    virtual ~TParticlePoolBase() = default;
    virtual void release(TParticle* p) = 0;
    virtual int used() const = 0;
    virtual int capacity() const = 0;
};

template <class T>
class TParticlePool final : public TParticlePoolBase {
public:
    explicit TParticlePool(int n) : _items(static_cast<size_t>(n)), _free(static_cast<size_t>(n)) {
        for (int i = 0; i < n; ++i) _free[static_cast<size_t>(i)] = &_items[static_cast<size_t>(n - 1 - i)];
    }
    // A fresh particle, or null when every one is alive.
    T* acquire() {
        if (_free.empty()) return nullptr;
        T* p = _free.back();
        _free.pop_back();
        *p = T();
        p->_pool = this;
        return p;
    }
    void release(TParticle* p) override { _free.push_back(static_cast<T*>(p)); }
    int used() const override { return static_cast<int>(_items.size() - _free.size()); }
    int capacity() const override { return static_cast<int>(_items.size()); }

private:
    std::vector<T> _items;
    std::vector<T*> _free;  // capacity fixed at construction
};

class TParticle {
public:
    float startA = 0, da = 0, a = 0;
    float startS = 0, ds = 0, s = 0;
    float startR = 0, dr = 0, r = 0;
    int n = 0;
    TRGB rgb;
    float x = 0, y = 0;
    int blend = LIGHTBLEND;
    int startTime = 0;
    int bornTime = 0;
    int lifeTime = 1;
    float lifePer = 0;
    float x1 = 0, y1 = 0, mx = 0, my = 0, x2 = 0, y2 = 0, per = 0;
    TParticleList* list = nullptr;

    TParticle() = default;
    TParticle(const TParticle&) = default;
    TParticle& operator=(const TParticle&) = default;
    virtual ~TParticle() = default;

    // The picture table, read once from "data/particles.dat".
    static void setup();
    virtual void _updateTime();
    virtual void _updateAlpha();
    virtual void _updateScale();
    virtual void _updatePosition();
    virtual void _updateMove();
    virtual void update();
    virtual void draw();
    // Leaves its list (the list gives it back to its pool).
    virtual void destroy();

    bool dead() const { return _dead; }
    bool started() const { return Millisecs() >= startTime; }
    // Straight path from (ax, ay) to (bx, by): the control point halfway.
    void setLine(float ax, float ay, float bx, float by);
    void setCurve(float ax, float ay, float cx, float cy, float bx, float by);

    static std::vector<ImagePtr> images;
    static bool setUp;
    // Where the missing-picture message goes; unset: a serious message box.
    static std::function<void(const std::string&)> noticeHook;
    static void notice(const std::string& text);

    TParticlePoolBase* _pool = nullptr;
    bool _dead = false;
};

// A list of live particles. Its storage is reserved once; a particle that
// would not fit is given back to its pool instead.
class TParticleList {
public:
    explicit TParticleList(int capacity = 4096);
    ~TParticleList();
    TParticleList(const TParticleList&) = delete;
    TParticleList& operator=(const TParticleList&) = delete;

    // False (and the particle returned to its pool) when the list is full.
    bool add(TParticle* p);
    void update();
    void draw();
    void clear();
    int size() const;  // live particles
    int capacity() const { return _capacity; }
    const std::vector<TParticle*>& items() const { return _items; }

private:
    void _compact();
    std::vector<TParticle*> _items;
    int _capacity;
    bool _updating = false;
};

// The global particle list.
TParticleList& particles();
// List operations; null means the global list.
void updateParticles(TParticleList* l = nullptr);
void drawParticles(TParticleList* l = nullptr);
void clearParticles(TParticleList* l = nullptr);

// The pool of plain particles.
TParticlePool<TParticle>& particlePool();
// A plain particle from the pool, appended to the list (global when null);
// null when the pool or the list is full.
TParticle* newParticle(TParticleList* l = nullptr);
