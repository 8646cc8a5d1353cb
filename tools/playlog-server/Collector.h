// The collector's HTTP side: the upload path the game posts to, the
// dashboard at "/", the CSV export, and the rules for who may connect and
// how much of the server any one client may hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Store.h"

struct CollectorOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    bool explicitListen = false;  // --listen given: any address may connect
    std::vector<std::string> hostNames;  // --host: names the collector answers to besides loopback ones
    std::string token;      // uploads must carry "Authorization: Bearer TOKEN" when set
    std::string tokenFile;  // --token-file: where the token is kept (made when missing)
    std::string db = "playlog.sqlite";
    std::string levelsDir;  // level files with the time limits
    size_t maxBody = 8 * 1024 * 1024;
    size_t maxBodiesInFlight = 48 * 1024 * 1024;  // all uploads being received at once
    int maxConnections = 512;
    int maxPerAddress = 32;
    int requestSeconds = 10;  // a request must have come whole within this
    int idleSeconds = 10;     // a connection silent this long is closed
    double ratePerSecond = 20;  // requests per address; 0: no limit
    double rateBurst = 200;
    std::string proxy;  // a reverse proxy's address whose X-Forwarded-For names the client
    int pollThreads = 2;
    int workers = 4;
};

// Parses the command line; false with a message for a wrong one.
bool parseCollectorArgs(int argc, char** argv, CollectorOptions& o, std::string& message);
// Reads the token file, writing a new random token to it when it is missing;
// false with a message when neither works. Uploads need a token whenever the
// collector listens on an address other machines can reach.
bool prepareToken(CollectorOptions& o, std::string& message);
bool isLoopbackAddress(const std::string& address);

// Whether a peer may use the server: loopback always; anyone else only when
// the listening address was given explicitly.
bool remoteAllowed(const std::string& remoteAddr, bool explicitListen);
// Whether a Host header names this collector: a loopback name, an address
// written as digits (no rebinding can hide behind one) or a --host name.
bool hostAllowed(const std::string& hostHeader, const std::vector<std::string>& names);
// Whether a browser's Origin header is this collector's own page (the same
// host and port as the Host header). Absent is fine: the game sends none.
bool originAllowed(const std::string& origin, const std::string& hostHeader);
// The upload path, as the game writes it (absolute) or as a browser does.
bool isUploadTarget(const std::string& url);

// Requests a client may make: a bucket of `burst` refilled at `rate` a second.
class RateLimiter {
public:
    RateLimiter(double rate, double burst) : _rate(rate), _burst(burst) {}
    // Takes one request from the address's bucket at time `now` (seconds).
    bool allow(const std::string& address, double now);
    size_t tracked() const { return _buckets.size(); }

private:
    struct Bucket {
        double tokens, last;
    };
    double _rate, _burst;
    std::map<std::string, Bucket> _buckets;
};

class Collector {
public:
    Collector(Store& store, CollectorOptions o, std::map<int64_t, int64_t> timeLimits);
    ~Collector();
    // Binds and starts serving; false with a message.
    bool start(std::string& error);
    void stop();
    int port() const;
    // Connections cut for not sending their request in time (since start).
    uint64_t cutConnections() const;

    struct Impl;

private:
    std::unique_ptr<Impl> _impl;
};

// The UTC time now as "YYYY-MM-DDTHH:MM:SSZ".
std::string utcNow();
