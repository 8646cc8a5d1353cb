#include "gui/TButton.h"

#include <cmath>

#include "gui/GuiGlobals.h"
#include "gui/GuiValues.h"
#include "gui/TMouse.h"

TButton::TButton() {
    _class = GUI_BUTTON;
    _textScale.fill(1);
    _dTextScale.fill(1);
}

int TButton::setDeltaTime(int ms, int anim) {
    if (anim >= 0 && anim < TAnimData::kMaxAnims) _animData.frameDelta[static_cast<size_t>(anim)] = ms;
    return 0;
}

int TButton::interpretujSchemat(const std::string& schema, int dir) {
    _animData = TAnimData();
    const TSchemaInfo info = interpretSchema(schema, _animData);
    _activeFlag = info.activeFlag;
    _overFlag = info.overFlag;
    _unactiveFlag = info.unactiveFlag;
    _animNormal = info.animNormal;
    _animActive = info.animActive;
    _animOver = info.animOver;
    _animUnActive = info.animUnActive;
    _dir = dir;
    frames = _animData.animFrames;
    playAnim("NORMAL");
    return 0;
}

void TButton::_playIndex(int idx) {
    aktAnim = idx;
    aktFrame = 0;
    _wykonano = 0;
    _animData.animTime = Millisecs() + _animData.frameDelta[static_cast<size_t>(idx)];
}

int TButton::playAnim(const std::string& name) {
    int idx = _animData.find(guiUpper(name));
    if (idx < 0) {
        errorNotice("Podanej nazwy animacji nie ma na liscie animacji obiektu! Nazwa :" + name);
        idx = 0;
    }
    _playIndex(idx);
    return 0;
}

int TButton::sprawdzAnimacje() {
    if (_animData.anims == 0) return 0;
    const std::string& now = _animData.animName[static_cast<size_t>(aktAnim)];
    int next = -1;
    bool restart = false;
    const bool inactive = _a == 0;
    if (now == "ACTIVE") {
        if (_wykonano) next = (_over && _overFlag) ? _animOver : _animNormal;
        if (inactive && _unactiveFlag) next = _animUnActive;
    } else if (now == "OVER") {
        if (!_over) next = _animNormal;
        if (_clicked && _activeFlag) next = _animActive;
        if (inactive && _unactiveFlag) next = _animUnActive;
    } else if (now == "NORMAL") {
        if (_clicked && _activeFlag) next = _animActive;
        if (_over && _overFlag) next = _animOver;
        if (inactive && _unactiveFlag) next = _animUnActive;
    } else if (now == "UNACTIVE") {
        if (_wykonano) {
            next = inactive ? _animUnActive : _animNormal;
            restart = true;
        }
    } else {
        if (_wykonano) next = _animNormal;
        if (inactive && _unactiveFlag) next = _animUnActive;
    }
    if (next >= 0 && (next != aktAnim || restart)) _playIndex(next);
    return 0;
}

int TButton::animUpdate() {
    if (_animData.anims == 0) return 0;
    const int now = Millisecs();
    if (now - _animData.animTime < 0) return 0;
    const size_t a = static_cast<size_t>(aktAnim);
    _animData.animTime = now + _animData.frameDelta[a];
    ++aktFrame;
    if (aktFrame >= _animData.frames[a]) {
        aktFrame = 0;
        _wykonano = 1;
    }
    return 0;
}

int TButton::updateScaleAndAlpha() {
    const float step = 0.05f * frameDelta;
    auto approach = [step](float& v, float t) {
        if (v < t) {
            v += step;
            if (v > t) v = t;
        } else if (v > t) {
            v -= step;
            if (v < t) v = t;
        }
    };
    approach(_buttonScale, _dButtonScale);
    approach(_buttonAlpha, _dButtonAlpha);
    return 0;
}

void TButton::_syncLetters() {
    if (_lettersOf == _txt && !_letterStart.empty()) return;
    _lettersOf = _txt;
    _letterStart.clear();
    for (size_t i = 0; i < _txt.size(); i += guiUtf8CharLen(_txt, i)) _letterStart.push_back(static_cast<uint32_t>(i));
    _letterStart.push_back(static_cast<uint32_t>(_txt.size()));
}

int TButton::updateMe(float, float) {
    switch (_typ) {
        case BTN_SIMPLE:
        case BTN_TEXT:
        case BTN_TEXT_SPEC2:
            _dButtonScale = _over ? 1.1f : 1.0f;
            // A press makes the button spring back.
            if (_clicked || (_typ == BTN_TEXT && _over && _holded)) _buttonScale = 1;
            break;
        case BTN_ANIM:
            sprawdzAnimacje();
            animUpdate();
            break;
        case BTN_BLEND: {
            _dButtonAlpha = _over ? 1.0f : 0.0f;
            const float step = wzr * frameDelta;
            if (_buttonAlpha < _dButtonAlpha) {
                _buttonAlpha = std::min(_dButtonAlpha, _buttonAlpha + step);
            } else if (_buttonAlpha > _dButtonAlpha) {
                _buttonAlpha = std::max(_dButtonAlpha, _buttonAlpha - step);
            }
            break;
        }
        case BTN_FSTEP_BLEND: {
            float want;
            if (_over && (_clicked || _holded)) {
                want = 2;
            } else if (_over) {
                want = 1;
            } else if (_a) {
                want = 0;
            } else {
                want = 3;
            }
            if (want != _new4StepB) {
                _old4StepB = _new4StepB;
                _new4StepB = want;
                _newAlpha = 0;
            }
            _newAlpha = std::min(1.0f, _newAlpha + 0.05f * frameDelta);
            break;
        }
        case BTN_TEXT_SPEC1: {
            _syncLetters();
            const int letters = static_cast<int>(_letterStart.size()) - 1;
            _textScale.fill(1);
            if (!_over || letters <= 0) {
                _chrN = 0;
                break;
            }
            _chrN += 0.08f * frameDelta;
            if (static_cast<int>(_chrN) >= letters) _chrN = 0;
            {
                const int i = static_cast<int>(_chrN);
                if (_txt[_letterStart[static_cast<size_t>(i)]] == ' ') _chrN += 1;
                if (static_cast<int>(_chrN) >= letters) _chrN = 0;
            }
            const int i = static_cast<int>(_chrN);
            const float f = _chrN - static_cast<float>(i);
            float s;
            if (f < 0.5f) {
                s = 1 + f * _bigText;
            } else if (f == 0.5f) {
                s = 1.5f + 0.5f * _bigText;
            } else {
                s = 1.5f - (f - 0.5f) * _bigText;
            }
            if (i < kMaxSwellLetters) _textScale[static_cast<size_t>(i)] = s;
            break;
        }
        default:
            break;
    }
    updateScaleAndAlpha();
    return 0;
}

int TButton::CountDims() {
    if (!dim) return 0;
    if (_typ == BTN_TEXT) {
        SetImageFont(_font);
        const float w = static_cast<float>(TextWidth(_txt));
        const float h = static_cast<float>(TextHeight(_txt));
        dim->x1 = dim->x - w / 2;
        dim->x2 = dim->x + w / 2;
        dim->y1 = dim->y - h / 2;
        dim->y2 = dim->y + h / 2;
        return 0;
    }
    if (_typ == BTN_TEXT_SPEC1) return countDims2();
    float hx = 0, hy = 0, w = 0, h = 0;
    if (_image) {
        hx = _image->handleX;
        hy = _image->handleY;
        w = static_cast<float>(_image->width);
        h = static_cast<float>(_image->height);
    }
    dim->x1 = dim->x - hx;
    dim->y1 = dim->y - hy;
    dim->x2 = dim->x1 + w;
    dim->y2 = dim->y1 + h;
    return 0;
}

int TButton::countDims2() {
    if (!dim) return 0;
    SetImageFont(_font);
    float w = 0;
    std::string letter;
    for (size_t i = 0; i < _txt.size(); i += guiUtf8CharLen(_txt, i)) {
        letter.assign(_txt, i, guiUtf8CharLen(_txt, i));
        w += static_cast<float>(TextWidth(letter)) + 3;
    }
    const float h = _textHeight;
    dim->x1 = dim->x - w / 2;
    dim->x2 = dim->x + w / 2;
    dim->y1 = dim->y - h;
    dim->y2 = dim->y;
    return 0;
}

int TButton::_frameOf(int frame) const {
    if (frame < 0) return 0;
    if (_image && frame >= _image->frameCount) return _image->frameCount > 0 ? _image->frameCount - 1 : 0;
    return frame;
}

int TButton::drawMyTextSpec(const std::string& text, float x, float y) {
    // Letters by code point; each letter is at most 4 bytes, which std::string
    // keeps without allocating.
    std::string letter;
    int i = 0;
    for (size_t p = 0; p < text.size(); p += guiUtf8CharLen(text, p), ++i) {
        letter.assign(text, p, guiUtf8CharLen(text, p));
        const float sc = i < kMaxSwellLetters ? _textScale[static_cast<size_t>(i)] : 1.0f;
        SetScale(sc, sc);
        const float lw = static_cast<float>(TextWidth(letter));
        DrawText(letter, x - lw * sc / 2, y - _textHeight * sc / 2);
        x += lw + 3;
    }
    return 0;
}

void TButton::_drawCaption(const std::string& text, int tx, int ty, bool special) {
    auto put = [&](float x, float y) {
        if (special) {
            drawMyTextSpec(text, x, y);
        } else {
            DrawText(text, x, y);
        }
    };
    const float fx = static_cast<float>(tx), fy = static_cast<float>(ty);
    if (outLine) {
        SetColor(outLine->r, outLine->g, outLine->b);
        put(fx - 1, fy - 1);
        put(fx + 1, fy - 1);
        put(fx - 1, fy + 1);
        put(fx + 1, fy + 1);
    }
    SetColor(rgb.r, rgb.g, rgb.b);
    put(fx, fy);
}

int TButton::draw(float dx, float dy) {
    if (!dim) return 0;
    const float x = dim->x + dx, y = dim->y + dy;
    SetBlend(ALPHABLEND);
    SetColor(rgb.r, rgb.g, rgb.b);
    switch (_typ) {
        case BTN_SIMPLE:
            SetAlpha(_alpha);
            SetScale(_scale * _buttonScale, _scale * _buttonScale);
            if (_image) DrawImage(_image, x, y, 0);
            break;
        case BTN_ANIM: {
            SetAlpha(_alpha);
            SetScale(_scale, _scale);
            const size_t a = static_cast<size_t>(aktAnim);
            const size_t f = static_cast<size_t>(std::min(std::max(aktFrame, 0), TAnimData::kMaxFrames - 1));
            if (_image) DrawImage(_image, x, y, _frameOf(_animData.frameN[a][f] - 1));
            break;
        }
        case BTN_BLEND:
            SetScale(_scale, _scale);
            SetAlpha(_alpha);
            if (_image) DrawImage(_image, x, y, 0);
            SetAlpha(_alpha * _buttonAlpha);
            if (_image) DrawImage(_image, x, y, _frameOf(1));
            break;
        case BTN_FSTEP: {
            SetAlpha(_alpha);
            SetScale(_scale, _scale);
            int f;
            if (_over && (_clicked || _holded)) {
                f = 2;
            } else if (_over) {
                f = 1;
            } else if (_a) {
                f = 0;
            } else {
                f = 3;
            }
            if (_image) DrawImage(_image, x, y, _frameOf(f));
            break;
        }
        case BTN_FSTEP_BLEND:
            SetScale(_scale, _scale);
            SetAlpha(_alpha * _oldAlpha);
            if (_image) DrawImage(_image, x, y, _frameOf(static_cast<int>(_old4StepB)));
            SetAlpha(_alpha * _newAlpha);
            if (_image) DrawImage(_image, x, y, _frameOf(static_cast<int>(_new4StepB)));
            break;
        case BTN_TEXT_SPEC2: {
            const float s = _scale * _buttonScale;
            SetAlpha(_alpha);
            SetScale(s, s);
            SetColor(255, 255, 255);
            if (_image) DrawImage(_image, x, y, 0);
            SetImageFont(_font);
            const float w = static_cast<float>(TextWidth(_txt));
            const float h = static_cast<float>(TextHeight(_txt));
            const int tx = static_cast<int>(dim->x - w * s / 2 + dx + static_cast<float>(dimAdX));
            const int ty = static_cast<int>(dim->y - h * s / 2 + dy + static_cast<float>(dimAdY));
            _drawCaption(_txt, tx, ty, false);
            break;
        }
        case BTN_TEXT:
        case BTN_TEXT_SPEC1: {
            const bool special = _typ == BTN_TEXT_SPEC1;
            const float s = _scale * _buttonScale;
            SetAlpha(_alpha);
            SetScale(s, s);
            SetImageFont(_font);
            const int w = TextWidth(_txt);
            const int h = TextHeight(_txt);
            const int tx = static_cast<int>(dim->x - static_cast<float>(w / 2) * s + dx);
            const int ty = static_cast<int>(dim->y - static_cast<float>(h / 2) * s + dy);
            if (special) _syncLetters();
            if (!special && _textShadow) {
                SetColor(0, 0, 0);
                SetAlpha(0.4f * _alpha);
                DrawText(_txt, static_cast<float>(tx + 1), static_cast<float>(ty + 1));
                SetAlpha(_alpha);
            }
            _drawCaption(_txt, tx, ty, special);
            break;
        }
        default:
            break;
    }
    SetScale(1, 1);
    SetAlpha(1);
    SetColor(255, 255, 255);
    return 0;
}

int TButton::drawAsPowerUp(float, const TRGBPtr&, float alpha, float fill) {
    if (fill == 0 || !_image || !dim) return 0;
    if (fill > 1) fill = 1;
    const float w = static_cast<float>(_image->width), h = static_cast<float>(_image->height);
    const float srcY = h * (1 - fill);
    const float partH = h - srcY;
    SetBlend(LIGHTBLEND);
    SetColor(255, 255, 0);
    SetAlpha(alpha);
    const float s = _scale * _buttonScale;
    SetScale(s, s);
    // Four passes around the picture's position make a soft glow.
    static const int off[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const auto& o : off) {
        DrawSubImageRect(_image, dim->x + static_cast<float>(o[0]), dim->y + static_cast<float>(o[1]), w, partH, 0,
                         srcY, w, partH, _image->handleX, _image->handleY - srcY, 0);
    }
    SetScale(1, 1);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    return 0;
}

// ---------------------------------------------------------------------------
// Creators

static TButtonPtr newButton(const std::string& name, float x, float y, int visible, int active) {
    auto b = std::make_shared<TButton>();
    b->_id = name;
    b->_v = visible;
    b->_a = active;
    b->dim = std::make_shared<TDim>();
    b->dim->x = x;
    b->dim->y = y;
    return b;
}

// Loads a strip of count frames cut along dir, handle at the frame centre, and
// sets the button's corners around its centre.
static void loadStrip(TButton& b, const std::string& path, int count, int dir) {
    if (count < 1) count = 1;
    ImagePtr whole = LoadImage(path, IMG_DEFAULT);
    if (whole) {
        int fw = ImageWidth(whole), fh = ImageHeight(whole);
        if (dir == 0) {
            fw /= count;
        } else {
            fh /= count;
        }
        if (fw > 0 && fh > 0) b._image = LoadAnimImage(path, fw, fh, 0, count, IMG_DEFAULT);
        if (!b._image) b._image = whole;
    }
    float fw = 0, fh = 0;
    if (b._image) {
        fw = static_cast<float>(b._image->width);
        fh = static_cast<float>(b._image->height);
        SetImageHandle(b._image, fw / 2, fh / 2);
    }
    b.dim->w = fw;
    b.dim->h = fh;
    b.dim->x1 = b.dim->x - fw / 2;
    b.dim->x2 = b.dim->x + fw / 2;
    b.dim->y1 = b.dim->y - fh / 2;
    b.dim->y2 = b.dim->y + fh / 2;
}

TButtonPtr createSimpleButton(const std::string& name, const ImagePtr& picture, float x, float y, int visible,
                              int active) {
    auto b = newButton(name, x, y, visible, active);
    b->_typ = BTN_SIMPLE;
    b->_image = picture;
    if (picture) {
        MidHandleImage(picture);
        b->dim->w = static_cast<float>(picture->width);
        b->dim->h = static_cast<float>(picture->height);
    }
    b->CountDims();
    return b;
}

TButtonPtr createSimpleButton(const std::string& name, const std::string& path, float x, float y, int visible,
                              int active) {
    return createSimpleButton(name, LoadImage(path, IMG_MASKED | IMG_FILTERED | IMG_MIPMAPPED), x, y, visible,
                              active);
}

TButtonPtr createAnimButton(const std::string& name, const std::string& path, float x, float y,
                            const std::string& schema, int dir, int visible, int active) {
    auto b = newButton(name, x, y, visible, active);
    b->_typ = BTN_ANIM;
    if (schema.empty()) errorNotice("Nieprawidlowy schemat :" + schema);
    b->interpretujSchemat(schema, dir);
    loadStrip(*b, path, b->frames, dir);
    return b;
}

TButtonPtr createBlendButton(const std::string& name, const std::string& path, float x, float y, int dir,
                             int visible, int active) {
    auto b = newButton(name, x, y, visible, active);
    b->_typ = BTN_BLEND;
    b->_dir = dir;
    b->frames = 2;
    loadStrip(*b, path, 2, dir);
    b->_buttonAlpha = 0;
    return b;
}

TButtonPtr createFStepButton(const std::string& name, const std::string& path, float x, float y, int dir,
                             int visible, int active) {
    auto b = newButton(name, x, y, visible, active);
    b->_typ = BTN_FSTEP;
    b->_dir = dir;
    b->frames = 4;
    loadStrip(*b, path, 4, dir);
    return b;
}

TButtonPtr createFStepBlendButton(const std::string& name, const std::string& path, float x, float y, int dir,
                                  int visible, int active) {
    auto b = createFStepButton(name, path, x, y, dir, visible, active);
    b->_typ = BTN_FSTEP_BLEND;
    return b;
}

static void setCaptionColours(TButton& b, const TRGBPtr& colour, const TRGBPtr& outline) {
    if (colour) {
        b.rgb = *colour;
    } else {
        b.rgb = TRGB();
    }
    b.outLine = outline;
}

TButtonPtr createTextButton(const std::string& name, const std::string& caption, const FontPtr& font, float x,
                            float y, const TRGBPtr& colour, const TRGBPtr& outline, int visible, int active,
                            float overAdX, float overAdY) {
    auto b = newButton(name, x, y, visible, active);
    b->_typ = BTN_TEXT;
    b->_txt = caption;
    b->_font = font;
    setCaptionColours(*b, colour, outline);
    b->_overAdX = overAdX;
    b->_overAdY = overAdY;
    b->CountDims();
    return b;
}

TButtonPtr createTextSpecButton1(const std::string& name, const std::string& caption, const FontPtr& font,
                                 float x, float y, const TRGBPtr& colour, const TRGBPtr& outline, int visible,
                                 int active) {
    auto b = newButton(name, x, y, visible, active);
    b->_typ = BTN_TEXT_SPEC1;
    b->_txt = caption;
    b->_font = font;
    setCaptionColours(*b, colour, outline);
    b->_chrN = 0;
    SetImageFont(font);
    b->_textWidth = static_cast<float>(TextWidth("O"));
    b->_textHeight = static_cast<float>(TextHeight("O"));
    b->_textScale.fill(1);
    b->countDims2();
    return b;
}

TButtonPtr createTextSpecButton2(const std::string& name, const std::string& path, const std::string& caption,
                                 const FontPtr& font, float x, float y, const TRGBPtr& colour,
                                 const TRGBPtr& outline, int visible, int active, int adX, int adY) {
    auto b = newButton(name, x, y, visible, active);
    b->_typ = BTN_TEXT_SPEC2;
    b->_txt = caption;
    b->_font = font;
    setCaptionColours(*b, colour, outline);
    b->_image = LoadImage(path, IMG_DEFAULT);
    if (b->_image) {
        MidHandleImage(b->_image);
        b->dim->w = static_cast<float>(b->_image->width);
        b->dim->h = static_cast<float>(b->_image->height);
    }
    b->dimAdX = adX;
    b->dimAdY = adY;
    b->CountDims();
    return b;
}
