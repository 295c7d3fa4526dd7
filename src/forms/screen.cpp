#include "forms/screen.h"

namespace tivoler {

namespace {

// value * numerator / denominator, rounded half away from zero.
int MulDivRound(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : -((-product + half) / denominator));
}

}  // namespace

int ScaleToDpi(int value, int dpi) {
  return dpi == kDefaultDpi || dpi <= 0 ? value : MulDivRound(value, dpi, kDefaultDpi);
}

int ScaleFromDpi(int value, int dpi) {
  return dpi == kDefaultDpi || dpi <= 0 ? value : MulDivRound(value, kDefaultDpi, dpi);
}

TRect TMonitor::Bounds() const {
  return TRect{Pixels.Left, Pixels.Top, ScaleFromDpi(Pixels.Width, Dpi),
               ScaleFromDpi(Pixels.Height, Dpi)};
}

namespace {

// Scales each edge's distance from origin's top-left corner, so that rectangles that
// touch keep touching.
TRect ScaleEdges(const TRect& r, const TRect& origin, int dpi, int (*scale)(int, int)) {
  const int left = origin.Left + scale(r.Left - origin.Left, dpi);
  const int top = origin.Top + scale(r.Top - origin.Top, dpi);
  const int right = origin.Left + scale(r.Right() - origin.Left, dpi);
  const int bottom = origin.Top + scale(r.Bottom() - origin.Top, dpi);
  return TRect{left, top, right - left, bottom - top};
}

}  // namespace

TRect TMonitor::ToPixels(const TRect& r) const { return ScaleEdges(r, Pixels, Dpi, ScaleToDpi); }

TRect TMonitor::FromPixels(const TRect& r) const {
  return ScaleEdges(r, Pixels, Dpi, ScaleFromDpi);
}

TMonitor MonitorAt(OsPort& os, int x, int y) {
  TMonitor monitor;
  const Handle handle = os.MonitorFromPoint(x, y, win::kMonitorDefaultToPrimary);
  int left = 0, top = 0, right = 0, bottom = 0;
  if (!os.GetMonitorInfoA(handle, &left, &top, &right, &bottom)) {
    right = os.GetSystemMetrics(win::kSmCxScreen);
    bottom = os.GetSystemMetrics(win::kSmCyScreen);
  }
  monitor.Pixels = TRect{left, top, right - left, bottom - top};
  monitor.Dpi = static_cast<int>(os.GetDpiForMonitor(handle));
  return monitor;
}

}  // namespace tivoler
