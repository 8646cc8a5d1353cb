// The name entry: a title, the name being typed with a blinking cursor, OK
// and (unless forbidden) cancel. Only letters A-Z, a-z and digits are taken,
// 15 at most; Enter is OK, Escape cancels, Backspace removes the last one.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TEnterText : public TEkran {
public:
    TEnterText();

    static constexpr size_t kMaxLength = 15;

    std::string entry;
    int time = 0;    // next cursor blink
    int switch_ = 1; // cursor shown
    FontPtr font;
    ImagePtr panel;
    bool noCancel = false;

    int setup() override;
    // The typed name, or "" after a cancel.
    std::string mainLoop(TEkran* behind, const std::string& initial, const std::string& title, int noCancelFlag);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _closing && alpha == 0.0f; }

    // One typed character: true when taken (used by the loop and the tests).
    bool typeChar(uint32_t c);
    void goOk();
    void goCancel();

private:
    bool _setUp = false;
    bool _closing = false;
};

extern std::shared_ptr<TEnterText> enterText;
