// POSIX sockets behind TNetStream: non-blocking connect and poll() for every
// wait, MSG_NOSIGNAL so a server that hangs up cannot kill the game with
// SIGPIPE. Windows builds use NetStreamWinsock.cpp; this file compiles to
// nothing there.
#if !defined(_WIN32)
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "playlog/NetResolve.h"
#include "playlog/TNetStream.h"

namespace {

// Waits for the event on fd until the deadline: 1 ready, 0 deadline, -1 error.
int waitFor(int fd, short events, int64_t deadlineMs) {
    for (;;) {
        const int64_t left = deadlineMs - netClockMs();
        if (left <= 0) return 0;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left > 60000 ? 60000 : left));
        if (r > 0) return 1;
        if (r < 0 && errno != EINTR) return -1;
    }
}

class PosixNetStream : public TNetStream {
public:
    ~PosixNetStream() override { close(); }

    bool connectTo(uint32_t address, int port, int64_t deadlineMs, std::string& error) override {
        close();
        _fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (_fd < 0) return fail(error, "cannot open a socket");
        ::fcntl(_fd, F_SETFL, ::fcntl(_fd, F_GETFL, 0) | O_NONBLOCK);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(static_cast<uint16_t>(port));
        sa.sin_addr.s_addr = htonl(address);
        if (::connect(_fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0) return true;
        if (errno != EINPROGRESS) return fail(error, std::string("cannot connect: ") + std::strerror(errno));
        const int w = waitFor(_fd, POLLOUT, deadlineMs);
        if (w == 0) return fail(error, "no connection within the time limit");
        int err = 0;
        socklen_t len = sizeof err;
        if (w < 0 || ::getsockopt(_fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
        if (err != 0) return fail(error, std::string("cannot connect: ") + std::strerror(err));
        return true;
    }

    bool writeAll(const char* data, size_t n, int64_t deadlineMs, std::string& error) override {
        if (_fd < 0) return fail(error, "not connected");
        while (n > 0) {
            const ssize_t k = ::send(_fd, data, n, MSG_NOSIGNAL);
            if (k > 0) {
                data += k;
                n -= static_cast<size_t>(k);
                continue;
            }
            if (k < 0 && errno == EINTR) continue;
            if (k < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                const int w = waitFor(_fd, POLLOUT, deadlineMs);
                if (w == 0) return fail(error, "the server took no data within the time limit");
                if (w < 0) return fail(error, std::string("write failed: ") + std::strerror(errno));
                continue;
            }
            return fail(error, std::string("write failed: ") + std::strerror(errno));
        }
        return true;
    }

    long readSome(char* buffer, size_t n, int64_t deadlineMs, std::string& error) override {
        if (_fd < 0) {
            error = "not connected";
            return -1;
        }
        for (;;) {
            const ssize_t k = ::recv(_fd, buffer, n, 0);
            if (k >= 0) return static_cast<long>(k);
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                error = std::string("read failed: ") + std::strerror(errno);
                return -1;
            }
            const int w = waitFor(_fd, POLLIN, deadlineMs);
            if (w == 0) {
                error = "no complete answer within the time limit";
                return -1;
            }
            if (w < 0) {
                error = std::string("read failed: ") + std::strerror(errno);
                return -1;
            }
        }
    }

    void close() override {
        if (_fd >= 0) ::close(_fd);
        _fd = -1;
    }

private:
    int _fd = -1;
    bool fail(std::string& error, const std::string& why) {
        error = why;
        close();
        return false;
    }
};

}  // namespace

std::unique_ptr<TNetStream> makeNetStream() {
    return std::make_unique<PosixNetStream>();
}

bool netReady(std::string&) {
    return true;  // POSIX sockets need no start
}

#endif  // !_WIN32
