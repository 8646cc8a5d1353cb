// A named group of a grouped key-value file: entries, then subgroups.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/TRCMEntry.h"

class TRCMGroup;
using TRCMGroupPtr = std::shared_ptr<TRCMGroup>;

class TRCMGroup {
public:
    std::string _id;
    int _pos = 0;  // while reading: characters the body used, closing brace included
    std::vector<TRCMGroupPtr> _listaGrup;
    std::vector<TRCMEntryPtr> _listaWpisow;

    // The group's text with the given indent (the writer's layout).
    std::string save(const std::string& indent);
    void showGroup(const std::string& indent);
    // First match, case-insensitive; null when none.
    TRCMGroupPtr getGroup(const std::string& id) const;
    TRCMEntryPtr getEntry(const std::string& id) const;
    void deleteString(const std::string& id);
    void setStringEntry(const std::string& id, const std::string& value, int index);
    void setFloatEntry(const std::string& id, double value, int index);
    TRCMEntryPtr _addEntry(const std::string& id, const std::string& value, int index);

    void _save(std::string& out, const std::string& indent);
};
