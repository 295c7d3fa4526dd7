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

TRect TMonitor::ToPixels(const TRect& r) const {
  const int left = Pixels.Left + ScaleToDpi(r.Left - Pixels.Left, Dpi);
  const int top = Pixels.Top + ScaleToDpi(r.Top - Pixels.Top, Dpi);
  const int right = Pixels.Left + ScaleToDpi(r.Left + r.Width - Pixels.Left, Dpi);
  const int bottom = Pixels.Top + ScaleToDpi(r.Top + r.Height - Pixels.Top, Dpi);
  return TRect{left, top, right - left, bottom - top};
}

TRect TMonitor::FromPixels(const TRect& r) const {
  const int left = Pixels.Left + ScaleFromDpi(r.Left - Pixels.Left, Dpi);
  const int top = Pixels.Top + ScaleFromDpi(r.Top - Pixels.Top, Dpi);
  const int right = Pixels.Left + ScaleFromDpi(r.Left + r.Width - Pixels.Left, Dpi);
  const int bottom = Pixels.Top + ScaleFromDpi(r.Top + r.Height - Pixels.Top, Dpi);
  return TRect{left, top, right - left, bottom - top};
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
