// TChildProcess on Windows: CreateProcessW with the child's standard output
// on an anonymous pipe; poll() looks with PeekNamedPipe first, so a read
// never blocks a frame. Compiles to nothing elsewhere.
#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "editor/TChildProcess.h"
#include "platform/WinText.h"

namespace {

// One argument quoted the way CommandLineToArgvW and the C runtime read it
// back: backslashes are literal except before a quote.
std::wstring quoteArgument(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
    std::wstring out = L"\"";
    for (size_t i = 0;; ++i) {
        size_t slashes = 0;
        while (i < a.size() && a[i] == L'\\') {
            ++slashes;
            ++i;
        }
        if (i == a.size()) {
            out.append(slashes * 2, L'\\');  // the closing quote follows
            break;
        }
        if (a[i] == L'"') {
            out.append(slashes * 2 + 1, L'\\');
        } else {
            out.append(slashes, L'\\');
        }
        out.push_back(a[i]);
    }
    out.push_back(L'"');
    return out;
}

void closeHandle(void*& h) {
    if (h) CloseHandle(static_cast<HANDLE>(h));
    h = nullptr;
}

}  // namespace

TChildProcess::~TChildProcess() {
    stop();
}

bool TChildProcess::running() const {
    return _process != nullptr;
}

bool TChildProcess::start(const std::vector<std::string>& argv) {
    stop();
    _out.clear();
    _status = -1;
    if (argv.empty()) return false;
    SECURITY_ATTRIBUTES inherit{};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
    // Only the write end goes to the child.
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);

    std::wstring commandLine;
    for (const auto& a : argv) {
        if (!commandLine.empty()) commandLine.push_back(L' ');
        commandLine += quoteArgument(Utf8ToWide(a));
    }
    const std::wstring program = Utf8ToWide(argv[0]);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nul;
    si.hStdOutput = writeEnd;
    si.hStdError = nul;
    PROCESS_INFORMATION pi{};
    const BOOL ok = CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                   nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);  // the child has its own copy: the pipe ends when it exits
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!ok) {
        CloseHandle(readEnd);
        return false;
    }
    CloseHandle(pi.hThread);
    _process = pi.hProcess;
    _pipe = readEnd;
    return true;
}

bool TChildProcess::poll() {
    if (_pipe) {
        for (;;) {
            DWORD ready = 0;
            if (!PeekNamedPipe(static_cast<HANDLE>(_pipe), nullptr, 0, nullptr, &ready, nullptr)) {
                closeHandle(_pipe);  // broken: the child has exited and all output is in
                break;
            }
            if (ready == 0) break;
            char buf[4096];
            DWORD got = 0;
            if (!ReadFile(static_cast<HANDLE>(_pipe), buf, ready < sizeof buf ? ready : sizeof buf, &got, nullptr) ||
                got == 0) {
                closeHandle(_pipe);
                break;
            }
            _out.append(buf, got);
        }
    }
    if (_process && WaitForSingleObject(static_cast<HANDLE>(_process), 0) == WAIT_OBJECT_0) {
        DWORD code = 0;
        _status = GetExitCodeProcess(static_cast<HANDLE>(_process), &code) ? static_cast<int>(code) : -1;
        closeHandle(_process);
    }
    return !_process && !_pipe;
}

void TChildProcess::stop() {
    if (_process) {
        TerminateProcess(static_cast<HANDLE>(_process), 1);
        WaitForSingleObject(static_cast<HANDLE>(_process), INFINITE);
        closeHandle(_process);
        _status = -1;
    }
    closeHandle(_pipe);
}
#endif  // _WIN32
