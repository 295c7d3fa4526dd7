// One font object per distinct font, shared by every window that shows it.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/backend.h"

namespace tivoler {

class FontTable {
 public:
  FontTable() = default;
  FontTable(const FontTable&) = delete;
  FontTable& operator=(const FontTable&) = delete;
  // Deleted with the backend, after the last window that showed them.
  ~FontTable();
  HFONT Get(const TFont& font);

 private:
  struct Entry {
    TFont font;
    HFONT handle;
  };
  std::vector<Entry> fonts_;  // a handful
};

}  // namespace tivoler
