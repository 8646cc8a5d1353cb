// One playing piece on a tile. All visible movement is an offset (adx, adY)
// from the tile's position that the state machine drives back to zero; each
// frame update() advances the state and returns a status for the tile.
#pragma once

#include <memory>
#include <string>

#include "match3/M3Shared.h"
#include "match3/TChipData.h"
#include "match3/TChipState.h"

class TTile;
class TOdpad;
class TM3Game;

class TChip : public std::enable_shared_from_this<TChip> {
public:
    TChip();

    TChipDataPtr cd;
    int r = 0, c = 0;
    float screenX = 0, screenY = 0;
    float adx = 0, adY = 0;
    float rot = 0;
    float a = 1, s = 1;
    int frame = 0;
    float sx = 1, sy = 1;
    float destrA = 0;
    float p = 0;
    float destrChain = 1;
    TChipState state;  // read and set by name too
    std::string lastState, lastAvState;
    TChipDataPtr docelowyChip;
    TTile* docelowyTile = nullptr;
    TDim startDim, endDim, mDim;
    float tileP = 0;
    float changeP = 0;
    std::shared_ptr<TOdpad> _odpad;
    TTile* tile = nullptr;  // back-reference, not owning
    int oznaczony = 0;
    int bylUsuwanyLancuch = 0;
    int _reverse = 1;
    int bylOddanyRes = 0;
    int reversing = 0;
    int destroyTime = 0;
    int startTime = 0;
    float xSpeed = 0, ySpeed = 0;
    float _ax = 0, _ay = 0;
    int destroyType = 0;  // 0 normal, 1 horizontal fire, 2 vertical fire, 3 bomb, 4 cross
    float overRot = 0, overP = 0, doverP = 0;
    float shakeP = 0, dShakeP = 0, asx = 0, asy = 0, sasX = 0, sasY = 0;
    int partTime = 0;
    float speCRot = 0;
    float aBlask = 0, dABlask = 0, blaskRot = 0;
    int blaskTime = 0;
    int bylUsuwany = 0;

    // Queries.
    int isInPair();
    int isPicked();
    int isSwaping();
    int isMovingCheckSwap();
    int isMoving();
    int isBonus();
    int doingNothing();

    void giveScore();
    void giveScore2();
    void sendMeDown();
    void moveUpToFall();
    void moveDownToFall();

    // Start steps of the states.
    void state_fallDown();
    void state_fallLeftDown();
    void state_fallRightDown();
    void state_moveDown();
    void state_moveUp();
    void state_moveLeftUP();
    void state_moveRightUP();
    void state_moveLeftDown();
    void state_moveRightDown();
    void state_moveLeft();
    void state_moveRight();
    void state_land();
    void state_land_back();
    void state_show();

    void setState(const std::string& state);
    void setMyAlpha(float a);
    void setChipData(const TChipDataPtr& cd);
    void setDestroyType(int type);
    void generateDestroyParticlesBomb();
    void generateDestroyParticlesCross();
    void generateDestroyParticlesNormal(int n);
    void generateDestroyParticlesFireHORIZONTAL();
    void generateDestroyParticlesFireVERTICAL();

    // Drawing.
    void draw(float x, float y, int over);
    void draw_EDITOR(float x, float y, int over);
    void drawLIghtned(float x, float y, int over);
    void drawLIghtned1(float x, float y);
    void drawHintChain(float x, float y);
    void drawLIghtnedGroup(float x, float y);
    void drawLIghtnedGroup1(float x, float y, float p);
    void drawNormal(float x, float y, int over);
    void drawNormalSpec();
    void drawChain();
    void drawPuzzleChipEfekt();

    // Finishers: complete a state at once.
    void _finish_move_up_to_fall();
    void _finish_move_down_to_fall();
    void _finish_move();
    void _finish_fall();
    void _finish_show();
    void _finish_land();
    void _finish_land_back();
    void _finish_lie();
    void _finish_destroy();
    void _finish_destroy_chain();
    void _finish_replace();
    void finishMove();

    void _update_tile_Position();
    void _update_settings();
    // Per-frame steps of the states.
    std::string _update_move_up_to_fall();
    std::string _update_move_left();
    std::string _update_move_right();
    std::string _update_move_up();
    std::string _update_move_down();
    std::string _update_fall();
    std::string _update_side_fall(int dir);
    std::string _update_show();
    std::string _update_land();
    std::string _update_land_back();
    std::string _update_lie();
    std::string _update_destroy();
    std::string _update_destroy_chain();
    std::string _update_replace();
    std::string _update_state();
    void _update_change();
    void _update_tileFly();
    void _update_not_picked();
    void _update_picked();
    void _update_over_Group();
    void _update_shaking(float a, float b);
    void _update_PuzzleChip();
    void _update_bonusRot();
    std::string update();

    void giveResource(int n);
    void destroyChain(int delay);
    void destroy(int delay);
    void vanish();
    void replaceChipData(const TChipDataPtr& cd);
    void changeTo(const TChipDataPtr& cd);
    void flyToTile(TTile* tile);
    void reverse();
    void BONUS_SHUFFLE();
    void BONUS_CROSSFIRE();
    void BONUS_HORIZONTAL();
    void BONUS_VERTICAL();
    void BONUS_BOMB();
    void POWERUP();
    std::string getMoveReverse() const;

    // Helpers of our own.
    TM3Game* game() const;
    int isPuzzle() const;

private:
    void _setFromTile();
    int _step;  // per-frame step chosen when the state is set (no string compares per frame)
};
using TChipPtr = std::shared_ptr<TChip>;

TChipPtr createChip(const TChipDataPtr& cd);
