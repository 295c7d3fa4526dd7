// A periodic timer whose ticks run on the user-interface thread.
#pragma once

#include <functional>
#include <memory>

#include "forms/backend.h"

namespace tivoler {

class TApplication;

class TTimer {
 public:
  explicit TTimer(TApplication& app, unsigned interval = 1000, bool enabled = true);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned interval);
  // Enables the timer and starts its interval anew, also when it was running.
  void Restart();

  std::function<void()> OnTimer;
  // One tick: runs OnTimer through the application's error boundary.
  void Tick();

 private:
  void Update();

  TApplication& app_;
  unsigned interval_;
  bool enabled_;
  std::unique_ptr<TimerPeer> peer_;
};

}  // namespace tivoler
