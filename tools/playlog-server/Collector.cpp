#include "Collector.h"

#include <httplib.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <regex>

#include "Dashboard.h"

bool remoteAllowed(const std::string& a, bool explicitListen) {
    if (explicitListen) return true;
    return a.rfind("127.", 0) == 0 || a == "::1" || a.rfind("::ffff:127.", 0) == 0;
}

std::string utcNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char b[32];
    std::strftime(b, sizeof b, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return b;
}

bool parseCollectorArgs(int argc, char** argv, CollectorOptions& o, std::string& message) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--listen" && hasValue) {
            const std::string v = argv[++i];
            const size_t colon = v.rfind(':');
            if (colon == std::string::npos || colon == 0) {
                message = "--listen wants ADDR:PORT, e.g. 0.0.0.0:8080";
                return false;
            }
            o.host = v.substr(0, colon);
            if (o.host.size() > 2 && o.host.front() == '[' && o.host.back() == ']')
                o.host = o.host.substr(1, o.host.size() - 2);
            const std::string p = v.substr(colon + 1);
            if (p.empty() || p.size() > 5 || p.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(p) > 65535) {
                message = "--listen: \"" + p + "\" is not a port (0 picks a free one)";
                return false;
            }
            o.port = std::stoi(p);
            o.explicitListen = true;
        } else if (a == "--db" && hasValue) {
            o.db = argv[++i];
        } else if (a == "--levels" && hasValue) {
            o.levelsDir = argv[++i];
        } else if (a == "--max-body" && hasValue) {
            const std::string v = argv[++i];
            if (v.empty() || v.size() > 10 || v.find_first_not_of("0123456789") != std::string::npos) {
                message = "--max-body wants a byte count";
                return false;
            }
            o.maxBody = std::stoull(v);
        } else if (a == "--help" || a == "-h") {
            message = "";
            return false;
        } else {
            message = "unknown or incomplete option \"" + a + "\"";
            return false;
        }
    }
    return true;
}

namespace {

const char* kUploadPath = R"((?:https?://[^/]+)?/playlogs/brimble/playlog\.php)";

void plain(httplib::Response& res, int status, const std::string& text) {
    res.status = status;
    res.set_content(text + "\n", "text/plain; charset=utf-8");
}

bool validDay(const std::string& s) {
    static const std::regex day(R"(\d{4}-\d{2}-\d{2})");
    return s.empty() || std::regex_match(s, day);
}

bool validVersion(const std::string& s) {
    static const std::regex v(R"([A-Za-z0-9._-]{0,16})");
    return std::regex_match(s, v);
}

// Reads the dashboard's filters from the query; false with a message for a bad one.
bool readQuery(const httplib::Request& req, DashboardQuery& q, std::string& message) {
    q.filter.version = req.get_param_value("version");
    q.filter.from = req.get_param_value("from");
    q.filter.to = req.get_param_value("to");
    if (!validVersion(q.filter.version)) message = "version: letters, digits, dots and dashes, up to 16";
    if (!validDay(q.filter.from) || !validDay(q.filter.to)) message = "from, to: dates as YYYY-MM-DD";
    const std::string level = req.get_param_value("level"), min = req.get_param_value("min");
    static const std::regex number(R"(\d{1,6})");
    if (!level.empty()) {
        if (std::regex_match(level, number))
            q.histogramLevel = std::stoll(level);
        else
            message = "level: a level number";
    }
    if (!min.empty()) {
        if (std::regex_match(min, number) && std::stoi(min) > 0)
            q.minPlays = std::stoi(min);
        else
            message = "min: a number of plays from 1";
    }
    return message.empty();
}

}  // namespace

void setUpCollector(httplib::Server& svr, Store& store, const CollectorOptions& o,
                    std::map<int64_t, int64_t> limits) {
    const bool anyone = o.explicitListen;
    svr.set_payload_max_length(o.maxBody);
    svr.set_read_timeout(10, 0);
    svr.set_write_timeout(10, 0);
    const int threads = o.threads;
    svr.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    svr.set_pre_routing_handler([anyone](const httplib::Request& req, httplib::Response& res) {
        if (remoteAllowed(req.remote_addr, anyone)) return httplib::Server::HandlerResponse::Unhandled;
        plain(res, 403,
              "This collector only serves this machine; start it with --listen ADDR:PORT to open it.");
        return httplib::Server::HandlerResponse::Handled;
    });
    svr.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        plain(res, 500, "internal error");
    });

    svr.Post(kUploadPath, [&store](const httplib::Request& req, httplib::Response& res,
                                   const httplib::ContentReader& reader) {
        if (!req.is_multipart_form_data()) {
            plain(res, 400, "expected a multipart/form-data upload");
            return;
        }
        std::vector<FormField> fields;
        size_t total = 0;
        const bool read = reader(
            [&](const httplib::MultipartFormData& part) {
                if (fields.size() >= 200000) return false;
                fields.push_back({part.name, "", !part.filename.empty()});
                return true;
            },
            [&](const char* data, size_t n) {
                total += n;
                if (fields.empty() || fields.back().value.size() + n > 4096) return false;
                fields.back().value.append(data, n);
                return true;
            });
        if (!read) {
            // The reader sets 413 itself when the body is over the limit.
            if (res.status == 413)
                plain(res, 413, "upload too large");
            else
                plain(res, 400, "malformed multipart body");
            return;
        }
        std::vector<PlayRecord> records;
        std::string error;
        if (!recordsFromFields(fields, records, error)) {
            plain(res, 400, error);
            return;
        }
        const std::string now = utcNow();
        for (PlayRecord& r : records) {
            r.receivedAt = now;
            r.remoteAddr = req.remote_addr;
        }
        int added = 0;
        if (!store.insert(records, added, error)) {
            std::fprintf(stderr, "playlog-server: storing failed: %s\n", error.c_str());
            plain(res, 503, "the records could not be stored; send again later");
            return;
        }
        plain(res, 200, "OK");
    });

    svr.Get("/", [&store, limits](const httplib::Request& req, httplib::Response& res) {
        DashboardQuery q;
        std::string message;
        if (!readQuery(req, q, message)) {
            plain(res, 400, message);
            return;
        }
        std::vector<PlayRecord> records;
        std::vector<std::string> versions;
        std::string error;
        if (!store.select(q.filter, records, error) || !store.versions(versions, error)) {
            plain(res, 503, "the records cannot be read: " + error);
            return;
        }
        res.set_content(renderDashboard(records, q, versions, limits), "text/html; charset=utf-8");
    });

    svr.Get("/export.csv", [&store](const httplib::Request& req, httplib::Response& res) {
        DashboardQuery q;
        std::string message;
        if (!readQuery(req, q, message)) {
            plain(res, 400, message);
            return;
        }
        std::vector<PlayRecord> records;
        std::string error;
        if (!store.select(q.filter, records, error)) {
            plain(res, 503, "the records cannot be read: " + error);
            return;
        }
        res.set_header("Content-Disposition", "attachment; filename=\"playlog.csv\"");
        res.set_content(renderCsv(records), "text/csv; charset=utf-8");
    });

    svr.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 413)
            plain(res, 413, "upload too large");
        else if (res.status == 404)
            plain(res, 404, "not found; uploads go to /playlogs/brimble/playlog.php");
    });
}
