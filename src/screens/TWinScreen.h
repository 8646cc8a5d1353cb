// The results panel that fades in over the darkened board when a level is
// won: its rows appear one by one with little bursts while fireworks go off;
// the level's score and pieces are added to the profile once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "effects/TParticle.h"
#include "screens/TSummaryData.h"

class TLevel;

class TWinScreen : public TEkran {
public:
    TWinScreen();

    ImagePtr img, podkladka;
    int toExit = 0;
    FontPtr titlefont, dataFont, totalFont, smallFont;
    int time = 0;
    int showCount = 0;
    std::string txtComp, txtScore, txtGameTime, txtTimeLeft, txtTimeBonus, txtTiles, txtBiggestMatch,
        txtMultiplier, txtMultiplierBonus, txtTotalScore, txtPuzzles, txtToGo1, txtToGo2, txtLevelScore,
        txtFinishBonus;  // relaxed play: the level score's bonus for finishing
    int fireTime = 0;  // clock time the panel began (the fireworks run on their own schedule)
    std::vector<TSummaryData> lines;
    float moveX = 40;
    // The rows are drawn this far below getDataY so they clear the panel's title ribbon.
    float moveY = 50;
    ImagePtr puzel, tiles;
    float guiAlpha = 0, dGuiAlpha = 0;
    int puzzlesToGo = 0;
    int collectedPuzzles = 0;

    int setup() override;
    // Texts only (no pictures), so the rows can be built without a display.
    void setupTexts();
    // Runs over `behind` (the play screen, kept alive beneath), or alone.
    std::string mainLoop(TEkran* behind = nullptr);
    void prepare();
    void _prepareSelf();
    void _prepareSummary();
    void _prepareEfekty() {}
    void _prepareReady();
    int update() override;
    void _updateState();
    int _updateGui() override;
    void _updateEfekt();
    void _control() override;
    int draw() override;
    void _drawRows();
    void generateShowParticles(int row);

    int getTimeBonus() const;
    int getTotalScore() const;
    // 1234567 as "1,234,567", the HUD's number format.
    static std::string groupThousands(int v);
    float getDataY(int row) const;
    // Rows are never closer than this (a row's bar is about 30 px high).
    static constexpr float kMinRowStep = 34.0f;

    // The loop's end: the hide has run its course.
    bool loopDone() const override { return state == "HIDE" && fade == 0.0f && dFade == 0.0f; }

    TParticleList effects{1500};  // fireworks and row bursts, drawn over the panel

private:
    bool _setUp = false, _textsSetUp = false;
    std::weak_ptr<TLevel> _creditedLevel;  // the level whose score was added
    int _allShownTime = 0;
    std::string _toGoText;  // "Only N pieces to go!", made once per showing
};

extern std::shared_ptr<TWinScreen> winScreen;
