// TMainForm: the program's one window. It owns the profile table, the working
// settings and every event handler.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/cursor_scheme.h"
#include "core/mouse_profile.h"
#include "forms/application.h"
#include "forms/form.h"
#include "forms/timer.h"
#include "shell/names.h"

namespace tivoler {

class TMainForm : public TForm {
 public:
  // args: the command-line arguments without the program name.
  TMainForm(TApplication& app, std::vector<std::string> args);
  ~TMainForm() override;

  OsPort& Os() { return App().Os(); }
  CursorScheme& Scheme() { return scheme_; }
  TMouseProfile& Profile(int n) { return *profiles_.at(static_cast<size_t>(n)); }

  // Main timer: the deferred exit after a command-line slot.
  TTimer Timer;

  // Ids of the registered window messages (0 until FormCreate registers them).
  unsigned IconNotifyMsg = 0;
  unsigned DoubleExecuteMsg = 0;
  unsigned DoubleExeGetParamMsg = 0;
  unsigned TaskbarCreatedMsg = 0;

  // The coming close ends the program even where a close would otherwise hide.
  bool ExitRequested = false;
  // A command-line slot was applied and the program ends on the next timer tick.
  bool CloseAfterApply = false;

  void WndProc(TMessage& msg) override;

  // Brings a top-level window in front of the application that has the foreground.
  void ForceForeground(Handle wnd);
  void SetWindowShown(bool shown);
  // Applies profile n (0 to 10); false when there is nothing to apply.
  bool ApplySlot(int n, bool beep, bool refreshTip);

  void TimerTimer();

 protected:
  void FormCreate() override;
  void FormDestroy() override;

 private:
  void HandleIconNotify(TMessage& msg);

  std::vector<std::string> args_;
  CursorScheme scheme_;
  std::array<std::unique_ptr<TMouseProfile>, kProfileCount> profiles_;
};

}  // namespace tivoler
