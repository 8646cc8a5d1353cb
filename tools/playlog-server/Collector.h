// The collector's HTTP side: the upload path the game posts to, the
// dashboard at "/", the CSV export, and the rules for who may connect.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "Store.h"

namespace httplib {
class Server;
}

struct CollectorOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    bool explicitListen = false;  // --listen given: any address may connect
    std::string db = "playlog.sqlite";
    std::string levelsDir;  // level files with the time limits
    size_t maxBody = 8 * 1024 * 1024;
    int threads = 8;
};

// Parses the command line; false with a message for a wrong one.
bool parseCollectorArgs(int argc, char** argv, CollectorOptions& o, std::string& message);

// Whether a peer may use the server: loopback always; anyone else only when
// the listening address was given explicitly.
bool remoteAllowed(const std::string& remoteAddr, bool explicitListen);

// Puts the routes on the server; the store must outlive it.
void setUpCollector(httplib::Server& server, Store& store, const CollectorOptions& o,
                    std::map<int64_t, int64_t> timeLimits);

// The UTC time now as "YYYY-MM-DDTHH:MM:SSZ".
std::string utcNow();
