// The puzzle file: reading with and without shuffling, writing in its key
// order, the round trip, and the files that are refused.
#include <gtest/gtest.h>

#include <fstream>

#include "JigsawFixture.h"
#include "platform/sdl/SdlBackend.h"

namespace {

class PuzzleFile : public TempDirTest {
protected:
    std::string write(const std::string& name, const std::string& text) {
        writeBytes(name, text);
        return path(name);
    }
};

TEST_F(PuzzleFile, SaveWritesTheKeysInOrder) {
    auto l = makeLevel({{1, 0, 0, {2}}, {2, 100, 0, {1}}, {3, 0, 100, {}}});
    l->allPuzzles[0]->imgUrl = "gfx/a.png";
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 403.7f, 100);
    piece(l, 3)->aktywny = 0;
    place(piece(l, 3), 12.5f, 40);
    l->putPuzzle(piece(l, 2));
    ASSERT_EQ(entries(l), "3 (2 1)");
    ASSERT_TRUE(l->save(path("p.dat")));
    // (The file format writes an empty text as "0".)
    const std::string expect =
        "puzzles {\n"
        "\tst = 262, 20\n"
        "\ti = 3\n"
        "\tp1 {\n\t\tid = 1\n\t\timg = \"gfx/a.png\"\n\t\tddim = 0, 0\n\t\tsasiedzi = \"2\"\n"
        "\t\tdim = 300, 100\n\t\tactive = 1\n\t}\n\n"
        "\tp2 {\n\t\tid = 2\n\t\timg = \"0\"\n\t\tddim = 100, 0\n\t\tsasiedzi = \"1\"\n"
        "\t\tdim = 400, 100\n\t\tactive = 1\n\t}\n\n"
        "\tp3 {\n\t\tid = 3\n\t\timg = \"0\"\n\t\tddim = 0, 100\n\t\tsasiedzi = \"0\"\n"
        "\t\tdim = 12, 40\n\t\tactive = 0\n\t}\n\n"
        "\tpuzzlesAndGroups {\n"
        "\t\ti = 2\n"
        "\t\tpog1 {\n\t\t\ttyp = \"PUZZLE\"\n\t\t\tid = 3\n\t\t\ta = 0\n\t\t}\n\n"
        "\t\tpog2 {\n\t\t\ttyp = \"GROUP\"\n\t\t\tgrupa = \"2 1\"\n\t\t}\n\n"
        "\t}\n\n"
        "}\n\n";
    EXPECT_EQ(readBytes("p.dat"), expect);
}

TEST_F(PuzzleFile, SavedAndLoadedWithoutShufflingGivesTheSamePuzzle) {
    auto l = makeLevel(square2x2());
    place(piece(l, 1), 300, 100);
    place(piece(l, 2), 405, 100);
    l->putPuzzle(piece(l, 2));
    place(piece(l, 3), 20, 600);
    place(piece(l, 4), 700, 650);
    piece(l, 4)->aktywny = 0;
    l->stx = 250;
    ASSERT_TRUE(l->save(path("round.dat")));
    std::string err;
    auto back = loadPuzzleLevel(path("round.dat"), 0, &err);
    ASSERT_NE(back, nullptr) << err;
    EXPECT_EQ(back->stx, 250);
    EXPECT_EQ(back->sty, 20);
    EXPECT_EQ(entries(back), entries(l));
    ASSERT_EQ(back->allPuzzles.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const auto& a = l->allPuzzles[i];
        const auto& b = back->allPuzzles[i];
        EXPECT_EQ(b->id, a->id);
        EXPECT_EQ(b->dim.x, a->dim.x);
        EXPECT_EQ(b->dim.y, a->dim.y);
        EXPECT_EQ(b->dDim.x, a->dDim.x);
        EXPECT_EQ(b->dDim.y, a->dDim.y);
        EXPECT_EQ(b->aktywny, a->aktywny);
        EXPECT_EQ(b->sasiedziTxt, a->sasiedziTxt);
        ASSERT_EQ(b->sasiedzi.size(), a->sasiedzi.size());
        for (size_t k = 0; k < a->sasiedzi.size(); ++k) EXPECT_EQ(b->sasiedzi[k]->id, a->sasiedzi[k]->id);
    }
    // Saved again, the file is the same.
    ASSERT_TRUE(back->save(path("round2.dat")));
    EXPECT_EQ(readBytes("round.dat"), readBytes("round2.dat"));
}

TEST_F(PuzzleFile, FlyingPieceIsSavedWhereItLands) {
    auto l = makeLevel({{1, 0, 0, {}}}, 20);
    place(piece(l, 1), 300, 100);
    piece(l, 1)->nowy = 1;
    l->shufflePuzzlePositions2();  // now at its start, 1200, 800
    ASSERT_TRUE(l->save(path("fly.dat")));
    auto back = loadPuzzleLevel(path("fly.dat"), 0);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->allPuzzles[0]->dim.x, 300);
    EXPECT_EQ(back->allPuzzles[0]->dim.y, 100);
}

// Pieces of the form "id:ddimX,ddimY:dimX,dimY:active:neighbours:img" and
// entries "P id a" or "G id id ..." as a puzzle file.
std::string puzzleText(const std::vector<std::string>& pieces, const std::vector<std::string>& pog) {
    std::string t = "puzzles {\n st = 262, 20\n i = " + std::to_string(pieces.size()) + "\n";
    int k = 0;
    for (const auto& p : pieces) {
        std::vector<std::string> f;
        size_t a = 0, b;
        while ((b = p.find(':', a)) != std::string::npos) f.push_back(p.substr(a, b - a)), a = b + 1;
        f.push_back(p.substr(a));
        f.resize(6);
        t += " p" + std::to_string(++k) + " {\n  id = " + f[0] + "\n  img = \"" + f[5] +
             "\"\n  ddim = " + (f[1].empty() ? "0, 0" : f[1]) + "\n  sasiedzi = \"" + f[4] +
             "\"\n  dim = " + (f[2].empty() ? "0, 0" : f[2]) + "\n  active = " + (f[3].empty() ? "0" : f[3]) +
             "\n }\n";
    }
    t += " puzzlesAndGroups {\n  i = " + std::to_string(pog.size()) + "\n";
    k = 0;
    for (const auto& e : pog) {
        t += "  pog" + std::to_string(++k) + " {\n";
        if (e[0] == 'G')
            t += "   typ = \"group\"\n   grupa = \"" + e.substr(2) + "\"\n";
        else {
            const size_t sp = e.find(' ', 2);
            t += "   typ = \"Puzzle\"\n   id = " + e.substr(2, sp - 2) +
                 "\n   a = " + (sp == std::string::npos ? "0" : e.substr(sp + 1)) + "\n";
        }
        t += "  }\n";
    }
    return t + " }\n}\n";
}

TEST_F(PuzzleFile, LoadReadsEntriesInFileOrderAndTruncatesPositions) {
    auto l = loadPuzzleLevel(
        write("good.dat", puzzleText({"5:0.9, 0:10.7, 20.2:0:6", "6:100, 0:30, 40:0:5"}, {"P 6 1", "P 5 0"})),
        0);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(entries(l), "6 5");
    EXPECT_EQ(l->allPuzzles[0]->id, 5);
    EXPECT_EQ(l->allPuzzles[0]->dim.x, 10);
    EXPECT_EQ(l->allPuzzles[0]->dim.y, 20);
    EXPECT_EQ(l->allPuzzles[0]->dDim.x, 0);
    EXPECT_EQ(piece(l, 6)->aktywny, 1);  // from the entry's "a"
    EXPECT_EQ(piece(l, 5)->aktywny, 0);
    ASSERT_EQ(piece(l, 5)->sasiedzi.size(), 1u);
    EXPECT_EQ(piece(l, 5)->sasiedzi[0], piece(l, 6));
    EXPECT_EQ(l->getPuzzleById(7), nullptr);
}

TEST_F(PuzzleFile, GroupMembersAreOwned) {
    auto l = loadPuzzleLevel(
        write("g.dat", puzzleText({"1:0, 0:300, 100:0:2", "2:100, 0:400, 100:0:1"}, {"G 2 1"})), 0);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(entries(l), "(2 1)");
    EXPECT_TRUE(l->complete());
}

// Ids that name no piece are refused with the file and the id in the message.
TEST_F(PuzzleFile, UnknownIdsAreRefusedNamingFileAndId) {
    const struct {
        const char* what;
        std::string text;
        const char* id;
    } cases[] = {
        {"entry", puzzleText({"1"}, {"P 77 1"}), "77"},
        {"group member", puzzleText({"1", "2"}, {"G 1 2 58"}), "58"},
        {"neighbour", puzzleText({"1::::31"}, {"P 1"}), "31"},
        {"placed twice", puzzleText({"1", "2"}, {"G 1 2", "P 2"}), "2"},
        {"same id twice", puzzleText({"9", "9"}, {"P 9"}), "9"},
    };
    for (const auto& c : cases) {
        const std::string file = write("bad.dat", c.text);
        std::string err;
        EXPECT_EQ(loadPuzzleLevel(file, 0, &err), nullptr) << c.what;
        EXPECT_NE(err.find(file), std::string::npos) << c.what << ": " << err;
        EXPECT_NE(err.find(std::string("id ") + c.id), std::string::npos) << c.what << ": " << err;
    }
}

TEST_F(PuzzleFile, MissingOrEmptyFilesAreRefused) {
    std::string err;
    EXPECT_EQ(loadPuzzleLevel(path("none.dat"), 1, &err), nullptr);
    EXPECT_NE(err.find("none.dat"), std::string::npos);
    EXPECT_EQ(loadPuzzleLevel(write("empty.dat", "puzzles {\n i = 0\n}\n"), 1, &err), nullptr);
    EXPECT_EQ(loadPuzzleLevel(write("junk.dat", "\x01\x02{{{}}} = = ="), 1, &err), nullptr);
}

TEST_F(PuzzleFile, PieceInNoEntryLiesLoose) {
    auto l = loadPuzzleLevel(write("loose.dat", puzzleText({"1", "2"}, {"P 2"})), 0);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(entries(l), "2 1");
}

// With pictures: shuffling lays every piece out by the first piece's size
// and puts the entries in a random order of the same pieces.
TEST_F(PuzzleFile, ShuffledLoadLaysOutEveryPiece) {
    InstallBackend(MakeHeadlessBackend());
    for (int k = 1; k <= 3; ++k) {
        TPixmap pix;
        pix.width = k == 1 ? 80 : 40;
        pix.height = k == 1 ? 120 : 40;
        pix.pixels.assign(static_cast<size_t>(pix.width) * pix.height * 4, 200);
        ASSERT_TRUE(SavePixmapPNG(pix, path("p" + std::to_string(k) + ".png")));
    }
    std::vector<std::string> pieces;
    for (int k = 1; k <= 3; ++k)
        pieces.push_back(std::to_string(k) + "::300, 300:::" + path("p" + std::to_string(k) + ".png"));
    const std::string text = puzzleText(pieces, {"P 1", "P 2", "P 3"});
    SeedRnd(3);
    auto l = loadPuzzleLevel(write("pics.dat", text), 1);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(piece(l, 1)->w, 80);
    EXPECT_EQ(piece(l, 2)->h, 40);
    const float ey[] = {100, 190, 280};  // 10 + k * 0.75 * 120
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(l->allPuzzles[k]->dim.x, 10);
        EXPECT_FLOAT_EQ(l->allPuzzles[k]->dim.y, ey[k]);
    }
    auto ids = entries(l);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, "  123");
    InstallBackend(nullptr);
}

}  // namespace
