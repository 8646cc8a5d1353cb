// A program run beside the game whose standard output is collected without
// ever making a frame wait: poll() reads what is there and says whether the
// program has ended. POSIX: posix_spawn and a pipe (TChildProcess.cpp);
// Windows: CreateProcess and an anonymous pipe (TChildProcessWindows.cpp).
#pragma once

#include <string>
#include <vector>

class TChildProcess {
public:
    TChildProcess() = default;
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    // Starts argv[0] with the arguments; false when it cannot be started.
    bool start(const std::vector<std::string>& argv);
    // Reads the output that is ready; true once the program has ended and
    // all its output has been read.
    bool poll();
    // Stops the program (if running) and waits for it.
    void stop();
    bool running() const;
    const std::string& output() const { return _out; }
    int status() const { return _status; }  // exit status, -1 when killed or not started

private:
#ifdef _WIN32
    void* _process = nullptr;  // HANDLEs (TChildProcessWindows.cpp)
    void* _pipe = nullptr;
#else
    int _pid = -1;
    int _fd = -1;
#endif
    int _status = -1;
    std::string _out;
};
