// Profiles read from damaged or hostile files: what is read comes back the
// same after a save, every profile goes back to its own folder, list entries
// never leave the profiles folder, counts stop at the entries present, and a
// name is only accepted when it can be saved.
#include <algorithm>
#include <sstream>

#include "ProfileFixture.h"

namespace {

// Everything a load sets, as one text, so two loads compare in one check.
std::string describe(const TProfileManager& m) {
    std::ostringstream o;
    o << "current=" << (m.profile ? m.profile->folderName() : "none") << '\n';
    for (auto& p : m.lista) {
        o << p->name << " in " << p->folderName() << ": level " << p->nrLevelu << " stage " << p->nrStageu
          << " puzzles " << p->puzzles << " score " << p->score << " ulozone " << p->ulozone << " type "
          << p->gameType << " mode " << p->gameMode << " quest " << (p->questLevel ? 1 : 0) << " time "
          << p->savedLevelTime << " tutorialOn " << p->tutorialOn;
        o << " dogs";
        for (auto& d : p->bylyPsy) o << ' ' << d->id;
        for (auto& k : p->_unresolvedDogs) o << " kept" << k.second << '@' << k.first;
        o << " pieces";
        for (auto& x : p->activePuzzles) o << ' ' << x->id;
        for (auto& k : p->_unresolvedPieces) o << " kept" << k.second << '@' << k.first;
        o << " tips";
        for (auto& t : p->lekcjeTutoriala) o << ' ' << t->id;
        for (auto& k : p->_unresolvedTips) o << " kept" << k.second << '@' << k.first;
        o << " powerUps";
        for (auto& u : p->powerUp) o << ' ' << u->data << '/' << u->aktywny;
        o << " stages";
        for (auto& s : p->stagesData) {
            o << ' ' << s->nrStageu << ':' << s->score << '{';
            for (auto& l : s->levels)
                o << l->nrLevelu << ',' << l->score << ',' << l->time << ',' << l->punktyZebrane << ';';
            o << '}';
        }
        o << '\n';
    }
    return o.str();
}

const char* kAnnList =
    "Profiles {\n\ti = 1\n\tActProfile = \"65-78-78-\"\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n";

// The file of the report that started this work: a dog id no dog has (7), a
// misspelled tutorial key, a stage group.
const char* kDriftingFile = R"(profile {
	name = "Ann"
	nrLevele = 5
	nrStage = 1
	score = 1234
	questLevel = 0
	puzzleLevel = 0
	dogies {
		i = 2
		dog1 = 101
		dog2 = 7
	}
	tutorial {
		tips = 1
		tiz1 = "swap"
	}
	stagesData {
		i = 1
		stage1 {
			nrStageu = 1
			score = 5
			levels = 2
			level1 = 1, 10, 3, 7
			level2 = 2, 20, 6, 7
		}
	}
}
)";

}  // namespace

TEST_F(ProfileTest, WhatIsReadComesBackAfterASave) {
    struct Case {
        const char* what;
        std::string file;
        std::string dogs, tips, pieces;  // as the file lists them after the save
    };
    const Case cases[] = {
        {"the reported file", kDriftingFile, "101,7", "", ""},
        {"unknown ids before known ones",
         "profile {\n\tname = \"Ann\"\n\tdogies {\n\t\ti = 3\n\t\tdog1 = 7\n\t\tdog2 = 102\n\t\tdog3 = "
         "8\n\t}\n"
         "\ttutorial {\n\t\ttips = 3\n\t\ttip1 = \"nope\"\n\t\ttip2 = \"\"\n\t\ttip3 = \"swap\"\n\t}\n"
         "\tactivePuzzles {\n\t\ti = 2\n\t\tpuzzle1 = 40\n\t\tpuzzle2 = 3\n\t}\n}\n",
         "7,102,8", "nope,swap", "40,3"},
        {"a saved level time without its level",
         "profile {\n\tname = \"Ann\"\n\tquestLevel = 1\n\tlevelTime = 30\n}\n", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir / "Profiles");
        writeFile("Profiles/profiles.dat", kAnnList);
        writeFile("Profiles/65-78-78-/profile.dat", c.file);
        auto m = manager();
        ASSERT_EQ(m.lista.size(), 1u);
        const std::string first = describe(m);
        ASSERT_TRUE(m.save());
        auto m2 = manager();
        EXPECT_EQ(describe(m2), first);

        auto f = loadRCMFile(profilesDir() + "65-78-78-/profile.dat");
        std::string dogs, tips, pieces;
        for (int k = 1; k <= f->getInt("profile::dogies::i"); ++k)
            dogs +=
                (k > 1 ? "," : "") + std::to_string(f->getInt("profile::dogies::dog" + std::to_string(k)));
        for (int k = 1; k <= f->getInt("profile::tutorial::tips"); ++k)
            tips += (k > 1 ? "," : "") + f->getString("profile::tutorial::tip" + std::to_string(k));
        for (int k = 1; k <= f->getInt("profile::activePuzzles::i"); ++k)
            pieces += (k > 1 ? "," : "") +
                      std::to_string(f->getInt("profile::activePuzzles::puzzle" + std::to_string(k)));
        EXPECT_EQ(dogs, c.dogs);
        EXPECT_EQ(tips, c.tips);
        EXPECT_EQ(pieces, c.pieces);
    }
}

TEST_F(ProfileTest, ReportedFileKeepsItsStagesAndScore) {
    writeFile("Profiles/profiles.dat", kAnnList);
    writeFile("Profiles/65-78-78-/profile.dat", kDriftingFile);
    auto m = manager();
    ASSERT_TRUE(m.save());
    auto m2 = manager();
    ASSERT_EQ(m2.lista.size(), 1u);
    auto p = m2.lista[0];
    EXPECT_EQ(p->score, 1234);
    EXPECT_EQ(p->nrLevelu, 1);  // "nrLevele" is not a key of the profile
    ASSERT_EQ(p->bylyPsy.size(), 1u);
    EXPECT_EQ(p->bylyPsy[0], dogs[0]);
    EXPECT_TRUE(p->lekcjeTutoriala.empty());
    ASSERT_EQ(p->stagesData.size(), 1u);
    EXPECT_EQ(p->stagesData[0]->score, 5);
    ASSERT_EQ(p->stagesData[0]->levels.size(), 2u);
    EXPECT_EQ(p->stagesData[0]->levels[1]->nrLevelu, 2);
    EXPECT_EQ(p->stagesData[0]->levels[1]->score, 20);
    EXPECT_EQ(p->stagesData[0]->levels[1]->time, 6);
    EXPECT_EQ(p->stagesData[0]->levels[1]->punktyZebrane, 7);
}

TEST_F(ProfileTest, EveryProfileIsSavedBackIntoItsOwnFolder) {
    struct Case {
        const char* what;
        const char* annFile;  // what the folder 65-78-78- holds
        const char* shownAs;
    };
    const Case cases[] = {
        {"empty name", "profile {\n\tname = \"\"\n\tscore = 12\n}\n", "Ann"},
        {"name of another folder", "profile {\n\tname = \"Bob\"\n\tscore = 12\n}\n", "Bob"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir / "Profiles");
        // The real Bob, with his own folder, is listed too.
        writeFile("Profiles/profiles.dat",
                  "Profiles {\n\ti = 2\n\tActProfile = \"65-78-78-\"\n\tProfile1 = \"Ann\", \"65-78-78-\"\n"
                  "\tProfile2 = \"Bob\", \"66-79-66-\"\n}\n");
        writeFile("Profiles/65-78-78-/profile.dat", c.annFile);
        writeFile("Profiles/66-79-66-/profile.dat", "profile {\n\tname = \"Bob\"\n\tscore = 99\n}\n");
        testing::internal::CaptureStderr();
        auto m = manager(false);
        m.loadProfiles();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("65-78-78-"), std::string::npos) << "the player is told";
        ASSERT_EQ(m.lista.size(), 2u);
        auto ann = m.lista[0];
        EXPECT_EQ(ann->name, c.shownAs);
        EXPECT_EQ(ann->folderName(), "65-78-78-");
        ann->score = 13;
        EXPECT_EQ(m.profile, ann);
        ASSERT_TRUE(m.save());

        EXPECT_EQ(FileType(profilesDir() + "profile.dat"), 0);
        const auto files = [&] {
            std::vector<std::string> names;
            for (auto& e : std::filesystem::directory_iterator(dir / "Profiles"))
                names.push_back(e.path().filename().string());
            std::sort(names.begin(), names.end());
            return names;
        }();
        EXPECT_EQ(files, (std::vector<std::string>{"65-78-78-", "66-79-66-", "profiles.dat"}));
        EXPECT_EQ(loadRCMFile(profilesDir() + "65-78-78-/profile.dat")->getInt("profile::score"), 13);
        EXPECT_EQ(loadRCMFile(profilesDir() + "66-79-66-/profile.dat")->getInt("profile::score"), 99);
        auto list = loadRCMFile(profilesDir() + "profiles.dat");
        EXPECT_EQ(list->getString("Profiles::Profile1", 1), "65-78-78-");
        EXPECT_EQ(list->getString("Profiles::ActProfile"), "65-78-78-");

        auto again = manager();
        ASSERT_EQ(again.lista.size(), 2u);
        EXPECT_EQ(again.lista[0]->name, c.shownAs);
        EXPECT_EQ(again.lista[0]->score, 13);
        EXPECT_EQ(again.profile, again.lista[0]);
    }
}

TEST_F(ProfileTest, RenameMovesTheFolderItWasReadFrom) {
    writeFile("Profiles/profiles.dat", kAnnList);
    writeFile("Profiles/65-78-78-/profile.dat", "profile {\n\tname = \"Bob\"\n\tscore = 12\n}\n");
    writeFile("Profiles/65-78-78-/puzzleLevel.dat", "jigsaw {\n\tsource = \"x\"\n}\n");
    auto m = manager();
    ASSERT_EQ(m.lista.size(), 1u);
    auto p = m.lista[0];
    // Taking the name of its own folder is fine and moves nothing.
    ASSERT_TRUE(m.renameProfile(p, "ann"));
    EXPECT_EQ(p->folderName(), "65-78-78-");
    ASSERT_TRUE(m.renameProfile(p, "Cy"));
    EXPECT_EQ(FileType(profilesDir() + "65-78-78-"), 0);
    EXPECT_EQ(FileType(profilesDir() + "67-89-/puzzleLevel.dat"), 1);  // moved whole
    auto m2 = manager();
    ASSERT_EQ(m2.lista.size(), 1u);
    EXPECT_EQ(m2.lista[0]->name, "Cy");
    EXPECT_EQ(m2.lista[0]->score, 12);
    EXPECT_EQ(m2.lista[0]->folderName(), "67-89-");
}

TEST_F(ProfileTest, ListEntriesNeverLeaveTheProfilesFolder) {
    writeFile("outside/profile.dat", "profile {\n\tname = \"Ann\"\n\tscore = 666\n}\n");
    writeFile("Profiles/65-78-78-/profile.dat", "profile {\n\tname = \"Ann\"\n\tscore = 5\n}\n");
    writeFile("Profiles/profiles.dat",
              "Profiles {\n\ti = 6\n\tActProfile = \"../outside\"\n"
              "\tProfile1 = \"Ann\", \"../outside\"\n"
              "\tProfile2 = \"Ann\", \"" +
                  dir.string() +
                  "/outside\"\n"
                  "\tProfile3 = \"Ann\", \"65-78-78-/../../outside\"\n"
                  "\tProfile4 = \"Ann\", \"..\"\n"
                  "\tProfile5 = \"Ann\", \"65-78-78-\"\n"
                  "\tProfile6 = \"\", \"\"\n}\n");
    testing::internal::CaptureStderr();
    auto m = manager(false);
    m.loadProfiles();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("\"../outside\", which is not a profile folder"), std::string::npos) << err;
    ASSERT_EQ(m.lista.size(), 1u);
    EXPECT_EQ(m.lista[0]->score, 5);
    EXPECT_EQ(m.profile, nullptr);
    ASSERT_TRUE(m.save());
    EXPECT_EQ(loadRCMFile(dir.string() + "/outside/profile.dat")->getInt("profile::score"), 666);
    EXPECT_EQ(loadRCMFile(profilesDir() + "65-78-78-/profile.dat")->getInt("profile::score"), 5);
}

TEST_F(ProfileTest, CountsStopAtTheEntriesPresent) {
    writeFile("Profiles/profiles.dat",
              "Profiles {\n\ti = 2000000000\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n");
    writeFile(
        "Profiles/65-78-78-/profile.dat",
        "profile {\n\tname = \"Ann\"\n\tdogies {\n\t\ti = 2000000000\n\t\tdog1 = 101\n\t\tdog3 = 5\n\t}\n"
        "\ttutorial {\n\t\ttips = 2000000000\n\t}\n\tactivePuzzles {\n\t\ti = 2000000000\n\t}\n"
        "\tstagesData {\n\t\ti = 2000000000\n\t\tstage1 {\n\t\t\tlevels = 2000000000\n"
        "\t\t\tlevel1 = 1, 2, 3, 4\n\t\t}\n\t}\n}\n");
    testing::internal::CaptureStderr();
    auto m = manager(false);
    m.loadProfiles();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("only the entries present are kept"),
              std::string::npos);
    ASSERT_EQ(m.lista.size(), 1u);
    auto p = m.lista[0];
    // dog3 is within the three entries of its group; dog2 is missing and
    // skipped rather than read as a 0.
    EXPECT_EQ(p->bylyPsy.size() + p->_unresolvedDogs.size(), 2u);
    EXPECT_TRUE(p->lekcjeTutoriala.empty() && p->_unresolvedTips.empty());
    EXPECT_TRUE(p->activePuzzles.empty() && p->_unresolvedPieces.empty());
    ASSERT_EQ(p->stagesData.size(), 1u);
    EXPECT_EQ(p->stagesData[0]->levels.size(), 1u);
    ASSERT_TRUE(m.save());
    auto f = loadRCMFile(profilesDir() + "65-78-78-/profile.dat");
    EXPECT_EQ(f->getInt("profile::dogies::i"), 2);
    EXPECT_EQ(f->getInt("profile::dogies::dog2"), 5);
    EXPECT_EQ(f->getInt("profile::stagesData::i"), 1);
    EXPECT_EQ(loadRCMFile(profilesDir() + "profiles.dat")->getInt("Profiles::i"), 1);
}

TEST_F(ProfileTest, LongSavesWriteEveryEntryOnce) {
    // Thousands of entries, written without a look-up per key: the layout is
    // the one the keyed writer gave, each key once.
    auto m = manager();
    auto p = m.createProfile("Ann");
    ASSERT_TRUE(p);
    for (int k = 0; k < 3000; ++k) p->bylyPsy.push_back(dogs[static_cast<size_t>(k % 3)]);
    for (int s = 1; s <= 30; ++s)
        for (int l = 1; l <= 100; ++l) p->getStageData(s)->getLevelData(l)->score = l;
    ASSERT_TRUE(m.save());
    const std::string text = LoadText(profilesDir() + "65-78-78-/profile.dat");
    EXPECT_NE(text.find("\t\tdog3000 = 103\n\t}\n"), std::string::npos);
    EXPECT_NE(text.find("\t\tstage30 {\n\t\t\tnrStageu = 30\n\t\t\tscore = 0\n\t\t\tlevels = "
                        "100\n\t\t\tlevel1 = 1, 1, 0, 0\n"),
              std::string::npos);
    auto m2 = manager();
    ASSERT_EQ(m2.lista.size(), 1u);
    EXPECT_EQ(describe(m2), describe(m));
}

TEST_F(ProfileTest, OnlyNamesThatCanBeSavedAreAccepted) {
    auto m = manager();
    // Each "W" adds "87-" to the ID: 85 fill a folder name's 255 bytes.
    const std::string longest(85, 'W'), tooLong(86, 'W');
    EXPECT_FALSE(m.createProfile(tooLong));
    EXPECT_NE(m.lastError.find("too long"), std::string::npos);
    auto p = m.createProfile(longest);
    ASSERT_TRUE(p);
    EXPECT_EQ(FileType(profilesDir() + p->folderName() + "/profile.dat"), 1);
    EXPECT_FALSE(m.renameProfile(p, tooLong));
    EXPECT_EQ(p->name, longest);

    // A folder that no listed profile owns is never written into.
    writeFile("Profiles/69-86-69-/profile.dat", "unreadable");
    EXPECT_FALSE(m.createProfile("Eve"));
    EXPECT_FALSE(m.renameProfile(p, "eve"));
    EXPECT_EQ(LoadText(profilesDir() + "69-86-69-/profile.dat"), "unreadable");

    ASSERT_TRUE(m.save());
    // Next start: the unreadable folder is listed as a damaged player (and
    // still never written into).
    auto m2 = manager();
    ASSERT_EQ(m2.lista.size(), 2u);
    EXPECT_EQ(m2.lista[0]->name, longest);
    EXPECT_TRUE(m2.lista[1]->damaged);
    m2.save();
    EXPECT_EQ(LoadText(profilesDir() + "69-86-69-/profile.dat"), "unreadable");
}

TEST_F(ProfileTest, LevelTimeOfALevelNotInPlayIsKept) {
    {
        auto m = manager();
        auto p = m.createProfile("Ann");
        p->QUEST_startNew();  // its level goes to the play screen, which says 77 s
        ASSERT_TRUE(m.save());
        EXPECT_EQ(p->savedLevelTime, 77);
    }
    profileHooks().levelTime = [] { return 5; };  // another round in the play screen
    auto m = manager();
    ASSERT_EQ(m.lista.size(), 1u);
    EXPECT_EQ(m.lista[0]->savedLevelTime, 77);
    ASSERT_TRUE(m.save());
    EXPECT_EQ(loadRCMFile(profilesDir() + "65-78-78-/profile.dat")->getInt("profile::levelTime"), 77);
    m.lista[0]->handLevelToPlay();  // resumed: the play screen's time counts now
    ASSERT_TRUE(m.save());
    EXPECT_EQ(loadRCMFile(profilesDir() + "65-78-78-/profile.dat")->getInt("profile::levelTime"), 5);
}

TEST_F(ProfileTest, WithoutAProfilesFolderNothingIsWritten) {
    const auto cwd = std::filesystem::current_path();
    std::filesystem::create_directories(dir / "cwd");
    std::filesystem::current_path(dir / "cwd");
    TProfileManager m;  // profilesDir "": no per-user folder
    m.loadProfiles();
    auto p = m.createProfile("Ann");
    ASSERT_TRUE(p) << "the session still gets a profile";
    p->score = 3;
    EXPECT_FALSE(m.save());
    EXPECT_TRUE(m.renameProfile(p, "Eve"));
    m.chooseProfile(p);
    EXPECT_TRUE(m.deleteProfile(p));
    TProfile loose;  // a profile without a folder writes nothing either
    loose.name = "Bob";
    EXPECT_FALSE(loose.save());
    const bool empty = std::filesystem::is_empty(dir / "cwd");
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(empty);
}

namespace {

// Players in folders must survive whatever the list says: a hand-damaged
// count, a duplicated entry, a missing entry, an unreadable profile.
TEST_F(ProfileTest, EveryFolderHoldingAProfileStaysListed) {
    const struct {
        const char* what;
        const char* list;
    } cases[] = {
        {"count is text", "Profiles {\n\ti = \"many\"\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n"},
        {"count is negative", "Profiles {\n\ti = -3\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n"},
        {"count is NaN", "Profiles {\n\ti = nan\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n"},
        {"entry duplicated", "Profiles {\n\ti = 2\n\tProfile1 = \"Ann\", \"65-78-78-\"\n"
                             "\tProfile2 = \"Ann\", \"65-78-78-\"\n}\n"},
        {"Bob missing", "Profiles {\n\ti = 1\n\tActProfile = \"65-78-78-\"\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir / "Profiles");
        writeFile("Profiles/65-78-78-/profile.dat", "profile {\n\tname = \"Ann\"\n\tscore = 5\n}\n");
        writeFile("Profiles/66-79-66-/profile.dat", "profile {\n\tname = \"Bob\"\n\tscore = 7\n}\n");
        // Carl's file is not a profile at all.
        writeFile("Profiles/67-65-82-76-/profile.dat", "\x01\x02 not a profile {{{");
        writeFile("Profiles/profiles.dat", c.list);
        auto m = manager();
        std::vector<std::string> names;
        for (auto& p : m.lista) names.push_back(p->name + (p->damaged ? "!" : ""));
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"Ann", "Bob", "CARL!"})) << c.what;
        m.save();
        // The unreadable file is never written over, and the list keeps everybody.
        std::ifstream carl(dir / "Profiles/67-65-82-76-/profile.dat", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(carl), {}), "\x01\x02 not a profile {{{") << c.what;
        auto again = manager();
        EXPECT_EQ(again.lista.size(), 3u) << c.what;
    }
}

TEST_F(ProfileTest, ADamagedPlayerCanBeDeletedButNotPlayedOrRenamed) {
    writeFile("Profiles/65-78-78-/profile.dat", "garbage");
    writeFile("Profiles/profiles.dat",
              "Profiles {\n\ti = 1\n\tActProfile = \"65-78-78-\"\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n");
    auto m = manager();
    ASSERT_EQ(m.lista.size(), 1u);
    auto ann = m.lista[0];
    EXPECT_TRUE(ann->damaged);
    EXPECT_EQ(ann->name, "Ann");
    EXPECT_EQ(m.profile, nullptr) << "a damaged player is never the current one";
    m.chooseProfile(ann);
    EXPECT_EQ(m.profile, nullptr);
    EXPECT_FALSE(m.renameProfile(ann, "Anna"));
    EXPECT_TRUE(m.deleteProfile(ann));
    EXPECT_EQ(FileType(profilesDir() + "65-78-78-"), 0);
}

}  // namespace
