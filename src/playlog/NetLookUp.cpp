// The parts of TNetStream.h common to every system: the clock, and a name
// look-up that keeps to its deadline.
#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "playlog/NetResolve.h"
#include "playlog/TNetStream.h"

int64_t netClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

namespace {

// The system's look-up, which blocks as long as the resolver likes.
uint32_t resolveIPv4Now(const std::string& name, std::string& error) {
    if (!netReady(error)) return 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &res);
    uint32_t a = 0;
    if (rc == 0 && res)
        a = ntohl(reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.s_addr);
    else
#if defined(_WIN32)
        error = std::string("cannot find the host ") + name + ": " + gai_strerrorA(rc);
#else
        error = std::string("cannot find the host ") + name + ": " + gai_strerror(rc);
#endif
    if (res) ::freeaddrinfo(res);
    return a;
}

// The state a look-up thread shares with its caller; whichever leaves last frees it.
struct LookUp {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    uint32_t address = 0;
    std::string error;
};
}  // namespace

uint32_t lookUpHostIPv4(const std::string& name, int64_t deadlineMs, std::string& error) {
    // The system's look-up has no time limit of its own, so it runs on a
    // thread of its own that is left behind when the deadline passes.
    auto job = std::make_shared<LookUp>();
    try {
        std::thread([job, name] {
            std::string err;
            const uint32_t a = resolveIPv4Now(name, err);
            std::lock_guard<std::mutex> lock(job->m);
            job->address = a;
            job->error = err;
            job->done = true;
            job->cv.notify_all();
        }).detach();
    } catch (const std::exception&) {
        error = "cannot start the host look-up";
        return 0;
    }
    std::unique_lock<std::mutex> lock(job->m);
    const auto until = std::chrono::steady_clock::time_point(std::chrono::milliseconds(deadlineMs));
    if (!job->cv.wait_until(lock, until, [&] { return job->done; })) {
        error = "the host " + name + " was not found within the time limit";
        return 0;
    }
    error = job->error;
    return job->address;
}
