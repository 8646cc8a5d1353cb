// One named entry of a grouped key-value file: a list of values.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TRCMEntry {
public:
    std::string _id;
    std::vector<std::string> _value;  // numbers are kept as their text
    int _type = 0;                    // 0 string entry, 1 number entry

    // The entry's line as the writer lays it out (name = items), without the
    // line feed. Empty first item becomes "0" in the entry itself.
    std::string toTxt();
    // Stores value at index, growing the array with empty items as needed.
    void setValue(const std::string& value, int index);
    void createArray(int n);

    // Appends the entry's line without changing the entry.
    void appendEntryText(std::string& out) const;
};
using TRCMEntryPtr = std::shared_ptr<TRCMEntry>;
