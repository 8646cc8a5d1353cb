// Frame timer: measures each frame on the services' clock and gives the frame
// factor (1.0 for a frame of one nominal frame's length).
#pragma once

#include <memory>
#include <vector>

class TDeltaTime {
public:
    int OldTime = 0;
    int ElapsedTime = 0;
    float dFps = 0;
    float dDelta = 0;
    int CurrFps = 0;
    int FPSCounter = 0;
    int CurrTime = 0;
    int CheckTime = 0;

    // A new timer at the given rate, added to the class-wide list.
    static std::shared_ptr<TDeltaTime> Create(float fps);
    // Every live timer, in creation order.
    static const std::vector<TDeltaTime*>& timers();

    TDeltaTime();
    ~TDeltaTime();
    TDeltaTime(const TDeltaTime&) = delete;
    TDeltaTime& operator=(const TDeltaTime&) = delete;

    void SetFPS(float fps);
    void Update();
    int FPS() const { return CurrFps; }
    float CurrDelta() const;
    void Destroy();  // leaves the class-wide list

private:
    bool _listed = false;
};
