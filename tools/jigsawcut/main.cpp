// jigsawcut: cuts a picture into jigsaw pieces and writes the puzzle file.
//
//   jigsawcut cut --picture PNG --grid ROWSxCOLS --pieces DIR --url PREFIX --puzzle FILE
//                 [--seed N] [--board X,Y]
//       writes DIR/piece01.png ... and FILE; the pictures are named in FILE as
//       PREFIX/piece01.png ... (PREFIX relative to the game's data folder).
//   jigsawcut preview --puzzle FILE --data DIR --out PNG [--layout solved|apart|scattered]
//       draws the pieces of FILE on a screen-sized picture for review.
//   jigsawcut verify --puzzle FILE --data DIR --picture PNG
//       checks FILE and its pieces against the picture they were cut from.
//
// Exit status 0 on success, 1 when the input is refused or a file cannot be
// read or written (the reason on stderr), 2 for a wrong command line.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "JigsawCutter.h"
#include "JigsawPreview.h"
#include "JigsawPuzzleFile.h"
#include "JigsawVerifier.h"

namespace fs = std::filesystem;

namespace {

int usage() {
    std::fprintf(
        stderr,
        "usage: jigsawcut cut --picture PNG --grid ROWSxCOLS --pieces DIR --url PREFIX --puzzle FILE\n"
        "                     [--seed N] [--board X,Y]\n"
        "       jigsawcut preview --puzzle FILE --data DIR --out PNG [--layout solved|apart|scattered]\n");
    return 2;
}

int fail(const std::string& msg) {
    std::fprintf(stderr, "jigsawcut: %s\n", msg.c_str());
    return 1;
}

bool number(const std::string& s, long long& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtoll(s.c_str(), &end, 10);
    return end && *end == 0;
}

bool ensureParent(const std::string& path) {
    std::error_code ec;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ec);
    return !ec;
}

int cutCommand(std::map<std::string, std::string>& opt) {
    for (const char* k : {"--picture", "--grid", "--pieces", "--url", "--puzzle"})
        if (!opt.count(k)) return usage();
    JigsawCutter cutter;
    std::smatch m;
    static const std::regex gridRe("([0-9]{1,3})x([0-9]{1,3})");
    if (!std::regex_match(opt["--grid"], m, gridRe)) return usage();
    cutter.rows = std::stoi(m[1]);
    cutter.cols = std::stoi(m[2]);
    long long seed = 1;
    if (opt.count("--seed") && (!number(opt["--seed"], seed) || seed < 0)) return usage();
    cutter.seed = uint64_t(seed);
    JigsawPuzzleFile file;
    file.urlPrefix = opt["--url"];
    while (!file.urlPrefix.empty() && file.urlPrefix.back() == '/') file.urlPrefix.pop_back();
    if (opt.count("--board")) {
        static const std::regex boardRe("(-?[0-9]{1,4}),(-?[0-9]{1,4})");
        if (!std::regex_match(opt["--board"], m, boardRe)) return usage();
        file.boardX = std::stoi(m[1]);
        file.boardY = std::stoi(m[2]);
    }

    RgbaImage picture;
    std::string err;
    if (!picture.loadPng(opt["--picture"], err)) return fail(err);
    std::vector<JigsawPiece> pieces;
    if (!cutter.cut(picture, pieces, err)) return fail(opt["--picture"] + ": " + err);

    const fs::path dir = opt["--pieces"];
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return fail("cannot create " + dir.string());
    for (const JigsawPiece& p : pieces)
        if (!p.img.savePng((dir / JigsawPuzzleFile::pieceFileName(p.id)).string(), err)) return fail(err);
    // Pieces left over from an earlier cut into more pieces go.
    static const std::regex pieceRe("piece([0-9]+)\\.png");
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (std::regex_match(name, m, pieceRe) && std::stoll(m[1]) > (long long)pieces.size())
            fs::remove(e.path(), ec);
    }
    if (!ensureParent(opt["--puzzle"])) return fail("cannot create the folder of " + opt["--puzzle"]);
    if (!file.write(opt["--puzzle"], pieces, picture.w, picture.h, err)) return fail(err);
    return 0;
}

int previewCommand(std::map<std::string, std::string>& opt) {
    for (const char* k : {"--puzzle", "--data", "--out"})
        if (!opt.count(k)) return usage();
    JigsawPreview::Layout layout = JigsawPreview::Layout::Solved;
    if (opt.count("--layout")) {
        const std::string l = opt["--layout"];
        if (l == "apart")
            layout = JigsawPreview::Layout::Apart;
        else if (l == "scattered")
            layout = JigsawPreview::Layout::Scattered;
        else if (l != "solved")
            return usage();
    }
    RgbaImage out;
    std::string err;
    if (!JigsawPreview::render(opt["--puzzle"], opt["--data"], layout, out, err)) return fail(err);
    if (!ensureParent(opt["--out"])) return fail("cannot create the folder of " + opt["--out"]);
    if (!out.savePng(opt["--out"], err)) return fail(err);
    return 0;
}

int verifyCommand(std::map<std::string, std::string>& opt) {
    for (const char* k : {"--puzzle", "--data", "--picture"})
        if (!opt.count(k)) return usage();
    const std::vector<std::string> problems =
        JigsawVerifier::verify(opt["--puzzle"], opt["--data"], opt["--picture"]);
    for (const std::string& p : problems)
        std::fprintf(stderr, "%s: %s\n", opt["--puzzle"].c_str(), p.c_str());
    return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string cmd = argv[1];
    std::map<std::string, std::string> opt;
    for (int i = 2; i < argc; i += 2) {
        const std::string k = argv[i];
        if (k.rfind("--", 0) != 0 || i + 1 >= argc || opt.count(k)) return usage();
        opt[k] = argv[i + 1];
    }
    static const char* known[] = {"--picture", "--grid",  "--pieces", "--url", "--puzzle",
                                  "--seed",    "--board", "--data",   "--out", "--layout"};
    for (const auto& [k, v] : opt) {
        bool ok = false;
        for (const char* n : known) ok = ok || k == n;
        if (!ok) return usage();
    }
    if (cmd == "cut") return cutCommand(opt);
    if (cmd == "preview") return previewCommand(opt);
    if (cmd == "verify") return verifyCommand(opt);
    return usage();
}
