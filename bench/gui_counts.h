// The record that gui_counter.dll fills inside a measured program and wine_bench reads.
#pragma once

constexpr char kGuiCountsName[] = "TivolerBenchGuiCounts";

struct GuiCounts {
  long done = 0;  // 1 once the counts below are complete
  long gdi = 0;
  long user = 0;  // windows + menus + cursors and icons
  long windows = 0;
  long menus = 0;
  long cursors = 0;
  long gdiByType[16] = {};  // by GetObjectType: OBJ_PEN (1) .. OBJ_COLORSPACE (14)
};
