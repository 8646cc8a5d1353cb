#include "app/TPlayProfile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
std::shared_ptr<TPlayProfile>& current() {
    static std::shared_ptr<TPlayProfile> p;
    return p;
}
}  // namespace

TPlayProfile& playProfile() {
    if (!current()) current() = std::make_shared<TTempProfile>();
    return *current();
}
void setPlayProfile(std::shared_ptr<TPlayProfile> p) { current() = std::move(p); }

TTempProfile::TTempProfile() {
    for (int i = 0; i < 6; ++i) {
        powerUps[i].n = i + 1;
        powerUps[i].odkryty = 1;
    }
}

TPowerUp& TTempProfile::powerUp(int i) { return powerUps[static_cast<size_t>(i < 0 ? 0 : (i > 5 ? 5 : i))]; }

void TTempProfile::checkPowerUps() {
    for (auto& p : powerUps) p.odkryty = 1;
}

void TTempProfile::resetPowerUpsEffects() {
    for (auto& p : powerUps) {
        p.state = 0;
        p.alpha = p.dAlpha = 0;
        p.rot = 0;
    }
}

void TTempProfile::updatePowerUps() {
    for (int i = 0; i < 6; ++i)
        if (powerUps[i].odkryty) powerUps[i].update(i + 1);
}

void TTempProfile::save() {
    ++saves;
    if (savePath.empty()) return;
    const std::string tmp = savePath + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f) {
            std::fprintf(stderr, "Cannot write the profile %s\n", tmp.c_str());
            return;
        }
        f << "profile {\n\tlevel = " << level << "\n\tmode = \"" << mode << "\"\n\tscore = " << totalScore
          << "\n\tpuzzles = " << puzzles << "\n";
        for (int i = 0; i < 6; ++i) f << "\tpowerUp" << (i + 1) << " = " << powerUps[i].data << "\n";
        f << "}\n";
        f.flush();
        if (!f) {
            std::fprintf(stderr, "Cannot write the profile %s\n", tmp.c_str());
            return;
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, savePath, ec);
    if (ec) std::fprintf(stderr, "Cannot replace the profile %s: %s\n", savePath.c_str(), ec.message().c_str());
}
