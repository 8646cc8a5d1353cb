// Stand-ins for the dogs, jigsaw and tutorial, wired
// through the profile hooks, and a scratch profiles folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "data/TRCMFile.h"
#include "profiles/TProfileManager.h"

class TPies {
public:
    int id = 0;
    int startLevel = 1;
    std::string puzzleLevel;
};
class TPuzzle {
public:
    int id = 0;
    bool isNew = false;
};
class TPuzzleLevel {
public:
    std::string source;
    std::vector<TPuzzlePtr> pieces;
    int placed = 0;  // stands for the jigsaw's state
};
class TTutorialTip {
public:
    std::string id;
};

class ProfileTest : public ::testing::Test {
protected:
    std::filesystem::path dir;
    std::vector<TPiesPtr> dogs;
    std::map<std::string, TTutorialTipPtr> tips;
    int storyResets = 0, tutorialResets = 0, levelsSet = 0;

    std::string profilesDir() const { return dir.string() + "/Profiles/"; }

    static TPuzzleLevelPtr makeJigsaw(const std::string& source, int pieces) {
        auto j = std::make_shared<TPuzzleLevel>();
        j->source = source;
        for (int i = 1; i <= pieces; ++i) {
            auto p = std::make_shared<TPuzzle>();
            p->id = i;
            j->pieces.push_back(p);
        }
        return j;
    }

    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("brimble_prof_" + std::to_string(::getpid()) + "_" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "Profiles");
        for (int i = 1; i <= 3; ++i) {
            auto d = std::make_shared<TPies>();
            d->id = 100 + i;
            d->startLevel = 1 + (i - 1) * 10;
            d->puzzleLevel = "data/PuzzleLevels/puzzleLevel-" + std::to_string(i) + ".dat";
            dogs.push_back(d);
        }
        for (const char* t : {"swap", "bonus", "hammer"}) {
            auto tip = std::make_shared<TTutorialTip>();
            tip->id = t;
            tips[t] = tip;
        }
        auto& h = profileHooks();
        h = ProfileHooks{};
        h.getDog = [this](int stage) -> TPiesPtr {
            return stage >= 1 && stage <= static_cast<int>(dogs.size()) ? dogs[static_cast<size_t>(stage - 1)] : nullptr;
        };
        h.dogCount = [this] { return static_cast<int>(dogs.size()); };
        h.dogId = [](const TPiesPtr& d) { return d->id; };
        h.dogById = [this](int id) -> TPiesPtr {
            for (auto& d : dogs)
                if (d->id == id) return d;
            return nullptr;
        };
        h.dogStartLevel = [](const TPiesPtr& d) { return d->startLevel; };
        h.dogPuzzleLevel = [](const TPiesPtr& d) { return d->puzzleLevel; };
        h.storySetup = [this] { ++storyResets; };
        h.tutorialReset = [this] { ++tutorialResets; };
        h.tipId = [](const TTutorialTipPtr& t) { return t->id; };
        h.tipById = [this](const std::string& id) -> TTutorialTipPtr {
            auto it = tips.find(id);
            return it == tips.end() ? nullptr : it->second;
        };
        // A jigsaw file here is a tiny key-value file: its source and state.
        h.loadPuzzleLevel = [](const std::string& path, int) -> TPuzzleLevelPtr {
            if (path.find("PuzzleLevels/") != std::string::npos) return makeJigsaw(path, 6);
            auto f = loadRCMFile(path);
            if (!f->_loaded || !f->hasEntry("jigsaw::source")) return nullptr;
            auto j = makeJigsaw(f->getString("jigsaw::source"), 6);
            j->placed = f->getInt("jigsaw::placed");
            return j;
        };
        h.savePuzzleLevel = [](const TPuzzleLevelPtr& j, const std::string& path) {
            auto f = newRCMFile();
            f->setString("jigsaw::source", j->source);
            f->setFloat("jigsaw::placed", j->placed);
            return f->save(path);
        };
        h.puzzleId = [](const TPuzzlePtr& p) { return p->id; };
        h.puzzleById = [](const TPuzzleLevelPtr& j, int id) -> TPuzzlePtr {
            for (auto& p : j->pieces)
                if (p->id == id) return p;
            return nullptr;
        };
        h.allPieces = [](const TPuzzleLevelPtr& j) { return j->pieces; };
        h.markPieceNew = [](const TPuzzlePtr& p) { p->isNew = true; };
        h.loadQuestLevel = [](int n) {
            auto l = createEmptyLevel(3, 4, nullptr);
            l->score = n;  // marks which level it is
            return l;
        };
        // The real level writer; reading back goes through the key-value
        // file here because the real reader needs the engine's catalogues.
        h.loadLevel = [](const std::string& path) -> TLevelPtr {
            auto f = loadRCMFile(path);
            const int rows = f->getInt("level::data::dims", 0), cols = f->getInt("level::data::dims", 1);
            if (!f->_loaded || rows < 1 || cols < 1) return nullptr;
            auto l = createEmptyLevel(rows, cols, nullptr);
            l->score = f->getInt("level::data::score");
            return l;
        };
        h.mainGameSetLevel = [this](const TLevelPtr&) { ++levelsSet; };
        h.levelTime = [] { return 77; };
        h.setLevelTime = [](int) {};
        h.showMessage = [](const std::string&) {};
    }
    void TearDown() override {
        profileHooks() = ProfileHooks{};
        std::filesystem::remove_all(dir);
    }

    // A manager on the scratch folder; with load, after loadProfiles (as
    // the game always does before touching profiles).
    TProfileManager manager(bool load = true) {
        TProfileManager m;
        m.profilesDir = profilesDir();
        if (load) {
            testing::internal::CaptureStdout();
            testing::internal::CaptureStderr();
            m.loadProfiles();
            testing::internal::GetCapturedStdout();
            testing::internal::GetCapturedStderr();
        }
        return m;
    }
    void writeFile(const std::string& rel, const std::string& bytes) {
        std::filesystem::create_directories((dir / rel).parent_path());
        std::ofstream(dir / rel, std::ios::binary) << bytes;
    }
};
