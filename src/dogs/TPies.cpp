#include "dogs/TPies.h"

#include <algorithm>
#include <set>

#include "app/TRMCounter.h"
#include "data/TRCMFile.h"

void TPies::update(bool hovered) {
    da = hovered ? 1.0f : 0.0f;
    approach(a, da, 0.05f);
}

float TPies::standX() const {
    return (id == 2 || id == 8) ? 180.0f : 234.0f;
}

float TPies::standY() const {
    return (id == 2 || id == 8) ? 580.0f : 545.0f;
}

namespace {

ImagePtr loadPicture(const std::string& path, int flags, std::vector<std::string>& problems,
                     const std::string& who) {
    if (path.empty()) return nullptr;
    ImagePtr img = LoadImage(path, flags);
    if (!img) problems.push_back(who + ": the picture " + path + " cannot be loaded");
    return img;
}

}  // namespace

void TPies::loadPictures(std::vector<std::string>& problems) {
    const std::string who = "dog " + std::to_string(id);
    for (size_t k = 0; k < 2; ++k) {
        img[k] = loadPicture(url[k], IMG_DEFAULT, problems, who);
        if (img[k])
            SetImageHandle(img[k], static_cast<float>(img[k]->width / 2), static_cast<float>(img[k]->height));
    }
    ownerImg = loadPicture(ownerUrl, IMG_DEFAULT, problems, who);
    if (ownerImg)
        SetImageHandle(ownerImg, static_cast<float>(ownerImg->width), static_cast<float>(ownerImg->height));
    kartka = loadPicture(emptyUrl, IMG_FILTERED | IMG_MIPMAPPED, problems, who);
    odkryty = loadPicture(smallUrl, IMG_FILTERED | IMG_MIPMAPPED, problems, who);
    if (kartka) SetImageHandle(kartka, 64, 18);
    if (odkryty) SetImageHandle(odkryty, 64, 18);
}

std::vector<TPiesPtr> readDogTable(const std::string& tableText, bool tableFound, const TDogTableSources& src,
                                   std::vector<std::string>& problems) {
    std::vector<TPiesPtr> dogs;
    if (!tableFound) {
        problems.push_back("data/dogs.dat is missing: the quest has no dogs");
        return dogs;
    }
    auto f = newRCMFile();
    f->LoadFromText(tableText);
    const int count = f->getInt("dogs::i");
    if (count <= 0) {
        problems.push_back("data/dogs.dat names no dogs (dogs::i is " + std::to_string(count) + ")");
        return dogs;
    }
    // A table cannot hold more dogs than it has lines; a huge count is a typo.
    const int limit = std::min(count, 10000);
    std::set<int> ids;
    // A missing path reads as "" (or "0" from a writer's empty item): no picture.
    auto path = [&](const std::string& key) {
        const std::string v = f->getString(key);
        return v.empty() || v == "0" ? std::string() : src.root + v;
    };
    for (int n = 1; n <= limit; ++n) {
        const std::string P = "dogs::dog" + std::to_string(n);
        const std::string who = "data/dogs.dat dog" + std::to_string(n);
        if (!f->hasEntry(P + "::id")) {
            problems.push_back(who + " is missing or has no id; skipped");
            continue;
        }
        auto d = std::make_shared<TPies>();
        d->id = f->getInt(P + "::id");
        if (!ids.insert(d->id).second)
            problems.push_back(who + " repeats the id " + std::to_string(d->id) +
                               "; the first dog with it answers for that stage");
        const int nameLine = f->getInt(P + "::name");
        if (src.names && nameLine >= 1 && nameLine <= src.names->lines()) {
            d->name = src.names->txt[static_cast<size_t>(nameLine - 1)];
            while (!d->name.empty() && (d->name.back() == '\r' || d->name.back() == '\n')) d->name.pop_back();
        }
        for (int k = 0; k < 3; ++k) d->score[static_cast<size_t>(k)] = f->getInt(P + "::score", k);
        d->startLevel = f->getInt(P + "::startowyLevel");
        const std::string puzzle = f->getString(P + "::puzzleLevel");
        d->puzzleLevel = puzzle.empty() || puzzle == "0" ? std::string() : src.root + puzzle;
        d->owner = f->getInt(P + "::owner");
        d->imgXY = std::make_shared<TDim>();
        d->imgXY->x = static_cast<float>(f->getInt(P + "::imgXY", 0));
        d->imgXY->y = static_cast<float>(f->getInt(P + "::imgXY", 1));
        d->rot = f->getInt(P + "::imgXY", 2);
        for (int k = 0; k < 2; ++k) d->url[static_cast<size_t>(k)] = path(P + "::url" + std::to_string(k));
        d->ownerUrl = path(P + "::ownerImg");
        d->emptyUrl = path(P + "::emptyImg");
        d->smallUrl = path(P + "::smallImg");
        const int lines = std::min(f->getInt(P + "::txts"), 10000);
        for (int j = 1; j <= lines; ++j) {
            const std::string key = P + "::txt" + std::to_string(j);
            if (!f->hasEntry(key)) {
                problems.push_back(who + " says it has " + std::to_string(lines) + " owner lines but txt" +
                                   std::to_string(j) + " is missing");
                continue;
            }
            auto t = std::make_shared<TOwnerTxt>();
            t->wpis = f->getString(key);
            t->interpretuj(src.lines, src.font);
            if (t->badItems > 0)
                problems.push_back(who + " txt" + std::to_string(j) + " \"" + t->wpis +
                                   "\" has items that are not KEY:number; they are ignored");
            // (Without the text file at all, one notice has said so already.)
            if (src.lines && (t->numerLini < 1 || t->numerLini > src.lines->lines()))
                problems.push_back(who + " txt" + std::to_string(j) + " names line " +
                                   std::to_string(t->numerLini) +
                                   " of txt/dogs.txt, which does not exist; its bubble is empty");
            d->listaTekstow.push_back(t);
        }
        dogs.push_back(d);
    }
    return dogs;
}
