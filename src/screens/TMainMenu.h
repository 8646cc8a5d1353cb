// The main menu: a street with drifting clouds, a television that cross-fades
// between its pictures, a door (play), a taxi (options) and a canal (exit)
// that light up under the mouse, a button panel sliding up from below, and a
// greeting button that opens the profile manager.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"

class TMainMenu : public TEkran {
public:
    TMainMenu();

    ImagePtr back, base;
    // The street drawn once with the sky, and its strip of roofs drawn again
    // over the clouds: two pictures, one opaque, instead of two full-screen
    // blends each frame. Without them back and base are drawn as they are.
    ImagePtr backFull, baseTop;
    ImagePtr ekranImg, mainEkranImg;
    std::list<ImagePtr> listaEkranow;
    ImagePtr newEkranImg, oldEkranImg;
    float newA = 1, dNewA = 1;
    // The cross-fade as drawn: newA taken over on the clouds' step frames
    // only, so an idle menu changes on one frame in four.
    float shownA = 1;
    int time = 0;
    ImagePtr podPrzyciski;
    ImagePtr optionsTaxi, exitCanal, playDoor;
    float aOptions = 0, dAOptions = 0, aExit = 0, dAExit = 0, aPlay = 0, dAPlay = 0;
    float p = 0, dp = 0;
    std::string txtHello[3];
    std::string txtAreYouSure;

    int setup() override;
    void prepare();
    // "NEW-QUEST", "RESUME-QUEST", "FREE-PLAY" or "END".
    std::string mainLoop();
    int update() override;
    int draw() override;
    void _control() override;

    void _controlGUI();
    void _controlKEYBOARD();
    void goPlay();
    void goSettings();
    void goProfileManager();
    void goFreePlay();
    void goCredits();
    void goExit();
    void goOut();

    void _drawBack();
    void _drawChmury();
    void _drawReklamy();
    void _drawEkran();
    void _drawTaxiCanalAndDoor();
    void _drawPodklad();
    void _updateAlphas();
    void _updateReklamy();
    void _updatePer();
    void _updateEffect();
    void _updateChmury();
    int playOver();
    int optionsOver();
    int exitOver();
    void _prepareProfileManagerButton();
    void _prepareSelf();
    void _prepareOverAlpha();
    void _prepareChmury();

    // The panel slides up over kSlideSpeed per nominal frame (eased out, see
    // _drawPodklad); the controls are read once the screen has faded in and
    // the panel is in its last, slow stretch, where the buttons fade in.
    static constexpr float kSlideSpeed = 0.045f;
    static constexpr float kInputFrom = 0.75f;
    bool settled() const { return fade == 0.0f && dp == 1.0f && p >= kInputFrom; }
    // Settled and the buttons fully shown: the moment to ask for a name.
    bool shown() const { return settled() && alpha == 1.0f; }

private:
    bool _setUp = false;
    // Hover of a scene object: its button hovered, or the mouse in its area;
    // inside the area the button is marked hovered (and clicked on a click).
    int _sceneOver(const char* name, int x1, int y1, int x2, int y2);
    void _ensureButtons(const std::vector<std::string>& lines);
};

extern std::shared_ptr<TMainMenu> mainMenu;
