// Where the machine keeps things for this program: the folder per-user data
// goes in and the program's own file. Each system has its own source file
// (SystemPathsPosix.cpp, SystemPathsWindows.cpp); the choice between the
// candidates is common code, so it is the same on every system and testable.
#pragma once

#include <string>
#include <vector>

// The folder that holds per-user application data ("" when there is none):
//   POSIX:   $XDG_DATA_HOME when it is an absolute path, else the home
//            folder + "/.local/share"; the home folder is $HOME when that is
//            absolute, else the account's home from the password database
//            (a service started without HOME, or with a relative one).
//   Windows: the roaming application data known folder (%APPDATA%).
// Forward slashes only.
std::string UserDataFolder();

// The POSIX rule above, from its inputs (null for an unset variable).
std::string UserDataFolderFrom(const char* xdgDataHome, const char* home, const std::string& accountHome);

// The running program's own file, absolute ("" when it cannot be told).
std::string ExecutablePath();

// The program's arguments in UTF-8, argv[0] first. Windows passes main()
// them in the ANSI code page, so there they are read again as wide text.
std::vector<std::string> CommandLineArgs(int argc, char** argv);

// The file name of a program beside this one: NAME on POSIX, NAME.exe on Windows.
std::string ProgramFileName(const std::string& name);
