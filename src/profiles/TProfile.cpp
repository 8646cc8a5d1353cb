#include "profiles/TProfile.h"

#include <algorithm>
#include <cstdio>

#include "data/TRCMFile.h"
#include "match3/TM3Effects.h"
#include "platform/Files.h"
#include "platform/Services.h"

const char* const kDefaultPuzzleLevel = "data/PuzzleLevels/puzzleLevel-1.dat";

namespace {

ProfileHooks& H() {
    return profileHooks();
}

TLevelPtr loadLevelHooked(const std::string& path) {
    if (H().loadLevel) return H().loadLevel(path);
    if (FileType(path) != 1) return nullptr;
    return loadLevelFile(path, nullptr);
}

bool saveLevelHooked(TLevel& level, const std::string& path) {
    if (H().saveLevel) return H().saveLevel(level, path);
    return saveLevelFile(level, path);
}

int levelTimeNow() {
    return H().levelTime ? H().levelTime() : m3Effects().levelTime();
}

void setLevelTimeNow(int t) {
    if (H().setLevelTime)
        H().setLevelTime(t);
    else
        m3Effects().setLevelTime(t);
}

}  // namespace

TProfile::TProfile() {
    QUEST_newPowerUps();
}

TStageDataPtr TProfile::getStageData(int n) {
    for (auto& s : stagesData)
        if (s->nrStageu == n) return s;
    auto s = std::make_shared<TStageData>();
    s->nrStageu = n;
    stagesData.push_back(s);
    return s;
}

void TProfile::giveActStageData() {
    giveActStageData(H().mainGameLevelScore ? H().mainGameLevelScore() : 0);
}

void TProfile::giveActStageData(int levelScore) {
    auto stage = getStageData(nrStageu);
    stage->score += levelScore;
    stage->getLevelData(nrLevelu)->score += levelScore;
}

std::string TProfile::getMyID() const {
    std::string up = Utf8Upper(name);
    std::string id;
    for (size_t i = 0; i < up.size();) {
        id += std::to_string(NextCodePoint(up, i));
        id += '-';
    }
    return id;
}

std::string TProfile::folder() const {
    return profilesDir + getMyID() + "/";
}

bool TProfile::save() {
    // Without a profiles folder the path would be relative to the working
    // folder: nothing is written then.
    if (profilesDir.empty()) return false;
    const std::string dir = folder();
    if (!CreateDir(dir, true)) {
        std::fprintf(stderr, "Profile %s: cannot create the folder %s\n", name.c_str(), dir.c_str());
        return false;
    }
    bool ok = true;
    // The level and the jigsaw go first, "profile.dat" last: whatever a crash
    // interrupts, "profile.dat" only ever names files that are complete.
    bool haveLevel = questLevel != nullptr;
    if (haveLevel && !saveLevelHooked(*questLevel, dir + "questlevel.lvl")) {
        std::fprintf(stderr, "Profile %s: the quest level could not be saved\n", name.c_str());
        haveLevel = false;
        ok = false;
    }
    bool havePuzzle = puzzleLevel != nullptr && H().savePuzzleLevel;
    if (havePuzzle && !H().savePuzzleLevel(puzzleLevel, dir + "puzzleLevel.dat")) {
        std::fprintf(stderr, "Profile %s: the jigsaw could not be saved\n", name.c_str());
        havePuzzle = false;
        ok = false;
    }

    auto f = newRCMFile();
    f->setString("profile::name", name);
    f->setFloat("Profile::nrLevelu", nrLevelu);
    f->setFloat("Profile::nrStage", nrStageu);
    f->setFloat("Profile::puzzles", puzzles);
    f->setFloat("Profile::score", score);
    f->setString("Profile::gameType", gameType);
    f->setString("Profile::gameMode", gameMode);
    f->setFloat("Profile::ulozone", ulozone);
    f->setFloat("Profile::questLevel", haveLevel ? 1 : 0);
    if (haveLevel) f->setFloat("Profile::levelTime", levelTimeNow());
    f->setFloat("Profile::puzzleLevel", havePuzzle ? 1 : 0);

    std::vector<int> pieces;
    for (auto& p : activePuzzles)
        if (p && H().puzzleId) pieces.push_back(H().puzzleId(p));
    pieces.insert(pieces.end(), _unresolvedPieces.begin(), _unresolvedPieces.end());
    f->setFloat("Profile::activePuzzles::i", static_cast<double>(pieces.size()));
    for (size_t k = 0; k < pieces.size(); ++k)
        f->setFloat("profile::activePuzzles::puzzle" + std::to_string(k + 1), pieces[k]);

    std::vector<int> dogs;
    for (auto& d : bylyPsy)
        if (d && H().dogId) dogs.push_back(H().dogId(d));
    dogs.insert(dogs.end(), _unresolvedDogs.begin(), _unresolvedDogs.end());
    f->setFloat("Profile::dogies::i", static_cast<double>(dogs.size()));
    for (size_t k = 0; k < dogs.size(); ++k)
        f->setFloat("Profile::dogies::dog" + std::to_string(k + 1), dogs[k]);

    for (int n = 1; n <= 6; ++n) {
        const auto& p = powerUp[static_cast<size_t>(n - 1)];
        const std::string base = "Profile::powerUps::powerUp" + std::to_string(n);
        f->setFloat(base + "::data", p ? p->data : 0);
        f->setFloat(base + "::aktywny", p && p->aktywny ? 1 : 0);
    }

    std::vector<std::string> tips;
    for (auto& t : lekcjeTutoriala)
        if (t && H().tipId) tips.push_back(H().tipId(t));
    tips.insert(tips.end(), _unresolvedTips.begin(), _unresolvedTips.end());
    f->setFloat("Profile::tutorial::tips", static_cast<double>(tips.size()));
    for (size_t k = 0; k < tips.size(); ++k)
        f->setString("profile::tutorial::tip" + std::to_string(k + 1), tips[k]);

    // Our addition: the per-stage results, so scores survive a restart.
    f->setFloat("Profile::tutorialOn", tutorialOn);
    f->setFloat("Profile::stagesData::i", static_cast<double>(stagesData.size()));
    for (size_t k = 0; k < stagesData.size(); ++k) {
        const auto& s = stagesData[k];
        const std::string base = "Profile::stagesData::stage" + std::to_string(k + 1);
        f->setFloat(base + "::nrStageu", s->nrStageu);
        f->setFloat(base + "::score", s->score);
        f->setFloat(base + "::levels", static_cast<double>(s->levels.size()));
        for (size_t j = 0; j < s->levels.size(); ++j) {
            const auto& l = s->levels[j];
            const std::string key = base + "::level" + std::to_string(j + 1);
            f->setFloat(key, l->nrLevelu, 0);
            f->setFloat(key, l->score, 1);
            f->setFloat(key, l->time, 2);
            f->setFloat(key, l->punktyZebrane, 3);
        }
    }

    if (!f->save(dir + "profile.dat")) return false;
    // Files the profile no longer names are stale.
    if (!haveLevel && questLevel == nullptr) DeleteFile(dir + "questlevel.lvl");
    return ok;
}

bool TProfile::load(const std::string& dir) {
    auto f = newRCMFile();
    f->Load(dir + "profile.dat");
    if (!f->_loaded || !f->hasEntry("profile::name")) {
        std::fprintf(stderr, "Profile in %s is missing or unreadable, skipped\n", dir.c_str());
        return false;
    }
    name = f->getString("profile::name");
    nrLevelu = std::max(1, f->getInt("profile::nrLevelu"));
    nrStageu = std::max(1, f->getInt("profile::nrStage"));
    puzzles = f->getInt("profile::puzzles");
    score = f->getInt("profile::score");
    // The writer stores an empty first item as "0"; these two are names of
    // screens and modes, where "0" can only mean "none".
    gameType = f->getString("profile::gameType");
    gameMode = f->getString("profile::gameMode");
    if (gameType == "0") gameType.clear();
    if (gameMode == "0") gameMode.clear();
    ulozone = f->getInt("profile::ulozone");
    savedLevelTime = f->getInt("profile::levelTime");
    if (f->hasEntry("profile::tutorialOn")) tutorialOn = f->getInt("profile::tutorialOn");
    pies = H().getDog ? H().getDog(nrStageu) : nullptr;

    // The jigsaw: the saved one, else the default; a saved one that does not
    // load is rebuilt from the stage's source so the profile stays usable.
    puzzleLevel = nullptr;
    if (H().loadPuzzleLevel) {
        if (f->getInt("profile::puzzleLevel") == 0) {
            puzzleLevel = H().loadPuzzleLevel(kDefaultPuzzleLevel, 1);
        } else {
            puzzleLevel = H().loadPuzzleLevel(dir + "puzzleLevel.dat", 0);
            if (!puzzleLevel) {
                std::fprintf(stderr, "Profile %s: saved jigsaw unreadable, starting it again\n",
                             name.c_str());
                std::string src = pies && H().dogPuzzleLevel ? H().dogPuzzleLevel(pies) : kDefaultPuzzleLevel;
                puzzleLevel = H().loadPuzzleLevel(src, 1);
            }
        }
    }

    questLevel = nullptr;
    if (f->getInt("profile::questLevel") != 0) {
        questLevel = loadLevelHooked(dir + "questlevel.lvl");
        if (!questLevel)
            std::fprintf(stderr, "Profile %s: saved quest level unreadable, no resume offered\n",
                         name.c_str());
    }

    bylyPsy.clear();
    _unresolvedDogs.clear();
    const int dogs = std::max(0, f->getInt("profile::dogies::i"));
    for (int k = 1; k <= dogs && k <= 100000; ++k) {
        const int id = f->getInt("profile::dogies::dog" + std::to_string(k));
        TPiesPtr d = H().dogById ? H().dogById(id) : nullptr;
        if (d)
            bylyPsy.push_back(d);
        else
            _unresolvedDogs.push_back(id);
    }

    QUEST_newPowerUps();
    for (int n = 1; n <= 6; ++n) {
        auto& p = powerUp[static_cast<size_t>(n - 1)];
        const std::string base = "profile::powerUps::powerUp" + std::to_string(n);
        p->data = std::max(0, f->getInt(base + "::data"));
        p->aktywny = f->getInt(base + "::aktywny") ? 1 : 0;
    }
    checkPowerUps();

    lekcjeTutoriala.clear();
    _unresolvedTips.clear();
    const int tips = std::max(0, f->getInt("profile::tutorial::tips"));
    for (int k = 1; k <= tips && k <= 100000; ++k) {
        const std::string id = f->getString("profile::tutorial::tip" + std::to_string(k));
        TTutorialTipPtr t = H().tipById ? H().tipById(id) : nullptr;
        if (t)
            lekcjeTutoriala.push_back(t);
        else
            _unresolvedTips.push_back(id);
    }

    activePuzzles.clear();
    _unresolvedPieces.clear();
    const int pieces = std::max(0, f->getInt("profile::activePuzzles::i"));
    for (int k = 1; k <= pieces && k <= 100000; ++k) {
        const int id = f->getInt("profile::activePuzzles::puzzle" + std::to_string(k));
        TPuzzlePtr p = H().puzzleById && puzzleLevel ? H().puzzleById(puzzleLevel, id) : nullptr;
        if (p)
            activePuzzles.push_back(p);
        else
            _unresolvedPieces.push_back(id);
    }

    stagesData.clear();
    const int stages = std::max(0, f->getInt("profile::stagesData::i"));
    for (int k = 1; k <= stages && k <= 100000; ++k) {
        const std::string base = "profile::stagesData::stage" + std::to_string(k);
        auto s = std::make_shared<TStageData>();
        s->nrStageu = f->getInt(base + "::nrStageu");
        s->score = f->getInt(base + "::score");
        const int levels = std::max(0, f->getInt(base + "::levels"));
        for (int j = 1; j <= levels && j <= 100000; ++j) {
            const std::string key = base + "::level" + std::to_string(j);
            auto l = std::make_shared<TProfLevelData>();
            l->nrLevelu = f->getInt(key, 0);
            l->score = f->getInt(key, 1);
            l->time = f->getInt(key, 2);
            l->punktyZebrane = f->getInt(key, 3);
            s->levels.push_back(l);
        }
        stagesData.push_back(s);
    }
    return true;
}

void TProfile::QUEST_startNew() {
    nrLevelu = 1;
    nrStageu = 1;
    puzzles = 0;
    score = 0;
    ulozone = 0;
    bylyPsy.clear();
    _unresolvedDogs.clear();
    if (H().storySetup) H().storySetup();
    pies = H().getDog ? H().getDog(nrStageu) : nullptr;
    if (H().prepareCharacter) H().prepareCharacter();
    stagesData.clear();
    lekcjeTutoriala.clear();
    _unresolvedTips.clear();
    if (H().tutorialReset) H().tutorialReset();
    QUEST_newPowerUps();
    QUEST_setProperStagePuzzle();
    QUEST_loadActLevel();
}

void TProfile::QUEST_newPowerUps() {
    for (int n = 1; n <= 6; ++n) {
        auto p = std::make_shared<TPowerUp>();
        p->n = n;
        powerUp[static_cast<size_t>(n - 1)] = p;
    }
    checkPowerUps();
}

void TProfile::QUEST_setProperStagePuzzle() {
    const std::string src = pies && H().dogPuzzleLevel ? H().dogPuzzleLevel(pies) : std::string();
    puzzleLevel = H().loadPuzzleLevel && !src.empty() ? H().loadPuzzleLevel(src, 1) : nullptr;
    activePuzzles.clear();
    _unresolvedPieces.clear();
}

int TProfile::QUEST_loadActLevel() {
    questLevel = H().loadQuestLevel ? H().loadQuestLevel(nrLevelu) : nullptr;
    if (H().mainGameSetLevel) H().mainGameSetLevel(questLevel);
    if (H().mainGameResetPowerUps) H().mainGameResetPowerUps();
    setLevelTimeNow(0);
    return 0;
}

std::string TProfile::getNextStage() {
    ulozone = 0;
    nrStageu += 1;
    const int dogs = H().dogCount ? H().dogCount() : 0;
    if (nrStageu > dogs) {
        questLevel = nullptr;
        return "STORY";
    }
    if (pies && std::find(bylyPsy.begin(), bylyPsy.end(), pies) == bylyPsy.end()) bylyPsy.push_back(pies);
    if (H().galleryNewDog) H().galleryNewDog(pies);
    pies = H().getDog ? H().getDog(nrStageu) : nullptr;
    puzzles = 0;
    activePuzzles.clear();
    QUEST_setProperStagePuzzle();
    if (H().prepareCharacter) H().prepareCharacter();
    QUEST_loadActLevel();
    return "GALERIA";
}

int TProfile::canResumeQuest() const {
    return questLevel ? 1 : 0;
}

int TProfile::newStage() const {
    if (!pies || !H().dogStartLevel) return 0;
    const int start = H().dogStartLevel(pies);
    return (nrLevelu == start || nrLevelu - 1 == start || nrLevelu + 1 == start) ? 1 : 0;
}

void TProfile::checkPowerUps() {
    for (int n = 1; n <= 6; ++n) {
        auto& p = powerUp[static_cast<size_t>(n - 1)];
        if (!p) continue;
        p->odkryty = allPowerUps || nrLevelu >= TPowerUp::unlockLevel(n) ? 1 : 0;
    }
}

void TProfile::resetPowerUpsEffects() {
    for (auto& p : powerUp) {
        if (!p) continue;
        p->state = 0;
        p->alpha = 0;
        p->dAlpha = 0;
        p->rot = 0;
    }
}

void TProfile::updatePowerUps() {
    for (int i = 0; i < 6; ++i) {
        auto& p = powerUp[static_cast<size_t>(i)];
        if (p && p->odkryty) p->update(i + 1);
    }
}

void TProfile::addPuzzles(int n) {
    if (n <= 0 || !puzzleLevel || !H().allPieces) return;
    std::vector<TPuzzlePtr> free;
    for (auto& p : H().allPieces(puzzleLevel))
        if (p && std::find(activePuzzles.begin(), activePuzzles.end(), p) == activePuzzles.end())
            free.push_back(p);
    for (int k = 0; k < n && !free.empty(); ++k) {
        const int pick = Rand(0, static_cast<int>(free.size()) - 1);
        auto p = free[static_cast<size_t>(pick)];
        free.erase(free.begin() + pick);
        activePuzzles.push_back(p);
        if (H().markPieceNew) H().markPieceNew(p);
    }
    puzzles = static_cast<int>(activePuzzles.size() + _unresolvedPieces.size());
}

bool TProfile::allPuzzles() const {
    if (!puzzleLevel || !H().allPieces) return false;
    const auto all = H().allPieces(puzzleLevel);
    if (all.empty()) return false;
    for (auto& p : all)
        if (std::find(activePuzzles.begin(), activePuzzles.end(), p) == activePuzzles.end()) return false;
    return true;
}
