#include "gui/TRGMAnimation.h"

#include <algorithm>

#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"

int TRGMAnimation::interpretujSchemat(const std::string& schema, int dir) {
    _animData = TAnimData();
    const TSchemaInfo info = interpretSchema(schema, _animData);
    _animNormal = info.animNormal;
    _dir = dir;
    frames = _animData.animFrames;
    aktAnim = _animNormal;
    aktFrame = 0;
    _wykonano = 0;
    _animData.animTime = Millisecs() + _animData.frameDelta[static_cast<size_t>(aktAnim)];
    return 0;
}

int TRGMAnimation::playAnim(const std::string& name, int loop) {
    int idx = _animData.find(guiUpper(name));
    if (idx < 0) {
        errorNotice("Podanej nazwy animacji nie ma na liscie animacji obiektu! Nazwa :" + name);
        idx = 0;
    }
    aktAnim = idx;
    aktFrame = 0;
    _wykonano = 0;
    _loop = loop;
    _animData.animTime = Millisecs() + _animData.frameDelta[static_cast<size_t>(idx)];
    return 0;
}

int TRGMAnimation::updateMe(float, float) {
    if (_animData.anims == 0) return 0;
    const int now = Millisecs();
    if (now - _animData.animTime < 0) return 0;
    size_t a = static_cast<size_t>(aktAnim);
    _animData.animTime = now + _animData.frameDelta[a];
    ++aktFrame;
    if (aktFrame >= _animData.frames[a]) {
        aktFrame = 0;
        _wykonano = 1;
        if (aktAnim != _animNormal && !_loop) {
            aktAnim = _animNormal;
            a = static_cast<size_t>(aktAnim);
            _animData.animTime = now + _animData.frameDelta[a];
        }
    }
    return 0;
}

int TRGMAnimation::draw(float dx, float dy) {
    if (!dim || !_image) return 0;
    SetBlend(ALPHABLEND);
    SetAlpha(_alpha);
    SetScale(_scale, _scale);
    SetColor(rgb.r, rgb.g, rgb.b);
    const size_t a = static_cast<size_t>(aktAnim);
    const size_t f = static_cast<size_t>(std::clamp(aktFrame, 0, TAnimData::kMaxFrames - 1));
    const int frame = std::clamp(_animData.frameN[a][f] - 1, 0, std::max(0, _image->frameCount - 1));
    DrawImage(_image, dim->x + dx, dim->y + dy, frame);
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

TRGMAnimationPtr createAnimation(const std::string& name, const std::string& path, float x, float y,
                                 const std::string& schema, int dir, int visible, int active) {
    auto an = std::make_shared<TRGMAnimation>();
    an->_id = name;
    an->_v = visible;
    an->_a = active;
    an->dim = std::make_shared<TDim>();
    an->dim->x = x;
    an->dim->y = y;
    an->interpretujSchemat(schema, dir);
    const int count = std::max(1, an->frames);
    ImagePtr whole = LoadImage(path, IMG_DEFAULT);
    if (whole) {
        int fw = ImageWidth(whole), fh = ImageHeight(whole);
        if (dir == 0) {
            fw /= count;
        } else {
            fh /= count;
        }
        if (fw > 0 && fh > 0) an->_image = LoadAnimImage(path, fw, fh, 0, count, IMG_DEFAULT);
        if (!an->_image) an->_image = whole;
        MidHandleImage(an->_image);
        an->dim->w = static_cast<float>(an->_image->width);
        an->dim->h = static_cast<float>(an->_image->height);
    }
    an->dim->x1 = x - an->dim->w / 2;
    an->dim->x2 = x + an->dim->w / 2;
    an->dim->y1 = y - an->dim->h / 2;
    an->dim->y2 = y + an->dim->h / 2;
    return an;
}
