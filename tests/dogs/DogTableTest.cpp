// The dog table: what each key fills, look-ups by id, and the notices for a
// table that is missing or wrong while the rest still loads.
#include <gtest/gtest.h>

#include <algorithm>

#include "dogs/TPies.h"
#include "dogs/TUbieranie.h"
#include "platform/Backend.h"
#include "platform/Files.h"

namespace {

const char* kTable = R"(dogs {
	i = 3
	dog1 {
		id = 1
		name = 2
		url0 = "gfx/dogs/a.png"
		url1 = "gfx/dogs/a-dressed.png"
		score = 10, 20, 30
		startowyLevel = 1
		puzzleLevel = "data/puzzles/one.dat"
		owner = 1
		ownerImg = "gfx/owner.png"
		emptyImg = "gfx/card.png"
		smallImg = "gfx/small.png"
		imgXY = 212, 130, -5
		txts = 3
		txt1 = "LEVEL:0|TEXT:1|WHO:1"
		txt2 = "LEVEL:0|TEXT:2|WHO:2"
		txt3 = "LEVEL:4|TEXT:7"
	}
	dog2 {
		name = 1
	}
	dog3 {
		id = 1
		name = 1
		startowyLevel = 9
		txts = 2
		txt1 = "LEVEL:9|TEXT:1|X:oops"
	}
}
)";

class DogTableTest : public ::testing::Test {
protected:
    TDogTableSources src;
    std::vector<std::string> problems;
    void SetUp() override {
        InstallBackend(nullptr);
        src.names = std::make_shared<TTxtFile>();
        src.names->setFromText("Biscuit\nDuke\n");
        src.lines = std::make_shared<TTxtFile>();
        src.lines->setFromText("Hello.\nWoof.\n");
        src.root = "/data/";
    }
    bool said(const std::string& part) const {
        return std::any_of(problems.begin(), problems.end(),
                           [&](const std::string& p) { return p.find(part) != std::string::npos; });
    }
};

TEST_F(DogTableTest, EveryKeyFillsItsField) {
    const auto dogs = readDogTable(kTable, true, src, problems);
    ASSERT_EQ(dogs.size(), 2u);  // dog2 has no id
    const TPies& d = *dogs[0];
    EXPECT_EQ(d.id, 1);
    EXPECT_EQ(d.name, "Duke");
    EXPECT_EQ(d.url[0], "/data/gfx/dogs/a.png");
    EXPECT_EQ(d.url[1], "/data/gfx/dogs/a-dressed.png");
    EXPECT_EQ(d.score, (std::array<int, 3>{{10, 20, 30}}));
    EXPECT_EQ(d.startLevel, 1);
    EXPECT_EQ(d.puzzleLevel, "/data/data/puzzles/one.dat");
    EXPECT_EQ(d.owner, 1);
    EXPECT_EQ(d.ownerUrl, "/data/gfx/owner.png");
    EXPECT_EQ(d.emptyUrl, "/data/gfx/card.png");
    EXPECT_EQ(d.smallUrl, "/data/gfx/small.png");
    ASSERT_TRUE(d.imgXY);
    EXPECT_EQ(d.imgXY->x, 212);
    EXPECT_EQ(d.imgXY->y, 130);
    EXPECT_EQ(d.rot, -5);
    ASSERT_EQ(d.listaTekstow.size(), 3u);
    EXPECT_EQ(d.listaTekstow[0]->txt, "Hello.");
    EXPECT_EQ(d.listaTekstow[1]->rgb.r, 0);
    EXPECT_EQ(d.listaTekstow[2]->nrLevelu, 4);
    EXPECT_EQ(d.listaTekstow[2]->txt, "");  // line 7 does not exist
    // A dog without pictures in the table loads none.
    EXPECT_EQ(dogs[1]->url[0], "");
    EXPECT_EQ(dogs[1]->puzzleLevel, "");
}

TEST_F(DogTableTest, EveryProblemIsReportedAndTheRestStillLoads) {
    readDogTable(kTable, true, src, problems);
    EXPECT_TRUE(said("dog2 is missing or has no id"));
    EXPECT_TRUE(said("dog3 repeats the id 1"));
    EXPECT_TRUE(said("dog1 txt3 names line 7"));
    EXPECT_TRUE(said("dog3 txt1 \"LEVEL:9|TEXT:1|X:oops\" has items"));
    EXPECT_TRUE(said("dog3 says it has 2 owner lines but txt2 is missing"));
    EXPECT_EQ(problems.size(), 5u);

    problems.clear();
    EXPECT_TRUE(readDogTable("", false, src, problems).empty());
    EXPECT_TRUE(said("data/dogs.dat is missing"));
    problems.clear();
    EXPECT_TRUE(readDogTable("dogs { i = 0 }", true, src, problems).empty());
    EXPECT_TRUE(said("names no dogs"));
    problems.clear();
    EXPECT_TRUE(readDogTable("not a table at all {{", true, src, problems).empty());
    EXPECT_FALSE(problems.empty());
}

TEST_F(DogTableTest, GetDogFindsTheFirstDogWithTheIdOrNothing) {
    TUbieranie u;
    u.dogsList = readDogTable(kTable, true, src, problems);
    ASSERT_TRUE(u.getDog(1));
    EXPECT_EQ(u.getDog(1), u.dogsList[0]);  // dog3 repeats id 1 and loses
    EXPECT_EQ(u.getDog(1)->startLevel, 1);
    EXPECT_EQ(u.getDog(2), nullptr);
    EXPECT_EQ(u.getDog(0), nullptr);
}

TEST_F(DogTableTest, DogsTwoAndEightStandFurtherLeftAndLower) {
    for (int id = 1; id <= 12; ++id) {
        TPies d;
        d.id = id;
        const bool apart = id == 2 || id == 8;
        EXPECT_EQ(d.standX(), apart ? 180 : 234) << id;
        EXPECT_EQ(d.standY(), apart ? 580 : 545) << id;
    }
}

TEST(DogTableGame, TheShippedTableReadsWithoutAProblem) {
    InstallBackend(nullptr);
    bool found = false;
    const std::string text = LoadText(std::string(BRIMBLE_GAME_DIR) + "/data/dogs.dat", &found);
    ASSERT_TRUE(found);
    TDogTableSources s;
    s.names = loadText(std::string(BRIMBLE_GAME_DIR) + "/txt/eng/dogNames.txt");
    s.lines = loadText(std::string(BRIMBLE_GAME_DIR) + "/txt/eng/dogs.txt");
    std::vector<std::string> problems;
    const auto dogs = readDogTable(text, true, s, problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    ASSERT_EQ(dogs.size(), 12u);
    for (size_t k = 0; k < dogs.size(); ++k) {
        EXPECT_EQ(dogs[k]->id, static_cast<int>(k + 1));
        EXPECT_FALSE(dogs[k]->name.empty());
        EXPECT_FALSE(dogs[k]->listaTekstow.empty());
    }
}

}  // namespace
