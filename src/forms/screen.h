// Monitors as the form library hands them over: in 96-DPI units of each monitor, the
// unit of every form and control. A monitor keeps its origin where the system puts it,
// and its size is its size in pixels divided by its scale. So one monitor's rectangle
// never overlaps another's, the primary monitor at 100 % is exactly what the system
// reports, and a point inside such a rectangle lies on that monitor in the system's
// pixels as well.
#pragma once

#include "forms/backend.h"
#include "platform/os_port.h"

namespace tivoler {

constexpr int kDefaultDpi = 96;

// A length of 96-DPI units in pixels at dpi, and back, rounded to the nearest pixel.
int ScaleToDpi(int value, int dpi);
int ScaleFromDpi(int value, int dpi);

struct TMonitor {
  TRect Pixels;  // as the system reports it
  int Dpi = kDefaultDpi;

  TRect Bounds() const;
  // A rectangle on this monitor, from 96-DPI units to pixels and back. Edges are
  // scaled, not sizes, so that rectangles that touch keep touching.
  TRect ToPixels(const TRect& r) const;
  TRect FromPixels(const TRect& r) const;
};

// The monitor that holds the point (in either unit); the primary one when none does.
TMonitor MonitorAt(OsPort& os, int x, int y);
// The monitor that holds the rectangle's centre (the primary monitor when none does).
inline TMonitor MonitorOf(OsPort& os, const TRect& r) {
  return MonitorAt(os, r.Left + r.Width / 2, r.Top + r.Height / 2);
}

}  // namespace tivoler
