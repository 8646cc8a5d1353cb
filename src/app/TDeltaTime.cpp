#include "app/TDeltaTime.h"

#include <algorithm>

#include "platform/Services.h"

namespace {
// Never destroyed: timers held by globals leave it during static destruction.
std::vector<TDeltaTime*>& timerList() {
    static auto* list = new std::vector<TDeltaTime*>();
    return *list;
}
}  // namespace

std::shared_ptr<TDeltaTime> TDeltaTime::Create(float fps) {
    auto t = std::make_shared<TDeltaTime>();
    t->SetFPS(fps);
    return t;
}

const std::vector<TDeltaTime*>& TDeltaTime::timers() { return timerList(); }

TDeltaTime::TDeltaTime() {
    timerList().push_back(this);
    _listed = true;
}

TDeltaTime::~TDeltaTime() { Destroy(); }

void TDeltaTime::Destroy() {
    if (!_listed) return;
    auto& l = timerList();
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    _listed = false;
}

void TDeltaTime::SetFPS(float fps) {
    if (fps <= 0) return;  // a zero rate would make every frame infinitely long
    dFps = fps;
    dDelta = 1000.0f / fps;
}

void TDeltaTime::Update() {
    CurrTime = Millisecs();
    ElapsedTime = CurrTime - OldTime;
    OldTime = CurrTime;
    if (CurrTime > CheckTime) {
        CheckTime = CurrTime + 1000;
        CurrFps = FPSCounter;
        FPSCounter = 0;
    } else {
        FPSCounter += 1;
    }
}

float TDeltaTime::CurrDelta() const { return dDelta > 0 ? static_cast<float>(ElapsedTime) / dDelta : 0.0f; }
