// The credits that roll after the last campaign level, repeating until the
// player dismisses them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "screens/TCreditData.h"

class TEndOfGame : public TEkran {
public:
    TEndOfGame();

    ImagePtr img;
    std::vector<TCreditData> lista;
    float y = 768;
    FontPtr font1, font2, font3;

    int setup() override;
    // Builds the lines from text: "#" lines use font2, "$" lines font3, empty lines are dropped.
    void setLines(const std::vector<std::string>& text);
    // Runs over `behind` (the play screen, kept alive beneath), or alone.
    std::string mainLoop(TEkran* behind = nullptr);
    void prepare();
    int update() override;
    int draw() override;
    void _control() override;
    // Height the whole list takes (each line its text height + 2).
    float listHeight() const;

    bool loopDone() const override { return dAlpha == 0.0f && alpha == 0.0f; }
    int restarts = 0;  // times the credits started again from below

private:
    bool _setUp = false;
};

extern std::shared_ptr<TEndOfGame> endOfGame;
