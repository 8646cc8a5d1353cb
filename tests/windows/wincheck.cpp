// wincheck.exe OUTDIR ARG: checks of the Windows implementations of the
// platform pieces, run under Wine by tests/windows/wine_checks.sh. OUTDIR is
// an empty folder it may write into; ARG is the UTF-8 text "ärg 犬" passed on
// the command line. Prints each failure and "N passed, N failed"; exit
// status 0 only when nothing failed.
//   wincheck.exe --child ARGS...   prints each argument on a line, exits 7
//   wincheck.exe --sleep           waits a minute (for stop())
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// The platform's own DeleteFile, not the Windows API's macro of that name.
#undef DeleteFile

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "editor/TChildProcess.h"
#include "platform/Files.h"
#include "platform/SystemPaths.h"
#include "playlog/TNetStream.h"
#include "playlog/tsendhttp.h"

namespace {

int passed = 0, failed = 0;

void check(bool ok, const std::string& what) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void userFolder() {
    const std::string f = UserDataFolder();
    check(!f.empty(), "the per-user folder is known");
    check(f.find('\\') == std::string::npos, "the per-user folder has forward slashes only: " + f);
    check(endsWith(f, "/AppData/Roaming"), "the per-user folder is the roaming application data: " + f);
    check(FileType(f) == 2, "the per-user folder exists: " + f);
    if (const char* appData = std::getenv("APPDATA")) {
        std::string a = appData;
        for (char& c : a)
            if (c == '\\') c = '/';
        check(EqualsNoCase(a, f), "the per-user folder is %APPDATA% (" + a + "), got " + f);
    }
}

void wideFileNames(const std::string& out) {
    const std::string name = out + "/\xC5\x81\xC3\xB3" "d\xC5\xBA \xE7\x8A\xAC \xC3\xBCn\xC3\xAF.txt";  // "Łódź 犬 ünï.txt"
    const std::string text = "h\xC3\xA9llo \xE7\x8A\xAC";                                          // "héllo 犬"
    check(SaveText(text, name), "a file with a non-ASCII name is saved");
    check(FileType(name) == 1, "it is there by its UTF-8 name");
    bool found = false;
    const std::string loaded = LoadText(name, &found);
    check(found && loaded == text, "its text reads back: " + loaded);
    bool listed = false;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(out), ec))
        listed = listed || e.path().filename().u8string() == StripDir(name);
    check(listed, "the folder lists it by the same name");
    const std::string renamed = out + "/\xC3\x9F-2.txt";  // "ß-2.txt"
    check(RenameFile(name, renamed) && FileType(renamed) == 1 && FileType(name) == 0, "it is renamed");
    check(LoadText(renamed, &found) == text && found, "the renamed file holds the text");
    check(DeleteFile(renamed) && FileType(renamed) == 0, "it is deleted");
    const std::string dir = out + "/\xC3\x96rdner/\xC3\xBCnter";  // "Ördner/ünter"
    check(CreateDir(dir, true) && FileType(dir) == 2, "folders with non-ASCII names are made with their parents");
    // Left behind for the Linux side, which checks the name on disk.
    check(WriteBytesFileAtomic(dir + "/\xE7\x8A\xAC-kept.txt", "kept"), "an atomic write into it works");
}

void program(const std::string& arg) {
    check(endsWith(ExecutablePath(), "/wincheck.exe"), "the program's own path: " + ExecutablePath());
    check(ProgramFileName("levelrun") == "levelrun.exe", "programs end in .exe");
    check(arg == "\xC3\xA4rg \xE7\x8A\xAC", "a non-ASCII argument arrives as UTF-8: " + arg);
}

bool waitDone(TChildProcess& p) {
    for (int i = 0; i < 3000; ++i) {
        if (p.poll()) return true;
        Sleep(10);
    }
    return false;
}

void childProcess() {
    const std::string self = ExecutablePath();
    TChildProcess p;
    const std::vector<std::string> args = {"a b", "q\"uote", "back\\slash\\", "\xE7\x8A\xAC", ""};
    std::vector<std::string> argv = {self, "--child"};
    argv.insert(argv.end(), args.begin(), args.end());
    check(p.start(argv), "a child process starts");
    check(waitDone(p), "the child ends and its output is read");
    std::string want;
    for (const auto& a : args) want += "[" + a + "]\n";
    check(p.output() == want, "the child got every argument intact: " + p.output());
    check(p.status() == 7, "the child's exit status: " + std::to_string(p.status()));
    check(!p.running(), "the ended child no longer runs");

    TChildProcess missing;
    check(!missing.start({self + ".missing.exe"}), "a missing program does not start");

    TChildProcess sleeper;
    check(sleeper.start({self, "--sleep"}), "a long child starts");
    check(!sleeper.poll() && sleeper.running(), "it is still running");
    sleeper.stop();
    check(!sleeper.running() && sleeper.status() == -1, "stop() ends it");
}

// A one-shot HTTP server on 127.0.0.1: reads the request to its end (the
// Content-Length body after the headers), answers and closes.
SOCKET listenLocal(int& port) {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = 0;
    ::bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::listen(s, 1);
    int len = sizeof sa;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&sa), &len);
    port = ntohs(sa.sin_port);
    return s;
}

void serveOnce(SOCKET listener, std::string* request) {
    SOCKET c = ::accept(listener, nullptr, nullptr);
    if (c == INVALID_SOCKET) return;
    char buf[4096];
    for (;;) {
        const size_t head = request->find("\r\n\r\n");
        if (head != std::string::npos) {
            const size_t cl = request->find("Content-Length: ");
            const size_t want = cl == std::string::npos ? 0 : std::strtoul(request->c_str() + cl + 16, nullptr, 10);
            if (request->size() >= head + 4 + want) break;
        }
        const int k = ::recv(c, buf, sizeof buf, 0);
        if (k <= 0) break;
        request->append(buf, static_cast<size_t>(k));
    }
    const char answer[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nOK\n";
    ::send(c, answer, sizeof answer - 1, 0);
    ::closesocket(c);
}

void sockets() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::string err;
    const int64_t soon = netClockMs() + 10000;
    check(lookUpHostIPv4("localhost", soon, err) == 0x7F000001u, "localhost is looked up: " + err);

    int port = 0;
    SOCKET listener = listenLocal(port);
    std::string request;
    std::thread server(serveOnce, listener, &request);
    tsendhttp post;
    post.connectLimitMs = post.writeLimitMs = post.readLimitMs = 10000;
    post.addinput("version", "v1.0");
    post.addinput("playerName", "\xC3\x84nne");
    const std::vector<std::string> lines = post.send("127.0.0.1", port, "/playlogs/brimble/playlog.php");
    server.join();
    ::closesocket(listener);
    check(post.lastError.empty(), "the play log is posted over Winsock: " + post.lastError);
    check(post.lastAnswerOk, "the server's answer is read whole");
    check(!lines.empty() && lines[0] == "HTTP/1.0 200 OK", "the answer's first line");
    check(request == post.request("127.0.0.1", port, "/playlogs/brimble/playlog.php"),
          "the server got the request byte for byte");

    // A port nobody listens on: a clear error, no hang.
    SOCKET closed = listenLocal(port);
    ::closesocket(closed);
    auto stream = makeNetStream();
    check(!stream->connectTo(0x7F000001u, port, netClockMs() + 10000, err), "a refused connection fails");
    check(err.find("cannot connect") == 0, "and says so: " + err);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = CommandLineArgs(argc, argv);
    if (args.size() >= 2 && args[1] == "--child") {
        _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF alone, as written
        for (size_t i = 2; i < args.size(); ++i) std::printf("[%s]\n", args[i].c_str());
        return 7;
    }
    if (args.size() >= 2 && args[1] == "--sleep") {
        Sleep(60000);
        return 0;
    }
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: wincheck OUTDIR ARG\n");
        return 2;
    }
    userFolder();
    wideFileNames(args[1]);
    program(args[2]);
    childProcess();
    sockets();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
