// Process entry: hand the command line to a running instance, or become it.
#pragma once

#include <string>
#include <vector>

#include "forms/backend.h"
#include "platform/os_port.h"

namespace tivoler {

// The second instance's part: one "TivolDoubleExeGetParam" per argument in 1..10,
// or one "TivolDoubleExecute" without arguments; nothing when no window is found.
void SendToRunningInstance(OsPort& os, const std::vector<std::string>& args);

// Runs the program; args are the command-line arguments without the program name.
// Always returns 0.
int RunTivoler(OsPort& os, Backend* backend, const std::vector<std::string>& args);

}  // namespace tivoler
