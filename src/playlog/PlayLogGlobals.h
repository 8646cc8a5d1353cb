// The play log of the whole run: the records kept in creation order, the one
// sender, and the two calls the rest of the game makes (a round ended; the
// program ends).
#pragma once

#include <memory>
#include <vector>

#include "playlog/TPlayLog.h"
#include "playlog/TPlayLogRound.h"

class TPlaylogSender;

// Every record of this run, oldest first; nothing removes them.
extern std::vector<TPlayLogPtr> playLogs;
// Created by the start-up (playLogStartUp) and kept to the end.
extern std::shared_ptr<TPlaylogSender> playlogSender;

// Fills a record from a finished round and keeps it. Outcome: 1 won, 0 lost,
// -1 left for the main menu, -2 restarted. Returns null (and keeps nothing)
// when recording is off.
TPlayLogPtr recordPlayLog(bool recordingOn, int outcome, const TPlayLogRound& round);

// The exit's part: when recording is on, the sending switch is on and at
// least one record is kept, the sender posts them. True when it ran.
bool sendPlayLogAtExit(bool recordingOn, bool sendingOn);

// Start-up: creates the sender and points it at the server that
// "playlog-net.txt" in the working folder names (or the built-in one), with
// the script path "/playlogs/brimble/playlog.php" and the referer
// "http://" + host. A malformed file is reported on stderr.
void playLogStartUp();
