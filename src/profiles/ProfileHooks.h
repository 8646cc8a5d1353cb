// Where profiles reach the subsystems built above them: the dogs and the
// owner scene, the story, the jigsaw, the gallery, the tutorial, the level
// manager and the play screen. Every hook may be empty; the profile then
// does the safe minimum (no dog, no jigsaw, no level) and keeps the ids it
// read so that a save never drops progress it could not resolve.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPies;
class TPuzzle;
class TPuzzleLevel;
class TTutorialTip;
class TLevel;

using TPiesPtr = std::shared_ptr<TPies>;
using TPuzzlePtr = std::shared_ptr<TPuzzle>;
using TPuzzleLevelPtr = std::shared_ptr<TPuzzleLevel>;
using TTutorialTipPtr = std::shared_ptr<TTutorialTip>;

struct ProfileHooks {
    // -- dogs, owner scene, gallery --
    std::function<TPiesPtr(int stage)> getDog;                     // ubieranie.getDog(stage)
    std::function<int()> dogCount;                                 // number of dogs (stages)
    std::function<int(const TPiesPtr&)> dogId;
    std::function<TPiesPtr(int id)> dogById;
    std::function<int(const TPiesPtr&)> dogStartLevel;             // TPies.startLevel
    std::function<std::string(const TPiesPtr&)> dogPuzzleLevel;    // TPies.puzzleLevel (a path)
    std::function<void()> prepareCharacter;                        // the dress-up character
    std::function<void(const TPiesPtr&)> galleryNewDog;            // shown as the gallery's new dog
    // -- story --
    std::function<void()> storySetup;                              // story.setup()
    // -- tutorial --
    std::function<void()> tutorialReset;                           // reset, current tip cleared
    std::function<std::string(const TTutorialTipPtr&)> tipId;
    std::function<TTutorialTipPtr(const std::string& id)> tipById;
    // -- jigsaw --
    std::function<TPuzzleLevelPtr(const std::string& path, int flag)> loadPuzzleLevel;
    std::function<bool(const TPuzzleLevelPtr&, const std::string& path)> savePuzzleLevel;
    std::function<int(const TPuzzlePtr&)> puzzleId;
    std::function<TPuzzlePtr(const TPuzzleLevelPtr&, int id)> puzzleById;
    std::function<std::vector<TPuzzlePtr>(const TPuzzleLevelPtr&)> allPieces;
    std::function<void(const TPuzzlePtr&)> markPieceNew;           // a piece just won
    // -- level manager and play screen --
    std::function<std::shared_ptr<TLevel>(int nrLevelu)> loadQuestLevel;     // the level manager's level n
    std::function<std::shared_ptr<TLevel>(const std::string& path)> loadLevel;  // default: loadLevelFile(path, null)
    std::function<bool(TLevel& level, const std::string& path)> saveLevel;    // default: saveLevelFile
    std::function<void(const std::shared_ptr<TLevel>&)> mainGameSetLevel;
    std::function<void()> mainGameResetPowerUps;
    std::function<int()> levelTime;                                // default: m3Effects().levelTime()
    std::function<void(int)> setLevelTime;                         // default: m3Effects().setLevelTime()
    std::function<int()> mainGameLevelScore;                       // the level score just won
    // -- profile manager --
    std::function<std::string()> askName;                          // the name-entry dialog; "" = cancelled
    std::function<void(const std::string& message)> showMessage;   // default: Notify
};

ProfileHooks& profileHooks();
