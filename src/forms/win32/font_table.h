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
  // The font at a DPI: its height, given in 96-DPI pixels, scaled to it.
  HFONT Get(const TFont& font, int dpi);

 private:
  struct Entry {
    TFont font;
    int dpi;
    HFONT handle;
  };
  std::vector<Entry> fonts_;  // a handful
};

}  // namespace tivoler
