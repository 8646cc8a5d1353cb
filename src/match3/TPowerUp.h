// One of the player's six power-ups: charged by matching chips of its colour,
// glowing when full, spent by use(). The profile keeps six of them.
#pragma once

#include <functional>
#include <string>

class TPowerUp {
public:
    int data = 0;      // charge collected
    int unitTime = 0;
    int n = 0;         // slot number 1..6
    int aktywny = 0;   // charged and ready
    int odkryty = 0;   // uncovered for the player
    float alpha = 0, dAlpha = 0, rot = 0;
    int state = 0;     // 0 idle, 1..4 glow phases
    int time = 0, partTime = 0;

    float getPercent();
    void use(int i);
    void addData(int amount);
    void update_state_1();
    void update_state_2();
    void update_state_3();
    void update_state_4();
    void updateRotation();
    void updateAlpha();
    void update(int i);
    void generate();

    // The charge table "data/powerUps.dat": the charge each slot needs
    // ("powerUpsTimes::data1".."data6") and the quest level that uncovers it
    // ("powerUpsUnlock::data1".."data6"). Missing entries keep the defaults.
    static void loadTable(const std::string& path = "data/powerUps.dat");
    static int charge(int slot);       // slot 1..6
    static int unlockLevel(int slot);  // slot 1..6

    // The play screen's widgets: the state of control "bonus_<i>" and the
    // centre of control "BONUS_<n>" (false when there is none).
    static std::function<void(const std::string& name, int a, int b)> setWidgetState;
    static std::function<bool(const std::string& name, float& x, float& y)> widgetCentre;
};
