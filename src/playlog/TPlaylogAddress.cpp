#include "playlog/TPlaylogAddress.h"

#include <algorithm>
#include <cctype>
#include <cstring>
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

bool validToken(const std::string& t) {
    return t.size() >= 16 && t.size() <= 128 && std::all_of(t.begin(), t.end(), [](unsigned char c) {
               return std::isalnum(c) || std::strchr("._~+/=-", c) != nullptr;
           });
}

}  // namespace

TPlaylogAddress TPlaylogAddress::fromText(const std::string& text) {
    TPlaylogAddress a = builtIn();
    std::istringstream in(text);
    std::string line;
    // The token may stand on any line after the address.
    std::string token;
    bool haveAddress = false;
    TPlaylogAddress found = a;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty()) continue;
        if (line.rfind("token ", 0) == 0) {
            token = trim(line.substr(6));
            if (!validToken(token)) {
                a.problem = "playlog-net.txt: the token is not 16 to 128 letters, digits or ._~+/=-";
                return a;
            }
            continue;
        }
        if (haveAddress) continue;
        haveAddress = true;
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
        found.host = host;
        found.port = port;
    }
    found.token = token;
    return found;
}
