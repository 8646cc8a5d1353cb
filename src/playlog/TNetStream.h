// The small piece of the platform the play-log sender needs: one TCP
// connection with deadlines, a name look-up with a deadline, and a clock.
// Every call gives up at its deadline (a steady-clock time in milliseconds,
// netClockMs), so no server can hold the caller longer than it allows.
//
// NetStreamPosix.cpp implements it over POSIX sockets, NetStreamWinsock.cpp
// over Winsock; each compiles to nothing on the other system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TNetStream {
public:
    virtual ~TNetStream() = default;
    // Connects to an IPv4 address (host byte order) and port.
    virtual bool connectTo(uint32_t address, int port, int64_t deadlineMs, std::string& error) = 0;
    // Writes all n bytes, or fails.
    virtual bool writeAll(const char* data, size_t n, int64_t deadlineMs, std::string& error) = 0;
    // Reads what arrives: the byte count, 0 when the peer closed, -1 on an
    // error or at the deadline (error says which).
    virtual long readSome(char* buffer, size_t n, int64_t deadlineMs, std::string& error) = 0;
    virtual void close() = 0;
};

// A connection over the platform's sockets.
std::unique_ptr<TNetStream> makeNetStream();

// The IPv4 address (host byte order) of a host name, or 0 with error set.
// A look-up still running at the deadline is abandoned, not waited for.
uint32_t lookUpHostIPv4(const std::string& name, int64_t deadlineMs, std::string& error);

// Milliseconds of a steady clock (never goes back).
int64_t netClockMs();
