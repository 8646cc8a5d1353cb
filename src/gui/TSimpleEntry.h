// One "key = value" of a GUI script declaration.
#pragma once

#include <memory>
#include <string>

class TSimpleEntry {
public:
    std::string _typ;    // the key as written
    std::string _value;  // the value token

    virtual ~TSimpleEntry() = default;
    virtual void wyprintuj(const std::string& prefix) const;
};
using TSimpleEntryPtr = std::shared_ptr<TSimpleEntry>;
