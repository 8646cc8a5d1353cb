// Where the play log is posted: "playlog-net.txt" may hold a line
// "host[:port]"; an empty file leaves the address chosen at build time. A
// later line "token TOKEN" gives the collector's upload token.
#pragma once

#include <string>

class TPlaylogAddress {
public:
    std::string host;
    int port = 80;
    std::string token;  // "" when the file gives none
    std::string problem;  // why the text was not used ("" when it was, or was empty)

    // The address built in (BRIMBLE_PLAYLOG_HOST, BRIMBLE_PLAYLOG_PORT).
    static TPlaylogAddress builtIn();
    // The first non-empty line of the text, else the built-in address; a
    // malformed line also gives the built-in address, with problem set.
    static TPlaylogAddress fromText(const std::string& text);
};
