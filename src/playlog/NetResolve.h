// What each system's socket file (NetStreamPosix.cpp, NetStreamWinsock.cpp)
// gives the common look-up code (NetLookUp.cpp).
#pragma once

#include <string>

// Sockets are ready for use (Winsock started); false with error set when not.
bool netReady(std::string& error);
