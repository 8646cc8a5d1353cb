// The gallery ("GALERIA"), shown between stages: a card for every dog of the
// quest pinned to a board at its place and slant. Dogs already dressed up
// show their picture, the others a blank card. The dog just finished flies
// in from the middle with sparkles; a click on a dressed dog shows it large
// (TShowDog); "continue" goes on to the next stage's owner scene.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "dogs/TPies.h"

class TProfile;

class TGaleria : public TEkran {
public:
    TGaleria();

    ImagePtr back;
    ImagePtr sparkle;
    FontPtr titleFont, textFont;
    std::string txtTitle, txtNewDog, txtHint;
    TPiesPtr newDog;   // the dog just finished (set by the profile and the owner scene)
    TPiesPtr over;     // the card under the pointer
    float arrive = 1;  // 0..1 the new dog's flight to its place
    int startTime = 0;

    int setup() override;
    // mode is not used; returns "UBIERANIE", or "STORY" after the last stage.
    std::string mainLoop(int mode = 0);
    void prepare();
    int update() override;
    int draw() override;
    void _control() override;

    // The dogs whose card shows the dog: finished stages of the profile.
    static bool uncovered(const TPies& d, const TProfile* p);
    // The card (of its gallery picture's size) under (x, y), slant included.
    static bool cardHit(const TPies& d, float x, float y);

private:
    bool _setUp = false;
    void _drawCard(const TPies& d, float x, float y, float scale, float rot, float alpha);
    struct Spark {
        float x, y, vx, vy, life, rot;
    };
    std::vector<Spark> _sparks;
};
using TGaleriaPtr = std::shared_ptr<TGaleria>;

extern TGaleriaPtr galeria;
