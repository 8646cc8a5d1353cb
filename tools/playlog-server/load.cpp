// build/playlog-load --port P [--posts N] [--threads C] [--acked FILE] [--stop-on-failure 1] [--players NAME]
// build/playlog-load --port P --verify FILE
// build/playlog-load --port P --exit-run N   (N rounds sent as the game's exit sends them)
// Posts play-log records to a collector from C threads, each with the game's
// own sender, N posts in all, and prints posts per second and answer times
// (median, 99th percentile, longest). With --acked every record answered
// "200 OK" is written to FILE ("player id" a line) as soon as it is answered;
// --verify reads such a file and checks each of those records is in the
// collector's CSV export. --players NAME names the senders NAME-0, NAME-1...
// (two loads with the same name post the same records).
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "playlog/PlayLogGlobals.h"
#include "playlog/TPlaylogSender.h"

namespace {

int verify(int port, const std::string& file) {
    httplib::Client cli("127.0.0.1", port);
    cli.set_read_timeout(30, 0);
    auto res = cli.Get("/export.csv");
    if (!res || res->status != 200) {
        std::fprintf(stderr, "playlog-load: cannot read the export\n");
        return 1;
    }
    // The export's columns: ...,player (6th),record_id (7th),...
    std::set<std::string> stored;
    std::istringstream csv(res->body);
    std::string line;
    std::getline(csv, line);
    while (std::getline(csv, line)) {
        std::vector<std::string> cells;
        std::string cell;
        bool quoted = false;
        for (char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == ',' && !quoted) {
                cells.push_back(cell);
                cell.clear();
            } else if (c != '\r') {
                cell += c;
            }
        }
        cells.push_back(cell);
        if (cells.size() > 6) stored.insert(cells[5] + " " + cells[6]);
    }
    std::ifstream acked(file);
    int total = 0, missing = 0;
    while (std::getline(acked, line)) {
        if (line.empty()) continue;
        ++total;
        if (!stored.count(line)) {
            ++missing;
            if (missing <= 10) std::fprintf(stderr, "missing: %s\n", line.c_str());
        }
    }
    std::printf("acknowledged %d, stored %zu, missing %d\n", total, stored.size(), missing);
    return missing == 0 && total > 0 ? 0 : 1;
}

// One run of the game that played `rounds` rounds, sent as the game sends at
// its exit: how long it takes and how many records got through the budget.
int exitRun(int port, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        TPlayLogRound r;
        r.nrLevelu = 1 + i;
        r.matchType = "SWAP";
        r.log_availableChips = "1 2 3 4 5";
        r.levelTime = 60 + i;
        r.listaCzasow = {"10", "20"};
        r.log_iloscMatchy = 20;
        r.log_zmatchowaneChipsy = 70;
        recordPlayLog(true, i % 4 == 0 ? 0 : 1, r);
    }
    playlogSender = std::make_shared<TPlaylogSender>();
    playlogSender->init("/playlogs/brimble/playlog.php", "127.0.0.1", "http://127.0.0.1");
    playlogSender->target_port = port;
    playlogSender->playerName = [] { return std::string("exit-run"); };
    const auto t0 = std::chrono::steady_clock::now();
    sendPlayLogAtExit(true, true);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("exit send of %d rounds: %d reached the server in %.0f ms\n", rounds, playlogSender->lastSent,
                ms);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int port = 8080, posts = 2000, threads = 8;
    bool stopOnFailure = false;
    std::string acked, verifyFile, players;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--port")
            port = std::stoi(v);
        else if (a == "--posts")
            posts = std::stoi(v);
        else if (a == "--threads")
            threads = std::max(1, std::stoi(v));
        else if (a == "--acked")
            acked = v;
        else if (a == "--verify")
            verifyFile = v;
        else if (a == "--exit-run")
            return exitRun(port, std::stoi(v));
        else if (a == "--players")
            players = v;
        else if (a == "--stop-on-failure")
            stopOnFailure = v == "1";
    }
    if (!verifyFile.empty()) return verify(port, verifyFile);

    std::mutex m;
    std::FILE* ackFile = acked.empty() ? nullptr : std::fopen(acked.c_str(), "w");
    std::vector<double> latencies;
    std::atomic<int> next{0}, ok{0}, failed{0};
    std::string firstError;
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    const std::string stamp = std::to_string(std::chrono::system_clock::now().time_since_epoch().count());
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            const std::string player =
                (players.empty() ? "load-" + stamp : players) + "-" + std::to_string(t);
            int id = 0;
            std::vector<double> mine;
            while (next.fetch_add(1) < posts) {
                TPlaylogSender s;
                s.init("/playlogs/brimble/playlog.php", "127.0.0.1", "http://127.0.0.1");
                s.target_port = port;
                s.playerName = [&] { return player; };
                s.http_post->readLimitMs = 5000;
                s.http_post->writeLimitMs = 5000;
                TPlayLog r;
                r.id = ++id;
                r.nrLevelu = 1 + (id * 7 + t) % 40;
                r.nrStageu = 1 + r.nrLevelu / 10;
                r.matchType = "SWAP";
                r.availableChips = "1 2 3 4 5";
                r.levelTime = 40 + (id * 37 + t * 11) % 200;
                r.score = 1000 + id * 13;
                r.iloscMatchy = 10 + id % 20;
                r.sredniChain = 3.5f;
                r.zaliczony = (id + t) % 3 == 0 ? 0 : 1;
                s.saveLevel(r);
                const auto a = std::chrono::steady_clock::now();
                s.sendToServer();
                const double ms =
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
                if (s.http_post->lastAnswerOk) {
                    ++ok;
                    mine.push_back(ms);
                    if (ackFile) {
                        std::lock_guard<std::mutex> l(m);
                        std::fprintf(ackFile, "%s %d\n", player.c_str(), r.id);
                        std::fflush(ackFile);
                    }
                } else {
                    ++failed;
                    {
                        std::lock_guard<std::mutex> l(m);
                        if (firstError.empty()) firstError = s.http_post->lastError;
                    }
                    if (stopOnFailure) break;
                }
            }
            std::lock_guard<std::mutex> l(m);
            latencies.insert(latencies.end(), mine.begin(), mine.end());
        });
    }
    for (auto& th : pool) th.join();
    if (ackFile) std::fclose(ackFile);
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) {
        return latencies.empty()
                   ? 0.0
                   : latencies[std::min(latencies.size() - 1, static_cast<size_t>(q * latencies.size()))];
    };
    std::printf("posts %d ok %d failed %d in %.2f s: %.0f posts/s; answer ms median %.2f p99 %.2f max %.2f\n",
                posts, ok.load(), failed.load(), secs, ok.load() / secs, at(0.5), at(0.99),
                latencies.empty() ? 0.0 : latencies.back());
    if (failed.load() > 0) std::printf("first failure: %s\n", firstError.c_str());
    return failed.load() == 0 ? 0 : 1;
}
