#include "playlog/tsendhttp.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

const std::string tsendhttp::boundary = "---------------------------23281168279961";

namespace {

const std::string kCRLF = "\r\n";

std::string separator() {
    return "--" + tsendhttp::boundary;
}

std::string disposition(const thttpinput& in) {
    std::string d = "Content-Disposition: form-data; name=\"" + in.name + "\"";
    if (in.mode == 1) d += "; filename=\"" + in.filename + "\"";
    return d;
}

// A file's bytes, copied in blocks of 4096.
std::string fileBytes(const std::string& path) {
    std::string out;
    std::ifstream f(std::filesystem::u8path(path), std::ios::binary);
    char block[4096];
    while (f.read(block, sizeof block) || f.gcount() > 0) out.append(block, static_cast<size_t>(f.gcount()));
    return out;
}

// A value must not end its field early: line breaks become spaces.
std::string oneLine(std::string s) {
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

bool isDottedAddress(const std::string& host) {
    if (host.empty() || std::count(host.begin(), host.end(), '.') != 3) return false;
    return std::all_of(host.begin(), host.end(),
                       [](char c) { return c == '.' || std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

uint32_t tsendhttp::ressolvename(const std::string& host, int64_t deadlineMs, std::string* error) {
    std::string err;
    uint32_t address = 0;
    if (isDottedAddress(host)) {
        size_t start = 0;
        for (int part = 0; part < 4; ++part) {
            const size_t dot = host.find('.', start);
            const std::string num =
                host.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
            if (num.empty() || num.size() > 3 || std::stoi(num) > 255) {
                if (error) *error = "the address " + host + " is not a valid dotted address";
                return 0;
            }
            address = (address << 8) | static_cast<uint32_t>(std::stoi(num));
            start = dot + 1;
        }
        return address;
    }
    if (deadlineMs == 0) deadlineMs = netClockMs() + 5000;
    address = lookUpHostIPv4(host, deadlineMs, err);
    if (error) *error = err;
    return address;
}

thttpinputPtr tsendhttp::addinput(const std::string& name, const std::string& value) {
    auto in = std::make_shared<thttpinput>();
    in->mode = 0;
    in->name = oneLine(name);
    in->value = oneLine(value);
    inputs.push_back(in);
    return in;
}

std::string tsendhttp::contentTypeFor(const std::string& path) {
    std::string ext = std::filesystem::u8path(path).extension().u8string();
    if (!ext.empty()) ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::pair<const char*, const char*> types[] = {
        {"gif", "image/gif"},       {"png", "image/png"},       {"jpg", "image/jpg"},
        {"jpeg", "image/jpg"},      {"bmp", "image/bmp"},       {"txt", "text/txt"},
        {"htm", "text/htm"},        {"html", "text/html"},      {"doc", "text/doc"},
        {"css", "text/css"},        {"exe", "application/exe"}, {"zip", "application/zip"},
        {"rar", "application/rar"},
    };
    for (const auto& t : types)
        if (ext == t.first) return t.second;
    return "text/plain";
}

thttpinputPtr tsendhttp::addfile(const std::string& name, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
    auto in = std::make_shared<thttpinput>();
    in->mode = 1;
    in->name = oneLine(name);
    in->filepath = path;
    in->filename = oneLine(std::filesystem::u8path(path).filename().u8string());
    in->filecontenttype = contentTypeFor(path);
    inputs.push_back(in);
    return in;
}

size_t tsendhttp::contentLength() const {
    size_t n = 0;
    for (const auto& in : inputs) {
        if (in->mode == 0) {
            n += separator().size() + disposition(*in).size() + in->value.size() + 8;
        } else {
            std::error_code ec;
            const auto size = std::filesystem::file_size(in->filepath, ec);
            n += separator().size() + disposition(*in).size() +
                 ("Content-Type: " + in->filecontenttype).size() + (ec ? 0 : static_cast<size_t>(size)) + 10;
        }
    }
    return n + 49;
}

std::string tsendhttp::body() const {
    std::string b;
    for (const auto& in : inputs) {
        b += separator() + kCRLF + disposition(*in) + kCRLF;
        if (in->mode == 0) {
            b += kCRLF + in->value + kCRLF;
        } else {
            b += "Content-Type: " + in->filecontenttype + kCRLF + kCRLF + fileBytes(in->filepath) + kCRLF;
        }
    }
    b += separator() + "--" + kCRLF + kCRLF;
    return b;
}

std::string tsendhttp::request(const std::string& host, int port, const std::string& script) const {
    // The Host header names the port only when it is not HTTP's own.
    const std::string hostPort = port == 80 ? host : host + ":" + std::to_string(port);
    std::string r;
    r += "POST http://" + hostPort + script + " HTTP/1.0" + kCRLF;
    r += "Host: " + hostPort + kCRLF;
    r += "User-Agent: PlaylogUploader" + kCRLF;
    if (!authToken.empty()) r += "Authorization: Bearer " + oneLine(authToken) + kCRLF;
    r += "Content-Type: multipart/form-data; boundary=" + boundary + kCRLF;
    r += "Content-Length: " + std::to_string(contentLength()) + kCRLF;
    r += kCRLF;
    return r + body();
}

int64_t tsendhttp::_limit(int ms) const {
    const int64_t t = netClockMs() + ms;
    return deadlineMs > 0 ? std::min(t, deadlineMs) : t;
}

std::vector<std::string> tsendhttp::send(const std::string& host, int port, const std::string& script) {
    lastError.clear();
    lastAnswerOk = false;
    std::vector<std::string> lines;
    std::string err;
    const uint32_t address = ressolvename(host, _limit(connectLimitMs), &err);
    if (address == 0) {
        lastError = err.empty() ? "cannot find the host " + host : err;
        return lines;
    }
    std::unique_ptr<TNetStream> s = openStream();
    if (!s || !s->connectTo(address, port, _limit(connectLimitMs), err)) {
        lastError = err;
        return lines;
    }
    const std::string req = request(host, port, script);
    if (!s->writeAll(req.data(), req.size(), _limit(writeLimitMs), err)) {
        lastError = err;
        return lines;
    }
    // The answer is read until the server closes the connection, the read
    // limit passes or enough of it has come.
    std::string answer;
    const int64_t readDeadline = _limit(readLimitMs);
    char buf[4096];
    bool complete = false;
    while (answer.size() < maxAnswerBytes) {
        const long k =
            s->readSome(buf, std::min(sizeof buf, maxAnswerBytes - answer.size()), readDeadline, err);
        if (k < 0) {
            lastError = err;
            break;
        }
        if (k == 0) {
            complete = true;
            break;
        }
        answer.append(buf, static_cast<size_t>(k));
    }
    if (!complete && lastError.empty())
        lastError = "the answer went on past " + std::to_string(maxAnswerBytes) + " bytes";
    s->close();
    // Lines end at CR LF or at a lone LF.
    size_t start = 0;
    while (start < answer.size()) {
        size_t nl = answer.find('\n', start);
        if (nl == std::string::npos) nl = answer.size();
        size_t end = nl;
        if (end > start && answer[end - 1] == '\r') --end;
        lines.push_back(answer.substr(start, end - start));
        start = nl + 1;
    }
    if (complete) {
        const bool ok200 = !lines.empty() && lines[0].rfind("HTTP/1.", 0) == 0 && lines[0].size() >= 12 &&
                           lines[0].compare(9, 3, "200") == 0;
        lastAnswerOk = ok200;
        if (!ok200) lastError = "the server answered \"" + (lines.empty() ? std::string() : lines[0]) + "\"";
    }
    return lines;
}
