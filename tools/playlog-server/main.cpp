// build/playlog-server [--listen ADDR:PORT] [--db FILE | --db postgresql://...]
//                      [--levels DIR] [--max-body BYTES]
// The play-testers' collector: the game posts its play log to
// /playlogs/brimble/playlog.php; a level designer reads the dashboard at "/".
// By default it serves 127.0.0.1:8080 only and keeps playlog.sqlite in the
// current folder.
#include <httplib.h>
#include <sys/socket.h>

#include <csignal>
#include <cstdio>

#include "Collector.h"
#include "Dashboard.h"

namespace {

// The library listens with a backlog of a handful of connections; a burst of
// testers' uploads would overflow it and wait a second for the SYN to be
// sent again, so the listening socket gets a deeper queue once bound.
class CollectorHttpServer : public httplib::Server {
public:
    bool deepenBacklog(int n) { return ::listen(svr_sock_, n) == 0; }
};

httplib::Server* g_server = nullptr;
void stopServer(int) {
    if (g_server) g_server->stop();
}
}  // namespace

int main(int argc, char** argv) {
    CollectorOptions o;
    std::string message;
    if (!parseCollectorArgs(argc, argv, o, message)) {
        if (!message.empty()) std::fprintf(stderr, "playlog-server: %s\n", message.c_str());
        std::fprintf(stderr,
                     "usage: playlog-server [--listen ADDR:PORT] [--db FILE | --db postgresql://...] "
                     "[--levels DIR] [--max-body BYTES]\n");
        return message.empty() ? 0 : 2;
    }
    std::unique_ptr<Store> store = makeStore(o.db);
    std::string error;
    if (!store->open(error)) {
        std::fprintf(stderr, "playlog-server: %s\n", error.c_str());
        return 1;
    }
    std::map<int64_t, int64_t> limits;
    if (!o.levelsDir.empty()) {
        limits = loadTimeLimits(o.levelsDir);
        if (limits.empty())
            std::fprintf(stderr, "playlog-server: no level time limits found in %s\n", o.levelsDir.c_str());
    }
    CollectorHttpServer svr;
    setUpCollector(svr, *store, o, limits);
    int port = o.port;
    if (port == 0) {
        port = svr.bind_to_any_port(o.host);
    } else if (!svr.bind_to_port(o.host, port)) {
        port = -1;
    }
    if (port <= 0) {
        std::fprintf(stderr, "playlog-server: cannot listen on %s:%d\n", o.host.c_str(), o.port);
        return 1;
    }
    if (!svr.deepenBacklog(1024)) std::fprintf(stderr, "playlog-server: the listening queue stays short\n");
    g_server = &svr;
    std::signal(SIGINT, stopServer);
    std::signal(SIGTERM, stopServer);
    std::printf("playlog-server: listening on http://%s:%d/ (schema %d, %s)\n", o.host.c_str(), port,
                store->schemaVersion(), o.db.rfind("postgres", 0) == 0 ? "PostgreSQL" : o.db.c_str());
    std::fflush(stdout);
    svr.listen_after_bind();
    return 0;
}
