// An animated sprite driven by a schema like an animated button's
// ("NORMAL 1 2 3 WAVE(80) 4 5 6"). It loops NORMAL; playAnim starts another
// animation, which returns to NORMAL after one cycle unless it is looped.
#pragma once

#include <string>

#include "platform/Services.h"
#include "gui/TAnimData.h"
#include "gui/TGuiObject.h"

class TRGMAnimation : public TGuiObject {
public:
    ImagePtr _image;
    TAnimData _animData;
    int _animNormal = 0;
    int frames = 0;
    int aktAnim = 0, aktFrame = 0;
    int _wykonano = 0;
    int _loop = 0;  // keep repeating the animation started by playAnim
    int _dir = 0;

    TRGMAnimation() { _class = GUI_ANIMATION; }

    int interpretujSchemat(const std::string& schema, int dir);
    int playAnim(const std::string& name, int loop = 0);
    int updateMe(float dx, float dy) override;
    int draw(float dx, float dy) override;
};
using TRGMAnimationPtr = std::shared_ptr<TRGMAnimation>;

// The picture is cut into as many frames as the schema uses, along dir (0 side
// by side, 1 stacked); x, y is the sprite's centre.
TRGMAnimationPtr createAnimation(const std::string& name, const std::string& path, float x, float y,
                                 const std::string& schema, int dir, int visible, int active);
