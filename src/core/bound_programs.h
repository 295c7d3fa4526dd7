// Programs bound to a slot: a program is known by its executable's file name, and a
// slot keeps the names of its programs in one line of the settings file.
#pragma once

#include <string>
#include <vector>

#include "platform/os_port.h"

namespace tivoler {

constexpr size_t kMaxProgramNameLength = 260;  // bytes of the ANSI code page
constexpr size_t kMaxProgramsPerSlot = 16;

// The file name of a path: what follows its last "\", "/" or ":" (never a byte of a
// two-byte character of the ANSI code page).
std::string ProgramFileName(OsPort& os, const std::string& path);

// The settings-file value of a slot's programs: "game.exe|cad.exe", each name escaped
// as a device's name is (so that the line holds no key of the file).
std::string ProgramListText(const std::vector<std::string>& programs);
// The names of such a value as written, unescaped; KeptProgramNames makes them a slot's.
std::vector<std::string> SplitProgramList(const std::string& text);
// A slot's programs from names read or chosen: each reduced to its file name, empty
// ones and ones over kMaxProgramNameLength bytes dropped, a name already in taken
// (compared without regard to case) dropped, at most kMaxProgramsPerSlot kept. The
// names kept are added to taken.
std::vector<std::string> KeptProgramNames(OsPort& os, const std::vector<std::string>& names,
                                          std::vector<std::string>& taken);
// Whether two file names name the same program (letter case aside).
bool SameProgram(OsPort& os, const std::string& a, const std::string& b);

// The host of store apps' windows: its windows belong to the app they hold.
constexpr char kFrameHostName[] = "ApplicationFrameHost.exe";

// Windows of the shell that come to the front on the way to another one (the taskbar
// with the tray, the tray's overflow, the task switcher) and menus: their coming to the
// front says nothing about the program in use.
bool IsPassingWindowClass(const std::string& className);

}  // namespace tivoler
