#include "forms/timer.h"

#include "forms/application.h"

namespace tivoler {

TTimer::TTimer(TApplication& app, unsigned interval, bool enabled)
    : app_(app), interval_(interval), enabled_(enabled) {
  if (app_.GetBackend()) peer_ = app_.GetBackend()->CreateTimerPeer(*this);
  Update();
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TTimer::Restart() {
  enabled_ = true;
  Update();
}

void TTimer::Update() {
  if (peer_) peer_->Update(enabled_, interval_);
}

void TTimer::Tick() {
  if (enabled_ && OnTimer) app_.Guard(OnTimer);
}

}  // namespace tivoler
