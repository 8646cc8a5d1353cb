// Connects the win, lose and end-of-campaign screens and the particle
// system to the play screen, the main loop and the harness (called from
// wireAppHooks after the play screen's own wiring).
#pragma once

void wireResultScreens();
// Fills resultsHost() from the play screen and the current profile.
void wireResultsHost();
