// An HTML form uploader: the fields to send, in the order added, posted as
// one multipart HTTP/1.0 request over a new TCP connection. The field list
// is never emptied, so every request carries every field added so far.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "playlog/TNetStream.h"
#include "playlog/thttpinput.h"

class tsendhttp {
public:
    std::vector<thttpinputPtr> inputs;

    // The IPv4 address (host byte order) of a host: a text of digits with
    // exactly three dots is read as a dotted address without a look-up;
    // anything else is looked up by name. 0 when it cannot be found.
    static uint32_t ressolvename(const std::string& host, int64_t deadlineMs = 0,
                                 std::string* error = nullptr);
    // Posts every field; the answer's lines, or no lines when no connection
    // could be made. Gives up at the time limits below (lastError says why).
    std::vector<std::string> send(const std::string& host, int port, const std::string& script);
    thttpinputPtr addinput(const std::string& name, const std::string& value);
    // Only for an existing file; null otherwise.
    thttpinputPtr addfile(const std::string& name, const std::string& path);

    // --- ours -----------------------------------------------------------------
    static const std::string boundary;  // "---------------------------23281168279961"
    // The content type sent for a file, by its extension in lower case.
    static std::string contentTypeFor(const std::string& path);
    // The request's bytes: request line, headers, empty line, body.
    std::string request(const std::string& host, int port, const std::string& script) const;
    std::string body() const;
    // The Content-Length header's value, counted field by field.
    size_t contentLength() const;
    // Time limits in milliseconds for connecting, writing the request and
    // reading the whole answer; none lasts past deadlineMs (netClockMs time)
    // when it is set.
    int connectLimitMs = 1000;
    int writeLimitMs = 1000;
    int readLimitMs = 1000;
    int64_t deadlineMs = 0;
    size_t maxAnswerBytes = 64 * 1024;  // the rest of a longer answer is not read
    // Sent as "Authorization: Bearer TOKEN" when not empty (a collector
    // open to other machines takes uploads only with its token).
    std::string authToken;
    // Why the last send failed ("" when it did not).
    std::string lastError;
    // Whether the last send got a complete answer with status 200.
    bool lastAnswerOk = false;
    // Opens the connection (tests put a fake here).
    std::function<std::unique_ptr<TNetStream>()> openStream = [] { return makeNetStream(); };

private:
    int64_t _limit(int ms) const;
};
using tsendhttpPtr = std::shared_ptr<tsendhttp>;
