#include "playlog/TPlaylogAddress.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#ifndef BRIMBLE_PLAYLOG_HOST
#define BRIMBLE_PLAYLOG_HOST "localhost"
#endif
#ifndef BRIMBLE_PLAYLOG_PORT
#define BRIMBLE_PLAYLOG_PORT 80
#endif

TPlaylogAddress TPlaylogAddress::builtIn() {
    TPlaylogAddress a;
    a.host = BRIMBLE_PLAYLOG_HOST;
    a.port = BRIMBLE_PLAYLOG_PORT;
    return a;
}

namespace {

std::string trim(const std::string& s) {
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    auto b = std::find_if(s.begin(), s.end(), notSpace);
    auto e = std::find_if(s.rbegin(), s.rend(), notSpace).base();
    return b < e ? std::string(b, e) : std::string();
}

bool validHost(const std::string& h) {
    if (h.empty() || h.size() > 253 || h.front() == '.' || h.front() == '-') return false;
    return std::all_of(h.begin(), h.end(),
                       [](unsigned char c) { return std::isalnum(c) || c == '.' || c == '-'; });
}

}  // namespace

TPlaylogAddress TPlaylogAddress::fromText(const std::string& text) {
    TPlaylogAddress a = builtIn();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty()) continue;
        std::string host = line;
        int port = 80;
        const size_t colon = line.rfind(':');
        if (colon != std::string::npos) {
            host = line.substr(0, colon);
            const std::string p = line.substr(colon + 1);
            const bool digits =
                !p.empty() && p.size() <= 5 &&
                std::all_of(p.begin(), p.end(), [](unsigned char c) { return std::isdigit(c); });
            port = digits ? std::stoi(p) : 0;
            if (port < 1 || port > 65535) {
                a.problem = "playlog-net.txt: \"" + line + "\" has no port from 1 to 65535";
                return a;
            }
        }
        if (!validHost(host)) {
            a.problem = "playlog-net.txt: \"" + line + "\" is not a host name or dotted address";
            return a;
        }
        a.host = host;
        a.port = port;
        return a;
    }
    return a;
}
