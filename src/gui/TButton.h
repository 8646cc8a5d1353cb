// Buttons in eight kinds: picture buttons that grow when hovered, animated
// buttons driven by a schema, cross-fading and four-state buttons, and three
// kinds with a caption.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "gui/TAnimData.h"
#include "gui/TGuiObject.h"

enum ButtonKind : int {
    BTN_SIMPLE = 0,
    BTN_ANIM = 1,
    BTN_BLEND = 2,
    BTN_FSTEP = 3,
    BTN_TEXT = 4,
    BTN_TEXT_SPEC1 = 5,
    BTN_FSTEP_BLEND = 6,
    BTN_TEXT_SPEC2 = 8
};

class TButton : public TGuiObject {
public:
    // The swelling caption keeps a scale for this many letters; the rest
    // of a longer caption is drawn at scale 1.
    static constexpr int kMaxSwellLetters = 200;

    ImagePtr _image;
    FontPtr _font;
    int _typ = 0;
    int _dir = 0;  // 0 frames side by side, 1 stacked
    TRGBPtr outLine;
    TAnimData _animData;
    int frames = 0;
    int aktAnim = 0, aktFrame = 0;
    int _activeFlag = 0, _overFlag = 0, _unactiveFlag = 0;
    int _animNormal = 0, _animActive = 0, _animOver = 0, _animUnActive = 0;
    float _buttonAlpha = 1, _dButtonAlpha = 1;
    float _buttonScale = 1, _dButtonScale = 1;
    std::string _txt;
    std::array<float, kMaxSwellLetters> _textScale;
    float _chrN = 0;
    std::array<float, kMaxSwellLetters> _dTextScale;
    int _wykonano = 0;
    int _buttonKey = 0;  // unused; the shortcut is TGuiObject::_key
    float _textWidth = 0, _textHeight = 0;
    float _bigText = 2.0f;
    float _old4StepB = 0, _new4StepB = 0;
    float _oldAlpha = 0, _newAlpha = 0;
    int _textShadow = 1;
    int dimAdX = 0, dimAdY = 0;
    int _pomRememberX = 0, _pomRememberY = 0;

    TButton();

    int draw(float dx, float dy) override;
    int countDims() override { return CountDims(); }
    int CountDims();
    int countDims2() override;
    int updateMe(float dx, float dy) override;

    virtual int setDeltaTime(int ms, int anim);
    virtual int interpretujSchemat(const std::string& schema, int dir);
    virtual int updateScaleAndAlpha();
    virtual int sprawdzAnimacje();
    virtual int animUpdate();
    virtual int playAnim(const std::string& name);
    virtual int drawAsPowerUp(float unused, const TRGBPtr& colour, float alpha, float fill);
    virtual int drawMyTextSpec(const std::string& text, float x, float y);

private:
    void _playIndex(int idx);
    void _drawCaption(const std::string& text, int tx, int ty, bool special);
    int _frameOf(int frame) const;
    // Letter offsets of the caption, refreshed when _txt changes (no per-frame work).
    void _syncLetters();
    std::string _lettersOf;
    std::vector<uint32_t> _letterStart;
};
using TButtonPtr = std::shared_ptr<TButton>;

// Creators used by the script loader and by screens.
TButtonPtr createSimpleButton(const std::string& name, const ImagePtr& picture, float x, float y, int visible,
                              int active);
TButtonPtr createSimpleButton(const std::string& name, const std::string& path, float x, float y, int visible,
                              int active);
TButtonPtr createAnimButton(const std::string& name, const std::string& path, float x, float y,
                            const std::string& schema, int dir, int visible, int active);
TButtonPtr createBlendButton(const std::string& name, const std::string& path, float x, float y, int dir,
                             int visible, int active);
TButtonPtr createFStepButton(const std::string& name, const std::string& path, float x, float y, int dir,
                             int visible, int active);
TButtonPtr createFStepBlendButton(const std::string& name, const std::string& path, float x, float y, int dir,
                                  int visible, int active);
TButtonPtr createTextButton(const std::string& name, const std::string& caption, const FontPtr& font, float x,
                            float y, const TRGBPtr& colour, const TRGBPtr& outline, int visible, int active,
                            float overAdX = 0, float overAdY = 0);
TButtonPtr createTextSpecButton1(const std::string& name, const std::string& caption, const FontPtr& font,
                                 float x, float y, const TRGBPtr& colour, const TRGBPtr& outline, int visible,
                                 int active);
TButtonPtr createTextSpecButton2(const std::string& name, const std::string& path, const std::string& caption,
                                 const FontPtr& font, float x, float y, const TRGBPtr& colour,
                                 const TRGBPtr& outline, int visible, int active, int adX = 0, int adY = 0);
