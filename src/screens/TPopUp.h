// The small pop-up over any screen: a message on a panel over the darkened
// screen behind, with yes/no buttons (confirm) or one OK button (notice).
// Enter answers yes/OK, Escape answers no/OK.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TPopUp : public TEkran {
public:
    TPopUp();

    ImagePtr panel;
    FontPtr font;
    std::string text;
    bool question = false;  // yes/no rather than OK

    int setup() override;
    // "YES", "NO" (questions) or "OK" (notices); drawn over `behind`.
    std::string mainLoop(const std::string& message, bool askQuestion, TEkran* behind);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return !wynik.empty() && alpha == 0.0f; }

private:
    bool _setUp = false;
    void _answer(const std::string& a);
};

extern std::shared_ptr<TPopUp> popUp;

// Yes/no question over `behind` (the innermost running screen when null):
// 1 for yes.
int confirm(const std::string& text, TEkran* behind = nullptr);
// A message with one button over `behind`.
void notice(const std::string& text, TEkran* behind = nullptr);
