// The play log's two seams with the game, kept together here: the play
// screen's end of a round (playLogRoundEnded) and the exit path
// (playLogAtExit). wirePlayLog connects both and the start-up's sender set-up.
#pragma once

#include <memory>

class TMainGame;
class TPlayLog;

void wirePlayLog();
// Called by the play screen when a round ends: 1 won, 0 lost, -1 left for
// the main menu, -2 restarted. Keeps a record only when "playLog.txt" was
// there at start-up; returns it, or null.
std::shared_ptr<TPlayLog> playLogRoundEnded(TMainGame& game, int outcome);
// Called by the exit hook after the profiles are saved: posts the records
// when "playlog-net.txt" exists.
void playLogAtExit();
