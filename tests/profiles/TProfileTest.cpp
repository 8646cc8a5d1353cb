#include "ProfileFixture.h"

TEST(ProfileID, DecimalCodesOfTheUpperCasedName) {
    struct Case {
        const char* name;
        const char* id;
    };
    const Case cases[] = {
        {"Ann", "65-78-78-"},
        {"ann", "65-78-78-"},
        {"Zo\xC3\xAB", "90-79-203-"},                        // ë -> Ë
        {"\xC5\x82ucja", "321-85-67-74-65-"},                // ł -> Ł
        {"\xE6\x97\xA5\xE6\x9C\xAC", "26085-26412-"},       // no case
        {"a b/c", "65-32-66-47-67-"},                        // any name makes a folder name
        {"", ""},
    };
    for (const auto& c : cases) {
        TProfile p;
        p.name = c.name;
        EXPECT_EQ(p.getMyID(), c.id) << c.name;
    }
}

TEST(StageData, GetCreatesOnceAndSumsScores) {
    TProfile p;
    auto s = p.getStageData(2);
    EXPECT_EQ(p.getStageData(2), s);
    EXPECT_EQ(p.stagesData.size(), 1u);
    profileHooks().mainGameLevelScore = [] { return 250; };
    p.nrStageu = 2;
    p.nrLevelu = 14;
    p.giveActStageData();
    p.giveActStageData();
    EXPECT_EQ(s->score, 500);
    ASSERT_EQ(s->levels.size(), 1u);
    EXPECT_EQ(s->getLevelData(14)->score, 500);
    profileHooks() = ProfileHooks{};
}

TEST_F(ProfileTest, FullRoundTrip) {
    auto m = manager();
    auto p = m.createProfile("Ann");
    ASSERT_TRUE(p);
    p->QUEST_startNew();
    EXPECT_EQ(storyResets, 1);
    EXPECT_EQ(tutorialResets, 1);
    EXPECT_EQ(p->pies, dogs[0]);
    ASSERT_TRUE(p->puzzleLevel);
    EXPECT_EQ(p->puzzleLevel->source, dogs[0]->puzzleLevel);
    ASSERT_TRUE(p->questLevel);
    p->nrLevelu = 13;
    p->nrStageu = 2;
    p->pies = dogs[1];
    p->puzzles = 2;
    p->score = 20000001;  // beyond a float's exact integers
    p->ulozone = 1;
    p->gameType = "UBIERANIE";
    p->gameMode = "TIMED";
    p->bylyPsy = {dogs[0]};
    p->activePuzzles = {p->puzzleLevel->pieces[1], p->puzzleLevel->pieces[4]};
    p->puzzleLevel->placed = 5;
    p->powerUp[0]->data = 20;
    p->powerUp[0]->aktywny = 1;
    p->powerUp[2]->data = 7;
    p->lekcjeTutoriala = {tips["bonus"], tips["swap"]};
    p->getStageData(1)->getLevelData(3)->score = 900;
    p->getStageData(1)->score = 900;
    p->questLevel->score = 4321;
    p->tutorialOn = 0;
    m.chooseProfile(p);
    ASSERT_TRUE(m.save());

    auto m2 = manager();
    m2.loadProfiles();
    ASSERT_EQ(m2.lista.size(), 1u);
    auto q = m2.profile;
    ASSERT_TRUE(q);
    EXPECT_EQ(q->name, "Ann");
    EXPECT_EQ(q->nrLevelu, 13);
    EXPECT_EQ(q->nrStageu, 2);
    EXPECT_EQ(q->pies, dogs[1]);
    EXPECT_EQ(q->puzzles, 2);
    EXPECT_EQ(q->score, 20000001);
    EXPECT_EQ(q->ulozone, 1);
    EXPECT_EQ(q->gameType, "UBIERANIE");
    EXPECT_EQ(q->gameMode, "TIMED");
    EXPECT_EQ(q->tutorialOn, 0);
    EXPECT_EQ(q->savedLevelTime, 77);
    ASSERT_EQ(q->bylyPsy.size(), 1u);
    EXPECT_EQ(q->bylyPsy[0], dogs[0]);
    ASSERT_TRUE(q->puzzleLevel);
    EXPECT_EQ(q->puzzleLevel->placed, 5);
    EXPECT_EQ(q->puzzleLevel->source, dogs[0]->puzzleLevel);
    ASSERT_EQ(q->activePuzzles.size(), 2u);
    EXPECT_EQ(q->activePuzzles[0]->id, 2);
    EXPECT_EQ(q->activePuzzles[1]->id, 5);
    EXPECT_EQ(q->powerUp[0]->data, 20);
    EXPECT_EQ(q->powerUp[0]->aktywny, 1);
    EXPECT_EQ(q->powerUp[2]->data, 7);
    EXPECT_EQ(q->powerUp[2]->aktywny, 0);
    ASSERT_EQ(q->lekcjeTutoriala.size(), 2u);
    EXPECT_EQ(q->lekcjeTutoriala[0]->id, "bonus");
    EXPECT_EQ(q->lekcjeTutoriala[1]->id, "swap");
    ASSERT_TRUE(q->questLevel);
    EXPECT_EQ(q->questLevel->rows, 3);
    EXPECT_EQ(q->questLevel->cols, 4);
    EXPECT_EQ(q->questLevel->score, 4321);
    EXPECT_EQ(q->canResumeQuest(), 1);
    ASSERT_EQ(q->stagesData.size(), 1u);
    EXPECT_EQ(q->stagesData[0]->score, 900);
    EXPECT_EQ(q->stagesData[0]->getLevelData(3)->score, 900);
}

TEST_F(ProfileTest, FileLayoutKeys) {
    auto m = manager();
    auto p = m.createProfile("Ann");
    ASSERT_TRUE(p);
    ASSERT_TRUE(m.save());
    auto f = loadRCMFile(profilesDir() + "65-78-78-/profile.dat");
    ASSERT_TRUE(f->_loaded);
    EXPECT_EQ(f->getString("profile::name"), "Ann");
    EXPECT_EQ(f->getInt("Profile::questLevel"), 0);  // before any quest
    EXPECT_FALSE(f->hasEntry("Profile::levelTime"));
    EXPECT_EQ(f->getInt("Profile::powerUps::powerUp6::data"), 0);
    EXPECT_EQ(FileType(profilesDir() + "65-78-78-/questlevel.lvl"), 0);
    // Keys in the order the file is written.
    std::string text = LoadText(profilesDir() + "65-78-78-/profile.dat");
    const char* order[] = {"name =", "nrLevelu =", "nrStage =", "puzzles =", "score =", "gameType =",
                           "gameMode =", "ulozone =", "questLevel =", "puzzleLevel ="};
    size_t at = 0;
    for (const char* k : order) {
        size_t pos = text.find(k, at);
        ASSERT_NE(pos, std::string::npos) << k;
        at = pos;
    }
    auto list = loadRCMFile(profilesDir() + "profiles.dat");
    EXPECT_EQ(list->getInt("Profiles::i"), 1);
    EXPECT_EQ(list->getString("Profiles::profile1", 0), "Ann");   // written as Profile1
    EXPECT_EQ(list->getString("Profiles::PROFILE1", 1), "65-78-78-");
    EXPECT_EQ(list->getString("Profiles::ActProfile"), "NULL");
    auto m2 = manager();
    m2.loadProfiles();
    EXPECT_EQ(m2.profile, nullptr);
    EXPECT_EQ(m2.lista[0]->canResumeQuest(), 0);
}

TEST_F(ProfileTest, StagesAndPowerUps) {
    TProfile p;
    p.profilesDir = profilesDir();
    p.QUEST_startNew();
    EXPECT_EQ(p.powerUp[0]->odkryty, TPowerUp::unlockLevel(1) <= 1 ? 1 : 0);
    p.nrLevelu = 1000;
    p.checkPowerUps();
    for (auto& u : p.powerUp) EXPECT_EQ(u->odkryty, 1);
    p.nrLevelu = 0;
    p.checkPowerUps();
    for (auto& u : p.powerUp) EXPECT_EQ(u->odkryty, 0);
    p.powerUp[1]->state = 3;
    p.powerUp[1]->alpha = 0.7f;
    p.resetPowerUpsEffects();
    EXPECT_EQ(p.powerUp[1]->state, 0);
    EXPECT_EQ(p.powerUp[1]->alpha, 0.0f);

    p.nrLevelu = 11;  // dog 2 starts at 11
    p.pies = dogs[1];
    EXPECT_EQ(p.newStage(), 1);
    p.nrLevelu = 13;
    EXPECT_EQ(p.newStage(), 0);

    p.pies = dogs[0];
    p.nrStageu = 1;
    p.activePuzzles = {p.puzzleLevel->pieces[0]};
    EXPECT_EQ(p.getNextStage(), "GALERIA");
    EXPECT_EQ(p.nrStageu, 2);
    EXPECT_EQ(p.pies, dogs[1]);
    EXPECT_EQ(p.bylyPsy, std::vector<TPiesPtr>{dogs[0]});
    EXPECT_TRUE(p.activePuzzles.empty());
    EXPECT_EQ(p.puzzleLevel->source, dogs[1]->puzzleLevel);
    p.getNextStage();
    EXPECT_EQ(p.getNextStage(), "STORY");
    EXPECT_FALSE(p.questLevel);
    // The last stage's dog is finished too: the gallery before the ending
    // shows it dressed.
    ASSERT_EQ(p.bylyPsy.size(), 3u);
    EXPECT_EQ(p.bylyPsy.back(), dogs[2]);
}

TEST_F(ProfileTest, AddPuzzlesUntilAll) {
    TProfile p;
    p.QUEST_startNew();
    EXPECT_FALSE(p.allPuzzles());
    p.addPuzzles(4);
    EXPECT_EQ(p.activePuzzles.size(), 4u);
    EXPECT_EQ(p.puzzles, 4);
    for (auto& piece : p.activePuzzles) EXPECT_TRUE(piece->isNew);
    p.addPuzzles(10);  // only two were left
    EXPECT_EQ(p.activePuzzles.size(), 6u);
    EXPECT_TRUE(p.allPuzzles());
}

TEST_F(ProfileTest, CaseDuplicatesRefused) {
    auto m = manager();
    ASSERT_TRUE(m.createProfile("Ann"));
    EXPECT_FALSE(m.createProfile("ANN"));
    EXPECT_NE(m.lastError.find("already exists"), std::string::npos);
    EXPECT_FALSE(m.createProfile("  "));
    auto bob = m.createProfile("Bob");
    ASSERT_TRUE(bob);
    EXPECT_FALSE(m.renameProfile(bob, "aNN"));
    EXPECT_EQ(bob->name, "Bob");
    EXPECT_TRUE(m.renameProfile(bob, "BOB"));  // its own ID is fine
    EXPECT_EQ(m.lista.size(), 2u);
}

TEST_F(ProfileTest, RenameMovesTheFolderAndDeleteRemovesIt) {
    auto m = manager();
    auto p = m.createProfile("Ann");
    p->score = 42;
    ASSERT_TRUE(m.save());
    ASSERT_TRUE(m.renameProfile(p, "Eve"));
    EXPECT_EQ(FileType(profilesDir() + "65-78-78-"), 0);
    EXPECT_EQ(FileType(profilesDir() + "69-86-69-/profile.dat"), 1);
    m.chooseProfile(p);
    auto m2 = manager();
    m2.loadProfiles();
    ASSERT_TRUE(m2.profile);
    EXPECT_EQ(m2.profile->name, "Eve");
    EXPECT_EQ(m2.profile->score, 42);
    ASSERT_TRUE(m2.deleteProfile(m2.profile));
    EXPECT_FALSE(m2.profile);
    EXPECT_EQ(FileType(profilesDir() + "69-86-69-"), 0);
    auto m3 = manager();
    m3.loadProfiles();
    EXPECT_TRUE(m3.lista.empty());
}

TEST_F(ProfileTest, CreateNewProfileAsksForAName) {
    auto m = manager();
    profileHooks().askName = [] { return std::string("Zo\xC3\xAB"); };
    auto p = m.createNewProfile();
    ASSERT_TRUE(p);
    EXPECT_EQ(m.profile, p);
    profileHooks().askName = [] { return std::string(); };  // cancelled
    EXPECT_FALSE(m.createNewProfile());
    EXPECT_EQ(m.lista.size(), 1u);
}

TEST_F(ProfileTest, NothingIsSavedBeforeTheListWasRead) {
    {
        auto m = manager();
        m.createProfile("Ann");
        ASSERT_TRUE(m.save());
    }
    auto early = manager(false);
    EXPECT_FALSE(early.save());
    auto m = manager();
    EXPECT_EQ(m.lista.size(), 1u);
}

TEST_F(ProfileTest, MissingListIsWrittenEmpty) {
    auto m = manager(false);
    m.loadProfiles();
    EXPECT_TRUE(m.lista.empty());
    auto list = loadRCMFile(profilesDir() + "profiles.dat");
    ASSERT_TRUE(list->_loaded);
    EXPECT_EQ(list->getInt("Profiles::i"), 0);
    EXPECT_EQ(list->getString("Profiles::ActProfile"), "NULL");
}

TEST_F(ProfileTest, ListRebuiltFromFolders) {
    {
        auto m = manager();
        m.createProfile("Ann")->score = 5;
        m.createProfile("Bob");
        ASSERT_TRUE(m.save());
    }
    const std::string cases[] = {"deleted", "corrupted", "empty"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c);
        if (c == "deleted") std::filesystem::remove(profilesDir() + "profiles.dat");
        if (c == "corrupted") writeFile("Profiles/profiles.dat", "Profiles {\n\ti = 2\n\t{{{\n");
        if (c == "empty") writeFile("Profiles/profiles.dat", "");
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        auto m = manager(false);
        m.loadProfiles();
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(m.lista.size(), 2u);
        EXPECT_EQ(m.lista[0]->name, "Ann");
        EXPECT_EQ(m.lista[0]->score, 5);
        EXPECT_EQ(loadRCMFile(profilesDir() + "profiles.dat")->getInt("Profiles::i"), 2);
    }
}

TEST_F(ProfileTest, CorruptedProfileStaysListedAsDamagedOthersLoad) {
    {
        auto m = manager();
        m.createProfile("Ann");
        m.createProfile("Bob");
        ASSERT_TRUE(m.save());
    }
    writeFile("Profiles/65-78-78-/profile.dat", "profile {\n\tname = \"Ann\"\n\t{\n");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto m = manager(false);
    m.loadProfiles();
    testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(m.lista.size(), 2u);
    EXPECT_TRUE(m.lista[0]->damaged);
    EXPECT_EQ(m.lista[0]->name, "Ann");
    EXPECT_FALSE(m.lista[1]->damaged);
    EXPECT_EQ(m.lista[1]->name, "Bob");
    EXPECT_NE(err.find("65-78-78-"), std::string::npos);
}

TEST_F(ProfileTest, BrokenSavedLevelAndJigsawLeaveTheProfileUsable) {
    {
        auto m = manager();
        auto p = m.createProfile("Ann");
        p->QUEST_startNew();
        p->activePuzzles = {p->puzzleLevel->pieces[0]};
        ASSERT_TRUE(m.save());
    }
    writeFile("Profiles/65-78-78-/questlevel.lvl", "level {\n\tdata {\n\t\tdims = 0, 0\n\t}\n}\n");
    writeFile("Profiles/65-78-78-/puzzleLevel.dat", "garbage");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto m = manager(false);
    m.loadProfiles();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(m.lista.size(), 1u);
    auto p = m.lista[0];
    EXPECT_EQ(p->canResumeQuest(), 0);
    ASSERT_TRUE(p->puzzleLevel);
    EXPECT_EQ(p->puzzleLevel->source, dogs[0]->puzzleLevel);  // reloaded from its source
    EXPECT_EQ(p->activePuzzles.size(), 1u);                   // won pieces kept
}

TEST_F(ProfileTest, UnresolvedIdsSurviveASave) {
    {
        auto m = manager();
        auto p = m.createProfile("Ann");
        p->bylyPsy = {dogs[0], dogs[2]};
        p->lekcjeTutoriala = {tips["hammer"]};
        ASSERT_TRUE(m.save());
    }
    // Without the dog and tutorial subsystems the ids cannot become objects,
    // but saving must not drop them.
    profileHooks().dogById = nullptr;
    profileHooks().tipById = nullptr;
    {
        auto m = manager();
        m.loadProfiles();
        ASSERT_EQ(m.lista.size(), 1u);
        EXPECT_TRUE(m.lista[0]->bylyPsy.empty());
        ASSERT_TRUE(m.save());
    }
    auto f = loadRCMFile(profilesDir() + "65-78-78-/profile.dat");
    EXPECT_EQ(f->getInt("Profile::dogies::i"), 2);
    EXPECT_EQ(f->getInt("Profile::dogies::dog2"), 103);
    EXPECT_EQ(f->getString("profile::tutorial::tip1"), "hammer");
}
