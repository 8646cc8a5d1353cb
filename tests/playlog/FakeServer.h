// A loopback HTTP server on its own thread for the sender's tests: it can
// answer properly (keeping every request), refuse to answer, answer without
// end or trickle a byte at a time.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeServer {
public:
    enum Mode { Answer, Silent, Endless, Trickle, SlowAnswer };  // SlowAnswer: 300 ms a request

    explicit FakeServer(Mode m) : _mode(m) {
        _listen = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(_listen, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        ::listen(_listen, 16);
        socklen_t len = sizeof sa;
        ::getsockname(_listen, reinterpret_cast<sockaddr*>(&sa), &len);
        port = ntohs(sa.sin_port);
        _thread = std::thread([this] { run(); });
    }
    ~FakeServer() {
        _stop = true;
        _thread.join();
        ::close(_listen);
    }

    // A port on which nothing listens (bound, then closed).
    static int deadPort() {
        FakeServer s(Silent);
        return s.port;
    }

    int port = 0;
    std::vector<std::string> requests() {
        std::lock_guard<std::mutex> l(_m);
        return _requests;
    }

private:
    Mode _mode;
    int _listen = -1;
    std::atomic<bool> _stop{false};
    std::thread _thread;
    std::mutex _m;
    std::vector<std::string> _requests;

    bool wait(int fd, short ev, int ms) {
        pollfd p{fd, ev, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    // Reads one request: headers, then Content-Length bytes of body.
    std::string readRequest(int fd) {
        std::string r;
        char buf[4096];
        size_t need = std::string::npos;
        while (!_stop && (need == std::string::npos || r.size() < need)) {
            if (!wait(fd, POLLIN, 50)) continue;
            const ssize_t k = ::recv(fd, buf, sizeof buf, 0);
            if (k <= 0) break;
            r.append(buf, static_cast<size_t>(k));
            const size_t end = r.find("\r\n\r\n");
            if (end != std::string::npos && need == std::string::npos) {
                const size_t cl = r.find("Content-Length: ");
                need = end + 4 + (cl < end ? std::stoul(r.substr(cl + 16)) : 0);
            }
        }
        return r;
    }

    void run() {
        std::vector<int> held;
        while (!_stop) {
            if (!wait(_listen, POLLIN, 20)) continue;
            const int fd = ::accept(_listen, nullptr, nullptr);
            if (fd < 0) continue;
            if (_mode == Silent) {
                held.push_back(fd);  // never read, never answered, closed at the end
                continue;
            }
            const std::string req = readRequest(fd);
            {
                std::lock_guard<std::mutex> l(_m);
                _requests.push_back(req);
            }
            if (_mode == SlowAnswer) std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (_mode == Answer || _mode == SlowAnswer) {
                const std::string a = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nOK";
                ::send(fd, a.data(), a.size(), MSG_NOSIGNAL);
            } else {
                const std::string head = "HTTP/1.0 200 OK\r\n\r\n";
                ::send(fd, head.data(), head.size(), MSG_NOSIGNAL);
                const std::string chunk(_mode == Endless ? 1024 : 1, 'x');
                while (!_stop && ::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(_mode == Endless ? 1 : 1000));
            }
            ::close(fd);
        }
        for (int fd : held) ::close(fd);
    }
};
