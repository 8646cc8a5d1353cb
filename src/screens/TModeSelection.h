// Timed or relaxed: a round panel spins and grows in over the darkened menu,
// then its two buttons fade in; a choice reverses the show.
#pragma once

#include <memory>
#include <string>

#include "app/TEkran.h"

class TModeSelection : public TEkran {
public:
    TModeSelection();

    ImagePtr img;
    ImagePtr ikony;  // loaded, not drawn
    float fade2 = 0, dFade2 = 0;

    int setup() override;
    // "TIMED" or "RELAXED".
    std::string mainLoop(TEkran* behind = nullptr);
    void prepare();
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return fade2 == 0.0f && dFade2 == 0.0f && !wynik.empty(); }

private:
    bool _setUp = false;
    void _updateState();
};

extern std::shared_ptr<TModeSelection> modeSelection;
