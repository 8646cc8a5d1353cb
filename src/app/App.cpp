#include "app/App.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/SystemPaths.h"

namespace fs = std::filesystem;

std::string usageText() {
    return "usage: brimble [--data DIR] [--user-dir DIR] [--windowed] [--headless]\n"
           "               [--script FILE] [--shots DIR] [--seed N] [--draw-all]\n"
           "               [--play-level FILE [--timed]] [--gui-gallery FILE] [--credits] [--help] "
           "[--version]\n"
           "               [--puzzle FILE] [--quest-at LEVEL [--jigsaw-solved]] [--editor [FILE]]\n";
}

bool parseCommandLine(const std::vector<std::string>& args, TCommandLine& out, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = a + " needs a value";
                return false;
            }
            into = args[++i];
            return true;
        };
        if (a == "--data") {
            if (!value(out.dataDir)) return false;
        } else if (a == "--user-dir") {
            if (!value(out.userDir)) return false;
        } else if (a == "--script") {
            if (!value(out.script)) return false;
        } else if (a == "--shots") {
            if (!value(out.shots)) return false;
        } else if (a == "--play-level") {
            if (!value(out.playLevel)) return false;
        } else if (a == "--puzzle") {
            if (!value(out.puzzle)) return false;
        } else if (a == "--gui-gallery") {
            if (!value(out.guiGallery)) return false;
        } else if (a == "--seed") {
            std::string v;
            if (!value(v)) return false;
            char* end = nullptr;
            const unsigned long long n = std::strtoull(v.c_str(), &end, 10);
            if (*end != '\0' || v[0] == '-' || n > 0xFFFFFFFFull) {
                error = "--seed needs a number from 0 to 4294967295";
                return false;
            }
            out.seed = static_cast<uint32_t>(n);
            out.seedGiven = true;
        } else if (a == "--windowed") {
            out.windowed = true;
        } else if (a == "--headless") {
            out.headless = true;
        } else if (a == "--timed") {
            out.timed = true;
        } else if (a == "--quest-at") {
            std::string v;
            if (!value(v)) return false;
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (*end != '\0' || n < 1 || n > 100000) {
                error = "--quest-at needs a level number from 1";
                return false;
            }
            out.questAt = static_cast<int>(n);
        } else if (a == "--jigsaw-solved") {
            out.jigsawSolved = true;
        } else if (a == "--editor") {
            out.editor = true;
            // The file is optional: a following word that is not a flag.
            if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-') out.editorFile = args[++i];
        } else if (a == "--credits") {
            out.credits = true;
        } else if (a == "--draw-all") {
            out.drawAll = true;
        } else if (a == "--help" || a == "-h") {
            out.help = true;
        } else if (a == "--version") {
            out.version = true;
        } else {
            error = "unknown argument '" + a + "'";
            return false;
        }
    }
    if (out.jigsawSolved && out.questAt == 0) {
        error = "--jigsaw-solved goes with --quest-at";
        return false;
    }
    if (out.timed && out.playLevel.empty()) {
        error = "--timed goes with --play-level";
        return false;
    }
    return true;
}

std::string absolutePath(const std::string& p) {
    if (p.empty()) return p;
    std::error_code ec;
    fs::path a = fs::absolute(fs::u8path(p), ec);
    return ec ? p : a.lexically_normal().u8string();
}

// --data, else game/ beside the build (the folder of the executable or its
// parent), else the installed layout (PREFIX/bin/brimble with its data in
// PREFIX/share/brimble), else the current folder.
std::string findDataDir(const std::string& given) {
    if (!given.empty()) return given;
    std::error_code ec;
    const fs::path exe = fs::u8path(ExecutablePath());
    if (!exe.empty()) {
        const fs::path bin = exe.parent_path();
        for (const fs::path& g : {bin / "game", bin.parent_path() / "game", bin.parent_path() / "share" / "brimble"})
            if (fs::is_directory(g / "data", ec)) return g.u8string();
    }
    return ".";
}
