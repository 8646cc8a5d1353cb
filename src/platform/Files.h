// Files and text streams of the platform layer.
//
// Strings in memory are UTF-8. The byte-level stream functions map bytes to
// characters one to one (Latin-1), as the game's line and binary formats
// expect; LoadText/SaveText convert whole files by their byte-order mark.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// A file opened for reading, writing, or both. Never throws; reads past the
// end return zeros / empty strings and set eof().
class TStream {
public:
    ~TStream();
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    bool eof();
    long size();
    long pos();
    bool seek(long position);
    bool flush();  // fflush + fsync: the bytes reach the disk
    void close();
    bool failed() const { return _failed; }  // a write or flush went wrong

    // Up to a line feed or the end; drops carriage returns; a zero byte also
    // ends the line. Each byte becomes the character of the same code.
    std::string readLine();
    // Each character's low 8 bits, then CR LF.
    bool writeLine(const std::string& utf8);

    int readByte();    // 0..255
    int readShort();   // unsigned 16-bit, little-endian
    int readInt();     // signed 32-bit, little-endian
    float readFloat(); // IEEE 32-bit, little-endian
    std::string readString(int n);  // n bytes, each one character (Latin-1)
    std::string readBytes(size_t n);  // n raw bytes, no conversion

    bool writeByte(int v);
    bool writeShort(int v);
    bool writeInt(int v);
    bool writeFloat(float v);
    bool writeString(const std::string& utf8);  // one byte per character
    bool writeBytes(const void* data, size_t n);  // raw bytes

private:
    friend std::shared_ptr<TStream> OpenStream(const std::string&, const char*);
    explicit TStream(std::FILE* f) : _f(f) {}
    std::FILE* _f = nullptr;
    bool _failed = false;
};
using StreamPtr = std::shared_ptr<TStream>;

StreamPtr ReadFile(const std::string& path);   // null when it cannot be opened
StreamPtr WriteFile(const std::string& path);  // creates or truncates
StreamPtr OpenFile(const std::string& path);   // read and write, must exist

// 0 nothing, 1 file, 2 folder
int FileType(const std::string& path);
bool CreateDir(const std::string& path, bool parents = false);
bool DeleteFile(const std::string& path);
bool DeleteDir(const std::string& path, bool recursive = false);
bool RenameFile(const std::string& from, const std::string& to);
std::string CurrentDir();
std::string RealPath(const std::string& path);   // absolute form
std::string StripDir(const std::string& path);   // file name without folder
std::string ExtractDir(const std::string& path); // folder without the trailing "/"; "" for none

// Whole-file bytes. ReadBytesFile returns false when the file is missing,
// cannot be read, or is larger than kMaxFileBytes (said on stderr): no file
// the game reads or writes comes near that, so a larger one is damage.
constexpr long kMaxFileBytes = 16L * 1024 * 1024;
bool ReadBytesFile(const std::string& path, std::string& bytes);
// Atomic: a temporary file in the same folder, flushed, renamed over path.
// On failure the old file is untouched and false is returned.
bool WriteBytesFileAtomic(const std::string& path, const std::string& bytes);
// Removes what a WriteBytesFileAtomic(path, ...) killed before its rename left
// beside PATH (nothing a reader of PATH would ever see).
void DropInterruptedWrite(const std::string& path);
// The temporary files that writes killed before their rename leave: "X.tmp"
// (WriteBytesFileAtomic) and ".X.check" (the level editor's trial copy).
bool IsInterruptedWriteName(const std::string& fileName);
// Removes every such file in dir and its folders (four deep, links not
// followed); how many were removed.
int DropInterruptedWrites(const std::string& dir);

// Load text: FF FE UTF-16LE, FE FF UTF-16BE, EF BB BF UTF-8, otherwise Latin-1.
// Returns UTF-8; "" for a missing file (found = false).
std::string LoadText(const std::string& path, bool* found = nullptr);
// Save text (atomic): one byte per character when all are below 256, else
// FF FE + UTF-16LE (also when the one-byte form would begin like a mark).
bool SaveText(const std::string& utf8, const std::string& path);

// ---------------------------------------------------------------------------
// Text encoding helpers (UTF-8 in memory)

std::string DecodeTextBytes(const std::string& bytes);  // by byte-order mark, as LoadText
std::string EncodeTextBytes(const std::string& utf8);   // as SaveText
std::string Latin1ToUtf8(const std::string& bytes);
// Appends the UTF-8 form of code point cp.
void AppendUtf8(std::string& out, uint32_t cp);
// Decodes the code point at s[i] and advances i. An invalid byte is returned
// as itself (0x80..0xFF), so text of any origin walks without getting stuck.
uint32_t NextCodePoint(const std::string& s, size_t& i);
// True when s[i..] starts a well-formed UTF-8 sequence; len gets its length.
bool ValidUtf8At(const std::string& s, size_t i, size_t& len);
size_t CodePointCount(const std::string& s);
// Upper / lower case of letters in ASCII, Latin-1 and Latin Extended-A (and
// Greek / Cyrillic basic letters); other code points unchanged.
uint32_t UpperCodePoint(uint32_t cp);
uint32_t LowerCodePoint(uint32_t cp);
std::string Utf8Upper(const std::string& s);
std::string Utf8Lower(const std::string& s);
bool EqualsNoCase(const std::string& a, const std::string& b);
// Trims characters with codes up to 32 at both ends.
std::string TrimText(const std::string& s);
