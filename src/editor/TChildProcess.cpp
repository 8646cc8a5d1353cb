#include "editor/TChildProcess.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

TChildProcess::~TChildProcess() {
    stop();
}

bool TChildProcess::running() const {
    return _pid > 0;
}

bool TChildProcess::start(const std::vector<std::string>& argv) {
    stop();
    _out.clear();
    _status = -1;
    if (argv.empty()) return false;
    int fds[2];
    if (pipe(fds) != 0) return false;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
    posix_spawn_file_actions_addclose(&fa, fds[0]);
    posix_spawn_file_actions_addclose(&fa, fds[1]);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &fa, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return false;
    }
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    _pid = pid;
    _fd = fds[0];
    return true;
}

bool TChildProcess::poll() {
    if (_fd >= 0) {
        char buf[4096];
        for (;;) {
            const ssize_t n = read(_fd, buf, sizeof buf);
            if (n > 0) {
                _out.append(buf, static_cast<size_t>(n));
                continue;
            }
            if (n == 0) {  // the other end closed: all output is in
                close(_fd);
                _fd = -1;
            }
            break;  // n < 0: EAGAIN (nothing yet) or an error
        }
    }
    if (_pid > 0) {
        int st = 0;
        const pid_t r = waitpid(_pid, &st, WNOHANG);
        if (r == _pid) {
            _pid = -1;
            _status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        } else if (r < 0 && errno != EINTR) {
            _pid = -1;
        }
    }
    return _pid <= 0 && _fd < 0;
}

void TChildProcess::stop() {
    if (_pid > 0) {
        kill(_pid, SIGKILL);
        int st = 0;
        waitpid(_pid, &st, 0);
        _pid = -1;
    }
    if (_fd >= 0) {
        close(_fd);
        _fd = -1;
    }
}
#endif  // !_WIN32
