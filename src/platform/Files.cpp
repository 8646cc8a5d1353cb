#include "platform/Files.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>

#include "platform/WinText.h"
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Streams

TStream::~TStream() { close(); }

void TStream::close() {
    if (_f) {
        if (std::fclose(_f) != 0) _failed = true;
        _f = nullptr;
    }
}

bool TStream::eof() {
    if (!_f) return true;
    int c = std::fgetc(_f);
    if (c == EOF) return true;
    std::ungetc(c, _f);
    return false;
}

long TStream::size() {
    if (!_f) return 0;
    long here = std::ftell(_f);
    std::fseek(_f, 0, SEEK_END);
    long n = std::ftell(_f);
    std::fseek(_f, here, SEEK_SET);
    return n;
}

long TStream::pos() { return _f ? std::ftell(_f) : 0; }

bool TStream::seek(long position) { return _f && std::fseek(_f, position, SEEK_SET) == 0; }

bool TStream::flush() {
    if (!_f) return false;
    bool ok = std::fflush(_f) == 0;
#ifdef _WIN32
    ok = ok && _commit(_fileno(_f)) == 0;
#else
    ok = ok && fsync(fileno(_f)) == 0;
#endif
    if (!ok) _failed = true;
    return ok;
}

std::string TStream::readLine() {
    std::string bytes;
    if (!_f) return bytes;
    int c;
    while ((c = std::fgetc(_f)) != EOF) {
        if (c == 10 || c == 0) break;
        if (c == 13) continue;
        bytes.push_back(static_cast<char>(c));
    }
    return Latin1ToUtf8(bytes);
}

bool TStream::writeLine(const std::string& utf8) {
    return writeString(utf8) && writeBytes("\r\n", 2);
}

int TStream::readByte() {
    if (!_f) return 0;
    int c = std::fgetc(_f);
    return c == EOF ? 0 : c;
}

int TStream::readShort() {
    int lo = readByte();
    int hi = readByte();
    return lo | (hi << 8);
}

int TStream::readInt() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(readByte()) << (8 * i);
    return static_cast<int32_t>(v);
}

float TStream::readFloat() {
    uint32_t v = static_cast<uint32_t>(readInt());
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

std::string TStream::readString(int n) {
    if (n <= 0) return "";
    return Latin1ToUtf8(readBytes(static_cast<size_t>(n)));
}

std::string TStream::readBytes(size_t n) {
    std::string out;
    if (!_f || n == 0) return out;
    // Grow in chunks so a hostile length cannot make us allocate gigabytes.
    const size_t chunk = 1 << 16;
    while (out.size() < n) {
        size_t want = std::min(chunk, n - out.size());
        size_t old = out.size();
        out.resize(old + want);
        size_t got = std::fread(&out[old], 1, want, _f);
        out.resize(old + got);
        if (got < want) break;
    }
    return out;
}

bool TStream::writeBytes(const void* data, size_t n) {
    if (!_f) return false;
    if (n && std::fwrite(data, 1, n, _f) != n) {
        _failed = true;
        return false;
    }
    return true;
}

bool TStream::writeByte(int v) {
    unsigned char b = static_cast<unsigned char>(v & 0xFF);
    return writeBytes(&b, 1);
}

bool TStream::writeShort(int v) {
    unsigned char b[2] = {static_cast<unsigned char>(v & 0xFF), static_cast<unsigned char>((v >> 8) & 0xFF)};
    return writeBytes(b, 2);
}

bool TStream::writeInt(int v) {
    uint32_t u = static_cast<uint32_t>(v);
    unsigned char b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFF);
    return writeBytes(b, 4);
}

bool TStream::writeFloat(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return writeInt(static_cast<int>(u));
}

bool TStream::writeString(const std::string& utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) bytes.push_back(static_cast<char>(NextCodePoint(utf8, i) & 0xFF));
    return writeBytes(bytes.data(), bytes.size());
}

StreamPtr OpenStream(const std::string& path, const char* mode) {
    if (path.empty()) return nullptr;
#ifdef _WIN32
    // Wide characters: the narrow C library reads names in the ANSI code page.
    std::FILE* f = _wfopen(Utf8ToWide(path).c_str(), Utf8ToWide(mode).c_str());
#else
    std::FILE* f = std::fopen(path.c_str(), mode);
#endif
    if (!f) return nullptr;
    return StreamPtr(new TStream(f));
}

StreamPtr ReadFile(const std::string& path) {
    if (FileType(path) != 1) return nullptr;
    return OpenStream(path, "rb");
}
StreamPtr WriteFile(const std::string& path) { return OpenStream(path, "wb"); }
StreamPtr OpenFile(const std::string& path) {
    if (FileType(path) != 1) return nullptr;
    return OpenStream(path, "r+b");
}

// ---------------------------------------------------------------------------
// Paths and folders

int FileType(const std::string& path) {
    if (path.empty()) return 0;
    std::error_code ec;
    auto st = fs::status(fs::u8path(path), ec);
    if (ec) return 0;
    if (fs::is_directory(st)) return 2;
    if (fs::exists(st)) return 1;
    return 0;
}

bool CreateDir(const std::string& path, bool parents) {
    if (path.empty()) return false;
    std::error_code ec;
    if (FileType(path) == 2) return true;
    if (parents) fs::create_directories(fs::u8path(path), ec);
    else fs::create_directory(fs::u8path(path), ec);
    return FileType(path) == 2;
}

bool DeleteFile(const std::string& path) {
    if (FileType(path) != 1) return false;
    std::error_code ec;
    return fs::remove(fs::u8path(path), ec);
}

bool DeleteDir(const std::string& path, bool recursive) {
    if (FileType(path) != 2) return false;
    std::error_code ec;
    if (recursive) return fs::remove_all(fs::u8path(path), ec) != static_cast<std::uintmax_t>(-1) && !ec;
    return fs::remove(fs::u8path(path), ec);
}

bool RenameFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(fs::u8path(from), fs::u8path(to), ec);
    return !ec;
}

std::string CurrentDir() {
    std::error_code ec;
    auto p = fs::current_path(ec);
    return ec ? std::string() : p.generic_u8string();
}

std::string RealPath(const std::string& path) {
    std::error_code ec;
    auto p = fs::absolute(fs::u8path(path), ec);
    if (ec) return path;
    return p.lexically_normal().generic_u8string();
}

std::string StripDir(const std::string& path) {
    size_t k = path.find_last_of("/\\");
    return k == std::string::npos ? path : path.substr(k + 1);
}

std::string ExtractDir(const std::string& path) {
    size_t k = path.find_last_of("/\\");
    if (k == std::string::npos) return "";
    if (k == 0) return path.substr(0, 1);
    return path.substr(0, k);
}

bool ReadBytesFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    auto s = ReadFile(path);
    if (!s) return false;
    long n = s->size();
    if (n > kMaxFileBytes) {
        std::fprintf(stderr, "%s is %ld bytes, more than any file of the game may be (%ld); it is not read.\n",
                     path.c_str(), n, kMaxFileBytes);
        return false;
    }
    if (n > 0) bytes = s->readBytes(static_cast<size_t>(n));
    return true;
}

bool WriteBytesFileAtomic(const std::string& path, const std::string& bytes) {
    if (path.empty()) return false;
    // Same folder, so the rename never crosses file systems.
    std::string tmp = path + ".tmp";  // what DropInterruptedWrite removes
    {
        auto s = WriteFile(tmp);
        if (!s) return false;
        bool ok = s->writeBytes(bytes.data(), bytes.size()) && s->flush();
        s->close();
        if (!ok || s->failed()) {
            DeleteFile(tmp);
            return false;
        }
    }
    if (!RenameFile(tmp, path)) {
        DeleteFile(tmp);
        return false;
    }
#ifndef _WIN32
    // Make the rename itself durable.
    std::string dir = ExtractDir(path);
    if (dir.empty()) dir = ".";
    int fd = ::open(dir.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
    return true;
}

void DropInterruptedWrite(const std::string& path) {
    if (FileType(path + ".tmp") == 1) DeleteFile(path + ".tmp");
}

bool IsInterruptedWriteName(const std::string& name) {
    const auto endsWith = [&name](const char* tail) {
        const size_t n = std::strlen(tail);
        return name.size() > n && name.compare(name.size() - n, n, tail) == 0;
    };
    return endsWith(".tmp") || (name.size() > 7 && name[0] == '.' && endsWith(".check"));
}

int DropInterruptedWrites(const std::string& dir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    int removed = 0;
    fs::recursive_directory_iterator it(fs::u8path(dir), fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it.depth() >= 4) it.disable_recursion_pending();
        std::error_code e2;
        if (it->is_symlink(e2) || !it->is_regular_file(e2)) continue;
        if (IsInterruptedWriteName(it->path().filename().u8string()) && fs::remove(it->path(), e2)) ++removed;
    }
    return removed;
}

std::string LoadText(const std::string& path, bool* found) {
    std::string bytes;
    bool ok = ReadBytesFile(path, bytes);
    if (found) *found = ok;
    return ok ? DecodeTextBytes(bytes) : std::string();
}

bool SaveText(const std::string& utf8, const std::string& path) {
    return WriteBytesFileAtomic(path, EncodeTextBytes(utf8));
}

// ---------------------------------------------------------------------------
// Encodings

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        if (cp > 0x10FFFF) cp = 0xFFFD;
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool ValidUtf8At(const std::string& s, size_t i, size_t& len) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data());
    size_t n = s.size();
    unsigned char c = p[i];
    if (c < 0x80) {
        len = 1;
        return true;
    }
    uint32_t cp;
    size_t need;
    if (c >= 0xC2 && c <= 0xDF) {
        need = 1;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 2;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 3;
        cp = c & 0x07;
    } else {
        return false;
    }
    if (i + need >= n) return false;
    for (size_t k = 1; k <= need; ++k) {
        if ((p[i + k] & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid.
    if ((need == 2 && cp < 0x800) || (need == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    len = need + 1;
    return true;
}

uint32_t NextCodePoint(const std::string& s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    size_t len;
    if (!ValidUtf8At(s, i, len)) {
        ++i;
        return c;
    }
    uint32_t cp = c & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += len;
    return cp;
}

size_t CodePointCount(const std::string& s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++n) NextCodePoint(s, i);
    return n;
}

std::string Latin1ToUtf8(const std::string& bytes) {
    size_t k = 0;
    while (k < bytes.size() && static_cast<unsigned char>(bytes[k]) < 0x80) ++k;
    if (k == bytes.size()) return bytes;  // plain ASCII needs no conversion
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (unsigned char c : bytes) {
        if (c < 0x80) out.push_back(static_cast<char>(c));
        else AppendUtf8(out, c);
    }
    return out;
}

static std::string decodeUtf16(const std::string& bytes, size_t start, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2);
    size_t n = bytes.size();
    auto unit = [&](size_t k) -> uint32_t {
        unsigned char a = static_cast<unsigned char>(bytes[k]);
        unsigned char b = static_cast<unsigned char>(bytes[k + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    size_t k = start;
    for (; k + 1 < n; k += 2) {
        uint32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 3 < n) {
            uint32_t v = unit(k + 2);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
                k += 2;
                continue;
            }
        }
        // A lone surrogate has no UTF-8 form.
        if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
        AppendUtf8(out, u);
    }
    // A dangling odd byte of a truncated file is dropped.
    return out;
}

std::string DecodeTextBytes(const std::string& bytes) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) return decodeUtf16(bytes, 2, false);
    if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) return decodeUtf16(bytes, 2, true);
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        // Keep the text valid UTF-8: stray bytes become U+FFFD.
        std::string out;
        out.reserve(n - 3);
        for (size_t i = 3; i < n;) {
            size_t len;
            if (ValidUtf8At(bytes, i, len)) {
                out.append(bytes, i, len);
                i += len;
            } else {
                AppendUtf8(out, 0xFFFD);
                ++i;
            }
        }
        return out;
    }
    return Latin1ToUtf8(bytes);
}

std::string EncodeTextBytes(const std::string& utf8) {
    bool narrow = true;
    for (size_t i = 0; i < utf8.size();) {
        if (NextCodePoint(utf8, i) > 0xFF) {
            narrow = false;
            break;
        }
    }
    // One byte a character would be read back as a byte-order mark when the
    // text happens to start like one (U+00FF U+00FE, ...): use UTF-16 then.
    if (narrow && utf8.size() >= 4) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8.data());
        auto is = [&](size_t k, unsigned char lead, unsigned char b) {
            return k + 1 < utf8.size() && p[k] == lead && p[k + 1] == b;
        };
        if ((is(0, 0xC3, 0xBF) && is(2, 0xC3, 0xBE)) || (is(0, 0xC3, 0xBE) && is(2, 0xC3, 0xBF)) ||
            (is(0, 0xC3, 0xAF) && is(2, 0xC2, 0xBB) && is(4, 0xC2, 0xBF)))
            narrow = false;
    }
    std::string out;
    if (narrow) {
        out.reserve(utf8.size());
        for (size_t i = 0; i < utf8.size();) out.push_back(static_cast<char>(NextCodePoint(utf8, i)));
        return out;
    }
    out.reserve(utf8.size() * 2 + 2);
    out.push_back(static_cast<char>(0xFF));
    out.push_back(static_cast<char>(0xFE));
    auto put = [&](uint32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>((u >> 8) & 0xFF));
    };
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = NextCodePoint(utf8, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

uint32_t UpperCodePoint(uint32_t cp) {
    if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 32 : cp;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 32;
    if (cp == 0xFF) return 0x178;
    // Latin Extended-A: pairs upper/lower, with the odd stretch 0x139-0x148
    // and 0x179-0x17E whose upper case sits on the odd code.
    if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177))
        return (cp & 1) ? cp - 1 : cp;
    if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E))
        return (cp & 1) ? cp : cp - 1;
    if (cp >= 0x3B1 && cp <= 0x3C9 && cp != 0x3C2) return cp - 32;  // Greek
    if (cp >= 0x430 && cp <= 0x44F) return cp - 32;                  // Cyrillic
    if (cp >= 0x450 && cp <= 0x45F) return cp - 80;
    return cp;
}

uint32_t LowerCodePoint(uint32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    if (cp == 0x178) return 0xFF;
    if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177))
        return (cp & 1) ? cp : cp + 1;
    if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E))
        return (cp & 1) ? cp + 1 : cp;
    if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 32;
    if (cp >= 0x410 && cp <= 0x42F) return cp + 32;
    if (cp >= 0x400 && cp <= 0x40F) return cp + 80;
    return cp;
}

static std::string mapCase(const std::string& s, uint32_t (*f)(uint32_t)) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        size_t start = i;
        size_t len;
        bool valid = ValidUtf8At(s, i, len);
        uint32_t cp = NextCodePoint(s, i);
        if (!valid) {
            out.push_back(s[start]);  // keep stray bytes as they are
            continue;
        }
        AppendUtf8(out, f(cp));
    }
    return out;
}

std::string Utf8Upper(const std::string& s) { return mapCase(s, UpperCodePoint); }
std::string Utf8Lower(const std::string& s) { return mapCase(s, LowerCodePoint); }

bool EqualsNoCase(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {
            if (ca != cb && UpperCodePoint(ca) != UpperCodePoint(cb)) return false;
            ++i;
            ++j;
            continue;
        }
        if (UpperCodePoint(NextCodePoint(a, i)) != UpperCodePoint(NextCodePoint(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

std::string TrimText(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= 32) ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= 32) --b;
    return s.substr(a, b - a);
}
