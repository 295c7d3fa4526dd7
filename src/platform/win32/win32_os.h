// The OS port on the real Win32 API (ANSI calls).
#pragma once

#include <memory>

#include "platform/os_port.h"

namespace tivoler {

std::unique_ptr<OsPort> CreateWin32OsPort();

}  // namespace tivoler
