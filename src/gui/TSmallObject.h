// A nested block of a BAR declaration: "word name { entries and blocks }".
#pragma once

#include <list>
#include <memory>
#include <string>

#include "gui/TSimpleEntry.h"

class TSmallObject : public TSimpleEntry {
public:
    // Entries and nested blocks in file order; a nested block is a TSmallObject.
    std::list<TSimpleEntryPtr> _tokeny;
    std::string _name;
    std::string _tytul;  // unused

    void wyprintuj(const std::string& prefix) const override;
};
using TSmallObjectPtr = std::shared_ptr<TSmallObject>;
