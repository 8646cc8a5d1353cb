// Winsock behind TNetStream, the Windows counterpart of NetStreamPosix.cpp:
// a non-blocking connect and WSAPoll for every wait, so each call keeps to
// its deadline. Windows sends no SIGPIPE, so a server that hangs up only
// makes send() fail. This file compiles to nothing elsewhere.
#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <ws2tcpip.h>


#include "playlog/NetResolve.h"
#include "playlog/TNetStream.h"

namespace {

// Winsock is started once for the process (and left running to its end).
bool winsockReady() {
    static const bool ready = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

std::string winsockError(const char* what, int code) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(code), 0,
                   text, sizeof text, nullptr);
    std::string t = text;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ')) t.pop_back();
    return std::string(what) + ": " + (t.empty() ? "error " + std::to_string(code) : t);
}

// Waits for the event on s until the deadline: 1 ready, 0 deadline, -1 error.
int waitFor(SOCKET s, short events, int64_t deadlineMs) {
    for (;;) {
        const int64_t left = deadlineMs - netClockMs();
        if (left <= 0) return 0;
        WSAPOLLFD p{};
        p.fd = s;
        p.events = events;
        const int r = WSAPoll(&p, 1, static_cast<INT>(left > 60000 ? 60000 : left));
        if (r > 0) return 1;
        if (r < 0) return -1;
    }
}

class WinsockNetStream : public TNetStream {
public:
    ~WinsockNetStream() override { close(); }

    bool connectTo(uint32_t address, int port, int64_t deadlineMs, std::string& error) override {
        close();
        if (!winsockReady()) return fail(error, "cannot start Winsock");
        _s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (_s == INVALID_SOCKET) return fail(error, "cannot open a socket");
        u_long nonBlocking = 1;
        ::ioctlsocket(_s, FIONBIO, &nonBlocking);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<u_short>(port));
        sa.sin_addr.s_addr = htonl(address);
        if (::connect(_s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) return true;
        const int started = WSAGetLastError();
        if (started != WSAEWOULDBLOCK) return fail(error, winsockError("cannot connect", started));
        const int w = waitFor(_s, POLLOUT, deadlineMs);
        if (w == 0) return fail(error, "no connection within the time limit");
        // A refused connection shows as POLLERR/POLLHUP: SO_ERROR says why.
        int err = 0;
        int len = sizeof err;
        if (w < 0 || ::getsockopt(_s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&err), &len) != 0)
            err = WSAGetLastError();
        if (err != 0) return fail(error, winsockError("cannot connect", err));
        return true;
    }

    bool writeAll(const char* data, size_t n, int64_t deadlineMs, std::string& error) override {
        if (_s == INVALID_SOCKET) return fail(error, "not connected");
        while (n > 0) {
            const int chunk = static_cast<int>(n > 65536 ? 65536 : n);
            const int k = ::send(_s, data, chunk, 0);
            if (k > 0) {
                data += k;
                n -= static_cast<size_t>(k);
                continue;
            }
            const int e = WSAGetLastError();
            if (k < 0 && e == WSAEWOULDBLOCK) {
                const int w = waitFor(_s, POLLOUT, deadlineMs);
                if (w == 0) return fail(error, "the server took no data within the time limit");
                if (w < 0) return fail(error, winsockError("write failed", WSAGetLastError()));
                continue;
            }
            return fail(error, winsockError("write failed", e));
        }
        return true;
    }

    long readSome(char* buffer, size_t n, int64_t deadlineMs, std::string& error) override {
        if (_s == INVALID_SOCKET) {
            error = "not connected";
            return -1;
        }
        for (;;) {
            const int k = ::recv(_s, buffer, static_cast<int>(n > 65536 ? 65536 : n), 0);
            if (k >= 0) return k;
            const int e = WSAGetLastError();
            if (e != WSAEWOULDBLOCK) {
                error = winsockError("read failed", e);
                return -1;
            }
            const int w = waitFor(_s, POLLIN, deadlineMs);
            if (w == 0) {
                error = "no complete answer within the time limit";
                return -1;
            }
            if (w < 0) {
                error = winsockError("read failed", WSAGetLastError());
                return -1;
            }
        }
    }

    void close() override {
        if (_s != INVALID_SOCKET) ::closesocket(_s);
        _s = INVALID_SOCKET;
    }

private:
    SOCKET _s = INVALID_SOCKET;
    bool fail(std::string& error, const std::string& why) {
        error = why;
        close();
        return false;
    }
};

}  // namespace

std::unique_ptr<TNetStream> makeNetStream() {
    return std::make_unique<WinsockNetStream>();
}

bool netReady(std::string& error) {
    if (winsockReady()) return true;
    error = "cannot start Winsock";
    return false;
}

#endif  // _WIN32
