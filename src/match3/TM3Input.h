// The mouse as the board engine reads it. The play screen feeds it the game's
// own mouse (TGameMouseInput); the level runner and the tests use the
// services' left button (TM3ServicesInput) or a scripted one.
#pragma once

class TM3Input {
public:
    virtual ~TM3Input() = default;
    virtual int mouseX() = 0;
    virtual int mouseY() = 0;
    virtual int mouseHit() = 0;    // left presses since the last frame
    virtual bool mouseDown() = 0;  // left button held
    virtual void flushMouse() = 0;
};

// The services' left mouse button.
class TM3ServicesInput : public TM3Input {
public:
    int mouseX() override;
    int mouseY() override;
    int mouseHit() override;
    bool mouseDown() override;
    void flushMouse() override;
};
