#include "shell/process_entry.h"

#include <climits>

#include "forms/application.h"
#include "shell/main_form.h"
#include "shell/names.h"

namespace tivoler {

int ParseSlotArgument(const std::string& argument) {
  size_t i = 0;
  bool negative = false;
  if (i < argument.size() && (argument[i] == '-' || argument[i] == '+')) {
    negative = argument[i] == '-';
    ++i;
  }
  if (i == argument.size()) return 0;
  long long value = 0;
  for (; i < argument.size(); ++i) {
    const char c = argument[i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return 0;
  return static_cast<int>(value);
}

void SendToRunningInstance(OsPort& os, const std::vector<std::string>& args) {
  const Handle running = os.FindWindowA(kWindowTitle);
  if (running == kNoHandle) return;
  constexpr intptr_t kNoParam = -1;
  if (args.empty()) {
    os.SendMessageA(running, os.RegisterWindowMessageA(kDoubleExecuteMessage),
                    static_cast<uintptr_t>(kNoParam), kNoParam);
    return;
  }
  const unsigned getParam = os.RegisterWindowMessageA(kDoubleExeGetParamMessage);
  for (const std::string& argument : args) {
    const int slot = ParseSlotArgument(argument);
    if (slot >= 1 && slot <= kSlotCount) {
      os.SendMessageA(running, getParam, static_cast<uintptr_t>(slot), kNoParam);
    }
  }
}

int RunTivoler(OsPort& os, Backend* backend, const std::vector<std::string>& args) {
  const Handle existing = os.OpenMutexA(win::kMutexAllAccess, false, kMutexName);
  if (existing != kNoHandle) {
    os.CloseHandle(existing);
    SendToRunningInstance(os, args);
    return 0;
  }
  // Held until the process ends; the name goes with the process.
  os.CreateMutexA(false, kMutexName);

  TApplication app(os, backend);
  app.Title = kApplicationTitle;
  app.Initialize();
  os.ShowWindow(app.AppHandle(), win::kSwHide);
  app.ShowMainForm = false;
  try {
    TMainForm form(app, args);
    app.CreateForm(form);
    app.Run();
  } catch (const std::exception& error) {
    app.ShowException(error);
  }
  return 0;
}

}  // namespace tivoler
