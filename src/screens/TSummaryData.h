// One row of the win screen's summary: a label and its value.
#pragma once

#include <string>

class TSummaryData {
public:
    std::string txt;
    std::string data;

    static TSummaryData createSumData(const std::string& txt, const std::string& data) {
        TSummaryData d;
        d.txt = txt;
        d.data = data;
        return d;
    }
};
