// Fuzz target: the collector's reading of an upload. The input is a request
// body; a first line "CT: ..." gives its Content-Type (otherwise the game's
// own). Whatever the bytes: the parser either refuses with a reason or gives
// records whose every text is strict UTF-8 without control characters,
// whose numbers are in their ranges, which read back from a database row as
// they went in, and whose CSV line is valid UTF-8.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Dashboard.h"
#include "PlayRecord.h"
#include "Store.h"

namespace {

[[noreturn]] void broken(const std::string& why) {
    std::fprintf(stderr, "record parser property broken: %s\n", why.c_str());
    __builtin_trap();
}

bool strictText(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8SequenceLength(s, i);
        if (n == 0) return false;
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7f) return false;
        i += n;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string body(reinterpret_cast<const char*>(data), size);
    std::string type = "multipart/form-data; boundary=---------------------------23281168279961";
    if (body.rfind("CT: ", 0) == 0) {
        const size_t eol = body.find('\n');
        type = body.substr(4, eol == std::string::npos ? std::string::npos : eol - 4);
        body = eol == std::string::npos ? std::string() : body.substr(eol + 1);
    }
    std::vector<FormField> fields;
    std::string error;
    if (!parseMultipart(type, body, fields, error)) {
        if (error.empty()) broken("a refusal without a reason");
        return 0;
    }
    for (const FormField& f : fields)
        if (f.value.size() > 4096) broken("a field over 4096 bytes was taken");
    std::vector<PlayRecord> records;
    if (!recordsFromFields(fields, records, error)) {
        if (error.empty() || !records.empty()) broken("a refusal without a reason, or with records");
        return 0;
    }
    if (records.empty()) broken("accepted without a record");
    for (PlayRecord& r : records) {
        for (const std::string* t : {&r.version, &r.player, &r.matchType, &r.availableChips})
            if (!strictText(*t)) broken("a text that is not strict UTF-8 was taken: " + *t);
        if (r.recordId < 1 || r.outcome < -2 || r.outcome > 1 || r.levelTime < 0 || r.score < 0 ||
            r.pickupTimes.size() > 1000)
            broken("a number out of its range was taken");
        r.receivedAt = "2026-12-10T10:00:00Z";
        r.remoteAddr = "127.0.0.1";
        const auto row = storesql::values(r);
        PlayRecord back;
        if (!storesql::fromValues(row, back)) broken("a stored row does not read back");
        if (storesql::values(back) != row) broken("a stored row reads back differently");
        const std::string line = csvLine(row);
        if (validUtf8(line) != line) broken("a CSV line is not UTF-8");
    }
    return 0;
}
