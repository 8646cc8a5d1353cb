// The collector on libmicrohttpd: connections are served from a couple of
// event-driven threads, so a client that sends slowly or not at all holds a
// socket and a bounded buffer, never a thread. The library bounds the
// connections (in all and per address) and the request head (its memory
// pool); this file adds the deadline for a whole request, the per-address
// rate, the Host, Origin and token checks, a budget for upload bodies held
// at once, and runs the database work on a few workers so a slow page never
// holds up an upload.
#include "Collector.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <microhttpd.h>
#include <netdb.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <functional>
#include <mutex>
#include <regex>
#include <set>
#include <thread>

#include "Dashboard.h"

// --- rules -------------------------------------------------------------------

bool isLoopbackAddress(const std::string& a) {
    return a.rfind("127.", 0) == 0 || a == "::1" || a.rfind("::ffff:127.", 0) == 0 || a == "localhost";
}

bool remoteAllowed(const std::string& a, bool explicitListen) {
    return explicitListen || isLoopbackAddress(a);
}

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool allDigitsAndDots(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

// "name[:port]" or "[v6]:port" to its name part; false when malformed.
bool hostPart(const std::string& header, std::string& name) {
    if (header.empty() || header.size() > 255) return false;
    if (header[0] == '[') {
        const size_t close = header.find(']');
        if (close == std::string::npos) return false;
        name = header.substr(0, close + 1);
        const std::string rest = header.substr(close + 1);
        return rest.empty() || (rest[0] == ':' && rest.size() > 1 &&
                                rest.find_first_not_of("0123456789", 1) == std::string::npos);
    }
    const size_t colon = header.find(':');
    name = header.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string port = header.substr(colon + 1);
        if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos) return false;
    }
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
           });
}

}  // namespace

bool hostAllowed(const std::string& header, const std::vector<std::string>& names) {
    std::string name;
    if (!hostPart(header, name)) return false;
    name = lower(name);
    if (name == "localhost" || name == "[::1]") return true;
    if (name.front() == '[') {
        in6_addr a6{};
        return inet_pton(AF_INET6, name.substr(1, name.size() - 2).c_str(), &a6) == 1;
    }
    in_addr a4{};
    if (allDigitsAndDots(name)) return inet_pton(AF_INET, name.c_str(), &a4) == 1;
    for (const std::string& n : names)
        if (lower(n) == name) return true;
    return false;
}

bool originAllowed(const std::string& origin, const std::string& hostHeader) {
    if (origin.empty()) return true;
    for (const char* scheme : {"http://", "https://"}) {
        const size_t n = std::strlen(scheme);
        if (origin.compare(0, n, scheme) == 0) return lower(origin.substr(n)) == lower(hostHeader);
    }
    return false;  // "null" and anything else
}

bool isUploadTarget(const std::string& url) {
    static const std::regex path(R"((?:https?://[^/]+)?/playlogs/brimble/playlog\.php)");
    return std::regex_match(url, path);
}

bool RateLimiter::allow(const std::string& address, double now) {
    if (_rate <= 0) return true;
    if (_buckets.size() > 20000) {
        // Forget addresses whose buckets have long been full again.
        for (auto it = _buckets.begin(); it != _buckets.end();)
            it = now - it->second.last > _burst / _rate + 60 ? _buckets.erase(it) : std::next(it);
    }
    auto it = _buckets.find(address);
    if (it == _buckets.end()) it = _buckets.emplace(address, Bucket{_burst, now}).first;
    Bucket& b = it->second;
    b.tokens = std::min(_burst, b.tokens + (now - b.last) * _rate);
    b.last = now;
    if (b.tokens < 1) return false;
    b.tokens -= 1;
    return true;
}

std::string utcNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char b[32];
    std::strftime(b, sizeof b, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return b;
}

// --- command line --------------------------------------------------------------

namespace {

bool positiveNumber(const std::string& v, double lo, double hi, double& out) {
    if (v.empty() || v.size() > 12 || v.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    out = std::strtod(v.c_str(), &end);
    return *end == '\0' && out >= lo && out <= hi;
}

}  // namespace

bool parseCollectorArgs(int argc, char** argv, CollectorOptions& o, std::string& message) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        double x = 0;
        if (a == "--listen" && hasValue) {
            const std::string v = argv[++i];
            const size_t colon = v.rfind(':');
            if (colon == std::string::npos || colon == 0) {
                message = "--listen wants ADDR:PORT, e.g. 0.0.0.0:8080";
                return false;
            }
            o.host = v.substr(0, colon);
            if (o.host.size() > 2 && o.host.front() == '[' && o.host.back() == ']')
                o.host = o.host.substr(1, o.host.size() - 2);
            const std::string p = v.substr(colon + 1);
            if (p.empty() || p.size() > 5 || p.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(p) > 65535) {
                message = "--listen: \"" + p + "\" is not a port (0 picks a free one)";
                return false;
            }
            o.port = std::stoi(p);
            o.explicitListen = true;
            // A name to listen on is a name the collector answers to.
            if (!allDigitsAndDots(o.host) && o.host.find(':') == std::string::npos) o.hostNames.push_back(o.host);
        } else if (a == "--host" && hasValue) {
            std::string name;
            const std::string v = argv[++i];
            if (!hostPart(v, name) || name != v) {
                message = "--host wants a host name such as playlog.studio.lan";
                return false;
            }
            o.hostNames.push_back(v);
        } else if (a == "--token-file" && hasValue) {
            o.tokenFile = argv[++i];
        } else if (a == "--db" && hasValue) {
            o.db = argv[++i];
        } else if (a == "--levels" && hasValue) {
            o.levelsDir = argv[++i];
        } else if (a == "--proxy" && hasValue) {
            o.proxy = argv[++i];
        } else if (a == "--max-body" && hasValue) {
            const std::string v = argv[++i];
            if (v.empty() || v.size() > 10 || v.find_first_not_of("0123456789") != std::string::npos) {
                message = "--max-body wants a byte count";
                return false;
            }
            o.maxBody = std::stoull(v);
        } else if (a == "--max-connections" && hasValue) {
            if (!positiveNumber(argv[++i], 1, 100000, x)) {
                message = "--max-connections wants a number from 1";
                return false;
            }
            o.maxConnections = static_cast<int>(x);
        } else if (a == "--max-per-address" && hasValue) {
            if (!positiveNumber(argv[++i], 0, 100000, x)) {
                message = "--max-per-address wants a number (0: no limit)";
                return false;
            }
            o.maxPerAddress = static_cast<int>(x);
        } else if (a == "--request-seconds" && hasValue) {
            if (!positiveNumber(argv[++i], 1, 3600, x)) {
                message = "--request-seconds wants a number of seconds from 1";
                return false;
            }
            o.requestSeconds = static_cast<int>(x);
        } else if (a == "--rate" && hasValue) {
            // PER_SECOND or PER_SECOND/BURST; 0 turns the limit off.
            std::string v = argv[++i];
            const size_t slash = v.find('/');
            double burst = 0;
            if (!positiveNumber(v.substr(0, slash), 0, 1e6, x) ||
                (slash != std::string::npos && !positiveNumber(v.substr(slash + 1), 1, 1e7, burst))) {
                message = "--rate wants requests a second per address, optionally /BURST (0: no limit)";
                return false;
            }
            o.ratePerSecond = x;
            if (slash != std::string::npos) o.rateBurst = burst;
        } else if (a == "--help" || a == "-h") {
            message = "";
            return false;
        } else {
            message = "unknown or incomplete option \"" + a + "\"";
            return false;
        }
    }
    return true;
}

bool prepareToken(CollectorOptions& o, std::string& message) {
    if (o.tokenFile.empty()) {
        if (o.explicitListen && !isLoopbackAddress(o.host)) {
            message = "listening on " + o.host +
                      " lets other machines post: give --token-file FILE (a new token is written to it when it "
                      "is missing) and put \"token TOKEN\" on the second line of the testers' playlog-net.txt";
            return false;
        }
        return true;
    }
    std::ifstream in(o.tokenFile);
    std::string line;
    if (in && std::getline(in, line)) {
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front()))) line.erase(0, 1);
        if (line.size() < 16 || line.size() > 128 ||
            line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._~+/=-") !=
                std::string::npos) {
            message = o.tokenFile + ": a token is 16 to 128 letters, digits or ._~+/=-";
            return false;
        }
        o.token = line;
        return true;
    }
    if (in) {
        message = o.tokenFile + " is empty";
        return false;
    }
    unsigned char raw[24];
    std::FILE* r = std::fopen("/dev/urandom", "rb");
    const bool got = r && std::fread(raw, 1, sizeof raw, r) == sizeof raw;
    if (r) std::fclose(r);
    if (!got) {
        message = "no random bytes for a new token";
        return false;
    }
    std::string token;
    for (unsigned char c : raw) {
        static const char* hex = "0123456789abcdef";
        token += hex[c >> 4];
        token += hex[c & 15];
    }
    const int fd = ::open(o.tokenFile.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    const std::string text = token + "\n";
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) || ::fsync(fd) != 0) {
        if (fd >= 0) ::close(fd);
        message = "cannot write a new token to " + o.tokenFile;
        return false;
    }
    ::close(fd);
    o.token = token;
    std::fprintf(stderr, "playlog-server: a new upload token was written to %s\n", o.tokenFile.c_str());
    return true;
}

// --- the server ----------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point t) {
    return std::chrono::duration<double>(t.time_since_epoch()).count();
}

// One connection, from accept to close.
struct Conn {
    int fd = -1;
    sockaddr_storage peer{};
    socklen_t peerLen = 0;
    std::string address;
    Clock::time_point start;  // when the request now being received began
    bool receiving = true;    // the request has not come whole yet
    bool cut = false;
};

// One request on a connection.
struct Request {
    Conn* conn = nullptr;
    std::string address, method, url;
    int route = 0;  // 1 upload, 2 dashboard, 3 CSV
    std::string contentType, body;
    size_t reserved = 0;  // bytes of the in-flight body budget held
    int status = 0;       // an answer decided before the body came
    std::string text;     // its text
    MHD_Response* ready = nullptr;  // a worker's answer
    int readyStatus = 0;
    bool working = false;
    std::vector<std::string> params;
    DashboardQuery query;
};

}  // namespace

struct Collector::Impl {
    Store& store;
    CollectorOptions o;
    std::map<int64_t, int64_t> limits;
    MHD_Daemon* daemon = nullptr;
    int port = 0;

    std::mutex connMutex;
    std::set<Conn*> conns;
    std::atomic<uint64_t> cut{0};

    std::mutex rateMutex;
    RateLimiter rate;

    std::mutex bodyMutex;
    size_t bodiesInFlight = 0;

    std::mutex jobMutex;
    std::condition_variable jobReady;
    std::condition_variable stopped;  // wakes the watchdog at the end
    std::deque<std::function<void()>> jobs;
    std::vector<std::thread> workers;
    std::thread watchdog;
    bool stopping = false;

    Impl(Store& s, CollectorOptions opt, std::map<int64_t, int64_t> l)
        : store(s), o(std::move(opt)), limits(std::move(l)), rate(o.ratePerSecond, o.rateBurst) {}

    // --- answers
    static MHD_Response* textResponse(const std::string& text) {
        const std::string body = text + "\n";
        MHD_Response* r = MHD_create_response_from_buffer(body.size(), const_cast<char*>(body.data()),
                                                          MHD_RESPMEM_MUST_COPY);
        MHD_add_response_header(r, "Content-Type", "text/plain; charset=utf-8");
        return r;
    }
    static MHD_Result queue(MHD_Connection* c, int status, MHD_Response* r) {
        MHD_add_response_header(r, "Accept-Ranges", "none");
        MHD_add_response_header(r, "X-Content-Type-Options", "nosniff");
        const MHD_Result q = MHD_queue_response(c, static_cast<unsigned>(status), r);
        MHD_destroy_response(r);
        return q;
    }
    static MHD_Result queueText(MHD_Connection* c, int status, const std::string& text) {
        MHD_Response* r = textResponse(text);
        if (status == 429) MHD_add_response_header(r, "Retry-After", "1");
        if (status == 401) MHD_add_response_header(r, "WWW-Authenticate", "Bearer");
        return queue(c, status, r);
    }

    // --- body budget
    bool reserve(Request& q, size_t n) {
        std::lock_guard<std::mutex> l(bodyMutex);
        if (bodiesInFlight + n > o.maxBodiesInFlight) return false;
        bodiesInFlight += n;
        q.reserved += n;
        return true;
    }
    void release(Request& q) {
        std::lock_guard<std::mutex> l(bodyMutex);
        bodiesInFlight -= q.reserved;
        q.reserved = 0;
    }

    // --- workers
    bool submit(std::function<void()> job) {
        std::lock_guard<std::mutex> l(jobMutex);
        if (stopping || jobs.size() >= 1000) return false;
        jobs.push_back(std::move(job));
        jobReady.notify_one();
        return true;
    }
    void workerLoop() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock<std::mutex> l(jobMutex);
                jobReady.wait(l, [this] { return stopping || !jobs.empty(); });
                if (jobs.empty()) return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job();
        }
    }

    // Cuts every connection whose request has not come whole in time. The
    // library closes a socket only after telling us, under connMutex, so an
    // fd found here is still that connection's; the peer is checked anyway.
    void watchdogLoop() {
        for (;;) {
            {
                std::unique_lock<std::mutex> l(jobMutex);
                if (stopped.wait_for(l, std::chrono::milliseconds(200), [this] { return stopping; })) return;
            }
            const auto now = Clock::now();
            std::lock_guard<std::mutex> l(connMutex);
            for (Conn* c : conns) {
                if (!c->receiving || c->cut || now - c->start < std::chrono::seconds(o.requestSeconds)) continue;
                sockaddr_storage peer{};
                socklen_t len = sizeof peer;
                if (getpeername(c->fd, reinterpret_cast<sockaddr*>(&peer), &len) == 0 && len == c->peerLen &&
                    std::memcmp(&peer, &c->peer, len) == 0) {
                    ::shutdown(c->fd, SHUT_RDWR);
                    c->cut = true;
                    ++cut;
                }
            }
        }
    }

    // --- the callbacks
    static void onConnection(void* cls, MHD_Connection* c, void** socketContext, MHD_ConnectionNotificationCode code) {
        auto* self = static_cast<Impl*>(cls);
        if (code == MHD_CONNECTION_NOTIFY_STARTED) {
            auto* conn = new Conn();
            const MHD_ConnectionInfo* fd = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CONNECTION_FD);
            conn->fd = fd ? fd->connect_fd : -1;
            conn->peerLen = sizeof conn->peer;
            if (conn->fd < 0 || getpeername(conn->fd, reinterpret_cast<sockaddr*>(&conn->peer), &conn->peerLen) != 0)
                conn->peerLen = 0;
            conn->address = addressText(reinterpret_cast<sockaddr*>(&conn->peer), conn->peerLen);
            conn->start = Clock::now();
            std::lock_guard<std::mutex> l(self->connMutex);
            self->conns.insert(conn);
            *socketContext = conn;
        } else if (code == MHD_CONNECTION_NOTIFY_CLOSED) {
            auto* conn = static_cast<Conn*>(*socketContext);
            {
                std::lock_guard<std::mutex> l(self->connMutex);
                self->conns.erase(conn);
            }
            delete conn;
            *socketContext = nullptr;
        }
    }

    static void onCompleted(void* cls, MHD_Connection*, void** requestContext, MHD_RequestTerminationCode) {
        auto* self = static_cast<Impl*>(cls);
        auto* q = static_cast<Request*>(*requestContext);
        if (!q) return;
        if (q->conn) {
            // A kept-alive connection's next request starts its clock now.
            std::lock_guard<std::mutex> l(self->connMutex);
            q->conn->receiving = true;
            q->conn->start = Clock::now();
        }
        self->release(*q);
        if (q->ready) MHD_destroy_response(q->ready);
        delete q;
        *requestContext = nullptr;
    }

    static std::string addressText(const sockaddr* a, socklen_t len) {
        char host[NI_MAXHOST] = "";
        if (len == 0 || getnameinfo(a, len, host, sizeof host, nullptr, 0, NI_NUMERICHOST) != 0) return "";
        return host;
    }

    static std::string header(MHD_Connection* c, const char* name) {
        const char* v = MHD_lookup_connection_value(c, MHD_HEADER_KIND, name);
        return v ? v : "";
    }

    static bool sameToken(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return false;
        unsigned char diff = 0;
        for (size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
        return diff == 0;
    }

    // Headers are in: who is asking, for what, and may they.
    MHD_Result begin(MHD_Connection* c, Request& q) {
        const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
        const sockaddr* sa = info ? info->client_addr : nullptr;
        q.address = sa ? addressText(sa, sa->sa_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in))
                       : std::string();
        if (!o.proxy.empty() && q.address == o.proxy) {
            // The proxy names the client last in X-Forwarded-For.
            std::string fwd = header(c, "X-Forwarded-For");
            const size_t comma = fwd.rfind(',');
            if (comma != std::string::npos) fwd = fwd.substr(comma + 1);
            fwd.erase(0, fwd.find_first_not_of(' '));
            if (!fwd.empty() && fwd.size() < 64) q.address = fwd;
        }
        if (!remoteAllowed(q.address, o.explicitListen)) {
            q.status = 403;
            q.text = "This collector only serves this machine; start it with --listen ADDR:PORT to open it.";
            return MHD_YES;
        }
        const std::string host = header(c, "Host");
        if (!hostAllowed(host, o.hostNames)) {
            q.status = 403;
            q.text = "This collector does not answer to the host name \"" + host.substr(0, 64) +
                     "\" (start it with --host NAME to add one).";
            return MHD_YES;
        }
        if (!originAllowed(header(c, "Origin"), host)) {
            q.status = 403;
            q.text = "Requests from other web pages are refused.";
            return MHD_YES;
        }
        bool allowed;
        {
            std::lock_guard<std::mutex> l(rateMutex);
            allowed = rate.allow(q.address, seconds(Clock::now()));
        }
        if (!allowed) {
            q.status = 429;
            q.text = "too many requests; send again later";
            return MHD_YES;
        }
        std::string path = q.url;
        if (q.method == "POST" && isUploadTarget(q.url)) {
            q.route = 1;
            if (!o.token.empty() && !sameToken(header(c, "Authorization"), "Bearer " + o.token)) {
                q.status = 401;
                q.text = "uploads to this collector need its token (\"token TOKEN\" in playlog-net.txt)";
                return MHD_YES;
            }
            q.contentType = header(c, "Content-Type");
            const std::string length = header(c, "Content-Length");
            const unsigned long long declared = length.empty() ? 0 : std::strtoull(length.c_str(), nullptr, 10);
            if (declared > o.maxBody || length.size() > 19) {
                q.status = 413;
                q.text = "upload too large";
            } else if (!reserve(q, length.empty() ? o.maxBody : static_cast<size_t>(declared))) {
                q.status = 503;
                q.text = "too many uploads at once; send again later";
            }
            return MHD_YES;
        }
        const size_t query = path.find('?');
        if (query != std::string::npos) path = path.substr(0, query);
        if (q.method == "GET" || q.method == "HEAD") {
            if (path == "/")
                q.route = 2;
            else if (path == "/export.csv")
                q.route = 3;
            else {
                q.status = 404;
                q.text = "not found; uploads go to /playlogs/brimble/playlog.php";
                return MHD_YES;
            }
            std::string message;
            if (!readQuery(c, q.query, message)) {
                q.status = 400;
                q.text = message;
            }
            return MHD_YES;
        }
        q.status = isUploadTarget(q.url) || path == "/" || path == "/export.csv" ? 405 : 404;
        q.text = q.status == 405 ? "method not allowed" : "not found; uploads go to /playlogs/brimble/playlog.php";
        return MHD_YES;
    }

    static bool readQuery(MHD_Connection* c, DashboardQuery& q, std::string& message) {
        const auto arg = [c](const char* name) {
            const char* v = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, name);
            return std::string(v ? v : "");
        };
        static const std::regex day(R"(\d{4}-\d{2}-\d{2})"), version(R"([A-Za-z0-9._-]{0,16})"),
            number(R"(\d{1,6})");
        q.filter.version = arg("version");
        q.filter.from = arg("from");
        q.filter.to = arg("to");
        if (!std::regex_match(q.filter.version, version)) message = "version: letters, digits, dots and dashes, up to 16";
        for (const std::string* d : {&q.filter.from, &q.filter.to})
            if (!d->empty() && !std::regex_match(*d, day)) message = "from, to: dates as YYYY-MM-DD";
        const std::string level = arg("level"), min = arg("min");
        if (!level.empty()) {
            if (std::regex_match(level, number))
                q.histogramLevel = std::stoll(level);
            else
                message = "level: a level number";
        }
        if (!min.empty()) {
            if (std::regex_match(min, number) && std::stoi(min) > 0)
                q.minPlays = std::stoi(min);
            else
                message = "min: a number of plays from 1";
        }
        return message.empty();
    }

    // The database part of a request, on a worker.
    void work(Request& q) {
        std::string error;
        if (q.route == 1) {
            std::vector<FormField> fields;
            std::vector<PlayRecord> records;
            if (!parseMultipart(q.contentType, q.body, fields, error) || !recordsFromFields(fields, records, error)) {
                finish(q, 400, textResponse(error));
                return;
            }
            q.body.clear();
            q.body.shrink_to_fit();
            const std::string now = utcNow();
            for (PlayRecord& r : records) {
                r.receivedAt = now;
                r.remoteAddr = q.address;
            }
            int added = 0;
            if (!store.insert(records, added, error)) {
                std::fprintf(stderr, "playlog-server: storing failed: %s\n", error.c_str());
                finish(q, 503, textResponse("the records could not be stored; send again later"));
                return;
            }
            finish(q, 200, textResponse("OK"));
        } else if (q.route == 2) {
            DashboardData d;
            if (!loadDashboard(store, q.query, limits, d, error)) {
                finish(q, 503, textResponse("the records cannot be read: " + error));
                return;
            }
            const std::string page = renderDashboard(d, q.query, limits);
            MHD_Response* r =
                MHD_create_response_from_buffer(page.size(), const_cast<char*>(page.data()), MHD_RESPMEM_MUST_COPY);
            MHD_add_response_header(r, "Content-Type", "text/html; charset=utf-8");
            MHD_add_response_header(r, "Content-Security-Policy", "default-src 'none'; style-src 'unsafe-inline'; img-src 'self'; form-action 'self'");
            finish(q, 200, r);
        } else {
            auto cursor = store.openCursor(storesql::selectSql(), storesql::filterParams(q.query.filter), error);
            if (!cursor) {
                finish(q, 503, textResponse("the records cannot be read: " + error));
                return;
            }
            auto* stream = new CsvStream{std::move(cursor), csvHeader(), 0, {}};
            MHD_Response* r = MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, 64 * 1024, &CsvStream::read, stream,
                                                                &CsvStream::free);
            MHD_add_response_header(r, "Content-Type", "text/csv; charset=utf-8");
            MHD_add_response_header(r, "Content-Disposition", "attachment; filename=\"playlog.csv\"");
            finish(q, 200, r);
        }
    }

    // The CSV, written as the client takes it: a few rows in memory at a time.
    struct CsvStream {
        std::unique_ptr<RowCursor> cursor;
        std::string pending;
        size_t sent;
        SqlRow row;
        static ssize_t read(void* cls, uint64_t, char* buf, size_t max) {
            auto* s = static_cast<CsvStream*>(cls);
            while (s->pending.size() - s->sent < max) {
                if (!s->cursor) break;
                if (!s->cursor->next(s->row)) {
                    const bool failed = !s->cursor->error().empty();
                    if (failed) std::fprintf(stderr, "playlog-server: export failed: %s\n", s->cursor->error().c_str());
                    s->cursor.reset();
                    if (failed) return MHD_CONTENT_READER_END_WITH_ERROR;
                    break;
                }
                if (s->sent > 0) {
                    s->pending.erase(0, s->sent);
                    s->sent = 0;
                }
                s->pending += csvLine(s->row);
            }
            const size_t n = std::min(max, s->pending.size() - s->sent);
            if (n == 0) return MHD_CONTENT_READER_END_OF_STREAM;
            std::memcpy(buf, s->pending.data() + s->sent, n);
            s->sent += n;
            return static_cast<ssize_t>(n);
        }
        static void free(void* cls) { delete static_cast<CsvStream*>(cls); }
    };

    void finish(Request& q, int status, MHD_Response* r) {
        q.readyStatus = status;
        q.ready = r;
    }

    static MHD_Result onRequest(void* cls, MHD_Connection* c, const char* url, const char* method, const char*,
                                const char* data, size_t* size, void** requestContext) {
        auto* self = static_cast<Impl*>(cls);
        auto* q = static_cast<Request*>(*requestContext);
        if (!q) {
            q = new Request();
            *requestContext = q;
            const MHD_ConnectionInfo* info = MHD_get_connection_info(c, MHD_CONNECTION_INFO_SOCKET_CONTEXT);
            q->conn = info ? static_cast<Conn*>(info->socket_context) : nullptr;
            q->method = method;
            q->url = url;
            self->begin(c, *q);
            if (q->status == 0) return MHD_YES;
            // Refused on its headers: answered at once, the body (if any)
            // never read; the library closes the connection after.
            if (q->conn) {
                std::lock_guard<std::mutex> l(self->connMutex);
                q->conn->receiving = false;
            }
            return queueText(c, q->status, q->text);
        }
        if (*size > 0) {
            // Body bytes; kept only while the request is still wanted.
            if (q->status == 0 && q->route == 1) {
                if (q->body.size() + *size > o_maxBody(self)) {
                    q->status = 413;
                    q->text = "upload too large";
                    q->body.clear();
                } else if (q->body.size() + *size > q->reserved && !self->reserve(*q, *size)) {
                    q->status = 503;
                    q->text = "too many uploads at once; send again later";
                    q->body.clear();
                } else {
                    q->body.append(data, *size);
                }
            }
            *size = 0;
            return MHD_YES;
        }
        // The whole request is in.
        if (q->conn) {
            std::lock_guard<std::mutex> l(self->connMutex);
            q->conn->receiving = false;
        }
        if (q->status != 0) return queueText(c, q->status, q->text);
        if (q->ready) {
            MHD_Response* r = q->ready;
            q->ready = nullptr;
            return queue(c, q->readyStatus, r);
        }
        if (q->working) return MHD_YES;  // resumed before the answer: wait
        q->working = true;
        MHD_suspend_connection(c);
        const bool queued = self->submit([self, q, c] {
            self->work(*q);
            self->release(*q);
            MHD_resume_connection(c);
        });
        if (!queued) {
            MHD_resume_connection(c);
            q->working = false;
            q->status = 503;
            q->text = "the collector is busy; send again later";
        }
        return MHD_YES;
    }
    static size_t o_maxBody(Impl* self) { return self->o.maxBody; }

    bool start(std::string& error) {
        sockaddr_storage addr{};
        addrinfo hints{}, *res = nullptr;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_PASSIVE;
        if (getaddrinfo(o.host.c_str(), std::to_string(o.port).c_str(), &hints, &res) != 0 || !res) {
            error = "cannot find the address " + o.host;
            return false;
        }
        std::memcpy(&addr, res->ai_addr, res->ai_addrlen);
        const bool v6 = res->ai_family == AF_INET6;
        freeaddrinfo(res);
        // Every connection needs a descriptor: ask for as many as allowed.
        rlimit nofile{};
        if (getrlimit(RLIMIT_NOFILE, &nofile) == 0 && nofile.rlim_cur < nofile.rlim_max) {
            nofile.rlim_cur = nofile.rlim_max;
            setrlimit(RLIMIT_NOFILE, &nofile);
        }
        unsigned flags = MHD_USE_EPOLL_INTERNAL_THREAD | MHD_ALLOW_SUSPEND_RESUME;
        if (v6) flags |= MHD_USE_IPv6;
        MHD_OptionItem opts[] = {
            {MHD_OPTION_SOCK_ADDR, 0, &addr},
            {MHD_OPTION_THREAD_POOL_SIZE, static_cast<intptr_t>(std::max(1, o.pollThreads)), nullptr},
            {MHD_OPTION_CONNECTION_LIMIT, o.maxConnections, nullptr},
            {MHD_OPTION_PER_IP_CONNECTION_LIMIT, o.maxPerAddress, nullptr},
            {MHD_OPTION_CONNECTION_TIMEOUT, o.idleSeconds, nullptr},
            // The request line and headers must fit here (431 otherwise).
            {MHD_OPTION_CONNECTION_MEMORY_LIMIT, 32 * 1024, nullptr},
            {MHD_OPTION_LISTEN_BACKLOG_SIZE, 1024, nullptr},
            {MHD_OPTION_LISTENING_ADDRESS_REUSE, 1, nullptr},
            {MHD_OPTION_NOTIFY_CONNECTION, reinterpret_cast<intptr_t>(&Impl::onConnection), this},
            {MHD_OPTION_NOTIFY_COMPLETED, reinterpret_cast<intptr_t>(&Impl::onCompleted), this},
            {MHD_OPTION_END, 0, nullptr},
        };
        daemon = MHD_start_daemon(flags, static_cast<uint16_t>(o.port), nullptr, nullptr, &Impl::onRequest, this,
                                  MHD_OPTION_ARRAY, opts, MHD_OPTION_END);
        if (!daemon) {
            error = "cannot listen on " + o.host + ":" + std::to_string(o.port);
            return false;
        }
        const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon, MHD_DAEMON_INFO_BIND_PORT);
        port = info ? info->port : o.port;
        for (int i = 0; i < std::max(1, o.workers); ++i) workers.emplace_back([this] { workerLoop(); });
        watchdog = std::thread([this] { watchdogLoop(); });
        return true;
    }

    void stop() {
        {
            std::lock_guard<std::mutex> l(jobMutex);
            stopping = true;
            jobReady.notify_all();
            stopped.notify_all();
        }
        // Workers finish what they hold (and resume those connections)
        // before the daemon goes.
        for (auto& t : workers)
            if (t.joinable()) t.join();
        if (watchdog.joinable()) watchdog.join();
        if (daemon) MHD_stop_daemon(daemon);
        daemon = nullptr;
        workers.clear();
    }
};

Collector::Collector(Store& store, CollectorOptions o, std::map<int64_t, int64_t> limits)
    : _impl(std::make_unique<Impl>(store, std::move(o), std::move(limits))) {}

Collector::~Collector() {
    stop();
}

bool Collector::start(std::string& error) {
    return _impl->start(error);
}

void Collector::stop() {
    if (_impl) _impl->stop();
}

int Collector::port() const {
    return _impl->port;
}

uint64_t Collector::cutConnections() const {
    return _impl->cut.load();
}
