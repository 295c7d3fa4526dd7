// The Win32 window backend of the form library.
#pragma once

#include <memory>

#include "forms/backend.h"

namespace tivoler {

std::unique_ptr<Backend> CreateWin32Backend();

}  // namespace tivoler
