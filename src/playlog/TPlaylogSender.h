// Posts the run's play-log records to the play-testers' server when the
// program ends: one request per record, each carrying every field added so
// far, within a fixed time budget whatever the server does.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "playlog/TPlayLog.h"
#include "playlog/tsendhttp.h"

class TPlaylogSender {
public:
    std::array<std::string, 100> post{};
    std::string target_script;
    std::string target_host;
    int target_port = 80;
    std::string referer;
    std::string boundary = "---------------------------23281168279961";
    int lastLine = 0;
    int64_t lastSendTime = 0;  // netClockMs of the last sendLog
    tsendhttpPtr http_post;

    int init(const std::string& script, const std::string& host, const std::string& referer);
    // One request with every field added so far; returns 1.
    int sendToServer();
    int saveVar(const std::string& name, const std::string& value);
    int saveLevel(const TPlayLog& r);
    static std::string returnTime(int seconds);
    // Posts every kept record (playLogs), once per 5000 ms at most: one
    // request per record while the first half of the budget lasts, then one
    // with all of them.
    int sendLog();

    // --- ours -----------------------------------------------------------------
    // The current profile's name, asked when a record is written out.
    std::function<std::string()> playerName;
    // The whole of one sendLog ends within this many milliseconds.
    int sendBudgetMs = 2000;
    // In the last sendLog, k when the last request answered "200" carried
    // records 1 to k (0 when none was).
    int lastSent = 0;
    // The line written to stderr by the last sendLog ("" when all went well).
    std::string lastReport;

private:
    bool _sentBefore = false;
};
using TPlaylogSenderPtr = std::shared_ptr<TPlaylogSender>;
