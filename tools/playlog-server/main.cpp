// build/playlog-server [--listen ADDR:PORT] [--host NAME]... [--token-file FILE]
//                      [--db FILE | --db postgresql://...] [--levels DIR] [--max-body BYTES]
//                      [--max-connections N] [--max-per-address N] [--request-seconds S]
//                      [--rate PER_SECOND[/BURST]] [--proxy ADDR]
// The play-testers' collector: the game posts its play log to
// /playlogs/brimble/playlog.php; a level designer reads the dashboard at "/".
// By default it serves 127.0.0.1:8080 only and keeps playlog.sqlite in the
// current folder.
#include <csignal>
#include <cstdio>

#include "Collector.h"
#include "Dashboard.h"

int main(int argc, char** argv) {
    CollectorOptions o;
    std::string message;
    if (!parseCollectorArgs(argc, argv, o, message) || !prepareToken(o, message)) {
        if (!message.empty()) std::fprintf(stderr, "playlog-server: %s\n", message.c_str());
        std::fprintf(stderr,
                     "usage: playlog-server [--listen ADDR:PORT] [--host NAME]... [--token-file FILE] "
                     "[--db FILE | --db postgresql://...] [--levels DIR] [--max-body BYTES] "
                     "[--max-connections N] [--max-per-address N] [--request-seconds S] "
                     "[--rate PER_SECOND[/BURST]] [--proxy ADDR]\n");
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
    // Block the stop signals before the server's threads start, so that
    // only this thread receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    Collector collector(*store, o, limits);
    if (!collector.start(error)) {
        std::fprintf(stderr, "playlog-server: %s\n", error.c_str());
        return 1;
    }
    std::printf("playlog-server: listening on http://%s:%d/ (schema %d, %s%s)\n", o.host.c_str(), collector.port(),
                store->schemaVersion(), o.db.rfind("postgres", 0) == 0 ? "PostgreSQL" : o.db.c_str(),
                o.token.empty() ? "" : ", uploads need the token");
    std::fflush(stdout);
    int sig = 0;
    sigwait(&stopSignals, &sig);
    collector.stop();
    return 0;
}
